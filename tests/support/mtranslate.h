// SPDX-License-Identifier: MIT
#ifndef XVANTOR_TESTS_SUPPORT_MTRANSLATE_H
#define XVANTOR_TESTS_SUPPORT_MTRANSLATE_H

#include <string>

#include "engine/mpreprocessorrun.h"
#include "tests/support/mbytes.h"

/// What the run makes of a text in memory, without the lines it puts in front.
inline std::string translated(MLanguage language, const std::string& strInput) {
    MPreprocessorRun run(traitsOf(language), fromBytes(strInput));
    MPreprocessorRun empty(traitsOf(language), MString());
    return bytesOf(run.translate()).substr(empty.translate().length());
}

#endif  // XVANTOR_TESTS_SUPPORT_MTRANSLATE_H
