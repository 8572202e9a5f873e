#include "engine/mtextconverter.h"

#include <climits>
#include <cstring>

#include "engine/mescapetable.h"

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
      m_mstrCall("setFrameText(\n"),
      m_mstrExpressionBegin(delimiters.getExpressionBegin()),
      m_mstrExpressionEnd(delimiters.getExpressionEnd()),
      m_mstrFileBegin(delimiters.getFileBegin()),
      m_mstrFileEnd(delimiters.getFileEnd()),
      m_mstrPrefix(formOf(pszOption).pszPrefix),
      m_mstrSuffix(formOf(pszOption).pszSuffix),
      m_nLineWidth(static_cast<unsigned>(delimiters.getLineWidth())) {}

MString MTextConverter::convert() {
    m_nPosition = 0;
    m_pieces.clear();
    m_liLiteralBytes = 0;
    while (convertNextPiece()) {
    }
    const int nDelimited = static_cast<int>(m_pieces.size() / 2);
    if (m_liLiteralBytes <= sm_liPlainLiteralBytes && nDelimited <= sm_nPlainPieces) {
        appendPlain();
    } else {
        appendGrouped();
    }
    m_pieces.clear();
    m_mstrCall += MString("\n);\n");
    // Handing the text over and dropping ours keeps one copy of a large
    // embedded file fewer alive while the caller appends it.
    MString mstrResult(m_mstrCall);
    m_mstrCall = MString();
    return mstrResult;
}

int MTextConverter::convertNextPiece() {
    const int nLiteralStart = m_nPosition == 0 ? 0 : m_nPosition + m_nCloseLength;
    // An empty opening delimiter would be found everywhere and never let the
    // scan advance; the flag reader rejects it, so it only guards here.
    const int nExpression = m_mstrExpressionBegin.isEmpty()
                                ? -1
                                : m_mstrText.find(m_mstrExpressionBegin, nLiteralStart);
    const int nFile =
        m_mstrFileBegin.isEmpty() ? -1 : m_mstrText.find(m_mstrFileBegin, nLiteralStart);
    if (nExpression == -1 && nFile == -1) {
        const int nEnd = static_cast<int>(m_mstrText.length());
        m_pieces.push_back({MPieceKind::Literal, m_mstrText.getString(nLiteralStart, nEnd)});
        m_liLiteralBytes += m_pieces.back().mstrText.length();
        return 0;
    }
    // At the same position the expression pair wins.
    const bool bExpression = nFile == -1 || (nExpression != -1 && nExpression <= nFile);
    const int nOpen = bExpression ? nExpression : nFile;
    m_pieces.push_back({MPieceKind::Literal, m_mstrText.getString(nLiteralStart, nOpen)});
    m_liLiteralBytes += m_pieces.back().mstrText.length();

    const MString& mstrClose = bExpression ? m_mstrExpressionEnd : m_mstrFileEnd;
    m_nOpenLength =
        static_cast<int>((bExpression ? m_mstrExpressionBegin : m_mstrFileBegin).length());
    m_nCloseLength = static_cast<int>(mstrClose.length());
    // From just after the opening delimiter, so that a closing delimiter can
    // neither overlap it nor begin inside it.
    const int nClose = m_mstrText.find(mstrClose, nOpen + m_nOpenLength);
    if (nClose == -1)
        throw MString(pszUnclosed) + mstrClose;

    MString mstrInner = m_mstrText.getString(nOpen + m_nOpenLength, nClose);
    if (bExpression) {
        m_pieces.push_back({MPieceKind::Expression, mstrInner});
    } else {
        m_pieces.push_back({MPieceKind::File, readEmbeddedFile(mstrInner)});
        m_liLiteralBytes += m_pieces.back().mstrText.length();
    }
    m_nPosition = nClose;
    return 1;
}

void MTextConverter::appendPlain() {
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        const MPiece& piece = m_pieces[i];
        if (piece.kind == MPieceKind::Literal) {
            if (i != 0)
                m_mstrCall += MString(" +\n");
            m_mstrCall += makeLiteral(piece.mstrText);
            continue;
        }
        m_mstrCall += MString("\n+ ");
        if (piece.kind == MPieceKind::Expression) {
            m_mstrCall += m_mstrPrefix;
            m_mstrCall += piece.mstrText;
            m_mstrCall += m_mstrSuffix;
        } else {
            m_mstrCall += makeLiteral(piece.mstrText);
        }
    }
}

