// SPDX-License-Identifier: MIT
#include "engine/mlanguagelist.h"

#include "engine/mlanguage.h"

namespace {

// Each of the blank-separated words quoted: "#" would open a comment of CMake.
std::string quotedWords(const std::string& strWords) {
    std::string strQuoted;
    for (std::string::size_type nBegin = 0; nBegin <= strWords.size();) {
        std::string::size_type nEnd = strWords.find(' ', nBegin);
        if (nEnd == std::string::npos)
            nEnd = strWords.size();
        strQuoted += " \"" + strWords.substr(nBegin, nEnd - nBegin) + "\"";
        nBegin = nEnd + 1;
    }
    return strQuoted;
}

}  // namespace

std::string cmakeLanguageList() {
    std::string strNames;
    std::string strFacts;
    int nRows = 0;
    const MLanguageTraits* const* ppRows = listedRows(nRows);
    for (int i = 0; i < nRows; ++i) {
        const MLanguageTraits& traits = *ppRows[i];
        if (traits.pszBuildName == nullptr)
            continue;
        const std::string strName = traits.pszBuildName;
        std::string strSupport;
        for (const char* pszFile : traits.apszSupportFiles)
            strSupport += pszFile != nullptr ? std::string(" ") + pszFile : "";
        strNames += " " + strName;
        const std::string strSet = "set(_XVANTOR_" + strName;
        strFacts += strSet + "_OPTION" + quotedWords(std::string("-") + traits.cOption) + ")\n";
        strFacts += strSet + "_SUPPORT" + quotedWords(strSupport.substr(1)) + ")\n";
        strFacts += strSet + "_EXTENSION" + quotedWords(traits.apszExtensions[0]) + ")\n";
        strFacts += strSet + "_KEPT_EXTENSIONS" + quotedWords(traits.pszKeptExtensions) + ")\n";
        strFacts += strSet + "_INPUT_EXTENSION" + quotedWords(traits.pszInputExtension) + ")\n";
    }
    return "# SPDX-License-Identifier: MIT\n"
           "# Written from the language rows of engine/mlanguage.cpp by xvantor_languages: do\n"
           "# not edit. A unit test fails while it differs from the rows; write it again with\n"
           "#   cmake --build build --target xv_languages\n"
           "set(_XVANTOR_LANGUAGES" +
           quotedWords(strNames.substr(1)) + ")\n" + strFacts;
}
