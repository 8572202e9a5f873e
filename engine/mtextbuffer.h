// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MTEXTBUFFER_H
#define XVANTOR_ENGINE_MTEXTBUFFER_H

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "core/mstring.h"

/// The engine's own text, which is written into where it lies. Literals are escaped
/// straight into its spare room and parts of it are cut off once written out, which the
/// shipped MString's interface cannot do without a copy of the text each time.
class MTextBuffer {
public:
    MTextBuffer() = default;
    MTextBuffer(const MTextBuffer&) = delete;
    MTextBuffer& operator=(const MTextBuffer&) = delete;
    ~MTextBuffer() { std::free(m_pszText); }

    /// At least liMore writable bytes past the end, which the length does not count
    /// until grow() says how many of them were used. Growth is geometric.
    char* room(unsigned long liMore) {
        if (liMore > m_liCapacity - m_liLength)
            reserve(liMore);
        return m_pszText + m_liLength;
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
        std::memmove(m_pszText, m_pszText + liCount, m_liLength - liCount);
        m_liLength -= liCount;
    }
    /// The text, not terminated; null while nothing was ever written.
    const char* data() const { return m_pszText; }
    unsigned long length() const { return m_liLength; }
    char operator[](unsigned long i) const { return m_pszText[i]; }
    void swap(MTextBuffer& other) {
        std::swap(m_pszText, other.m_pszText);
        std::swap(m_liLength, other.m_liLength);
        std::swap(m_liCapacity, other.m_liCapacity);
    }
    /// A copy of the text in the shipped string class.
    MString toMString() const {
        return m_liLength == 0 ? MString() : MString(m_pszText, m_liLength);
    }

private:
    void reserve(unsigned long liMore) {
        if (liMore > static_cast<unsigned long>(-1) / 2 - m_liLength)
            throw std::bad_alloc();
        unsigned long liCapacity = m_liCapacity + m_liCapacity / 2;
        if (liCapacity < m_liLength + liMore)
            liCapacity = m_liLength + liMore;
        void* pGrown = std::realloc(m_pszText, liCapacity);
        if (pGrown == nullptr)
            throw std::bad_alloc();
        m_pszText = static_cast<char*>(pGrown);
        m_liCapacity = liCapacity;
    }

    char* m_pszText = nullptr;
    unsigned long m_liLength = 0;
    unsigned long m_liCapacity = 0;
};

#endif  // XVANTOR_ENGINE_MTEXTBUFFER_H
