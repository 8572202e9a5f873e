// SPDX-License-Identifier: MIT
#include "engine/mtextconverter.h"

#include <cstring>

#include "engine/merror.h"
#include "engine/mescapetable.h"
#include "engine/mfiles.h"
#include "engine/mlines.h"
#include "engine/moffsets.h"
#include "engine/mtextsearch.h"

MTextConverter::MTextConverter(const MString& mstrText, const MLanguageTraits& traits,
                               const MDelimiterSet& delimiters, const MRunTrace& trace,
                               int nFirstLine)
    : m_pFilesRead(trace.pFilesRead),
      m_pFilesSeen(trace.pFilesSeen),
      m_pEmbedCache(trace.pEmbedCache),
      m_pLineFile(trace.pLineFile),
      m_nFirstLine(nFirstLine),
      m_mstrText(mstrText),
      m_traits(traits),
      m_mstrExpressionBegin(delimiters.getExpressionBegin()),
      m_mstrExpressionEnd(delimiters.getExpressionEnd()),
      m_mstrFileBegin(delimiters.getFileBegin()),
      m_mstrFileEnd(delimiters.getFileEnd()),
      m_pszPrefix(m_traits.pszPrefix),
      m_pszSuffix(m_traits.pszSuffix),
      m_liPrefix(std::strlen(m_pszPrefix)),
      m_liSuffix(std::strlen(m_pszSuffix)),
      m_liLiteralHead(std::strlen(m_traits.pszLiteralHead)),
      m_escapeMode(delimiters.getEscapeMode()) {}

void MTextConverter::restartScan() {
    m_nPosition = 0;
    m_nExpressionFound = m_nFileFound = -2;
    m_bEnded = false;
}

void MTextConverter::appendTo(MOutputText& output) {
    restartScan();
    m_pieces.clear();
    // Enough for most blocks, which hold a few values.
    m_pieces.reserve(16);
    m_nPiece = 0;
    m_nChunk = 0;
    m_bRecordOnWrite = true;
    m_liLiteralBytes = 0;
    m_lines = MLineCounter();
    m_nLineOut = 1;
    m_nValue = 0;
    if (m_escapeMode != MEscapeMode::None) {
        if (m_escapeMode == MEscapeMode::Html)
            refuseMarkupOpeners();
        findEscapers();
        restartScan();
    }
    // The flat sum's pieces are few and short: once past either, the form is grouped.
    const size_t nMostPieces = 2 * static_cast<size_t>(sm_nPlainPieces) + 1;
    const unsigned long liLongest = longestPlainPiece();
    bool bLong = false;
    while (!m_bEnded && !bLong && m_pieces.size() <= nMostPieces) {
        const size_t nFirst = m_pieces.size();
        scanPieces(m_bRecordOnWrite);
        for (size_t i = nFirst; i < m_pieces.size(); ++i) {
            if (m_pieces[i].kind == MPieceKind::Expression)
                continue;
            const unsigned long liLength = lengthOf(m_pieces[i]);
            m_liLiteralBytes += liLength;
            bLong = bLong || liLength > liLongest;
        }
    }
    appendForm(output, m_traits.pszCallHead);
    for (int i = 0; i < m_nLinesBefore; ++i)
        output += "\n";
    if (m_bEnded && !bLong && keepsPlainForm()) {
        appendPlain(output);
    } else {
        appendGrouped(output);
    }
    m_pieces.clear();
    breakLinesTo(output, static_cast<int>(m_mstrText.length()));
    for (int i = m_nLinesBefore + m_nLineOut - 1; m_bKeepLines && i < m_nLines; ++i)
        output += "\n";
    appendForm(output, m_traits.pszCallTail);
}

