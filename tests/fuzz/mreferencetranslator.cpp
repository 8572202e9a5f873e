// SPDX-License-Identifier: MIT
#include "tests/fuzz/mreferencetranslator.h"

#include <cstdio>

#include "engine/mlanguage.h"

namespace {

const std::string strBeginKeyword = "BEGIN_FRAME_TEXT";
const std::string strEndKeyword = "END_FRAME_TEXT";

// Up to these sizes a block's call text is one flat sum of its literals and pieces.
const std::string::size_type nFlatLiteralBytes = 24 * 1024;
const long nFlatPieces = 200;

// The engine's search: -1 for a start outside the text, the start itself for an empty needle.
long findFrom(const std::string& strText, const std::string& strNeedle, long nStart) {
    if (nStart < 0 || static_cast<unsigned long>(nStart) >= strText.size())
        return -1;
    if (strNeedle.empty())
        return nStart;
    const std::string::size_type nFound =
        strText.find(strNeedle, static_cast<std::string::size_type>(nStart));
    return nFound == std::string::npos ? -1 : static_cast<long>(nFound);
}

bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

// Blank for the frame keyword and for file names alike: tab is not one.
bool isBlank(char c) {
    return c == ' ' || c == '\r' || c == '\n';
}

// What a language spells is the engine's row; the reference keeps the rules that hold for
// every language.
const MLanguageTraits& rowOf(const std::string& strOption) {
    return traitsOfOption(strOption.size() < 2 ? 0 : strOption[1]);
}

[[noreturn]] void fail(const std::string& strText) {
    throw MReferenceTranslator::MError{strText};
}

}  // namespace

MReferenceTranslator::MReferenceTranslator(const std::string& strNotice,
                                           const std::map<std::string, std::string>& files)
    : m_strNotice(strNotice), m_files(files) {}

std::string MReferenceTranslator::headFor(const std::string& strOption) const {
    return m_strNotice + rowOf(strOption).pszHead + "\n\n";
}

std::string MReferenceTranslator::translate(const std::string& strOption,
                                            const std::string& strInput, bool& bExact) const {
    bExact = true;
    return framePass(strOption, headFor(strOption) + firstPass(strOption, strInput, bExact));
}

std::string MReferenceTranslator::firstPass(const std::string& strOption,
                                            const std::string& strInput, bool& bExact) const {
    const long nLength = static_cast<long>(strInput.size());
    std::string strOutput;
    long p = 0;
    for (;;) {
        const long b = findFrom(strInput, strBeginKeyword, p);
        if (b == -1) {
            if (p < nLength)
                strOutput += strInput.substr(static_cast<std::string::size_type>(p));
            return strOutput;
        }
        strOutput.append(strInput, static_cast<std::string::size_type>(p),
                         static_cast<std::string::size_type>(b - p));
        const long e = findFrom(strInput, strEndKeyword, p);
        if (e == -1)
            fail("\nError XF0000: BEGIN_FRAME_TEXT() without END_FRAME_TEXT()");
        if (e < b)
            fail("\nError XF0008: END_FRAME_TEXT() before BEGIN_FRAME_TEXT()");

        // End of the block text: back from the end keyword to a line break, one more
        // step when the byte before it breaks a line too.
        long t = e;
        while (t >= 0 && !isLineBreak(strInput[static_cast<std::string::size_type>(t)]))
            --t;
        if (t < 0)
            fail("\nError XF0006: END_FRAME_TEXT() without a line break before it");
        if (t > 0 && isLineBreak(strInput[static_cast<std::string::size_type>(t - 1)]))
            --t;

        // Start of the block text: the line break after the first ")" past the keyword.
        long r = b;
        while (r < t && strInput[static_cast<std::string::size_type>(r)] != ')')
            ++r;
        if (r >= t)
            fail("\nError XF0005: BEGIN_FRAME_TEXT() without ) before the block text");
        while (!isLineBreak(strInput[static_cast<std::string::size_type>(r)]))
            ++r;
        if (isLineBreak(strInput[static_cast<std::string::size_type>(r + 1)]))
            ++r;
        const long s = r + 1;

        const long nHeader = b + static_cast<long>(strBeginKeyword.size());
        const MDelimiters delimiters =
            readFlagDefinitions(strInput.substr(static_cast<std::string::size_type>(nHeader),
                                                static_cast<std::string::size_type>(s - nHeader)));
        strOutput += "\n";
        if (s < t) {
            strOutput += convert(strOption,
                                 strInput.substr(static_cast<std::string::size_type>(s),
                                                 static_cast<std::string::size_type>(t - s)),
                                 delimiters, bExact);
        } else {
            strOutput += rowOf(strOption).pszEmptyBlock;
        }

        long q = e + static_cast<long>(strEndKeyword.size());
        while (q < nLength && strInput[static_cast<std::string::size_type>(q)] != ')')
            ++q;
        if (q >= nLength)
            fail("\nError XF0007: END_FRAME_TEXT() without )");
        p = q + 1;
    }
}

