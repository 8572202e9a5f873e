// SPDX-License-Identifier: MIT
#include "engine/merror.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/mbytes.h"

// Lines end as compilers count them: LF, CR LF and a lone CR each end one; columns are
// bytes from 1.
TEST(MError, LocatesItsOffsetByLineAndColumn) {
    struct Case {
        std::string strText;
        int nTextStart;
        int nOffset;
        int nLine;
        int nColumn;
    };
    const Case cases[] = {
        {"abc", 0, 0, 1, 1},
        {"abc", 0, 2, 1, 3},
        {"a\nb\nc", 0, 4, 3, 1},
        {"a\r\nb\r\nc", 0, 6, 3, 1},
        {"a\rb\rc", 0, 4, 3, 1},
        {"a\r\nb", 0, 2, 1, 3},      // between CR and LF: still the first line
        {"\n\r\n\r x", 0, 5, 4, 2},  // LF, CR LF, CR: three lines end
        {"ab\ncd", 3, 1, 2, 2},      // an offset into a text that starts further on
        {"ab", 0, 9, 1, 3},          // past the end: the end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strText + " @" + std::to_string(c.nOffset));
        MError error(MErrorCode::NoFrameEnd, {}, c.nOffset);
        EXPECT_FALSE(error.hasPosition());
        error.locate(fromBytes(c.strText), c.nTextStart);
        EXPECT_EQ(c.nLine, error.line());
        EXPECT_EQ(c.nColumn, error.column());
    }
    MError unplaced(MErrorCode::InputNotFound, {MString("in.cpp")});
    unplaced.locate(fromBytes("a\nb"));
    EXPECT_FALSE(unplaced.hasPosition());
}

// The default form is every byte the tool has always printed; the quiet form is one line
// that names the file and the system's reason.
TEST(MError, FormsBothTextsFromOneEntry) {
    struct Case {
        MErrorCode code;
        const char* pszArgument;
        const char* pszReason;
        const char* pszDefault;
        const char* pszQuiet;
    };
    const Case cases[] = {
        {MErrorCode::FlagNotClosed, "!>\n", "",
         "\nError XF0002: BEGIN_FLAG without CLOSE_FLAG !>\n",
         "XF0002: BEGIN_FLAG without CLOSE_FLAG !>"},
        {MErrorCode::EmbeddingFailed, "a b", "No such file or directory",
         "\nError XF0001: Embedding of file \"a b\" failed",
         "XF0001: Embedding of file \"a b\" failed: No such file or directory"},
        {MErrorCode::CannotCreate, "gen/out.cpp", "No such file or directory",
         "can not create the file", "cannot create 'gen/out.cpp': No such file or directory"},
        {MErrorCode::OutOfMemory, "", "", "out of memory", "out of memory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszDefault);
        MError error(c.code, {MString(c.pszArgument)});
        error.setReason(c.pszReason);
        EXPECT_EQ(c.pszDefault, bytesOf(error.message()));
        EXPECT_EQ(c.pszQuiet, error.quietText());
    }
}
