////////////////////////////////////////////////////////////////////////////
// mstring.h - string support for frame texts
// Version 2.27, XVantor edition
// SPDX-License-Identifier: MIT-0
//
// MString is a counted byte string: it may hold any byte, NUL included,
// and is terminated only after toCStr(). Generated C++ code builds its
// frame texts with it; XVantor writes this file beside that code.
// Every function is inline, so the file may be included by any number
// of translation units of one program.
////////////////////////////////////////////////////////////////////////////

#ifndef __MSTRING_H
#define __MSTRING_H

#if defined(NO_NAMESPACE)
#include <iostream.h>
#include <string.h>
#include <stdio.h>
#include <stdlib.h>
#ifndef _IOSTREAM_
#define _IOSTREAM_
#endif
#elif defined(__BORLANDC__)
#pragma warn -pia
#include <iostream>
#include <string>
#include <stdio>
#include <stdlib>
#ifndef MSTRING_NO_USING_STD
using namespace std;
#endif
#ifndef __IOSTREAM_H
#define __IOSTREAM_H
#endif
#elif defined(_MSC_VER) && _MSC_VER >= 1100
#pragma warning(disable : 4530)
#include <string.h>
#include <stdio.h>
#include <iostream>
#include <stdlib.h>
#ifndef MSTRING_NO_USING_STD
using namespace std;
#endif
#ifndef _INC_IOSTREAM
#define _INC_IOSTREAM
#endif
#elif defined(_MSC_VER)
#include <iostream.h>
#include <string.h>
#include <stdio.h>
#include <stdlib.h>
#ifndef _IOSTREAM_
#define _IOSTREAM_
#endif
#else
#include <iostream>
#include <string>
#include <stdio.h>
#include <stdlib.h>
#ifndef MSTRING_NO_USING_STD
using namespace std;
#endif
#ifndef _IOSTREAM_H
#define _IOSTREAM_H
#endif
#endif

// Static data members are C++17 inline variables, so that every translation
// unit may define them; an older compiler falls back to one definition, and
// then only one translation unit of a program may include this file.
#if __cplusplus >= 201703L || (defined(_MSVC_LANG) && _MSVC_LANG >= 201703L)
#define MSTRING_INLINE_DATA inline
#define MSTRING_CXX17
#else
#define MSTRING_INLINE_DATA
#endif
#if __cplusplus >= 201103L || (defined(_MSC_VER) && _MSC_VER >= 1900)
#define MSTRING_CXX11
#endif
#ifdef MSTRING_CXX11
#define MSTRING_NULL nullptr
#else
#define MSTRING_NULL 0
#endif

// Where the standard library lives in namespace std, std::string (and from
// C++17 std::string_view) convert to MString and back, every byte kept.
#if !defined(NO_NAMESPACE) && !(defined(_MSC_VER) && _MSC_VER < 1100)
#include <string>
#define MSTRING_STD_STRING
#ifdef MSTRING_CXX17
#include <string_view>
#if defined(__has_include)
#if __has_include(<charconv>)
#include <charconv>
#endif
#endif
#endif
// The stream by its full name, so that this file needs no using directive:
// MSTRING_NO_USING_STD leaves that out, for code whose own names (a global
// count, say) would clash with the standard library's.
typedef std::ostream MStringOstream;
#else
typedef ostream MStringOstream;
#endif

// The widest unsigned integer, in which every integer constructor finds its
// decimal digits.
#ifdef MSTRING_CXX11
typedef unsigned long long MStringWidestUnsigned;
#else
typedef unsigned long MStringWidestUnsigned;
#endif

class MString {
protected:
    static const char* sm_pszID;
    static int sm_nCounter;
    int m_nObjectID;
    char* m_pszSourceString;
    unsigned long m_liLength;
    // Bytes allocated. Appends grow it geometrically, so that a text built
    // piece by piece costs linear time; the spare bytes are never visible.
    unsigned long m_liCapacity;

public:
    MString(const char* psz = "");
    MString(const char* psz, unsigned long liLength);
    MString(int, unsigned long liLength);
    MString(const MString& mstr);
    MString(const int& n);
    MString(const long& n);
    MString(const char& c);
    MString(const float& f);
    MString(const double& d);
    MString(const unsigned& u);
    MString(const long double& ld);
    // Every other integer type prints its decimal digits too, so that size_t,
    // uint64_t and 42UL neither fail to compile nor pick a float.
    MString(const unsigned long& lu);
#ifdef MSTRING_CXX11
    MString(const long long& ll);
    MString(const unsigned long long& llu);
    // The text built so far moves on instead of being copied; the new object
    // still takes a number of its own.
    MString(MString&& mstr);
#endif
#ifdef MSTRING_STD_STRING
    MString(const std::string& str);
#ifdef MSTRING_CXX17
    MString(const std::string_view& sv);
#endif
#endif
    virtual ~MString();

