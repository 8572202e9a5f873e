// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MDELIMITERSET_H
#define XVANTOR_ENGINE_MDELIMITERSET_H

#include "core/mstring.h"
#include "engine/mescapecontext.h"

/// The delimiters of embedded expressions and files and the escape mode of values: the
/// defaults, or what a block's header defines.
class MDelimiterSet {
public:
    MDelimiterSet() { reset(); }

    /// Back to "<!" "!>" "<#" "#>", values unescaped.
    void reset();
    /// Sets the delimiters that the FLAG_ definitions of a block header name. Throws an
    /// MError at the offending keyword's offset in the header (XF0003, XF0009 to XF0011).
    void readFlagDefinitions(const MString& mstrHeader);

    MString& getExpressionBegin() { return m_mstrExpressionBegin; }
    MString& getExpressionEnd() { return m_mstrExpressionEnd; }
    MString& getFileBegin() { return m_mstrFileBegin; }
    MString& getFileEnd() { return m_mstrFileEnd; }
    const MString& getExpressionBegin() const { return m_mstrExpressionBegin; }
    const MString& getExpressionEnd() const { return m_mstrExpressionEnd; }
    const MString& getFileBegin() const { return m_mstrFileBegin; }
    const MString& getFileEnd() const { return m_mstrFileEnd; }

    void setExpressionBegin(const MString& mstr) { m_mstrExpressionBegin = mstr; }
    void setExpressionEnd(const MString& mstr) { m_mstrExpressionEnd = mstr; }
    void setFileBegin(const MString& mstr) { m_mstrFileBegin = mstr; }
    void setFileEnd(const MString& mstr) { m_mstrFileEnd = mstr; }
    MEscapeMode getEscapeMode() const { return m_escapeMode; }

private:
    MString m_mstrExpressionBegin;
    MString m_mstrExpressionEnd;
    MString m_mstrFileBegin;
    MString m_mstrFileEnd;
    MEscapeMode m_escapeMode = MEscapeMode::None;
};

#endif  // XVANTOR_ENGINE_MDELIMITERSET_H
