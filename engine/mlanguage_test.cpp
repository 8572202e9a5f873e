// SPDX-License-Identifier: MIT
#include "engine/mlanguage.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/mbytes.h"
#include "tests/support/mtempdir.h"

TEST(MLanguageTraits, SpellsTheInputNameOfALineDirective) {
    struct Case {
        MLanguage language;
        const char* pszName;
        const char* pszExpected;  // null: the name cannot be spelled
    };
    const Case cases[] = {
        {MLanguage::Cpp, "a\\b\"c.cpp", "\"a\\\\b\\\"c.cpp\""},
        // A line end inside a string literal would end the directive.
        {MLanguage::Cpp, "a\nb\rc.cpp", "\"a\\nb\\rc.cpp\""},
        {MLanguage::CSharp, "a\\b\"c.cs", "\"a\\bc.cs\""},
        {MLanguage::CSharp, "a\nb.cs", nullptr},
        {MLanguage::CSharp, "a\rb.cs", nullptr},
        {MLanguage::CSharp,
         "a\xe2\x80\xa8"
         "b.cs",
         nullptr},  // U+2028 ends a C# line too
        {MLanguage::CSharp,
         "a\xe2\x80\xaa"
         "b.cs",
         "\"a\xe2\x80\xaa"
         "b.cs\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        if (c.pszExpected == nullptr) {
            EXPECT_EQ(
                "the input file name holds a line break, which a #line directive can not spell",
                thrownText([&] { lineFileName(traitsOf(c.language), c.pszName); }));
        } else {
            EXPECT_EQ(c.pszExpected, bytesOf(lineFileName(traitsOf(c.language), c.pszName)));
        }
    }
}