void MTextConverter::appendFormOnLines(MOutputText& output, const char* pszText) const {
    for (; *pszText != 0; ++pszText)
        output.append(*pszText == '\n' ? " " : pszText, 1);
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

void MTextConverter::scanPieces(bool bRecord) {
    const size_t nFirst = m_pieces.size();
    m_bEnded = !convertNextPiece(m_pieces);
    for (size_t i = nFirst; i < m_pieces.size(); ++i) {
        if (m_pieces[i].kind == MPieceKind::File)
            m_pieces[i].pFile = openEmbeddedFile(m_pieces[i], bRecord);
    }
}

bool MTextConverter::convertNextPiece(std::vector<MPiece>& pieces) {
    const int nLiteralStart = m_nPosition == 0 ? 0 : m_nPosition + m_nCloseLength;
    // Searching both openers afresh for every piece made a block cost its length times
    // its number of pieces.
    const int nExpression = nextOpener(m_mstrExpressionBegin, nLiteralStart, m_nExpressionFound);
    const int nFile = nextOpener(m_mstrFileBegin, nLiteralStart, m_nFileFound);
    if (nExpression == -1 && nFile == -1) {
        const int nEnd = static_cast<int>(m_mstrText.length());
        pieces.push_back({MPieceKind::Literal, nLiteralStart, nEnd, -1, nullptr});
        return false;
    }
    // At the same position the expression pair wins.
    const bool bExpression = nFile == -1 || (nExpression != -1 && nExpression <= nFile);
    const int nOpen = bExpression ? nExpression : nFile;
    pieces.push_back({MPieceKind::Literal, nLiteralStart, nOpen, -1, nullptr});

    const MString& mstrClose = bExpression ? m_mstrExpressionEnd : m_mstrFileEnd;
    m_nOpenLength =
        static_cast<int>((bExpression ? m_mstrExpressionBegin : m_mstrFileBegin).length());
    m_nCloseLength = static_cast<int>(mstrClose.length());
    // From just after the opening delimiter, so that a closing delimiter can
    // neither overlap it nor begin inside it.
    const int nClose = findText(m_mstrText, mstrClose, nOpen + m_nOpenLength);
    if (nClose == -1)
        throw MError(MErrorCode::FlagNotClosed, {mstrClose}, nOpen);
    pieces.push_back({bExpression ? MPieceKind::Expression : MPieceKind::File,
                      nOpen + m_nOpenLength, nClose, nOpen, nullptr});
    m_nPosition = nClose;
    return true;
}

MString MTextConverter::lineDirectiveFor(const MPiece& piece) const {
    const int nLine =
        m_lines.lineAt(&m_mstrText[0], static_cast<long>(m_mstrText.length()), piece.nBegin);
    return lineDirective(m_traits, m_nFirstLine + nLine - 1, *m_pLineFile);
}

void MTextConverter::breakLinesTo(MOutputText& output, int nOffset) const {
    if (!m_bKeepLines)
        return;
    const int nLine =
        m_lines.lineAt(&m_mstrText[0], static_cast<long>(m_mstrText.length()), nOffset);
    for (; m_nLineOut < nLine; ++m_nLineOut)
        output += "\n";
}

void MTextConverter::appendExpression(MOutputText& output, const MPiece& piece) const {
    breakLinesTo(output, piece.nBegin);
    appendValue(output, piece);
    // Its own line breaks come along.
    if (m_bKeepLines)
        m_nLineOut =
            m_lines.lineAt(&m_mstrText[0], static_cast<long>(m_mstrText.length()), piece.nEnd);
}

void MTextConverter::appendPlain(MOutputText& output) const {
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        const MPiece& piece = m_pieces[i];
        const unsigned long liLength = lengthOf(piece);
        const char* const pszBytes = bytesOf(piece, 0, liLength);
        if (piece.kind == MPieceKind::Literal) {
            if (i != 0)
                appendForm(output, " +\n");
        } else {
            appendForm(output, "\n");
            if (m_pLineFile != nullptr && piece.kind == MPieceKind::Expression)
                output += lineDirectiveFor(piece);
            output += "+ ";
        }
        if (piece.kind == MPieceKind::Expression) {
            appendExpression(output, piece);
        } else if (m_bKeepLines) {
            appendLiteralOnLines(output, pszBytes, liLength, piece, 0);
        } else {
            appendLiteral(output, pszBytes, liLength);
        }
    }
}

void MTextConverter::appendGrouped(MOutputText& output) {
    if (m_traits.grouped.grouping == MGrouping::StatementLambda) {
        appendStatements(output);
        return;
    }
    const size_t nOperands = countOperands();
    if (nOperands == 0) {
        appendLiteral(output, "", 0);
        return;
    }
    appendBalanced(output, nOperands);
    int nChunk = 0;
    if (nextOperand(nChunk) != nullptr)
        throwChangedFile();
}

