#include "platform/net/receivebuffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ReceiveBuffer, LinesKeepTheBytesAfterTheirEndForTheNextRead)
{
    TReceiveBuffer Buffer;
    Buffer.Append("+OK ready\r\nsecond", 17);
    std::string Line;
    ASSERT_EQ(Buffer.TakeLine(Line, 100), TReceiveBuffer::lrComplete);
    EXPECT_EQ(Line, "+OK ready");
    EXPECT_EQ(Buffer.TakeLine(Line, 100), TReceiveBuffer::lrIncomplete);
    Buffer.Append(" line\r\r\n", 8);
    ASSERT_EQ(Buffer.TakeLine(Line, 100), TReceiveBuffer::lrComplete);
    EXPECT_EQ(Line, "second line"); // every trailing CR goes
    EXPECT_TRUE(Buffer.Empty());
}

TEST(ReceiveBuffer, ALineLongerThanTheLimitIsRefusedWithoutTakingIt)
{
    struct TCase {
        std::string Data;
        TReceiveBuffer::TLineResult Result;
    };
    const std::vector<TCase> Cases = {
        {std::string(8, 'x') + "\r\n", TReceiveBuffer::lrComplete},
        {std::string(8, 'x') + "\n", TReceiveBuffer::lrComplete},
        {std::string(9, 'x') + "\r\n", TReceiveBuffer::lrTooLong},
        {std::string(9, 'x'), TReceiveBuffer::lrIncomplete}, // CR LF may still come
        {std::string(10, 'x'), TReceiveBuffer::lrTooLong},   // no room left for them
        {std::string(8, 'x') + "\r", TReceiveBuffer::lrIncomplete},
    };
    for (const auto& C : Cases) {
        TReceiveBuffer Buffer;
        Buffer.Append(C.Data.data(), C.Data.size());
        std::string Line;
        EXPECT_EQ(Buffer.TakeLine(Line, 8), C.Result) << C.Data;
        if (C.Result != TReceiveBuffer::lrComplete) {
            EXPECT_EQ(Buffer.Size(), C.Data.size());
        }
    }
}

TEST(DataEndScanner, FindsTheEndLineOverEverySplitOfTheBytes)
{
    struct TCase {
        std::string Data;
        std::size_t End; // bytes up to and including the end line; npos: none
    };
    const std::vector<TCase> Cases = {
        {".\r\n", 3}, // an empty body: the end line alone
        {".\r\nnext", 3},
        {"a\r\n.\r\n+OK", 6},
        {"..\r\n.\r\n", 7}, // a stuffed dot line is data
        {"a\r\n.x\r\n.\r\n", 10},
        {"a\r\r\n.\r\n", 7},
        {"a\r\n\r\n.\r\n", 8},
        {"a.\r\n", std::string::npos},
        {"a\r\n.\r", std::string::npos},
        {"\r\n.\n", std::string::npos}, // bare LF ends nothing
        {"Subject: a\rb\r\n\r\nlong line of text\r.\r\n.x\r\n.\r\n+OK", 44},
        {"no end in a long line of text with a CR\r in it\r\n", std::string::npos},
    };
    for (const auto& C : Cases) {
        for (std::size_t Split = 0; Split <= C.Data.size(); ++Split) {
            TDataEndScanner Scanner;
            std::size_t Taken = Scanner.Scan(C.Data.data(), Split);
            if (!Scanner.Found())
                Taken += Scanner.Scan(C.Data.data() + Split, C.Data.size() - Split);
            if (C.End == std::string::npos) {
                EXPECT_FALSE(Scanner.Found()) << C.Data;
                EXPECT_EQ(Taken, C.Data.size());
            } else {
                EXPECT_TRUE(Scanner.Found()) << C.Data << " split at " << Split;
                EXPECT_EQ(Taken, C.End) << C.Data << " split at " << Split;
            }
        }
    }
}
