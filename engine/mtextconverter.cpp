#include "engine/mtextconverter.h"

#include <climits>
#include <cstring>

#include "engine/mescapetable.h"
#include "engine/mtextsearch.h"

namespace {

// The four forms of a call text, chosen by the option's second character.
struct MLanguageForm {
    const char* pszPrefix;
    const char* pszSuffix;
    const char* pszBreak;  // ends one line of a literal and opens the next
    bool bOctal;           // Java's escapes; every other form's are hexadecimal
    bool bWrapped;         // C++ wraps a literal in the (text, length) constructor
};

const MLanguageForm& formOf(const char* pszOption) {
    static const MLanguageForm cpp = {"MString(", ")", "\"\n\"", false, true};
    static const MLanguageForm java = {"MString.toString(", ")", "\" +\n\"", true, false};
    static const MLanguageForm csharp = {"MString.toString(", ")", "\" +\n\"", false, false};
    static const MLanguageForm fallback = {"(MString", ")", "\"\n\"", false, false};
    switch (pszOption[0] == 0 ? 0 : pszOption[1]) {
    case 'c':
        return cpp;
    case 'j':
        return java;
    case '#':
        return csharp;
    default:
        return fallback;
    }
}

const char* const pszUnclosed = "\nError XF0002: BEGIN_FLAG without CLOSE_FLAG ";
const char* const pszWrapperBegin = "MString(\n";

}  // namespace

MTextConverter::MTextConverter(const MString& mstrText, const char* pszOption,
                               const MDelimiterSet& delimiters)
    : m_mstrText(mstrText),
      m_pszOption(pszOption),
      m_mstrExpressionBegin(delimiters.getExpressionBegin()),
      m_mstrExpressionEnd(delimiters.getExpressionEnd()),
      m_mstrFileBegin(delimiters.getFileBegin()),
      m_mstrFileEnd(delimiters.getFileEnd()),
      m_mstrPrefix(formOf(pszOption).pszPrefix),
      m_mstrSuffix(formOf(pszOption).pszSuffix),
      m_nLineWidth(static_cast<unsigned>(delimiters.getLineWidth())) {}

MString MTextConverter::convert() {
    MString mstrCall;
    appendTo(mstrCall);
    return mstrCall;
}

void MTextConverter::appendTo(MString& mstrOutput) {
    m_nPosition = 0;
    m_nExpressionFound = m_nFileFound = -2;
    m_pieces.clear();
    m_files.clear();
    m_liLiteralBytes = 0;
    while (convertNextPiece()) {
    }
    mstrOutput += MString("setFrameText(\n");
    const int nDelimited = static_cast<int>(m_pieces.size() / 2);
    if (m_liLiteralBytes <= sm_liPlainLiteralBytes && nDelimited <= sm_nPlainPieces) {
        appendPlain(mstrOutput);
    } else {
        appendGrouped(mstrOutput);
    }
    m_pieces.clear();
    m_files.clear();
    mstrOutput += MString("\n);\n");
}

int MTextConverter::nextOpener(const MString& mstrOpener, int nFrom, int& nFound) const {
    // An empty opening delimiter would be found everywhere and never let the
    // scan advance; the flag reader rejects it, so it only guards here.
    if (mstrOpener.isEmpty())
        return -1;
    if (nFound == -2 || (nFound != -1 && nFound < nFrom))
        nFound = findText(m_mstrText, mstrOpener, nFrom);
    return nFound;
}

