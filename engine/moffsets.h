// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MOFFSETS_H
#define XVANTOR_ENGINE_MOFFSETS_H

#include <climits>

/// The passes address every text they read or make with int positions: the longest text
/// that they take, an input, an embedded file or an output.
constexpr unsigned long liMostTextBytes = INT_MAX;

/// Whether a text of lliLength bytes is too long to be addressed.
inline bool isTooLongForOffsets(unsigned long long lliLength) {
    return lliLength > liMostTextBytes;
}

#endif  // XVANTOR_ENGINE_MOFFSETS_H
