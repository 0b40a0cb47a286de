// tests/imaging/gif/giflibpeer.cpp: giflib's decoder and encoder over memory buffers.
#include "tests/imaging/gif/giflibpeer.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

int ReadFromMemory(GifFileType* Gif, GifByteType* Buffer, int Count)
{
    auto* R = static_cast<TPeerReader*>(Gif->UserData);
    const std::size_t N =
        std::min<std::size_t>(static_cast<std::size_t>(Count), R->Bytes->size() - R->Pos);
    std::memcpy(Buffer, R->Bytes->data() + R->Pos, N);
    R->Pos += N;
    return static_cast<int>(N);
}

int WriteToMemory(GifFileType* Gif, const GifByteType* Buffer, int Count)
{
    static_cast<std::string*>(Gif->UserData)
        ->append(reinterpret_cast<const char*>(Buffer), static_cast<std::size_t>(Count));
    return Count;
}

std::vector<std::uint8_t> MapBytes(const ColorMapObject* Map)
{
    std::vector<std::uint8_t> Result;
    if (!Map)
        return Result;
    for (int I = 0; I < Map->ColorCount; ++I) {
        Result.push_back(Map->Colors[I].Red);
        Result.push_back(Map->Colors[I].Green);
        Result.push_back(Map->Colors[I].Blue);
    }
    return Result;
}

std::vector<TPeerExtension> Extensions(int Count, const ExtensionBlock* Blocks)
{
    std::vector<TPeerExtension> Result;
    for (int I = 0; I < Count; ++I) {
        const ExtensionBlock& B = Blocks[I];
        const std::string Data(reinterpret_cast<const char*>(B.Bytes),
                               static_cast<std::size_t>(B.ByteCount));
        if (B.Function == CONTINUE_EXT_FUNC_CODE && !Result.empty())
            Result.back().Blocks.push_back(Data);
        else
            Result.push_back(TPeerExtension{B.Function, {Data}});
    }
    return Result;
}

ColorMapObject* MakeMap(const std::vector<std::uint8_t>& Bytes)
{
    if (Bytes.empty())
        return nullptr;
    const int Count = static_cast<int>(Bytes.size() / 3);
    int Size = 2;
    while (Size < Count)
        Size *= 2;
    ColorMapObject* Map = GifMakeMapObject(Size, nullptr);
    for (int I = 0; I < Size; ++I) {
        GifColorType C{0, 0, 0};
        if (I < Count)
            C = GifColorType{Bytes[3 * I], Bytes[3 * I + 1], Bytes[3 * I + 2]};
        Map->Colors[I] = C;
    }
    return Map;
}

void PutExtensions(GifFileType* Gif, const std::vector<TPeerExtension>& List)
{
    for (const TPeerExtension& E : List) {
        EGifPutExtensionLeader(Gif, E.Function);
        for (const std::string& Block : E.Blocks)
            EGifPutExtensionBlock(Gif, static_cast<int>(Block.size()), Block.data());
        EGifPutExtensionTrailer(Gif);
    }
}

} // namespace

GifFileType* PeerOpenDecoder(TPeerReader& Reader, int& Error)
{
    return DGifOpen(&Reader, ReadFromMemory, &Error);
}

GifFileType* PeerOpenEncoder(std::string& Out, int& Error)
{
    return EGifOpen(&Out, WriteToMemory, &Error);
}

void PeerPutPixels(GifFileType* Gif, const std::uint8_t* Pixels, int Width, int Height,
                   bool Interlace)
{
    std::vector<int> Rows;
    if (Interlace) {
        static const int Start[4] = {0, 4, 2, 1}, Step[4] = {8, 8, 4, 2};
        for (int P = 0; P < 4; ++P)
            for (int Y = Start[P]; Y < Height; Y += Step[P])
                Rows.push_back(Y);
    } else
        for (int Y = 0; Y < Height; ++Y)
            Rows.push_back(Y);
    for (const int Y : Rows)
        EGifPutLine(Gif, const_cast<GifPixelType*>(Pixels) + static_cast<std::size_t>(Y) * Width,
                    Width);
}

TPeerFile PeerDecode(const std::string& Bytes)
{
    TPeerReader Reader{&Bytes};
    int Error = 0;
    GifFileType* Gif = PeerOpenDecoder(Reader, Error);
    if (!Gif)
        throw std::runtime_error("DGifOpen failed");
    if (DGifSlurp(Gif) != GIF_OK) {
        DGifCloseFile(Gif, &Error);
        throw std::runtime_error("DGifSlurp failed");
    }
    TPeerFile File;
    File.Width = Gif->SWidth;
    File.Height = Gif->SHeight;
    File.Background = Gif->SBackGroundColor;
    File.ColorResolution = Gif->SColorResolution;
    File.GlobalMap = MapBytes(Gif->SColorMap);
    for (int I = 0; I < Gif->ImageCount; ++I) {
        const SavedImage& S = Gif->SavedImages[I];
        TPeerFrame F;
        F.Left = S.ImageDesc.Left;
        F.Top = S.ImageDesc.Top;
        F.Width = S.ImageDesc.Width;
        F.Height = S.ImageDesc.Height;
        F.Interlace = S.ImageDesc.Interlace;
        F.LocalMap = MapBytes(S.ImageDesc.ColorMap);
        F.Pixels.assign(S.RasterBits, S.RasterBits + static_cast<std::size_t>(F.Width) * F.Height);
        F.Extensions = Extensions(S.ExtensionBlockCount, S.ExtensionBlocks);
        File.Frames.push_back(std::move(F));
    }
    File.TrailingExtensions = Extensions(Gif->ExtensionBlockCount, Gif->ExtensionBlocks);
    DGifCloseFile(Gif, &Error);
    return File;
}

std::string PeerEncode(const TPeerFile& File)
{
    std::string Out;
    int Error = 0;
    GifFileType* Gif = PeerOpenEncoder(Out, Error);
    if (!Gif)
        throw std::runtime_error("EGifOpen failed");
    EGifSetGifVersion(Gif, true);
    ColorMapObject* Global = MakeMap(File.GlobalMap);
    EGifPutScreenDesc(Gif, File.Width, File.Height, 8, File.Background, Global);
    GifFreeMapObject(Global);
    for (const TPeerFrame& F : File.Frames) {
        PutExtensions(Gif, F.Extensions);
        ColorMapObject* Local = MakeMap(F.LocalMap);
        EGifPutImageDesc(Gif, F.Left, F.Top, F.Width, F.Height, F.Interlace, Local);
        GifFreeMapObject(Local);
        PeerPutPixels(Gif, F.Pixels.data(), F.Width, F.Height, F.Interlace);
        // giflib keeps its copy of a local table after the image is written and never frees it.
        if (Gif->Image.ColorMap) {
            GifFreeMapObject(Gif->Image.ColorMap);
            Gif->Image.ColorMap = nullptr;
        }
    }
    PutExtensions(Gif, File.TrailingExtensions);
    if (EGifCloseFile(Gif, &Error) != GIF_OK)
        throw std::runtime_error("EGifCloseFile failed");
    return Out;
}
