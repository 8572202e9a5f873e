// SPDX-License-Identifier: MIT
#include "engine/mlanguagelist.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

TEST(MLanguageList, TheKeptListIsWrittenFromTheRows) {
    std::ifstream file(XV_SOURCE_DIR "/cmake/XVantorLanguages.cmake", std::ios::binary);
    ASSERT_TRUE(file);
    const std::string strKept((std::istreambuf_iterator<char>(file)),
                              std::istreambuf_iterator<char>());
    EXPECT_EQ(cmakeLanguageList(), strKept)
        << "the rows changed: cmake --build build --target xv_languages";
}
