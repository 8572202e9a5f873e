#include "engine/mdelimiterset.h"

void MDelimiterSet::reset() {
    m_mstrExpressionBegin = MString("<!");
    m_mstrExpressionEnd = MString("!>");
    m_mstrFileBegin = MString("<#");
    m_mstrFileEnd = MString("#>");
    m_nLineWidth = 70;
}