size_t MTextConverter::countOperands() {
    const auto operandsOf = [this](const MPiece& piece) -> size_t {
        if (piece.kind == MPieceKind::Expression)
            return 1;
        return (lengthOf(piece) + sm_nChunkBytes - 1) / sm_nChunkBytes;
    };
    size_t nOperands = 0;
    for (const MPiece& piece : m_pieces)
        nOperands += operandsOf(piece);
    const int nPosition = m_nPosition;
    const int nCloseLength = m_nCloseLength;
    const int nOpenLength = m_nOpenLength;
    const int nExpressionFound = m_nExpressionFound;
    const int nFileFound = m_nFileFound;
    std::vector<MPiece> pieces;
    for (bool bMore = !m_bEnded; bMore;) {
        pieces.clear();
        bMore = convertNextPiece(pieces);
        for (MPiece& piece : pieces) {
            if (piece.kind == MPieceKind::File)
                piece.pFile = openEmbeddedFile(piece, m_bRecordOnWrite);
            nOperands += operandsOf(piece);
        }
    }
    m_nPosition = nPosition;
    m_nCloseLength = nCloseLength;
    m_nOpenLength = nOpenLength;
    m_nExpressionFound = nExpressionFound;
    m_nFileFound = nFileFound;
    m_bRecordOnWrite = false;
    return nOperands;
}

const MTextConverter::MPiece* MTextConverter::nextOperand(int& nChunk) {
    for (;;) {
        if (m_nPiece < m_pieces.size()) {
            MPiece& piece = m_pieces[m_nPiece];
            const unsigned long liOperands =
                piece.kind == MPieceKind::Expression
                    ? 1
                    : (lengthOf(piece) + sm_nChunkBytes - 1) / sm_nChunkBytes;
            if (static_cast<unsigned long>(m_nChunk) < liOperands) {
                nChunk = m_nChunk++;
                return &piece;
            }
            // Written: its file goes.
            piece.pFile.reset();
            ++m_nPiece;
            m_nChunk = 0;
            continue;
        }
        if (m_bEnded)
            return nullptr;
        m_pieces.clear();
        m_nPiece = 0;
        scanPieces(m_bRecordOnWrite);
    }
}

void MTextConverter::throwChangedFile() const {
    throw fileError({MFileFailure::MKind::CannotRead, "the file changed while it was read"},
                    MFileUse::Embedded, m_mstrLastFile, m_nLastOpener);
}

void MTextConverter::appendStatements(MOutputText& output) {
    // The lambda opens with its first operand: a block of none is an empty literal.
    const MGroupedForm& form = m_traits.grouped;
    bool bOpen = false;
    int nChunk = 0;
    while (const MPiece* pPiece = nextOperand(nChunk)) {
        if (!bOpen)
            output += form.pszOpen;
        bOpen = true;
        // A statement begins its line, so its directive stands right before it.
        if (m_pLineFile != nullptr && pPiece->kind == MPieceKind::Expression)
            output += lineDirectiveFor(*pPiece);
        output += form.pszJoin;
        appendGroupedOperand(output, *pPiece, nChunk);
        output += form.pszEnd;
    }
    if (bOpen)
        output += form.pszClose;
    else
        appendLiteral(output, "", 0);
}

void MTextConverter::appendGroupedOperand(MOutputText& output, const MPiece& piece,
                                          int nChunk) const {
    if (piece.kind == MPieceKind::Expression) {
        // A statement has its directive before it; in a tree the operand may stand
        // after a parenthesis, and a directive must begin its line.
        if (m_pLineFile != nullptr && m_traits.grouped.grouping == MGrouping::BalancedTree)
            output += MString("\n") + lineDirectiveFor(piece);
        appendExpression(output, piece);
        return;
    }
    const unsigned long liOffset = static_cast<unsigned long>(nChunk) * sm_nChunkBytes;
    const unsigned long liLength = lengthOf(piece);
    const unsigned long liCount =
        liLength - liOffset < sm_nChunkBytes ? liLength - liOffset : sm_nChunkBytes;
    // A call keeps each chunk from being folded into one constant with its neighbours.
    output += m_traits.pszChunkPrefix;
    if (m_bKeepLines)
        appendLiteralOnLines(output, bytesOf(piece, liOffset, liCount), liCount, piece, liOffset);
    else
        appendLiteral(output, bytesOf(piece, liOffset, liCount), liCount);
    output += m_traits.pszChunkSuffix;
}

