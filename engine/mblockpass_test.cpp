// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>

#include "tests/support/mtempdir.h"
#include "tests/support/mtranslate.h"

namespace {

const std::string sm_strJavaEmpty = "\nsetFrameText(\"\");\n";
const std::string sm_strCppEmpty = "\nsetFrameText(\nMString(\n\"\", 0\n)\n);\n";

}  // namespace

TEST(MPreprocessorRun, ReplacesTheWorkedExampleBlock) {
    const std::string strInput =
        "void show() {\r\n    BEGIN_FRAME_TEXT()\r\nHi <!name!>!\r\n    END_FRAME_TEXT();\r\n}\r\n";
    EXPECT_EQ(
        "void show() {\r\n    \nsetFrameText(\nMString(\n\"\\x48\\x69\\x20\", 3\n)\n"
        "+ MString(name) +\nMString(\n\"\\x21\", 1\n)\n);\n;\r\n}\r\n",
        translated(MLanguage::Cpp, strInput));
}

TEST(MPreprocessorRun, FindsTheBlockTextBetweenLineBreaks) {
    struct Case {
        const char* pszWhy;
        MLanguage language;
        std::string strInput;
        std::string strExpected;
    };
    const std::string strLfText = "\nsetFrameText(\n\"\\xa\" +\n\"\"\n);\n";
    const Case cases[] = {
        {"no block is copied", MLanguage::Cpp, std::string("int a;\r\n\0\xff", 10),
         std::string("int a;\r\n\0\xff", 10)},
        {"end line right after the header", MLanguage::Java,
         "BEGIN_FRAME_TEXT()\r\nEND_FRAME_TEXT()", sm_strJavaEmpty},
        {"one empty CR LF line", MLanguage::Java, "BEGIN_FRAME_TEXT()\r\n\r\nEND_FRAME_TEXT()",
         sm_strJavaEmpty},
        {"two empty CR LF lines give one CR LF", MLanguage::CSharp,
         "BEGIN_FRAME_TEXT()\r\n\r\n\r\nEND_FRAME_TEXT()",
         "\nsetFrameText(\n\"\\xd\" +\n\"\\xa\"\n);\n"},
        {"LF LF swallows one empty line at each end", MLanguage::Cpp,
         "BEGIN_FRAME_TEXT()\n\n\n\nEND_FRAME_TEXT()", sm_strCppEmpty},
        {"four empty LF lines give one LF", MLanguage::CSharp,
         "BEGIN_FRAME_TEXT()\n\n\n\n\nEND_FRAME_TEXT()", strLfText},
        {"text after the header's ) and before the end keyword is dropped", MLanguage::CSharp,
         "BEGIN_FRAME_TEXT(); // note\nx\n  junk END_FRAME_TEXT(); // kept\n",
         "\nsetFrameText(\n\"\\x78\"\n);\n; // kept\n"},
        {"a header over lines ends after its first )", MLanguage::CSharp,
         "BEGIN_FRAME_TEXT(\nmore\n) rest\nx\nEND_FRAME_TEXT()",
         "\nsetFrameText(\n\"\\x78\"\n);\n"},
        {"a begin keyword in an identifier starts a block", MLanguage::CSharp,
         "int xBEGIN_FRAME_TEXT()\nx\nEND_FRAME_TEXT()y", "int x\nsetFrameText(\n\"\\x78\"\n);\ny"},
        {"a stray B before the keyword", MLanguage::CSharp,
         "BBEGIN_FRAME_TEXT()\nx\nEND_FRAME_TEXT()", "B\nsetFrameText(\n\"\\x78\"\n);\n"},
        {"a begin keyword inside a block is text", MLanguage::CSharp,
         "BEGIN_FRAME_TEXT()\nBEGIN_FRAME_TEXT\nEND_FRAME_TEXT()",
         "\nsetFrameText(\n\""
         "\\x42\\x45\\x47\\x49\\x4e\\x5f\\x46\\x52\\x41\\x4d\\x45\\x5f\\x54\\x45\\x58\\x54\"\n);"
         "\n"},
        {"a ) before the end keyword on its line does not end the block", MLanguage::CSharp,
         "BEGIN_FRAME_TEXT()\nx\n  g(x); END_FRAME_TEXT(); y\nBEGIN_FRAME_TEXT()\nEND_FRAME_TEXT()",
         "\nsetFrameText(\n\"\\x78\"\n);\n; y\n" + sm_strJavaEmpty},
        {"two blocks in a row", MLanguage::Java,
         "BEGIN_FRAME_TEXT()\nEND_FRAME_TEXT()BEGIN_FRAME_TEXT()\nEND_FRAME_TEXT()",
         sm_strJavaEmpty + sm_strJavaEmpty},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhy);
        EXPECT_EQ(c.strExpected, translated(c.language, c.strInput));
    }
}

TEST(MPreprocessorRun, RejectsMalformedBlocks) {
    struct Case {
        std::string strInput;
        const char* pszMessage;
    };
    const Case cases[] = {
        {"BEGIN_FRAME_TEXT()\ntext\n",
         "\nError XF0000: BEGIN_FRAME_TEXT() without END_FRAME_TEXT()"},
        {"BEGIN_FRAME_TEXT", "\nError XF0000: BEGIN_FRAME_TEXT() without END_FRAME_TEXT()"},
        {"BEGIN_FRAME_TEXT() END_FRAME_TEXT()\n",
         "\nError XF0006: END_FRAME_TEXT() without a line break before it"},
        {"x\nBEGIN_FRAME_TEXT() END_FRAME_TEXT()\n",
         "\nError XF0005: BEGIN_FRAME_TEXT() without ) before the block text"},
        {"x\nBEGIN_FRAME_TEXT(\nEND_FRAME_TEXT()",
         "\nError XF0005: BEGIN_FRAME_TEXT() without ) before the block text"},
        {"BEGIN_FRAME_TEXT\n\nEND_FRAME_TEXT()",
         "\nError XF0005: BEGIN_FRAME_TEXT() without ) before the block text"},
        {"BEGIN_FRAME_TEXT()\nx\nEND_FRAME_TEXT", "\nError XF0007: END_FRAME_TEXT() without )"},
        {"END_FRAME_TEXT()\nBEGIN_FRAME_TEXT()\nx\nEND_FRAME_TEXT()",
         "\nError XF0008: END_FRAME_TEXT() before BEGIN_FRAME_TEXT()"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strInput);
        EXPECT_EQ(c.pszMessage, thrownText([&] { translated(MLanguage::Cpp, c.strInput); }));
    }
}

TEST(MPreprocessorRun, LastParenthesisMayEndTheInput) {
    EXPECT_EQ(sm_strCppEmpty, translated(MLanguage::Cpp, "BEGIN_FRAME_TEXT()\nEND_FRAME_TEXT()"));
}
