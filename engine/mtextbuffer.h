// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MTEXTBUFFER_H
#define XVANTOR_ENGINE_MTEXTBUFFER_H

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "core/mstring.h"

/// An MString that is written into where it lies. Literals are escaped straight into
/// the output's spare room and parts of it are cut off once written out, which the
/// shipped interface cannot do without a copy of the text each time.
class MTextBuffer : public MString {
public:
    /// At least liMore writable bytes past the end, which the length does not count
    /// until grow() says how many of them were used. Growth is geometric.
    char* room(unsigned long liMore) {
        if (liMore > m_liCapacity - m_liLength) {
            if (liMore > static_cast<unsigned long>(-1) / 2 - m_liLength)
                throw std::bad_alloc();
            unsigned long liCapacity = m_liCapacity + m_liCapacity / 2;
            if (liCapacity < m_liLength + liMore)
                liCapacity = m_liLength + liMore;
            void* pGrown = std::realloc(m_pszSourceString, liCapacity);
            if (pGrown == nullptr)
                throw std::bad_alloc();
            m_pszSourceString = static_cast<char*>(pGrown);
            m_liCapacity = liCapacity;
        }
        return m_pszSourceString + m_liLength;
    }
    /// Counts liUsed bytes of the room as text.
    void grow(unsigned long liUsed) { m_liLength += liUsed; }
    void append(const char* pszText, unsigned long liCount) {
        if (liCount == 0)
            return;
        std::memcpy(room(liCount), pszText, liCount);
        m_liLength += liCount;
    }
    /// Empties the text; the buffer is kept for what comes next.
    void clear() { m_liLength = 0; }
    /// Keeps the first liCount bytes.
    void shorten(unsigned long liCount) { m_liLength = liCount; }
    /// Removes the first liCount bytes; the buffer is kept for what comes next.
    void dropFront(unsigned long liCount) {
        std::memmove(m_pszSourceString, m_pszSourceString + liCount, m_liLength - liCount);
        m_liLength -= liCount;
    }
    const char* data() const { return m_pszSourceString; }
    void swap(MTextBuffer& other) {
        std::swap(m_pszSourceString, other.m_pszSourceString);
        std::swap(m_liLength, other.m_liLength);
        std::swap(m_liCapacity, other.m_liCapacity);
    }
};

#endif  // XVANTOR_ENGINE_MTEXTBUFFER_H
