// SPDX-License-Identifier: MIT
#include "engine/mblockpass.h"

#include "engine/mtextconverter.h"
#include "engine/mtextsearch.h"

void MBlockPass::run(const MString& mstrInput) {
    m_pInput = &mstrInput;
    m_nLength = static_cast<long>(mstrInput.length());
    m_nPosition = 0;
    m_lines = MLineCounter();
    if (m_trace.pLineFile != nullptr)
        m_output += lineDirective(m_traits, 1, *m_trace.pLineFile);
    while (processNextBlock()) {
        // Flag definitions hold for the block in whose header they stand.
        m_delimiters.reset();
    }
    m_pInput = nullptr;
}

// Errors of a block point at the keyword at fault.
MError MBlockPass::errorAt(MErrorCode code, int nOffset) const {
    MError error(code, {}, nOffset);
    error.locate(*m_pInput);
    return error;
}

bool MBlockPass::processNextBlock() {
    const char* const pszInput = &(*m_pInput)[0];
    const int nBegin = findText(*m_pInput, m_mstrBeginKeyword, m_nPosition);
    if (nBegin == -1) {
        m_output.append(pszInput + m_nPosition,
                        static_cast<unsigned long>(m_nLength - m_nPosition));
        m_nPosition = static_cast<int>(m_nLength);
        return false;
    }
    m_output.append(pszInput + m_nPosition, static_cast<unsigned long>(nBegin - m_nPosition));
    const MBlock block = findBlock(nBegin);
    convertBlock(block);
    m_nPosition = endOfEndLine(block);
    // The source after the end line goes on where the ")" stands.
    if (m_trace.pLineFile != nullptr)
        m_output += lineDirective(m_traits, lineAt(m_nPosition), *m_trace.pLineFile);
    return true;
}

MBlockPass::MBlock MBlockPass::findBlock(int nBegin) const {
    const MString& mstrInput = *m_pInput;
    // Searched from the scan position, not from the begin keyword: an end
    // keyword standing before it is found first.
    const int nEnd = findText(mstrInput, m_mstrEndKeyword, m_nPosition);
    if (nEnd == -1)
        throw errorAt(MErrorCode::NoFrameEnd, nBegin);
    if (nEnd < nBegin)
        throw errorAt(MErrorCode::EndBeforeBegin, nEnd);
    const int nHeader = nBegin + static_cast<int>(m_mstrBeginKeyword.length());

    // The block text ends at the line break before the end keyword's line; a
    // break is one CR or LF with one adjacent CR or LF, so LF LF counts as one.
    // A line break before the begin keyword leaves no room for the header's ")".
    int nTextEnd = nEnd;
    while (nTextEnd > 0 && !isLineBreak(mstrInput[nTextEnd]))
        --nTextEnd;
    if (!isLineBreak(mstrInput[nTextEnd]))
        throw errorAt(MErrorCode::NoLineBreakBeforeEnd, nEnd);
    if (nTextEnd < nHeader)
        throw errorAt(MErrorCode::NoBlockStart, nBegin);
    if (nTextEnd > nHeader && isLineBreak(mstrInput[nTextEnd - 1]))
        --nTextEnd;

    // The header runs to the line break after its first ")", wherever that is.
    int nClose = nHeader;
    while (nClose < nTextEnd && mstrInput[nClose] != ')')
        ++nClose;
    if (nClose >= nTextEnd)
        throw errorAt(MErrorCode::NoBlockStart, nBegin);
    int nTextBegin = nClose;
    while (!isLineBreak(mstrInput[nTextBegin]))
        ++nTextBegin;  // stops at nTextEnd at the latest
    if (isLineBreak(mstrInput[nTextBegin + 1]))
        ++nTextBegin;
    ++nTextBegin;
    return {nBegin, nHeader, nTextBegin, nTextEnd, nEnd};
}

void MBlockPass::convertBlock(const MBlock& block) {
    const MString& mstrInput = *m_pInput;
    try {
        m_delimiters.readFlagDefinitions(mstrInput.getString(block.nHeader, block.nTextBegin));
    } catch (MError& error) {
        error.locate(mstrInput, block.nHeader);
        throw;
    }
    if (m_trace.bKeepLines) {
        convertBlockInPlace(block, block.nTextBegin < block.nTextEnd
                                       ? mstrInput.getString(block.nTextBegin, block.nTextEnd)
                                       : MString());
        return;
    }
    m_output += "\n";
    if (block.nTextBegin >= block.nTextEnd) {
        m_output += m_traits.pszEmptyBlock;
        return;
    }
    const MString mstrText = mstrInput.getString(block.nTextBegin, block.nTextEnd);
    const int nFirstLine = m_trace.pLineFile != nullptr ? lineAt(block.nTextBegin) : 1;
    MTextConverter converter(mstrText, m_traits, m_delimiters, m_trace, nFirstLine);
    try {
        converter.appendTo(m_output);
    } catch (MError& error) {
        error.locate(mstrInput, block.nTextBegin);
        throw;
    }
}

void MBlockPass::convertBlockInPlace(const MBlock& block, const MString& mstrText) {
    // The lines from the begin keyword to the ")" of the end line, which a missing ")"
    // fails later; the text starts on the line after the header.
    int nAfter = block.nEnd;
    while (nAfter < m_nLength && (*m_pInput)[nAfter] != ')')
        ++nAfter;
    const int nFirstLine = lineAt(block.nBegin);
    const int nTextLine = lineAt(block.nTextBegin < block.nTextEnd ? block.nTextBegin : block.nEnd);
    MTextConverter converter(mstrText, m_traits, m_delimiters, m_trace);
    converter.keepLines(nTextLine - nFirstLine, lineAt(nAfter) - nFirstLine);
    try {
        converter.appendTo(m_output);
    } catch (MError& error) {
        error.locate(*m_pInput, block.nTextBegin);
        throw;
    }
}

int MBlockPass::endOfEndLine(const MBlock& block) const {
    // The end line runs from the end keyword to the first ")" after it: a ")" before the
    // keyword on its line must not let the keyword through. What follows stays.
    const MString& mstrInput = *m_pInput;
    int nAfter = block.nEnd + static_cast<int>(m_mstrEndKeyword.length());
    while (nAfter < m_nLength && mstrInput[nAfter] != ')')
        ++nAfter;
    if (nAfter >= m_nLength)
        throw errorAt(MErrorCode::EndNotClosed, block.nEnd);
    return nAfter + 1;
}
