// SPDX-License-Identifier: MIT
#include "driver/mcommandline.h"

#include <gtest/gtest.h>

TEST(MCommandLine, RecognisesLanguageFromOutputName) {
    struct Case {
        const char* pszOutput;
        MLanguage language;  // the fallback stands for "not recognised"
    };
    const MLanguage cpp = MLanguage::Cpp;
    const MLanguage none = MLanguage::Fallback;
    const Case cases[] = {
        {"out.cpp", cpp},
        {"out.h.bak", cpp},                // a search anywhere, not an ends-with test
        {"out.java.cs", MLanguage::Java},  // Java is tried first
        {"OUT.Java", none},                // only the listed spellings count
        {"out.HTML", cpp},
        {"out.hh", cpp},
        {"x.CXX", cpp},
        {"a.cs", MLanguage::CSharp},
        {"a.CS", MLanguage::CSharp},
        {"a.Cs", none},
        {"a.cc", none},
        {"src.java/out", MLanguage::Java},  // directories count too
        {"out.JAVA", MLanguage::Java},
        {"", none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszOutput);
        MLanguage language = MLanguage::Fallback;
        EXPECT_EQ(c.language != none,
                  MCommandLine::recogniseLanguage(MString(c.pszOutput), language));
        EXPECT_EQ(c.language, language);
    }
}
