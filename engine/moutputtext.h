// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MOUTPUTTEXT_H
#define XVANTOR_ENGINE_MOUTPUTTEXT_H

#include <cstring>

#include "core/mstring.h"
#include "engine/mtextbuffer.h"
#include "engine/mtextstage.h"

/// The text a pass makes. Once given a next stage, it hands its text on each time it
/// has grown by a piece; without one it keeps every byte.
class MOutputText {
public:
    static constexpr unsigned long sm_liFlushBytes = 1UL << 20;

    MOutputText() = default;
    MOutputText(const MOutputText&) = delete;
    MOutputText& operator=(const MOutputText&) = delete;

    void append(const char* pszText, unsigned long liCount) {
        // A long stretch of input code goes in piece by piece, so that no more than a
        // piece of it waits in memory to be handed on.
        while (liCount > 0) {
            const unsigned long liPiece =
                m_pNext != nullptr && liCount > m_liFlushBytes ? m_liFlushBytes : liCount;
            m_kept.append(pszText, liPiece);
            flushIfFull();
            pszText += liPiece;
            liCount -= liPiece;
        }
    }
    MOutputText& operator+=(const MString& mstrText) {
        append(&mstrText[0], mstrText.length());
        return *this;
    }
    MOutputText& operator+=(const char* pszText) {
        append(pszText, std::strlen(pszText));
        return *this;
    }
    /// Room for at most liMost bytes, of which grow() then takes what was written.
    char* room(unsigned long liMost) { return m_kept.room(liMost); }
    void grow(unsigned long liUsed) {
        m_kept.grow(liUsed);
        flushIfFull();
    }
    /// Takes the first liCount bytes of the text as its own, without a copy when it keeps
    /// nothing yet; the rest of the text stays there.
    void adoptFront(MTextBuffer& text, unsigned long liCount);

    /// From now on, the text is handed to the stage each time it has grown by a piece.
    /// The stage is borrowed; null keeps every byte again.
    void streamInto(MTextStage* pNext) { m_pNext = pNext; }
    /// Hands the stage everything, for good.
    void finish();
    /// How much text is gathered before it is handed on. Tests make it small, to cross
    /// many of those points in a short text.
    void setFlushBytes(unsigned long liFlushBytes) {
        m_liFlushBytes = m_liNextFlush = liFlushBytes;
    }
    /// Every byte appended so far, handed on or not.
    unsigned long length() const { return m_liGone + m_kept.length(); }
    /// The bytes not handed on: all of them without a next stage.
    MTextBuffer& kept() { return m_kept; }

private:
    void flushIfFull() {
        if (m_pNext != nullptr && m_kept.length() >= m_liNextFlush)
            handOn(false);
    }
    void handOn(bool bFinal);

    MTextStage* m_pNext = nullptr;
    MTextBuffer m_kept;
    unsigned long m_liFlushBytes = sm_liFlushBytes;
    unsigned long m_liNextFlush = sm_liFlushBytes;  // the kept length that hands on
    unsigned long m_liGone = 0;                     // taken by the next stage
};

#endif  // XVANTOR_ENGINE_MOUTPUTTEXT_H
