#include "engine/mpreprocessorrun.h"
#include "engine/mtextconverter.h"
#include "engine/mtextsearch.h"

namespace {

const char* const pszNoEnd = "\nError XF0000: BEGIN_FRAME_TEXT() without END_FRAME_TEXT()";
const char* const pszNoHeaderClose =
    "\nError XF0005: BEGIN_FRAME_TEXT() without ) before the block text";
const char* const pszNoLineBreak =
    "\nError XF0006: END_FRAME_TEXT() without a line break before it";
const char* const pszNoEndClose = "\nError XF0007: END_FRAME_TEXT() without )";
const char* const pszEndFirst = "\nError XF0008: END_FRAME_TEXT() before BEGIN_FRAME_TEXT()";

bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

}  // namespace

int MPreprocessorRun::processNextBlock() {
    const MString& mstrInput = m_mstrInput;
    const int nInputLength = static_cast<int>(mstrInput.length());
    const int nBegin = findText(mstrInput, m_mstrBeginKeyword, m_nPosition);
    if (nBegin == -1) {
        m_output.append(&mstrInput[0] + m_nPosition,
                        static_cast<unsigned long>(nInputLength - m_nPosition));
        m_nPosition = nInputLength;
        return 0;
    }
    m_output.append(&mstrInput[0] + m_nPosition, static_cast<unsigned long>(nBegin - m_nPosition));

    // Searched from the scan position, not from the begin keyword: an end
    // keyword standing before it is found first.
    const int nEnd = findText(mstrInput, m_mstrEndKeyword, m_nPosition);
    if (nEnd == -1)
        throw pszNoEnd;
    if (nEnd < nBegin)
        throw pszEndFirst;
    const int nHeader = nBegin + static_cast<int>(m_mstrBeginKeyword.length());

    // The block text ends at the line break before the end keyword's line; a
    // break is one CR or LF with one adjacent CR or LF, so LF LF counts as one.
    // A line break before the begin keyword leaves no room for the header's ")".
    int nTextEnd = nEnd;
    while (nTextEnd > 0 && !isLineBreak(mstrInput[nTextEnd]))
        --nTextEnd;
    if (!isLineBreak(mstrInput[nTextEnd]))
        throw pszNoLineBreak;
    if (nTextEnd < nHeader)
        throw pszNoHeaderClose;
    if (nTextEnd > nHeader && isLineBreak(mstrInput[nTextEnd - 1]))
        --nTextEnd;

    // The header runs to the line break after its first ")", wherever that is.
    int nClose = nHeader;
    while (nClose < nTextEnd && mstrInput[nClose] != ')')
        ++nClose;
    if (nClose >= nTextEnd)
        throw pszNoHeaderClose;
    int nTextBegin = nClose;
    while (!isLineBreak(mstrInput[nTextBegin]))
        ++nTextBegin;  // stops at nTextEnd at the latest
    if (isLineBreak(mstrInput[nTextBegin + 1]))
        ++nTextBegin;
    ++nTextBegin;

    readFlagDefinitions(mstrInput.getString(nHeader, nTextBegin));
    m_output += "\n";
    if (nTextBegin < nTextEnd) {
        const MString mstrText = mstrInput.getString(nTextBegin, nTextEnd);
        MTextConverter converter(mstrText, m_pszOption, m_delimiters);
        converter.appendTo(m_output);
    } else if (m_pszOption[0] != 0 && m_pszOption[1] == 'c') {
        // The (text, length) form that every other C++ literal takes, which the
        // one-argument setFrameText of the support library accepts.
        m_output += "setFrameText(\nMString(\n\"\", 0\n)\n);\n";
    } else {
        m_output += "setFrameText(\"\");\n";
    }

    // Whatever follows the end line's ")" stays in the source.
    int nAfter = nTextEnd;
    while (nAfter < nInputLength && mstrInput[nAfter] != ')')
        ++nAfter;
    if (nAfter == nInputLength)
        throw pszNoEndClose;
    m_nPosition = nAfter + 1;
    return 1;
}
