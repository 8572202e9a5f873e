// SPDX-License-Identifier: MIT
#include "engine/mfiles.h"

#include <climits>
#include <cstdio>
#include <memory>
#include <string>

#include "engine/merror.h"
#include "engine/mplatform.h"

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

}  // namespace

// /dev/full must stay a device, and a directory fails in fopen as it should.
void writeInPlace(const char* pszName, MString& mstrText) {
    std::FILE* pFile = std::fopen(pszName, "wb");
    if (pFile == nullptr || !writeAndClose(pFile, mstrText))
        throw MError(pszCannotCreate);
}

MString readWholeFile(const char* pszName) {
    // Some systems open a folder for reading, others refuse: both must say the same.
    if (isDirectory(pszName))
        throw MFileFailure::CannotRead;
    MFilePointer pFile(std::fopen(pszName, "rb"));
    if (!pFile)
        throw MFileFailure::CannotOpen;
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
    if (!createReplacement(pszName, m_strPath, m_strTemporary, m_file))
        m_file = g_noSystemFile;
}

MReplacementFile::~MReplacementFile() {
    if (m_file != g_noSystemFile)
        closeSystemFile(m_file);
    if (!m_strTemporary.empty())
        discardReplacement(m_strTemporary);
}

void MReplacementFile::write(const char* pszText, unsigned long liCount) {
    if (!m_bFailed && !writeAll(m_file, pszText, liCount))
        m_bFailed = true;
}

void MReplacementFile::commit() {
    // A full disk may report itself only when the file is closed.
    const bool bClosed = closeSystemFile(m_file);
    m_file = g_noSystemFile;
    if (m_bFailed || !bClosed || !replaceTarget(m_strTemporary, m_strPath))
        throw MError(pszCannotCreate);
    m_strTemporary.clear();
}
