#include "platform/gfx/metafilereader.h"

#include "platform/gfx/graphic.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/gfx/rop.h"
#include "platform/rtl/byteorder.h"
#include "platform/rtl/convert.h"

using namespace metafileformat;

namespace {

constexpr std::uint32_t MaxRecordSize = 16u << 20;
constexpr std::uint32_t MaxRecords = 1u << 20;
constexpr std::uint32_t MaxFaceName = 1024;
constexpr std::int64_t MaxSourcePixels = 1 << 24;
constexpr std::uint32_t MaxTextBytes = 1 << 16;
constexpr int MaxAdvance = 1 << 14;

[[noreturn]] void Invalid()
{
    throw EInvalidGraphic("Metafile is not valid");
}

// Rectangles that RegionFromRects can take: non-empty, bands top down without overlap, spans
// left to right without overlap.
bool WellFormedBands(const std::vector<TRect>& Rects)
{
    for (std::size_t I = 0; I < Rects.size(); ++I) {
        const TRect& R = Rects[I];
        if (R.Right <= R.Left || R.Bottom <= R.Top)
            return false;
        if (I == 0)
            continue;
        const TRect& P = Rects[I - 1];
        if (P.Top == R.Top && P.Bottom == R.Bottom) {
            if (R.Left < P.Right)
                return false;
        } else if (R.Top < P.Bottom) {
            return false;
        }
    }
    return true;
}

// Little-endian values taken from a record, each checked to be there.
class TReader {
public:
    explicit TReader(const std::string& Data) : FData(Data) {}
    std::size_t Left() const { return FData.size() - FAt; }
    void Need(std::uint64_t Count) const
    {
        if (Count > Left())
            Invalid();
    }
    std::uint8_t U8()
    {
        Need(1);
        return static_cast<std::uint8_t>(FData[FAt++]);
    }
    std::uint16_t U16()
    {
        Need(2);
        const std::uint16_t V = ReadLE16(FData, FAt);
        FAt += 2;
        return V;
    }
    std::uint32_t U32()
    {
        Need(4);
        const std::uint32_t V = ReadLE32(FData, FAt);
        FAt += 4;
        return V;
    }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    // A count of items of at least ItemSize bytes each that must still be there.
    std::uint32_t Count(std::uint32_t ItemSize)
    {
        const std::uint32_t N = U32();
        Need(static_cast<std::uint64_t>(N) * ItemSize);
        return N;
    }
    int Coordinate()
    {
        const int V = I32();
        if (V < -MaxCoordinate || V > MaxCoordinate)
            Invalid();
        return V;
    }
    TPoint Point()
    {
        const int X = Coordinate();
        return TPoint{X, Coordinate()};
    }
    TRect Rect()
    {
        const int L = Coordinate();
        const int T = Coordinate();
        const int R = Coordinate();
        return TRect{L, T, R, Coordinate()};
    }
    std::string Bytes(std::uint32_t Max)
    {
        const std::uint32_t N = Count(1);
        if (N > Max)
            Invalid();
        std::string S = FData.substr(FAt, N);
        FAt += N;
        return S;
    }
    std::vector<TColor> Colors(std::uint64_t N)
    {
        Need(N * 4);
        std::vector<TColor> Pixels(static_cast<std::size_t>(N));
        for (TColor& C : Pixels)
            C = I32();
        return Pixels;
    }
    int Enum(int Low, int High)
    {
        const int V = U8();
        if (V < Low || V > High)
            Invalid();
        return V;
    }

private:
    const std::string& FData;
    std::size_t FAt = 0;
};

void ReadState(TReader& R, TDeviceState& S, std::vector<TRect>& ClipRects, bool& Clipped)
{
    S.Pen.Color = R.I32();
    S.Pen.Width = R.I32();
    if (S.Pen.Width < 1)
        Invalid();
    S.Pen.Style = static_cast<TPenStyle>(R.Enum(psSolid, psInsideFrame));
    S.Pen.Alternate = R.Enum(0, 1) != 0;
    S.Brush.Color = R.I32();
    S.Brush.Style = static_cast<TBrushStyle>(R.Enum(bsSolid, bsDiagCross));
    if (R.Enum(0, 1)) {
        auto Pattern = std::make_shared<TBrushPattern>();
        Pattern->Width = R.I32();
        Pattern->Height = R.I32();
        if (Pattern->Width < 1 || Pattern->Height < 1)
            Invalid();
        Pattern->Pixels = R.Colors(static_cast<std::uint64_t>(Pattern->Width) *
                                   static_cast<std::uint64_t>(Pattern->Height));
        S.Brush.Pattern = std::move(Pattern);
    }
    TFontRequest& F = S.Font;
    F.FaceName = R.Bytes(MaxFaceName);
    F.Height = R.I32();
    F.Weight = R.I32();
    const int Flags = R.Enum(0, 7);
    F.Italic = Flags & 1;
    F.Underline = Flags & 2;
    F.StrikeOut = Flags & 4;
    F.CharSet = R.I32();
    F.PitchAndFamily = R.I32();
    F.Escapement = R.I32();
    F.Orientation = R.I32();
    // Sizes far beyond any page stand for a hostile file, not a picture.
    if (F.Height < -100000 || F.Height > 100000 || F.Weight < 0 || F.Weight > 1000 ||
        F.CharSet < 0 || F.CharSet > 255 || F.PitchAndFamily < 0 || F.PitchAndFamily > 255)
        Invalid();
    S.TextColor = R.I32();
    S.Rop2 = R.Enum(R2_BLACK, R2_WHITE);
    S.BkMode = R.Enum(TRANSPARENT, OPAQUE);
    S.BkColor = R.I32();
    S.BrushOrigin = R.Point();
    Clipped = R.Enum(0, 1) != 0;
    const std::uint32_t N = R.Count(16);
    ClipRects.clear();
    ClipRects.reserve(N);
    for (std::uint32_t I = 0; I < N; ++I)
        ClipRects.push_back(R.Rect());
    if ((!Clipped && N > 0) || !WellFormedBands(ClipRects))
        Invalid();
}

// Parses one record and draws it on the recorder, which keeps it as recording would.
void ReadRecord(TReader& R, TRecordingDevice& Recorder)
{
    const auto Kind = static_cast<TRecordKind>(R.Enum(rkPolyline, rkTextOut));
    TDeviceState State;
    std::vector<TRect> ClipRects;
    bool Clipped = false;
    ReadState(R, State, ClipRects, Clipped);
    TRegion Clip;
    if (Clipped) {
        Clip = RegionFromRects(ClipRects);
        State.Clip = &Clip;
    }
    switch (Kind) {
    case rkPolyline: {
        const std::uint32_t N = R.Count(8);
        std::vector<TPoint> Points;
        Points.reserve(N);
        for (std::uint32_t I = 0; I < N; ++I)
            Points.push_back(R.Point());
        Recorder.Polyline(State, Points);
        break;
    }
    case rkPolyPolygon: {
        const int Flags = R.Enum(0, 7);
        const std::uint32_t N = R.Count(4);
        std::vector<std::uint32_t> Counts(N);
        std::uint64_t Total = 0;
        for (std::uint32_t& C : Counts) {
            C = R.U32();
            Total += C;
        }
        R.Need(Total * 8);
        std::vector<std::vector<TPoint>> Polygons(N);
        for (std::uint32_t I = 0; I < N; ++I) {
            Polygons[I].reserve(Counts[I]);
            for (std::uint32_t K = 0; K < Counts[I]; ++K)
                Polygons[I].push_back(R.Point());
        }
        Recorder.PolyPolygon(State, Polygons, Flags & 1, Flags & 2, Flags & 4);
        break;
    }
    case rkShape: {
        TShapeCall Shape;
        Shape.Kind = static_cast<TShapeKind>(R.Enum(shRectangle, shChord));
        Shape.Box = R.Rect();
        Shape.Corner.cx = R.Coordinate();
        Shape.Corner.cy = R.Coordinate();
        Shape.Start = R.Point();
        Shape.End = R.Point();
        if (Shape.Box.Right < Shape.Box.Left || Shape.Box.Bottom < Shape.Box.Top)
            Invalid();
        Recorder.Shape(State, Shape);
        break;
    }
    case rkFillRect:
        Recorder.FillRect(State, R.Rect());
        break;
    case rkPatBlt: {
        const TRect Rect = R.Rect();
        Recorder.PatBlt(State, Rect, R.U32());
        break;
    }
    case rkStretchBlt: {
        const TRect Dest = R.Rect();
        const TRect Src = R.Rect();
        const std::uint32_t Rop = R.U32();
        const int StretchMode = R.I32();
        const int W = R.I32();
        const int H = R.I32();
        if (W < 0 || H < 0)
            Invalid();
        const std::vector<TColor> Pixels =
            R.Colors(static_cast<std::uint64_t>(W) * static_cast<std::uint64_t>(H));
        // Pixels stand for the source rectangle exactly, or there are none.
        const TRect Box = TRasterDevice::FirstPixelBox(Src);
        const bool HasPixels = W > 0 || H > 0;
        const std::int64_t BoxWidth = static_cast<std::int64_t>(Box.Right) - Box.Left;
        const std::int64_t BoxHeight = static_cast<std::int64_t>(Box.Bottom) - Box.Top;
        if (HasPixels && (BoxWidth != W || BoxHeight != H || !RopUsesSource(Rop)))
            Invalid();
        // A source without pixels reads as white, which the raster device makes in memory.
        if (RopUsesSource(Rop) && BoxWidth * BoxHeight > MaxSourcePixels)
            Invalid();
        if (HasPixels) {
            TPixelSource Source(Box, Pixels);
            Recorder.StretchBlt(State, Dest, Source, Src, Rop, StretchMode);
        } else {
            TRecordingDevice NoPixels(1, 1);
            Recorder.StretchBlt(State, Dest, NoPixels, Src, Rop, StretchMode);
        }
        break;
    }
    case rkSetPixel: {
        const TPoint P = R.Point();
        Recorder.SetPixel(State, P.X, P.Y, R.I32());
        break;
    }
    case rkTextOut: {
        TDeviceText T;
        T.Origin = R.Point();
        T.Text = R.Bytes(MaxTextBytes);
        const std::uint32_t N = R.Count(4);
        if (N > T.Text.size())
            Invalid();
        T.Advances.resize(N);
        for (int& A : T.Advances)
            A = R.I32();
        T.CharExtra = R.I32();
        for (int A : T.Advances)
            if (A < -MaxAdvance || A > MaxAdvance)
                Invalid();
        if (T.CharExtra < -MaxAdvance || T.CharExtra > MaxAdvance)
            Invalid();
        T.Coding = static_cast<TTextCoding>(R.Enum(tcAuto, tcAnsi));
        T.Options = R.U32();
        if (T.Options & ~static_cast<unsigned>(ETO_OPAQUE | ETO_CLIPPED))
            Invalid();
        T.Rect = R.Rect();
        Recorder.TextOut(State, T);
        break;
    }
    }
    if (R.Left() != 0)
        Invalid();
}

std::string ReadExactly(TStream* Stream, std::uint64_t Count)
{
    std::string Data(static_cast<std::size_t>(Count), '\0');
    if (Count && Stream->Read(Data.data(), static_cast<std::int64_t>(Count)) !=
                     static_cast<std::int64_t>(Count))
        Invalid();
    return Data;
}

} // namespace

