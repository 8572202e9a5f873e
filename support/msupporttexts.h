// SPDX-License-Identifier: MIT
#ifndef XVANTOR_SUPPORT_MSUPPORTTEXTS_H
#define XVANTOR_SUPPORT_MSUPPORTTEXTS_H

#include <memory>

#include "support/mvantor.h"

/// The support text that a language's row names pszName; null for a name of none.
std::unique_ptr<MVantor> supportTextNamed(const char* pszName);

// Each holds one support file, byte for byte, as its frame text. The
// constructors are generated at build time from the kept files.

class MStringHText : public MVantor {
public:
    MStringHText();
};

class MVantorHText : public MVantor {
public:
    MVantorHText();
};

class MStringJavaText : public MVantor {
public:
    MStringJavaText();
};

class MVantorJavaText : public MVantor {
public:
    MVantorJavaText();
};

class MStringCsText : public MVantor {
public:
    MStringCsText();
};

class MVantorCsText : public MVantor {
public:
    MVantorCsText();
};

#endif  // XVANTOR_SUPPORT_MSUPPORTTEXTS_H