    virtual MString& operator=(const MString& mstr);
    virtual const MString& operator+=(const MString& mstr);
#ifdef MSTRING_CXX11
    // A constant string may stand on the left; a temporary one is appended
    // to in place, so that a chain of + copies no text built so far.
    virtual MString operator+(const MString& mstr) const&;
#else
    virtual MString operator+(const MString& mstr) const;
#endif
    virtual char& operator[](const long& nIndex);
    virtual const char& operator[](const long& nIndex) const;
    virtual int operator==(const MString& mstr) const;
    virtual int operator!=(const MString& mstr) const;
    virtual void printOn(MStringOstream& os) const;
    virtual int isEmpty() const;
    virtual MString getString(const int& nBegin, const int& nEnd) const;
    virtual MString& copy(const char* psz);
    virtual MString& copy(const MString& mstr);
    virtual MString& cat(const MString& mstr);
    virtual MString& concat(const MString& mstr);
    virtual MString& reverse();
    virtual int compare(const MString& mstr) const;
    virtual MString& toCStr();
    virtual MString& toUpper();
    virtual MString& toLower();
    virtual char* getAddress();
    virtual MString& exportToFile(const char* pszName);
    virtual MString& exportToFile(MString& mstrName);
    virtual MString& exportToStream(MStringOstream& os);
    virtual MString& importFromFile(const char* pszName);
    virtual MString& importFromFile(MString mstrName);
    virtual int find(const MString& mstr, const int& nStart = 0) const;
    virtual unsigned long length() const;
    virtual MString getClassID() const;
    virtual MString getObjectID() const;
    virtual MString getClassName() const;
    // A constant or temporary name: the terminator goes onto a copy.
    virtual MString& exportToFile(const MString& mstrName);
#ifdef MSTRING_CXX11
    virtual MString operator+(const MString& mstr) &&;
    virtual MString& operator=(MString&& mstr);
#endif

    // The escapers of values in blocks that escape them write into the text.
    friend class MStringEscape;

protected:
    // Helpers of the constructors, outside the virtual interface.
    void setBytes(const char* pBytes, unsigned long liLength);
    void setDigits(MStringWidestUnsigned liMagnitude, int bNegative);
    void setFixed(double d);
};

MSTRING_INLINE_DATA const char* MString::sm_pszID = "5b2e8c41-7d3a-4f96-b0e2-6a18c9d47f35";
MSTRING_INLINE_DATA int MString::sm_nCounter = 0;

// Byte helpers. The headers chosen above differ in where (and whether)
// memcpy is declared, so it is reached through the compiler where it can be.
// Source and destination may overlap.
inline void mstringCopyBytes(char* pDest, const char* pSource, unsigned long liCount) {
#if defined(__GNUC__)
    if (liCount != 0) __builtin_memmove(pDest, pSource, liCount);
#else
    if (pDest < pSource)
        for (unsigned long i = 0; i < liCount; ++i) pDest[i] = pSource[i];
    else
        for (unsigned long i = liCount; i > 0; --i) pDest[i - 1] = pSource[i - 1];
#endif
}

// Buffers come from malloc, so that a growing string can be reallocated in
// place, and are never of size zero: an empty string still owns a buffer.
// The one exception is a string whose text was moved away: its buffer is
// null, which free and realloc accept, and its length 0.
inline char* mstringAllocate(unsigned long liSize) {
    void* pBuffer = malloc(liSize == 0 ? 1 : liSize);
    if (pBuffer == MSTRING_NULL) throw std::bad_alloc();
    return static_cast<char*>(pBuffer);
}

inline void mstringRelease(char* pBuffer) { free(pBuffer); }

// A null text is taken as the empty one: a template value that is null
// must not bring the program down.
inline unsigned long mstringTextLength(const char* psz) {
    unsigned long liLength = 0;
    if (psz == MSTRING_NULL) return 0;
    while (psz[liLength] != 0) ++liLength;
    return liLength;
}

////////////////////////////////////////////////////////////////////////////
// Construction

// Replaces the buffer by an exactly sized one holding these bytes; the old
// buffer is released only afterwards, so the bytes may lie inside it.
inline void MString::setBytes(const char* pBytes, unsigned long liLength) {
    char* pszNew = mstringAllocate(liLength);
    mstringCopyBytes(pszNew, pBytes, liLength);
    m_pszSourceString = pszNew;
    m_liLength = liLength;
    m_liCapacity = liLength;
}

inline MString::MString(const char* psz) : m_nObjectID(sm_nCounter++) {
    setBytes(psz, mstringTextLength(psz));
}

inline MString::MString(const char* psz, unsigned long liLength) : m_nObjectID(sm_nCounter++) {
    setBytes(psz, liLength);
}

inline MString::MString(int, unsigned long liLength) : m_nObjectID(sm_nCounter++) {
    m_liLength = liLength;
    m_liCapacity = liLength;
    m_pszSourceString = mstringAllocate(m_liCapacity);
}

inline MString::MString(const MString& mstr) : m_nObjectID(sm_nCounter++) {
    setBytes(mstr.m_pszSourceString, mstr.m_liLength);
}

// The digits are written backwards into a buffer wide enough for any
// integer: the same text as "%d", "%ld" and "%u" give, without parsing a
// format at run time.
inline void MString::setDigits(MStringWidestUnsigned liMagnitude, int bNegative) {
    char achDigits[3 * sizeof(MStringWidestUnsigned) + 2];
    char* pEnd = achDigits + sizeof achDigits;
    char* p = pEnd;
    do {
        *--p = static_cast<char>('0' + static_cast<int>(liMagnitude % 10));
        liMagnitude /= 10;
    } while (liMagnitude != 0);
    if (bNegative) *--p = '-';
    setBytes(p, static_cast<unsigned long>(pEnd - p));
}

// The magnitude of a negative value is taken in unsigned arithmetic, so
// that the smallest value of a type needs no larger type.
#define MSTRING_FROM_SIGNED(VALUE)                                                   \
    setDigits(VALUE < 0 ? static_cast<MStringWidestUnsigned>(0) -                    \
                              static_cast<MStringWidestUnsigned>(VALUE)              \
                        : static_cast<MStringWidestUnsigned>(VALUE),                 \
              VALUE < 0)

