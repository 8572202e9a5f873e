// SPDX-License-Identifier: MIT
// The whole translation of arbitrary input, in memory, under each language option: every
// outcome must be the reference translator's, byte for byte, message texts included, and a
// run that writes its file in small pieces as it goes must write the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/fuzz/mfuzzsupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzReference();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pbyData, size_t nSize) {
    if (nSize == 0)
        return 0;
    const MFuzzLanguage& language = fuzzLanguages[pbyData[0] % 4];
    const std::string strInput(reinterpret_cast<const char*>(pbyData) + 1, nSize - 1);
    const MOutcome engine = engineTranslation(language.language, strInput);

    const std::string strHead = fuzzReference().headFor(language.pszOption);
    if (!engine.bThrew && engine.strText.compare(0, strHead.size(), strHead) != 0)
        fuzzFailure("a translation does not start with the notice", strInput);
    // Nothing to replace and nothing to rewrite: the input passes through unchanged.
    if (strInput.find("BEGIN_FRAME_TEXT") == std::string::npos &&
        strInput.find("frame") == std::string::npos)
        expectSame("plain text did not pass through unchanged", strInput,
                   MOutcome{false, strHead + strInput}, engine);

    expectReferenceTranslation("the engine and the reference translation differ",
                               language.pszOption, strInput, engine);
    // Written out in small pieces, the text must not change by a byte.
    const unsigned long liFlushBytes = 1 + pbyData[0] / 4 % 32;
    expectSame("the streamed output differs from the translation", strInput, engine,
               engineStreamedTranslation(language.language, strInput, liFlushBytes));
    return 0;
}
