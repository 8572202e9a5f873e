// SPDX-License-Identifier: MIT
#include "engine/mframepass.h"

#include <climits>

#include "engine/mlines.h"
#include "engine/mtextsearch.h"

namespace {

// Tab is no blank here: "frame" after a tab is not recognised.
bool isBlank(char c) {
    return c == ' ' || c == '\n' || c == '\r';
}

}  // namespace

void MFramePass::take(MTextBuffer& text, bool bFinal) {
    if (text.length() > INT_MAX)
        return;  // the block pass's end reports it
    while (processNextFrameKeyword(text, bFinal)) {
    }
    // Text is taken off the front only once it is most of the buffer, so that a long wait
    // for a brace costs no copy of the waiting text at every call.
    const int nDone = m_nPosition;
    if (bFinal || nDone == 0 || static_cast<unsigned long>(nDone) < text.length() / 2)
        return;
    m_cBefore = text[nDone - 1];
    text.dropFront(static_cast<unsigned long>(nDone));
    m_nPosition = 0;
    if (m_nBraceSearchFrom == -1)
        return;
    if (m_nBraceFound != -1 && m_nBraceFound < nDone) {
        m_nBraceSearchFrom = m_nBraceFound = -1;
        return;
    }
    // A stretch known to hold no brace still holds none where it was cut.
    m_nBraceSearchFrom = m_nBraceSearchFrom < nDone ? 0 : m_nBraceSearchFrom - nDone;
    m_nBraceScanned = m_nBraceScanned < nDone ? 0 : m_nBraceScanned - nDone;
    if (m_nBraceFound != -1)
        m_nBraceFound -= nDone;
}

bool MFramePass::processNextFrameKeyword(MTextBuffer& text, bool bFinal) {
    const char* const pszInput = text.data();
    const int nLength = static_cast<int>(text.length());
    static const MString mstrFrame("frame");
    const int nKeyword = findText(text, mstrFrame, m_nPosition);
    if (nKeyword == -1) {
        // More text may complete a keyword in the last four bytes.
        const int nDone = bFinal ? nLength : nLength - 4;
        if (nDone <= m_nPosition)
            return false;
        if (m_nPosition == 0) {
            m_cBefore = pszInput[nDone - 1];
            // Most text holds no keyword at all: it is handed on without a copy.
            m_result.adoptFront(text, static_cast<unsigned long>(nDone));
            m_nBraceSearchFrom = -1;
        } else {
            m_result.append(pszInput + m_nPosition,
                            static_cast<unsigned long>(nDone - m_nPosition));
            m_nPosition = nDone;
        }
        return false;
    }
    // A rejected occurrence is copied through its "f" in one step; a later occurrence
    // inside it could only follow a letter of "frame", and would be rejected as well.
    auto reject = [&]() {
        m_result.append(pszInput + m_nPosition,
                        static_cast<unsigned long>(nKeyword + 1 - m_nPosition));
        m_nPosition = nKeyword + 1;
        return true;
    };
    if (!isBlank(nKeyword == 0 ? m_cBefore : pszInput[nKeyword - 1]))
        return reject();

    // Until the text is complete, an occurrence whose name or brace lies beyond its end
    // waits for more.
    int nEnd = nKeyword + 5;
    while (nEnd < nLength && isBlank(pszInput[nEnd]))
        ++nEnd;
    if (nEnd == nLength)
        return bFinal ? reject() : false;
    const int nNameStart = nEnd;
    while (nEnd < nLength && !isBlank(pszInput[nEnd]))
        ++nEnd;
    if (nEnd == nLength && !bFinal)
        return false;
    // "frame(Report)": the parentheses go; a lone "(" leaves nothing to name.
    const bool bParenthesised = pszInput[nNameStart] == '(';
    if (bParenthesised && nEnd - nNameStart < 2)
        return reject();

    // Only the first "{" or "(" after the name counts.
    const int nBrace = nextBrace(text, nEnd);
    if (nBrace == -1 && !bFinal)
        return false;
    if (nBrace == -1 || pszInput[nBrace] == '(')
        return reject();

    m_result.append(pszInput + m_nPosition, static_cast<unsigned long>(nKeyword - m_nPosition));
    m_result += "class ";
    if (bParenthesised) {
        m_result.append(pszInput + nNameStart + 1,
                        static_cast<unsigned long>(nEnd - nNameStart - 2));
    } else {
        m_result.append(pszInput + nNameStart, static_cast<unsigned long>(nEnd - nNameStart));
    }
    m_result += m_pszBaseClass;
    if (m_bKeepLineBreaks) {
        for (int i = nKeyword; i < nBrace; ++i) {
            if (endsLine(pszInput, i, nLength))
                m_result += "\n";
        }
    }
    m_nPosition = nBrace;
    return true;
}

int MFramePass::nextBrace(const MTextBuffer& text, int nFrom) {
    // Positions only grow from one occurrence to the next, so what one search saw stays
    // true until it is passed: a brace found, or a stretch known to hold none.
    const bool bStillValid = m_nBraceSearchFrom != -1 && nFrom >= m_nBraceSearchFrom &&
                             (m_nBraceFound == -1 || nFrom <= m_nBraceFound);
    if (!bStillValid) {
        m_nBraceSearchFrom = m_nBraceScanned = nFrom;
        m_nBraceFound = -1;
    }
    if (m_nBraceFound == -1) {
        const char* const pszInput = text.data();
        const int nLength = static_cast<int>(text.length());
        int nBrace = m_nBraceScanned < nFrom ? nFrom : m_nBraceScanned;
        while (nBrace < nLength && pszInput[nBrace] != '{' && pszInput[nBrace] != '(')
            ++nBrace;
        m_nBraceScanned = nBrace;
        if (nBrace < nLength)
            m_nBraceFound = nBrace;
    }
    return m_nBraceFound;
}