inline MString::MString(const int& n) : m_nObjectID(sm_nCounter++) { MSTRING_FROM_SIGNED(n); }

inline MString::MString(const long& n) : m_nObjectID(sm_nCounter++) { MSTRING_FROM_SIGNED(n); }

inline MString::MString(const char& c) : m_nObjectID(sm_nCounter++) { setBytes(&c, 1); }

// "%f": six digits after the point. No double has more than 309 digits
// before the point, so the text of any value fits the buffer. std::to_chars
// promises the text of printf in the "C" locale, and is several times faster.
inline void MString::setFixed(double d) {
    char achText[320];
#if defined(MSTRING_CXX17) && defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    std::to_chars_result result = std::to_chars(achText, achText + sizeof achText, d,
                                                std::chars_format::fixed, 6);
    if (result.ec == std::errc()) {
        setBytes(achText, static_cast<unsigned long>(result.ptr - achText));
        return;
    }
#endif
    int nWritten = snprintf(achText, sizeof achText, "%f", d);
    if (nWritten < 0) nWritten = 0;
    if (static_cast<unsigned long>(nWritten) >= sizeof achText)
        nWritten = static_cast<int>(sizeof achText) - 1;
    setBytes(achText, static_cast<unsigned long>(nWritten));
}

inline MString::MString(const float& f) : m_nObjectID(sm_nCounter++) {
    setFixed(static_cast<double>(f));
}

inline MString::MString(const double& d) : m_nObjectID(sm_nCounter++) { setFixed(d); }

inline MString::MString(const unsigned& u) : m_nObjectID(sm_nCounter++) { setDigits(u, 0); }

inline MString::MString(const long double& ld) : m_nObjectID(sm_nCounter++) {
    int nNeeded = snprintf(MSTRING_NULL, 0, "%Lf", ld);
    if (nNeeded < 0) nNeeded = 0;
    m_liLength = static_cast<unsigned long>(nNeeded);
    m_liCapacity = m_liLength + 1;
    m_pszSourceString = mstringAllocate(m_liCapacity);
    snprintf(m_pszSourceString, m_liCapacity, "%Lf", ld);
}

inline MString::MString(const unsigned long& lu) : m_nObjectID(sm_nCounter++) {
    setDigits(lu, 0);
}

#ifdef MSTRING_CXX11
inline MString::MString(const long long& ll) : m_nObjectID(sm_nCounter++) {
    MSTRING_FROM_SIGNED(ll);
}

inline MString::MString(const unsigned long long& llu) : m_nObjectID(sm_nCounter++) {
    setDigits(llu, 0);
}

inline MString::MString(MString&& mstr)
    : m_nObjectID(sm_nCounter++),
      m_pszSourceString(mstr.m_pszSourceString),
      m_liLength(mstr.m_liLength),
      m_liCapacity(mstr.m_liCapacity) {
    mstr.m_pszSourceString = MSTRING_NULL;
    mstr.m_liLength = 0;
    mstr.m_liCapacity = 0;
}
#endif

#undef MSTRING_FROM_SIGNED

#ifdef MSTRING_STD_STRING
inline MString::MString(const std::string& str) : m_nObjectID(sm_nCounter++) {
    setBytes(str.data(), static_cast<unsigned long>(str.size()));
}

#ifdef MSTRING_CXX17
inline MString::MString(const std::string_view& sv) : m_nObjectID(sm_nCounter++) {
    setBytes(sv.data(), static_cast<unsigned long>(sv.size()));
}
#endif
#endif

inline MString::~MString() {
    --sm_nCounter;
    mstringRelease(m_pszSourceString);
}

////////////////////////////////////////////////////////////////////////////
// Operators

inline MString& MString::operator=(const MString& mstr) { return copy(mstr); }

inline const MString& MString::operator+=(const MString& mstr) { return cat(mstr); }

#ifdef MSTRING_CXX11
inline MString MString::operator+(const MString& mstr) const& {
    MString mstrResult(*this);
    mstrResult += mstr;
    return mstrResult;
}

inline MString MString::operator+(const MString& mstr) && {
    cat(mstr);
    return MString(static_cast<MString&&>(*this));
}

// The target keeps its object number, as with every assignment; it takes
// over the other string's buffer, and the other is left empty.
inline MString& MString::operator=(MString&& mstr) {
    if (&mstr == this) return *this;
    mstringRelease(m_pszSourceString);
    m_pszSourceString = mstr.m_pszSourceString;
    m_liLength = mstr.m_liLength;
    m_liCapacity = mstr.m_liCapacity;
    mstr.m_pszSourceString = MSTRING_NULL;
    mstr.m_liLength = 0;
    mstr.m_liCapacity = 0;
    return *this;
}
#else
inline MString MString::operator+(const MString& mstr) const {
    MString mstrResult(*this);
    mstrResult += mstr;
    return mstrResult;
}
#endif

inline char& MString::operator[](const long& nIndex) { return m_pszSourceString[nIndex]; }

inline const char& MString::operator[](const long& nIndex) const {
    return m_pszSourceString[nIndex];
}

inline int MString::operator==(const MString& mstr) const { return compare(mstr); }

inline int MString::operator!=(const MString& mstr) const { return compare(mstr) ? 0 : 1; }

////////////////////////////////////////////////////////////////////////////
// Text operations

