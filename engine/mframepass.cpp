// SPDX-License-Identifier: MIT
#include "engine/mframepass.h"

#include "engine/mlines.h"
#include "engine/moffsets.h"
#include "engine/mtextsearch.h"

void MFramePass::take(MTextBuffer& text, bool bFinal) {
    if (isTooLongForOffsets(text.length()))
        return;  // the block pass's end reports it
    while (processNextFrameKeyword(text, bFinal)) {
    }
    // Text is taken off the front only once it is most of the buffer, so that a long wait
    // for a brace costs no copy of the waiting text at every call.
    const int nDone = m_nPosition;
    if (bFinal || nDone == 0 || static_cast<unsigned long>(nDone) < text.length() / 2)
        return;
    m_cBefore = text[static_cast<unsigned long>(nDone - 1)];
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
    static const MString mstrFrame("frame");
    const int nKeyword = findText(text.data(), text.length(), mstrFrame, m_nPosition);
    if (nKeyword == -1) {
        takeTextWithoutKeyword(text, bFinal);
        return false;
    }
    MDeclaration declaration{nKeyword, 0, 0, 0, false};
    switch (judge(text, bFinal, declaration)) {
    case MVerdict::Wait:
        return false;
    case MVerdict::Reject:
        // A rejected occurrence is copied through its "f" in one step; a later occurrence
        // inside it could only follow a letter of "frame", and would be rejected as well.
        m_result.append(text.data() + m_nPosition,
                        static_cast<unsigned long>(nKeyword + 1 - m_nPosition));
        m_nPosition = nKeyword + 1;
        return true;
    case MVerdict::Rewrite:
        break;
    }
    rewrite(text, declaration);
    return true;
}

void MFramePass::takeTextWithoutKeyword(MTextBuffer& text, bool bFinal) {
    const int nLength = static_cast<int>(text.length());
    // More text may complete a keyword in the last four bytes.
    const int nDone = bFinal ? nLength : nLength - 4;
    if (nDone <= m_nPosition)
        return;
    if (m_nPosition == 0) {
        m_cBefore = text.data()[nDone - 1];
        // Most text holds no keyword at all: it is handed on without a copy.
        m_result.adoptFront(text, static_cast<unsigned long>(nDone));
        m_nBraceSearchFrom = -1;
    } else {
        m_result.append(text.data() + m_nPosition, static_cast<unsigned long>(nDone - m_nPosition));
        m_nPosition = nDone;
    }
}

MFramePass::MVerdict MFramePass::judge(const MTextBuffer& text, bool bFinal,
                                       MDeclaration& declaration) {
    const char* const pszInput = text.data();
    const int nLength = static_cast<int>(text.length());
    const int nKeyword = declaration.nKeyword;
    // "frame" after a tab is not recognised.
    if (!isSpaceOrLineBreak(nKeyword == 0 ? m_cBefore : pszInput[nKeyword - 1]))
        return MVerdict::Reject;

    // Until the text is complete, an occurrence whose name or brace lies beyond its end
    // waits for more.
    int nEnd = nKeyword + 5;
    while (nEnd < nLength && isSpaceOrLineBreak(pszInput[nEnd]))
        ++nEnd;
    if (nEnd == nLength)
        return bFinal ? MVerdict::Reject : MVerdict::Wait;
    const int nNameStart = nEnd;
    while (nEnd < nLength && !isSpaceOrLineBreak(pszInput[nEnd]))
        ++nEnd;
    if (nEnd == nLength && !bFinal)
        return MVerdict::Wait;
    // "frame(Report)": the parentheses go; a lone "(" leaves nothing to name.
    declaration.bParenthesised = pszInput[nNameStart] == '(';
    if (declaration.bParenthesised && nEnd - nNameStart < 2)
        return MVerdict::Reject;

    // Only the first "{" or "(" after the name counts.
    const int nBrace = nextBrace(text, nEnd);
    if (nBrace == -1 && !bFinal)
        return MVerdict::Wait;
    if (nBrace == -1 || pszInput[nBrace] == '(')
        return MVerdict::Reject;
    declaration.nNameStart = nNameStart;
    declaration.nNameEnd = nEnd;
    declaration.nBrace = nBrace;
    return MVerdict::Rewrite;
}

void MFramePass::rewrite(const MTextBuffer& text, const MDeclaration& declaration) {
    const char* const pszInput = text.data();
    const int nLength = static_cast<int>(text.length());
    m_result.append(pszInput + m_nPosition,
                    static_cast<unsigned long>(declaration.nKeyword - m_nPosition));
    m_result += m_pszClassKeyword;
    const int nParenthesis = declaration.bParenthesised ? 1 : 0;
    m_result.append(pszInput + declaration.nNameStart + nParenthesis,
                    static_cast<unsigned long>(declaration.nNameEnd - declaration.nNameStart -
                                               2 * nParenthesis));
    m_result += m_pszBaseClass;
    if (m_bKeepLineBreaks) {
        for (int i = declaration.nKeyword; i < declaration.nBrace; ++i) {
            if (endsLine(pszInput, i, nLength))
                m_result += "\n";
        }
    }
    m_nPosition = declaration.nBrace;
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