MReferenceTranslator::MDelimiters MReferenceTranslator::readFlagDefinitions(
    const std::string& strHeader) const {
    MDelimiters delimiters;
    struct MFlag {
        const char* pszKeyword;
        std::string MDelimiters::*pValue;
    };
    const MFlag flags[] = {
        {"FLAG_<!", &MDelimiters::strExpressionBegin},
        {"FLAG_!>", &MDelimiters::strExpressionEnd},
        {"FLAG_<#", &MDelimiters::strFileBegin},
        {"FLAG_#>", &MDelimiters::strFileEnd},
    };
    for (const MFlag& flag : flags) {
        const std::string::size_type nKeyword = strHeader.find(flag.pszKeyword);
        if (nKeyword == std::string::npos)
            continue;
        const std::string::size_type nOpen = strHeader.find('"', nKeyword);
        const std::string::size_type nClose =
            nOpen == std::string::npos ? std::string::npos : strHeader.find('"', nOpen + 1);
        if (nClose == std::string::npos)
            fail(std::string("\nError XF0009: The flag has no quoted value ") + flag.pszKeyword);
        if (nClose == nOpen + 1)
            fail(std::string("\nError XF0010: The flag has an empty value ") + flag.pszKeyword);
        delimiters.*flag.pValue = strHeader.substr(nOpen + 1, nClose - nOpen - 1);
    }
    if (delimiters.strExpressionBegin == delimiters.strFileBegin)
        fail("\nError XF0003: The flags have the same name but different functions" +
             delimiters.strFileBegin);
    return delimiters;
}

std::string MReferenceTranslator::convert(const std::string& strOption, const std::string& strText,
                                          const MDelimiters& delimiters, bool& bExact) const {
    const MLanguageTraits& row = rowOf(strOption);
    std::string strCall = row.pszCallHead;
    long nPosition = 0;
    long nCloseLength = 0;
    long nDelimited = 0;
    std::string::size_type nLiteralBytes = 0;  // block text outside the pieces, and files
    for (;;) {
        const long nLiteralStart = nPosition == 0 ? 0 : nPosition + nCloseLength;
        const long x = delimiters.strExpressionBegin.empty()
                           ? -1
                           : findFrom(strText, delimiters.strExpressionBegin, nLiteralStart);
        const long f = delimiters.strFileBegin.empty()
                           ? -1
                           : findFrom(strText, delimiters.strFileBegin, nLiteralStart);
        if (nPosition != 0)
            strCall += " +\n";
        const bool bLast = x == -1 && f == -1;
        const bool bExpression = f == -1 || (x != -1 && x <= f);
        const long o = bLast ? static_cast<long>(strText.size()) : bExpression ? x : f;
        const std::string strLiteral =
            strText.substr(static_cast<std::string::size_type>(nLiteralStart),
                           static_cast<std::string::size_type>(o - nLiteralStart));
        strCall += makeLiteral(strOption, strLiteral);
        nLiteralBytes += strLiteral.size();
        if (bLast)
            break;

        ++nDelimited;
        const std::string& strOpen =
            bExpression ? delimiters.strExpressionBegin : delimiters.strFileBegin;
        const std::string& strClose =
            bExpression ? delimiters.strExpressionEnd : delimiters.strFileEnd;
        const long nInner = o + static_cast<long>(strOpen.size());
        const long c = findFrom(strText, strClose, nInner);
        if (c == -1)
            fail("\nError XF0002: BEGIN_FLAG without CLOSE_FLAG " + strClose);
        const std::string strInner =
            strText.substr(static_cast<std::string::size_type>(nInner),
                           static_cast<std::string::size_type>(c - nInner));
        strCall += "\n+ ";
        if (bExpression) {
            strCall += row.pszPrefix + strInner + row.pszSuffix;
        } else {
            const std::string& strFile = embeddedFile(strInner);
            strCall += makeLiteral(strOption, strFile);
            nLiteralBytes += strFile.size();
        }
        nPosition = c;
        nCloseLength = static_cast<long>(strClose.size());
    }
    // Larger blocks may take a grouped form, shaped for compilers' limits, that the
    // reference does not spell (every language stays flat at least this far); the errors
    // above still hold for them.
    if (nLiteralBytes > nFlatLiteralBytes || nDelimited > nFlatPieces)
        bExact = false;
    return strCall + row.pszCallTail;
}

