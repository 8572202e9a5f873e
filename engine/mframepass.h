// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MFRAMEPASS_H
#define XVANTOR_ENGINE_MFRAMEPASS_H

#include "engine/mlanguage.h"
#include "engine/moutputtext.h"
#include "engine/mtextstage.h"

/// The second pass: rewrites each "frame Name {" of the block pass's text into a class
/// derived from MVantor, as the text comes, and hands on what is final.
class MFramePass final : public MTextStage {
public:
    /// With bKeepLineBreaks a declaration that spans lines keeps its line breaks.
    MFramePass(const MLanguageTraits& traits, bool bKeepLineBreaks)
        : m_pszClassKeyword(traits.pszClassKeyword),
          m_pszBaseClass(traits.pszBaseClass),
          m_bKeepLineBreaks(bKeepLineBreaks) {}
    MFramePass(const MFramePass&) = delete;
    MFramePass& operator=(const MFramePass&) = delete;

    /// Where the rewritten text goes; without it the text is kept in result().
    void streamInto(MTextStage* pNext) { m_result.streamInto(pNext); }

    /// Rewrites what it can of the text and takes what is done off its front; an
    /// occurrence whose name or brace may lie in text still to come waits for it.
    void take(MTextBuffer& text, bool bFinal) override;
    /// The rewritten text not yet handed on.
    MTextBuffer& result() { return m_result.kept(); }
    /// Hands everything on, for good.
    void finish() { m_result.finish(); }
    void setFlushBytes(unsigned long liFlushBytes) { m_result.setFlushBytes(liFlushBytes); }

private:
    /// True after a keyword was rewritten or passed over; false when the text is done or,
    /// before it is final, when the next keyword needs more of it to be judged.
    bool processNextFrameKeyword(MTextBuffer& text, bool bFinal);
    enum class MVerdict { Rewrite, Reject, Wait };
    /// Where an occurrence of the keyword and what it declares stand in the text.
    struct MDeclaration {
        int nKeyword;
        int nNameStart;  // the name runs to nNameEnd, parentheses included
        int nNameEnd;
        int nBrace;
        bool bParenthesised;
    };
    /// Hands on the text up to where a keyword could still begin.
    void takeTextWithoutKeyword(MTextBuffer& text, bool bFinal);
    /// Whether the occurrence at declaration.nKeyword declares a frame; fills in the rest
    /// of the declaration when it does.
    MVerdict judge(const MTextBuffer& text, bool bFinal, MDeclaration& declaration);
    /// The class head in place of the declaration, up to its brace.
    void rewrite(const MTextBuffer& text, const MDeclaration& declaration);
    /// The first "{" or "(" at or after nFrom, or -1 when the text holds none.
    int nextBrace(const MTextBuffer& text, int nFrom);

    const char* m_pszClassKeyword;  // stands in place of the frame keyword
    const char* m_pszBaseClass;     // stands between the frame's name and its brace
    bool m_bKeepLineBreaks;
    MOutputText m_result;
    int m_nPosition = 0;  // in the text being taken; what lies before it is handed on
    char m_cBefore = 0;   // the byte before the text, which a keyword at its start follows
    // What the last search for the next "{" or "(" saw: later occurrences reuse it, so
    // rejected words cost no rescan.
    int m_nBraceSearchFrom = -1;
    int m_nBraceScanned = -1;  // none from m_nBraceSearchFrom up to here
    int m_nBraceFound = -1;
};

#endif  // XVANTOR_ENGINE_MFRAMEPASS_H
