// SPDX-License-Identifier: MIT
#include "engine/mfiles.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "engine/merror.h"
#include "engine/moffsets.h"
#include "engine/mplatform.h"

namespace {

// Takes the file over and closes it: a failed flush or close (a full disk
// reports itself there) counts as a failed write.
bool writeAndClose(std::FILE* pFile, const char* pszText, unsigned long liLength) {
    bool bWritten = liLength == 0 || std::fwrite(pszText, 1, liLength, pFile) == liLength;
    if (std::fflush(pFile) != 0)
        bWritten = false;
    if (std::fclose(pFile) != 0)
        bWritten = false;
    return bWritten;
}

struct MSystemFileCloser {
    MSystemFile file;
    ~MSystemFileCloser() { closeSystemFile(file); }
};

const unsigned long liReadPiece = 1UL << 16;

// Fills the bytes from lliOffset on; the count read, short at the end of the file.
unsigned long readFully(MSystemFile file, char* pBuffer, unsigned long liCount,
                        unsigned long long lliOffset) {
    unsigned long liRead = 0;
    while (liRead < liCount) {
        const long nRead = readAt(file, pBuffer + liRead, liCount - liRead, lliOffset + liRead);
        if (nRead < 0)
            throw MFileFailure{MFileFailure::MKind::CannotRead, lastSystemError()};
        if (nRead == 0)
            break;
        liRead += static_cast<unsigned long>(nRead);
    }
    return liRead;
}

}  // namespace

void checkUnchanged(MSystemFile file, bool bVersioned, const MFileVersion& before) {
    MFileVersion after;
    if (bVersioned && (!versionOf(file, after) || !(after == before)))
        throw MFileFailure{MFileFailure::MKind::CannotRead, "the file changed while it was read"};
}

