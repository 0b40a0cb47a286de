// imaging/gif/gifreduce.cpp: palettes, colour lookups, dither engines, the octree quantiser and
// ReduceColorDepth.
#include "imaging/gif/gifreduce.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

int Clamp255(int V)
{
    return V < 0 ? 0 : (V > 255 ? 255 : V);
}

HPALETTE PaletteOf(const std::vector<PALETTEENTRY>& Entries)
{
    LOGPALETTE Pal;
    Pal.palVersion = 0x300;
    Pal.palNumEntries = static_cast<std::uint16_t>(std::min<std::size_t>(Entries.size(), 256));
    for (std::size_t I = 0; I < Pal.palNumEntries; ++I)
        Pal.palPalEntry[I] = Entries[I];
    return CreatePalette(&Pal);
}

} // namespace

// Readers and writers

TDIBReader::TDIBReader(TBitmap* ABitmap, TPixelFormat AFormat) : TDIB(ABitmap, AFormat)
{
    const TDibImage* Image = ABitmap->Image();
    if (Image && Image->BitCount == BitCountOf(AFormat) && ABitmap->PixelFormat() != pfDevice) {
        FImage = const_cast<TDibImage*>(Image);
        return;
    }
    FCopy = std::make_unique<TBitmap>();
    FCopy->Assign(ABitmap);
    FCopy->SetPixelFormat(AFormat);
    FImage = const_cast<TDibImage*>(FCopy->Image());
}

std::uint8_t* TDIBReader::RowAddress(int Row)
{
    if (!FImage || Row < 0 || Row >= FImage->Height)
        throw EInvalidGraphicOperation("Scan line index out of range");
    return FImage->Row(Row);
}

const std::vector<TColor>& TDIBReader::Colors() const
{
    static const std::vector<TColor> None;
    return FImage ? FImage->Colors : None;
}

TDIBWriter::TDIBWriter(TBitmap* ABitmap, HPALETTE APalette, int AHeight, int AWidth,
                       TPixelFormat AFormat)
    : TDIB(ABitmap, AFormat)
{
    if (AFormat != pf8bit && AFormat != pf24bit)
        throw GIFException("Unsupported PixelFormat");
    if (AWidth == 0 || AHeight == 0)
        throw GIFException("Invalid image dimensions");
    FImage.Allocate(AWidth, std::abs(AHeight), AFormat == pf8bit ? 8 : 24);
    if (AFormat == pf8bit) {
        FImage.Colors.assign(256, 0);
        const std::vector<TColor> Colors = PaletteColors(APalette);
        std::copy_n(Colors.begin(), std::min<std::size_t>(Colors.size(), 256),
                    FImage.Colors.begin());
    }
}

TDIBWriter::~TDIBWriter()
{
    if (FBitmap)
        FBitmap->SetImage(std::move(FImage));
}

std::uint8_t* TDIBWriter::RowAddress(int Row)
{
    if (FImage.Bits.empty())
        throw GIFException("Image has no DIB");
    if (Row < 0 || Row >= FImage.Height)
        throw EInvalidGraphicOperation("Scan line index out of range");
    return FImage.Row(Row);
}

// Palettes

HPALETTE CreateCubePalette()
{
    std::vector<PALETTEENTRY> Entries;
    for (int R = 0; R < 6; ++R)
        for (int G = 0; G < 6; ++G)
            for (int B = 0; B < 6; ++B)
                Entries.push_back(PALETTEENTRY{static_cast<std::uint8_t>(R * 51),
                                               static_cast<std::uint8_t>(G * 51),
                                               static_cast<std::uint8_t>(B * 51), 0});
    return PaletteOf(Entries);
}

HPALETTE CreateGrayPalette(int Count)
{
    std::vector<PALETTEENTRY> Entries;
    for (int I = 0; I < Count; ++I) {
        const auto V = static_cast<std::uint8_t>(Count > 1 ? I * 255 / (Count - 1) : 0);
        Entries.push_back(PALETTEENTRY{V, V, V, PC_NOCOLLAPSE});
    }
    return PaletteOf(Entries);
}

