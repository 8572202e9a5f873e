// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MTEXTSEARCH_H
#define XVANTOR_ENGINE_MTEXTSEARCH_H

#include <cstring>

#include "core/mstring.h"
#include "engine/moffsets.h"

// Generated literals are made of backslashes, x and hexadecimal digits; a needle byte
// that none of them can be finds far fewer false starts in a text full of them. Of
// those the last is taken: "frame" is then sought by its "m", which the call of the
// string class around every generated expression does not hold.
inline unsigned long anchorOf(const char* pszNeedle, unsigned long liNeeded) {
    for (unsigned long i = liNeeded; i > 0; --i) {
        const char c = pszNeedle[i - 1];
        const bool bHex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
        if (!bHex && c != 'x' && c != '\\')
            return i - 1;
    }
    return 0;
}

/// The answer of MString::find, found by memchr and memcmp: the passes search texts of
/// hundreds of megabytes for their keywords, and a byte-by-byte loop costs them more
/// than all their copying.
inline int findText(const char* pszText, unsigned long liLength, const MString& mstrNeedle,
                    int nStart) {
    const unsigned long liNeeded = mstrNeedle.length();
    if (nStart < 0 || static_cast<unsigned long>(nStart) >= liLength)
        return -1;
    if (liNeeded == 0)
        return nStart;
    if (liNeeded > liLength)
        return -1;
    const char* pszNeedle = &mstrNeedle[0];
    unsigned long liLast = liLength - liNeeded;
    if (isTooLongForOffsets(liLast))
        liLast = liMostTextBytes;
    const unsigned long liAnchor = anchorOf(pszNeedle, liNeeded);
    const unsigned long liOther = liAnchor == 0 ? liNeeded - 1 : 0;
    unsigned long liAt = static_cast<unsigned long>(nStart);
    while (liAt <= liLast) {
        // The anchor byte of a match at liAt lies at liAt + liAnchor.
        const char* pszFrom = pszText + liAt + liAnchor;
        const void* pFound = std::memchr(pszFrom, pszNeedle[liAnchor], liLast - liAt + 1);
        if (pFound == nullptr)
            return -1;
        liAt = static_cast<unsigned long>(static_cast<const char*>(pFound) - pszText) - liAnchor;
        // One byte besides the anchor turns most false starts away without a call.
        if (pszText[liAt + liOther] == pszNeedle[liOther] &&
            std::memcmp(pszText + liAt, pszNeedle, liNeeded) == 0)
            return static_cast<int>(liAt);
        ++liAt;
    }
    return -1;
}

inline int findText(const MString& mstrText, const MString& mstrNeedle, int nStart) {
    return findText(mstrText.length() == 0 ? nullptr : &mstrText[0], mstrText.length(), mstrNeedle,
                    nStart);
}

#endif  // XVANTOR_ENGINE_MTEXTSEARCH_H