void MTextConverter::appendGrouped() {
    // Operands are made as the tree is written, so that no more than one
    // chunk's literal exists beside the call text.
    std::vector<std::pair<size_t, int>> operands;
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        const MPiece& piece = m_pieces[i];
        if (piece.kind == MPieceKind::Expression) {
            operands.emplace_back(i, 0);
            continue;
        }
        const unsigned long liLength = piece.mstrText.length();
        for (unsigned long liChunk = 0; liChunk * sm_nChunkBytes < liLength; ++liChunk)
            operands.emplace_back(i, static_cast<int>(liChunk));
    }
    if (operands.empty()) {
        m_mstrCall += makeLiteral(MString());
        return;
    }
    if (!formOf(m_pszOption).bWrapped) {
        appendBalanced(operands, 0, operands.size());
        return;
    }
    // C++ compilers pay for every temporary alive in one expression; a lambda
    // that appends operand by operand keeps one alive at a time, and it still
    // sees every local and member that the pieces name.
    m_mstrCall += MString("[&]() -> MString {\nMString mstrXVantorText;\n");
    for (const auto& [nPiece, nChunk] : operands) {
        m_mstrCall += MString("mstrXVantorText += ");
        m_mstrCall += groupedOperand(nPiece, nChunk);
        m_mstrCall += MString(";\n");
    }
    m_mstrCall += MString("return mstrXVantorText;\n}()");
}

MString MTextConverter::groupedOperand(size_t nPiece, int nChunk) const {
    const MPiece& piece = m_pieces[nPiece];
    if (piece.kind != MPieceKind::Expression) {
        const int nBegin = nChunk * sm_nChunkBytes;
        const MString mstrLiteral =
            makeLiteral(piece.mstrText.getString(nBegin, nBegin + sm_nChunkBytes));
        // C++ literals are objects already; elsewhere a call keeps each chunk
        // from being folded into one constant with its neighbours.
        if (formOf(m_pszOption).bWrapped)
            return mstrLiteral;
        return MString(m_mstrPrefix) + mstrLiteral + m_mstrSuffix;
    }
    return MString(m_mstrPrefix) + piece.mstrText + m_mstrSuffix;
}

void MTextConverter::appendBalanced(const std::vector<std::pair<size_t, int>>& operands,
                                    size_t nFirst, size_t nEnd) {
    if (nEnd - nFirst == 1) {
        m_mstrCall += groupedOperand(operands[nFirst].first, operands[nFirst].second);
        return;
    }
    const size_t nMiddle = nFirst + (nEnd - nFirst) / 2;
    m_mstrCall += MString("(");
    appendBalanced(operands, nFirst, nMiddle);
    m_mstrCall += MString("\n+ ");
    appendBalanced(operands, nMiddle, nEnd);
    m_mstrCall += MString(")");
}

MString MTextConverter::makeLiteral(const MString& mstrText) const {
    const MLanguageForm& form = formOf(m_pszOption);
    const MEscapeTable& escapes = MEscapeTable::instance();
    const unsigned long liBreak = std::strlen(form.pszBreak);
    const unsigned long liWidth = m_nLineWidth == 0 ? 1 : m_nLineWidth;
    const unsigned char* pbyText =
        reinterpret_cast<const unsigned char*>(const_cast<MString&>(mstrText).getAddress());
    const unsigned long liLength = mstrText.length();
    auto escapeOf = [&](unsigned char byValue) -> const MEscapeTable::MEscape& {
        return form.bOctal ? escapes.octal(byValue) : escapes.hexadecimal(byValue);
    };

    // The body is measured first, so that the literal is built in one buffer of
    // exactly its size. A line breaks when the body's length, breaks included,
    // is less than 4 past a multiple of the width, tested after every byte.
    unsigned long liBody = 0;
    for (unsigned long i = 0; i < liLength; ++i) {
        liBody += static_cast<unsigned long>(escapeOf(pbyText[i]).nLength);
        if (liBody % liWidth < 4)
            liBody += liBreak;
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
    unsigned long liWritten = 0;
    for (unsigned long i = 0; i < liLength; ++i) {
        const MEscapeTable::MEscape& escape = escapeOf(pbyText[i]);
        std::memcpy(pszOut, escape.szText, static_cast<unsigned long>(escape.nLength));
        pszOut += escape.nLength;
        liWritten += static_cast<unsigned long>(escape.nLength);
        if (liWritten % liWidth < 4) {
            std::memcpy(pszOut, form.pszBreak, liBreak);
            pszOut += liBreak;
            liWritten += liBreak;
        }
    }
    if (form.bWrapped) {
        std::memcpy(pszOut, szCount, liTail);
    } else {
        *pszOut = '"';
    }
    return mstrLiteral;
}
