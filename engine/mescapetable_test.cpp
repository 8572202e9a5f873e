// SPDX-License-Identifier: MIT
#include "engine/mescapetable.h"

#include <gtest/gtest.h>

#include <string>

TEST(MEscapeTable, HoldsOctalAndHexadecimalWithoutLeadingZeros) {
    struct Case {
        unsigned char byValue;
        const char* pszOctal;
        const char* pszHexadecimal;
    };
    const Case cases[] = {
        {0, "\\0", "\\x0"},      {10, "\\12", "\\xa"},    {13, "\\15", "\\xd"},
        {15, "\\17", "\\xf"},    {16, "\\20", "\\x10"},   {32, "\\40", "\\x20"},
        {63, "\\77", "\\x3f"},   {64, "\\100", "\\x40"},  {65, "\\101", "\\x41"},
        {128, "\\200", "\\x80"}, {255, "\\377", "\\xff"},
    };
    const MEscapeTable& table = MEscapeTable::instance();
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.byValue));
        EXPECT_STREQ(c.pszOctal, table.octal(c.byValue).szText);
        EXPECT_EQ(static_cast<int>(std::string(c.pszOctal).size()), table.octal(c.byValue).nLength);
        EXPECT_STREQ(c.pszHexadecimal, table.hexadecimal(c.byValue).szText);
        EXPECT_EQ(static_cast<int>(std::string(c.pszHexadecimal).size()),
                  table.hexadecimal(c.byValue).nLength);
    }
}
