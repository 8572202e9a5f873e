// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MLINES_H
#define XVANTOR_ENGINE_MLINES_H

#include "core/mstring.h"

/// A CR or an LF: the bytes that the block pass takes for line breaks, in pairs or alone.
inline bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

/// A space, a CR or an LF; a tab is none of them. What separates the frame keyword from
/// its name, and what is trimmed off an embedded file's name.
inline bool isSpaceOrLineBreak(char c) {
    return c == ' ' || isLineBreak(c);
}

/// Whether the byte at i ends a line as compilers count lines: an LF, a CR before an LF
/// does not, a lone CR does.
inline bool endsLine(const char* pszText, long i, long nLength) {
    return pszText[i] == '\n' ||
           (pszText[i] == '\r' && (i + 1 >= nLength || pszText[i + 1] != '\n'));
}

/// The lines of one text, counted from its start as the positions asked for grow: each
/// question goes on from where the last stopped, so a pass over the text counts it once.
class MLineCounter {
public:
    /// The line of byte nOffset, from 1. An offset before the last one counts afresh.
    int lineAt(const char* pszText, long nLength, long nOffset) {
        if (nOffset < m_nCounted)
            *this = MLineCounter();
        for (long i = m_nCounted; i < nOffset; ++i) {
            if (endsLine(pszText, i, nLength)) {
                ++m_nLine;
                m_nLineStart = i + 1;
            }
        }
        m_nCounted = nOffset;
        return m_nLine;
    }
    /// Where the line of the last answer starts.
    long lineStart() const { return m_nLineStart; }

private:
    long m_nCounted = 0;
    int m_nLine = 1;
    long m_nLineStart = 0;
};

#endif  // XVANTOR_ENGINE_MLINES_H
