// tests/mail/msuucode_test.cpp: uuencoded begin lines and data lines.
#include "mail/msuucode.h"

#include "mail/msmime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(UUCode, RecognisesBeginLines)
{
    struct Case {
        std::string Line;
        bool Begin;
    };
    const std::vector<Case> Cases = {
        {"begin 644 file.txt", true}, {"BEGIN 600 x", true},
        {"begin 644", true},          {"begin", false},
        {"begin 64", false},          {"beginning of the text", false},
        {"begin abc file", false},    {"  begin 644 file", false},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(IsUUBegin(C.Line), C.Begin) << C.Line;
}

TEST(UUCode, ReadsTheFileNameOfABeginLine)
{
    struct Case {
        std::string Line;
        std::string Name;
    };
    const std::vector<Case> Cases = {
        {"begin 644 file.txt", "file.txt"},
        {"begin 644 \"my file.txt\" rest", "my file.txt"},
        {"begin 644 \"unclosed", ""},
        {"begin 644 name with spaces.txt  ", "name with spaces.txt"},
        {"begin 0644 four-digit.bin", "four-digit.bin"},
        {"begin 644", ""},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(UUFileName(C.Line), C.Name) << C.Line;
}

TEST(UUCode, DecodesExactlyTheCountedBytes)
{
    struct Case {
        std::string Line;
        std::string Bytes;
    };
    const std::vector<Case> Cases = {
        {"#0V%T", "Cat"},
        {"#0V%T````", "Cat"}, // extra groups are not read
        {"#0V%Tjunk", "Cat"}, // nor what an encoder appended
        {"`", ""},
        {"", ""},
        {"\"86(`", "ab"},
        {"\"86(", "ab"},
        {"!80  ", "a"}, // a space stands for 0
        {"!80", "a"},   // trailing blanks stripped by a transport
        {"$    ", std::string(4, '\0')},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(UUDecodeLine(C.Line), C.Bytes) << C.Line;
}

TEST(UUCode, RejectsCharactersOutsideTheAlphabet)
{
    for (const std::string Line : {"#0v%T", "a", "#0V~T"}) {
        try {
            UUDecodeLine(Line);
            ADD_FAILURE() << Line;
        } catch (const EMessageParserError& E) {
            EXPECT_EQ(E.Message(), "Invalid Character");
        }
    }
}

TEST(UUCode, EncodesLinesThatDecodeBack)
{
    EXPECT_EQ(UUEncodeLine("Cat"), "#0V%T");
    EXPECT_EQ(UUEncodeLine(""), "`");
    std::string Bytes;
    for (int I = 0; I < 256; ++I)
        Bytes += static_cast<char>(I * 7);
    for (std::size_t Length = 0; Length <= 45; ++Length) {
        const std::string Data = Bytes.substr(Length, Length);
        const std::string Line = UUEncodeLine(Data);
        EXPECT_EQ(Line.size(), 1 + (Length * 4 + 2) / 3) << Length;
        EXPECT_EQ(Line.find(' '), std::string::npos) << Length;
        EXPECT_EQ(UUDecodeLine(Line), Data) << Length;
    }
    EXPECT_EQ(UUEncodeLine(std::string(60, 'x')).size(), 61u); // at most 45 bytes a line
}
