// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>

#include "tests/support/mtranslate.h"

TEST(MPreprocessorRun, RewritesTheWorkedFrameExample) {
    const std::string strInput =
        "frame Report\n{\npublic:\n    void show();\n};\n\nframe(Summary) {\n};\nint "
        "myframe(int);\n";
    struct Case {
        MLanguage language;
        const char* pszBase;
    };
    const Case cases[] = {
        {MLanguage::Cpp, " : public MVantor "},
        {MLanguage::Java, " extends MVantor "},
        {MLanguage::CSharp, " : MVantor "},
        {MLanguage::Fallback, " : MVantor "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.language));
        const std::string strBase = c.pszBase;
        EXPECT_EQ("class Report" + strBase + "{\npublic:\n    void show();\n};\n\nclass Summary" +
                      strBase + "{\n};\nint myframe(int);\n",
                  translated(c.language, strInput));
    }
}

TEST(MPreprocessorRun, RewritesOnlyFrameDeclarations) {
    struct Case {
        const char* pszWhy;
        std::string strInput;
        std::string strExpected;
    };
    const Case cases[] = {
        {"no keyword", "int x;\n", "int x;\n"},
        {"a hand-written base list is dropped", " frame Report : Base {",
         " class Report : public MVantor {"},
        {"name with parentheses and a blank", " frame (Report) {",
         " class Report : public MVantor {"},
        {"no blank before the brace", " frame(Report){ x; { y",
         " class Report) : public MVantor { y"},
        {"a call is left alone", " frame(x);\n", " frame(x);\n"},
        {"a comment followed by a brace", "// the frame of it\n{",
         "// the class of : public MVantor {"},
        {"capitals are not the keyword", " Frame R { FRAME S {", " Frame R { FRAME S {"},
        {"a tab is no blank", "\tframe R {", "\tframe R {"},
        {"letters after the keyword begin the name", " frames {", " class s : public MVantor {"},
        {"two declarations", "\nframe A {}\nframe B {}",
         "\nclass A : public MVantor {}\nclass B : public MVantor {}"},
        {"no brace or parenthesis after it", " frame R", " frame R"},
        {"keyword at the end", " frame", " frame"},
        {"keyword and blanks at the end", " frame \r\n", " frame \r\n"},
        {"a lone parenthesis names nothing", " frame ( R ) {", " frame ( R ) {"},
        {"many rejected words", " frame x frame y frame z (", " frame x frame y frame z ("},
        {"a rejected word before a declaration", " frame a ( frame b {",
         " frame a ( class b : public MVantor {"},
        {"the keyword inside a name", " frameframe {", " class frame : public MVantor {"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhy);
        EXPECT_EQ(c.strExpected, translated(MLanguage::Cpp, c.strInput));
    }
}
