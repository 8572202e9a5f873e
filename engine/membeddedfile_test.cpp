// SPDX-License-Identifier: MIT
#include "engine/membeddedfile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <random>
#include <string>

#include "engine/mfiles.h"
#include "tests/support/mtempdir.h"

namespace {

std::string randomBytes(size_t nLength) {
    std::mt19937 random(static_cast<unsigned>(nLength));
    std::string str(nLength, '\0');
    for (char& c : str)
        c = static_cast<char>(random());
    return str;
}

}  // namespace

// Chunks read in order, as the literals ask for them, and a few out of order, around
// and across the window's edges.
TEST(MEmbeddedFile, ServesEveryRangeOfSmallAndLargeFiles) {
    const unsigned long liWindow = MEmbeddedFile::sm_liWindowBytes;
    for (unsigned long liSize :
         {0UL, 1UL, liWindow - 1, liWindow, liWindow + 1, 5 * liWindow / 2}) {
        SCOPED_TRACE(liSize);
        MTempDir dir;
        const std::string strContent = randomBytes(liSize);
        dir.write("file", strContent);
        MEmbeddedFile file("file");
        ASSERT_EQ(liSize, file.length());
        for (unsigned long liOffset = 0; liOffset < liSize; liOffset += 8192) {
            const unsigned long liCount = std::min(8192UL, liSize - liOffset);
            ASSERT_EQ(strContent.substr(liOffset, liCount),
                      std::string(file.bytes(liOffset, liCount), liCount));
        }
        const unsigned long ranges[][2] = {{0, liSize},
                                           {liSize / 2, liSize - liSize / 2},
                                           {liSize / 3, liSize / 3},
                                           {0, liSize / 2}};
        for (const auto& range : ranges)
            EXPECT_EQ(strContent.substr(range[0], range[1]),
                      std::string(file.bytes(range[0], range[1]), range[1]));
    }
}

// Even bytes that are still there: a literal never mixes two versions of a file.
TEST(MEmbeddedFile, AFileThatChangedOrWentIsNoLongerRead) {
    const unsigned long liSize = 3 * MEmbeddedFile::sm_liWindowBytes;
    MTempDir dir;
    dir.write("shrinks", randomBytes(liSize));
    dir.write("goes", randomBytes(liSize));
    MEmbeddedFile shrinking("shrinks");
    MEmbeddedFile going("goes");
    ASSERT_EQ(0, ::truncate("shrinks", liSize / 2));
    ASSERT_EQ(0, ::unlink("goes"));
    EXPECT_THROW(shrinking.bytes(0, 8192), MFileFailure);
    EXPECT_THROW(going.bytes(0, 8192), MFileFailure);
    EXPECT_THROW(MEmbeddedFile("goes"), MFileFailure);
    EXPECT_THROW(MEmbeddedFile("."), MFileFailure);
}

// A run reads a small file once, and sees one text for its name however often it stands;
// a file too large for the cache, or one past its bound, is read again.
TEST(MEmbeddedFile, ARunKeepsSmallFilesWithinItsBound) {
    MTempDir dir;
    dir.write("small", "abc");
    dir.write("large", randomBytes(MEmbedCache::sm_liMostFileBytes + 1));
    MEmbedCache cache;
    EXPECT_EQ(3UL, MEmbeddedFile("small", &cache).length());
    EXPECT_EQ(MEmbedCache::sm_liMostFileBytes + 1, MEmbeddedFile("large", &cache).length());
    dir.write("small", "changed");
    dir.write("large", "x");
    EXPECT_EQ("abc", std::string(MEmbeddedFile("small", &cache).bytes(0, 3), 3));
    EXPECT_EQ(1UL, MEmbeddedFile("large", &cache).length());

    unsigned long liKept = 0;
    for (int n = 0;; ++n) {
        MString mstrContent(0, MEmbedCache::sm_liMostFileBytes);
        if (cache.keep(MString(std::to_string(n).c_str()), mstrContent) == nullptr)
            break;
        liKept += MEmbedCache::sm_liMostFileBytes + MEmbedCache::sm_liBytesPerName;
    }
    EXPECT_LE(liKept, MEmbedCache::sm_liMostBytes);
    EXPECT_GT(liKept, MEmbedCache::sm_liMostBytes - 2 * MEmbedCache::sm_liMostFileBytes);
}
