////////////////////////////////////////////////////////////////////////////
// mvantor.h - part of the frame preprocessor for C++
// Version 1.23
// SPDX-License-Identifier: MIT-0
//
// MVantor is the base class of every class declared with the frame
// keyword: it holds the frame text that the class's blocks build.
// Every function is inline, so the file may be included by any number
// of translation units of one program.
////////////////////////////////////////////////////////////////////////////

#ifndef __MVANTOR_H
#define __MVANTOR_H

#include "mstring.h"

#define frame(X) class X : public MVantor

// Outside a frame class a block still compiles: its text is built and
// dropped.
inline MString setFrameText(const MString& mstrText) {
    return MString(mstrText);
}

#ifdef MSTRING_CXX11
inline MString setFrameText(MString&& mstrText) {
    return MString(static_cast<MString&&>(mstrText));
}
#endif

class MVantor {
private:
    static const char* sm_pszID;
    static int sm_nCounter;
    int m_nObjectID;
    MString m_mstrFrameText;
    // A copy takes over its source's number but is not counted, so its
    // destructor must not count down either.
    int m_bCounted;

public:
    MVantor();
    MVantor(const MVantor& vantor);
    virtual ~MVantor();
    const MVantor& exportToFile(const char* pszName);
    const MVantor& exportToFile(MString& mstrName);
    const MVantor& importFromFile(const char* pszName);
    const MVantor& importFromFile(MString mstrName);
    const MVantor& exportToStream(MStringOstream& os);
    MString& setFrameText(const MString& mstrText) {
        m_mstrFrameText = mstrText;
        return m_mstrFrameText;
    }
    char* getAddress() { return m_mstrFrameText.getAddress(); }
    long length() const { return static_cast<long>(m_mstrFrameText.length()); }
    operator MString() const { return m_mstrFrameText; }
    char& operator[](const long& nIndex) { return m_mstrFrameText[nIndex]; }
    const char& operator[](const long& nIndex) const { return m_mstrFrameText[nIndex]; }
    virtual MVantor& operator=(const MVantor& vantor);
    virtual MString getClassID() const;
    virtual MString getObjectID() const;
    virtual MString getClassName() const;
    // A constant or temporary name, such as base + MString(".html").
    const MVantor& exportToFile(const MString& mstrName);
#ifdef MSTRING_CXX11
    // The text built by a block moves in instead of being copied.
    MString& setFrameText(MString&& mstrText) {
        m_mstrFrameText = static_cast<MString&&>(mstrText);
        return m_mstrFrameText;
    }
#endif
};

MSTRING_INLINE_DATA const char* MVantor::sm_pszID = "c0a7e3d2-9b14-4e58-a6f1-2d85b7c390e4";
MSTRING_INLINE_DATA int MVantor::sm_nCounter = 0;

inline MVantor::MVantor() : m_mstrFrameText(), m_bCounted(1) {
    m_nObjectID = sm_nCounter++;
}

inline MVantor::MVantor(const MVantor& vantor)
    : m_nObjectID(vantor.m_nObjectID), m_mstrFrameText(vantor.m_mstrFrameText), m_bCounted(0) {}

inline MVantor::~MVantor() {
    if (m_bCounted) --sm_nCounter;
}

inline const MVantor& MVantor::exportToFile(const char* pszName) {
    m_mstrFrameText.exportToFile(pszName);
    return *this;
}

inline const MVantor& MVantor::exportToFile(MString& mstrName) {
    m_mstrFrameText.exportToFile(mstrName);
    return *this;
}

inline const MVantor& MVantor::exportToFile(const MString& mstrName) {
    m_mstrFrameText.exportToFile(mstrName);
    return *this;
}

inline const MVantor& MVantor::importFromFile(const char* pszName) {
    m_mstrFrameText.importFromFile(pszName);
    return *this;
}

inline const MVantor& MVantor::importFromFile(MString mstrName) {
    m_mstrFrameText.importFromFile(mstrName);
    return *this;
}

inline const MVantor& MVantor::exportToStream(MStringOstream& os) {
    m_mstrFrameText.exportToStream(os);
    return *this;
}

// The object number stays: it names the object, not its text.
inline MVantor& MVantor::operator=(const MVantor& vantor) {
    m_mstrFrameText = vantor.m_mstrFrameText;
    return *this;
}

inline MString MVantor::getClassID() const {
    return MString(sm_pszID);
}

inline MString MVantor::getObjectID() const {
    return getClassID() + MString(m_nObjectID);
}

inline MString MVantor::getClassName() const {
    return MString("MVantor");
}

#endif  // __MVANTOR_H
