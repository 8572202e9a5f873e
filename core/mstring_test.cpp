// SPDX-License-Identifier: MIT
#include "core/mstring.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/mbytes.h"
#include "tests/support/mtempdir.h"

namespace {

const std::string sm_strClassID = "5b2e8c41-7d3a-4f96-b0e2-6a18c9d47f35";

// The object number is only visible through getObjectID: the class ID and the number.
int objectNumber(const MString& mstr) {
    return std::stoi(bytesOf(mstr.getObjectID()).substr(sm_strClassID.size()));
}

}  // namespace

TEST(MString, ConstructorsMakeTheDocumentedBytes) {
    struct Case {
        const char* pszWhy;
        std::function<MString()> make;
        std::string strExpected;
    };
    const Case cases[] = {
        {"default is empty", [] { return MString(); }, ""},
        {"empty C string", [] { return MString(""); }, ""},
        {"counted bytes keep NUL", [] { return MString("a\0b", 3); }, std::string("a\0b", 3)},
        {"negative int", [] { return MString(-5); }, "-5"},
        {"unsigned beyond int", [] { return MString(4000000000u); }, "4000000000"},
        {"long", [] { return MString(-1234567L); }, "-1234567"},
        {"double", [] { return MString(3.5); }, "3.500000"},
        {"float widened", [] { return MString(0.25f); }, "0.250000"},
        {"long double", [] { return MString(2.0L); }, "2.000000"},
        {"char", [] { return MString('x'); }, "x"},
        {"null C string", [] { return MString(static_cast<const char*>(nullptr)); }, ""},
        {"null C string copied", [] { return MString("old").copy(nullptr); }, ""},
        {"smallest long long", [] { return MString(-9223372036854775807LL - 1); },
         "-9223372036854775808"},
        {"largest int", [] { return MString(2147483647); }, "2147483647"},
        {"NUL char", [] { return MString('\0'); }, std::string(1, '\0')},
        {"huge double in full", [] { return MString(0x1p500); },
         "3273390607896141870013189696827599152216642046043064789483291368096133796404674554883270"
         "092325904157150886684127560071009217256545885393053328527589376.000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhy);
        MString mstr = c.make();
        EXPECT_EQ(c.strExpected, bytesOf(mstr));
        EXPECT_EQ(c.strExpected.empty() ? 1 : 0, mstr.isEmpty());
    }
}

// The fast path must give the very text of "%f", rounding and signs included.
TEST(MString, DoublesPrintWhatPrintfPrints) {
    const double values[] = {0.0,       -0.0,
                             0.5e-6,    1.5e-6,
                             2.5e-6,    -1e-9,
                             0.1,       1e15,
                             1e22,      1.7976931348623157e308,
                             4.9e-324,  123456.7890125,
                             0.0000005, -2.675,
                             1.0 / 3,   HUGE_VAL,
                             -HUGE_VAL, NAN};
    for (double d : values) {
        char achExpected[400];
        std::snprintf(achExpected, sizeof achExpected, "%f", d);
        EXPECT_EQ(achExpected, bytesOf(MString(d))) << d;
    }
}

TEST(MString, FindReturnsTheFirstOccurrenceAtOrAfterTheStart) {
    struct Case {
        std::string strText, strNeedle;
        int nStart, nExpected;
    };
    const Case cases[] = {
        {"xab", "ab", 0, 1},
        {"aab", "ab", 0, 1},  // a failed partial match is retried
        {"aaab", "aab", 0, 1},
        {"ab", "abc", 0, -1},
        {"abab", "b", 2, 3},
        {"abab", "ab", 4, -1},  // a start at the length
        {"abab", "ab", 7, -1},
        {"abab", "ab", -1, -1},
        {std::string("a\0b\0c", 5), std::string("\0c", 2), 0, 3},
        {"abc", "", 1, 1},  // an empty text is found at the start itself
        {"abc", "", 3, -1},
        {"", "", 0, -1},
        {"BBEGIN", "BEGIN", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strText + " / " + c.strNeedle);
        EXPECT_EQ(c.nExpected, fromBytes(c.strText).find(fromBytes(c.strNeedle), c.nStart));
    }
}

TEST(MString, GetStringTakesAnEndPositionAndStaysInside) {
    struct Case {
        int nBegin, nEnd;
        std::string strExpected;
    };
    const Case cases[] = {
        {2, 5, "cde"},     {3, 3, ""},
        {0, 7, "abcdefg"}, {5, 2, ""},  // an end before the begin gives nothing
        {-3, 2, "ab"},                  // positions are clamped to the string
        {4, 100, "efg"},
    };
    const MString mstr("abcdefg");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.nBegin) + ".." + std::to_string(c.nEnd));
        EXPECT_EQ(c.strExpected, bytesOf(mstr.getString(c.nBegin, c.nEnd)));
    }
}

