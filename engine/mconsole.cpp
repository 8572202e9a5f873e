#include "engine/mconsole.h"

#include <cstdio>

void printLine(const char* pszText) {
    std::fputs(pszText, stdout);
    std::fputc('\n', stdout);
}

void printText(const char* pszText) {
    std::fputs(pszText, stdout);
}