inline void MString::printOn(MStringOstream& os) const {
    char* pszText = new char[m_liLength + 1];
    for (unsigned long i = 0; i < m_liLength; ++i)
        pszText[i] = m_pszSourceString[i] == 0 ? ' ' : m_pszSourceString[i];
    pszText[m_liLength] = 0;
    os << pszText;
    delete[] pszText;
}

inline int MString::isEmpty() const { return m_liLength == 0 ? 1 : 0; }

// Out-of-range positions are clamped and an end before the begin gives the
// empty string, so no call can read outside the buffer.
inline MString MString::getString(const int& nBegin, const int& nEnd) const {
    long nFrom = nBegin < 0 ? 0 : nBegin;
    long nTo = nEnd < 0 ? 0 : nEnd;
    if (static_cast<unsigned long>(nFrom) > m_liLength) nFrom = static_cast<long>(m_liLength);
    if (static_cast<unsigned long>(nTo) > m_liLength) nTo = static_cast<long>(m_liLength);
    if (nTo < nFrom) nTo = nFrom;
    return MString(m_pszSourceString + nFrom, static_cast<unsigned long>(nTo - nFrom));
}

// A text that fits the buffer is moved into it, which keeps an assigned
// frame text from allocating each time; a larger one goes into a new buffer
// that is filled before the old one is released. Either way the text may lie
// inside this string's own buffer.
inline MString& MString::copy(const char* psz) {
    unsigned long liLength = mstringTextLength(psz);
    if (m_pszSourceString != MSTRING_NULL && liLength <= m_liCapacity) {
        mstringCopyBytes(m_pszSourceString, psz, liLength);
        m_liLength = liLength;
        return *this;
    }
    char* pszOld = m_pszSourceString;
    setBytes(psz, liLength);
    mstringRelease(pszOld);
    return *this;
}

inline MString& MString::copy(const MString& mstr) {
    if (&mstr == this) return *this;
    if (m_pszSourceString != MSTRING_NULL && mstr.m_liLength <= m_liCapacity) {
        mstringCopyBytes(m_pszSourceString, mstr.m_pszSourceString, mstr.m_liLength);
        m_liLength = mstr.m_liLength;
        return *this;
    }
    char* pszOld = m_pszSourceString;
    setBytes(mstr.m_pszSourceString, mstr.m_liLength);
    mstringRelease(pszOld);
    return *this;
}

// The other string's bytes are copied before the old buffer is released, so
// a string may be appended to itself.
inline MString& MString::cat(const MString& mstr) {
    unsigned long liAdded = mstr.m_liLength;
    if (liAdded > static_cast<unsigned long>(-1) - m_liLength) throw std::bad_alloc();
    unsigned long liTotal = m_liLength + liAdded;
    if (liTotal > m_liCapacity) {
        unsigned long liCapacity = m_liCapacity + m_liCapacity / 2;
        if (liCapacity < liTotal || liCapacity < m_liCapacity) liCapacity = liTotal;
        // realloc moves a large buffer by remapping it, without copying it; a
        // string appended to itself reads its bytes from wherever they went.
        void* pGrown = realloc(m_pszSourceString, liCapacity);
        if (pGrown == MSTRING_NULL) throw std::bad_alloc();
        m_pszSourceString = static_cast<char*>(pGrown);
        const char* pszAdded = &mstr == this ? m_pszSourceString : mstr.m_pszSourceString;
        mstringCopyBytes(m_pszSourceString + m_liLength, pszAdded, liAdded);
        m_liCapacity = liCapacity;
    } else {
        mstringCopyBytes(m_pszSourceString + m_liLength, mstr.m_pszSourceString, liAdded);
    }
    m_liLength = liTotal;
    return *this;
}

inline MString& MString::concat(const MString& mstr) { return cat(mstr); }

inline MString& MString::reverse() {
    for (unsigned long i = 0; i < m_liLength / 2; ++i) {
        char c = m_pszSourceString[i];
        m_pszSourceString[i] = m_pszSourceString[m_liLength - 1 - i];
        m_pszSourceString[m_liLength - 1 - i] = c;
    }
    return *this;
}

// An equality test, not an ordering.
inline int MString::compare(const MString& mstr) const {
    if (m_liLength != mstr.m_liLength) return 0;
    for (unsigned long i = 0; i < m_liLength; ++i)
        if (m_pszSourceString[i] != mstr.m_pszSourceString[i]) return 0;
    return 1;
}

// The terminator lies beyond the length: it is not part of the text.
inline MString& MString::toCStr() {
    if (m_liCapacity <= m_liLength) {
        char* pszNew = mstringAllocate(m_liLength + 1);
        mstringCopyBytes(pszNew, m_pszSourceString, m_liLength);
        mstringRelease(m_pszSourceString);
        m_pszSourceString = pszNew;
        m_liCapacity = m_liLength + 1;
    }
    m_pszSourceString[m_liLength] = 0;
    return *this;
}

// Bytes compare as signed values, so bytes from 0x80 on never change.
inline MString& MString::toUpper() {
    for (unsigned long i = 0; i < m_liLength; ++i) {
        signed char c = static_cast<signed char>(m_pszSourceString[i]);
        if (c > 0x60 && c < 0x7b) m_pszSourceString[i] = static_cast<char>(c - 32);
    }
    return *this;
}

inline MString& MString::toLower() {
    for (unsigned long i = 0; i < m_liLength; ++i) {
        signed char c = static_cast<signed char>(m_pszSourceString[i]);
        if (c > 0x40 && c < 0x5b) m_pszSourceString[i] = static_cast<char>(c + 32);
    }
    return *this;
}

inline char* MString::getAddress() { return m_pszSourceString; }

