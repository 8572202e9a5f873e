// SPDX-License-Identifier: MIT
#ifndef XVANTOR_DRIVER_MCONSOLE_H
#define XVANTOR_DRIVER_MCONSOLE_H

#include "engine/merror.h"

/// Everything the tool says. By default every text goes to standard output as it always
/// has; a quiet console says nothing but failures, one line each on standard error, in
/// the form that editors and build logs point at.
class MConsole {
public:
    explicit MConsole(bool bQuiet = false) : m_bQuiet(bQuiet) {}

    /// The text and one newline.
    void printLine(const char* pszText) const;
    /// The text alone, so that the next text continues its line.
    void printText(const char* pszText) const;
    /// A failure: its message as a line, or when quiet "INPUT:LINE:COLUMN: error: TEXT"
    /// where it has a position in the input named pszInput, else "xvantor: error: TEXT".
    void printFailure(const MError& error, const char* pszInput) const;

private:
    bool m_bQuiet;
};

#endif  // XVANTOR_DRIVER_MCONSOLE_H
