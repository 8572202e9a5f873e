#include "engine/mfiles.h"

#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "engine/merror.h"

namespace {

const char* const pszCannotCreate = "can not create the file";

// The new file of the replacement under way: a run stopped by Ctrl-C or kill must not
// leave it beside the output. The handler may only touch what it can read atomically.
char g_szPending[4096];
volatile sig_atomic_t g_bPending = 0;

extern "C" void removePending(int nSignal) {
    if (g_bPending)
        ::unlink(g_szPending);
    // The handler was reset on entry: the signal now ends the process as it would have.
    ::raise(nSignal);
}

const int anWatchedSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

void installRemover() {
    static bool bInstalled = false;
    if (bInstalled)
        return;
    bInstalled = true;
    for (int nSignal : anWatchedSignals) {
        struct sigaction old;
        // A signal the caller ignores (nohup, a background job) stays ignored.
        if (::sigaction(nSignal, nullptr, &old) != 0 || old.sa_handler == SIG_IGN)
            continue;
        struct sigaction action = {};
        action.sa_handler = removePending;
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        ::sigaction(nSignal, &action, nullptr);
    }
}

// Creates the new file with the signals held back, so that none can come between its
// creation and its name being known to the handler.
int createPending(std::string& strTemporary) {
    sigset_t blocked;
    sigset_t previous;
    sigemptyset(&blocked);
    for (int nSignal : anWatchedSignals)
        sigaddset(&blocked, nSignal);
    ::pthread_sigmask(SIG_BLOCK, &blocked, &previous);
    installRemover();
    const int nDescriptor = ::mkstemp(strTemporary.data());
    if (nDescriptor >= 0 && strTemporary.size() < sizeof(g_szPending)) {
        std::memcpy(g_szPending, strTemporary.c_str(), strTemporary.size() + 1);
        g_bPending = 1;
    }
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return nDescriptor;
}

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

mode_t creationMode() {
    const mode_t umaskNow = ::umask(0);
    ::umask(umaskNow);
    return 0666 & ~umaskNow;
}

// The file that a replacement of pszName renames over, with the mode the new one
// takes; false when the name must be written in place.
bool replacedPath(const char* pszName, std::string& strPath, mode_t& mode) {
    struct stat status;
    if (::lstat(pszName, &status) != 0) {
        strPath = pszName;
        mode = creationMode();
        return true;
    }
    if (S_ISLNK(status.st_mode)) {
        // The link stays a link: the file it points to is replaced.
        std::unique_ptr<char, decltype(&std::free)> pszTarget(::realpath(pszName, nullptr),
                                                              &std::free);
        struct stat target;
        if (!pszTarget || ::stat(pszTarget.get(), &target) != 0 || !S_ISREG(target.st_mode))
            return false;
        strPath = pszTarget.get();
        mode = target.st_mode & 07777;
        return true;
    }
    if (!S_ISREG(status.st_mode))
        return false;
    strPath = pszName;
    mode = status.st_mode & 07777;
    return true;
}

}  // namespace

// /dev/full must stay a device, and a directory fails in fopen as it should.
void writeInPlace(const char* pszName, MString& mstrText) {
    std::FILE* pFile = std::fopen(pszName, "wb");
    if (pFile == nullptr || !writeAndClose(pFile, mstrText))
        throw MError(pszCannotCreate);
}

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
    MReplacementFile file(pszName);
    if (!file.isOpen()) {
        // A read-only folder may still hold a writable output.
        writeInPlace(pszName, mstrText);
        return;
    }
    file.write(mstrText.getAddress(), mstrText.length());
    file.commit();
}

MReplacementFile::MReplacementFile(const char* pszName) {
    mode_t mode = 0;
    if (!replacedPath(pszName, m_strPath, mode))
        return;
    m_strTemporary = m_strPath + ".XXXXXX";
    m_nDescriptor = createPending(m_strTemporary);
    if (m_nDescriptor < 0) {
        m_strTemporary.clear();
        return;
    }
    ::fchmod(m_nDescriptor, mode);
}

MReplacementFile::~MReplacementFile() {
    if (m_nDescriptor >= 0)
        ::close(m_nDescriptor);
    if (!m_strTemporary.empty()) {
        ::unlink(m_strTemporary.c_str());
        g_bPending = 0;
    }
}

void MReplacementFile::write(const char* pszText, unsigned long liCount) {
    while (liCount > 0 && !m_bFailed) {
        // Linux moves at most about 2 GiB per call.
        const size_t nAsked = liCount < (1UL << 30) ? liCount : (1UL << 30);
        const ssize_t nWritten = ::write(m_nDescriptor, pszText, nAsked);
        if (nWritten < 0 && errno == EINTR)
            continue;
        if (nWritten <= 0) {
            m_bFailed = true;
            break;
        }
        pszText += nWritten;
        liCount -= static_cast<unsigned long>(nWritten);
    }
}

void MReplacementFile::commit() {
    // A full disk may report itself only when the file is closed.
    const bool bClosed = ::close(m_nDescriptor) == 0;
    m_nDescriptor = -1;
    if (m_bFailed || !bClosed || std::rename(m_strTemporary.c_str(), m_strPath.c_str()) != 0)
        throw MError(pszCannotCreate);
    g_bPending = 0;
    m_strTemporary.clear();
}
