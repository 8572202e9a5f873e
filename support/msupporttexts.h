// SPDX-License-Identifier: MIT
#ifndef XVANTOR_SUPPORT_MSUPPORTTEXTS_H
#define XVANTOR_SUPPORT_MSUPPORTTEXTS_H

#include <memory>

#include "support/mvantor.h"

/// The support text that a language's row names pszName, which holds the kept file of that
/// name byte for byte as its frame text; null for a name of none.
std::unique_ptr<MVantor> supportTextNamed(const char* pszName);

#endif  // XVANTOR_SUPPORT_MSUPPORTTEXTS_H
