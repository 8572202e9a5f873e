// SPDX-License-Identifier: MIT
#include <cstring>

#include "engine/membeddedfile.h"
#include "engine/merror.h"
#include "engine/mfiles.h"
#include "engine/mtextconverter.h"

namespace {

bool isTrimmed(char c) {
    return c == ' ' || c == '\r' || c == '\n';
}

}  // namespace

MString MTextConverter::embedFile(MString& mstrName) const {
    const std::unique_ptr<MEmbeddedFile> file = openEmbeddedFile(mstrName, 0);
    MOutputText output;
    appendLiteral(output, bytesOfFile(*file, 0, file->length(), 0), file->length());
    return output.kept();
}

std::unique_ptr<MEmbeddedFile> MTextConverter::openEmbeddedFile(MString& mstrName,
                                                                int nOpener) const {
    const int nLength = static_cast<int>(mstrName.length());
    int nFront = 0;
    while (nFront < nLength && isTrimmed(mstrName[nFront]))
        ++nFront;
    int nBack = nLength;
    while (nBack > nFront && isTrimmed(mstrName[nBack - 1]))
        --nBack;
    mstrName = mstrName.getString(nFront, nBack);

    // A NUL inside the name would silently open a shorter name.
    const bool bUsable =
        !mstrName.isEmpty() && std::memchr(mstrName.getAddress(), 0, mstrName.length()) == nullptr;
    if (!bUsable)
        throw fileError({MFileFailure::MKind::CannotOpen, ""}, MFileUse::Embedded, mstrName,
                        nOpener);
    try {
        auto file = std::make_unique<MEmbeddedFile>(mstrName.toCStr().getAddress());
        if (m_pFilesRead != nullptr)
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
