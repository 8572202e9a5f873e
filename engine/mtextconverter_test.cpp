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
    MTextConverter converter(mstrText, language, delimiters);
    return bytesOf(converter.convert());
}

std::string literal(MLanguage language, const std::string& strText) {
    const MString mstrEmpty;
    const MDelimiterSet delimiters;
    MTextConverter converter(mstrEmpty, language, delimiters);
    return bytesOf(converter.makeLiteral(fromBytes(strText)));
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
            const MString mstrEmpty;
            const MDelimiterSet delimiters;
            MTextConverter converter(mstrEmpty, language, delimiters);
            MString mstrName("big");
            EXPECT_EQ(literal(language, strContent), bytesOf(converter.embedFile(mstrName)));
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

TEST(MTextConverter, KeepsThePlainFormUpToItsLimits) {
    const unsigned long liLimit = MTextConverter::sm_liPlainLiteralBytes;
    std::string strPieces;
    for (int i = 0; i < MTextConverter::sm_nPlainPieces; ++i)
        strPieces += "<!v!>";
    struct Case {
        const char* pszWhy;
        MLanguage language;
        std::string strText;
        bool bPlain;
    };
    const Case cases[] = {
        {"literal text at the limit", MLanguage::Java, std::string(liLimit, 'a'), true},
        {"literal text past the limit", MLanguage::Java, std::string(liLimit + 1, 'a'), false},
        {"pieces at the limit", MLanguage::CSharp, strPieces, true},
        {"pieces past the limit", MLanguage::CSharp, strPieces + "<!v!>", false},
        {"C++ past the limit", MLanguage::Cpp, strPieces + "<!v!>", false},
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
        EXPECT_NE(std::string::npos, strCall.find("MString.toString(\""));
    }
    const std::string strCpp = converted(MLanguage::Cpp, strText);
    EXPECT_EQ(0u, strCpp.find("setFrameText(\n[&]() -> MString {\nMString mstrXVantorText;\n"
                              "mstrXVantorText += MString(\n\"\\x78\", 1\n);\n"
                              "mstrXVantorText += MString(v);\n"));
    EXPECT_NE(std::string::npos, strCpp.find("\", 8192\n);\nreturn mstrXVantorText;\n}()\n);\n"));
}
