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
    // The block is scanned ahead of the writing, with its pieces and files let go as it
    // goes, so that the places of its values cost one byte each. A value's place is settled
    // by the literal text that follows it, so each waits for the next piece; the refusal is
    // raised once the scan has raised its own errors, as the writing would have.
    MHtmlContext html;
    MJsonContext json;
    m_escapers.clear();
    int nPending = -1;  // the opening delimiter of the value that waits for its place
    std::string strRefused;
    int nRefused = -1;
    const int nOpenLength = static_cast<int>(m_mstrExpressionBegin.length());
    const auto settle = [&](const char* pNext, unsigned long liNext, bool bNextIsValue) {
        const int nValue = nPending;
        nPending = -1;
        if (nRefused != -1)
            return;
        MEscaper escaper = MEscaper::Html;
        const bool bFound = m_escapeMode == MEscapeMode::Html
                                ? html.valueHere(pNext, liNext, bNextIsValue, escaper, strRefused)
                                : json.valueHere(escaper, strRefused);
        if (bFound)
            m_escapers.push_back(static_cast<signed char>(escaper));
        else
            nRefused = nValue;
    };
    std::vector<MPiece> pieces;
    for (bool bMore = true; bMore;) {
        pieces.clear();
        bMore = convertNextPiece(pieces);
        for (MPiece& piece : pieces) {
            if (piece.kind == MPieceKind::Expression) {
                if (nPending != -1)
                    settle(nullptr, 0, true);
                if (afterRawMarker(piece) != -1) {
                    m_escapers.push_back(sm_nRaw);
                } else {
                    nPending = piece.nBegin - nOpenLength;
                }
                continue;
            }
            if (piece.kind == MPieceKind::File)
                piece.pFile = openEmbeddedFile(piece, true);
            const unsigned long liLength = lengthOf(piece);
            if (liLength == 0 || nRefused != -1)
                continue;
            // A large file is read a window at a time: what follows a value is looked at
            // in its first window only.
            const unsigned long liWindow = MEmbeddedFile::sm_liWindowBytes;
            for (unsigned long liOffset = 0; liOffset < liLength; liOffset += liWindow) {
                const unsigned long liCount =
                    liLength - liOffset < liWindow ? liLength - liOffset : liWindow;
                const char* pBytes = bytesOf(piece, liOffset, liCount);
                if (nPending != -1)
                    settle(pBytes, liCount, false);
                if (nRefused != -1)
                    break;
                if (m_escapeMode == MEscapeMode::Html)
                    html.feed(pBytes, liCount);
                else
                    json.feed(pBytes, liCount);
            }
        }
    }
    if (nPending != -1)
        settle(nullptr, 0, false);
    m_bRecordOnWrite = false;
    if (nRefused != -1)
        throw MError(MErrorCode::ValueRefused,
                     {MString(strRefused.data(), static_cast<unsigned long>(strRefused.size()))},
                     nRefused);
}

void MTextConverter::appendValue(MOutputText& output, const MPiece& piece) const {
    const signed char nEscaper =
        m_escapeMode == MEscapeMode::None ? sm_nUnescaped : m_escapers[m_nValue++];
    const int nBegin = nEscaper == sm_nRaw ? afterRawMarker(piece) : piece.nBegin;
    const char* const pBytes = &m_mstrText[0] + nBegin;
    const unsigned long liLength = static_cast<unsigned long>(piece.nEnd - nBegin);
    if (nEscaper < 0) {
        output.append(m_pszPrefix, m_liPrefix);
        output.append(pBytes, liLength);
        output.append(m_pszSuffix, m_liSuffix);
        return;
    }
    output += m_traits.pszEscaperScope;
    output += escaperName(static_cast<MEscaper>(nEscaper));
    output += "(";
    output.append(pBytes, liLength);
    output += ")";
}
