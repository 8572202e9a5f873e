// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MERROR_H
#define XVANTOR_ENGINE_MERROR_H

#include <utility>

#include "core/mstring.h"

/// A failure of the run that the user caused or must mend: the exact message, and where
/// its cause stands in the input when it has a place there.
class MError {
public:
    explicit MError(const char* pszMessage) : m_mstrMessage(pszMessage) {}
    explicit MError(MString mstrMessage) : m_mstrMessage(std::move(mstrMessage)) {}
    /// The cause stands at byte nOffset of a text that is not yet known; locate() names it.
    MError(MString mstrMessage, int nOffset)
        : m_mstrMessage(std::move(mstrMessage)), m_nOffset(nOffset) {}

    /// Turns the offset into a line and a column of the text, which starts at byte
    /// nTextStart of the input. Nothing changes for an error without an offset.
    void locate(const MString& mstrInput, int nTextStart = 0);

    const MString& message() const { return m_mstrMessage; }
    bool hasPosition() const { return m_nLine != 0; }
    /// Counted from 1; the column in bytes. LF, CR LF and a lone CR each end a line.
    int line() const { return m_nLine; }
    int column() const { return m_nColumn; }

private:
    MString m_mstrMessage;
    int m_nOffset = -1;  // relative to the text that locate() is told about
    int m_nLine = 0;
    int m_nColumn = 0;
};

#endif  // XVANTOR_ENGINE_MERROR_H