TMetafileContents ReadMetafile(TStream* Stream)
{
    const std::string HeaderBytes = ReadExactly(Stream, 4 + 2 + 2 + 4 * 6);
    TReader Header(HeaderBytes);
    for (char C : Magic)
        if (Header.U8() != static_cast<std::uint8_t>(C))
            Invalid();
    const std::uint16_t Version = Header.U16();
    if (Version != FormatVersion)
        throw EInvalidGraphic("Metafile is not valid: version " + IntToStr(Version) +
                              " is not supported");
    const std::uint16_t Flags = Header.U16();
    if (Flags & ~(FlagEnhanced | FlagImage))
        Invalid();
    const int MMWidth = Header.I32();
    const int MMHeight = Header.I32();
    const int FrameWidth = Header.I32();
    const int FrameHeight = Header.I32();
    const int Ppi = Header.I32();
    const std::uint32_t Count = Header.U32();
    if (MMWidth < 0 || MMHeight < 0 || Ppi < 1 || Ppi > 100000 || FrameWidth < 0 ||
        FrameHeight < 0 || Count > MaxRecords)
        Invalid();
    const bool HasImage = Flags & FlagImage;
    if (!HasImage && (Count > 0 || FrameWidth > 0 || FrameHeight > 0))
        Invalid();
    TMetafileContents Contents;
    if (HasImage) {
        if (FrameWidth < 1 || FrameHeight < 1)
            Invalid();
        TRecordingDevice Recorder(FrameWidth, FrameHeight, Ppi);
        for (std::uint32_t I = 0; I < Count; ++I) {
            const std::string LengthBytes = ReadExactly(Stream, 4);
            const std::uint32_t Length = TReader(LengthBytes).U32();
            if (Length > MaxRecordSize)
                Invalid();
            const std::string Body = ReadExactly(Stream, Length);
            TReader R(Body);
            ReadRecord(R, Recorder);
        }
        auto Image = std::make_shared<TMetafileImage>();
        Image->Records = Recorder.Calls();
        Image->Frame = TRect{0, 0, FrameWidth, FrameHeight};
        Image->PixelsPerInch = Ppi;
        Contents.Image = std::move(Image);
    }
    Contents.MMWidth = MMWidth;
    Contents.MMHeight = MMHeight;
    Contents.Enhanced = Flags & FlagEnhanced;
    return Contents;
}