int MTextConverter::convertNextPiece() {
    const int nLiteralStart = m_nPosition == 0 ? 0 : m_nPosition + m_nCloseLength;
    // Searching both openers afresh for every piece made a block cost its length times
    // its number of pieces.
    const int nExpression = nextOpener(m_mstrExpressionBegin, nLiteralStart, m_nExpressionFound);
    const int nFile = nextOpener(m_mstrFileBegin, nLiteralStart, m_nFileFound);
    if (nExpression == -1 && nFile == -1) {
        const int nEnd = static_cast<int>(m_mstrText.length());
        m_pieces.push_back({MPieceKind::Literal, nLiteralStart, nEnd});
        m_liLiteralBytes += static_cast<unsigned long>(nEnd - nLiteralStart);
        return 0;
    }
    // At the same position the expression pair wins.
    const bool bExpression = nFile == -1 || (nExpression != -1 && nExpression <= nFile);
    const int nOpen = bExpression ? nExpression : nFile;
    m_pieces.push_back({MPieceKind::Literal, nLiteralStart, nOpen});
    m_liLiteralBytes += static_cast<unsigned long>(nOpen - nLiteralStart);

    const MString& mstrClose = bExpression ? m_mstrExpressionEnd : m_mstrFileEnd;
    m_nOpenLength =
        static_cast<int>((bExpression ? m_mstrExpressionBegin : m_mstrFileBegin).length());
    m_nCloseLength = static_cast<int>(mstrClose.length());
    // From just after the opening delimiter, so that a closing delimiter can
    // neither overlap it nor begin inside it.
    const int nClose = findText(m_mstrText, mstrClose, nOpen + m_nOpenLength);
    if (nClose == -1)
        throw MString(pszUnclosed) + mstrClose;

    if (bExpression) {
        m_pieces.push_back({MPieceKind::Expression, nOpen + m_nOpenLength, nClose});
    } else {
        MString mstrName = m_mstrText.getString(nOpen + m_nOpenLength, nClose);
        m_files.push_back(readEmbeddedFile(mstrName));
        m_pieces.push_back({MPieceKind::File, static_cast<int>(m_files.size() - 1), 0});
        m_liLiteralBytes += m_files.back().length();
    }
    m_nPosition = nClose;
    return 1;
}

void MTextConverter::appendPlain(MString& mstrCall) const {
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        const MPiece& piece = m_pieces[i];
        if (piece.kind == MPieceKind::Literal) {
            if (i != 0)
                mstrCall += MString(" +\n");
            mstrCall += makeLiteral(textOf(piece));
            continue;
        }
        mstrCall += MString("\n+ ");
        if (piece.kind == MPieceKind::Expression) {
            mstrCall += m_mstrPrefix;
            mstrCall += textOf(piece);
            mstrCall += m_mstrSuffix;
        } else {
            mstrCall += makeLiteral(textOf(piece));
        }
    }
}

void MTextConverter::appendGrouped(MString& mstrCall) const {
    // Operands are made as the tree is written, so that no more than one
    // chunk's literal exists beside the call text.
    std::vector<std::pair<size_t, int>> operands;
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        const MPiece& piece = m_pieces[i];
        if (piece.kind == MPieceKind::Expression) {
            operands.emplace_back(i, 0);
            continue;
        }
        const unsigned long liLength = lengthOf(piece);
        for (unsigned long liChunk = 0; liChunk * sm_nChunkBytes < liLength; ++liChunk)
            operands.emplace_back(i, static_cast<int>(liChunk));
    }
    if (operands.empty()) {
        mstrCall += makeLiteral(MString());
        return;
    }
    if (!formOf(m_pszOption).bWrapped) {
        appendBalanced(mstrCall, operands, 0, operands.size());
        return;
    }
    // C++ compilers pay for every temporary alive in one expression; a lambda
    // that appends operand by operand keeps one alive at a time, and it still
    // sees every local and member that the pieces name.
    mstrCall += MString("[&]() -> MString {\nMString mstrXVantorText;\n");
    for (const auto& [nPiece, nChunk] : operands) {
        mstrCall += MString("mstrXVantorText += ");
        mstrCall += groupedOperand(nPiece, nChunk);
        mstrCall += MString(";\n");
    }
    mstrCall += MString("return mstrXVantorText;\n}()");
}

MString MTextConverter::groupedOperand(size_t nPiece, int nChunk) const {
    const MPiece& piece = m_pieces[nPiece];
    if (piece.kind != MPieceKind::Expression) {
        const int nOffset = nChunk * sm_nChunkBytes;
        const int nLength = static_cast<int>(lengthOf(piece));
        const int nCount = nLength - nOffset < sm_nChunkBytes ? nLength - nOffset : sm_nChunkBytes;
        // Only the chunk is copied, never the whole file or literal.
        const MString mstrLiteral = makeLiteral(
            piece.kind == MPieceKind::File
                ? m_files[static_cast<size_t>(piece.nBegin)].getString(nOffset, nOffset + nCount)
                : m_mstrText.getString(piece.nBegin + nOffset, piece.nBegin + nOffset + nCount));
        // C++ literals are objects already; elsewhere a call keeps each chunk
        // from being folded into one constant with its neighbours.
        if (formOf(m_pszOption).bWrapped)
            return mstrLiteral;
        return MString(m_mstrPrefix) + mstrLiteral + m_mstrSuffix;
    }
    return MString(m_mstrPrefix) + textOf(piece) + m_mstrSuffix;
}