TEST(MString, CompareIsAnEqualityTest) {
    struct Case {
        std::string strLeft, strRight;
        int nEqual;
    };
    const Case cases[] = {
        {"abc", "abd", 0},
        {"abc", "abc ", 0},
        {"abc", "abc", 1},
        {"", "", 1},
        {std::string("a\0b", 3), std::string("a\0c", 3), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strLeft + " / " + c.strRight);
        const MString mstrLeft = fromBytes(c.strLeft), mstrRight = fromBytes(c.strRight);
        EXPECT_EQ(c.nEqual, mstrLeft.compare(mstrRight));
        EXPECT_EQ(c.nEqual, mstrLeft == mstrRight);
        EXPECT_EQ(1 - c.nEqual, mstrLeft != mstrRight);
    }
}

TEST(MString, CaseMappingTouchesOnlyAsciiLetters) {
    const std::string strEdges = "az\x60\x7b AZ\x40\x5b \x80\xe9\xff";
    MString mstrUpper = fromBytes(strEdges);
    EXPECT_EQ("AZ\x60\x7b AZ\x40\x5b \x80\xe9\xff", bytesOf(mstrUpper.toUpper()));
    MString mstrLower = fromBytes(strEdges);
    EXPECT_EQ("az\x60\x7b az\x40\x5b \x80\xe9\xff", bytesOf(mstrLower.toLower()));
}

TEST(MString, ReverseKeepsTheMiddleByte) {
    for (const char* psz : {"abcde", "abcd", "a", ""}) {
        MString mstr(psz);
        std::string strExpected(psz);
        std::reverse(strExpected.begin(), strExpected.end());
        EXPECT_EQ(strExpected, bytesOf(mstr.reverse()));
    }
}

TEST(MString, AppendingAndCopyingSurviveTheirOwnBuffer) {
    MString mstr("abc");
    mstr += mstr;
    EXPECT_EQ("abcabc", bytesOf(mstr));
    mstr.cat(mstr).concat(mstr);
    EXPECT_EQ(24u, mstr.length());
    mstr.copy(mstr);
    EXPECT_EQ(24u, mstr.length());
    mstr.toCStr();
    mstr.copy(mstr.getAddress() + 21);  // a text inside the string's own buffer
    EXPECT_EQ("abc", bytesOf(mstr));
    // Many small appends: the text must stay exact while the buffer grows.
    MString mstrBuilt;
    std::string strBuilt;
    for (int i = 0; i < 10000; ++i) {
        const char c = static_cast<char>('a' + i % 26);
        mstrBuilt += MString(c);
        strBuilt += c;
    }
    EXPECT_EQ(strBuilt, bytesOf(mstrBuilt));
}

TEST(MString, OperatorsLeaveTheirOperandsAlone) {
    MString mstrLeft("ab");
    const MString mstrRight("cd");
    EXPECT_EQ("abcd", bytesOf(mstrLeft + mstrRight));
    EXPECT_EQ("ab", bytesOf(mstrLeft));
    EXPECT_EQ("xycd", bytesOf("xy" + mstrRight));
    EXPECT_EQ("cdab", bytesOf(mstrRight + mstrLeft));  // a constant left side
    EXPECT_EQ("cd", bytesOf(mstrRight));
    // A temporary left side is appended to in place; the right sides stay as they are.
    EXPECT_EQ("abcdcd", bytesOf(MString("ab") + mstrRight + mstrRight));
    EXPECT_EQ("cd", bytesOf(mstrRight));
    MString mstrTarget("a longer text than the next");
    mstrTarget = mstrLeft;
    EXPECT_EQ("ab", bytesOf(mstrTarget));
    mstrTarget = MString("zz");
    mstrTarget = mstrLeft;
    EXPECT_EQ("ab", bytesOf(mstrTarget));
    mstrTarget[1] = 'q';
    EXPECT_EQ('q', static_cast<const MString&>(mstrTarget)[1]);
    EXPECT_EQ("ab", bytesOf(mstrLeft));
}

TEST(MString, ToCStrTerminatesWithoutCountingTheTerminator) {
    MString mstr("a\0b", 3);
    mstr.toCStr();
    EXPECT_EQ(3u, mstr.length());
    EXPECT_EQ('\0', mstr.getAddress()[3]);
    MString mstrEmpty;
    EXPECT_STREQ("", mstrEmpty.toCStr().getAddress());
}

