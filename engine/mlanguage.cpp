// SPDX-License-Identifier: MIT
#include "engine/mlanguage.h"

#include "engine/merror.h"

namespace {

// Java's row comes first: recognition tries the rows in this order, so "out.java.cs" is
// Java. The fallback form names the language of no compiler; its line says Java.
const MLanguageTraits rows[] = {
    {
        MLanguage::Java,
        'j',
        " Java source!",
        {".java", ".JAVA"},
        "",
        "setFrameText(\"\");\n",
        " extends MVantor ",
        MLineNames::None,
        "MString.toString(",
        ")",
        "\" +\n\"",
        true,
        false,
        "(",
        ").toString()",
        MFlatLimit::JavaConstants,
        {"MString.java", "MVantor.java"},
        true,
    },
    {
        MLanguage::Cpp,
        'c',
        " C++ source!",
        {".cpp", ".h", ".hpp", ".cxx", ".CPP", ".H", ".HPP", ".CXX"},
        "#include \"mvantor.h\"",
        // The (text, length) form that every other C++ literal takes, which the
        // one-argument setFrameText of the support library accepts.
        "setFrameText(\nMString(\n\"\", 0\n)\n);\n",
        " : public MVantor ",
        MLineNames::Escaped,
        "MString(",
        ")",
        "\"\n\"",
        false,
        true,
        "",
        "",
        MFlatLimit::EachLiteral,
        {"mstring.h", "mvantor.h"},
        false,
    },
    {
        MLanguage::CSharp,
        '#',
        " C# source!",
        {".cs", ".CS"},
        "",
        "setFrameText(\"\");\n",
        " : MVantor ",
        MLineNames::QuoteDropped,
        "MString.toString(",
        ")",
        "\" +\n\"",
        false,
        false,
        "(",
        ").ToString()",
        MFlatLimit::Operands,
        {"MString.cs", "MVantor.cs"},
        false,
    },
    {
        MLanguage::Fallback,
        0,
        " Java source!",
        {},
        "",
        "setFrameText(\"\");\n",
        " : MVantor ",
        MLineNames::None,
        "(MString",
        ")",
        "\"\n\"",
        false,
        false,
        "(MString",
        ")",
        MFlatLimit::AllLiterals,
        {},
        false,
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

const MLanguageTraits& traitsOfOption(char c) {
    for (const MLanguageTraits& traits : rows) {
        if (traits.cOption == c && c != 0)
            return traits;
    }
    return traitsOf(MLanguage::Fallback);
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
