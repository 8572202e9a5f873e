// SPDX-License-Identifier: MIT
#include <cstring>
#include <string>

#include "engine/membeddedfile.h"
#include "engine/merror.h"
#include "engine/mfiles.h"
#include "engine/mlines.h"
#include "engine/mtextconverter.h"

std::unique_ptr<MEmbeddedFile> MTextConverter::openEmbeddedFile(const MPiece& piece, bool bRecord) {
    MString mstrName = m_mstrText.getString(piece.nBegin, piece.nEnd);
    return openEmbeddedFile(mstrName, piece.nOpener, bRecord);
}

std::unique_ptr<MEmbeddedFile> MTextConverter::openEmbeddedFile(MString& mstrName, int nOpener,
                                                                bool bRecord) {
    const int nLength = static_cast<int>(mstrName.length());
    int nFront = 0;
    while (nFront < nLength && isSpaceOrLineBreak(mstrName[nFront]))
        ++nFront;
    int nBack = nLength;
    while (nBack > nFront && isSpaceOrLineBreak(mstrName[nBack - 1]))
        --nBack;
    mstrName = mstrName.getString(nFront, nBack);

    // A NUL inside the name would silently open a shorter name.
    const bool bUsable =
        !mstrName.isEmpty() && std::memchr(mstrName.getAddress(), 0, mstrName.length()) == nullptr;
    if (!bUsable)
        throw fileError({MFileFailure::MKind::CannotOpen, ""}, MFileUse::Embedded, mstrName,
                        nOpener);
    try {
        auto file = std::make_unique<MEmbeddedFile>(mstrName.toCStr().getAddress(), m_pEmbedCache);
        m_mstrLastFile = mstrName;
        m_nLastOpener = nOpener;
        // A name embedded a million times is kept once, not a million times.
        if (bRecord && m_pFilesRead != nullptr &&
            (m_pFilesSeen == nullptr ||
             m_pFilesSeen->insert(std::string(&mstrName[0], mstrName.length())).second))
            m_pFilesRead->push_back(mstrName);
        return file;
    } catch (const MFileFailure& failure) {
        throw fileError(failure, MFileUse::Embedded, mstrName, nOpener);
    }
}

const char* MTextConverter::bytesOfFile(MEmbeddedFile& file, unsigned long liOffset,
                                        unsigned long liCount, int nOpener) const {
    try {
        return file.bytes(liOffset, liCount);
    } catch (const MFileFailure& failure) {
        throw fileError(failure, MFileUse::Embedded, file.name(), nOpener);
    }
}
