// Text on the canvas: placing, measuring and laying out, and the text settings.
#include "platform/gfx/canvas.h"

#include <optional>
#include <utility>

namespace {

// Widths for DrawText, with the inter-character spacing the canvas adds.
class TSpacedMeasure : public TTextMeasure {
public:
    TSpacedMeasure(const TFontInstance& AFont, int ACharExtra) : Font(AFont), CharExtra(ACharExtra)
    {
    }
    int LineHeight() const override { return Font.LineHeight(); }
    int ExternalLeading() const override { return Font.ExternalLeading(); }
    int AveCharWidth() const override { return Font.AveCharWidth(); }
    int TextWidth(const std::string& Text) const override
    {
        return Font.TextExtent(Text, CharExtra).cx;
    }
    int CodedTextWidth(const std::string& Text, TTextCoding Coding) const override
    {
        return Font.TextExtent(Text, CharExtra, Coding).cx;
    }

private:
    const TFontInstance& Font;
    int CharExtra;
};

} // namespace

std::vector<int> TCanvas::CharAdvances(const TFontInstance& Font, const std::string& Text,
                                       const int* Dx, TTextCoding Coding) const
{
    std::vector<std::size_t> Offsets;
    const std::u32string Codes = Font.Decode(Text, &Offsets, Coding);
    std::vector<int> Advances;
    Advances.reserve(Codes.size());
    if (Dx) {
        for (std::size_t I = 0; I < Codes.size(); ++I) {
            const std::size_t From = Offsets[I];
            const std::size_t To = I + 1 < Codes.size() ? Offsets[I + 1] : Text.size();
            int Step = 0;
            for (std::size_t B = From; B < To; ++B)
                Step += Dx[B];
            Advances.push_back(Step < 0 ? -DeviceLength(-Step, false) : DeviceLength(Step, false));
        }
        return Advances;
    }
    const std::vector<int> Carets =
        Font.CaretPositions(Text, DeviceLength(FSettings.CharExtra, false), Coding);
    for (std::size_t I = 0; I < Codes.size(); ++I) {
        const std::size_t From = Offsets[I];
        const std::size_t To = I + 1 < Codes.size() ? Offsets[I + 1] : Text.size();
        Advances.push_back(Carets[To] - Carets[From]);
    }
    return Advances;
}

void TCanvas::DeviceText(TPoint Origin, const std::string& Text, std::vector<int> Advances,
                         unsigned Options, const TRect& DeviceRect, TTextCoding Coding)
{
    if (!FDevice)
        return;
    TDeviceText T;
    T.Origin = Origin;
    T.Text = Text;
    T.Advances = std::move(Advances);
    T.CharExtra = DeviceLength(FSettings.CharExtra, false);
    T.Options = Options;
    T.Rect = DeviceRect;
    T.Coding = Coding;
    FDevice->TextOut(State(), T);
}

bool TCanvas::ExtTextOut(int X, int Y, unsigned Options, const TRect* R, const std::string& Text,
                         const int* Dx)
{
    const auto Font = FontInstance();
    std::vector<int> Advances = CharAdvances(*Font, Text, Dx);
    int Width = 0;
    for (int A : Advances)
        Width += A;
    const TPoint Ref = (FSettings.TextAlign & TA_UPDATECP) ? FSettings.PenPos : TPoint{X, Y};
    const TPoint DRef = LPtoDP(Ref);
    int DX = 0;
    if ((FSettings.TextAlign & TA_CENTER) == TA_CENTER)
        DX = -Width / 2;
    else if (FSettings.TextAlign & TA_RIGHT)
        DX = -Width;
    int DY = Font->Metrics().tmAscent;
    if ((FSettings.TextAlign & TA_BASELINE) == TA_BASELINE)
        DY = 0;
    else if (FSettings.TextAlign & TA_BOTTOM)
        DY = -Font->Metrics().tmDescent;
    const TPoint Shift = Font->Turn(DX, DY);
    const TPoint Origin{DRef.X + Shift.X, DRef.Y + Shift.Y};
    if (FSettings.TextAlign & TA_UPDATECP) {
        const int L = LogicalLength(Width, false);
        if ((FSettings.TextAlign & TA_CENTER) != TA_CENTER)
            FSettings.PenPos.X += (FSettings.TextAlign & TA_RIGHT) ? -L : L;
    }
    if (FPathOpen) {
        for (auto& Poly : Font->Outline(Text, DeviceLength(FSettings.CharExtra, false))) {
            for (TPoint& P : Poly) {
                P.X += Origin.X;
                P.Y += Origin.Y;
            }
            AddFigure(std::move(Poly), true);
        }
        return true;
    }
    if (!FDevice)
        return true;
    TChangeScope Scope(this);
    TRect DR;
    if (R)
        DR = DeviceRect(R->Left, R->Top, R->Right, R->Bottom);
    else
        Options &= ~(ETO_OPAQUE | ETO_CLIPPED);
    DeviceText(Origin, Text, std::move(Advances), Options, DR);
    return true;
}

