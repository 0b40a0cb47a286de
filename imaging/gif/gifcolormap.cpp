// imaging/gif/gifcolormap.cpp: colour tables: entries, file form, palettes and sorting by usage.
#include "imaging/gif/gifcolormap.h"

#include "imaging/gif/gifextensions.h"
#include "imaging/gif/gifimage.h"
#include "imaging/gif/gifitems.h"

#include <algorithm>
#include <cstring>

namespace {

void QuickSort(TColorUsage& Pairs, int L, int R)
{
    int I;
    do {
        I = L;
        int J = R;
        const int Pivot = Pairs[static_cast<std::size_t>((L + R) / 2)].first;
        do {
            while (Pairs[static_cast<std::size_t>(I)].first > Pivot)
                ++I;
            while (Pairs[static_cast<std::size_t>(J)].first < Pivot)
                --J;
            if (I <= J) {
                std::swap(Pairs[static_cast<std::size_t>(I)], Pairs[static_cast<std::size_t>(J)]);
                ++I;
                --J;
            }
        } while (I <= J);
        if (L < J)
            QuickSort(Pairs, L, J);
        L = I;
    } while (I < R);
}

void CountPixels(const TGIFSubImage* Frame, TColorUsage& Usage)
{
    const std::uint8_t* P = Frame->Data();
    for (std::size_t I = 0; I < Frame->DataSize(); ++I)
        ++Usage[P[I]].first;
}

void RemapFrame(TGIFSubImage* Frame, const std::uint8_t* Map)
{
    std::uint8_t* P = Frame->Data();
    for (std::size_t I = 0; I < Frame->DataSize(); ++I)
        P[I] = Map[P[I]];
    if (Frame->Transparent() && Frame->GraphicControlExtension()) {
        TGIFGraphicControlExtension* GCE = Frame->GraphicControlExtension();
        GCE->SetTransparentIndex(Map[GCE->TransparentIndex()]);
    }
    Frame->DropBitmap();
}

} // namespace

void TGIFColorMap::ResetTable()
{
    FEntries.clear();
    FEntries.shrink_to_fit();
    FCount = 0;
    FCapacity = 0;
    FSorted = false;
}

void TGIFColorMap::Reserve(int N)
{
    if (N < FCapacity)
        return;
    FCapacity = N <= 16 ? 16 : std::min(256, (N + 31) / 32 * 32);
    FEntries.resize(static_cast<std::size_t>(FCapacity) * 3, 0);
}

int TGIFColorMap::AppendColor(TColor Color)
{
    if (FCount >= 256)
        throw GIFException("Color table overflow");
    if (FCount >= FCapacity)
        Reserve(FCount + 1);
    std::uint8_t* E = FEntries.data() + 3 * FCount;
    E[0] = static_cast<std::uint8_t>(Color);
    E[1] = static_cast<std::uint8_t>(Color >> 8);
    E[2] = static_cast<std::uint8_t>(Color >> 16);
    ++FCount;
    FSorted = false;
    NotifyChanged();
    return FCount - 1;
}

int TGIFColorMap::AppendDistinctColor(TColor Color)
{
    const int Index = FindColor(Color);
    return Index >= 0 ? Index : AppendColor(Color);
}

void TGIFColorMap::RemoveColor(int Index)
{
    if (Index < 0 || Index >= FCount)
        throw GIFException("Invalid color index");
    std::memmove(FEntries.data() + 3 * Index, FEntries.data() + 3 * (Index + 1),
                 static_cast<std::size_t>(FCount - Index - 1) * 3);
    --FCount;
    FSorted = false;
    NotifyChanged();
}

int TGIFColorMap::FindColor(TColor Color) const
{
    const auto R = static_cast<std::uint8_t>(Color);
    const auto G = static_cast<std::uint8_t>(Color >> 8);
    const auto B = static_cast<std::uint8_t>(Color >> 16);
    auto Match = [&](int I) {
        const std::uint8_t* E = Entry(I);
        return E[0] == R && E[1] == G && E[2] == B;
    };
    if (FSorted) {
        for (int I = 0; I < FCount; ++I)
            if (Match(I))
                return I;
    } else {
        for (int I = FCount - 1; I >= 0; --I)
            if (Match(I))
                return I;
    }
    return -1;
}

