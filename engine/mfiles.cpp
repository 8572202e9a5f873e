#include "engine/mfiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

const char* const pszCannotCreate = "can not create the file";

struct MFileCloser {
    void operator()(std::FILE* pFile) const { std::fclose(pFile); }
};
using MFilePointer = std::unique_ptr<std::FILE, MFileCloser>;

// Takes the file over and closes it: a failed flush or close (a full disk
// reports itself there) counts as a failed write.
bool writeAndClose(std::FILE* pFile, MString& mstrText) {
    const unsigned long liLength = mstrText.length();
    bool bWritten =
        liLength == 0 || std::fwrite(mstrText.getAddress(), 1, liLength, pFile) == liLength;
    if (std::fflush(pFile) != 0)
        bWritten = false;
    if (std::fclose(pFile) != 0)
        bWritten = false;
    return bWritten;
}

// Devices, pipes and paths we cannot replace are written in place: /dev/full
// must stay a device, and a directory fails in fopen as it should.
void writeInPlace(const char* pszName, MString& mstrText) {
    std::FILE* pFile = std::fopen(pszName, "wb");
    if (pFile == nullptr || !writeAndClose(pFile, mstrText))
        throw pszCannotCreate;
}

mode_t creationMode() {
    const mode_t umaskNow = ::umask(0);
    ::umask(umaskNow);
    return 0666 & ~umaskNow;
}

// A complete new file is renamed over the old one, so a failed write leaves
// the old output as it was.
void writeByRename(const std::string& strPath, mode_t mode, MString& mstrText) {
    std::string strTemporary = strPath + ".XXXXXX";
    const int nDescriptor = ::mkstemp(strTemporary.data());
    if (nDescriptor < 0) {
        // A read-only directory may still hold a writable output.
        writeInPlace(strPath.c_str(), mstrText);
        return;
    }
    ::fchmod(nDescriptor, mode);
    std::FILE* pFile = ::fdopen(nDescriptor, "wb");
    if (pFile == nullptr) {
        ::close(nDescriptor);
        ::unlink(strTemporary.c_str());
        throw pszCannotCreate;
    }
    if (!writeAndClose(pFile, mstrText) ||
        std::rename(strTemporary.c_str(), strPath.c_str()) != 0) {
        ::unlink(strTemporary.c_str());
        throw pszCannotCreate;
    }
}

}  // namespace

MString readWholeFile(const char* pszName) {
    MFilePointer pFile(std::fopen(pszName, "rb"));
    if (!pFile)
        throw MFileFailure::CannotOpen;
    struct stat status;
    if (::fstat(::fileno(pFile.get()), &status) != 0 || S_ISDIR(status.st_mode))
        throw MFileFailure::CannotRead;
    const long nStart = std::ftell(pFile.get());
    if (nStart < 0 || std::fseek(pFile.get(), 0, SEEK_END) != 0)
        throw MFileFailure::CannotRead;
    const long nEnd = std::ftell(pFile.get());
    if (nEnd < nStart || std::fseek(pFile.get(), nStart, SEEK_SET) != 0)
        throw MFileFailure::CannotRead;
    if (nEnd - nStart > INT_MAX)
        throw MFileFailure::TooLarge;
    const unsigned long liSize = static_cast<unsigned long>(nEnd - nStart);
    MString mstrContent(0, liSize);
    if (liSize > 0 && std::fread(mstrContent.getAddress(), 1, liSize, pFile.get()) != liSize)
        throw MFileFailure::CannotRead;
    return mstrContent;
}

void writeWholeFile(const char* pszName, MString& mstrText) {
    struct stat status;
    if (::lstat(pszName, &status) != 0) {
        writeByRename(pszName, creationMode(), mstrText);
        return;
    }
    if (S_ISLNK(status.st_mode)) {
        // The link stays a link: the file it points to is replaced.
        std::unique_ptr<char, decltype(&std::free)> pszTarget(::realpath(pszName, nullptr),
                                                              &std::free);
        struct stat target;
        if (pszTarget && ::stat(pszTarget.get(), &target) == 0 && S_ISREG(target.st_mode)) {
            writeByRename(pszTarget.get(), target.st_mode & 07777, mstrText);
            return;
        }
        writeInPlace(pszName, mstrText);
        return;
    }
    if (S_ISREG(status.st_mode)) {
        writeByRename(pszName, status.st_mode & 07777, mstrText);
        return;
    }
    writeInPlace(pszName, mstrText);
}