////////////////////////////////////////////////////////////////////////////
// Files and streams

// A write that falls short or a close that fails (a full disk) is reported
// like a failed open: the file must not pass for complete.
inline MString& MString::exportToFile(const char* pszName) {
    FILE* pFile = pszName == MSTRING_NULL ? MSTRING_NULL : fopen(pszName, "wb");
    if (pFile == MSTRING_NULL) throw "can not create the file";
    unsigned long liWritten = m_liLength == 0 ? 0 : fwrite(m_pszSourceString, 1, m_liLength, pFile);
    int nClosed = fclose(pFile);
    if (liWritten != m_liLength || nClosed != 0) throw "can not create the file";
    return *this;
}

inline MString& MString::exportToFile(MString& mstrName) {
    mstrName.toCStr();
    return exportToFile(mstrName.getAddress());
}

inline MString& MString::exportToFile(const MString& mstrName) {
    MString mstrTerminated(mstrName);
    mstrTerminated.toCStr();
    return exportToFile(mstrTerminated.getAddress());
}

inline MString& MString::exportToStream(MStringOstream& os) {
    char* pszText = new char[m_liLength + 1];
    mstringCopyBytes(pszText, m_pszSourceString, m_liLength);
    pszText[m_liLength] = 0;
    os << pszText;
    delete[] pszText;
    return *this;
}

// The content is replaced only once every byte has been read: a file that
// cannot be sized or read whole (a directory, a pipe, a short read) leaves
// the string as it was.
inline MString& MString::importFromFile(const char* pszName) {
    FILE* pFile = pszName == MSTRING_NULL ? MSTRING_NULL : fopen(pszName, "rb");
    if (pFile == MSTRING_NULL) throw "can not open the file";
    long nStart = ftell(pFile);
    long nSize = -1;
    if (nStart >= 0 && fseek(pFile, 0, SEEK_END) == 0) nSize = ftell(pFile);
    if (nSize < 0 || fseek(pFile, nStart, SEEK_SET) != 0) {
        fclose(pFile);
        throw "can not open the file";
    }
    // A directory opens and reports a size, but yields no byte: try one before
    // allocating for it.
    if (nSize > nStart && (fgetc(pFile) == EOF || fseek(pFile, nStart, SEEK_SET) != 0)) {
        fclose(pFile);
        throw "can not open the file";
    }
    unsigned long liSize = static_cast<unsigned long>(nSize - nStart);
    char* pszNew = static_cast<char*>(malloc(liSize == 0 ? 1 : liSize));
    unsigned long liRead = 0;
    if (pszNew != MSTRING_NULL && liSize > 0) liRead = fread(pszNew, 1, liSize, pFile);
    fclose(pFile);
    if (pszNew == MSTRING_NULL || liRead != liSize) {
        free(pszNew);
        throw "can not open the file";
    }
    mstringRelease(m_pszSourceString);
    m_pszSourceString = pszNew;
    m_liLength = liSize;
    m_liCapacity = liSize;
    return *this;
}

inline MString& MString::importFromFile(MString mstrName) {
    mstrName.toCStr();
    return importFromFile(mstrName.getAddress());
}

////////////////////////////////////////////////////////////////////////////
// Search and identity

// The first occurrence at or after nStart; -1 when there is none, when the
// start lies outside the string, and when a match would begin beyond the
// largest int. An empty text is found at the start itself.
inline int MString::find(const MString& mstr, const int& nStart) const {
    if (nStart < 0 || static_cast<unsigned long>(nStart) >= m_liLength) return -1;
    unsigned long liNeeded = mstr.m_liLength;
    if (liNeeded == 0) return nStart;
    if (liNeeded > m_liLength) return -1;
    const char* pszText = m_pszSourceString;
    const char* pszNeedle = mstr.m_pszSourceString;
    unsigned long liLast = m_liLength - liNeeded;
    const unsigned long liLargest = 2147483647UL;
    if (liLast > liLargest) liLast = liLargest;
    for (unsigned long j = static_cast<unsigned long>(nStart); j <= liLast; ++j) {
        if (pszText[j] != pszNeedle[0]) continue;
        unsigned long i = 1;
        while (i < liNeeded && pszText[j + i] == pszNeedle[i]) ++i;
        if (i == liNeeded) return static_cast<int>(j);
    }
    return -1;
}

inline unsigned long MString::length() const { return m_liLength; }

inline MString MString::getClassID() const { return MString(sm_pszID); }

inline MString MString::getObjectID() const { return getClassID() + MString(m_nObjectID); }

inline MString MString::getClassName() const { return MString("MString"); }

////////////////////////////////////////////////////////////////////////////
// Free functions

inline MStringOstream& operator<<(MStringOstream& os, const MString& mstr) {
    mstr.printOn(os);
    return os;
}

inline MString operator+(const char* psz, const MString& mstr) { return MString(psz) + mstr; }

#ifdef MSTRING_STD_STRING
// Every byte, NUL included.
inline std::string toStdString(const MString& mstr) {
    if (mstr.length() == 0) return std::string();
    return std::string(&mstr[0], mstr.length());
}
#endif

template <class Collection>
inline MString toMString(const Collection& collection) {
    MString mstrResult;
    for (typename Collection::const_iterator it = collection.begin(); it != collection.end(); ++it)
        mstrResult += MString(*it);
    return mstrResult;
}

