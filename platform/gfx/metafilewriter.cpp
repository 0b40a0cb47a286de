#include "platform/gfx/metafilewriter.h"

#include "platform/rtl/byteorder.h"

#include <algorithm>
#include <utility>

using namespace metafileformat;

namespace {

// Little-endian values appended to a buffer.
class TWriter {
public:
    void U8(std::uint8_t V) { FData.push_back(static_cast<char>(V)); }
    void U16(std::uint16_t V) { AppendLE16(FData, V); }
    void U32(std::uint32_t V) { AppendLE32(FData, V); }
    void I32(std::int32_t V) { U32(static_cast<std::uint32_t>(V)); }
    void Coordinate(int V) { I32(std::clamp(V, -MaxCoordinate, MaxCoordinate)); }
    void Point(const TPoint& P)
    {
        Coordinate(P.X);
        Coordinate(P.Y);
    }
    void Rect(const TRect& R)
    {
        Coordinate(R.Left);
        Coordinate(R.Top);
        Coordinate(R.Right);
        Coordinate(R.Bottom);
    }
    void Bytes(const std::string& S)
    {
        U32(static_cast<std::uint32_t>(S.size()));
        FData += S;
    }
    void Colors(const std::vector<TColor>& Pixels)
    {
        for (TColor C : Pixels)
            I32(C);
    }
    std::string& Data() { return FData; }
    void WriteTo(TStream* Stream) const
    {
        Stream->WriteBuffer(FData.data(), static_cast<std::int64_t>(FData.size()));
    }

private:
    std::string FData;
};

using TRecord = TRecordingDevice::TCall;

void WriteState(TWriter& W, const TRecord& Call)
{
    const TDeviceState& S = Call.State;
    W.I32(S.Pen.Color);
    W.I32(S.Pen.Width);
    W.U8(static_cast<std::uint8_t>(S.Pen.Style));
    W.U8(S.Pen.Alternate ? 1 : 0);
    W.I32(S.Brush.Color);
    W.U8(static_cast<std::uint8_t>(S.Brush.Style));
    W.U8(S.Brush.Pattern ? 1 : 0);
    if (S.Brush.Pattern) {
        W.I32(S.Brush.Pattern->Width);
        W.I32(S.Brush.Pattern->Height);
        W.Colors(S.Brush.Pattern->Pixels);
    }
    const TFontRequest& F = S.Font;
    W.Bytes(F.FaceName);
    W.I32(F.Height);
    W.I32(F.Weight);
    W.U8(static_cast<std::uint8_t>((F.Italic ? 1 : 0) | (F.Underline ? 2 : 0) |
                                   (F.StrikeOut ? 4 : 0)));
    W.I32(F.CharSet);
    W.I32(F.PitchAndFamily);
    W.I32(F.Escapement);
    W.I32(F.Orientation);
    W.I32(S.TextColor);
    W.U8(static_cast<std::uint8_t>(S.Rop2));
    W.U8(static_cast<std::uint8_t>(S.BkMode));
    W.I32(S.BkColor);
    W.Point(S.BrushOrigin);
    W.U8(Call.Clipped ? 1 : 0);
    W.U32(static_cast<std::uint32_t>(Call.ClipRects.size()));
    for (const TRect& R : Call.ClipRects)
        W.Rect(R);
}

void WriteRecord(TWriter& W, const TRecord& Call, TRecordKind Kind)
{
    W.U8(Kind);
    WriteState(W, Call);
    switch (Kind) {
    case rkPolyline:
        W.U32(static_cast<std::uint32_t>(Call.Points.size()));
        for (const TPoint& P : Call.Points)
            W.Point(P);
        break;
    case rkPolyPolygon:
        W.U8(static_cast<std::uint8_t>((Call.Winding ? 1 : 0) | (Call.Fill ? 2 : 0) |
                                       (Call.Stroke ? 4 : 0)));
        W.U32(static_cast<std::uint32_t>(Call.PolyCounts.size()));
        for (int Count : Call.PolyCounts)
            W.U32(static_cast<std::uint32_t>(Count));
        for (const TPoint& P : Call.Points)
            W.Point(P);
        break;
    case rkShape:
        W.U8(static_cast<std::uint8_t>(Call.Shape.Kind));
        W.Rect(Call.Shape.Box);
        W.Coordinate(Call.Shape.Corner.cx);
        W.Coordinate(Call.Shape.Corner.cy);
        W.Point(Call.Shape.Start);
        W.Point(Call.Shape.End);
        break;
    case rkFillRect:
        W.Rect(RecordRect(Call));
        break;
    case rkPatBlt:
        W.Rect(RecordRect(Call));
        W.U32(Call.Rop);
        break;
    case rkStretchBlt:
        W.Rect(RecordRect(Call));
        W.Rect(Call.Src);
        W.U32(Call.Rop);
        W.I32(Call.StretchMode);
        W.I32(Call.SourceSize.cx);
        W.I32(Call.SourceSize.cy);
        W.Colors(Call.SourcePixels);
        break;
    case rkSetPixel:
        W.Point(Call.Points[0]);
        W.I32(Call.Color);
        break;
    case rkTextOut: {
        const TDeviceText& T = Call.DeviceText;
        W.Point(T.Origin);
        W.Bytes(T.Text);
        W.U32(static_cast<std::uint32_t>(T.Advances.size()));
        for (int A : T.Advances)
            W.I32(A);
        W.I32(T.CharExtra);
        W.U8(static_cast<std::uint8_t>(T.Coding));
        W.U32(T.Options);
        W.Rect(T.Rect);
        break;
    }
    }
}

} // namespace

void WriteMetafile(TStream* Stream, const TMetafileContents& Contents)
{
    const TMetafileImage* Image = Contents.Image.get();
    TWriter Header;
    Header.Data().append(Magic, sizeof Magic);
    Header.U16(FormatVersion);
    Header.U16(static_cast<std::uint16_t>((Contents.Enhanced ? FlagEnhanced : 0) |
                                          (Image ? FlagImage : 0)));
    Header.I32(Contents.MMWidth);
    Header.I32(Contents.MMHeight);
    const TRect Frame = Image ? Image->Frame : TRect{};
    Header.I32(Frame.Width());
    Header.I32(Frame.Height());
    Header.I32(Image ? Image->PixelsPerInch : ScreenPixelsPerInch);
    std::vector<std::pair<const TRecord*, TRecordKind>> Kept;
    if (Image)
        for (const TRecord& Call : Image->Records) {
            TRecordKind Kind;
            if (RecordKind(Call.Name, Kind))
                Kept.emplace_back(&Call, Kind);
        }
    Header.U32(static_cast<std::uint32_t>(Kept.size()));
    Header.WriteTo(Stream);
    for (const auto& [Call, Kind] : Kept) {
        TWriter Body;
        WriteRecord(Body, *Call, Kind);
        TWriter Length;
        Length.U32(static_cast<std::uint32_t>(Body.Data().size()));
        Length.WriteTo(Stream);
        Body.WriteTo(Stream);
    }
}
