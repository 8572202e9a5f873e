// SPDX-License-Identifier: MIT
#include "engine/mlanguage.h"

#include <cstdio>

#include "engine/merror.h"

namespace {

// Java's row comes first: recognition tries the rows in this order, so "out.java.cs" is
// Java. The fallback form names the language of no compiler; its line says Java.
// The grouped forms: a balanced tree of sums, or C++'s appending lambda. C++ compilers
// pay for every temporary alive in one expression; a lambda that appends operand by
// operand keeps one alive at a time, and it still sees every local and member that the
// pieces name.
const MGroupedForm balancedTree = {MGrouping::BalancedTree, "(", "\n+ ", "", ")"};
const MGroupedForm appendingLambda = {MGrouping::StatementLambda,
                                      "[&]() -> MString {\nMString mstrXVantorText;\n",
                                      "mstrXVantorText += ", ";\n", "return mstrXVantorText;\n}()"};

// One string constant of a Java class file, and one C++ string literal.
constexpr unsigned long liMostConstantBytes = 65535;

const MLanguageTraits rows[] = {
    {
        MLanguage::Java,
        "Java",
        1,
        'j',
        " Java source!",
        {".java", ".JAVA"},
        "",
        "setFrameText(\n",
        "\n);\n",
        "setFrameText(\"\");\n",
        "class ",
        " extends MVantor ",
        nullptr,
        MLineNames::Kept,
        "MString.toString(",
        ")",
        "",
        nullptr,
        "",
        "\" +\n\"",
        true,
        "(",
        ").toString()",
        balancedTree,
        MFlatLimit::JavaConstants,
        liMostConstantBytes,
        199,  // javac compiles a chain of + as one call per this many operands
        "MString.",
        {"MString.java", "MVantor.java"},
        true,
        "JAVA",
        ".jframe",
        ".java",
    },
    {
        MLanguage::Cpp,
        "C++",
        0,
        'c',
        " C++ source!",
        {".cpp", ".h", ".hpp", ".cxx", ".CPP", ".H", ".HPP", ".CXX"},
        "#include \"mvantor.h\"",
        "setFrameText(\n",
        "\n);\n",
        // The (text, length) form that every other C++ literal takes, which the
        // one-argument setFrameText of the support library accepts.
        "setFrameText(\nMString(\n\"\", 0\n)\n);\n",
        "class ",
        " : public MVantor ",
        "#line ",
        MLineNames::Escaped,
        "MString(",
        ")",
        // A literal is the (text, length) constructor: an object already, NULs included.
        "MString(\n",
        ", ",
        "\n)",
        "\"\n\"",
        false,
        "",
        "",
        appendingLambda,
        MFlatLimit::EachLiteral,
        liMostConstantBytes,
        0,
        "MStringEscape::",
        {"mstring.h", "mvantor.h"},
        false,
        "CXX",
        ".xcpp",
        ".cpp .cxx .cc .c++ .C .h .hpp .hxx .hh .H",
    },
    {
        MLanguage::CSharp,
        "C#",
        2,
        '#',
        " C# source!",
        {".cs", ".CS"},
        "",
        "setFrameText(\n",
        "\n);\n",
        "setFrameText(\"\");\n",
        "class ",
        " : MVantor ",
        "#line ",
        MLineNames::QuoteDropped,
        "MString.toString(",
        ")",
        "",
        nullptr,
        "",
        "\" +\n\"",
        false,
        "(",
        ").ToString()",
        balancedTree,
        // mcs recurses once per operand and overflows an 8 MiB stack at 16,291.
        MFlatLimit::Operands,
        4000,
        0,
        "MString.",
        {"MString.cs", "MVantor.cs"},
        false,
        "CSHARP",
        ".csframe",
        ".cs",
    },
    {
        MLanguage::Fallback,
        nullptr,
        -1,
        0,
        " Java source!",
        {},
        "",
        "setFrameText(\n",
        "\n);\n",
        "setFrameText(\"\");\n",
        "class ",
        " : MVantor ",
        nullptr,
        MLineNames::None,
        "(MString",
        ")",
        "",
        nullptr,
        "",
        "\"\n\"",
        false,
        "(MString",
        ")",
        balancedTree,
        MFlatLimit::AllLiterals,
        24 * 1024,
        0,
        "MString.",
        {},
        false,
        nullptr,
        nullptr,
        nullptr,
    },
};
constexpr int nRows = static_cast<int>(sizeof rows / sizeof rows[0]);

// A line end of C#: CR, LF, and in UTF-8 U+0085, U+2028 and U+2029.
bool endsCSharpLine(const unsigned char* pby) {
    return pby[0] == '\r' || pby[0] == '\n' || (pby[0] == 0xC2 && pby[1] == 0x85) ||
           (pby[0] == 0xE2 && pby[1] == 0x80 && (pby[2] == 0xA8 || pby[2] == 0xA9));
}

}  // namespace

const MLanguageTraits& traitsOf(MLanguage language) {
    for (const MLanguageTraits& traits : rows) {
        if (traits.language == language)
            return traits;
    }
    return rows[nRows - 1];
}

const MLanguageTraits* languageRows(int& nCount) {
    nCount = nRows;
    return rows;
}

const MLanguageTraits* const* listedRows(int& nCount) {
    static const struct MListed {
        const MLanguageTraits* apRows[nRows] = {};
        int nCount = 0;
        MListed() {
            for (const MLanguageTraits& traits : rows) {
                if (traits.pszName != nullptr)
                    apRows[traits.nListed] = &traits;
                nCount += traits.pszName != nullptr ? 1 : 0;
            }
        }
    } listed;
    nCount = listed.nCount;
    return listed.apRows;
}

const MLanguageTraits& traitsOfOption(char c) {
    for (const MLanguageTraits& traits : rows) {
        if (traits.cOption == c && c != 0)
            return traits;
    }
    return traitsOf(MLanguage::Fallback);
}

MString lineDirective(const MLanguageTraits& traits, int nLine, const MString& mstrQuotedFile) {
    char szLine[24];
    std::snprintf(szLine, sizeof szLine, "%d ", nLine);
    return MString(traits.pszLineDirective) + MString(szLine) + mstrQuotedFile + MString("\n");
}

MString lineFileName(const MLanguageTraits& traits, const char* pszName) {
    // A C++ name is a string literal; a C# one takes every character but the quote, which
    // it cannot spell at all, and ends at a line end.
    MString mstrQuoted("\"");
    for (const char* psz = pszName; *psz != 0; ++psz) {
        if (traits.lineNames == MLineNames::QuoteDropped) {
            if (endsCSharpLine(reinterpret_cast<const unsigned char*>(psz)))
                throw MError(MErrorCode::LineNameNotSpelled);
            if (*psz == '"')
                continue;
        } else if (*psz == '\\' || *psz == '"') {
            mstrQuoted += MString("\\");
        } else if (*psz == '\n' || *psz == '\r') {
            mstrQuoted += MString(*psz == '\n' ? "\\n" : "\\r");
            continue;
        }
        mstrQuoted += MString(psz, 1);
    }
    mstrQuoted += MString("\"");
    return mstrQuoted;
}
