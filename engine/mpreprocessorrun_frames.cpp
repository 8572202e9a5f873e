#include <climits>

#include "engine/mpreprocessorrun.h"
#include "engine/mtextsearch.h"

namespace {

// Tab is no blank here: "frame" after a tab is not recognised.
bool isBlank(char c) {
    return c == ' ' || c == '\n' || c == '\r';
}

const char* replacementFor(MLanguage language) {
    switch (language) {
    case MLanguage::Java:
        return " extends MVantor ";
    case MLanguage::Cpp:
        return " : public MVantor ";
    case MLanguage::CSharp:
    case MLanguage::Fallback:
        break;
    }
    return " : MVantor ";
}

}  // namespace

int MPreprocessorRun::processNextFrameKeyword(bool bFinal) {
    // The frame pass reads the first pass's text where it lies.
    const MString& mstrInput = m_output.kept();
    const char* const pszInput = &mstrInput[0];
    const int nLength = static_cast<int>(mstrInput.length());
    static const MString mstrFrame("frame");
    const int nKeyword = findText(mstrInput, mstrFrame, m_nFramePosition);
    if (nKeyword == -1) {
        // More text may complete a keyword in the last four bytes.
        const int nDone = bFinal ? nLength : nLength - 4;
        if (nDone > m_nFramePosition) {
            m_result.append(pszInput + m_nFramePosition,
                            static_cast<unsigned long>(nDone - m_nFramePosition));
            m_nFramePosition = nDone;
        }
        return 0;
    }
    // A rejected occurrence is copied through its "f" in one step; a later
    // occurrence inside it could only follow a letter of "frame", and would be
    // rejected as well.
    auto reject = [&]() {
        m_result.append(pszInput + m_nFramePosition,
                        static_cast<unsigned long>(nKeyword + 1 - m_nFramePosition));
        m_nFramePosition = nKeyword + 1;
        return 1;
    };
    if (nKeyword == 0 || !isBlank(pszInput[nKeyword - 1]))
        return reject();

    // Until the text is complete, an occurrence whose name or brace lies beyond its
    // end waits for more.
    int nEnd = nKeyword + 5;
    while (nEnd < nLength && isBlank(pszInput[nEnd]))
        ++nEnd;
    if (nEnd == nLength)
        return bFinal ? reject() : 0;
    const int nNameStart = nEnd;
    while (nEnd < nLength && !isBlank(pszInput[nEnd]))
        ++nEnd;
    if (nEnd == nLength && !bFinal)
        return 0;
    // "frame(Report)": the parentheses go; a lone "(" leaves nothing to name.
    const bool bParenthesised = pszInput[nNameStart] == '(';
    if (bParenthesised && nEnd - nNameStart < 2)
        return reject();

    // Only the first "{" or "(" after the name counts.
    const int nBrace = nextBrace(nEnd);
    if (nBrace == -1 && !bFinal)
        return 0;
    if (nBrace == -1 || pszInput[nBrace] == '(')
        return reject();

    m_result.append(pszInput + m_nFramePosition,
                    static_cast<unsigned long>(nKeyword - m_nFramePosition));
    m_result += "class ";
    if (bParenthesised) {
        m_result.append(pszInput + nNameStart + 1,
                        static_cast<unsigned long>(nEnd - nNameStart - 2));
    } else {
        m_result.append(pszInput + nNameStart, static_cast<unsigned long>(nEnd - nNameStart));
    }
    m_result += replacementFor(m_language);
    if (!m_mstrLineFile.isEmpty()) {
        // The declaration keeps as many lines as it had, so that the lines after it
        // still are the lines of the input.
        for (int i = nKeyword; i < nBrace; ++i) {
            if (pszInput[i] == '\n' || (pszInput[i] == '\r' && pszInput[i + 1] != '\n'))
                m_result += "\n";
        }
    }
    m_nFramePosition = nBrace;
    return 1;
}

int MPreprocessorRun::nextBrace(int nFrom) {
    // Positions only grow from one occurrence to the next, so what one search saw stays
    // true until it is passed: a brace found, or a stretch known to hold none.
    const bool bStillValid = m_nBraceSearchFrom != -1 && nFrom >= m_nBraceSearchFrom &&
                             (m_nBraceFound == -1 || nFrom <= m_nBraceFound);
    if (!bStillValid) {
        m_nBraceSearchFrom = m_nBraceScanned = nFrom;
        m_nBraceFound = -1;
    }
    if (m_nBraceFound == -1) {
        const MString& mstrInput = m_output.kept();
        const char* const pszInput = &mstrInput[0];
        const int nLength = static_cast<int>(mstrInput.length());
        int nBrace = m_nBraceScanned < nFrom ? nFrom : m_nBraceScanned;
        while (nBrace < nLength && pszInput[nBrace] != '{' && pszInput[nBrace] != '(')
            ++nBrace;
        m_nBraceScanned = nBrace;
        if (nBrace < nLength)
            m_nBraceFound = nBrace;
    }
    return m_nBraceFound;
}

void MPreprocessorRun::readKept() {
    runFramePass(false);
}

void MPreprocessorRun::runFramePass(bool bFinal) {
    MTextBuffer& mstrKept = m_output.kept();
    if (mstrKept.length() > INT_MAX)
        return;  // the first pass's end reports it
    while (processNextFrameKeyword(bFinal)) {
    }
    // The byte before the position stays, for the blank before a keyword there. Text
    // is taken off the front only once it is most of the buffer, so that a long wait
    // for a brace costs no copy of the waiting text at every call.
    const int nDone = m_nFramePosition - 1;
    if (bFinal || nDone <= 0 || static_cast<unsigned long>(nDone) < mstrKept.length() / 2)
        return;
    mstrKept.dropFront(static_cast<unsigned long>(nDone));
    m_nFramePosition -= nDone;
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
