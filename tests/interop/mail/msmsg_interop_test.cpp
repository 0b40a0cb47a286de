// tests/interop/mail/msmsg_interop_test.cpp: the message decoder against Python's email
// package on a corpus of well-formed messages that Python writes: the same subjects, text
// bodies, attachment names and attachment bytes.
#include "mail/msmsg.h"

#include "tests/interop/mail/childprocess.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

using TestSupport::RunProgram;
using TestSupport::TempFolderTest;

namespace {

const std::string Peer = std::string(TARNWICK_FIXTURES) + "/../interop/mail/msmsg_peer.py";

std::string Sha256(const std::string& Data)
{
    static const std::uint32_t K[64] = {
        0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4,
        0xab1c5ed5, 0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe,
        0x9bdc06a7, 0xc19bf174, 0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f,
        0x4a7484aa, 0x5cb0a9dc, 0x76f988da, 0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7,
        0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967, 0x27b70a85, 0x2e1b2138, 0x4d2c6dfc,
        0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85, 0xa2bfe8a1, 0xa81a664b,
        0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070, 0x19a4c116,
        0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
        0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7,
        0xc67178f2};
    std::uint32_t H[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                          0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::string M = Data + '\x80';
    while (M.size() % 64 != 56)
        M += '\0';
    const std::uint64_t Bits = static_cast<std::uint64_t>(Data.size()) * 8;
    for (int I = 7; I >= 0; --I)
        M += static_cast<char>((Bits >> (I * 8)) & 0xFF);
    auto Rotr = [](std::uint32_t X, int N) { return (X >> N) | (X << (32 - N)); };
    for (std::size_t Block = 0; Block < M.size(); Block += 64) {
        std::uint32_t W[64];
        for (int I = 0; I < 16; ++I)
            W[I] =
                static_cast<std::uint32_t>(static_cast<unsigned char>(M[Block + I * 4])) << 24 |
                static_cast<std::uint32_t>(static_cast<unsigned char>(M[Block + I * 4 + 1])) << 16 |
                static_cast<std::uint32_t>(static_cast<unsigned char>(M[Block + I * 4 + 2])) << 8 |
                static_cast<std::uint32_t>(static_cast<unsigned char>(M[Block + I * 4 + 3]));
        for (int I = 16; I < 64; ++I) {
            const std::uint32_t S0 = Rotr(W[I - 15], 7) ^ Rotr(W[I - 15], 18) ^ (W[I - 15] >> 3);
            const std::uint32_t S1 = Rotr(W[I - 2], 17) ^ Rotr(W[I - 2], 19) ^ (W[I - 2] >> 10);
            W[I] = W[I - 16] + S0 + W[I - 7] + S1;
        }
        std::uint32_t A[8];
        std::copy(H, H + 8, A);
        for (int I = 0; I < 64; ++I) {
            const std::uint32_t S1 = Rotr(A[4], 6) ^ Rotr(A[4], 11) ^ Rotr(A[4], 25);
            const std::uint32_t Ch = (A[4] & A[5]) ^ (~A[4] & A[6]);
            const std::uint32_t T1 = A[7] + S1 + Ch + K[I] + W[I];
            const std::uint32_t S0 = Rotr(A[0], 2) ^ Rotr(A[0], 13) ^ Rotr(A[0], 22);
            const std::uint32_t Maj = (A[0] & A[1]) ^ (A[0] & A[2]) ^ (A[1] & A[2]);
            std::copy_backward(A, A + 7, A + 8);
            A[4] += T1;
            A[0] = T1 + S0 + Maj;
        }
        for (int I = 0; I < 8; ++I)
            H[I] += A[I];
    }
    static const char Hex[] = "0123456789abcdef";
    std::string Result;
    for (const std::uint32_t Word : H)
        for (int Shift = 28; Shift >= 0; Shift -= 4)
            Result += Hex[(Word >> Shift) & 15];
    return Result;
}

std::string HexOf(const std::string& Bytes)
{
    static const char Hex[] = "0123456789abcdef";
    std::string Result;
    for (const char C : Bytes) {
        Result += Hex[static_cast<unsigned char>(C) >> 4];
        Result += Hex[static_cast<unsigned char>(C) & 15];
    }
    return Result;
}

// The same lines as the peer prints, from our decoder.
std::string Describe(const std::string& FileName)
{
    ZevMessage Message(nullptr);
    Message.LoadFromFile(FileName);
    std::string Result = "message " + std::filesystem::path(FileName).filename().string() + "\n";
    Result += "subject " + HexOf(Message.Subject()) + "\n";
    Result += "body " + Sha256(Message.Body()->Text()) + "\n";
    for (int I = 0; I < Message.Attachments()->Count(); ++I) {
        const ZevAttItem* Item = Message.Attachments()->Items(I);
        const std::string Bytes(static_cast<const char*>(Item->Data()->Memory()),
                                static_cast<std::size_t>(Item->Data()->Size()));
        // Unnamed parts get generated names here; the peer shows them as "-".
        const std::string& Name = Item->FileName();
        const bool Generated = Name.rfind("att.", 0) == 0 || Name.rfind("_alt.", 0) == 0;
        Result += "attachment " + Sha256(Bytes) + " " + (Generated ? "-" : Name) + "\n";
    }
    return Result;
}

class MessageInterop : public TempFolderTest {};

} // namespace

TEST(MessageInteropSelfCheck, Sha256OfKnownTexts)
{
    EXPECT_EQ(Sha256(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Sha256(std::string(1000, 'a')),
              "41edece42d63e8d9bf515a9ba6932e1c20cbc9f5a5d134645adb5db1b9737ea3");
}

TEST_F(MessageInterop, DecodesLikePythonsEmailPackage)
{
    const TestSupport::TProgramResult Generated = RunProgram({"python3", Peer, "generate", Folder});
    ASSERT_EQ(Generated.ExitCode, 0) << Generated.Errors;
    std::vector<std::string> Files;
    for (const auto& Entry : std::filesystem::directory_iterator(Folder))
        Files.push_back(Entry.path().string());
    std::sort(Files.begin(), Files.end());
    ASSERT_GE(Files.size(), 50u);

    std::vector<std::string> Argv = {"python3", Peer, "describe"};
    Argv.insert(Argv.end(), Files.begin(), Files.end());
    const TestSupport::TProgramResult Expected = RunProgram(Argv);
    ASSERT_EQ(Expected.ExitCode, 0) << Expected.Errors;

    std::istringstream Lines(Expected.Output);
    std::string Line;
    std::string PythonView;
    std::size_t Index = 0;
    auto CheckOne = [&] {
        if (PythonView.empty())
            return;
        ASSERT_LT(Index, Files.size());
        EXPECT_EQ(Describe(Files[Index]), PythonView) << Files[Index];
        ++Index;
        PythonView.clear();
    };
    while (std::getline(Lines, Line)) {
        if (Line.rfind("message ", 0) == 0)
            CheckOne();
        PythonView += Line + "\n";
    }
    CheckOne();
    EXPECT_EQ(Index, Files.size());
}
