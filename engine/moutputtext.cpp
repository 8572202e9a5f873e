// SPDX-License-Identifier: MIT
#include "engine/moutputtext.h"

void MOutputText::adoptFront(MTextBuffer& text, unsigned long liCount) {
    if (m_kept.length() != 0 || liCount < text.length() / 2) {
        append(text.data(), liCount);
        text.dropFront(liCount);
        return;
    }
    // Most of the text changes hands with its buffer; only its tail is copied back.
    m_kept.swap(text);
    text.clear();
    text.append(m_kept.data() + liCount, m_kept.length() - liCount);
    m_kept.shorten(liCount);
    flushIfFull();
}

void MOutputText::finish() {
    if (m_pNext != nullptr)
        handOn(true);
}

void MOutputText::handOn(bool bFinal) {
    const unsigned long liBefore = m_kept.length();
    m_pNext->take(m_kept, bFinal);
    m_liGone += liBefore - m_kept.length();
    // Text the stage leaves waits for more (a keyword whose brace has not come): it must
    // grow by its own size before it is offered again, so that a wait over hundreds of
    // megabytes reads them a bounded number of times.
    const unsigned long liKept = m_kept.length();
    m_liNextFlush = liKept + (liKept > m_liFlushBytes ? liKept : m_liFlushBytes);
}