const char* MTextConverter::bytesOf(const MPiece& piece, unsigned long liOffset,
                                    unsigned long liCount) const {
    if (piece.kind == MPieceKind::File)
        return bytesOfFile(*piece.pFile, liOffset, liCount, piece.nOpener);
    return &m_mstrText[0] + piece.nBegin + liOffset;
}

unsigned long MTextConverter::lengthOf(const MPiece& piece) const {
    if (piece.kind == MPieceKind::File)
        return piece.pFile->length();
    return static_cast<unsigned long>(piece.nEnd - piece.nBegin);
}

void MTextConverter::appendBalanced(MOutputText& output, size_t nOperands) {
    if (nOperands == 1) {
        int nChunk = 0;
        const MPiece* pPiece = nextOperand(nChunk);
        if (pPiece == nullptr)
            throwChangedFile();
        appendGroupedOperand(output, *pPiece, nChunk);
        return;
    }
    const MGroupedForm& form = m_traits.grouped;
    output += form.pszOpen;
    appendBalanced(output, nOperands / 2);
    appendForm(output, form.pszJoin);
    appendBalanced(output, nOperands - nOperands / 2);
    output += form.pszClose;
}

namespace {

// The column is the body's length modulo the width, kept up to date instead of
// divided out for every byte.
inline void advance(unsigned long& liColumn, unsigned long liBy, unsigned long liWidth) {
    liColumn += liBy;
    while (liColumn >= liWidth)
        liColumn -= liWidth;
}

// The end of a literal, from its closing quote: the length after its head where the row
// spells one, then the row's tail. Formatted by hand because a source of many small
// blocks spent more on the formatting functions than on the literals.
void literalTail(char* pszTail, const MLanguageTraits& form, unsigned long liLength) {
    *pszTail++ = '"';
    if (form.pszLengthHead != nullptr) {
        for (const char* psz = form.pszLengthHead; *psz != 0; ++psz)
            *pszTail++ = *psz;
        char szDigits[24];
        int nDigits = 0;
        do {
            szDigits[nDigits++] = static_cast<char>('0' + liLength % 10);
            liLength /= 10;
        } while (liLength != 0);
        while (nDigits > 0)
            *pszTail++ = szDigits[--nDigits];
    }
    for (const char* psz = form.pszLiteralTail; *psz != 0; ++psz)
        *pszTail++ = *psz;
    *pszTail = 0;
}

// A line breaks when the body's length, breaks included, is less than 4 past a
// multiple of the width, tested after every byte.
unsigned long bodyLength(const unsigned char* pbyText, unsigned long liLength,
                         const MEscapeTable::MEscape* pEscapes, unsigned long liBreak,
                         unsigned long liWidth) {
    unsigned long liBody = 0;
    unsigned long liColumn = 0;
    for (unsigned long i = 0; i < liLength; ++i) {
        const unsigned long liEscape = static_cast<unsigned long>(pEscapes[pbyText[i]].nLength);
        liBody += liEscape;
        advance(liColumn, liEscape, liWidth);
        if (liColumn < 4) {
            liBody += liBreak;
            advance(liColumn, liBreak, liWidth);
        }
    }
    return liBody;
}

}  // namespace

