// SPDX-License-Identifier: MIT
#include "engine/mtextsearch.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/support/mbytes.h"

// The engine's search must answer exactly as MString::find does, whatever byte it
// anchors on: texts and needles from a small alphabet make near misses common.
TEST(MTextSearch, AgreesWithMStringFind) {
    std::mt19937 random(20261208);
    const std::string strAlphabet("framex\\1f\0", 10);
    auto randomText = [&](size_t nMaxLength) {
        std::string str(random() % (nMaxLength + 1), ' ');
        for (char& c : str)
            c = strAlphabet[random() % strAlphabet.size()];
        return str;
    };
    for (int i = 0; i < 20000; ++i) {
        const MString mstrText = fromBytes(randomText(40));
        const MString mstrNeedle = fromBytes(i % 7 == 0 ? "frame" : randomText(4));
        const int nStart = static_cast<int>(random() % 44) - 2;
        ASSERT_EQ(mstrText.find(mstrNeedle, nStart), findText(mstrText, mstrNeedle, nStart))
            << bytesOf(mstrText) << " / " << bytesOf(mstrNeedle) << " from " << nStart;
    }
}