MString MTextConverter::textOf(const MPiece& piece) const {
    if (piece.kind == MPieceKind::File)
        return m_files[static_cast<size_t>(piece.nBegin)];
    return m_mstrText.getString(piece.nBegin, piece.nEnd);
}

unsigned long MTextConverter::lengthOf(const MPiece& piece) const {
    if (piece.kind == MPieceKind::File)
        return m_files[static_cast<size_t>(piece.nBegin)].length();
    return static_cast<unsigned long>(piece.nEnd - piece.nBegin);
}

void MTextConverter::appendBalanced(MString& mstrCall,
                                    const std::vector<std::pair<size_t, int>>& operands,
                                    size_t nFirst, size_t nEnd) const {
    if (nEnd - nFirst == 1) {
        mstrCall += groupedOperand(operands[nFirst].first, operands[nFirst].second);
        return;
    }
    const size_t nMiddle = nFirst + (nEnd - nFirst) / 2;
    mstrCall += MString("(");
    appendBalanced(mstrCall, operands, nFirst, nMiddle);
    mstrCall += MString("\n+ ");
    appendBalanced(mstrCall, operands, nMiddle, nEnd);
    mstrCall += MString(")");
}

MString MTextConverter::makeLiteral(const MString& mstrText) const {
    const MLanguageForm& form = formOf(m_pszOption);
    const MEscapeTable& escapes = MEscapeTable::instance();
    const unsigned long liBreak = std::strlen(form.pszBreak);
    const unsigned long liWidth = m_nLineWidth == 0 ? 1 : m_nLineWidth;
    const unsigned char* pbyText =
        reinterpret_cast<const unsigned char*>(const_cast<MString&>(mstrText).getAddress());
    const unsigned long liLength = mstrText.length();
    const MEscapeTable::MEscape* pEscapes =
        form.bOctal ? &escapes.octal(0) : &escapes.hexadecimal(0);
    // The column is the body's length modulo the width, kept up to date instead of
    // divided out for every byte.
    auto advance = [liWidth](unsigned long& liColumn, unsigned long liBy) {
        liColumn += liBy;
        while (liColumn >= liWidth)
            liColumn -= liWidth;
    };

    // The body is measured first, so that the literal is built in one buffer of
    // exactly its size. A line breaks when the body's length, breaks included,
    // is less than 4 past a multiple of the width, tested after every byte.
    unsigned long liBody = 0;
    unsigned long liColumn = 0;
    for (unsigned long i = 0; i < liLength; ++i) {
        const unsigned long liEscape = static_cast<unsigned long>(pEscapes[pbyText[i]].nLength);
        liBody += liEscape;
        advance(liColumn, liEscape);
        if (liColumn < 4) {
            liBody += liBreak;
            advance(liColumn, liBreak);
        }
    }
    char szCount[32] = "";
    if (form.bWrapped)
        std::snprintf(szCount, sizeof(szCount), "\", %lu\n)", liLength);
    const unsigned long liHead = form.bWrapped ? std::strlen(pszWrapperBegin) + 1 : 1;
    const unsigned long liTail = form.bWrapped ? std::strlen(szCount) : 1;
    const unsigned long liTotal = liHead + liBody + liTail;
    if (liTotal > INT_MAX)
        throw "output too large";

    MString mstrLiteral(0, liTotal);
    char* pszOut = mstrLiteral.getAddress();
    if (form.bWrapped) {
        std::memcpy(pszOut, pszWrapperBegin, liHead - 1);
        pszOut += liHead - 1;
    }
    *pszOut++ = '"';
    // Every escape is copied as four bytes, which its table entry always holds, and
    // the pointer moves by its real length; near the end the copy takes its length.
    const char* const pszEnd = pszOut + liBody;
    liColumn = 0;
    for (unsigned long i = 0; i < liLength; ++i) {
        const MEscapeTable::MEscape& escape = pEscapes[pbyText[i]];
        const unsigned long liEscape = static_cast<unsigned long>(escape.nLength);
        if (pszEnd - pszOut >= 4) {
            std::memcpy(pszOut, escape.szText, 4);
        } else {
            std::memcpy(pszOut, escape.szText, liEscape);
        }
        pszOut += liEscape;
        advance(liColumn, liEscape);
        if (liColumn < 4) {
            std::memcpy(pszOut, form.pszBreak, liBreak);
            pszOut += liBreak;
            advance(liColumn, liBreak);
        }
    }
    if (form.bWrapped) {
        std::memcpy(pszOut, szCount, liTail);
    } else {
        *pszOut = '"';
    }
    return mstrLiteral;
}
