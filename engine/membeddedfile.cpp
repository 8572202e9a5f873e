// SPDX-License-Identifier: MIT
#include "engine/membeddedfile.h"

#include "engine/mfiles.h"
#include "engine/moffsets.h"
#include "engine/mplatform.h"

MEmbeddedFile::MEmbeddedFile(const char* pszName, MEmbedCache* pCache) : m_mstrName(pszName) {
    m_mstrName.toCStr();
    if (pCache != nullptr) {
        if (const MString* pKept = pCache->find(m_mstrName)) {
            m_pWhole = pKept;
            m_liLength = pKept->length();
            return;
        }
    }
    m_file = openRegularFile(pszName, m_version);
    if (m_version.lliSize <= sm_liWindowBytes) {
        try {
            m_mstrContent = readToEnd(m_file, m_version);
        } catch (const MFileFailure&) {
            closeFile();
            throw;
        }
        closeFile();
        m_liLength = m_mstrContent.length();
        if (pCache != nullptr) {
            if (const MString* pKept = pCache->keep(m_mstrName, m_mstrContent))
                m_pWhole = pKept;
        }
        return;
    }
    // Opened again when its turn comes: a block may name thousands of files. Each window
    // is checked against this version, so that the literal never mixes two texts.
    m_bVersioned = true;
    closeFile();
    if (isTooLongForOffsets(m_version.lliSize))
        throw MFileFailure{MFileFailure::MKind::TooLarge, "File too large"};
    m_liLength = static_cast<unsigned long>(m_version.lliSize);
    m_bWhole = false;
}

MEmbeddedFile::~MEmbeddedFile() {
    closeFile();
}

const char* MEmbeddedFile::bytes(unsigned long liOffset, unsigned long liCount) {
    if (m_bWhole)
        return &(*m_pWhole)[0] + liOffset;
    if (liOffset < m_liWindowStart || liOffset + liCount > m_liWindowStart + m_liWindowLength) {
        if (m_file == g_noSystemFile) {
            m_file = openForReading(m_mstrName.getAddress());
            if (m_file == g_noSystemFile)
                throw MFileFailure{MFileFailure::MKind::CannotOpen, lastSystemError()};
        }
        const unsigned long liLeft = m_liLength - liOffset;
        const unsigned long liWindow = liLeft < sm_liWindowBytes ? liLeft : sm_liWindowBytes;
        readWindow(liOffset, liWindow < liCount ? liCount : liWindow);
    }
    const char* pszBytes = &m_mstrContent[0] + (liOffset - m_liWindowStart);
    if (liOffset + liCount == m_liLength)
        closeFile();
    return pszBytes;
}

void MEmbeddedFile::readWindow(unsigned long liOffset, unsigned long liLength) {
    if (m_mstrContent.length() < liLength)
        m_mstrContent = MString(0, liLength);
    unsigned long liRead = 0;
    while (liRead < liLength) {
        const long nRead =
            readAt(m_file, &m_mstrContent[0] + liRead, liLength - liRead, liOffset + liRead);
        // A file that shrank since it was measured no longer holds its literal.
        if (nRead <= 0) {
            const std::string strReason = nRead < 0 ? lastSystemError() : "the file shrank";
            closeFile();
            throw MFileFailure{MFileFailure::MKind::CannotRead, strReason};
        }
        liRead += static_cast<unsigned long>(nRead);
    }
    try {
        checkUnchanged(m_file, m_bVersioned, m_version);
    } catch (const MFileFailure&) {
        closeFile();
        throw;
    }
    m_liWindowStart = liOffset;
    m_liWindowLength = liLength;
}

void MEmbeddedFile::closeFile() {
    if (m_file != g_noSystemFile)
        closeSystemFile(m_file);
    m_file = g_noSystemFile;
}
