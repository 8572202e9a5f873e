// SPDX-License-Identifier: MIT
#include "engine/mtextconverter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/mdelimiterset.h"
#include "tests/support/mbytes.h"
#include "tests/support/mtempdir.h"

namespace {

std::string converted(MLanguage language, const std::string& strText,
                      const MDelimiterSet& delimiters = MDelimiterSet()) {
    const MString mstrText = fromBytes(strText);
    MTextConverter converter(mstrText, traitsOf(language), delimiters);
    MOutputText output;
    converter.appendTo(output);
    return bytesOf(output.kept());
}

// The literal of a short text without delimiters: its call text without the call.
std::string literal(MLanguage language, const std::string& strText) {
    const std::string strCall = converted(language, strText);
    const size_t nHead = std::string("setFrameText(\n").size();
    return strCall.substr(nHead, strCall.size() - nHead - std::string("\n);\n").size());
}

}  // namespace

TEST(MTextConverter, ConvertsTheWorkedExampleInEveryForm) {
    struct Case {
        MLanguage language;
        std::string strExpected;
    };
    const Case cases[] = {
        {MLanguage::Cpp,
         "setFrameText(\nMString(\n\"\\x48\\x69\\x20\", 3\n)\n+ MString(name) +\nMString(\n"
         "\"\\x21\", 1\n)\n);\n"},
        // "\41" leaves the body 3 long: the literal breaks at once and ends empty.
        {MLanguage::Java,
         "setFrameText(\n\"\\110\\151\\40\"\n+ MString.toString(name) +\n\"\\41\" +\n\"\"\n);\n"},
        {MLanguage::CSharp,
         "setFrameText(\n\"\\x48\\x69\\x20\"\n+ MString.toString(name) +\n\"\\x21\"\n);\n"},
        {MLanguage::Fallback,
         "setFrameText(\n\"\\x48\\x69\\x20\"\n+ (MStringname) +\n\"\\x21\"\n);\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.language));
        EXPECT_EQ(c.strExpected, converted(c.language, "Hi <!name!>!"));
    }
}

TEST(MTextConverter, BreaksLiteralLinesByTheBodyLength) {
    struct Case {
        const char* pszWhy;
        MLanguage language;
        std::string strText;
        std::string strExpected;
    };
    const std::string strAtoT = "ABCDEFGHIJKLMNOPQRST";
    const std::string strEighteen =
        "\\x41\\x42\\x43\\x44\\x45\\x46\\x47\\x48\\x49\\x4a\\x4b\\x4c\\x4d\\x4e\\x4f\\x50\\x51\\x5"
        "2";
    const Case cases[] = {
        {"C++ breaks after the eighteenth escape", MLanguage::Cpp, strAtoT,
         "MString(\n\"" + strEighteen + "\"\n\"\\x53\\x54\", 20\n)"},
        {"C# adds the plus", MLanguage::CSharp, strAtoT,
         "\"" + strEighteen + "\" +\n\"\\x53\\x54\""},
        {"a short first escape breaks at once", MLanguage::Cpp, "\nA",
         "MString(\n\"\\xa\"\n\"\\x41\", 2\n)"},
        {"Java: octal escapes below 64 are short", MLanguage::Java, "\n", "\"\\12\" +\n\"\""},
        {"empty C++ literal", MLanguage::Cpp, "", "MString(\n\"\", 0\n)"},
        {"empty Java literal", MLanguage::Java, "", "\"\""},
        {"NUL counts in the length", MLanguage::Cpp, std::string("\0\xff", 2),
         "MString(\n\"\\x0\"\n\"\\xff\", 2\n)"},
        {"CR LF never stays a line break", MLanguage::CSharp, "a\r\nb", "\"\\x61\\xd\\xa\\x62\""},
        {"high bytes in octal", MLanguage::Java, "\x80\xff", "\"\\200\\377\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhy);
        EXPECT_EQ(c.strExpected, literal(c.language, c.strText));
    }
}

TEST(MTextConverter, BreaksEveryLineOfALongLiteral) {
    // Every line holds at most the width, a few characters of the last escape
    // past it, and its two quotes.
    const std::string strLiteral = literal(MLanguage::Cpp, std::string(1000, 'z'));
    size_t nStart = strLiteral.find('"');
    size_t nLines = 0;
    while (true) {
        const size_t nEnd = strLiteral.find('\n', nStart);
        if (nEnd == std::string::npos)
            break;
        EXPECT_LE(nEnd - nStart, 76u);
        nStart = nEnd + 1;
        ++nLines;
    }
    EXPECT_GT(nLines, 50u);
}

TEST(MTextConverter, SplitsPiecesAtTheDelimiters) {
    MDelimiterSet percent;
    percent.setExpressionBegin(MString("%"));
    percent.setExpressionEnd(MString("%"));
    MDelimiterSet braces;
    braces.setExpressionBegin(MString("{{"));
    braces.setExpressionEnd(MString("}}"));
    struct Case {
        const char* pszWhy;
        std::string strText;
        MDelimiterSet delimiters;
        std::string strExpected;
    };
    const Case cases[] = {
        {"pieces at both ends keep their empty literals", "<!a!><!b!>", MDelimiterSet(),
         "setFrameText(\n\"\"\n+ MString.toString(a) +\n\"\"\n+ MString.toString(b) +\n\"\"\n);\n"},
        {"an expression ending in ! closes at the !> after it", "<!a!!>", MDelimiterSet(),
         "setFrameText(\n\"\"\n+ MString.toString(a!) +\n\"\"\n);\n"},
        {"a closing delimiter cannot begin inside the opening one", "<!>x!>", MDelimiterSet(),
         "setFrameText(\n\"\"\n+ MString.toString(>x) +\n\"\"\n);\n"},
        {"equal opening and closing delimiters", "%name%", percent,
         "setFrameText(\n\"\"\n+ MString.toString(name) +\n\"\"\n);\n"},
        {"flag-defined delimiters", "Hi {{name}}!", braces,
         "setFrameText(\n\"\\110\\151\\40\"\n+ MString.toString(name) +\n\"\\41\" +\n\"\"\n);\n"},
        {"inner text is copied unchanged", "<! a\r\n b !>", MDelimiterSet(),
         "setFrameText(\n\"\"\n+ MString.toString( a\r\n b ) +\n\"\"\n);\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhy);
        EXPECT_EQ(c.strExpected, converted(MLanguage::Java, c.strText, c.delimiters));
    }
}

TEST(MTextConverter, UnclosedDelimitersNameTheMissingClose) {
    MDelimiterSet custom;
    custom.setFileEnd(MString("]]"));
    struct Case {
        std::string strText;
        MDelimiterSet delimiters;
        std::string strMessage;
    };
    const Case cases[] = {
        {"<!doctype html>", MDelimiterSet(), "\nError XF0002: BEGIN_FLAG without CLOSE_FLAG !>"},
        {"a <# b", MDelimiterSet(), "\nError XF0002: BEGIN_FLAG without CLOSE_FLAG #>"},
        {"<!a!", MDelimiterSet(), "\nError XF0002: BEGIN_FLAG without CLOSE_FLAG !>"},
        {"<#x#>", custom, "\nError XF0002: BEGIN_FLAG without CLOSE_FLAG ]]"},
        {"<!!>", MDelimiterSet(), ""},  // the empty expression is closed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strText);
        EXPECT_EQ(c.strMessage,
                  thrownText([&] { converted(MLanguage::Cpp, c.strText, c.delimiters); }));
    }
}

TEST(MTextConverter, EmbedsFilesAsLiterals) {
    MTempDir dir;
    dir.write("note.txt", "Hi!");
    dir.write("ab", "ab");
    dir.write("my file.txt", "");
    dir.write("a#", std::string("\0\r\n", 3));
    struct Case {
        MLanguage language;
        std::string strText;
        std::string strExpected;
    };
    const Case cases[] = {
        {MLanguage::Cpp, "Text: <# note.txt #>",
         "setFrameText(\nMString(\n\"\\x54\\x65\\x78\\x74\\x3a\\x20\", 6\n)\n+ MString(\n"
         "\"\\x48\\x69\\x21\", 3\n) +\nMString(\n\"\", 0\n)\n);\n"},
        {MLanguage::Java, "Text: <# note.txt #>",
         "setFrameText(\n\"\\124\\145\\170\\164\\72\\40\"\n+ \"\\110\\151\\41\" +\n\"\"\n);\n"},
        {MLanguage::CSharp, "Text: <# note.txt #>",
         "setFrameText(\n\"\\x54\\x65\\x78\\x74\\x3a\\x20\"\n+ \"\\x48\\x69\\x21\" +\n\"\"\n);\n"},
        {MLanguage::Cpp, "<#ab#>",
         "setFrameText(\nMString(\n\"\", 0\n)\n+ MString(\n\"\\x61\\x62\", 2\n) +\nMString(\n"
         "\"\", 0\n)\n);\n"},
        {MLanguage::CSharp, "<#\r\n my file.txt \r\n#>",
         "setFrameText(\n\"\"\n+ \"\" +\n\"\"\n);\n"},
        {MLanguage::CSharp, "<#a##>",
         "setFrameText(\n\"\"\n+ \"\\x0\" +\n\"\\xd\\xa\" +\n\"\"\n);\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strText);
        EXPECT_EQ(c.strExpected, converted(c.language, c.strText));
    }
}

// A large file is read a window at a time, a block text lies in memory whole: both
// must give the same chunks, wherever the windows end.
TEST(MTextConverter, EmbedsLargeFilesAsTheSameTextWouldBe) {
    const unsigned long liWindow = MEmbeddedFile::sm_liWindowBytes;
    for (unsigned long liSize : {liWindow, liWindow + 1, 5 * liWindow / 2 + 4097}) {
        MTempDir dir;
        std::string strContent(liSize, '\0');
        for (unsigned long i = 0; i < liSize; ++i)
            strContent[i] = static_cast<char>(i * 7 % 251 + (i % 3 == 0 ? 0 : 60));
        // No "<" in the text, so that it holds no delimiter.
        std::replace(strContent.begin(), strContent.end(), '<', '=');
        dir.write("big", strContent);
        for (MLanguage language : {MLanguage::Cpp, MLanguage::Java, MLanguage::CSharp}) {
            SCOPED_TRACE(std::to_string(static_cast<int>(language)) + " " + std::to_string(liSize));
            const std::string strFromText = converted(language, strContent);
            EXPECT_EQ(strFromText, converted(language, "<#big#>"));
        }
    }
}

TEST(MTextConverter, FilesThatCannotBeEmbeddedNameTheTrimmedName) {
    MTempDir dir;
    dir.makeDirectory("folder");
    dir.write("x.txt", "x");
    struct Case {
        std::string strText;
        std::string strName;
    };
    const Case cases[] = {
        {"<# missing.txt #>", "missing.txt"},
        {"<#\"x.txt\"#>", "\"x.txt\""},  // quotes are part of the name
        {"<#\tx.txt#>", "\tx.txt"},      // a tab is not trimmed
        {"<#folder#>", "folder"},
        {"<#  \r\n #>", ""},
        {std::string("<#x.txt\0y#>", 11), std::string("x.txt\0y", 7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strText);
        EXPECT_EQ("\nError XF0001: Embedding of file \"" + c.strName + "\" failed",
                  thrownText([&] { converted(MLanguage::Cpp, c.strText); }));
    }
}

// Each form stays flat for as long as its compilers accept the flat sum: the rows stand
// one byte on either side of each limit.
TEST(MTextConverter, KeepsThePlainFormUpToItsLimits) {
    const unsigned long liConstant = traitsOf(MLanguage::Cpp).liFlatLimit;  // 65,535
    const std::string strA = std::string(liConstant, 'a');
    std::string strPieces;
    for (int i = 0; i < MTextConverter::sm_nPlainPieces; ++i)
        strPieces += "<!v!>";
    // 150 expressions make 301 operands, which javac compiles as calls of 199 and 102.
    std::string strCalls;
    for (int i = 0; i < 150; ++i)
        strCalls += "<!v!>";
    MTempDir dir;
    dir.write("f", std::string(30000, 'f'));
    dir.write("g", std::string(liConstant + 1, 'g'));
    struct Case {
        const char* pszWhy;
        MLanguage language;
        std::string strText;
        bool bPlain;
    };
    const Case cases[] = {
        {"pieces at the limit", MLanguage::CSharp, strPieces, true},
        {"pieces past the limit", MLanguage::CSharp, strPieces + "<!v!>", false},
        {"C++ pieces past the limit", MLanguage::Cpp, strPieces + "<!v!>", false},
        {"fallback text at the limit", MLanguage::Fallback,
         std::string(traitsOf(MLanguage::Fallback).liFlatLimit, 'a'), true},
        {"fallback text past the limit", MLanguage::Fallback,
         std::string(traitsOf(MLanguage::Fallback).liFlatLimit + 1, 'a'), false},
        // C++: every literal on its own.
        {"C++ literals at the limit", MLanguage::Cpp, strA + "<!v!>" + strA, true},
        {"C++ literal past the limit", MLanguage::Cpp, strA + "<!v!>a" + strA, false},
        {"C++ file past the limit", MLanguage::Cpp, "<#g#>", false},
        // Java, without expressions: one constant of at most 65,534 characters and
        // 65,535 bytes, NUL and bytes from 0x80 taking two.
        {"Java constant at the limit", MLanguage::Java, strA.substr(1), true},
        {"Java constant past the limit", MLanguage::Java, strA, false},
        {"Java NULs at the limit", MLanguage::Java, std::string(32767, '\0') + "a", true},
        {"Java NULs past the limit", MLanguage::Java, std::string(32767, '\0') + "\x80", false},
        // A file folds with the text on both sides of it.
        {"Java file and text at the limit", MLanguage::Java,
         std::string(20000, 'a') + "<#f#>" + std::string(15534, 'b'), true},
        {"Java file and text past the limit", MLanguage::Java,
         std::string(20000, 'a') + "<#f#>" + std::string(15535, 'b'), false},
        // With expressions the recipe holds all text and one byte for each expression.
        {"Java recipe at the limit", MLanguage::Java, "<!v!>" + strA.substr(1), true},
        {"Java recipe past the limit", MLanguage::Java, "<!v!>" + strA, false},
        {"Java recipe of runs at the limit", MLanguage::Java,
         std::string(30000, 'a') + "<!v!>" + std::string(35533, 'b') + "<!v!>", true},
        {"Java recipe of runs past the limit", MLanguage::Java,
         std::string(30000, 'a') + "<!v!>" + std::string(35534, 'b') + "<!v!>", false},
        // A run with a tag byte is a constant of its own, one byte of the recipe.
        {"Java tagged run at the limit", MLanguage::Java,
         "\x01" + strA.substr(1) + "<!v!>" + strA.substr(2), true},
        {"Java tagged run past the limit", MLanguage::Java, "\x02" + strA + "<!v!>", false},
        // The first call holds the first run and 99 expressions, the second call the rest.
        {"Java first call at the limit", MLanguage::Java,
         std::string(liConstant - 99, 'a') + strCalls + strA.substr(51), true},
        {"Java first call past the limit", MLanguage::Java,
         std::string(liConstant - 98, 'a') + strCalls, false},
        {"Java second call past the limit", MLanguage::Java,
         std::string(liConstant - 99, 'a') + strCalls + strA.substr(50), false},
        // C#: every line of a literal and every expression is one operand, a literal of
        // n bytes counting 2 + (n - 1) / 16 lines.
        {"C# operands at the limit", MLanguage::CSharp, std::string(63984, 'a'), true},
        {"C# operands past the limit", MLanguage::CSharp, std::string(63985, 'a'), false},
        {"C# operands with expressions at the limit", MLanguage::CSharp,
         std::string(63952, 'a') + "<!v!>", true},
        {"C# operands with expressions past the limit", MLanguage::CSharp,
         std::string(63953, 'a') + "<!v!>", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhy);
        const std::string strCall = converted(c.language, c.strText);
        // The plain form never opens a parenthesis of its own before its first operand.
        const bool bPlain = strCall.rfind("setFrameText(\n\"", 0) == 0 ||
                            strCall.rfind("setFrameText(\nMString(\n", 0) == 0;
        EXPECT_EQ(c.bPlain, bPlain);
    }
}

TEST(MTextConverter, GroupsLargeBlocksIntoAShallowTree) {
    std::string strText;
    for (int i = 0; i < 1000; ++i)
        strText += "x<!v!>";
    strText += std::string(3 * MTextConverter::sm_nChunkBytes, '\xff');
    for (MLanguage language : {MLanguage::Java, MLanguage::CSharp}) {
        SCOPED_TRACE(static_cast<int>(language));
        const std::string strCall = converted(language, strText);
        int nDepth = 0, nDeepest = 0;
        for (char c : strCall) {
            nDepth += c == '(' ? 1 : c == ')' ? -1 : 0;
            nDeepest = std::max(nDeepest, nDepth);
        }
        EXPECT_EQ(0, nDepth);
        EXPECT_LE(nDeepest, 16);  // about log2 of 2,003 operands, plus the calls
        // Every literal is a call's argument, so no two fold into one constant.
        EXPECT_EQ(std::string::npos, strCall.find("\"\n+ \""));
        EXPECT_NE(std::string::npos,
                  strCall.find(language == MLanguage::Java ? "\").toString()" : "\").ToString()"));
    }
    const std::string strCpp = converted(MLanguage::Cpp, strText);
    EXPECT_EQ(0u, strCpp.find("setFrameText(\n[&]() -> MString {\nMString mstrXVantorText;\n"
                              "mstrXVantorText += MString(\n\"\\x78\", 1\n);\n"
                              "mstrXVantorText += MString(v);\n"));
    EXPECT_NE(std::string::npos, strCpp.find("\", 8192\n);\nreturn mstrXVantorText;\n}()\n);\n"));
}