bool sameFile(const std::string& strFirst, const std::string& strSecond) {
    MFileIdentity first;
    MFileIdentity second;
    if (identityOf(strFirst.c_str(), first) && identityOf(strSecond.c_str(), second))
        return first == second;
    std::error_code error;
    std::string strA = std::filesystem::weakly_canonical(strFirst, error).generic_string();
    if (error)
        return false;
    std::string strB = std::filesystem::weakly_canonical(strSecond, error).generic_string();
    if (error)
        return false;
    if (namesIgnoreCase()) {
        for (std::string* pstr : {&strA, &strB}) {
            for (char& c : *pstr)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return strA == strB;
}

MError fileError(const MFileFailure& failure, MFileUse use, const MString& mstrName, int nOffset) {
    MErrorCode code = MErrorCode::CannotCreate;
    if (use == MFileUse::Embedded) {
        code = MErrorCode::EmbeddingFailed;
    } else if (use == MFileUse::Input) {
        switch (failure.kind) {
        case MFileFailure::MKind::CannotOpen:
            code = MErrorCode::InputNotFound;
            break;
        case MFileFailure::MKind::TooLarge:
            code = MErrorCode::InputTooLarge;
            break;
        case MFileFailure::MKind::CannotRead:
        case MFileFailure::MKind::CannotCreate:
            code = MErrorCode::InputUnreadable;
            break;
        }
    }
    MError error(code, {mstrName}, nOffset);
    error.setReason(failure.strReason);
    return error;
}

// /dev/full must stay a device, and a directory fails in fopen as it should.
void writeInPlace(const char* pszName, MString& mstrText) {
    writeInPlace(pszName, mstrText.getAddress(), mstrText.length());
}

void writeInPlace(const char* pszName, const char* pszText, unsigned long liLength) {
    std::FILE* pFile = std::fopen(pszName, "wb");
    if (pFile == nullptr || !writeAndClose(pFile, pszText, liLength))
        throw fileError({MFileFailure::MKind::CannotCreate, lastSystemError()}, MFileUse::Written,
                        MString(pszName));
}

MSystemFile openRegularFile(const char* pszName, unsigned long long& lliSize) {
    // Some systems open a folder for reading, others refuse: both must say the same.
    if (isDirectory(pszName))
        throw MFileFailure{MFileFailure::MKind::CannotRead, "Is a directory"};
    const MSystemFile file = openForReading(pszName);
    if (file == g_noSystemFile)
        throw MFileFailure{MFileFailure::MKind::CannotOpen, lastSystemError()};
    // A pipe, a socket or a device has no end to read to, or one that changes each time.
    if (!sizeOfRegularFile(file, lliSize)) {
        closeSystemFile(file);
        throw MFileFailure{MFileFailure::MKind::CannotRead, "not a regular file"};
    }
    return file;
}

MString readWholeFile(const char* pszName) {
    unsigned long long lliSize = 0;
    const MSystemFileCloser closer{openRegularFile(pszName, lliSize)};
    return readToEnd(closer.file, lliSize);
}

MString readToEnd(MSystemFile file, unsigned long long lliSize) {
    const MFileFailure tooLarge{MFileFailure::MKind::TooLarge, "File too large"};
    if (isTooLongForOffsets(lliSize))
        throw tooLarge;
    const unsigned long liSize = static_cast<unsigned long>(lliSize);
    MFileVersion before;
    const bool bVersioned = versionOf(file, before);
    MString mstrContent(0, liSize);
    const unsigned long liRead =
        readFully(file, liSize == 0 ? nullptr : &mstrContent[0], liSize, 0);
    // Files such as those under /proc report no size, and a file may grow: what the
    // size left out is read on to the end.
    std::string strRest;
    char achPiece[liReadPiece];
    for (;;) {
        const unsigned long liPiece =
            readFully(file, achPiece, liReadPiece, liRead + strRest.size());
        strRest.append(achPiece, liPiece);
        if (isTooLongForOffsets(liRead + strRest.size()))
            throw tooLarge;
        if (liPiece < liReadPiece)
            break;
    }
    checkUnchanged(file, bVersioned, before);
    if (liRead == liSize && strRest.empty())
        return mstrContent;
    MString mstrWhole(0, liRead + strRest.size());
    if (liRead > 0)
        std::memcpy(&mstrWhole[0], &mstrContent[0], liRead);
    if (!strRest.empty())
        std::memcpy(&mstrWhole[0] + liRead, strRest.data(), strRest.size());
    return mstrWhole;
}

void writeWholeFile(const char* pszName, MString& mstrText) {
    MReplacementFile file(pszName);
    if (file.inPlace()) {
        writeInPlace(pszName, mstrText);
        return;
    }
    file.write(mstrText.getAddress(), mstrText.length());
    file.commit();
}

MReplacementFile::MReplacementFile(const char* pszName) : m_strName(pszName) {
    const MReplacement replacement = createReplacement(pszName, m_strPath, m_strTemporary, m_file);
    m_bInPlace = replacement == MReplacement::InPlace;
    if (replacement != MReplacement::Created) {
        m_file = g_noSystemFile;
        // Never written in place instead: a full disk or a signal would then leave half a
        // file. commit() says so, once the run's own errors have had their turn.
        if (replacement == MReplacement::Failed) {
            m_bFailed = true;
            m_strReason = lastSystemError();
        }
    }
}

MReplacementFile::~MReplacementFile() {
    if (m_file != g_noSystemFile)
        closeSystemFile(m_file);
    if (!m_strTemporary.empty())
        discardReplacement(m_strTemporary);
}

void MReplacementFile::write(const char* pszText, unsigned long liCount) {
    if (!m_bFailed && !writeAll(m_file, pszText, liCount)) {
        m_bFailed = true;
        m_strReason = lastSystemError();
    }
}

void MReplacementFile::commit() {
    if (!m_bFailed && !nameReplacement(m_file, m_strPath, m_strTemporary)) {
        m_bFailed = true;
        m_strReason = lastSystemError();
    }
    // A full disk may report itself only when the file is closed.
    const bool bClosed = m_file == g_noSystemFile || closeSystemFile(m_file);
    m_file = g_noSystemFile;
    if (!m_bFailed && (!bClosed || !replaceTarget(m_strTemporary, m_strPath))) {
        m_bFailed = true;
        m_strReason = lastSystemError();
    }
    if (m_bFailed)
        throw fileError({MFileFailure::MKind::CannotCreate, m_strReason}, MFileUse::Written,
                        MString(m_strName.c_str()));
    m_strTemporary.clear();
}