void MTextConverter::appendLiteral(MOutputText& output, const char* pszText,
                                   unsigned long liLength) const {
    const MLanguageTraits& form = m_traits;
    const MEscapeTable& escapes = MEscapeTable::instance();
    const unsigned long liBreak = std::strlen(form.pszBreak);
    const unsigned long liWidth = sm_nLineWidth;
    const unsigned char* pbyText = reinterpret_cast<const unsigned char*>(pszText);
    const MEscapeTable::MEscape* pEscapes =
        form.bOctal ? &escapes.octal(0) : &escapes.hexadecimal(0);

    char szTail[48];
    literalTail(szTail, form, liLength);
    const unsigned long liHead = m_liLiteralHead + 1;
    const unsigned long liTail = std::strlen(szTail);
    // Every byte takes at most a four-byte escape and a break, and the copies below
    // move four and eight bytes, however many count: room for that worst case spares
    // the body a measuring pass. A literal that might pass the limit is measured.
    const unsigned long liPerByte = 4 + liBreak;
    if (liLength > (liMostTextBytes - liHead - liTail - 8) / liPerByte &&
        isTooLongForOffsets(liHead + bodyLength(pbyText, liLength, pEscapes, liBreak, liWidth) +
                            liTail))
        throw MError(MErrorCode::OutputTooLarge);
    char szBreak[8] = {};
    std::memcpy(szBreak, form.pszBreak, liBreak);

    char* const pszStart = output.room(liHead + liPerByte * liLength + 8 + liTail);
    char* pszOut = pszStart;
    std::memcpy(pszOut, form.pszLiteralHead, liHead - 1);
    pszOut += liHead - 1;
    *pszOut++ = '"';
    unsigned long liColumn = 0;
    for (unsigned long i = 0; i < liLength; ++i) {
        const MEscapeTable::MEscape& escape = pEscapes[pbyText[i]];
        std::memcpy(pszOut, escape.szText, 4);
        pszOut += escape.nLength;
        advance(liColumn, static_cast<unsigned long>(escape.nLength), liWidth);
        if (liColumn < 4) {
            std::memcpy(pszOut, szBreak, 8);
            pszOut += liBreak;
            advance(liColumn, liBreak, liWidth);
        }
    }
    std::memcpy(pszOut, szTail, liTail);
    pszOut += liTail;
    output.grow(static_cast<unsigned long>(pszOut - pszStart));
}

void MTextConverter::appendLiteralOnLines(MOutputText& output, const char* pszText,
                                          unsigned long liLength, const MPiece& piece,
                                          unsigned long liFrom) const {
    const MEscapeTable& escapes = MEscapeTable::instance();
    const MEscapeTable::MEscape* pEscapes =
        m_traits.bOctal ? &escapes.octal(0) : &escapes.hexadecimal(0);
    const unsigned char* pbyText = reinterpret_cast<const unsigned char*>(pszText);
    // A file's text stands on the line of its name, whatever lines it holds.
    const bool bFile = piece.kind == MPieceKind::File;
    const long nOffset = bFile ? piece.nOpener : piece.nBegin + static_cast<long>(liFrom);
    breakLinesTo(output, static_cast<int>(nOffset));
    const char* const pszBlock = &m_mstrText[0];
    const long nBlockLength = static_cast<long>(m_mstrText.length());
    const unsigned long liBreak = std::strlen(m_traits.pszBreak);
    // A CR that a chunk ends with may be half of a CR LF that the next one completes. The
    // line end of the last byte follows the closing quote.
    const auto endsTextLine = [&](unsigned long i) {
        return !bFile && i + 1 < liLength &&
               endsLine(pszBlock, nOffset + static_cast<long>(i), nBlockLength);
    };
    const bool bEndsOnNextLine =
        !bFile && liLength > 0 &&
        endsLine(pszBlock, nOffset + static_cast<long>(liLength) - 1, nBlockLength);
    unsigned long long lliBody = 2;
    for (unsigned long i = 0; i < liLength; ++i)
        lliBody += static_cast<unsigned long>(pEscapes[pbyText[i]].nLength) +
                   (endsTextLine(i) ? liBreak : 0);
    if (isTooLongForOffsets(lliBody))
        throw MError(MErrorCode::OutputTooLarge);
    // The escapes are copied four bytes at a time. No row that keeps lines spells a length.
    output += m_traits.pszLiteralHead;
    char* const pszStart = output.room(static_cast<unsigned long>(lliBody) + 8);
    char* pszOut = pszStart;
    *pszOut++ = '"';
    for (unsigned long i = 0; i < liLength; ++i) {
        const MEscapeTable::MEscape& escape = pEscapes[pbyText[i]];
        std::memcpy(pszOut, escape.szText, 4);
        pszOut += escape.nLength;
        if (endsTextLine(i)) {
            std::memcpy(pszOut, m_traits.pszBreak, liBreak);
            pszOut += liBreak;
        }
    }
    *pszOut++ = '"';
    output.grow(static_cast<unsigned long>(pszOut - pszStart));
    output += m_traits.pszLiteralTail;
    if (bEndsOnNextLine)
        output += "\n";
    if (!bFile)
        m_nLineOut = m_lines.lineAt(pszBlock, nBlockLength, nOffset + static_cast<long>(liLength));
}
