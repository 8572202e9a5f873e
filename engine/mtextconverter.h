#ifndef XVANTOR_ENGINE_MTEXTCONVERTER_H
#define XVANTOR_ENGINE_MTEXTCONVERTER_H

#include "core/mstring.h"
#include "engine/mdelimiterset.h"

/// Turns the text of one frame-text block into the call text of the target language:
/// "setFrameText(\n", an expression that rebuilds the text byte for byte, "\n);\n".
class MTextConverter {
public:
    /// The text and the option are borrowed and must outlive the converter; the
    /// delimiters are copied, so later flag changes do not reach it.
    MTextConverter(const MString& mstrText, const char* const& pszOption,
                   const MDelimiterSet& delimiters);
    MTextConverter(const MTextConverter&) = delete;
    MTextConverter& operator=(const MTextConverter&) = delete;
    virtual ~MTextConverter() = default;

    /// The whole call text. Throws an MString for an unclosed delimiter (XF0002)
    /// or a file that cannot be embedded (XF0001).
    MString convert();

    /// The literal of the target language that spells the text, every byte escaped.
    MString makeLiteral(const MString& mstrText) const;

    /// The literal of the named file's content; trims the name in place. Throws XF0001.
    MString embedFile(MString& mstrName) const;

protected:
    /// 1 after a literal and a delimited piece, 0 once the last literal is appended.
    [[nodiscard]] int convertNextPiece();

    const MString& m_mstrText;
    const char* const& m_pszOption;
    MString m_mstrCall;
    MString m_mstrExpressionBegin;
    MString m_mstrExpressionEnd;
    MString m_mstrFileBegin;
    MString m_mstrFileEnd;
    MString m_mstrPrefix;
    MString m_mstrSuffix;
    unsigned m_nLineWidth = 70;
    int m_nPosition = 0;
    int m_nCloseLength = 0;
    int m_nOpenLength = 0;
};

#endif  // XVANTOR_ENGINE_MTEXTCONVERTER_H
