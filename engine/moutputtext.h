#ifndef XVANTOR_ENGINE_MOUTPUTTEXT_H
#define XVANTOR_ENGINE_MOUTPUTTEXT_H

#include <cstring>

#include "core/mstring.h"
#include "engine/mtextbuffer.h"

class MBackgroundWriter;

/// Takes finished text off the front of kept text that holds "frame".
class MKeptTextReader {
public:
    virtual ~MKeptTextReader() = default;
    /// Reads what it can of the kept text, which more text may follow.
    virtual void readKept() = 0;
};

/// A text of a pass as it is made, written out in pieces once given a writer, so that an
/// output many times the input's size never has to lie in memory whole.
///
/// The first pass's text is written out for as long as it holds no "frame": the frame
/// pass copies everything before that word's first occurrence unchanged. From there on
/// a reader, the frame pass, takes over each time the text has grown by a piece. The
/// frame pass's own text is final and is written out whole.
class MOutputText {
public:
    static constexpr unsigned long sm_liFlushBytes = 1UL << 20;

    /// Every byte is kept until streamInto() names a writer.
    explicit MOutputText(bool bFinal = false) : m_bFinal(bFinal) {}
    MOutputText(const MOutputText&) = delete;
    MOutputText& operator=(const MOutputText&) = delete;
    virtual ~MOutputText() = default;

    void append(const char* pszText, unsigned long liCount) {
        // A long stretch of input code goes in piece by piece, so that no more than a
        // piece of it waits in memory to be written.
        while (liCount > 0) {
            const unsigned long liPiece =
                m_pWriter != nullptr && liCount > m_liFlushBytes ? m_liFlushBytes : liCount;
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

    /// From now on, text that can no longer change is handed to the writer, and a reader
    /// is called for text that holds "frame". Both are borrowed; a null writer keeps every
    /// byte again. Before the writer's file is touched otherwise, it must be waited for.
    void streamInto(MBackgroundWriter* pWriter, MKeptTextReader* pReader = nullptr) {
        m_pWriter = pWriter;
        m_pReader = pReader;
    }
    /// How much text is gathered before it is looked at and written out. Tests make it
    /// small, to cross many of those points in a short text.
    void setFlushBytes(unsigned long liFlushBytes) {
        m_liFlushBytes = m_liNextFlush = liFlushBytes;
    }
    /// Every byte appended so far, kept or not.
    unsigned long length() const { return m_liGone + m_kept.length(); }
    /// The bytes not written out: all of them without a writer. When bytes were written
    /// out, the kept text starts at the byte before the first "frame", if there is one,
    /// and a reader may have taken text off its front since.
    MTextBuffer& kept() { return m_kept; }
    /// Whether a "frame" was seen in text that was looked at.
    bool holdsKeyword() const { return m_bHoldsKeyword; }

protected:
    void flushIfFull() {
        if (m_pWriter != nullptr && m_kept.length() >= m_liNextFlush)
            flush();
    }
    void flush();

    /// Hands the first liCount kept bytes to the writer.
    void writeFront(unsigned long liCount);

    MBackgroundWriter* m_pWriter = nullptr;
    MKeptTextReader* m_pReader = nullptr;
    MTextBuffer m_kept;
    MTextBuffer m_written;  // what the writer is writing; swapped with m_kept
    unsigned long m_liFlushBytes = sm_liFlushBytes;
    unsigned long m_liNextFlush = sm_liFlushBytes;  // the kept length that calls flush()
    unsigned long m_liGone = 0;                     // written out, or taken off by the reader
    bool m_bFinal;
    bool m_bHoldsKeyword = false;
};

#endif  // XVANTOR_ENGINE_MOUTPUTTEXT_H
