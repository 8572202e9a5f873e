// SPDX-License-Identifier: MIT
#include "engine/mfiles.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/mbytes.h"
#include "tests/support/mtempdir.h"

TEST(MFiles, ReadsWholeFilesOrSaysWhy) {
    MTempDir dir;
    dir.makeDirectory("folder");
    dir.write("bytes", std::string("\0\r\n\xff", 4));
    EXPECT_EQ(std::string("\0\r\n\xff", 4), bytesOf(readWholeFile("bytes")));
    struct Case {
        const char* pszName;
        MFileFailure::MKind kind;
    };
    const Case cases[] = {
        {"missing", MFileFailure::MKind::CannotOpen},
        {"folder", MFileFailure::MKind::CannotRead},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        try {
            readWholeFile(c.pszName);
            ADD_FAILURE() << "read";
        } catch (const MFileFailure& failure) {
            EXPECT_EQ(static_cast<int>(c.kind), static_cast<int>(failure.kind));
        }
    }
}

TEST(MFiles, WritesCompleteFilesOnly) {
    MTempDir dir;
    MString mstrText("new\r\n\0", 6);
    writeWholeFile("out", mstrText);
    EXPECT_EQ(std::string("new\r\n\0", 6), dir.read("out"));
    MString mstrEmpty;
    writeWholeFile("out", mstrEmpty);
    EXPECT_EQ("", dir.read("out"));
    EXPECT_EQ("can not create the file", thrownText([&] { writeWholeFile("no/out", mstrText); }));
}