TColor TGIFColorMap::ColorAt(int Index)
{
    if (Index < 0 || Index >= FCount) {
        ReportWarning(1, "Invalid color index");
        if (FCount == 0)
            throw GIFException("Color table is empty");
        Index = 0;
    }
    const std::uint8_t* E = Entry(Index);
    return static_cast<TColor>(E[0] | (E[1] << 8) | (E[2] << 16));
}

int TGIFColorMap::IndexBits() const
{
    if (FCount == 0)
        return 0;
    int N = 1;
    while ((1 << N) < FCount)
        ++N;
    return N;
}

void TGIFColorMap::SaveToStream(TStream* Stream) const
{
    if (FCount == 0)
        return;
    Stream->WriteBuffer(FEntries.data(), static_cast<int64_t>(FCount) * 3);
    const int Padding = (1 << IndexBits()) - FCount;
    if (Padding > 0) {
        const std::vector<std::uint8_t> Black(static_cast<std::size_t>(Padding) * 3, 0);
        Stream->WriteBuffer(Black.data(), static_cast<int64_t>(Black.size()));
    }
}

void TGIFColorMap::LoadFromStream(TStream* Stream, int N)
{
    ResetTable();
    Reserve(N);
    ReadExact(Stream, FEntries.data(), static_cast<int64_t>(N) * 3);
    FCount = N;
}

void TGIFColorMap::FromPalette(HPALETTE Palette)
{
    ResetTable();
    PALETTEENTRY Entries[256];
    const unsigned N = GetPaletteEntries(Palette, 0, 256, Entries);
    if (N == 0)
        return;
    Reserve(static_cast<int>(N));
    for (unsigned I = 0; I < N; ++I) {
        FEntries[3 * I] = Entries[I].peRed;
        FEntries[3 * I + 1] = Entries[I].peGreen;
        FEntries[3 * I + 2] = Entries[I].peBlue;
    }
    FCount = static_cast<int>(N);
    NotifyChanged();
}

void TGIFColorMap::FromRGBQuads(const RGBQUAD* Quads, int N)
{
    ResetTable();
    if (N <= 0)
        return;
    N = std::min(N, 256);
    Reserve(N);
    for (int I = 0; I < N; ++I) {
        FEntries[3 * I] = Quads[I].rgbRed;
        FEntries[3 * I + 1] = Quads[I].rgbGreen;
        FEntries[3 * I + 2] = Quads[I].rgbBlue;
    }
    FCount = N;
    NotifyChanged();
}

void TGIFColorMap::FromSelectedDIB(HDC DC)
{
    ResetTable();
    RGBQUAD Quads[256];
    const unsigned N = GetDIBColorTable(DC, 0, 256, Quads);
    FromRGBQuads(Quads, static_cast<int>(N));
    NotifyChanged();
}

HPALETTE TGIFColorMap::ToPalette() const
{
    if (FCount == 0)
        return nullptr;
    LOGPALETTE Pal;
    Pal.palVersion = 0x300;
    Pal.palNumEntries = static_cast<std::uint16_t>(FCount);
    for (int I = 0; I < FCount; ++I) {
        const std::uint8_t* E = Entry(I);
        Pal.palPalEntry[I] = PALETTEENTRY{E[0], E[1], E[2], PC_NOCOLLAPSE};
    }
    return CreatePalette(&Pal);
}

void TGIFColorMap::Assign(const TPersistent* Source)
{
    if (const auto* Map = dynamic_cast<const TGIFColorMap*>(Source)) {
        if (Map == this)
            return;
        ResetTable();
        FCapacity = Map->FCapacity;
        FCount = Map->FCount;
        FSorted = Map->FSorted;
        FEntries.assign(static_cast<std::size_t>(FCapacity) * 3, 0);
        if (FCount > 0)
            std::memcpy(FEntries.data(), Map->FEntries.data(),
                        static_cast<std::size_t>(FCount) * 3);
        NotifyChanged();
        return;
    }
    TPersistent::Assign(Source);
}

