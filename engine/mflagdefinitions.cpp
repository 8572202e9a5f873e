// SPDX-License-Identifier: MIT
#include "engine/mdelimiterset.h"
#include "engine/merror.h"
#include "engine/mtextsearch.h"

namespace {

template <class ValueAt>
MEscapeMode escapeModeOf(const MString& mstrHeader, const ValueAt& valueAt) {
    const MString mstrKeyword("FLAG_ESCAPE");
    const int nKeyword = mstrHeader.find(mstrKeyword);
    if (nKeyword == -1)
        return MEscapeMode::None;
    const MString mstrMode = valueAt(mstrKeyword, nKeyword);
    if (mstrMode == MString("html"))
        return MEscapeMode::Html;
    if (mstrMode == MString("json"))
        return MEscapeMode::Json;
    if (mstrMode == MString("none"))
        return MEscapeMode::None;
    throw MError(MErrorCode::EscapeModeUnknown, {mstrMode}, nKeyword);
}

}  // namespace

void MDelimiterSet::readFlagDefinitions(const MString& mstrHeader) {
    using MSetter = void (MDelimiterSet::*)(const MString&);
    struct MFlag {
        const char* pszKeyword;
        MSetter setter;
    };
    static const MFlag flags[] = {
        {"FLAG_<!", &MDelimiterSet::setExpressionBegin},
        {"FLAG_!>", &MDelimiterSet::setExpressionEnd},
        {"FLAG_<#", &MDelimiterSet::setFileBegin},
        {"FLAG_#>", &MDelimiterSet::setFileEnd},
    };
    // Most headers define nothing, and the set is at its defaults between blocks.
    static const MString mstrAnyFlag("FLAG_");
    if (findText(mstrHeader, mstrAnyFlag, 0) == -1)
        return;
    const int nLength = static_cast<int>(mstrHeader.length());
    // The quoted value after the keyword at nKeyword.
    const auto valueAt = [&](const MString& mstrKeyword, int nKeyword) {
        int nOpen = nKeyword;
        while (nOpen < nLength && mstrHeader[nOpen] != '"')
            ++nOpen;
        int nClose = nOpen + 1;
        while (nClose < nLength && mstrHeader[nClose] != '"')
            ++nClose;
        if (nClose >= nLength)
            throw MError(MErrorCode::FlagWithoutValue, {mstrKeyword}, nKeyword);
        // An empty delimiter would be found everywhere in the block text.
        if (nClose == nOpen + 1)
            throw MError(MErrorCode::FlagValueEmpty, {mstrKeyword}, nKeyword);
        return mstrHeader.getString(nOpen + 1, nClose);
    };
    int nLastOpener = -1;  // the definition that made the two openers alike
    for (const MFlag& flag : flags) {
        const MString mstrKeyword(flag.pszKeyword);
        // Only the first definition of a keyword counts.
        const int nKeyword = mstrHeader.find(mstrKeyword);
        if (nKeyword == -1)
            continue;
        (this->*flag.setter)(valueAt(mstrKeyword, nKeyword));
        const bool bOpener = flag.setter == &MDelimiterSet::setExpressionBegin ||
                             flag.setter == &MDelimiterSet::setFileBegin;
        if (bOpener && nKeyword > nLastOpener)
            nLastOpener = nKeyword;
    }
    if (m_mstrExpressionBegin == m_mstrFileBegin)
        throw MError(MErrorCode::FlagsDiffer, {m_mstrFileBegin}, nLastOpener);
    m_escapeMode = escapeModeOf(mstrHeader, valueAt);
}
