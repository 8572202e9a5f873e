// SPDX-License-Identifier: MIT
#include "engine/mdelimiterset.h"

#include <cstring>

namespace {

bool holds(const MString& mstr, const char* pszText) {
    const unsigned long liLength = std::strlen(pszText);
    return mstr.length() == liLength && std::memcmp(&mstr[0], pszText, liLength) == 0;
}

}  // namespace

void MDelimiterSet::reset() {
    m_escapeMode = MEscapeMode::None;
    // A source of hundreds of thousands of blocks resets the set after each one, and
    // few of them define a flag.
    if (holds(m_mstrExpressionBegin, "<!") && holds(m_mstrExpressionEnd, "!>") &&
        holds(m_mstrFileBegin, "<#") && holds(m_mstrFileEnd, "#>"))
        return;
    m_mstrExpressionBegin = MString("<!");
    m_mstrExpressionEnd = MString("!>");
    m_mstrFileBegin = MString("<#");
    m_mstrFileEnd = MString("#>");
}