std::string MReferenceTranslator::makeLiteral(const std::string& strOption,
                                              const std::string& strText) const {
    const MLanguageTraits& row = rowOf(strOption);
    const bool bOctal = row.bOctal;
    const std::string strBreak = row.pszBreak;
    std::string strBody;
    for (const char c : strText) {
        char szEscape[16];
        std::snprintf(szEscape, sizeof(szEscape), bOctal ? "\\%o" : "\\x%x",
                      static_cast<unsigned>(static_cast<unsigned char>(c)));
        strBody += szEscape;
        if (strBody.size() % 70 < 4)
            strBody += strBreak;
    }
    const std::string strLength =
        row.pszLengthHead != nullptr ? row.pszLengthHead + std::to_string(strText.size()) : "";
    return row.pszLiteralHead + ("\"" + strBody + "\"") + strLength + row.pszLiteralTail;
}

const std::string& MReferenceTranslator::embeddedFile(const std::string& strName) const {
    std::string::size_type nFront = 0;
    std::string::size_type nBack = strName.size();
    while (nFront < nBack && isBlank(strName[nFront]))
        ++nFront;
    while (nBack > nFront && isBlank(strName[nBack - 1]))
        --nBack;
    const std::string strTrimmed = strName.substr(nFront, nBack - nFront);
    const bool bUsable = !strTrimmed.empty() && strTrimmed.find('\0') == std::string::npos;
    if (bUsable && strTrimmed.find('/') != std::string::npos)
        throw MUnknown();
    const auto file = m_files.find(strTrimmed);
    if (!bUsable || file == m_files.end())
        fail("\nError XF0001: Embedding of file \"" + strTrimmed + "\" failed");
    return file->second;
}

std::string MReferenceTranslator::framePass(const std::string& strOption,
                                            const std::string& strText) const {
    const char* const pszReplacement = rowOf(strOption).pszBaseClass;
    const long nLength = static_cast<long>(strText.size());
    auto at = [&](long n) { return strText[static_cast<std::string::size_type>(n)]; };
    std::string strOutput;
    long p = 0;
    for (;;) {
        const long k = findFrom(strText, "frame", p);
        if (k == -1) {
            if (p < nLength)
                strOutput += strText.substr(static_cast<std::string::size_type>(p));
            return strOutput;
        }
        // A rejected occurrence reaches the output unchanged through its "f"; copying that
        // much at once is what the byte-by-byte rule comes to.
        auto reject = [&]() {
            strOutput.append(strText, static_cast<std::string::size_type>(p),
                             static_cast<std::string::size_type>(k + 1 - p));
            p = k + 1;
        };
        if (k == 0 || !isBlank(at(k - 1))) {
            reject();
            continue;
        }
        long c = k + 5;
        while (c < nLength && isBlank(at(c)))
            ++c;
        const long nNameStart = c;
        while (c < nLength && !isBlank(at(c)))
            ++c;
        std::string strName = strText.substr(static_cast<std::string::size_type>(nNameStart),
                                             static_cast<std::string::size_type>(c - nNameStart));
        if (strName.empty() || (strName[0] == '(' && strName.size() < 2)) {
            reject();
            continue;
        }
        if (strName[0] == '(')
            strName = strName.substr(1, strName.size() - 2);
        long nBrace = c;
        while (nBrace < nLength && at(nBrace) != '{' && at(nBrace) != '(')
            ++nBrace;
        if (nBrace == nLength || at(nBrace) == '(') {
            reject();
            continue;
        }
        strOutput.append(strText, static_cast<std::string::size_type>(p),
                         static_cast<std::string::size_type>(k - p));
        strOutput += rowOf(strOption).pszClassKeyword + strName + pszReplacement;
        p = nBrace;
    }
}
