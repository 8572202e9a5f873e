// SPDX-License-Identifier: MIT
#include "engine/moutputtext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/support/mbytes.h"

namespace {

// Takes all but the last two bytes each time, as a stage that waits for more would.
class MTakingStage final : public MTextStage {
public:
    void take(MTextBuffer& text, bool bFinal) override {
        const unsigned long liLeft = bFinal ? 0 : 2;
        if (text.length() <= liLeft)
            return;
        m_strTaken += std::string(text.data(), text.length() - liLeft);
        text.dropFront(text.length() - liLeft);
    }
    std::string m_strTaken;
};

}  // namespace

// However the text arrives and however often it is handed on, the stage gets every byte
// once and in order, and what it took still counts: the run's size limit is judged on it.
TEST(MOutputText, HandsEveryByteOnOnceAndCountsIt) {
    const std::string strText = "0123456789 frame 0123456789 and more text after it";
    for (unsigned long liFlush : {1UL, 4UL, 7UL, 1UL << 20}) {
        for (size_t nPiece : {1, 3, 64}) {
            SCOPED_TRACE(std::to_string(liFlush) + " / " + std::to_string(nPiece));
            MTakingStage stage;
            MOutputText output;
            output.streamInto(&stage);
            output.setFlushBytes(liFlush);
            for (size_t i = 0; i < strText.size(); i += nPiece)
                output.append(strText.data() + i, std::min(nPiece, strText.size() - i));
            EXPECT_EQ(strText.size(), output.length());
            EXPECT_EQ(strText, stage.m_strTaken + bytesOf(output.kept()));
            output.finish();
            EXPECT_EQ(strText, stage.m_strTaken);
            EXPECT_EQ(strText.size(), output.length());
        }
    }
}

TEST(MOutputText, RoomCountsOnlyWhatIsUsed) {
    MOutputText output;
    output += MString("ab");
    char* pszRoom = output.room(1000);
    pszRoom[0] = 'c';
    output.grow(1);
    output.append("d\0", 2);
    EXPECT_EQ(std::string("abcd\0", 5), bytesOf(output.kept()));
    EXPECT_EQ(5U, output.length());
}

// Text adopted whole changes hands with its buffer; the rest stays behind either way.
TEST(MOutputText, AdoptsTheFrontOfAText) {
    for (const std::string& strKept : {std::string(), std::string("kept ")}) {
        MOutputText output;
        output += strKept.c_str();
        MTextBuffer text;
        text.append("adopted rest", 12);
        output.adoptFront(text, 8);
        EXPECT_EQ(strKept + "adopted ", bytesOf(output.kept()));
        EXPECT_EQ("rest", bytesOf(text));
    }
}