////////////////////////////////////////////////////////////////////////////
// Escapers of values in blocks with FLAG_ESCAPE
//
// Generated code calls the escaper that the value's place asks for, such as
// MStringEscape::escapeHtml(value). A text is escaped straight into the
// block's text, without a copy of its own; any other value is converted as
// MString converts it, a number in the places of a JS or JSON value becoming
// that number (null when it is none, such as inf). The escapers work on the
// bytes: every byte from 0x80 on passes unchanged, except where a URL needs
// it percent-encoded.

// A text waiting to be escaped into the string on its left.
struct MStringEscaped {
    const char* m_pBytes;
    unsigned long m_liLength;
    int m_nEscaper;
    int m_bNull;
};

#ifdef MSTRING_STD_STRING
#ifdef MSTRING_CXX17
#define MSTRING_ESCAPER_STD(NAME, ESCAPER)                                              \
    static MStringEscaped NAME(const std::string& str) {                              \
        return bytes(str.data(), static_cast<unsigned long>(str.size()), ESCAPER);    \
    }                                                                                 \
    static MStringEscaped NAME(const std::string_view& sv) {                          \
        return bytes(sv.data(), static_cast<unsigned long>(sv.size()), ESCAPER);      \
    }
#else
#define MSTRING_ESCAPER_STD(NAME, ESCAPER)                                              \
    static MStringEscaped NAME(const std::string& str) {                              \
        return bytes(str.data(), static_cast<unsigned long>(str.size()), ESCAPER);    \
    }
#endif
#else
#define MSTRING_ESCAPER_STD(NAME, ESCAPER)
#endif

#define MSTRING_ESCAPER(NAME, ESCAPER)                                                  \
    static MStringEscaped NAME(const char* psz) { return bytes(psz, ESCAPER); }        \
    static MStringEscaped NAME(char* psz) { return bytes(psz, ESCAPER); }              \
    static MStringEscaped NAME(const MString& mstr) {                                 \
        return bytes(mstr.m_pszSourceString, mstr.m_liLength, ESCAPER);               \
    }                                                                                 \
    MSTRING_ESCAPER_STD(NAME, ESCAPER)                                                \
    template <class T>                                                                \
    static MString NAME(const T& value) {                                             \
        return escaped(MString(value), ESCAPER);                                      \
    }

#ifdef MSTRING_CXX11
#define MSTRING_NUMBER_QUOTER_CXX11(NAME)                                               \
    static MString NAME(const long long& n) { return number(MString(n)); }            \
    static MString NAME(const unsigned long long& n) { return number(MString(n)); }
#else
#define MSTRING_NUMBER_QUOTER_CXX11(NAME)
#endif

// Numbers stay numbers in the places of a JS or JSON value.
#define MSTRING_NUMBER_QUOTER(NAME)                                                     \
    static MString NAME(const int& n) { return MString(n); }                          \
    static MString NAME(const long& n) { return MString(n); }                         \
    static MString NAME(const unsigned& n) { return MString(n); }                     \
    static MString NAME(const unsigned long& n) { return MString(n); }                \
    static MString NAME(const short& n) { return MString(static_cast<int>(n)); }      \
    static MString NAME(const unsigned short& n) { return MString(static_cast<int>(n)); } \
    static MString NAME(const signed char& n) { return MString(static_cast<int>(n)); } \
    static MString NAME(const unsigned char& n) { return MString(static_cast<int>(n)); } \
    static MString NAME(const bool& b) { return MString(b ? "true" : "false"); }      \
    static MString NAME(const float& f) { return number(MString(f)); }                \
    static MString NAME(const double& d) { return number(MString(d)); }               \
    static MString NAME(const long double& ld) { return number(MString(ld)); }        \
    MSTRING_NUMBER_QUOTER_CXX11(NAME)

// A number's text needs no escape in any place: it goes in as it is.
#define MSTRING_NUMBER_TEXT(NAME)                                                       \
    static MString NAME(const int& n) { return MString(n); }                          \
    static MString NAME(const long& n) { return MString(n); }                         \
    static MString NAME(const unsigned& n) { return MString(n); }                     \
    static MString NAME(const unsigned long& n) { return MString(n); }                \
    static MString NAME(const double& d) { return MString(d); }

class MStringEscape {
public:
    enum {
        Html, HtmlUnquoted, QuoteHtml, Url, UrlPart,
        JsString, QuoteJs, QuoteJsAttribute, JsonString, QuoteJson
    };

    MSTRING_ESCAPER(escapeHtml, Html)
    MSTRING_ESCAPER(escapeHtmlUnquoted, HtmlUnquoted)
    MSTRING_ESCAPER(quoteHtml, QuoteHtml)
    MSTRING_ESCAPER(escapeUrl, Url)
    MSTRING_ESCAPER(escapeUrlPart, UrlPart)
    MSTRING_ESCAPER(escapeJsString, JsString)
    MSTRING_ESCAPER(quoteJs, QuoteJs)
    MSTRING_ESCAPER(quoteJsAttribute, QuoteJsAttribute)
    MSTRING_ESCAPER(escapeJsonString, JsonString)
    MSTRING_ESCAPER(quoteJson, QuoteJson)
    MSTRING_NUMBER_TEXT(escapeHtml)
    MSTRING_NUMBER_TEXT(escapeHtmlUnquoted)
    MSTRING_NUMBER_TEXT(quoteHtml)
    MSTRING_NUMBER_TEXT(escapeUrl)
    MSTRING_NUMBER_TEXT(escapeUrlPart)
    MSTRING_NUMBER_TEXT(escapeJsString)
    MSTRING_NUMBER_TEXT(escapeJsonString)
    MSTRING_NUMBER_QUOTER(quoteJs)
    MSTRING_NUMBER_QUOTER(quoteJsAttribute)
    MSTRING_NUMBER_QUOTER(quoteJson)

