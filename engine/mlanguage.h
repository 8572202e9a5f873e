// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MLANGUAGE_H
#define XVANTOR_ENGINE_MLANGUAGE_H

#include "core/mstring.h"

/// The target language of a run, settled once from the command line. An explicit option
/// whose letter names no language still translates, in a form of its own.
enum class MLanguage { Cpp, Java, CSharp, Fallback };

/// Which limit of the target's compilers ends the flat sum of a block.
enum class MFlatLimit {
    EachLiteral,    // each literal and each file within one string constant
    JavaConstants,  // the constants that javac builds for each call of a + chain
    Operands,       // the operands of one sum, each line of a literal counting as one
    AllLiterals,    // all literal text together: no compiler is known
};

/// How a #line directive spells the input's name inside its quotes.
enum class MLineNames {
    None,          // the language has no line directive
    Escaped,       // a string literal: backslash escapes
    QuoteDropped,  // no escapes: a quote is left out, a line end cannot be spelled
    // No directive: the output keeps every line of the input at its number instead, each
    // line of a block's text on its own line of the call.
    Kept
};

/// How a block too large for the flat sum joins its operands.
enum class MGrouping {
    BalancedTree,    // pairs in parentheses, so that no sum is deeper than the log of its size
    StatementLambda  // one appending statement per operand, in a lambda called at once
};

/// The texts of the grouped form. A tree writes pszOpen, one half, pszJoin, the other
/// half and pszClose for each pair; a lambda writes pszOpen once, then pszJoin, the
/// operand and pszEnd for each operand, and pszClose once.
struct MGroupedForm {
    MGrouping grouping;
    const char* pszOpen;
    const char* pszJoin;
    const char* pszEnd;
    const char* pszClose;
};

/// Everything that differs from one target language to the next. The passes read the row
/// of their language; nothing else asks which language it is.
struct MLanguageTraits {
    MLanguage language;

    // The command line.
    const char* pszName;            // in the banner, the help and the usage; null: unlisted
    int nListed;                    // the place in those lists, from 0
    char cOption;                   // the second character of the explicit option; 0: any other
    const char* pszSource;          // the line that names the language of the run
    const char* apszExtensions[9];  // texts that recognise it in an output name; the first
                                    // is the one that the build integrations give an output

    // The output.
    const char* pszHead;           // the line after the notice; "" for none
    const char* pszCallHead;       // opens the call that a block becomes
    const char* pszCallTail;       // closes it
    const char* pszEmptyBlock;     // the call of a block without text
    const char* pszClassKeyword;   // replaces the frame keyword and the blanks after it
    const char* pszBaseClass;      // replaces the blank between a frame's name and its brace
    const char* pszLineDirective;  // a #line directive up to its number; null for none
    MLineNames lineNames;

    // The literal form of a block.
    const char* pszPrefix;  // opens an expression piece
    const char* pszSuffix;
    const char* pszLiteralHead;  // before a literal's opening quote
    const char* pszLengthHead;   // after its closing quote, before its length; null: none
    const char* pszLiteralTail;  // after the length, or after the quote without one
    const char* pszBreak;        // ends one line of a literal and opens the next
    bool bOctal;                 // octal escapes; hexadecimal otherwise
    // Around a chunk of a large block: a call, so that no two chunks fold into one
    // constant; none where a literal is an object already. Not MString.toString, which
    // takes its argument for a value and encodes it.
    const char* pszChunkPrefix;
    const char* pszChunkSuffix;
    MGroupedForm grouped;

    // The compiler limits that end the flat sum.
    MFlatLimit flatLimit;
    unsigned long liFlatLimit;  // bytes, or operands for MFlatLimit::Operands
    int nOperandsPerCall;       // JavaConstants: the operands of one call of the chain

    // The scope of the support library's escapers, which take a value of any type.
    const char* pszEscaperScope;

    // The support files, in the order written; null for none.
    const char* apszSupportFiles[2];
    bool bSupportPackage;  // they declare the package that the input declares

    // The build integrations, which read these from a list written from the rows.
    const char* pszBuildName;       // the LANGUAGE of the CMake function; null: none
    const char* pszInputExtension;  // the ending of a frame source, in every build and editor
    const char* pszKeptExtensions;  // the endings, blank-separated, that an output name keeps
};

/// The row of the language.
const MLanguageTraits& traitsOf(MLanguage language);
/// Every row, in the order that recognition tries them; nRows receives their number.
const MLanguageTraits* languageRows(int& nRows);
/// The rows that the banner, the help and the usage list, in their order; nRows receives
/// their number.
const MLanguageTraits* const* listedRows(int& nRows);
/// The row whose option letter is c; the fallback form's for any other.
const MLanguageTraits& traitsOfOption(char c);

/// The language's #line directive for nLine of the quoted name, with its line break.
MString lineDirective(const MLanguageTraits& traits, int nLine, const MString& mstrQuotedFile);

/// The input's name quoted as the language's #line directive spells it. Throws an MError
/// when the name holds what the directive cannot spell.
MString lineFileName(const MLanguageTraits& traits, const char* pszName);

#endif  // XVANTOR_ENGINE_MLANGUAGE_H
