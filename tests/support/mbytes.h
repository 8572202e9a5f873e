// SPDX-License-Identifier: MIT
#ifndef XVANTOR_TESTS_SUPPORT_MBYTES_H
#define XVANTOR_TESTS_SUPPORT_MBYTES_H

#include <string>

#include "core/mstring.h"
#include "engine/mtextbuffer.h"

/// The bytes of a string, NUL included.
inline std::string bytesOf(const MString& mstr) {
    MString mstrCopy(mstr);
    return std::string(mstrCopy.getAddress(), mstrCopy.length());
}

inline std::string bytesOf(const MTextBuffer& text) {
    return std::string(text.length() == 0 ? "" : text.data(), text.length());
}

/// A string of exactly these bytes.
inline MString fromBytes(const std::string& str) {
    return MString(str.data(), str.size());
}

#endif  // XVANTOR_TESTS_SUPPORT_MBYTES_H
