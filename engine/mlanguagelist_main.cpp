// SPDX-License-Identifier: MIT
// Writes the list of languages that the build integrations read, from the language rows.
#include <cstdio>
#include <fstream>

#include "engine/mlanguagelist.h"

int main(int nArgs, char** ppszArgs) {
    if (nArgs != 2) {
        std::fputs("usage: xvantor_languages output\n", stderr);
        return 2;
    }
    std::ofstream file(ppszArgs[1], std::ios::binary);
    file << cmakeLanguageList();
    file.close();
    if (!file) {
        std::fprintf(stderr, "xvantor_languages: can not write %s\n", ppszArgs[1]);
        return 1;
    }
    return 0;
}
