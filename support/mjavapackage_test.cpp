// SPDX-License-Identifier: MIT
#include "support/mjavapackage.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/mbytes.h"
#include "tests/support/mtempdir.h"

TEST(MJavaPackage, ReadsTheDeclarationBeforeEverythingElse) {
    struct Case {
        const char* pszWhy;
        std::string strText;
        const char* pszPackage;
    };
    const Case cases[] = {
        {"plain", "package a.b;\npublic class Main {}", "a.b"},
        {"one name", "package report;", "report"},
        {"comments and CR LF first", "// notice\r\n/* a * b */\r\npackage a.b;", "a.b"},
        {"blanks and comments inside", "package\ta /* x */ . b\r\n;", "a.b"},
        {"comment right after the word", "package/**/a;", "a"},
        {"byte order mark", "\xEF\xBB\xBFpackage a;", "a"},
        {"names with $, _ and high bytes", "package $a._b.\xC3\xA9;", "$a._b.\xC3\xA9"},
        {"no declaration", "import java.io.*;\npublic class Main {}", ""},
        {"a class first", "class X {}\npackage a;", ""},
        {"in a comment only", "// package a;\nclass X {}", ""},
        {"a longer word", "packages a;", ""},
        {"no semicolon", "package a.b\nclass X {}", ""},
        {"empty part", "package a..b;", ""},
        {"part starting with a digit", "package a.1b;", ""},
        {"unclosed comment", "/* package a;", ""},
        {"empty text", "", ""},
        {"annotation first", "@Deprecated package a;", ""},
    };
    MTempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhy);
        dir.write("Main.java", c.strText);
        EXPECT_EQ(c.pszPackage, bytesOf(javaPackageOfFile("Main.java")));
    }
}

TEST(MJavaPackage, ReadsAFileOnlyWhenItCanBeRead) {
    MTempDir dir;
    dir.write("Main.java", "package a.b;\r\nclass Main {}");
    dir.makeDirectory("folder");
    EXPECT_EQ("a.b", bytesOf(javaPackageOfFile("Main.java")));
    EXPECT_EQ("", bytesOf(javaPackageOfFile("missing.java")));
    EXPECT_EQ("", bytesOf(javaPackageOfFile("folder")));
}

TEST(MJavaPackage, PutsTheDeclarationAfterTheHeaderComment) {
    const MString mstrText("// head\r\n// more\r\n\r\nimport x;\r\n\r\nclass A {}");
    EXPECT_EQ("// head\r\n// more\r\n\r\npackage a.b;\r\n\r\nimport x;\r\n\r\nclass A {}",
              bytesOf(withJavaPackage(mstrText, MString("a.b"))));
    EXPECT_EQ(bytesOf(mstrText), bytesOf(withJavaPackage(mstrText, MString())));
}
