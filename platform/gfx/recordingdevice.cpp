#include "platform/gfx/recordingdevice.h"

#include "platform/gfx/rop.h"
#include "platform/rtl/convert.h"

namespace {

const char* const PenStyleNames[] = {"psSolid",      "psDash",  "psDot",        "psDashDot",
                                     "psDashDotDot", "psClear", "psInsideFrame"};
const char* const BrushStyleNames[] = {"bsSolid",     "bsClear",     "bsHorizontal", "bsVertical",
                                       "bsFDiagonal", "bsBDiagonal", "bsCross",      "bsDiagCross"};
const char* const ShapeNames[] = {"Rectangle", "RoundRect", "Ellipse", "Arc", "Pie", "Chord"};
const char* const PenModeNames[] = {
    "pmBlack",       "pmWhite",      "pmNop",         "pmNot",        "pmCopy",  "pmNotCopy",
    "pmMergePenNot", "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge",
    "pmMask",        "pmNotMask",    "pmXor",         "pmNotXor"};

std::string Pt(const TPoint& P)
{
    return "(" + IntToStr(P.X) + "," + IntToStr(P.Y) + ")";
}

std::string Rc(const TRect& R)
{
    return Pt(R.TopLeft()) + "-" + Pt(R.BottomRight());
}

std::string Points(const std::vector<TPoint>& Pts)
{
    std::string S;
    for (const TPoint& P : Pts)
        S += Pt(P);
    return S;
}

std::string ClipText(const TRecordingDevice::TCall& Call)
{
    if (!Call.Clipped)
        return "";
    std::string S = " clip=";
    for (std::size_t I = 0; I < Call.ClipRects.size(); ++I)
        S += (I ? "+" : "") + Rc(Call.ClipRects[I]);
    if (Call.ClipRects.empty())
        S += "empty";
    return S;
}

std::string Hex(std::uint32_t Value)
{
    return "$" + IntToHex(static_cast<unsigned>(Value), 8);
}

} // namespace

std::string DescribePen(const TPenData& Pen, int Rop2)
{
    std::string S = "pen(" + ColorToString(Pen.Color) + "," + IntToStr(Pen.Width) + "," +
                    PenStyleNames[Pen.Style];
    if (Pen.Alternate)
        S += ",alternate";
    if (Rop2 != R2_COPYPEN)
        S += std::string(",") + PenModeNames[Rop2ToPenMode(Rop2)];
    return S + ")";
}

std::string DescribeBrush(const TBrushData& Brush)
{
    if (Brush.Pattern)
        return "brush(pattern " + IntToStr(Brush.Pattern->Width) + "x" +
               IntToStr(Brush.Pattern->Height) + ")";
    return "brush(" + ColorToString(Brush.Color) + "," + BrushStyleNames[Brush.Style] + ")";
}

std::string DescribeFont(const TFontRequest& Font, TColor TextColor)
{
    std::string S = "font(" + Font.FaceName + "," + IntToStr(Font.Height);
    if (Font.Weight >= FW_BOLD)
        S += ",bold";
    if (Font.Italic)
        S += ",italic";
    if (Font.Underline)
        S += ",underline";
    if (Font.StrikeOut)
        S += ",strikeout";
    if (Font.CharSet != DEFAULT_CHARSET)
        S += ",charset " + IntToStr(Font.CharSet);
    if (Font.Escapement != 0)
        S += ",escapement " + IntToStr(Font.Escapement);
    return S + "," + ColorToString(TextColor) + ")";
}

TRecordingDevice::TRecordingDevice(int Width, int Height, int PixelsPerInch)
    : FWidth(Width), FHeight(Height), FPpi(PixelsPerInch)
{
}

TRecordingDevice::TCall& TRecordingDevice::Add(const std::string& Name, const TDeviceState& State)
{
    TCall Call;
    Call.Name = Name;
    Call.State = State;
    Call.State.Clip = nullptr;
    if (State.Clip) {
        Call.Clipped = true;
        Call.ClipRects = State.Clip->Rects();
    }
    FCalls.push_back(std::move(Call));
    return FCalls.back();
}

std::vector<std::string> TRecordingDevice::Lines() const
{
    std::vector<std::string> Out;
    Out.reserve(FCalls.size());
    for (const TCall& Call : FCalls)
        Out.push_back(Call.Line);
    return Out;
}

void TRecordingDevice::Polyline(const TDeviceState& State, const std::vector<TPoint>& Pts)
{
    TCall& Call = Add("Polyline", State);
    Call.Points = Pts;
    Call.Line =
        "Polyline " + Points(Pts) + " " + DescribePen(State.Pen, State.Rop2) + ClipText(Call);
}

