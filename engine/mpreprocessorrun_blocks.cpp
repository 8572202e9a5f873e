// SPDX-License-Identifier: MIT
#include "engine/merror.h"
#include "engine/mlines.h"
#include "engine/mpreprocessorrun.h"
#include "engine/mtextconverter.h"
#include "engine/mtextsearch.h"

namespace {

bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

// Errors of a block point at the keyword at fault.
MError errorAt(MErrorCode code, const MString& mstrInput, int nOffset) {
    MError error(code, {}, nOffset);
    error.locate(mstrInput);
    return error;
}

}  // namespace

bool MPreprocessorRun::processNextBlock() {
    const MString& mstrInput = m_mstrInput;
    const int nInputLength = static_cast<int>(mstrInput.length());
    const int nBegin = findText(mstrInput, m_mstrBeginKeyword, m_nPosition);
    if (nBegin == -1) {
        m_output.append(&mstrInput[0] + m_nPosition,
                        static_cast<unsigned long>(nInputLength - m_nPosition));
        m_nPosition = nInputLength;
        return false;
    }
    m_output.append(&mstrInput[0] + m_nPosition, static_cast<unsigned long>(nBegin - m_nPosition));

    // Searched from the scan position, not from the begin keyword: an end
    // keyword standing before it is found first.
    const int nEnd = findText(mstrInput, m_mstrEndKeyword, m_nPosition);
    if (nEnd == -1)
        throw errorAt(MErrorCode::NoFrameEnd, mstrInput, nBegin);
    if (nEnd < nBegin)
        throw errorAt(MErrorCode::EndBeforeBegin, mstrInput, nEnd);
    const int nHeader = nBegin + static_cast<int>(m_mstrBeginKeyword.length());

    // The block text ends at the line break before the end keyword's line; a
    // break is one CR or LF with one adjacent CR or LF, so LF LF counts as one.
    // A line break before the begin keyword leaves no room for the header's ")".
    int nTextEnd = nEnd;
    while (nTextEnd > 0 && !isLineBreak(mstrInput[nTextEnd]))
        --nTextEnd;
    if (!isLineBreak(mstrInput[nTextEnd]))
        throw errorAt(MErrorCode::NoLineBreakBeforeEnd, mstrInput, nEnd);
    if (nTextEnd < nHeader)
        throw errorAt(MErrorCode::NoBlockStart, mstrInput, nBegin);
    if (nTextEnd > nHeader && isLineBreak(mstrInput[nTextEnd - 1]))
        --nTextEnd;

    // The header runs to the line break after its first ")", wherever that is.
    int nClose = nHeader;
    while (nClose < nTextEnd && mstrInput[nClose] != ')')
        ++nClose;
    if (nClose >= nTextEnd)
        throw errorAt(MErrorCode::NoBlockStart, mstrInput, nBegin);
    int nTextBegin = nClose;
    while (!isLineBreak(mstrInput[nTextBegin]))
        ++nTextBegin;  // stops at nTextEnd at the latest
    if (isLineBreak(mstrInput[nTextBegin + 1]))
        ++nTextBegin;
    ++nTextBegin;

    try {
        m_delimiters.readFlagDefinitions(mstrInput.getString(nHeader, nTextBegin));
    } catch (MError& error) {
        error.locate(mstrInput, nHeader);
        throw;
    }
    m_output += "\n";
    if (nTextBegin < nTextEnd) {
        const MString mstrText = mstrInput.getString(nTextBegin, nTextEnd);
        MTextConverter converter(mstrText, m_language, m_delimiters);
        if (m_bTrackFiles)
            converter.recordFilesInto(&m_embeddedFiles);
        if (!m_mstrLineFile.isEmpty())
            converter.setLineDirectives(m_mstrLineFile, lineAt(nTextBegin));
        try {
            converter.appendTo(m_output);
        } catch (MError& error) {
            error.locate(mstrInput, nTextBegin);
            throw;
        }
    } else {
        m_output += traitsOf(m_language).pszEmptyBlock;
    }

    // The end line runs from the end keyword to the first ")" after it: a ")" before the
    // keyword on its line must not let the keyword through. What follows stays.
    int nAfter = nEnd + static_cast<int>(m_mstrEndKeyword.length());
    while (nAfter < nInputLength && mstrInput[nAfter] != ')')
        ++nAfter;
    if (nAfter >= nInputLength)
        throw errorAt(MErrorCode::EndNotClosed, mstrInput, nEnd);
    m_nPosition = nAfter + 1;
    // The source after the end line goes on where the ")" stands.
    if (!m_mstrLineFile.isEmpty())
        m_output += lineDirective(lineAt(m_nPosition), m_mstrLineFile);
    return true;
}