bool TGIFColorMap::SortByUsage()
{
    if (FCount <= 1)
        return false;
    FSorted = true;
    TColorUsage Usage;
    for (int I = 0; I < 256; ++I)
        Usage[static_cast<std::size_t>(I)] = {0, I};
    CountUsage(Usage);
    QuickSort(Usage, 0, FCount - 1);

    bool InOrder = true;
    for (int I = 0; I < FCount; ++I)
        if (Usage[static_cast<std::size_t>(I)].second != I) {
            InOrder = false;
            break;
        }
    if (InOrder)
        return true;

    // Pixels beyond the table keep their value.
    std::uint8_t Map[256];
    for (int I = 0; I < 256; ++I)
        Map[I] = static_cast<std::uint8_t>(I);
    for (int I = 0; I < FCount; ++I)
        Map[Usage[static_cast<std::size_t>(I)].second] = static_cast<std::uint8_t>(I);
    RemapPixels(Map);

    std::vector<std::uint8_t> Old(FEntries);
    for (int I = 0; I < FCount; ++I)
        std::memcpy(FEntries.data() + 3 * Map[I], Old.data() + 3 * I, 3);
    for (int I = 0; I < FCount; ++I)
        if (Usage[static_cast<std::size_t>(I)].first == 0) {
            FCount = I;
            break;
        }
    NotifyChanged();
    return true;
}

// Global table

void TGIFGlobalColorMap::ReportWarning(int Severity, const std::string& Message)
{
    if (FHeader && FHeader->Image())
        FHeader->Image()->ReportWarning(this, Severity, Message);
}

std::vector<TGIFSubImage*> TGIFGlobalColorMap::FramesUsingIt() const
{
    std::vector<TGIFSubImage*> Frames;
    TGIFImage* Image = FHeader ? FHeader->Image() : nullptr;
    if (!Image)
        return Frames;
    for (int F = 0; F < Image->Images()->Count(); ++F) {
        TGIFSubImage* Frame = Image->Images()->SubImage(F);
        if (Frame->ActiveColorMap() == this)
            Frames.push_back(Frame);
    }
    return Frames;
}

void TGIFGlobalColorMap::CountUsage(TColorUsage& Usage)
{
    for (TGIFSubImage* Frame : FramesUsingIt())
        CountPixels(Frame, Usage);
}

void TGIFGlobalColorMap::RemapPixels(const std::uint8_t* Map)
{
    for (TGIFSubImage* Frame : FramesUsingIt())
        RemapFrame(Frame, Map);
}

bool TGIFGlobalColorMap::Reorder()
{
    TGIFImage* Image = FHeader ? FHeader->Image() : nullptr;
    if (!Image || Image->Images()->Count() == 0)
        return false;
    return SortByUsage();
}

void TGIFGlobalColorMap::NotifyChanged()
{
    if (FHeader && FHeader->Image())
        FHeader->Image()->SetPalette(nullptr);
}

// Local table

void TGIFLocalColorMap::ReportWarning(int Severity, const std::string& Message)
{
    if (FFrame && FFrame->Image())
        FFrame->Image()->ReportWarning(this, Severity, Message);
}

void TGIFLocalColorMap::CountUsage(TColorUsage& Usage)
{
    if (FFrame)
        CountPixels(FFrame, Usage);
}

void TGIFLocalColorMap::RemapPixels(const std::uint8_t* Map)
{
    if (FFrame)
        RemapFrame(FFrame, Map);
}

bool TGIFLocalColorMap::Reorder()
{
    return SortByUsage();
}

void TGIFLocalColorMap::NotifyChanged()
{
    if (FFrame)
        FFrame->SetFramePalette(nullptr);
}
