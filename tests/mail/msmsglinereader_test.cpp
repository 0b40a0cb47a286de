// tests/mail/msmsglinereader_test.cpp: the line reader of the message decoder.
#include "mail/msmsglinereader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void Load(TLineStream& Stream, const std::string& Text)
{
    Stream.WriteBuffer(Text.data(), static_cast<int64_t>(Text.size()));
    Stream.Reset();
}

} // namespace

TEST(LineStream, LineEndsAndLastLine)
{
    struct Case {
        std::string Text;
        std::vector<std::string> Lines;
        std::vector<bool> Ended; // LineEnded after each line
    };
    const std::vector<Case> Cases = {
        {"", {}, {}},
        {"a", {"a"}, {false}},
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}, {true, true, true, false}},
        {"a\n\rb", {"a", "", "b"}, {true, true, false}},
        {"\r\n\r\n", {"", ""}, {true, true}},
        {std::string("\xFF\0\xFF\xFF\r\nx\n", 8),
         {std::string("\xFF\0\xFF\xFF", 4), "x"},
         {true, true}},
        {std::string(70000, 'z') + "\r", {std::string(70000, 'z')}, {true}},
    };
    for (const Case& C : Cases) {
        TLineStream Stream;
        Load(Stream, C.Text);
        std::vector<std::string> Got;
        std::vector<bool> Ended;
        std::string Line;
        while (Stream.ReadLine(Line)) {
            EXPECT_FALSE(Stream.EndOfData);
            Got.push_back(Line);
            Ended.push_back(Stream.LineEnded);
        }
        EXPECT_EQ(Got, C.Lines) << C.Text.substr(0, 20);
        EXPECT_EQ(Ended, C.Ended) << C.Text.substr(0, 20);
        EXPECT_TRUE(Stream.EndOfData);
        EXPECT_TRUE(Line.empty());
    }
}

TEST(LineStream, ResetStartsAgainFromTheFirstLine)
{
    TLineStream Stream;
    Load(Stream, "one\r\ntwo");
    std::string Line;
    while (Stream.ReadLine(Line)) {
    }
    ASSERT_TRUE(Stream.EndOfData);
    Stream.Reset();
    EXPECT_FALSE(Stream.EndOfData);
    ASSERT_TRUE(Stream.ReadLine(Line));
    EXPECT_EQ(Line, "one");
    ASSERT_TRUE(Stream.ReadLine(Line));
    EXPECT_EQ(Line, "two");
    EXPECT_FALSE(Stream.ReadLine(Line));
}