    // Appends the bytes, escaped, to the string; a null text is JS's and
    // JSON's null where a value stands, and empty elsewhere.
    static void appendTo(MString& mstrTo, const MStringEscaped& value);

private:
    static MStringEscaped bytes(const char* pBytes, unsigned long liLength, int nEscaper) {
        MStringEscaped value = {pBytes, liLength, nEscaper, 0};
        return value;
    }
    static MStringEscaped bytes(const char* psz, int nEscaper) {
        MStringEscaped value = {psz, mstringTextLength(psz), nEscaper, psz == MSTRING_NULL};
        return value;
    }
    static MString escaped(const MString& mstr, int nEscaper) {
        MString mstrResult;
        appendTo(mstrResult, bytes(mstr.m_pszSourceString, mstr.m_liLength, nEscaper));
        return mstrResult;
    }
    static MString number(const MString& mstr);
    static char* write(char* pOut, const MStringEscaped& value);
    static char* writeText(char* pOut, const char* psz) {
        while (*psz != 0) *pOut++ = *psz++;
        return pOut;
    }
    static char* writeHex(char* pOut, const char* pszHead, unsigned char c) {
        static const char achDigits[] = "0123456789ABCDEF";
        pOut = writeText(pOut, pszHead);
        *pOut++ = achDigits[c >> 4];
        *pOut++ = achDigits[c & 15];
        return pOut;
    }
    static int isSafeUrl(const char* pBytes, unsigned long liLength);
    static unsigned long unicodeSpace(const unsigned char* p, unsigned long liLeft,
                                      unsigned long& liSize);
    // The headers chosen above differ in whether they declare strchr.
    static int holds(const char* psz, unsigned char c) {
        while (*psz != 0)
            if (static_cast<unsigned char>(*psz++) == c) return 1;
        return 0;
    }
};

#undef MSTRING_ESCAPER
#undef MSTRING_ESCAPER_STD
#undef MSTRING_NUMBER_QUOTER
#undef MSTRING_NUMBER_TEXT
#undef MSTRING_NUMBER_QUOTER_CXX11

// Every byte becomes at most six, so the room is reserved once.
inline void MStringEscape::appendTo(MString& mstrTo, const MStringEscaped& value) {
    const unsigned long liMost = static_cast<unsigned long>(-1);
    if (value.m_liLength > (liMost - 16) / 6 - mstrTo.m_liLength) throw std::bad_alloc();
    unsigned long liNeeded = mstrTo.m_liLength + 6 * value.m_liLength + 16;
    if (liNeeded > mstrTo.m_liCapacity) {
        unsigned long liCapacity = mstrTo.m_liCapacity + mstrTo.m_liCapacity / 2;
        if (liCapacity < liNeeded) liCapacity = liNeeded;
        void* pGrown = realloc(mstrTo.m_pszSourceString, liCapacity);
        if (pGrown == MSTRING_NULL) throw std::bad_alloc();
        mstrTo.m_pszSourceString = static_cast<char*>(pGrown);
        mstrTo.m_liCapacity = liCapacity;
    }
    char* pStart = mstrTo.m_pszSourceString;
    char* pEnd = write(pStart + mstrTo.m_liLength, value);
    mstrTo.m_liLength = static_cast<unsigned long>(pEnd - pStart);
}

// A JSON number as C++ prints it, or null for the infinities and NaN.
inline MString MStringEscape::number(const MString& mstr) {
    const char* p = mstr.m_pszSourceString;
    const char* pEnd = p + mstr.m_liLength;
    if (p != pEnd && *p == '-') ++p;
    if (p == pEnd || *p < '0' || *p > '9') return MString("null");
    return mstr;
}

// Only http, https and mailto, or a URL without a scheme; browsers drop
// blanks and control bytes in a scheme.
inline int MStringEscape::isSafeUrl(const char* pBytes, unsigned long liLength) {
    static const char* const apszSafe[] = {"http", "https", "mailto"};
    char achScheme[8];
    unsigned long liScheme = 0;
    for (unsigned long i = 0; i < liLength; ++i) {
        unsigned char c = static_cast<unsigned char>(pBytes[i]);
        if (c == '/' || c == '?' || c == '#') return 1;
        if (c == ':') {
            if (liScheme > sizeof achScheme) return 0;
            for (int n = 0; n < 3; ++n) {
                unsigned long j = 0;
                while (j < liScheme && apszSafe[n][j] == achScheme[j]) ++j;
                if (j == liScheme && apszSafe[n][j] == 0) return 1;
            }
            return 0;
        }
        if (c <= ' ' || c == 0x7f) continue;
        if (liScheme < sizeof achScheme)
            achScheme[liScheme] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        ++liScheme;
    }
    return 1;
}

// The code point of the UTF-8 space at p that lenient HTML parsers end an
// unquoted value at, and in liSize the bytes of its sequence; 0 for none.
inline unsigned long MStringEscape::unicodeSpace(const unsigned char* p, unsigned long liLeft,
                                                 unsigned long& liSize) {
    if (liLeft >= 2 && p[0] == 0xc2 && (p[1] == 0x85 || p[1] == 0xa0)) {
        liSize = 2;
        return p[1];
    }
    if (liLeft < 3 || (p[0] & 0xf0) != 0xe0 || (p[1] & 0xc0) != 0x80 || (p[2] & 0xc0) != 0x80)
        return 0;
    unsigned long liCode = (p[0] & 0x0fUL) << 12 | (p[1] & 0x3fUL) << 6 | (p[2] & 0x3fUL);
    liSize = 3;
    if (liCode == 0x1680 || (liCode >= 0x2000 && liCode <= 0x200a) || liCode == 0x2028 ||
        liCode == 0x2029 || liCode == 0x202f || liCode == 0x205f || liCode == 0x3000)
        return liCode;
    return 0;
}