namespace {

HPALETTE CreateGray4Palette()
{
    std::vector<PALETTEENTRY> Entries;
    for (const int V : {0, 128, 192, 255})
        Entries.push_back(PALETTEENTRY{static_cast<std::uint8_t>(V), static_cast<std::uint8_t>(V),
                                       static_cast<std::uint8_t>(V), PC_NOCOLLAPSE});
    return PaletteOf(Entries);
}

} // namespace

// Lookups

TFastColorLookup::TFastColorLookup(HPALETTE Palette) : TColorLookup(0)
{
    FEntries.resize(256);
    FColors = static_cast<int>(GetPaletteEntries(Palette, 0, 256, FEntries.data()));
    FEntries.resize(static_cast<std::size_t>(FColors));
    FInverse.assign(32768, -1);
    for (int I = 0; I < FColors; ++I) {
        const PALETTEENTRY& E = FEntries[static_cast<std::size_t>(I)];
        const int Cell = (E.peBlue / 8) * 1024 + (E.peGreen / 8) * 32 + (E.peRed / 8);
        if (FInverse[static_cast<std::size_t>(Cell)] < 0)
            FInverse[static_cast<std::size_t>(Cell)] = static_cast<std::int16_t>(I);
    }
}

int TFastColorLookup::MapColor(int Red, int Green, int Blue, int& OutRed, int& OutGreen,
                               int& OutBlue)
{
    const auto Cell = static_cast<std::size_t>((Blue / 8) * 1024 + (Green / 8) * 32 + Red / 8);
    int Index = FInverse[Cell];
    if (Index < 0) {
        int Best = 0x30000;
        Index = 0;
        for (int I = 0; I < FColors; ++I) {
            const PALETTEENTRY& E = FEntries[static_cast<std::size_t>(I)];
            const int D =
                std::abs(E.peRed - Red) + std::abs(E.peGreen - Green) + std::abs(E.peBlue - Blue);
            if (D < Best) {
                Best = D;
                Index = I;
            }
        }
        FInverse[Cell] = static_cast<std::int16_t>(Index);
    }
    if (FColors == 0) {
        OutRed = OutGreen = OutBlue = 0;
        return 0;
    }
    const PALETTEENTRY& E = FEntries[static_cast<std::size_t>(Index)];
    OutRed = E.peRed;
    OutGreen = E.peGreen;
    OutBlue = E.peBlue;
    return Index;
}

int TNetscapeColorLookup::MapColor(int Red, int Green, int Blue, int& OutRed, int& OutGreen,
                                   int& OutBlue)
{
    const int R = (Red + 3) / 51, G = (Green + 3) / 51, B = (Blue + 3) / 51;
    OutRed = R * 51;
    OutGreen = G * 51;
    OutBlue = B * 51;
    return R * 36 + G * 6 + B;
}

int TGrayScaleLookup::MapColor(int Red, int Green, int Blue, int& OutRed, int& OutGreen,
                               int& OutBlue)
{
    const int Gray = (Blue * 29 + Green * 150 + Red * 77) >> 8;
    OutRed = OutGreen = OutBlue = Gray;
    return Gray;
}

int TMonochromeLookup::MapColor(int Red, int Green, int Blue, int& OutRed, int& OutGreen,
                                int& OutBlue)
{
    if (Blue * 29 + Green * 150 + Red * 77 > 0x7F00) {
        OutRed = OutGreen = OutBlue = 255;
        return 1;
    }
    OutRed = OutGreen = OutBlue = 0;
    return 0;
}

// Dither engines

TDitherEngine::TDitherEngine(int AWidth, TColorLookup* ALookup) : FLookup(ALookup), FWidth(AWidth)
{
}

