// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MLINES_H
#define XVANTOR_ENGINE_MLINES_H

#include <cstdio>

#include "core/mstring.h"

/// Whether the byte at i ends a line as compilers count lines: an LF, a CR before an LF
/// does not, a lone CR does.
inline bool endsLine(const char* pszText, long i, long nLength) {
    return pszText[i] == '\n' ||
           (pszText[i] == '\r' && (i + 1 >= nLength || pszText[i + 1] != '\n'));
}

/// "#line N " with the quoted file name, and a line break.
inline MString lineDirective(int nLine, const MString& mstrQuotedFile) {
    char szLine[32];
    std::snprintf(szLine, sizeof szLine, "#line %d ", nLine);
    return MString(szLine) + mstrQuotedFile + MString("\n");
}

#endif  // XVANTOR_ENGINE_MLINES_H