inline char* MStringEscape::write(char* pOut, const MStringEscaped& value) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(value.m_pBytes);
    const unsigned long liLength = value.m_liLength;
    const int nEscaper = value.m_nEscaper;
    if (nEscaper == Html || nEscaper == HtmlUnquoted || nEscaper == QuoteHtml) {
        if (nEscaper == QuoteHtml) *pOut++ = '"';
        for (unsigned long i = 0; i < liLength; ++i) {
            unsigned char c = p[i];
            unsigned long liCode = c < 0x80 ? c : 0, liSize = 1;
            if (nEscaper == HtmlUnquoted && c >= 0xc2)
                liCode = unicodeSpace(p + i, liLength - i, liSize);
            if (c > '>' && c != '`' && (c < 0x80 || liCode == 0)) {
                *pOut++ = static_cast<char>(c);
            } else if (c == '&') {
                pOut = writeText(pOut, "&amp;");
            } else if (c == '<') {
                pOut = writeText(pOut, "&lt;");
            } else if (c == '>') {
                pOut = writeText(pOut, "&gt;");
            } else if (c == '"' || c == '\'' ||
                       (nEscaper == HtmlUnquoted && (c <= ' ' || c == '`' || c == '=' || c >= 0x80))) {
                // Lenient parsers end an unquoted value at any space, so every one goes.
                char achDigits[12];
                int n = 0;
                do {
                    achDigits[n++] = static_cast<char>('0' + static_cast<int>(liCode % 10));
                    liCode /= 10;
                } while (liCode != 0);
                *pOut++ = '&';
                *pOut++ = '#';
                while (n > 0) *pOut++ = achDigits[--n];
                *pOut++ = ';';
                i += liSize - 1;
            } else {
                *pOut++ = static_cast<char>(c);
            }
        }
        if (nEscaper == QuoteHtml) *pOut++ = '"';
        return pOut;
    }
    if (nEscaper == Url || nEscaper == UrlPart) {
        if (nEscaper == Url && !isSafeUrl(value.m_pBytes, liLength)) {
            *pOut++ = '#';
            return pOut;
        }
        for (unsigned long i = 0; i < liLength; ++i) {
            unsigned char c = p[i];
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                c == '-' || c == '.' || c == '_' || c == '~')
                *pOut++ = static_cast<char>(c);
            else if (nEscaper == UrlPart || c <= ' ' || c >= 0x7f ||
                     !holds(":/?#[]@!$&'()*+,;=%", c))
                pOut = writeHex(pOut, "%", c);
            else if (c == '&')
                pOut = writeText(pOut, "&amp;");
            else if (c == '\'')
                pOut = writeText(pOut, "&#39;");
            else
                *pOut++ = static_cast<char>(c);
        }
        return pOut;
    }
    const int bJson = nEscaper == JsonString || nEscaper == QuoteJson;
    const int bQuoted = nEscaper == QuoteJs || nEscaper == QuoteJsAttribute || nEscaper == QuoteJson;
    const char* pszQuote = nEscaper == QuoteJsAttribute ? "&#34;" : "\"";
    if (bQuoted && value.m_bNull) return writeText(pOut, "null");
    if (bQuoted) pOut = writeText(pOut, pszQuote);
    for (unsigned long i = 0; i < liLength; ++i) {
        unsigned char c = p[i];
        if (c == 0xe2 && i + 2 < liLength && p[i + 1] == 0x80 && (p[i + 2] & 0xfe) == 0xa8) {
            pOut = writeText(pOut, p[i + 2] == 0xa8 ? "\\u2028" : "\\u2029");
            i += 2;
        } else if (c == '\\') {
            pOut = writeText(pOut, "\\\\");
        } else if (c == '\n') {
            pOut = writeText(pOut, "\\n");
        } else if (c == '\r') {
            pOut = writeText(pOut, "\\r");
        } else if (c == '\t') {
            pOut = writeText(pOut, "\\t");
        } else if (bJson && c == '"') {
            pOut = writeText(pOut, "\\\"");
        } else if (bJson && c == '/' && i > 0 && p[i - 1] == '<') {
            pOut = writeText(pOut, "\\/");
        } else if (c < ' ' || (!bJson && (c == 0x7f || holds("\"'`<>&", c)))) {
            pOut = writeHex(pOut, "\\u00", c);
        } else {
            *pOut++ = static_cast<char>(c);
        }
    }
    if (bQuoted) pOut = writeText(pOut, pszQuote);
    return pOut;
}

#ifdef MSTRING_CXX11
inline MString operator+(MString&& mstr, const MStringEscaped& value) {
    MStringEscape::appendTo(mstr, value);
    return MString(static_cast<MString&&>(mstr));
}
#endif

inline MString operator+(const MString& mstr, const MStringEscaped& value) {
    MString mstrResult(mstr);
    MStringEscape::appendTo(mstrResult, value);
    return mstrResult;
}

inline MString& operator+=(MString& mstr, const MStringEscaped& value) {
    MStringEscape::appendTo(mstr, value);
    return mstr;
}

#endif  // __MSTRING_H
