// SPDX-License-Identifier: MIT
#include "driver/mconsole.h"

#include <cstdio>
#include <string>

void MConsole::printLine(const char* pszText) const {
    if (m_bQuiet)
        return;
    std::fputs(pszText, stdout);
    std::fputc('\n', stdout);
}

void MConsole::printText(const char* pszText) const {
    if (!m_bQuiet)
        std::fputs(pszText, stdout);
}

void MConsole::printFailure(const MError& error, const char* pszInput) const {
    if (!m_bQuiet) {
        // Printed as a C string, as every message always was.
        printLine(error.message().toCStr().getAddress());
        return;
    }
    const std::string strText = error.quietText();
    if (error.hasPosition()) {
        std::fprintf(stderr, "%s:%d:%d: error: %s\n", pszInput, error.line(), error.column(),
                     strText.c_str());
    } else {
        std::fprintf(stderr, "xvantor: error: %s\n", strText.c_str());
    }
}
