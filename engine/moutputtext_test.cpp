#include "engine/moutputtext.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/mbackgroundwriter.h"
#include "engine/mfiles.h"
#include "tests/support/mbytes.h"
#include "tests/support/mtempdir.h"

// Whatever the flush size and however the text arrives, the file gets a prefix that
// holds no "frame", and what is kept starts no later than the byte before the first one.
TEST(MOutputText, WritesOutOnlyWhatTheFramePassCannotChange) {
    const std::string strLong(100, 'x');
    const std::string texts[] = {
        "",
        "frame",
        "frame at the start",
        " frame",
        strLong + " frame Report {",
        strLong + "fram" + "e",
        strLong + "frames and frame",
        strLong,
        strLong + "fr" + strLong + "ame",
        "xxxx" + strLong.substr(0, 7) + "frame" + strLong,
    };
    for (const std::string& strText : texts) {
        for (unsigned long liFlush : {1UL, 5UL, 6UL, 7UL, 16UL, 1UL << 20}) {
            for (size_t nPiece : {1, 3, 7, 64}) {
                SCOPED_TRACE(strText + " / " + std::to_string(liFlush) + " / " +
                             std::to_string(nPiece));
                MTempDir dir;
                MReplacementFile file("out");
                ASSERT_TRUE(file.isOpen());
                MBackgroundWriter writer(file);
                MOutputText output;
                output.streamInto(&writer);
                output.setFlushBytes(liFlush);
                for (size_t i = 0; i < strText.size(); i += nPiece)
                    output.append(strText.data() + i, std::min(nPiece, strText.size() - i));
                EXPECT_EQ(strText.size(), output.length());
                const size_t nWritten = output.length() - output.kept().length();
                const std::string strWritten = strText.substr(0, nWritten);
                EXPECT_EQ(std::string::npos, strWritten.find("frame"));
                const size_t nKeyword = strText.find("frame");
                if (nKeyword != std::string::npos) {
                    EXPECT_LT(nWritten, nKeyword == 0 ? 1 : nKeyword);
                } else if (liFlush < 16 && strText.size() > 100) {
                    EXPECT_GT(nWritten, 0U);
                }
                EXPECT_EQ(strText.substr(nWritten), bytesOf(output.kept()));
                writer.wait();
                file.write(output.kept().data(), output.kept().length());
                file.commit();
                EXPECT_EQ(strText, dir.read("out"));
            }
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

namespace {

// Takes all but the last two kept bytes each time it is called.
class MTakingReader : public MKeptTextReader {
public:
    explicit MTakingReader(MOutputText& output) : m_output(output) {}
    void readKept() override {
        MTextBuffer& kept = m_output.kept();
        if (kept.length() > 2) {
            m_strTaken += std::string(kept.data(), kept.length() - 2);
            kept.dropFront(kept.length() - 2);
        }
    }
    MOutputText& m_output;
    std::string m_strTaken;
};

}  // namespace

// What the frame pass takes still counts: the run's size limit is judged on it.
TEST(MOutputText, CountsWhatTheReaderTook) {
    MTempDir dir;
    MReplacementFile file("out");
    MBackgroundWriter writer(file);
    MOutputText output;
    MTakingReader reader(output);
    output.streamInto(&writer, &reader);
    output.setFlushBytes(4);
    const std::string strText = "0123456789 frame 0123456789 and more text after it";
    for (char c : strText)
        output.append(&c, 1);
    EXPECT_EQ(strText.size(), output.length());
    EXPECT_FALSE(reader.m_strTaken.empty());
    writer.wait();
    file.commit();
    EXPECT_EQ(strText, dir.read("out") + reader.m_strTaken + bytesOf(output.kept()));
}
