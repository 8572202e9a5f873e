// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>

#include "tests/support/mtempdir.h"
#include "tests/support/mtranslate.h"

namespace {

// The delimiters a header sets, shown through the conversion of a text that uses
// whichever pair the case defines.
std::string convertedWith(const std::string& strHeader, const std::string& strText) {
    return translated(MLanguage::CSharp,
                      "BEGIN_FRAME_TEXT" + strHeader + "\n" + strText + "\nEND_FRAME_TEXT()");
}

const std::string sm_strNameExpression =
    "\nsetFrameText(\n\"\"\n+ MString.toString(name) +\n\"\"\n);\n";

}  // namespace

TEST(MPreprocessorRun, ReadsFlagDefinitionsFromTheHeader) {
    struct Case {
        const char* pszWhy;
        std::string strHeader;
        std::string strText;
    };
    const Case cases[] = {
        {"no definitions keep the defaults", "()", "<!name!>"},
        {"words that define nothing", "(just a comment)", "<!name!>"},
        {"with an equals sign", "(FLAG_<!=\"{\" FLAG_!>=\"}\")", "{name}"},
        {"with a blank", "(FLAG_<! \"{\" FLAG_!> \"}\")", "{name}"},
        {"with a parenthesis", "(FLAG_<!(\"{\") FLAG_!>(\"}\"))", "{name}"},
        {"a value keeps its blanks", "(FLAG_<!=\" <\")", " <name!>"},
        {"the first definition wins", "(FLAG_<!=\"a\" FLAG_<!=\"b\" FLAG_!>=\"z\")", "anamez"},
        {"parentheses as values", "(FLAG_<!=\"(\" FLAG_!>=\")\")", "(name)"},
        {"a header over two lines", "(FLAG_<!=\"[\"\nFLAG_!>=\"]\")", "[name]"},
        {"equal closing delimiters", "(FLAG_!>=\"%\" FLAG_#>=\"%\")", "<!name%"},
        {"swapped openers", "(FLAG_<!=\"<#\" FLAG_<#=\"<!\")", "<#name!>"},
        {"keywords are case-sensitive", "(flag_<!=\"x\")", "<!name!>"},
        {"equal openers and closers", "(FLAG_<!=\"%\" FLAG_!>=\"%\")", "%name%"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhy);
        EXPECT_EQ(sm_strNameExpression, convertedWith(c.strHeader, c.strText));
    }
}

TEST(MPreprocessorRun, FileDelimitersFollowTheirFlags) {
    MTempDir dir;
    dir.write("x", "x");
    EXPECT_EQ("\nsetFrameText(\n\"\"\n+ \"\\x78\" +\n\"\"\n);\n",
              convertedWith("(FLAG_#>=\"]]\", FLAG_<#=\"[[\")", "[[x]]"));
}

TEST(MPreprocessorRun, RejectsBadFlagDefinitions) {
    struct Case {
        std::string strHeader;
        std::string strMessage;
    };
    const Case cases[] = {
        {"(FLAG_<!=\"<#\")",
         "\nError XF0003: The flags have the same name but different functions<#"},
        {"(FLAG_<#=\"<!\")",
         "\nError XF0003: The flags have the same name but different functions<!"},
        {"(FLAG_<!=\"q\" FLAG_<#=\"q\")",
         "\nError XF0003: The flags have the same name but different functionsq"
         ""},
        {"(FLAG_<!)", "\nError XF0009: The flag has no quoted value FLAG_<!"},
        {"(FLAG_#>=\"x)", "\nError XF0009: The flag has no quoted value FLAG_#>"},
        {"(FLAG_!>=\"\")", "\nError XF0010: The flag has an empty value FLAG_!>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strHeader);
        EXPECT_EQ(c.strMessage, thrownText([&] { convertedWith(c.strHeader, "text"); }));
    }
}

TEST(MPreprocessorRun, FlagsHoldForOneBlockOnly) {
    const std::string strInput =
        "BEGIN_FRAME_TEXT(FLAG_<!=\"{\" FLAG_!>=\"}\")\n{a}\nEND_FRAME_TEXT()"
        "BEGIN_FRAME_TEXT()\n<!b!>{c}\nEND_FRAME_TEXT()";
    EXPECT_EQ(
        "\nsetFrameText(\n\"\"\n+ MString.toString(a) +\n\"\"\n);\n"
        "\nsetFrameText(\n\"\"\n+ MString.toString(b) +\n\"\\x7b\\x63\\x7d\"\n);\n",
        translated(MLanguage::CSharp, strInput));
}
