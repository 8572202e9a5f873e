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

void MConsole::printFailure(const MString& mstrMessage, const MError* pError,
                            const char* pszInput) const {
    std::string strText(mstrMessage.length() == 0 ? "" : &mstrMessage[0], mstrMessage.length());
    if (!m_bQuiet) {
        // Printed as a C string, as every message always was.
        printLine(strText.c_str());
        return;
    }
    // One line: the leading line break goes, and so does the "Error" that the form says
    // already; breaks inside the text become blanks.
    const size_t nFirst = strText.find_first_not_of("\r\n");
    strText.erase(0, nFirst == std::string::npos ? strText.size() : nFirst);
    if (strText.compare(0, 6, "Error ") == 0)
        strText.erase(0, 6);
    while (!strText.empty() && (strText.back() == '\n' || strText.back() == '\r'))
        strText.pop_back();
    for (char& c : strText) {
        if (c == '\n' || c == '\r' || c == 0)
            c = ' ';
    }
    if (pError != nullptr && pError->hasPosition()) {
        std::fprintf(stderr, "%s:%d:%d: error: %s\n", pszInput, pError->line(), pError->column(),
                     strText.c_str());
    } else {
        std::fprintf(stderr, "xvantor: error: %s\n", strText.c_str());
    }
}
