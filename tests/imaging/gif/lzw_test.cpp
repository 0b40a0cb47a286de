// tests/imaging/gif/lzw_test.cpp: the LZW decoder on hand-made code streams, the encoders' code
// sizes and sub-blocks, and the hash table.
#include "imaging/gif/giflzw.h"
#include "imaging/gif/gifrle.h"
#include "tests/imaging/gif/gifsamples.h"

#include <gtest/gtest.h>

namespace {

// Packs codes least significant bit first with the widths a decoder expects: the width grows
// when the decoder's next free code passes it, and a clear code resets it.
class TCodeWriter {
public:
    explicit TCodeWriter(int ACodeSize) : CodeSize(ACodeSize) { Reset(); }
    void Put(int Code)
    {
        Acc |= static_cast<std::uint64_t>(Code) << Bits;
        Bits += Width;
        while (Bits >= 8) {
            Bytes += static_cast<char>(Acc & 0xFF);
            Acc >>= 8;
            Bits -= 8;
        }
        if (Code == (1 << CodeSize)) {
            Reset();
            return;
        }
        if (!First && Next < 4096 && ++Next > (1 << Width) - 1 && Width < 12)
            ++Width;
        First = false;
    }
    // The image data: code size, sub-blocks of SubBlock bytes, terminator.
    std::string Data(int SubBlock = 255)
    {
        std::string All = Bytes;
        if (Bits > 0)
            All += static_cast<char>(Acc & 0xFF);
        std::string Out(1, static_cast<char>(CodeSize));
        for (std::size_t I = 0; I < All.size(); I += static_cast<std::size_t>(SubBlock)) {
            const std::string Part = All.substr(I, static_cast<std::size_t>(SubBlock));
            Out += static_cast<char>(Part.size());
            Out += Part;
        }
        return Out + std::string(1, '\0');
    }

private:
    void Reset()
    {
        Width = CodeSize + 1;
        Next = (1 << CodeSize) + 2;
        First = true;
    }
    int CodeSize;
    int Width = 0;
    int Next = 0;
    bool First = true;
    std::uint64_t Acc = 0;
    int Bits = 0;
    std::string Bytes;
};

// A picture of one Width x Height frame whose image data is Data, then a second 1x1 frame.
std::string GifWithData(int Width, int Height, const std::string& Data)
{
    std::string G = "GIF89a";
    G += static_cast<char>(Width);
    G += '\0';
    G += static_cast<char>(Height);
    G += std::string("\0\xF1\0\0", 4); // 4-entry global table
    G += std::string(12, '\x10');
    G += ',';
    G += std::string(4, '\0');
    G += static_cast<char>(Width);
    G += '\0';
    G += static_cast<char>(Height);
    G += std::string(2, '\0');
    G += Data;
    G += std::string(",\0\0\0\0\x01\0\x01\0\0\x02\x02\x5C\x01\0;", 16); // pixel 3 (clear, 3, end)
    return G;
}

struct TDecoded {
    std::vector<std::uint8_t> First;
    std::vector<std::uint8_t> Second;
    std::vector<std::string> Warnings;
};

TDecoded Decode(int Width, int Height, const std::string& Data)
{
    TGIFImage Image;
    TDecoded D;
    Image.OnCodecWarning = [&](TObject*, int, const std::string& M) { D.Warnings.push_back(M); };
    LoadFromString(Image, GifWithData(Width, Height, Data));
    D.First = FramePixels(Image.Images()->SubImage(0));
    if (Image.Images()->Count() > 1)
        D.Second = FramePixels(Image.Images()->SubImage(1));
    return D;
}

TEST(GIFLZWDecoder, TheFirstCodeAfterClearIsAPixelAndACodeMayNameItsOwnEntry)
{
    TCodeWriter W(2);
    // clear, 1, then 6 (not yet in the table: "1" + "1"), then 6 again ("11"), then 7 ("111").
    for (const int Code : {4, 1, 6, 6, 7, 5})
        W.Put(Code);
    const TDecoded D = Decode(8, 1, W.Data());
    EXPECT_EQ(D.First, (std::vector<std::uint8_t>{1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(D.Second, std::vector<std::uint8_t>{3});
    EXPECT_TRUE(D.Warnings.empty());
}

TEST(GIFLZWDecoder, AFullTableKeepsDecodingTwelveBitCodes)
{
    TCodeWriter W(2);
    W.Put(4);
    std::vector<std::uint8_t> Expected;
    for (int I = 0; I < 5000; ++I) {
        W.Put(I % 3);
        Expected.push_back(static_cast<std::uint8_t>(I % 3));
    }
    W.Put(5);
    TGIFImage Image;
    const std::string Gif = GifWithData(100, 50, W.Data());
    LoadFromString(Image, Gif);
    EXPECT_EQ(FramePixels(Image.Images()->SubImage(0)), Expected);
    EXPECT_EQ(FramePixels(Image.Images()->SubImage(1)), std::vector<std::uint8_t>{3});
}

TEST(GIFLZWDecoder, CodesEndingEarlyLeaveTheFillValue)
{
    TCodeWriter W(2);
    for (const int Code : {4, 1, 2, 5})
        W.Put(Code);
    EXPECT_EQ(Decode(3, 2, W.Data()).First, (std::vector<std::uint8_t>{1, 2, 0, 0, 0, 0}));
}

TEST(GIFLZWDecoder, RunningOutOfCodesWarnsAndKeepsLaterFrames)
{
    TCodeWriter W(2);
    for (const int Code : {4, 1, 2})
        W.Put(Code);
    const TDecoded D = Decode(3, 2, W.Data());
    EXPECT_EQ(D.First, (std::vector<std::uint8_t>{1, 2, 0, 0, 0, 0}));
    EXPECT_EQ(D.Warnings, std::vector<std::string>{"Decoder bit buffer under-run"});
    EXPECT_EQ(D.Second, std::vector<std::uint8_t>{3});
}

TEST(GIFLZWDecoder, CodesSpanningOneByteSubBlocksReadRight)
{
    TCodeWriter W(2);
    W.Put(4);
    std::vector<std::uint8_t> Expected;
    for (int I = 0; I < 300; ++I) {
        W.Put((I * 7 / 3) % 4);
        Expected.push_back(static_cast<std::uint8_t>((I * 7 / 3) % 4));
    }
    W.Put(5);
    EXPECT_EQ(Decode(30, 10, W.Data(1)).First, Expected);
}

TEST(GIFLZWDecoder, ASubBlockCutByTheEndOfTheFileWarns)
{
    TCodeWriter W(2);
    for (const int Code : {4, 1, 2, 3, 5})
        W.Put(Code);
    std::string Gif = GifWithData(4, 1, W.Data());
    Gif = Gif.substr(0, Gif.find(std::string(",\0\0\0\0\x01", 6), 20)); // drop frame 2 and ;
    Gif[Gif.size() - 4] = 50;                                           // claims 50 bytes
    TGIFImage Image;
    std::vector<std::string> Warnings;
    Image.OnCodecWarning = [&](TObject*, int, const std::string& M) { Warnings.push_back(M); };
    LoadFromString(Image, Gif.substr(0, Gif.size() - 1));
    ASSERT_FALSE(Warnings.empty());
    EXPECT_EQ(Warnings[0], "Premature end of data");
}

TEST(GIFLZWDecoder, RefusesCodeSizesThatDoNotFitTheTable)
{
    for (const char Size : {'\0', '\x0C', '\xFF'}) {
        std::string Data = std::string(1, Size) + std::string("\x01\x00\x00", 3);
        TGIFImage Image;
        EXPECT_THROW(LoadFromString(Image, GifWithData(2, 2, Data)), GIFException)
            << static_cast<int>(Size);
    }
}

TEST(GIFLZWEncoder, CodeSizeFollowsTheColourCount)
{
    struct TCase {
        int Colors;
        int CodeSize;
    };
    for (const TCase& C : std::vector<TCase>{{2, 2}, {4, 2}, {5, 3}, {16, 4}, {256, 8}}) {
        TGIFImage Image;
        FillColorMap(Image.Header()->ColorMap(), SampleColorMap(C.Colors, 1));
        AddSampleFrame(Image, 0, 0, 4, 4, SamplePixels(4, 4, C.Colors, 1));
        const std::string Bytes = SaveToString(Image);
        const std::size_t Descriptor = 13 + 3 * (std::size_t{2} << (Bytes[10] & 7));
        EXPECT_EQ(Bytes[Descriptor + 10], C.CodeSize) << C.Colors;
    }
}

TEST(GIFLZWEncoder, InterlacedRowsFollowTheFourPasses)
{
    EXPECT_EQ(InterlacedRowOrder(3, true), (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(InterlacedRowOrder(9, true), (std::vector<int>{0, 8, 4, 2, 6, 1, 3, 5, 7}));
    EXPECT_EQ(InterlacedRowOrder(1, true), std::vector<int>{0});
}

TEST(GIFLZWEncoder, RefusesPixelsOutsideTheColourTable)
{
    for (const TGIFEncoding E : {geLZW, geRLE}) {
        TGIFImage Image;
        Image.SetEncoding(E);
        TGIFSubImage* Frame = AddSampleFrame(Image, 0, 0, 2, 2, {0, 1, 2, 3});
        FillColorMap(Frame->ColorMap(), SampleColorMap(3, 1));
        try {
            SaveToString(Image);
            ADD_FAILURE();
        } catch (const GIFException& Error) {
            EXPECT_EQ(Error.Message(), "Color not in color table");
        }
    }
}

TEST(GIFWriter, CutsDataIntoFullSubBlocks)
{
    struct TCase {
        int Bytes;
        std::vector<int> Blocks;
    };
    for (const TCase& C : std::vector<TCase>{
             {0, {}}, {1, {1}}, {255, {255}}, {256, {255, 1}}, {600, {255, 255, 90}}}) {
        TStringStream Out;
        {
            TGIFWriter Writer(&Out);
            for (int I = 0; I < C.Bytes; ++I)
                Writer.WriteByte(static_cast<std::uint8_t>(I));
        }
        std::vector<int> Blocks;
        const std::string& S = Out.DataString();
        for (std::size_t I = 0; I < S.size(); I += static_cast<std::uint8_t>(S[I]) + 1u)
            Blocks.push_back(static_cast<std::uint8_t>(S[I]));
        EXPECT_EQ(Blocks, C.Blocks) << C.Bytes;
    }
    TStringStream Out;
    TGIFWriter Writer(&Out);
    char Byte;
    EXPECT_THROW(Writer.Read(&Byte, 1), Exception);
    EXPECT_THROW(Writer.Seek(0, soBeginning), Exception);
}

TEST(GIFHashTable, FindsWhatWasStoredAndNeverProbesForEver)
{
    auto Table = std::make_unique<THashTable>();
    for (std::uint32_t Key = 0; Key < 3000; ++Key)
        Table->Insert(Key * 977 % 1048575, static_cast<int>(Key % 4095));
    for (std::uint32_t Key = 0; Key < 3000; ++Key)
        ASSERT_EQ(Table->Lookup(Key * 977 % 1048575), static_cast<int>(Key % 4095));
    EXPECT_EQ(Table->Lookup(1048574), -1);
    // A full table: inserting and missing look-ups still end.
    for (std::uint32_t Key = 0; Key < THashTable::HashSize + 10; ++Key)
        Table->Insert(Key, 1);
    EXPECT_EQ(Table->Lookup(1048000), -1);
}

TEST(GIFRunLength, SquareRootAndRunCost)
{
    const std::vector<std::pair<int, int>> Roots = {{0, 0}, {1, 1},  {2, 1},  {3, 1},
                                                    {4, 2}, {15, 3}, {16, 4}, {1000000, 1000}};
    for (const auto& [X, R] : Roots)
        EXPECT_EQ(IntegerSqrt(X), R) << X;
    // n codes of growing runs send n(n+1)/2 pixels.
    EXPECT_EQ(RunCost(1, 100), 1);
    EXPECT_EQ(RunCost(3, 100), 2);
    EXPECT_EQ(RunCost(4, 100), 3);
    EXPECT_EQ(RunCost(5050, 100), 100);
    EXPECT_EQ(RunCost(5051, 100), 101);
}

TEST(GIFRunLength, OneColourAndAlternatingFramesRoundTrip)
{
    for (const int Colors : {2, 8, 16, 256}) {
        std::vector<std::uint8_t> Solid(100 * 100, 1), Alternating(100 * 100);
        for (std::size_t I = 0; I < Alternating.size(); ++I)
            Alternating[I] = static_cast<std::uint8_t>(I % 2);
        for (const auto* Pixels : {&Solid, &Alternating}) {
            TGIFImage Image;
            Image.SetEncoding(geRLE);
            FillColorMap(Image.Header()->ColorMap(), SampleColorMap(Colors, 1));
            AddSampleFrame(Image, 0, 0, 100, 100, *Pixels);
            TGIFImage Back;
            LoadFromString(Back, SaveToString(Image));
            EXPECT_EQ(FramePixels(Back.Images()->SubImage(0)), *Pixels) << Colors;
        }
    }
}

} // namespace
