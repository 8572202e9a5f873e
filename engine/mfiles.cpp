// SPDX-License-Identifier: MIT
#include "engine/mfiles.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "engine/merror.h"
#include "engine/moffsets.h"
#include "engine/mplatform.h"

namespace {

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

// The lexical comparison, for names of which not even the folder exists.
bool sameSpelling(const std::string& strFirst, const std::string& strSecond) {
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

}  // namespace

void checkUnchanged(MSystemFile file, bool bVersioned, const MFileVersion& before) {
    MFileVersion after;
    if (bVersioned && (!versionOf(file, after) || !(after == before)))
        throw MFileFailure{MFileFailure::MKind::CannotRead, "the file changed while it was read"};
}

bool sameFile(const std::string& strFirst, const std::string& strSecond) {
    MNameIdentity first;
    MNameIdentity second;
    if (nameIdentityOf(strFirst.c_str(), first) && nameIdentityOf(strSecond.c_str(), second))
        return first == second;
    return sameSpelling(strFirst, strSecond);
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

void writeInPlace(const char* pszName, MString& mstrText) {
    writeInPlace(pszName, mstrText.getAddress(), mstrText.length());
}

// /dev/full must stay a device, and a folder fails to open as it should.
void writeInPlace(const char* pszName, const char* pszText, unsigned long liLength) {
    // What the console printed comes first, on a stream the output may share.
    std::fflush(nullptr);
    const MSystemFile file = openInPlace(pszName);
    bool bWritten = file != g_noSystemFile && writeAll(file, pszText, liLength);
    std::string strReason = lastSystemError();
    if (file != g_noSystemFile && !closeSystemFile(file) && bWritten) {
        bWritten = false;
        strReason = lastSystemError();
    }
    if (!bWritten)
        throw fileError({MFileFailure::MKind::CannotCreate, strReason}, MFileUse::Written,
                        MString(pszName));
}

MSystemFile openRegularFile(const char* pszName, MFileVersion& version) {
    // The type is learned from the name: a device is never opened, a folder reads the same
    // on every system, and a pipe has no end to read to.
    MFileKind kind = MFileKind::Other;
    if (!kindOf(pszName, kind, version))
        throw MFileFailure{MFileFailure::MKind::CannotOpen, lastSystemError()};
    if (kind == MFileKind::Directory)
        throw MFileFailure{MFileFailure::MKind::CannotRead, "Is a directory"};
    if (kind != MFileKind::Regular)
        throw MFileFailure{MFileFailure::MKind::CannotRead, "not a regular file"};
    const MSystemFile file = openForReading(pszName);
    if (file == g_noSystemFile)
        throw MFileFailure{MFileFailure::MKind::CannotOpen, lastSystemError()};
    return file;
}

MString readWholeFile(const char* pszName) {
    MFileVersion version;
    const MSystemFileCloser closer{openRegularFile(pszName, version)};
    return readToEnd(closer.file, version);
}

MString readToEnd(MSystemFile file, const MFileVersion& before) {
    const MFileFailure tooLarge{MFileFailure::MKind::TooLarge, "File too large"};
    if (isTooLongForOffsets(before.lliSize))
        throw tooLarge;
    const unsigned long liSize = static_cast<unsigned long>(before.lliSize);
    MString mstrContent(0, liSize);
    const unsigned long liRead =
        readFully(file, liSize == 0 ? nullptr : &mstrContent[0], liSize, 0);
    // A file that holds the size it reports, and still does after the read, was read
    // whole: no read is spent on finding its end. Files such as those under /proc report
    // no size, and are read on to their end.
    std::string strRest;
    if (liSize == 0) {
        char achPiece[liReadPiece];
        for (;;) {
            const unsigned long liPiece = readFully(file, achPiece, liReadPiece, strRest.size());
            strRest.append(achPiece, liPiece);
            if (isTooLongForOffsets(strRest.size()))
                throw tooLarge;
            if (liPiece < liReadPiece)
                break;
        }
    }
    // Also a file replaced between learning its type and opening it.
    checkUnchanged(file, true, before);
    if (liRead == liSize && strRest.empty())
        return mstrContent;
    if (strRest.empty())
        return mstrContent.getString(0, static_cast<int>(liRead));
    return MString(strRest.data(), static_cast<unsigned long>(strRest.size()));
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
