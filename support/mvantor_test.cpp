// SPDX-License-Identifier: MIT
#include "support/mvantor.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/support/mbytes.h"
#include "tests/support/mtempdir.h"

namespace {

const std::string sm_strClassID = "c0a7e3d2-9b14-4e58-a6f1-2d85b7c390e4";

int objectNumber(const MVantor& vantor) {
    return std::stoi(bytesOf(vantor.getObjectID()).substr(sm_strClassID.size()));
}

class MReport : public MVantor {
public:
    void build(int nValue) { setFrameText(MString("value ") + MString(nValue)); }
};

}  // namespace

TEST(MVantor, HoldsTheTextItsBlocksSet) {
    MReport report;
    EXPECT_EQ(0, report.length());
    report.build(42);
    EXPECT_EQ("value 42", bytesOf(report));
    EXPECT_EQ(8, report.length());
    EXPECT_EQ('4', static_cast<const MReport&>(report)[6]);
    report[0] = 'V';
    EXPECT_EQ('V', report.getAddress()[0]);
    std::ostringstream stream;
    report.exportToStream(stream);
    EXPECT_EQ("Value 42", stream.str());
    // Outside a frame class the free function only hands its argument back.
    EXPECT_EQ("x", bytesOf(setFrameText(MString("x"))));
}

TEST(MVantor, NumbersObjectsAndKeepsTheNumberOnAssignment) {
    MReport first;
    MReport second;
    EXPECT_EQ(objectNumber(first) + 1, objectNumber(second));
    second.build(1);
    first = second;
    EXPECT_EQ("value 1", bytesOf(first));
    EXPECT_EQ(objectNumber(second) - 1, objectNumber(first));
    EXPECT_EQ(sm_strClassID, bytesOf(first.getClassID()));
    EXPECT_EQ("MVantor", bytesOf(first.getClassName()));
}

// A copy takes over its source's number and text without being counted, so it must not
// count down either: the next object's number shows the count.
TEST(MVantor, CopiesNeitherCountNorCountDown) {
    MReport first;
    first.build(3);
    const int nNext = objectNumber(first) + 1;
    {
        MReport copy(first);
        EXPECT_EQ(objectNumber(first), objectNumber(copy));
        EXPECT_EQ("value 3", bytesOf(copy));
        const MReport copies[] = {copy, copy};
        EXPECT_EQ(objectNumber(first), objectNumber(copies[1]));
    }
    MReport after;
    EXPECT_EQ(nNext, objectNumber(after));
}

TEST(MVantor, FilesGoThroughTheFrameText) {
    MTempDir dir;
    MReport report;
    report.setFrameText(MString("a\0\r\n", 4));
    MString mstrName("out.bin");
    report.exportToFile(mstrName);
    EXPECT_EQ(std::string("a\0\r\n", 4), dir.read("out.bin"));
    const MString mstrBase("temp");
    report.exportToFile(mstrBase + MString(".bin"));  // a temporary name
    EXPECT_EQ(std::string("a\0\r\n", 4), dir.read("temp.bin"));
    EXPECT_EQ("temp", bytesOf(mstrBase));
    MReport copy;
    copy.importFromFile("out.bin");
    EXPECT_EQ(std::string("a\0\r\n", 4), bytesOf(copy));
    EXPECT_EQ("can not open the file", thrownText([&] { copy.importFromFile(MString("no")); }));
    EXPECT_EQ(std::string("a\0\r\n", 4), bytesOf(copy));
}
