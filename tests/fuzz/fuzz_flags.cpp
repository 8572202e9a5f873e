// SPDX-License-Identifier: MIT
// Flag definitions of a block header: read directly through readFlagDefinitions, and inside
// a whole block whose text then uses the delimiters. The reference reader says which
// delimiters a header defines, or which message it earns.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/mpreprocessorrun.h"
#include "tests/fuzz/mfuzzsupport.h"
#include "tests/support/mbytes.h"

namespace {

// The four delimiters, joined with their lengths so that no text can pass for another.
std::string joined(const std::string& strExpressionBegin, const std::string& strExpressionEnd,
                   const std::string& strFileBegin, const std::string& strFileEnd) {
    std::string strAll;
    for (const std::string* pstr :
         {&strExpressionBegin, &strExpressionEnd, &strFileBegin, &strFileEnd})
        strAll += std::to_string(pstr->size()) + ":" + *pstr + ";";
    return strAll;
}

MOutcome engineDelimiters(const std::string& strHeader) {
    return outcomeOf("readFlagDefinitions", strHeader, [&] {
        MDelimiterSet delimiters;
        delimiters.readFlagDefinitions(fromBytes(strHeader));
        return joined(bytesOf(delimiters.getExpressionBegin()),
                      bytesOf(delimiters.getExpressionEnd()), bytesOf(delimiters.getFileBegin()),
                      bytesOf(delimiters.getFileEnd()));
    });
}

MOutcome referenceDelimiters(const std::string& strHeader) {
    MOutcome outcome;
    try {
        const MReferenceTranslator::MDelimiters delimiters =
            fuzzReference().readFlagDefinitions(strHeader);
        outcome.strText = joined(delimiters.strExpressionBegin, delimiters.strExpressionEnd,
                                 delimiters.strFileBegin, delimiters.strFileEnd);
    } catch (const MReferenceTranslator::MError& error) {
        outcome.bThrew = true;
        outcome.strText = error.strText;
    }
    return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzReference();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pbyData, size_t nSize) {
    const std::string strData(reinterpret_cast<const char*>(pbyData), nSize);
    expectSame("readFlagDefinitions and the reference reader differ", strData,
               referenceDelimiters(strData), engineDelimiters(strData));

    // The first line holds the definitions, the rest is the block text that uses them.
    const std::string::size_type nLineEnd = strData.find('\n');
    const std::string strHeader = strData.substr(0, nLineEnd);
    const std::string strText = nLineEnd == std::string::npos ? "" : strData.substr(nLineEnd + 1);
    const std::string strInput =
        "BEGIN_FRAME_TEXT(" + strHeader + ")\n" + strText + "\nEND_FRAME_TEXT()\n";
    const MFuzzLanguage& language = fuzzLanguages[nSize == 0 ? 0 : pbyData[nSize - 1] % 4];
    expectReferenceTranslation("a block translates otherwise than its definitions say",
                               language.pszOption, strInput,
                               engineTranslation(language.language, strInput));
    return 0;
}