int TDitherEngine::DitherPixel(int Red, int Green, int Blue, int& OutRed, int& OutGreen,
                               int& OutBlue)
{
    FColumn += FDirection;
    return FLookup->MapColor(Red, Green, Blue, OutRed, OutGreen, OutBlue);
}

void TDitherEngine::NextRow()
{
    FDirection = -FDirection;
    FColumn = FDirection > 0 ? 0 : FWidth - 1;
}

TFloydSteinbergDitherer::TFloydSteinbergDitherer(int AWidth, TColorLookup* ALookup)
    : TDitherEngine(AWidth, ALookup)
{
    for (auto& E : FErrors)
        E.assign(static_cast<std::size_t>(AWidth) + 2, 0);
}

// The error row is shifted on every pixel, whether or not the pixel has an error, so that no
// error is applied twice.
int TFloydSteinbergDitherer::DitherPixel(int Red, int Green, int Blue, int& OutRed, int& OutGreen,
                                         int& OutBlue)
{
    const int In[3] = {Red, Green, Blue};
    int V[3];
    const std::size_t P = static_cast<std::size_t>(FColumn + 1);
    for (int C = 0; C < 3; ++C) {
        V[C] = Clamp255(In[C] + (FErrors[C][P] + FCarried[C] + 8) / 16);
        FCarried[C] = V[C];
    }
    int Out[3];
    const int Index = FLookup->MapColor(V[0], V[1], V[2], Out[0], Out[1], Out[2]);
    for (int C = 0; C < 3; ++C) {
        const int E = V[C] - Out[C];
        // The cell below-left receives its share now; this cell is read by the next row.
        FErrors[C][static_cast<std::size_t>(FColumn + 1 - FDirection)] = FBelowPrev[C] + 3 * E;
        FBelowPrev[C] = FBelow[C] + 5 * E;
        FBelow[C] = E;
        FCarried[C] = 7 * E;
    }
    OutRed = Out[0];
    OutGreen = Out[1];
    OutBlue = Out[2];
    FColumn += FDirection;
    return Index;
}

void TFloydSteinbergDitherer::NextRow()
{
    for (int C = 0; C < 3; ++C) {
        FErrors[C][static_cast<std::size_t>(FColumn + 1 - FDirection)] = FBelowPrev[C];
        FCarried[C] = FBelow[C] = FBelowPrev[C] = 0;
    }
    TDitherEngine::NextRow();
}

TKernelDitherer::TKernelDitherer(int AWidth, TColorLookup* ALookup, int ARows, int AMargin,
                                 int ADivisor, std::vector<TWeight> AWeights)
    : TDitherEngine(AWidth, ALookup), FMargin(AMargin), FDivisor(ADivisor),
      FWeights(std::move(AWeights))
{
    for (auto& Rows : FBuffers)
        Rows.assign(static_cast<std::size_t>(ARows),
                    std::vector<int>(static_cast<std::size_t>(AWidth + 2 * AMargin), 0));
}

int TKernelDitherer::DitherPixel(int Red, int Green, int Blue, int& OutRed, int& OutGreen,
                                 int& OutBlue)
{
    const int In[3] = {Red, Green, Blue};
    const std::size_t Cell = static_cast<std::size_t>(FColumn + FMargin);
    int V[3];
    for (int C = 0; C < 3; ++C)
        V[C] = Clamp255(In[C] + (FBuffers[C][0][Cell] + FDivisor / 2) / FDivisor);
    int Out[3];
    const int Index = FLookup->MapColor(V[0], V[1], V[2], Out[0], Out[1], Out[2]);
    for (int C = 0; C < 3; ++C) {
        const int E = V[C] - Out[C];
        if (E == 0)
            continue;
        for (const TWeight& W : FWeights) {
            const int X = FColumn + FMargin + W.Offset * FDirection;
            if (X >= 0 && X < FWidth + 2 * FMargin)
                FBuffers[C][static_cast<std::size_t>(W.Row)][static_cast<std::size_t>(X)] +=
                    E * W.Weight;
        }
    }
    OutRed = Out[0];
    OutGreen = Out[1];
    OutBlue = Out[2];
    FColumn += FDirection;
    return Index;
}

