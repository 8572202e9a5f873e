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
    static const MString mstrKeyword("frame");
    const int nKeyword = findText(m_kept, mstrKeyword, 0);
    if (m_kept.length() <= liKeywordLength && nKeyword == -1)
        return;
    unsigned long liFinal = m_kept.length() - liKeywordLength;
    if (nKeyword != -1) {
        // The bytes kept from the last flush hold no keyword that begins there, so one
        // found now begins after the first of them, whose byte before it stays.
        m_bHoldsKeyword = true;
        liFinal = nKeyword == 0 ? 0 : static_cast<unsigned long>(nKeyword) - 1;
    }
    // The written part is handed over whole and the few bytes after it start the
    // other buffer, once the writer is done with that one.
    m_pWriter->wait();
    m_written.swap(m_kept);
    m_kept.dropFront(m_kept.length());
    m_kept.append(m_written.data() + liFinal, m_written.length() - liFinal);
    m_pWriter->write(m_written.data(), liFinal);
    m_liWritten += liFinal;
}
