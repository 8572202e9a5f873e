// SPDX-License-Identifier: MIT
#ifndef XVANTOR_SUPPORT_MSUPPORTFRAMES_H
#define XVANTOR_SUPPORT_MSUPPORTFRAMES_H

#include "support/mvantor.h"

// Each holds one support file, byte for byte, as its frame text. The
// constructors are generated at build time from the kept files.

class MStringHFrame : public MVantor {
public:
    MStringHFrame();
};

class MVantorHFrame : public MVantor {
public:
    MVantorHFrame();
};

class MStringJavaFrame : public MVantor {
public:
    MStringJavaFrame();
};

class MVantorJavaFrame : public MVantor {
public:
    MVantorJavaFrame();
};

class MStringCsFrame : public MVantor {
public:
    MStringCsFrame();
};

class MVantorCsFrame : public MVantor {
public:
    MVantorCsFrame();
};

#endif  // XVANTOR_SUPPORT_MSUPPORTFRAMES_H
