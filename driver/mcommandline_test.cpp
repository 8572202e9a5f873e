// SPDX-License-Identifier: MIT
#include "driver/mcommandline.h"

#include <gtest/gtest.h>

#include <vector>

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
        const MLanguageTraits* pRow = MCommandLine::recogniseLanguage(MString(c.pszOutput));
        EXPECT_EQ(c.language != none, pRow != nullptr);
        EXPECT_EQ(c.language, pRow != nullptr ? pRow->language : none);
    }
}

TEST(MCommandLine, ParsesTheWordsOfACommandLine) {
    using MMode = MInvocation::MMode;
    struct Case {
        std::vector<const char*> words;  // after the program's name
        MMode mode;
        const char* pszInput;  // the names, "" for none
        const char* pszOutput;
        char cLanguage;  // the row's option letter; '?' for no row, 0 for the fallback's
        bool bSupport;
        const char* pszOther;  // the depfile, the word refused or the option without value
    };
    const Case cases[] = {
        {{}, MMode::NotEnough, "", "", '?', false, ""},
        {{"-c", "in"}, MMode::NotEnough, "", "", '?', false, ""},
        {{"in", "out.cpp"}, MMode::Recognition, "in", "out.cpp", '?', true, ""},
        {{"-auto", "in", "out", "x.xcpp"}, MMode::ExtraWord, "", "", '?', false, "x.xcpp"},
        {{"in", "out", "--", "x"}, MMode::ExtraWord, "", "", '?', false, "x"},
        {{"-quiet", "in", "out"}, MMode::MisspelledOption, "", "", '?', false, "-quiet"},
        {{"--", "-quiet", "in", "out"}, MMode::Explicit, "in", "out", 0, false, ""},
        {{"-j", "in", "out"}, MMode::Explicit, "in", "out", 'j', true, ""},
        {{"-#", "in", "out"}, MMode::Explicit, "in", "out", '#', true, ""},
        {{"-cpp", "in", "out"}, MMode::Explicit, "in", "out", 'c', false, ""},
        {{"-x", "in", "out"}, MMode::Explicit, "in", "out", 0, false, ""},
        {{"-", "in", "out"}, MMode::Explicit, "in", "out", 0, false, ""},
        {{"in", "--depfile", "d", "out"}, MMode::Recognition, "in", "out", '?', true, "d"},
        {{"in", "out", "--depfile"}, MMode::Recognition, "in", "out", '?', true, "--depfile"},
        {{"--", "-c", "--help", "out"}, MMode::Explicit, "--help", "out", 'c', true, ""},
        {{"in", "--x", "--help"}, MMode::UnknownOption, "", "", '?', false, "--x"},
        {{"--version", "--help", "in", "out"}, MMode::Version, "", "", '?', false, ""},
    };
    for (const Case& c : cases) {
        std::vector<const char*> words{"xvantor"};
        words.insert(words.end(), c.words.begin(), c.words.end());
        SCOPED_TRACE(testing::PrintToString(words));
        const MInvocation invocation =
            MCommandLine::parse(static_cast<int>(words.size()), words.data());
        EXPECT_EQ(c.mode, invocation.mode);
        EXPECT_STREQ(c.pszInput, invocation.pszInput ? invocation.pszInput : "");
        EXPECT_STREQ(c.pszOutput, invocation.pszOutput ? invocation.pszOutput : "");
        EXPECT_EQ(c.cLanguage, invocation.pLanguage ? invocation.pLanguage->cOption : '?');
        EXPECT_EQ(c.bSupport, invocation.bWriteSupportFiles);
        const char* pszOther = invocation.pszDepfile      ? invocation.pszDepfile
                               : invocation.pszUnknown    ? invocation.pszUnknown
                               : invocation.pszIncomplete ? invocation.pszIncomplete
                                                          : "";
        EXPECT_STREQ(c.pszOther, pszOther);
    }
}
