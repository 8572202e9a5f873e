// SPDX-License-Identifier: MIT
#include "engine/mdelimiterset.h"

#include <gtest/gtest.h>

#include "tests/support/mbytes.h"

TEST(MDelimiterSet, ResetRestoresDefaults) {
    MDelimiterSet delimiters;
    delimiters.setExpressionBegin(MString("{{"));
    delimiters.setExpressionEnd(MString("}}"));
    delimiters.setFileBegin(MString("[["));
    delimiters.setFileEnd(MString("]]"));
    EXPECT_EQ("{{", bytesOf(delimiters.getExpressionBegin()));
    EXPECT_EQ("]]", bytesOf(delimiters.getFileEnd()));
    delimiters.reset();
    EXPECT_EQ("<!", bytesOf(delimiters.getExpressionBegin()));
    EXPECT_EQ("!>", bytesOf(delimiters.getExpressionEnd()));
    EXPECT_EQ("<#", bytesOf(delimiters.getFileBegin()));
    EXPECT_EQ("#>", bytesOf(delimiters.getFileEnd()));
}
