#include <cstring>

#include "engine/mfiles.h"
#include "engine/mtextconverter.h"

namespace {

bool isTrimmed(char c) {
    return c == ' ' || c == '\r' || c == '\n';
}

}  // namespace

MString MTextConverter::embedFile(MString& mstrName) const {
    return makeLiteral(readEmbeddedFile(mstrName));
}

MString MTextConverter::readEmbeddedFile(MString& mstrName) const {
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
    if (bUsable) {
        try {
            return readWholeFile(mstrName.toCStr().getAddress());
        } catch (MFileFailure) {
        }
    }
    throw MString("\nError XF0001: Embedding of file ") + MString("\"") + mstrName + MString("\"") +
        MString(" failed");
}
