// SPDX-License-Identifier: MIT
#include "engine/merror.h"

#include "engine/mlines.h"

void MError::locate(const MString& mstrInput, int nTextStart) {
    if (m_nOffset < 0 || m_nLine != 0)
        return;
    const long nLength = static_cast<long>(mstrInput.length());
    const long nAt = nTextStart + m_nOffset < nLength ? nTextStart + m_nOffset : nLength;
    int nLine = 1;
    long nLineStart = 0;
    for (long i = 0; i < nAt; ++i) {
        if (endsLine(&mstrInput[0], i, nLength)) {
            ++nLine;
            nLineStart = i + 1;
        }
    }
    m_nLine = nLine;
    m_nColumn = static_cast<int>(nAt - nLineStart) + 1;
}
