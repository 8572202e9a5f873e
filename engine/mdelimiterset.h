#ifndef XVANTOR_ENGINE_MDELIMITERSET_H
#define XVANTOR_ENGINE_MDELIMITERSET_H

#include "core/mstring.h"

/// The delimiters of embedded expressions and files, and the literal line width.
class MDelimiterSet {
public:
    MDelimiterSet() { reset(); }
    virtual ~MDelimiterSet() = default;

    /// Back to "<!" "!>" "<#" "#>" and width 70.
    void reset();

    MString& getExpressionBegin() { return m_mstrExpressionBegin; }
    MString& getExpressionEnd() { return m_mstrExpressionEnd; }
    MString& getFileBegin() { return m_mstrFileBegin; }
    MString& getFileEnd() { return m_mstrFileEnd; }
    const MString& getExpressionBegin() const { return m_mstrExpressionBegin; }
    const MString& getExpressionEnd() const { return m_mstrExpressionEnd; }
    const MString& getFileBegin() const { return m_mstrFileBegin; }
    const MString& getFileEnd() const { return m_mstrFileEnd; }
    int getLineWidth() const { return m_nLineWidth; }

    void setExpressionBegin(const MString& mstr) { m_mstrExpressionBegin = mstr; }
    void setExpressionEnd(const MString& mstr) { m_mstrExpressionEnd = mstr; }
    void setFileBegin(const MString& mstr) { m_mstrFileBegin = mstr; }
    void setFileEnd(const MString& mstr) { m_mstrFileEnd = mstr; }

protected:
    MString m_mstrExpressionBegin;
    MString m_mstrExpressionEnd;
    MString m_mstrFileBegin;
    MString m_mstrFileEnd;
    int m_nLineWidth = 0;
};

#endif  // XVANTOR_ENGINE_MDELIMITERSET_H