void TKernelDitherer::NextRow()
{
    for (auto& Rows : FBuffers) {
        std::fill(Rows[0].begin(), Rows[0].end(), 0);
        std::rotate(Rows.begin(), Rows.begin() + 1, Rows.end());
    }
    TDitherEngine::NextRow();
}

TStuckiDitherer::TStuckiDitherer(int AWidth, TColorLookup* ALookup)
    : T5by3Ditherer(AWidth, ALookup, 3, 2, 42,
                    {{0, 1, 8},
                     {0, 2, 4},
                     {1, -2, 2},
                     {1, -1, 4},
                     {1, 0, 8},
                     {1, 1, 4},
                     {1, 2, 2},
                     {2, -2, 1},
                     {2, -1, 2},
                     {2, 0, 4},
                     {2, 1, 2},
                     {2, 2, 1}})
{
}

TSierraDitherer::TSierraDitherer(int AWidth, TColorLookup* ALookup)
    : T5by3Ditherer(AWidth, ALookup, 3, 2, 32,
                    {{0, 1, 5},
                     {0, 2, 3},
                     {1, -2, 2},
                     {1, -1, 4},
                     {1, 0, 5},
                     {1, 1, 4},
                     {1, 2, 2},
                     {2, -1, 2},
                     {2, 0, 3},
                     {2, 1, 2}})
{
}

TJaJuNiDitherer::TJaJuNiDitherer(int AWidth, TColorLookup* ALookup)
    : T5by3Ditherer(AWidth, ALookup, 3, 2, 48,
                    {{0, 1, 7},
                     {0, 2, 5},
                     {1, -2, 3},
                     {1, -1, 5},
                     {1, 0, 7},
                     {1, 1, 5},
                     {1, 2, 3},
                     {2, -2, 1},
                     {2, -1, 3},
                     {2, 0, 5},
                     {2, 1, 3},
                     {2, 2, 1}})
{
}

TSteveArcheDitherer::TSteveArcheDitherer(int AWidth, TColorLookup* ALookup)
    : TKernelDitherer(AWidth, ALookup, 4, 3, 200,
                      {{0, 2, 32},
                       {1, -3, 12},
                       {1, -1, 26},
                       {1, 1, 30},
                       {1, 3, 16},
                       {2, -2, 12},
                       {2, 0, 26},
                       {2, 2, 12},
                       {3, -3, 5},
                       {3, -1, 12},
                       {3, 1, 12},
                       {3, 3, 5}})
{
}

TBurkesDitherer::TBurkesDitherer(int AWidth, TColorLookup* ALookup)
    : TKernelDitherer(
          AWidth, ALookup, 2, 2, 32,
          {{0, 1, 8}, {0, 2, 4}, {1, -2, 2}, {1, -1, 4}, {1, 0, 8}, {1, 1, 4}, {1, 2, 2}})
{
}

std::unique_ptr<TDitherEngine> CreateDitherEngine(TGIFDitherMethod Method, int Width,
                                                  TColorLookup* Lookup)
{
    switch (Method) {
    case dtNearest:
        return std::make_unique<TDitherEngine>(Width, Lookup);
    case dtFloydSteinberg:
        return std::make_unique<TFloydSteinbergDitherer>(Width, Lookup);
    case dtStucki:
        return std::make_unique<TStuckiDitherer>(Width, Lookup);
    case dtSierra:
        return std::make_unique<TSierraDitherer>(Width, Lookup);
    case dtJarvisJudiceNinke:
        return std::make_unique<TJaJuNiDitherer>(Width, Lookup);
    case dtStevensonArce:
        return std::make_unique<TSteveArcheDitherer>(Width, Lookup);
    case dtBurkes:
        return std::make_unique<TBurkesDitherer>(Width, Lookup);
    }
    return nullptr;
}

