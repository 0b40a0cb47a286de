// tests/imaging/gif/interop_test.cpp: the codec against giflib, both ways: files giflib writes
// decode here to what giflib's own decoder reports, and files written here decode with giflib
// to exactly our pixels.
#include "tests/imaging/gif/giflibpeer.h"
#include "tests/imaging/gif/gifsamples.h"

#include <gtest/gtest.h>

namespace {

struct TShape {
    int Width;
    int Height;
    int Colors;
    bool Interlaced;
    bool LocalMap;
};

std::vector<TShape> Shapes()
{
    std::vector<TShape> Result = {{1, 1, 2, false, false}, {1, 1, 256, false, true}};
    for (int W = 1; W <= 17; ++W)
        Result.push_back({W, 3, 4, false, false});
    for (int Bits = 1; Bits <= 8; ++Bits)
        Result.push_back({37, 11, 1 << Bits, false, Bits % 2 == 0});
    for (int H = 1; H <= 9; ++H)
        Result.push_back({5, H, 16, true, false});
    Result.push_back({3, 2, 3, false, true});        // a table that is not a power of two
    Result.push_back({400, 300, 256, false, false}); // resets the table many times
    Result.push_back({640, 97, 2, true, false});
    Result.push_back({1000, 1, 256, false, false});
    return Result;
}

std::string Describe(const TShape& S)
{
    return std::to_string(S.Width) + "x" + std::to_string(S.Height) + " colours " +
           std::to_string(S.Colors) + (S.Interlaced ? " interlaced" : "") +
           (S.LocalMap ? " local" : "");
}

// A giflib file of one frame per shape in a row, with a loop extension, a comment and a
// graphic control extension per frame.
TPeerFile PeerSample(const std::vector<TShape>& List)
{
    TPeerFile File;
    File.GlobalMap = SampleColorMap(256, 1);
    for (std::size_t I = 0; I < List.size(); ++I) {
        const TShape& S = List[I];
        TPeerFrame F;
        F.Left = static_cast<int>(I % 3);
        F.Top = static_cast<int>(I % 2);
        F.Width = S.Width;
        F.Height = S.Height;
        F.Interlace = S.Interlaced;
        if (S.LocalMap)
            F.LocalMap = SampleColorMap(S.Colors, static_cast<std::uint32_t>(I));
        F.Pixels = SamplePixels(S.Width, S.Height, S.Colors, static_cast<std::uint32_t>(I));
        const char Control[4] = {static_cast<char>(((I % 4) << 2) | (I % 2)), static_cast<char>(I),
                                 0, static_cast<char>(I % 2)};
        F.Extensions.push_back({0xF9, {std::string(Control, 4)}});
        if (I == 0) {
            F.Extensions.push_back({0xFF, {"NETSCAPE2.0", std::string("\x01\x03\x00", 3)}});
            F.Extensions.push_back({0xFE, {"made by the peer", "second block"}});
        }
        File.Width = std::max(File.Width, F.Left + F.Width);
        File.Height = std::max(File.Height, F.Top + F.Height);
        File.Frames.push_back(std::move(F));
    }
    return File;
}

// Our picture must hold what giflib reports of the same bytes.
void ExpectSameAsPeer(const std::string& Bytes, const TPeerFile& Peer)
{
    TGIFImage Image;
    LoadFromString(Image, Bytes);
    EXPECT_EQ(Image.Width(), Peer.Width);
    EXPECT_EQ(Image.Height(), Peer.Height);
    EXPECT_EQ(Image.Header()->BackgroundColorIndex(), Peer.Background);
    EXPECT_EQ(MapBytes(Image.Header()->ColorMap()), Peer.GlobalMap);
    ASSERT_EQ(Image.Images()->Count(), static_cast<int>(Peer.Frames.size()));
    for (int I = 0; I < Image.Images()->Count(); ++I) {
        SCOPED_TRACE("frame " + std::to_string(I));
        const TGIFSubImage* Frame = Image.Images()->SubImage(I);
        const TPeerFrame& P = Peer.Frames[static_cast<std::size_t>(I)];
        EXPECT_EQ(Frame->Left(), P.Left);
        EXPECT_EQ(Frame->Top(), P.Top);
        EXPECT_EQ(Frame->Width(), P.Width);
        EXPECT_EQ(Frame->Height(), P.Height);
        EXPECT_EQ(Frame->IsInterlaced(), P.Interlace);
        EXPECT_EQ(MapBytes(Frame->ColorMap()), P.LocalMap);
        EXPECT_TRUE(FramePixels(Frame) == P.Pixels);
        ASSERT_EQ(Frame->Extensions()->Count(), static_cast<int>(P.Extensions.size()));
        for (int E = 0; E < Frame->Extensions()->Count(); ++E) {
            const TGIFExtension* Ext = Frame->Extensions()->Extension(E);
            const TPeerExtension& PE = P.Extensions[static_cast<std::size_t>(E)];
            EXPECT_EQ(Ext->ExtensionLabel(), PE.Function);
            if (auto* GCE = dynamic_cast<const TGIFGraphicControlExtension*>(Ext)) {
                const std::string& B = PE.Blocks.at(0);
                EXPECT_EQ(GCE->PackedFields(), static_cast<std::uint8_t>(B[0]));
                EXPECT_EQ(GCE->DelayHundredths(),
                          static_cast<std::uint8_t>(B[1]) | (static_cast<std::uint8_t>(B[2]) << 8));
                EXPECT_EQ(GCE->TransparentIndex(), static_cast<std::uint8_t>(B[3]));
                EXPECT_EQ(Frame->Transparent(), (B[0] & 1) != 0);
            } else if (auto* Loop = dynamic_cast<const TGIFAppExtNSLoop*>(Ext)) {
                EXPECT_EQ(Loop->Identifier(), PE.Blocks.at(0));
                const std::string& B = PE.Blocks.at(1);
                EXPECT_EQ(Loop->Loops(),
                          static_cast<std::uint8_t>(B[1]) | (static_cast<std::uint8_t>(B[2]) << 8));
            } else if (auto* Comment = dynamic_cast<const TGIFCommentExtension*>(Ext)) {
                ASSERT_EQ(Comment->Text()->Count(), static_cast<int>(PE.Blocks.size()));
                for (int L = 0; L < Comment->Text()->Count(); ++L)
                    EXPECT_EQ(Comment->Text()->Strings(L), PE.Blocks[static_cast<std::size_t>(L)]);
            }
        }
    }
}

TEST(GIFInterop, FilesGiflibWritesDecodeToWhatGiflibReports)
{
    const TPeerFile Source = PeerSample(Shapes());
    const std::string Bytes = PeerEncode(Source);
    const TPeerFile Peer = PeerDecode(Bytes);
    ASSERT_EQ(Peer.Frames.size(), Source.Frames.size());
    ExpectSameAsPeer(Bytes, Peer);
}

TEST(GIFInterop, OneByteSubBlocksChangeNoPixel)
{
    const std::string Bytes = PeerEncode(PeerSample(Shapes()));
    const std::string Chunked = Rechunk(Bytes, 1);
    ASSERT_GT(Chunked.size(), Bytes.size());
    ExpectSameAsPeer(Chunked, PeerDecode(Bytes));
    ExpectSameAsPeer(Rechunk(Bytes, 2), PeerDecode(Bytes));
}

// Each shape as a one-frame picture of ours, written by each encoder.
TEST(GIFInterop, GiflibDecodesWhatWeWriteToExactlyOurPixels)
{
    for (const TGIFEncoding Encoding : {geLZW, geRLE})
        for (const TShape& S : Shapes()) {
            SCOPED_TRACE(Describe(S) + (Encoding == geRLE ? " run-length" : " LZW"));
            TGIFImage Image;
            Image.SetEncoding(Encoding);
            const std::vector<std::uint8_t> Pixels = SamplePixels(S.Width, S.Height, S.Colors, 7);
            // A local table clears the interlace flag on writing, so interlaced shapes use the
            // global one.
            const bool Local = S.LocalMap && !S.Interlaced;
            TGIFSubImage* Frame =
                AddSampleFrame(Image, 0, 0, S.Width, S.Height, Pixels, S.Interlaced);
            FillColorMap(Local ? static_cast<TGIFColorMap*>(Frame->ColorMap())
                               : Image.Header()->ColorMap(),
                         SampleColorMap(S.Colors, 3));
            const std::string Bytes = SaveToString(Image);
            const TPeerFile Peer = PeerDecode(Bytes);
            ASSERT_EQ(Peer.Frames.size(), 1u);
            EXPECT_EQ(Peer.Frames[0].Interlace, S.Interlaced);
            EXPECT_TRUE(Peer.Frames[0].Pixels == Pixels);
            TGIFImage Back;
            LoadFromString(Back, Bytes);
            EXPECT_TRUE(FramePixels(Back.Images()->SubImage(0)) == Pixels);
        }
}

TEST(GIFInterop, GiflibReadsOurAnimationsWithTheirExtensions)
{
    const std::string Source = PeerEncode(PeerSample(Shapes()));
    TGIFImage Image;
    LoadFromString(Image, Source);
    const std::string Ours = SaveToString(Image);
    const TPeerFile A = PeerDecode(Source), B = PeerDecode(Ours);
    ASSERT_EQ(A.Frames.size(), B.Frames.size());
    EXPECT_EQ(A.GlobalMap, B.GlobalMap);
    for (std::size_t I = 0; I < A.Frames.size(); ++I) {
        SCOPED_TRACE("frame " + std::to_string(I));
        EXPECT_TRUE(A.Frames[I].Pixels == B.Frames[I].Pixels);
        ASSERT_EQ(A.Frames[I].Extensions.size(), B.Frames[I].Extensions.size());
        for (std::size_t E = 0; E < A.Frames[I].Extensions.size(); ++E)
            EXPECT_EQ(A.Frames[I].Extensions[E].Blocks, B.Frames[I].Extensions[E].Blocks);
    }
}

// Image data with codes left before its end code (the descriptor claims fewer rows than the
// data holds) must not cost the frames after it.
TEST(GIFInterop, CodesLeftBeforeTheEndCodeDoNotLoseLaterFrames)
{
    TPeerFile File = PeerSample({{20, 10, 16, false, false}, {8, 8, 16, false, false}});
    std::string Bytes = PeerEncode(File);
    // The first image descriptor: after the header, the global table and the frame's
    // extensions; find it by its separator and the known size.
    const std::string Descriptor = std::string(",\0\0\0\0\x14\0\x0a\0", 9);
    const std::size_t At = Bytes.find(Descriptor);
    ASSERT_NE(At, std::string::npos);
    Bytes[At + 7] = 4; // height 10 -> 4
    TGIFImage Image;
    LoadFromString(Image, Bytes);
    ASSERT_EQ(Image.Images()->Count(), 2);
    const std::vector<std::uint8_t> Rows(File.Frames[0].Pixels.begin(),
                                         File.Frames[0].Pixels.begin() + 80);
    EXPECT_TRUE(FramePixels(Image.Images()->SubImage(0)) == Rows);
    EXPECT_TRUE(FramePixels(Image.Images()->SubImage(1)) == File.Frames[1].Pixels);
}

} // namespace
