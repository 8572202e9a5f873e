#ifndef XVANTOR_ENGINE_MOUTPUTTEXT_H
#define XVANTOR_ENGINE_MOUTPUTTEXT_H

#include "core/mstring.h"
#include "engine/mtextbuffer.h"

class MBackgroundWriter;

/// The first pass's text as it is made. Given a file, the text is written out as it
/// grows for as long as it holds no "frame": the frame pass copies everything before
/// that word's first occurrence unchanged, so only the rest must wait for it. An output
/// many times the input's size then never has to lie in memory whole.
class MOutputText {
public:
    static constexpr unsigned long sm_liFlushBytes = 1UL << 20;

    /// Every byte is kept until streamInto() names a writer.
    MOutputText() = default;
    MOutputText(const MOutputText&) = delete;
    MOutputText& operator=(const MOutputText&) = delete;
    virtual ~MOutputText() = default;

    void append(const char* pszText, unsigned long liCount) {
        m_kept.append(pszText, liCount);
        flushIfFull();
    }
    MOutputText& operator+=(const MString& mstrText) {
        append(&mstrText[0], mstrText.length());
        return *this;
    }
    /// Room for at most liMost bytes, of which grow() then takes what was written.
    char* room(unsigned long liMost) { return m_kept.room(liMost); }
    void grow(unsigned long liUsed) {
        m_kept.grow(liUsed);
        flushIfFull();
    }

    /// From now on, text that can no longer change is handed to the writer, which is
    /// borrowed; null keeps every byte again. Before the writer's file is touched
    /// otherwise, the writer must be waited for.
    void streamInto(MBackgroundWriter* pWriter) { m_pWriter = pWriter; }
    /// How much text is gathered before it is looked at and written out. Tests make it
    /// small, to cross many of those points in a short text.
    void setFlushBytes(unsigned long liFlushBytes) { m_liFlushBytes = liFlushBytes; }
    /// Every byte appended so far, written out or not.
    unsigned long length() const { return m_liWritten + m_kept.length(); }
    /// The bytes not written out: all of them without a file. When bytes were written
    /// out, the kept text starts at the byte before the first "frame", if there is one.
    MTextBuffer& kept() { return m_kept; }

protected:
    void flushIfFull() {
        if (m_pWriter != nullptr && !m_bHoldsKeyword && m_kept.length() >= m_liFlushBytes)
            flush();
    }
    void flush();

    MBackgroundWriter* m_pWriter = nullptr;
    MTextBuffer m_kept;
    MTextBuffer m_written;  // what the writer is writing; swapped with m_kept
    unsigned long m_liFlushBytes = sm_liFlushBytes;
    unsigned long m_liWritten = 0;
    bool m_bHoldsKeyword = false;
};

#endif  // XVANTOR_ENGINE_MOUTPUTTEXT_H