void TRecordingDevice::PolyPolygon(const TDeviceState& State,
                                   const std::vector<std::vector<TPoint>>& Polygons, bool Winding,
                                   bool Fill, bool Stroke)
{
    TCall& Call = Add("PolyPolygon", State);
    std::string S = "PolyPolygon";
    for (const auto& Poly : Polygons) {
        Call.Points.insert(Call.Points.end(), Poly.begin(), Poly.end());
        S += " " + Points(Poly);
    }
    for (const auto& Poly : Polygons)
        Call.PolyCounts.push_back(static_cast<int>(Poly.size()));
    Call.Winding = Winding;
    Call.Fill = Fill;
    Call.Stroke = Stroke;
    S += Winding ? " winding" : " alternate";
    if (Stroke)
        S += " " + DescribePen(State.Pen, State.Rop2);
    if (Fill)
        S += " " + DescribeBrush(State.Brush);
    Call.Line = S + ClipText(Call);
}

void TRecordingDevice::Shape(const TDeviceState& State, const TShapeCall& Shape)
{
    TCall& Call = Add(ShapeNames[Shape.Kind], State);
    Call.Points = {Shape.Box.TopLeft(), Shape.Box.BottomRight()};
    Call.Shape = Shape;
    std::string S = std::string(ShapeNames[Shape.Kind]) + " " + Rc(Shape.Box);
    if (Shape.Kind == shRoundRect)
        S += " corner " + IntToStr(Shape.Corner.cx) + "x" + IntToStr(Shape.Corner.cy);
    if (Shape.Kind >= shArc) {
        S += " from " + Pt(Shape.Start) + " to " + Pt(Shape.End);
        Call.Points.push_back(Shape.Start);
        Call.Points.push_back(Shape.End);
    }
    S += " " + DescribePen(State.Pen, State.Rop2);
    if (Shape.Kind != shArc)
        S += " " + DescribeBrush(State.Brush);
    Call.Line = S + ClipText(Call);
}

void TRecordingDevice::FillRect(const TDeviceState& State, const TRect& R)
{
    TCall& Call = Add("FillRect", State);
    Call.Points = {R.TopLeft(), R.BottomRight()};
    Call.Line = "FillRect " + Rc(R) + " " + DescribeBrush(State.Brush) + ClipText(Call);
}

void TRecordingDevice::PatBlt(const TDeviceState& State, const TRect& R, std::uint32_t Rop)
{
    TCall& Call = Add("PatBlt", State);
    Call.Points = {R.TopLeft(), R.BottomRight()};
    Call.Rop = Rop;
    Call.Line =
        "PatBlt " + Rc(R) + " rop " + Hex(Rop) + " " + DescribeBrush(State.Brush) + ClipText(Call);
}

void TRecordingDevice::StretchBlt(const TDeviceState& State, const TRect& Dest,
                                  const TCanvasDevice& Source, const TRect& Src, std::uint32_t Rop,
                                  int StretchMode)
{
    TCall& Call = Add("StretchBlt", State);
    Call.Points = {Dest.TopLeft(), Dest.BottomRight(), Src.TopLeft(), Src.BottomRight()};
    Call.Rop = Rop;
    Call.StretchMode = StretchMode;
    Call.Src = Src;
    if (RopUsesSource(Rop)) {
        // A reversed rectangle starts at its first pixel, as the raster device reads it.
        TRect Box = Src;
        if (Box.Right < Box.Left) {
            Box.Left = Src.Right + 1;
            Box.Right = Src.Left + 1;
        }
        if (Box.Bottom < Box.Top) {
            Box.Top = Src.Bottom + 1;
            Box.Bottom = Src.Top + 1;
        }
        if (Source.ReadPixels(Box, Call.SourcePixels))
            Call.SourceSize = TSize{Box.Width(), Box.Height()};
        else
            Call.SourcePixels.clear();
    }
    Call.Line = "StretchBlt " + Rc(Dest) + " from " + IntToStr(Source.Width()) + "x" +
                IntToStr(Source.Height()) + " " + Rc(Src) + " rop " + Hex(Rop) + " mode " +
                IntToStr(StretchMode) + ClipText(Call);
}

void TRecordingDevice::SetPixel(const TDeviceState& State, int X, int Y, TColor Color)
{
    TCall& Call = Add("SetPixel", State);
    Call.Points = {TPoint{X, Y}};
    Call.Color = Color;
    Call.Line = "SetPixel " + Pt(TPoint{X, Y}) + " " + ColorToString(Color) + ClipText(Call);
}

TColor TRecordingDevice::GetPixel(int, int) const
{
    return CLR_INVALID;
}

void TRecordingDevice::TextOut(const TDeviceState& State, const TDeviceText& Text)
{
    TCall& Call = Add("TextOut", State);
    Call.Points = {Text.Origin};
    Call.Text = Text.Text;
    Call.DeviceText = Text;
    std::string S = "TextOut " + Pt(Text.Origin) + " \"" + Text.Text + "\" " +
                    DescribeFont(State.Font, State.TextColor);
    S += State.BkMode == OPAQUE ? " opaque " + ColorToString(State.BkColor) : " transparent";
    if (Text.CharExtra)
        S += " extra " + IntToStr(Text.CharExtra);
    if (Text.Options & ETO_OPAQUE)
        S += " eto_opaque " + Rc(Text.Rect);
    if (Text.Options & ETO_CLIPPED)
        S += " eto_clipped " + Rc(Text.Rect);
    Call.Line = S + ClipText(Call);
}
