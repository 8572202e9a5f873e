// SPDX-License-Identifier: MIT
#include "engine/mtextconverter.h"

// Which form a block takes. The flat sum is the form that users read and that their tests
// compare, so it is kept for as long as the compilers of the target accept it with their
// default settings.

namespace {

// The most lines a hexadecimal literal of liBytes bytes can take: one escape of three characters
// breaks the first line at once, and every later break needs at least 16 escapes.
unsigned long hexadecimalLinesAtMost(unsigned long liBytes) {
    return liBytes == 0 ? 1 : 2 + (liBytes - 1) / 16;
}

}  // namespace

unsigned long MTextConverter::longestPlainPiece() const {
    // An operand's lines hold at least 16 escapes each, but for its first and last.
    if (m_traits.flatLimit == MFlatLimit::Operands)
        return 16 * m_traits.liFlatLimit;
    return m_traits.liFlatLimit;
}

bool MTextConverter::keepsPlainForm() const {
    if (m_pieces.size() / 2 > static_cast<size_t>(sm_nPlainPieces))
        return false;
    switch (m_traits.flatLimit) {
    case MFlatLimit::JavaConstants:
        return constantsKeepPlainForm();
    case MFlatLimit::AllLiterals:
        return m_liLiteralBytes <= m_traits.liFlatLimit;
    case MFlatLimit::EachLiteral:
    case MFlatLimit::Operands:
        break;
    }
    unsigned long liOperands = 0;
    for (const MPiece& piece : m_pieces) {
        if (piece.kind == MPieceKind::Expression) {
            ++liOperands;
            continue;
        }
        const unsigned long liLength = lengthOf(piece);
        if (m_traits.flatLimit == MFlatLimit::EachLiteral) {
            // Each literal and each file is one MString("...", n) whose lines concatenate.
            if (liLength > m_traits.liFlatLimit)
                return false;
        } else {
            liOperands += hexadecimalLinesAtMost(liLength);
            if (liOperands > m_traits.liFlatLimit)
                return false;
        }
    }
    return true;
}

// javac's parser folds every run of adjacent string literals into one, whatever pieces
// they spell, so a run lasts from one expression piece to the next. A block without
// expression pieces is one constant, of at most 65,534 characters. Otherwise each call of
// the chain has a recipe, one constant holding the text of its literal runs and one
// character for each other operand; a run that holds the recipe's tags \1 or \2 is a
// constant of its own and stands in the recipe as one tag. Constants are counted in
// modified UTF-8, where NUL and the characters from \200 take two bytes.
bool MTextConverter::constantsKeepPlainForm() const {
    const unsigned long liLimit = m_traits.liFlatLimit;
    const int nOperandsPerCall = m_traits.nOperandsPerCall;
    unsigned long liRunChars = 0;
    unsigned long liRunEncoded = 0;
    bool bRunTagged = false;
    int nOperands = 0;
    unsigned long liRecipe = 0;
    const auto addOperand = [&](unsigned long liInRecipe) {
        if (nOperands++ % nOperandsPerCall == 0)
            liRecipe = 0;
        liRecipe += liInRecipe;
        return liRecipe <= liLimit;
    };
    const auto endRun = [&]() {
        const bool bFits = addOperand(bRunTagged ? 1 : liRunEncoded);
        liRunChars = liRunEncoded = 0;
        bRunTagged = false;
        return bFits;
    };
    for (const MPiece& piece : m_pieces) {
        if (piece.kind == MPieceKind::Expression) {
            if (!endRun() || !addOperand(1))
                return false;
            continue;
        }
        const unsigned long liLength = lengthOf(piece);
        // Only a file this short is read before its literal is written.
        if (liLength > liLimit)
            return false;
        const unsigned char* pbyText =
            reinterpret_cast<const unsigned char*>(bytesOf(piece, 0, liLength));
        for (unsigned long i = 0; i < liLength; ++i) {
            liRunEncoded += pbyText[i] == 0 || pbyText[i] >= 0x80 ? 2 : 1;
            bRunTagged = bRunTagged || pbyText[i] == 1 || pbyText[i] == 2;
        }
        liRunChars += liLength;
        if (liRunEncoded > liLimit)
            return false;
    }
    if (nOperands == 0)
        return liRunChars < liLimit;
    return endRun();
}