// Octree

TColorQuantizer::TColorQuantizer(int AMaxColors, int AColorBits)
    : FMaxColors(AMaxColors), FColorBits(std::clamp(AColorBits, 1, 8))
{
}

TColorQuantizer::~TColorQuantizer() = default;

TOctreeNode* TColorQuantizer::NewNode(int Level)
{
    auto* Node = new TOctreeNode;
    if (Level == FColorBits) {
        Node->Leaf = true;
        ++FLeafCount;
    } else {
        Node->Next = FReducible[Level];
        FReducible[Level] = Node;
    }
    return Node;
}

void TColorQuantizer::AddColor(int Red, int Green, int Blue)
{
    if (!FTree)
        FTree.reset(NewNode(0));
    TOctreeNode* Node = FTree.get();
    int Level = 0;
    while (!Node->Leaf) {
        const int Shift = 7 - Level;
        const int Child =
            4 * ((Red >> Shift) & 1) + 2 * ((Green >> Shift) & 1) + ((Blue >> Shift) & 1);
        if (!Node->Children[Child])
            Node->Children[Child].reset(NewNode(Level + 1));
        Node = Node->Children[Child].get();
        ++Level;
    }
    ++Node->PixelCount;
    Node->RedSum += static_cast<std::uint32_t>(Red);
    Node->GreenSum += static_cast<std::uint32_t>(Green);
    Node->BlueSum += static_cast<std::uint32_t>(Blue);
}

void TColorQuantizer::ReduceTree()
{
    int Level = FColorBits - 1;
    while (Level > 0 && !FReducible[Level])
        --Level;
    TOctreeNode* Node = FReducible[Level];
    if (!Node)
        return;
    FReducible[Level] = Node->Next;
    int Children = 0;
    for (auto& Child : Node->Children)
        if (Child) {
            Node->RedSum += Child->RedSum;
            Node->GreenSum += Child->GreenSum;
            Node->BlueSum += Child->BlueSum;
            Node->PixelCount += Child->PixelCount;
            Child.reset();
            ++Children;
        }
    Node->Leaf = true;
    FLeafCount -= Children - 1;
}

void TColorQuantizer::ProcessImage(TDIBReader& Reader)
{
    for (int Y = 0; Y < Reader.Height(); ++Y) {
        const std::uint8_t* Row = Reader.RowAddress(Y);
        for (int X = 0; X < Reader.Width(); ++X) {
            AddColor(Row[3 * X + 2], Row[3 * X + 1], Row[3 * X]);
            while (FLeafCount > FMaxColors)
                ReduceTree();
        }
    }
}

std::vector<TColor> TColorQuantizer::Colors() const
{
    std::vector<TColor> Result;
    std::vector<const TOctreeNode*> Stack;
    if (FTree)
        Stack.push_back(FTree.get());
    while (!Stack.empty()) {
        const TOctreeNode* Node = Stack.back();
        Stack.pop_back();
        if (Node->Leaf) {
            if (Node->PixelCount == 0)
                Result.push_back(0);
            else
                Result.push_back(static_cast<TColor>((Node->RedSum / Node->PixelCount) |
                                                     ((Node->GreenSum / Node->PixelCount) << 8) |
                                                     ((Node->BlueSum / Node->PixelCount) << 16)));
            continue;
        }
        for (int I = 7; I >= 0; --I)
            if (Node->Children[I])
                Stack.push_back(Node->Children[I].get());
    }
    return Result;
}

