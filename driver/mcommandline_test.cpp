// SPDX-License-Identifier: MIT
#include "driver/mcommandline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/mtempdir.h"

namespace {

const std::string sm_strBanner =
    "\nXVantor " XV_VERSION
    ", the frame text preprocessor for C++, Java and C#\n"
    "Copyright (C) 2026 The XVantor developers\nFree software under the MIT licence.\n\n";

struct MOutcome {
    int nStatus;
    std::string strPrinted;
};

MOutcome runWith(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "xvantor");
    testing::internal::CaptureStdout();
    const int nStatus = MCommandLine::run(static_cast<int>(arguments.size()), arguments.data());
    return {nStatus, testing::internal::GetCapturedStdout()};
}

}  // namespace

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

TEST(MCommandLine, PrintsOneResponseAndFailsUnlessTheOutputIsWritten) {
    const std::string strUsage =
        "Not enougth parameters!\nSyntax is: XVANTOR [option] input_file output_file\n"
        "   -c  C++  Language\n   -j  Java Language\n   -#  C#   Language\n"
        "   -a  Automatic Language Recognition (Default)\n\n";
    const std::string strSame =
        "\nError XF0004: The output file has the same name with the input file\n";
    struct Case {
        std::vector<const char*> arguments;
        int nStatus;
        std::string strPrinted;
        bool bWritten;
    };
    const Case cases[] = {
        {{}, 1, strUsage, false},
        {{"in.cpp"}, 1, strUsage, false},
        {{"-c", "in.cpp"}, 1, strUsage, false},
        {{"-a", "in.cpp"}, 1, strUsage, false},
        {{"in.cpp", "in.cpp"}, 1, strSame, false},
        {{"-a", "in.cpp", "in.cpp"}, 1, strSame, false},
        {{"-c", "in.cpp", "in.cpp"}, 1, strSame, false},
        {{"in.cpp", "out.txt"},
         1,
         "\nSorry, can not recognize the source language.\nPlease use the explicit language "
         "option!\n\n",
         false},
        {{"missing.cpp", "out.cpp"}, 1, "Recognized:file not found\n", false},
        {{"-c", "missing.cpp", "out.cpp"}, 1, "file not found\n", false},
        {{"in.cpp", "out.cpp"}, 0, "Recognized: C++ source!\n", true},
        {{"-auto", "in.cpp", "out.cpp"}, 0, "Recognized: C++ source!\n", true},
        {{"-cpp", "in.cpp", "out.txt"}, 0, " C++ source!\n", true},
        {{"-", "in.cpp", "out.txt"}, 0, " Java source!\n", true},
        {{"in.cpp", "out.cs", "ignored"}, 0, "Recognized: C# source!\n", true},
    };
    for (const Case& c : cases) {
        std::string strCommand;
        for (const char* psz : c.arguments)
            strCommand += std::string(psz) + " ";
        SCOPED_TRACE(strCommand);
        MTempDir dir;
        dir.write("in.cpp", "int a;\n");
        const MOutcome outcome = runWith(c.arguments);
        EXPECT_EQ(c.nStatus, outcome.nStatus);
        EXPECT_EQ(sm_strBanner + c.strPrinted, outcome.strPrinted);
        EXPECT_EQ(c.bWritten,
                  dir.exists("out.cpp") || dir.exists("out.txt") || dir.exists("out.cs"));
    }
}

TEST(MCommandLine, WritesSupportFilesBeforeReadingInRecognitionModeOnly) {
    {
        MTempDir dir;
        dir.makeDirectory("src");
        dir.makeDirectory("gen");
        EXPECT_EQ(1, runWith({"src/missing.cpp", "gen/out.cpp"}).nStatus);
        EXPECT_TRUE(dir.exists("gen/mstring.h"));
        EXPECT_TRUE(dir.exists("gen/mvantor.h"));
    }
    {
        MTempDir dir;
        dir.makeDirectory("src");
        dir.makeDirectory("gen");
        EXPECT_EQ(1, runWith({"-c", "src/missing.cpp", "gen/out.cpp"}).nStatus);
        EXPECT_FALSE(dir.exists("src/mstring.h"));
        dir.write("src/in.cpp", "");
        EXPECT_EQ(0, runWith({"-c", "src/in.cpp", "gen/out.cpp"}).nStatus);
        EXPECT_TRUE(dir.exists("src/mstring.h"));  // the input's directory in explicit mode
        EXPECT_FALSE(dir.exists("gen/mstring.h"));
    }
}