TEST(MString, StreamsWriteNulAsBlankOrStopAtIt) {
    MString mstr("a\0b", 3);
    std::ostringstream printed, exported, shifted;
    mstr.printOn(printed);
    mstr.exportToStream(exported);
    shifted << mstr;
    EXPECT_EQ("a b", printed.str());
    EXPECT_EQ("a", exported.str());
    EXPECT_EQ("a b", shifted.str());
    std::ostringstream padded;
    padded.width(5);
    padded << MString("ab");
    EXPECT_EQ("   ab", padded.str());  // the stream's width applies as to any C string
}

TEST(MString, ObjectNumbersCountLiveObjects) {
    MString mstrProbe;
    const int nBase = objectNumber(mstrProbe);
    auto pA = std::make_unique<MString>("a");
    MString mstrB("b");
    EXPECT_EQ(nBase + 1, objectNumber(*pA));
    EXPECT_EQ(nBase + 2, objectNumber(mstrB));
    pA.reset();
    MString mstrC("c");
    EXPECT_EQ(objectNumber(mstrB), objectNumber(mstrC));  // numbers are reused
    MString mstrCopy(mstrC);
    EXPECT_EQ(objectNumber(mstrC) + 1, objectNumber(mstrCopy));
    mstrCopy = mstrB;
    EXPECT_EQ(objectNumber(mstrC) + 1, objectNumber(mstrCopy));  // assignment keeps the number
    MString mstrMoved(std::move(mstrCopy));  // a move is a new object, numbered as a copy is
    EXPECT_EQ(objectNumber(mstrC) + 2, objectNumber(mstrMoved));
    EXPECT_EQ("b", bytesOf(mstrMoved));
    mstrCopy = MString("back");  // a moved-from string takes a new text
    EXPECT_EQ("back", bytesOf(mstrCopy));
    mstrMoved = std::move(mstrCopy);
    EXPECT_EQ(objectNumber(mstrC) + 2, objectNumber(mstrMoved));  // and keeps its number
    EXPECT_EQ("back", bytesOf(mstrMoved));
    EXPECT_EQ(sm_strClassID + std::to_string(objectNumber(mstrB)), bytesOf(mstrB.getObjectID()));
    EXPECT_EQ(sm_strClassID, bytesOf(mstrB.getClassID()));
    EXPECT_EQ("MString", bytesOf(mstrB.getClassName()));
}

TEST(MString, FilesRoundTripEveryByte) {
    MTempDir dir;
    std::string strAll;
    for (int n = 0; n < 256; ++n)
        strAll += static_cast<char>(n);
    strAll += "\r\n\n\r";
    MString mstrOut = fromBytes(strAll);
    mstrOut.exportToFile("all.bin");
    EXPECT_EQ(strAll, dir.read("all.bin"));
    MString mstrName("all.bin");
    MString mstrIn("old");
    mstrIn.importFromFile(mstrName);
    EXPECT_EQ(strAll, bytesOf(mstrIn));
    EXPECT_EQ("all.bin", bytesOf(mstrName));  // taken by value: the caller's string is untouched

    MString mstrEmpty;
    mstrEmpty.exportToFile("empty.bin");
    EXPECT_EQ("", dir.read("empty.bin"));
    mstrIn.importFromFile("empty.bin");
    EXPECT_EQ(0u, mstrIn.length());
}

TEST(MString, FileFailuresThrowAndKeepTheContent) {
    MTempDir dir;
    dir.makeDirectory("folder");
    struct Case {
        const char* pszWhy;
        std::function<void(MString&)> call;
        const char* pszMessage;
    };
    const Case cases[] = {
        {"missing file", [](MString& m) { m.importFromFile("missing.txt"); },
         "can not open the file"},
        {"directory", [](MString& m) { m.importFromFile("folder"); }, "can not open the file"},
        {"missing directory", [](MString& m) { m.exportToFile("nowhere/x.txt"); },
         "can not create the file"},
        {"full disk", [](MString& m) { m.exportToFile("/dev/full"); }, "can not create the file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhy);
        MString mstr("kept");
        EXPECT_EQ(c.pszMessage, thrownText([&] { c.call(mstr); }));
        EXPECT_EQ("kept", bytesOf(mstr));
    }
}

TEST(MString, ToMStringJoinsACollection) {
    const std::vector<int> numbers = {1, -2, 3};
    EXPECT_EQ("1-23", bytesOf(toMString(numbers)));
    const std::vector<const char*> texts = {"a", "", "bc"};
    EXPECT_EQ("abc", bytesOf(toMString(texts)));
}
