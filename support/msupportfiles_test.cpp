// SPDX-License-Identifier: MIT
#include "support/msupportfiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/mjavapackage.h"
#include "support/msupporttexts.h"
#include "tests/support/mbytes.h"
#include "tests/support/mtempdir.h"

namespace {

std::string keptText(const std::string& strPath) {
    std::ifstream file(std::string(XV_SOURCE_DIR) + "/" + strPath, std::ios::binary);
    EXPECT_TRUE(file) << strPath;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(MSupportFiles, DirectoryOfKeepsTheLastSeparator) {
    struct Case {
        const char* pszPath;
        const char* pszDirectory;
    };
    const Case cases[] = {
        {"out.cpp", ""},
        {"gen/out.cpp", "gen/"},
        {"a/b/c.cpp", "a/b/"},
        {"a\\b/c.cpp", "a\\"},  // a backslash wins over a later slash
        {"a/b\\c.cpp", "a/b\\"},
        {"dir\\", ""},  // a trailing separator does not count
        {"dir/", ""},
        {"/abs/x.h", "/abs/"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszPath);
        EXPECT_EQ(c.pszDirectory, bytesOf(directoryOf(MString(c.pszPath))));
    }
}

TEST(MSupportFiles, FramesHoldTheKeptTextsByteForByte) {
    std::istringstream texts(XV_SUPPORT_TEXTS);
    for (std::string strPath; texts >> strPath;) {
        const auto pText = supportTextNamed(strPath.substr(strPath.rfind('/') + 1).c_str());
        ASSERT_NE(nullptr, pText) << strPath;
        EXPECT_EQ(keptText(strPath), bytesOf(*pText));
    }
}

TEST(MSupportFiles, WritesTheOptionsFilesIntoThePathsDirectory) {
    struct Case {
        MLanguage language;
        const char* pszPath;
        const char* pszPresent;  // a file already in the working directory, or nullptr
        std::vector<std::pair<std::string, std::string>> written;  // name, kept text
    };
    const Case cases[] = {
        {MLanguage::Cpp,
         "out.cpp",
         nullptr,
         {{"mstring.h", "core/mstring.h"}, {"mvantor.h", "support/mvantor.h"}}},
        {MLanguage::Cpp,
         "gen/out.cpp",
         nullptr,
         {{"gen/mstring.h", "core/mstring.h"}, {"gen/mvantor.h", "support/mvantor.h"}}},
        {MLanguage::Java,
         "gen/Out.java",
         nullptr,
         {{"gen/MString.java", "support/texts/MString.java"},
          {"gen/MVantor.java", "support/texts/MVantor.java"}}},
        {MLanguage::CSharp,
         "gen/out.cs",
         nullptr,
         {{"gen/MString.cs", "support/texts/MString.cs"},
          {"gen/MVantor.cs", "support/texts/MVantor.cs"}}},
        // The existence test looks in the working directory, not in gen/.
        {MLanguage::Cpp, "gen/out.cpp", "mstring.h", {{"gen/mvantor.h", "support/mvantor.h"}}},
        {MLanguage::Fallback, "gen/out.cpp", nullptr, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.language)) + " " + c.pszPath);
        MTempDir dir;
        dir.makeDirectory("gen");
        if (c.pszPresent != nullptr)
            dir.write(c.pszPresent, "mine");
        writeSupportFiles(traitsOf(c.language), MString(c.pszPath));
        size_t nFiles = 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path()))
            nFiles += entry.is_regular_file() ? 1 : 0;
        EXPECT_EQ(c.written.size() + (c.pszPresent != nullptr ? 1 : 0), nFiles);
        for (const auto& [strName, strKept] : c.written) {
            EXPECT_EQ(keptText(strKept), dir.read(strName));
        }
        if (c.pszPresent != nullptr) {
            EXPECT_EQ("mine", dir.read(c.pszPresent));
        }
    }
}

// Only the Java files take the input's package; an input without one, or none at all,
// leaves them as they are kept.
TEST(MSupportFiles, JavaFilesTakeTheInputsPackage) {
    struct Case {
        MLanguage language;
        const char* pszInputText;  // nullptr: no input file
        const char* pszPackage;
        const char* apszFiles[2];
        const char* apszKept[2];
    };
    const Case cases[] = {
        {MLanguage::Java,
         "// report\r\npackage a.b;\r\nframe R {}",
         "a.b",
         {"MString.java", "MVantor.java"},
         {"support/texts/MString.java", "support/texts/MVantor.java"}},
        {MLanguage::Java,
         "frame R {}",
         "",
         {"MString.java", "MVantor.java"},
         {"support/texts/MString.java", "support/texts/MVantor.java"}},
        {MLanguage::Java,
         nullptr,
         "",
         {"MString.java", "MVantor.java"},
         {"support/texts/MString.java", "support/texts/MVantor.java"}},
        {MLanguage::CSharp,
         "package a.b;",
         "",
         {"MString.cs", "MVantor.cs"},
         {"support/texts/MString.cs", "support/texts/MVantor.cs"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.language)) + " " +
                     (c.pszInputText ? c.pszInputText : "-"));
        MTempDir dir;
        dir.makeDirectory("gen");
        if (c.pszInputText != nullptr)
            dir.write("In.src", c.pszInputText);
        writeSupportFiles(traitsOf(c.language), MString("gen/Out"), "In.src");
        for (int i = 0; i < 2; ++i) {
            const MString mstrKept = fromBytes(keptText(c.apszKept[i]));
            EXPECT_EQ(bytesOf(withJavaPackage(mstrKept, MString(c.pszPackage))),
                      dir.read(std::string("gen/") + c.apszFiles[i]));
        }
    }
}

TEST(MSupportFiles, AMissingTargetDirectoryStopsAtTheFirstFile) {
    MTempDir dir;
    EXPECT_EQ("can not create the file", thrownText([] {
                  writeSupportFiles(traitsOf(MLanguage::Cpp), MString("missing/out.cpp"));
              }));
    EXPECT_FALSE(dir.exists("missing"));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}