HPALETTE OctreePalette(TDIBReader& Reader, int Colors, int ColorBits, bool WithSystemColors)
{
    const int Wanted = WithSystemColors ? 236 : Colors;
    TColorQuantizer Quantizer(Wanted, ColorBits);
    Quantizer.ProcessImage(Reader);
    const std::vector<TColor> Leaves = Quantizer.Colors();
    std::vector<PALETTEENTRY> Entries(static_cast<std::size_t>(WithSystemColors ? 256 : Colors));
    auto Put = [&](std::size_t I, TColor C) {
        Entries[I] = PALETTEENTRY{static_cast<std::uint8_t>(C), static_cast<std::uint8_t>(C >> 8),
                                  static_cast<std::uint8_t>(C >> 16), 0};
    };
    std::size_t First = 0;
    if (WithSystemColors) {
        const std::vector<TColor>& System = SystemPaletteColors();
        for (std::size_t I = 0; I < 10 && I < System.size(); ++I)
            Put(I, System[I]);
        for (std::size_t I = 0; I < 10 && 10 + I < System.size(); ++I)
            Put(246 + I, System[10 + I]);
        First = 10;
    }
    for (std::size_t I = 0; I < Leaves.size() && I < static_cast<std::size_t>(Wanted); ++I)
        Put(First + I, Leaves[I]);
    return PaletteOf(Entries);
}

std::unique_ptr<TBitmap> ReduceColorDepth(TBitmap* Bitmap, TGIFReductionMethod Method,
                                          TGIFDitherMethod Dither, HPALETTE CustomPalette,
                                          int QuantizeBits)
{
    auto Result = std::make_unique<TBitmap>();
    if (Method == rdNone) {
        Result->Assign(Bitmap);
        Result->SetPixelFormat(pf24bit);
        return Result;
    }
    TDIBReader Reader(Bitmap, pf24bit);
    if (Method > rdCustomPalette)
        return Result;
    QuantizeBits = std::clamp(QuantizeBits, 1, 8);
    HPALETTE Palette = nullptr;
    std::unique_ptr<TColorLookup> Lookup;
    switch (Method) {
    case rdSystem20:
        Palette = PaletteFromColors(SystemPaletteColors());
        break;
    case rdHalftone:
        Palette = CreateHalftonePalette(nullptr);
        break;
    case rdSystemGray4:
        Palette = CreateGray4Palette();
        break;
    case rdBlackWhite:
        Palette = CreateGrayPalette(2);
        Lookup = std::make_unique<TMonochromeLookup>();
        break;
    case rdGray256:
        Palette = CreateGrayPalette(256);
        Lookup = std::make_unique<TGrayScaleLookup>();
        break;
    case rdCube216:
        Palette = CreateCubePalette();
        Lookup = std::make_unique<TNetscapeColorLookup>();
        break;
    case rdOctree:
        Palette = OctreePalette(Reader, 1 << QuantizeBits, 8, false);
        break;
    case rdOctreeSystem:
        Palette = OctreePalette(Reader, 256, 8, true);
        break;
    case rdCustomPalette:
        Palette = CopyPalette(CustomPalette);
        break;
    default:
        break;
    }
    struct TPaletteGuard {
        HPALETTE P;
        ~TPaletteGuard()
        {
            if (P)
                DeleteObject(P);
        }
    } Guard{Palette};
    if (!Lookup)
        Lookup = std::make_unique<TFastColorLookup>(Palette);
    if (Lookup->Colors() == 0 || Dither > dtBurkes)
        return Result;
    const int W = Reader.Width(), H = Reader.Height();
    std::unique_ptr<TDitherEngine> Engine = CreateDitherEngine(Dither, W, Lookup.get());
    {
        TDIBWriter Writer(Result.get(), Palette, H, W, pf8bit);
        for (int Y = 0; Y < H; ++Y) {
            const std::uint8_t* Src = Reader.RowAddress(Y);
            std::uint8_t* Dst = Writer.RowAddress(Y);
            while (Engine->Column() >= 0 && Engine->Column() < W) {
                const int X = Engine->Column();
                int R, G, B;
                Dst[X] = static_cast<std::uint8_t>(
                    Engine->DitherPixel(Src[3 * X + 2], Src[3 * X + 1], Src[3 * X], R, G, B));
            }
            Engine->NextRow();
        }
    }
    return Result;
}
