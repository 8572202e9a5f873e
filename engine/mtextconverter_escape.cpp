// SPDX-License-Identifier: MIT
#include "engine/mescapecontext.h"
#include "engine/mtextconverter.h"
#include "engine/mtextsearch.h"

namespace {

bool startsWithNoCase(const char* pText, unsigned long liLength, const char* pszWord) {
    unsigned long i = 0;
    for (; pszWord[i] != 0; ++i) {
        if (i == liLength)
            return false;
        char c = pText[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - ('a' - 'A'));
        if (c != pszWord[i])
            return false;
    }
    return true;
}

}  // namespace

// With the default delimiters "<!--" and "<!DOCTYPE" open expressions, which then end in
// an unclosed delimiter or a refused place far from the cause.
void MTextConverter::refuseMarkupOpeners() const {
    const MString& mstrOpener = m_mstrExpressionBegin;
    if (mstrOpener.length() < 2 || mstrOpener[0] != '<' || mstrOpener[1] != '!')
        return;
    const unsigned long liText = m_mstrText.length();
    for (int nAt = findText(m_mstrText, mstrOpener, 0); nAt != -1;
         nAt = findText(m_mstrText, mstrOpener, nAt + 1)) {
        const char* pRest = &m_mstrText[0] + nAt + 2;  // after "<!"
        const unsigned long liRest = liText - static_cast<unsigned long>(nAt) - 2;
        if (startsWithNoCase(pRest, liRest, "--") || startsWithNoCase(pRest, liRest, "DOCTYPE") ||
            startsWithNoCase(pRest, liRest, "[CDATA["))
            throw MError(MErrorCode::DelimiterLooksLikeMarkup, {mstrOpener}, nAt);
    }
}

int MTextConverter::afterRawMarker(const MPiece& piece) const {
    int n = piece.nBegin;
    while (n < piece.nEnd && (m_mstrText[n] == ' ' || m_mstrText[n] == '\t'))
        ++n;
    // "raw::" may begin a qualified name in C++ and C#; "raw:" then any other byte begins
    // no expression in the three languages.
    if (piece.nEnd - n >= 4 && m_mstrText[n] == 'r' && m_mstrText[n + 1] == 'a' &&
        m_mstrText[n + 2] == 'w' && m_mstrText[n + 3] == ':' &&
        (piece.nEnd - n == 4 || m_mstrText[n + 4] != ':'))
        return n + 4;
    return -1;
}

void MTextConverter::findEscapers() {
    MHtmlContext html;
    MJsonContext json;
    m_escapers.assign(m_pieces.size(), sm_nUnescaped);
    const int nOpenLength = static_cast<int>(m_mstrExpressionBegin.length());
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        const MPiece& piece = m_pieces[i];
        if (piece.kind != MPieceKind::Expression) {
            const unsigned long liLength = lengthOf(piece);
            const char* pBytes = bytesOf(piece, 0, liLength);
            if (m_escapeMode == MEscapeMode::Html)
                html.feed(pBytes, liLength);
            else
                json.feed(pBytes, liLength);
            continue;
        }
        if (afterRawMarker(piece) != -1) {
            m_escapers[i] = sm_nRaw;
            continue;
        }
        // What follows the value: the next literal, or when it is empty the next piece.
        const char* pNext = nullptr;
        unsigned long liNext = 0;
        bool bNextIsValue = false;
        for (size_t j = i + 1; j < m_pieces.size() && liNext == 0 && !bNextIsValue; ++j) {
            bNextIsValue = m_pieces[j].kind == MPieceKind::Expression;
            if (!bNextIsValue) {
                liNext = lengthOf(m_pieces[j]);
                pNext = bytesOf(m_pieces[j], 0, liNext);
            }
        }
        MEscaper escaper = MEscaper::Html;
        std::string strRefused;
        const bool bFound = m_escapeMode == MEscapeMode::Html
                                ? html.valueHere(pNext, liNext, bNextIsValue, escaper, strRefused)
                                : json.valueHere(escaper, strRefused);
        if (!bFound)
            throw MError(
                MErrorCode::ValueRefused,
                {MString(strRefused.data(), static_cast<unsigned long>(strRefused.size()))},
                piece.nBegin - nOpenLength);
        m_escapers[i] = static_cast<signed char>(escaper);
    }
}

void MTextConverter::appendValue(MOutputText& output, size_t nPiece) const {
    const MPiece& piece = m_pieces[nPiece];
    const signed char nEscaper = m_escapers.empty() ? sm_nUnescaped : m_escapers[nPiece];
    const int nBegin = nEscaper == sm_nRaw ? afterRawMarker(piece) : piece.nBegin;
    const char* const pBytes = &m_mstrText[0] + nBegin;
    const unsigned long liLength = static_cast<unsigned long>(piece.nEnd - nBegin);
    if (nEscaper < 0) {
        output += m_pszPrefix;
        output.append(pBytes, liLength);
        output += m_pszSuffix;
        return;
    }
    output += m_traits.pszEscaperScope;
    output += escaperName(static_cast<MEscaper>(nEscaper));
    output += "(";
    output.append(pBytes, liLength);
    output += ")";
}
