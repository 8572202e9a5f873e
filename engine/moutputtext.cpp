#include "engine/moutputtext.h"

#include "engine/mbackgroundwriter.h"
#include "engine/mtextsearch.h"

namespace {

// The frame pass looks at the byte before the keyword, so the bytes kept after a
// flush are the keyword's length: enough for one that continues in the next bytes,
// and for the byte before it.
const unsigned long liKeywordLength = 5;

}  // namespace

void MOutputText::flush() {
    if (m_bFinal) {
        writeFront(m_kept.length());
    } else if (!m_bHoldsKeyword) {
        static const MString mstrKeyword("frame");
        const int nKeyword = findText(m_kept, mstrKeyword, 0);
        if (nKeyword == -1) {
            if (m_kept.length() > liKeywordLength)
                writeFront(m_kept.length() - liKeywordLength);
        } else {
            // The bytes kept from the last flush hold no keyword that begins there, so
            // one found now begins after the first of them, whose byte before it stays.
            m_bHoldsKeyword = true;
            writeFront(nKeyword == 0 ? 0 : static_cast<unsigned long>(nKeyword) - 1);
        }
    }
    if (m_bHoldsKeyword && m_pReader != nullptr) {
        const unsigned long liBefore = m_kept.length();
        m_pReader->readKept();
        m_liGone += liBefore - m_kept.length();
    }
    // Text the reader leaves waits for more (a keyword whose brace has not come): it
    // must grow by its own size before it is read again, so that a wait over hundreds
    // of megabytes reads them a bounded number of times.
    const unsigned long liKept = m_kept.length();
    m_liNextFlush = liKept + (liKept > m_liFlushBytes ? liKept : m_liFlushBytes);
}

void MOutputText::writeFront(unsigned long liCount) {
    if (liCount == 0)
        return;
    // The written part is handed over whole and the bytes after it start the other
    // buffer, once the writer is done with that one.
    m_pWriter->wait();
    m_written.swap(m_kept);
    m_kept.clear();
    m_kept.append(m_written.data() + liCount, m_written.length() - liCount);
    m_pWriter->write(m_written.data(), liCount);
    m_liGone += liCount;
}