void TCanvas::TextOut(int X, int Y, const std::string& Text)
{
    ExtTextOut(X, Y, 0, nullptr, Text);
    if (!(FSettings.TextAlign & TA_UPDATECP))
        MoveTo(X + TextWidth(Text), Y);
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const std::string& Text)
{
    unsigned Options = ETO_CLIPPED;
    if (FBrush->Style() != bsClear)
        Options |= ETO_OPAQUE;
    ExtTextOut(X, Y, Options, &R, Text);
}

TSize TCanvas::TextExtent(const std::string& Text) const
{
    const auto Font = FontInstance();
    const TSize S = Font->TextExtent(Text, DeviceLength(FSettings.CharExtra, false));
    return TSize{LogicalLength(S.cx, false), LogicalLength(S.cy, true)};
}

int TCanvas::TextWidth(const std::string& Text) const
{
    return TextExtent(Text).cx;
}

int TCanvas::TextHeight(const std::string& Text) const
{
    return TextExtent(Text).cy;
}

bool TCanvas::GetTextMetrics(TTextMetric& Metrics) const
{
    Metrics = FontInstance()->Metrics();
    if (FSettings.MapMode != MM_TEXT) {
        for (int* V : {&Metrics.tmHeight, &Metrics.tmAscent, &Metrics.tmDescent,
                       &Metrics.tmInternalLeading, &Metrics.tmExternalLeading})
            *V = LogicalLength(*V, true);
        for (int* V : {&Metrics.tmAveCharWidth, &Metrics.tmMaxCharWidth, &Metrics.tmOverhang})
            *V = LogicalLength(*V, false);
    }
    return true;
}

int TCanvas::DrawText(const std::string& Text, TRect& R, unsigned Format)
{
    const auto Font = FontInstance();
    const TSpacedMeasure Measure(*Font, DeviceLength(FSettings.CharExtra, false));
    const TRect DR = DeviceRect(R.Left, R.Top, R.Right, R.Bottom);
    const TDrawTextLayout Layout = LayoutDrawText(Measure, Text, DR, Format);
    if (Format & DT_CALCRECT) {
        const TPoint A = DPtoLP(Layout.CalcRect.TopLeft());
        const TPoint B = DPtoLP(Layout.CalcRect.BottomRight());
        R = TRect{A.X, A.Y, B.X, B.Y};
        return LogicalLength(Layout.Height, true);
    }
    if (!FDevice)
        return LogicalLength(Layout.Height, true);
    TChangeScope Scope(this);
    std::optional<TRegion> Saved = FSettings.Clip;
    if (!(Format & DT_NOCLIP))
        FSettings.Clip =
            FSettings.Clip ? TRegion::Intersect(*FSettings.Clip, TRegion(DR)) : TRegion(DR);
    const TPoint Down = Font->BaselineFromTop();
    for (const TDrawTextLine& Line : Layout.Lines) {
        for (const TTextRun& Run : Line.Runs)
            DeviceText(TPoint{Run.X + Down.X, Line.Y + Down.Y}, Run.Text,
                       CharAdvances(*Font, Run.Text, nullptr, Layout.Coding), 0, TRect{},
                       Layout.Coding);
        if (Line.Underlined && Line.UnderlineRight > Line.UnderlineLeft) {
            const int Base = Line.Y + Font->Metrics().tmAscent + 1;
            FillDeviceRect(TRect{Line.UnderlineLeft, Base, Line.UnderlineRight, Base + 1},
                           FSettings.TextColor);
        }
    }
    FSettings.Clip = std::move(Saved);
    return LogicalLength(Layout.Height, true);
}

unsigned TCanvas::SetTextAlign(unsigned Value)
{
    return std::exchange(FSettings.TextAlign, Value);
}

int TCanvas::SetBkMode(int Value)
{
    if (Value != TRANSPARENT && Value != OPAQUE)
        return FSettings.BkMode;
    return std::exchange(FSettings.BkMode, Value);
}

TColor TCanvas::SetBkColor(TColor Value)
{
    return std::exchange(FSettings.BkColor, Value);
}

TColor TCanvas::SetTextColor(TColor Value)
{
    return std::exchange(FSettings.TextColor, Value);
}

int TCanvas::SetTextCharacterExtra(int Value)
{
    return std::exchange(FSettings.CharExtra, Value);
}
