#include "engine/mpreprocessorrun.h"
#include "engine/mtextsearch.h"

namespace {

// Tab is no blank here: "frame" after a tab is not recognised.
bool isBlank(char c) {
    return c == ' ' || c == '\n' || c == '\r';
}

const char* replacementFor(const char* pszOption) {
    switch (pszOption[0] == 0 ? 0 : pszOption[1]) {
    case 'j':
        return " extends MVantor ";
    case 'c':
        return " : public MVantor ";
    default:
        return " : MVantor ";
    }
}

}  // namespace

int MPreprocessorRun::processNextFrameKeyword() {
    // The frame pass reads the first pass's text where it lies.
    const MString& mstrInput = m_output.kept();
    const int nLength = static_cast<int>(mstrInput.length());
    static const MString mstrFrame("frame");
    const int nKeyword = findText(mstrInput, mstrFrame, m_nPosition);
    if (nKeyword == -1) {
        m_mstrResult += mstrInput.getString(m_nPosition, nLength);
        m_nPosition = nLength;
        return 0;
    }
    // A rejected occurrence is copied through its "f" in one step; a later
    // occurrence inside it could only follow a letter of "frame", and would be
    // rejected as well.
    auto reject = [&]() {
        m_mstrResult += mstrInput.getString(m_nPosition, nKeyword + 1);
        m_nPosition = nKeyword + 1;
        return 1;
    };
    if (nKeyword == 0 || !isBlank(mstrInput[nKeyword - 1]))
        return reject();

    int nEnd = nKeyword + 5;
    while (nEnd < nLength && isBlank(mstrInput[nEnd]))
        ++nEnd;
    if (nEnd == nLength)
        return reject();
    const int nNameStart = nEnd;
    while (nEnd < nLength && !isBlank(mstrInput[nEnd]))
        ++nEnd;
    // "frame(Report)": the parentheses go; a lone "(" leaves nothing to name.
    const bool bParenthesised = mstrInput[nNameStart] == '(';
    if (bParenthesised && nEnd - nNameStart < 2)
        return reject();
    const MString mstrName = bParenthesised ? mstrInput.getString(nNameStart + 1, nEnd - 1)
                                            : mstrInput.getString(nNameStart, nEnd);

    // Only the first "{" or "(" after the name counts. Positions only grow from
    // one occurrence to the next, so a search result stays valid until passed.
    if (!(m_nBraceSearchFrom != -1 && nEnd >= m_nBraceSearchFrom &&
          (m_nBraceFound == -1 || nEnd <= m_nBraceFound))) {
        int nBrace = nEnd;
        while (nBrace < nLength && mstrInput[nBrace] != '{' && mstrInput[nBrace] != '(')
            ++nBrace;
        m_nBraceSearchFrom = nEnd;
        m_nBraceFound = nBrace < nLength ? nBrace : -1;
    }
    if (m_nBraceFound == -1 || mstrInput[m_nBraceFound] == '(')
        return reject();

    m_mstrResult += mstrInput.getString(m_nPosition, nKeyword);
    m_mstrResult += MString("class ");
    m_mstrResult += mstrName;
    m_mstrResult += MString(replacementFor(m_pszOption));
    m_nPosition = m_nBraceFound;
    return 1;
}
