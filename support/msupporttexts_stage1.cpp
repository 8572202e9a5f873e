// SPDX-License-Identifier: MIT
// The first-stage tool: the engine alone, without the command line and without support
// files, turns the frame source that holds the six support texts into C++. What the real
// tool embeds therefore never depends on how a language option is read.
#include <cstdio>

#include "engine/merror.h"
#include "engine/mescapetable.h"
#include "engine/mpreprocessorrun.h"

int main(int nArgs, char** ppszArgs) {
    if (nArgs != 3) {
        std::fputs("usage: xvantor_stage1 frame-source output\n", stderr);
        return 2;
    }
    try {
        MEscapeTable::instance();
        MPreprocessorRun preprocessorRun(traitsOf(MLanguage::Cpp), ppszArgs[1], ppszArgs[2]);
        preprocessorRun.process();
        return 0;
    } catch (const MError& error) {
        MString mstrMessage = error.message();
        std::fprintf(stderr, "xvantor_stage1: %s\n", mstrMessage.toCStr().getAddress());
    } catch (...) {
        std::fputs("xvantor_stage1: the support texts could not be embedded\n", stderr);
    }
    return 1;
}
