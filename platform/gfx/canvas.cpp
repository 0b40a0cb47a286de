#include "platform/gfx/canvas.h"

#include "platform/gfx/graphic.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

// N / D rounded half away from zero.
long long RoundDiv(long long N, long long D)
{
    if (D == 0)
        return 0;
    if (D < 0) {
        N = -N;
        D = -D;
    }
    return N >= 0 ? (N + D / 2) / D : -((-N + D / 2) / D);
}

TRect Normalized(const TRect& R)
{
    return TRect{std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right),
                 std::max(R.Top, R.Bottom)};
}

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

TColor TCanvas::Plain(TColor Color)
{
    return ColorToRGB(Color) & 0xFFFFFF;
}

struct TCanvas::TSaved {
    std::unique_ptr<TPen> Pen = std::make_unique<TPen>();
    std::unique_ptr<TBrush> Brush = std::make_unique<TBrush>();
    std::unique_ptr<TFont> Font = std::make_unique<TFont>();
    TPoint PenPos;
    std::uint32_t CopyMode = SRCCOPY;
    int PolyFillMode = ALTERNATE;
    unsigned TextAlign = 0;
    int BkMode = OPAQUE;
    TColor BkColor = clWhite;
    TColor TextColor = clBlack;
    int CharExtra = 0;
    int StretchMode = BLACKONWHITE;
    std::optional<TRegion> Clip;
    int MapMode = MM_TEXT;
    TPoint WindowOrg;
    TPoint ViewportOrg;
    TSize WindowExt;
    TSize ViewportExt;
};

TCanvas::TCanvas(TCanvasDevice* Device)
    : FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()),
      FFont(std::make_unique<TFont>())
{
    auto Handler = [this](TObject* Sender) { ObjectChanged(Sender); };
    FPen->OnChange = Handler;
    FBrush->OnChange = Handler;
    FFont->OnChange = Handler;
    FTextColor = FFont->Color();
    SetDevice(Device);
}

TCanvas::~TCanvas() = default;

void TCanvas::SetDevice(TCanvasDevice* Value)
{
    FDevice = Value;
    FClip.reset();
    if (FDevice)
        FFont->SetPixelsPerInch(FDevice->PixelsPerInchY());
    if (FMapMode != MM_TEXT && FMapMode < MM_ISOTROPIC)
        SetMapMode(FMapMode);
}

void TCanvas::ObjectChanged(TObject* Sender)
{
    if (Sender == FBrush.get()) {
        // A solid brush also gives the text background; any other brush makes text and
        // hatches transparent.
        if (FBrush->Style() == bsSolid && !FBrush->Pattern()) {
            FBkColor = FBrush->Color();
            FBkMode = OPAQUE;
        } else {
            FBkColor =
                static_cast<TColor>(~static_cast<std::uint32_t>(Plain(FBrush->Color())) & 0xFFFFFF);
            FBkMode = TRANSPARENT;
        }
    } else if (Sender == FFont.get()) {
        FTextColor = FFont->Color();
    }
}

void TCanvas::Changing()
{
    if (OnChanging)
        OnChanging(this);
}

void TCanvas::Changed()
{
    if (OnChange)
        OnChange(this);
}

TFontRequest TCanvas::FontRequest() const
{
    TFontRequest R;
    R.FaceName = FFont->Name();
    const int H = FFont->Height();
    R.Height = H < 0 ? -DeviceLength(-H, true) : DeviceLength(H, true);
    R.Weight = FFont->Style().Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    R.Italic = FFont->Style().Contains(fsItalic);
    R.Underline = FFont->Style().Contains(fsUnderline);
    R.StrikeOut = FFont->Style().Contains(fsStrikeOut);
    R.CharSet = FFont->Charset();
    R.PitchAndFamily = FFont->Pitch() == fpFixed      ? FIXED_PITCH
                       : FFont->Pitch() == fpVariable ? VARIABLE_PITCH
                                                      : DEFAULT_PITCH;
    R.Escapement = FFont->Escapement();
    R.Orientation = FFont->Orientation();
    return R;
}

std::shared_ptr<TFontInstance> TCanvas::FontInstance() const
{
    return TFontInstance::Get(FontRequest());
}

TDeviceState TCanvas::State() const
{
    TDeviceState S;
    S.Pen.Color = Plain(FPen->Color());
    S.Pen.Width = std::max(1, DeviceLength(FPen->Width(), false));
    S.Pen.Style = FPen->Style();
    S.Pen.Alternate = FPen->Alternate();
    S.Brush.Color = Plain(FBrush->Color());
    S.Brush.Style = FBrush->Style();
    S.Brush.Pattern = FBrush->Pattern();
    S.Font = FontRequest();
    S.TextColor = Plain(FTextColor);
    S.Rop2 = PenModeToRop2(FPen->Mode());
    S.BkMode = FBkMode;
    S.BkColor = Plain(FBkColor);
    S.Clip = FClip ? &*FClip : nullptr;
    return S;
}

// Mapping ---------------------------------------------------------------------------------

TPoint TCanvas::LPtoDP(const TPoint& P) const
{
    return TPoint{
        static_cast<int>(
            RoundDiv(static_cast<long long>(P.X - FWindowOrg.X) * FViewportExt.cx, FWindowExt.cx) +
            FViewportOrg.X),
        static_cast<int>(
            RoundDiv(static_cast<long long>(P.Y - FWindowOrg.Y) * FViewportExt.cy, FWindowExt.cy) +
            FViewportOrg.Y)};
}

TPoint TCanvas::DPtoLP(const TPoint& P) const
{
    return TPoint{
        static_cast<int>(RoundDiv(static_cast<long long>(P.X - FViewportOrg.X) * FWindowExt.cx,
                                  FViewportExt.cx) +
                         FWindowOrg.X),
        static_cast<int>(RoundDiv(static_cast<long long>(P.Y - FViewportOrg.Y) * FWindowExt.cy,
                                  FViewportExt.cy) +
                         FWindowOrg.Y)};
}

bool TCanvas::LPtoDP(TPoint* Points, int Count) const
{
    if (!Points || Count < 0)
        return false;
    for (int I = 0; I < Count; ++I)
        Points[I] = LPtoDP(Points[I]);
    return true;
}

bool TCanvas::DPtoLP(TPoint* Points, int Count) const
{
    if (!Points || Count < 0)
        return false;
    for (int I = 0; I < Count; ++I)
        Points[I] = DPtoLP(Points[I]);
    return true;
}

int TCanvas::DeviceLength(int Logical, bool Vertical) const
{
    const long long V = Vertical ? FViewportExt.cy : FViewportExt.cx;
    const long long W = Vertical ? FWindowExt.cy : FWindowExt.cx;
    return static_cast<int>(std::llabs(RoundDiv(Logical * V, W)));
}

int TCanvas::LogicalLength(int Device, bool Vertical) const
{
    const long long V = Vertical ? FViewportExt.cy : FViewportExt.cx;
    const long long W = Vertical ? FWindowExt.cy : FWindowExt.cx;
    return static_cast<int>(std::llabs(RoundDiv(Device * W, V)));
}

TRect TCanvas::DeviceRect(int X1, int Y1, int X2, int Y2) const
{
    const TPoint A = LPtoDP(TPoint{X1, Y1});
    const TPoint B = LPtoDP(TPoint{X2, Y2});
    return Normalized(TRect{A.X, A.Y, B.X, B.Y});
}

int TCanvas::SetMapMode(int Value)
{
    const int Old = FMapMode;
    if (Value < MM_TEXT || Value > MM_ANISOTROPIC)
        return 0;
    const int PX = FDevice ? FDevice->PixelsPerInchX() : 96;
    const int PY = FDevice ? FDevice->PixelsPerInchY() : 96;
    auto Fixed = [&](int UnitsPerInch) {
        FWindowExt = TSize{UnitsPerInch, UnitsPerInch};
        FViewportExt = TSize{PX, -PY};
    };
    FMapMode = Value;
    switch (Value) {
    case MM_TEXT:
        FWindowExt = TSize{1, 1};
        FViewportExt = TSize{1, 1};
        break;
    case MM_LOMETRIC:
        Fixed(254);
        break;
    case MM_HIMETRIC:
        Fixed(2540);
        break;
    case MM_LOENGLISH:
        Fixed(100);
        break;
    case MM_HIENGLISH:
        Fixed(1000);
        break;
    case MM_TWIPS:
        Fixed(1440);
        break;
    case MM_ISOTROPIC:
        AdjustIsotropic();
        break;
    default:
        break;
    }
    return Old;
}

void TCanvas::AdjustIsotropic()
{
    if (FMapMode != MM_ISOTROPIC || FWindowExt.cx == 0 || FWindowExt.cy == 0)
        return;
    // One logical unit takes the same length both ways: the smaller scale wins.
    const double SX = std::abs(double(FViewportExt.cx) / FWindowExt.cx);
    const double SY = std::abs(double(FViewportExt.cy) / FWindowExt.cy);
    if (SX > SY) {
        const int Sign = FViewportExt.cx < 0 ? -1 : 1;
        FViewportExt.cx =
            Sign * static_cast<int>(
                       RoundDiv(std::llabs(static_cast<long long>(FWindowExt.cx) * FViewportExt.cy),
                                std::llabs(FWindowExt.cy)));
    } else if (SY > SX) {
        const int Sign = FViewportExt.cy < 0 ? -1 : 1;
        FViewportExt.cy =
            Sign * static_cast<int>(
                       RoundDiv(std::llabs(static_cast<long long>(FWindowExt.cy) * FViewportExt.cx),
                                std::llabs(FWindowExt.cx)));
    }
}

bool TCanvas::SetWindowOrgEx(int X, int Y, TPoint* Old)
{
    if (Old)
        *Old = FWindowOrg;
    FWindowOrg = TPoint{X, Y};
    return true;
}

bool TCanvas::SetViewportOrgEx(int X, int Y, TPoint* Old)
{
    if (Old)
        *Old = FViewportOrg;
    FViewportOrg = TPoint{X, Y};
    return true;
}

bool TCanvas::OffsetWindowOrgEx(int DX, int DY, TPoint* Old)
{
    return SetWindowOrgEx(FWindowOrg.X + DX, FWindowOrg.Y + DY, Old);
}

bool TCanvas::OffsetViewportOrgEx(int DX, int DY, TPoint* Old)
{
    return SetViewportOrgEx(FViewportOrg.X + DX, FViewportOrg.Y + DY, Old);
}

bool TCanvas::SetWindowExtEx(int X, int Y, TSize* Old)
{
    if (Old)
        *Old = FWindowExt;
    if (FMapMode != MM_ISOTROPIC && FMapMode != MM_ANISOTROPIC)
        return true; // fixed modes keep their extents
    if (X == 0 || Y == 0)
        return false;
    FWindowExt = TSize{X, Y};
    AdjustIsotropic();
    return true;
}

bool TCanvas::SetViewportExtEx(int X, int Y, TSize* Old)
{
    if (Old)
        *Old = FViewportExt;
    if (FMapMode != MM_ISOTROPIC && FMapMode != MM_ANISOTROPIC)
        return true;
    if (X == 0 || Y == 0)
        return false;
    FViewportExt = TSize{X, Y};
    AdjustIsotropic();
    return true;
}

// Lines and shapes -----------------------------------------------------------------------

void TCanvas::AddFigure(std::vector<TPoint> Points, bool Closed)
{
    FPath.push_back(TFigure{std::move(Points), Closed});
}

void TCanvas::MoveTo(int X, int Y)
{
    FPenPos = TPoint{X, Y};
    if (FPathOpen)
        AddFigure({LPtoDP(FPenPos)}, false);
}

void TCanvas::LineTo(int X, int Y)
{
    const TPoint From = LPtoDP(FPenPos);
    const TPoint To = LPtoDP(TPoint{X, Y});
    FPenPos = TPoint{X, Y};
    if (FPathOpen) {
        if (FPath.empty() || FPath.back().Closed)
            AddFigure({From}, false);
        FPath.back().Points.push_back(To);
        return;
    }
    if (!FDevice)
        return;
    TChangeScope Scope(this);
    FDevice->Polyline(State(), {From, To});
}

void TCanvas::Polyline(const std::vector<TPoint>& Points)
{
    std::vector<TPoint> D;
    D.reserve(Points.size());
    for (const TPoint& P : Points)
        D.push_back(LPtoDP(P));
    if (FPathOpen) {
        AddFigure(std::move(D), false);
        return;
    }
    if (!FDevice || D.size() < 2)
        return;
    TChangeScope Scope(this);
    FDevice->Polyline(State(), D);
}

void TCanvas::Polygon(const std::vector<TPoint>& Points)
{
    PolyPolygon({Points});
}

void TCanvas::PolyPolygon(const std::vector<std::vector<TPoint>>& Polygons)
{
    std::vector<std::vector<TPoint>> D;
    for (const auto& Poly : Polygons) {
        D.emplace_back();
        for (const TPoint& P : Poly)
            D.back().push_back(LPtoDP(P));
    }
    if (FPathOpen) {
        for (auto& Poly : D)
            AddFigure(std::move(Poly), true);
        return;
    }
    if (!FDevice)
        return;
    TChangeScope Scope(this);
    FDevice->PolyPolygon(State(), D, FPolyFillMode == WINDING, true, true);
}

void TCanvas::SetPolyFillMode(int Value)
{
    if (Value == ALTERNATE || Value == WINDING)
        FPolyFillMode = Value;
}

void TCanvas::DrawShape(TShapeKind Kind, int X1, int Y1, int X2, int Y2, TSize Corner, TPoint Start,
                        TPoint End)
{
    TShapeCall Call;
    Call.Kind = Kind;
    Call.Box = DeviceRect(X1, Y1, X2, Y2);
    Call.Corner = TSize{DeviceLength(Corner.cx, false), DeviceLength(Corner.cy, true)};
    Call.Start = LPtoDP(Start);
    Call.End = LPtoDP(End);
    if (FPathOpen) {
        const TRect& B = Call.Box;
        if (Kind == shRectangle) {
            AddFigure({{B.Left, B.Top}, {B.Right, B.Top}, {B.Right, B.Bottom}, {B.Left, B.Bottom}},
                      true);
        } else {
            // Curved outlines enter a path as polygons.
            std::vector<TPoint> Poly;
            const double CX = (B.Left + B.Right) / 2.0;
            const double CY = (B.Top + B.Bottom) / 2.0;
            constexpr int Steps = 64;
            for (int I = 0; I < Steps; ++I) {
                const double T = 2 * std::numbers::pi * I / Steps;
                Poly.push_back(
                    TPoint{static_cast<int>(std::lround(CX + B.Width() / 2.0 * std::cos(T))),
                           static_cast<int>(std::lround(CY - B.Height() / 2.0 * std::sin(T)))});
            }
            AddFigure(std::move(Poly), true);
        }
        return;
    }
    if (!FDevice || IsRectEmpty(Call.Box))
        return;
    TChangeScope Scope(this);
    FDevice->Shape(State(), Call);
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
    DrawShape(shRectangle, X1, Y1, X2, Y2, TSize{}, TPoint{}, TPoint{});
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3)
{
    DrawShape(shRoundRect, X1, Y1, X2, Y2, TSize{X3, Y3}, TPoint{}, TPoint{});
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2)
{
    DrawShape(shEllipse, X1, Y1, X2, Y2, TSize{}, TPoint{}, TPoint{});
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    DrawShape(shArc, X1, Y1, X2, Y2, TSize{}, TPoint{X3, Y3}, TPoint{X4, Y4});
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    DrawShape(shPie, X1, Y1, X2, Y2, TSize{}, TPoint{X3, Y3}, TPoint{X4, Y4});
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    DrawShape(shChord, X1, Y1, X2, Y2, TSize{}, TPoint{X3, Y3}, TPoint{X4, Y4});
}

void TCanvas::FillRect(const TRect& R)
{
    if (!FDevice)
        return;
    const TRect D = DeviceRect(R.Left, R.Top, R.Right, R.Bottom);
    if (IsRectEmpty(D))
        return;
    TChangeScope Scope(this);
    FDevice->FillRect(State(), D);
}

void TCanvas::FrameRect(const TRect& R)
{
    if (!FDevice)
        return;
    const TRect D = DeviceRect(R.Left, R.Top, R.Right, R.Bottom);
    if (IsRectEmpty(D))
        return;
    TChangeScope Scope(this);
    const TDeviceState S = State();
    FDevice->FillRect(S, TRect{D.Left, D.Top, D.Right, D.Top + 1});
    if (D.Height() > 1)
        FDevice->FillRect(S, TRect{D.Left, D.Bottom - 1, D.Right, D.Bottom});
    if (D.Height() > 2) {
        FDevice->FillRect(S, TRect{D.Left, D.Top + 1, D.Left + 1, D.Bottom - 1});
        if (D.Width() > 1)
            FDevice->FillRect(S, TRect{D.Right - 1, D.Top + 1, D.Right, D.Bottom - 1});
    }
}

void TCanvas::FillRgn(const TRegion& Region)
{
    if (!FDevice)
        return;
    TChangeScope Scope(this);
    const TRegion Area = FClip ? TRegion::Intersect(*FClip, Region) : Region;
    TDeviceState S = State();
    S.Clip = &Area;
    FDevice->FillRect(S, Area.Bounds());
}

TColor TCanvas::Pixels(int X, int Y) const
{
    if (!FDevice)
        return CLR_INVALID;
    const TPoint D = LPtoDP(TPoint{X, Y});
    if (FClip && !FClip->Contains(D.X, D.Y))
        return CLR_INVALID;
    return FDevice->GetPixel(D.X, D.Y);
}

void TCanvas::SetPixels(int X, int Y, TColor Value)
{
    if (!FDevice)
        return;
    TChangeScope Scope(this);
    const TPoint D = LPtoDP(TPoint{X, Y});
    FDevice->SetPixel(State(), D.X, D.Y, Plain(Value));
}

void TCanvas::FillDeviceRect(const TRect& R, TColor Color)
{
    if (!FDevice || IsRectEmpty(R))
        return;
    TDeviceState S = State();
    S.Brush = TBrushData{Plain(Color), bsSolid, nullptr};
    FDevice->FillRect(S, R);
}

// Text ------------------------------------------------------------------------------------

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
        Font.CaretPositions(Text, DeviceLength(FCharExtra, false), Coding);
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
    T.CharExtra = DeviceLength(FCharExtra, false);
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
    const TPoint Ref = (FTextAlign & TA_UPDATECP) ? FPenPos : TPoint{X, Y};
    const TPoint DRef = LPtoDP(Ref);
    int DX = 0;
    if ((FTextAlign & TA_CENTER) == TA_CENTER)
        DX = -Width / 2;
    else if (FTextAlign & TA_RIGHT)
        DX = -Width;
    int DY = Font->Metrics().tmAscent;
    if ((FTextAlign & TA_BASELINE) == TA_BASELINE)
        DY = 0;
    else if (FTextAlign & TA_BOTTOM)
        DY = -Font->Metrics().tmDescent;
    const TPoint Shift = Font->Turn(DX, DY);
    const TPoint Origin{DRef.X + Shift.X, DRef.Y + Shift.Y};
    if (FTextAlign & TA_UPDATECP) {
        const int L = LogicalLength(Width, false);
        if ((FTextAlign & TA_CENTER) != TA_CENTER)
            FPenPos.X += (FTextAlign & TA_RIGHT) ? -L : L;
    }
    if (FPathOpen) {
        for (auto& Poly : Font->Outline(Text, DeviceLength(FCharExtra, false))) {
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
    if (!(FTextAlign & TA_UPDATECP))
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
    const TSize S = Font->TextExtent(Text, DeviceLength(FCharExtra, false));
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
    if (FMapMode != MM_TEXT) {
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
    const TSpacedMeasure Measure(*Font, DeviceLength(FCharExtra, false));
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
    std::optional<TRegion> Saved = FClip;
    if (!(Format & DT_NOCLIP))
        FClip = FClip ? TRegion::Intersect(*FClip, TRegion(DR)) : TRegion(DR);
    const TPoint Down = Font->BaselineFromTop();
    for (const TDrawTextLine& Line : Layout.Lines) {
        for (const TTextRun& Run : Line.Runs)
            DeviceText(TPoint{Run.X + Down.X, Line.Y + Down.Y}, Run.Text,
                       CharAdvances(*Font, Run.Text, nullptr, Layout.Coding), 0, TRect{},
                       Layout.Coding);
        if (Line.Underlined && Line.UnderlineRight > Line.UnderlineLeft) {
            const int Base = Line.Y + Font->Metrics().tmAscent + 1;
            FillDeviceRect(TRect{Line.UnderlineLeft, Base, Line.UnderlineRight, Base + 1},
                           FTextColor);
        }
    }
    FClip = std::move(Saved);
    return LogicalLength(Layout.Height, true);
}

unsigned TCanvas::SetTextAlign(unsigned Value)
{
    const unsigned Old = FTextAlign;
    FTextAlign = Value;
    return Old;
}

int TCanvas::SetBkMode(int Value)
{
    const int Old = FBkMode;
    if (Value == TRANSPARENT || Value == OPAQUE)
        FBkMode = Value;
    return Old;
}

TColor TCanvas::SetBkColor(TColor Value)
{
    const TColor Old = FBkColor;
    FBkColor = Value;
    return Old;
}

TColor TCanvas::SetTextColor(TColor Value)
{
    const TColor Old = FTextColor;
    FTextColor = Value;
    return Old;
}

int TCanvas::SetTextCharacterExtra(int Value)
{
    const int Old = FCharExtra;
    FCharExtra = Value;
    return Old;
}

// Copying ---------------------------------------------------------------------------------

int TCanvas::SetStretchBltMode(int Value)
{
    const int Old = FStretchMode;
    if (Value >= BLACKONWHITE && Value <= HALFTONE)
        FStretchMode = Value;
    return Old;
}

bool TCanvas::StretchBlt(int X, int Y, int Width, int Height, TCanvas* Source, int XSrc, int YSrc,
                         int SrcWidth, int SrcHeight, std::uint32_t Rop)
{
    if (!FDevice)
        return false;
    const bool UsesSource = RopUsesSource(Rop);
    if (UsesSource && (!Source || !Source->FDevice))
        return false;
    const TPoint A = LPtoDP(TPoint{X, Y});
    const TPoint B = LPtoDP(TPoint{X + Width, Y + Height});
    TRect Src{0, 0, 1, 1};
    if (Source) {
        const TPoint SA = Source->LPtoDP(TPoint{XSrc, YSrc});
        const TPoint SB = Source->LPtoDP(TPoint{XSrc + SrcWidth, YSrc + SrcHeight});
        Src = TRect{SA.X, SA.Y, SB.X, SB.Y};
    }
    TChangeScope Scope(this);
    const TCanvasDevice& From = Source && Source->FDevice ? *Source->FDevice : *FDevice;
    FDevice->StretchBlt(State(), TRect{A.X, A.Y, B.X, B.Y}, From, Src, Rop, FStretchMode);
    return true;
}

bool TCanvas::BitBlt(int X, int Y, int Width, int Height, TCanvas* Source, int XSrc, int YSrc,
                     std::uint32_t Rop)
{
    if (!RopUsesSource(Rop))
        return PatBlt(X, Y, Width, Height, Rop);
    if (!Source)
        return false;
    // Same size on the device: the source's own scale gives its extent.
    const TPoint A = LPtoDP(TPoint{X, Y});
    const TPoint B = LPtoDP(TPoint{X + Width, Y + Height});
    const TPoint SA = Source->LPtoDP(TPoint{XSrc, YSrc});
    const TPoint SB = Source->DPtoLP(TPoint{SA.X + (B.X - A.X), SA.Y + (B.Y - A.Y)});
    return StretchBlt(X, Y, Width, Height, Source, XSrc, YSrc, SB.X - XSrc, SB.Y - YSrc, Rop);
}

bool TCanvas::PatBlt(int X, int Y, int Width, int Height, std::uint32_t Rop)
{
    if (!FDevice)
        return false;
    TChangeScope Scope(this);
    FDevice->PatBlt(State(), DeviceRect(X, Y, X + Width, Y + Height), Rop);
    return true;
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Source, const TRect& Src)
{
    StretchBlt(Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Source, Src.Left, Src.Top,
               Src.Width(), Src.Height(), FCopyMode);
}

// Clipping --------------------------------------------------------------------------------

int TCanvas::GetClipBox(TRect& R) const
{
    TRect D;
    int Kind = SIMPLEREGION;
    if (FClip) {
        D = FClip->Bounds();
        Kind = RegionKind(*FClip);
    } else if (FDevice) {
        D = TRect{0, 0, FDevice->Width(), FDevice->Height()};
    }
    const TPoint A = DPtoLP(D.TopLeft());
    const TPoint B = DPtoLP(D.BottomRight());
    R = Normalized(TRect{A.X, A.Y, B.X, B.Y});
    return Kind;
}

TRect TCanvas::ClipRect() const
{
    TRect R;
    GetClipBox(R);
    return R;
}

int TCanvas::SelectClipRgn(const TRegion* Region)
{
    if (!Region) {
        FClip.reset();
        return SIMPLEREGION;
    }
    FClip = *Region;
    return RegionKind(*FClip);
}

int TCanvas::GetClipRgn(TRegion& Dest) const
{
    if (!FClip)
        return 0;
    Dest = *FClip;
    return 1;
}

int TCanvas::IntersectClipRect(int Left, int Top, int Right, int Bottom)
{
    const TRegion R(DeviceRect(Left, Top, Right, Bottom));
    FClip = FClip ? TRegion::Intersect(*FClip, R) : R;
    return RegionKind(*FClip);
}

int TCanvas::ExcludeClipRect(int Left, int Top, int Right, int Bottom)
{
    const TRegion All =
        FClip ? *FClip
              : TRegion(FDevice ? TRect{0, 0, FDevice->Width(), FDevice->Height()} : TRect{});
    FClip = TRegion::Diff(All, TRegion(DeviceRect(Left, Top, Right, Bottom)));
    return RegionKind(*FClip);
}

int TCanvas::OffsetClipRgn(int DX, int DY)
{
    if (!FClip)
        return SIMPLEREGION;
    const TPoint O = LPtoDP(TPoint{0, 0});
    const TPoint D = LPtoDP(TPoint{DX, DY});
    FClip->Offset(D.X - O.X, D.Y - O.Y);
    return RegionKind(*FClip);
}

bool TCanvas::PtVisible(int X, int Y) const
{
    const TPoint D = LPtoDP(TPoint{X, Y});
    if (FClip)
        return FClip->Contains(D.X, D.Y);
    return FDevice && D.X >= 0 && D.Y >= 0 && D.X < FDevice->Width() && D.Y < FDevice->Height();
}

// Paths -----------------------------------------------------------------------------------

bool TCanvas::BeginPath()
{
    FPath.clear();
    FPathOpen = true;
    FPathReady = false;
    return true;
}

bool TCanvas::EndPath()
{
    if (!FPathOpen)
        return false;
    FPathOpen = false;
    FPathReady = true;
    return true;
}

bool TCanvas::AbortPath()
{
    FPath.clear();
    FPathOpen = false;
    FPathReady = false;
    return true;
}

bool TCanvas::CloseFigure()
{
    if (!FPathOpen || FPath.empty())
        return false;
    FPath.back().Closed = true;
    return true;
}

void TCanvas::DrawPathFigures(bool Fill, bool Stroke)
{
    if (FDevice) {
        TChangeScope Scope(this);
        const TDeviceState S = State();
        std::vector<std::vector<TPoint>> Polygons;
        for (const TFigure& F : FPath)
            if (F.Points.size() >= 2)
                Polygons.push_back(F.Points);
        if (Fill && !Polygons.empty())
            FDevice->PolyPolygon(S, Polygons, FPolyFillMode == WINDING, true, false);
        if (Stroke)
            for (const TFigure& F : FPath) {
                if (F.Points.size() < 2)
                    continue;
                std::vector<TPoint> Line = F.Points;
                if (F.Closed)
                    Line.push_back(F.Points.front());
                FDevice->Polyline(S, Line);
            }
    }
    FPath.clear();
    FPathReady = false;
}

bool TCanvas::StrokePath()
{
    if (!FPathReady)
        return false;
    DrawPathFigures(false, true);
    return true;
}

bool TCanvas::FillPath()
{
    if (!FPathReady)
        return false;
    DrawPathFigures(true, false);
    return true;
}

bool TCanvas::StrokeAndFillPath()
{
    if (!FPathReady)
        return false;
    DrawPathFigures(true, true);
    return true;
}

// State -----------------------------------------------------------------------------------

int TCanvas::SaveDC()
{
    TSaved S;
    S.Pen->Assign(FPen.get());
    S.Brush->Assign(FBrush.get());
    S.Font->SetPixelsPerInch(FFont->PixelsPerInch());
    S.Font->Assign(FFont.get());
    S.PenPos = FPenPos;
    S.CopyMode = FCopyMode;
    S.PolyFillMode = FPolyFillMode;
    S.TextAlign = FTextAlign;
    S.BkMode = FBkMode;
    S.BkColor = FBkColor;
    S.TextColor = FTextColor;
    S.CharExtra = FCharExtra;
    S.StretchMode = FStretchMode;
    S.Clip = FClip;
    S.MapMode = FMapMode;
    S.WindowOrg = FWindowOrg;
    S.ViewportOrg = FViewportOrg;
    S.WindowExt = FWindowExt;
    S.ViewportExt = FViewportExt;
    FSaved.push_back(std::move(S));
    return static_cast<int>(FSaved.size());
}

bool TCanvas::RestoreDC(int Level)
{
    const int Count = static_cast<int>(FSaved.size());
    const int Target = Level < 0 ? Count + Level + 1 : Level;
    if (Target < 1 || Target > Count)
        return false;
    TSaved S = std::move(FSaved[static_cast<std::size_t>(Target - 1)]);
    FSaved.resize(static_cast<std::size_t>(Target - 1));
    FPen->Assign(S.Pen.get());
    FBrush->Assign(S.Brush.get());
    FFont->Assign(S.Font.get());
    FPenPos = S.PenPos;
    FCopyMode = S.CopyMode;
    FPolyFillMode = S.PolyFillMode;
    FTextAlign = S.TextAlign;
    FBkMode = S.BkMode;
    FBkColor = S.BkColor;
    FTextColor = S.TextColor;
    FCharExtra = S.CharExtra;
    FStretchMode = S.StretchMode;
    FClip = std::move(S.Clip);
    FMapMode = S.MapMode;
    FWindowOrg = S.WindowOrg;
    FViewportOrg = S.ViewportOrg;
    FWindowExt = S.WindowExt;
    FViewportExt = S.ViewportExt;
    return true;
}

void TCanvas::Lock()
{
    FLock.Enter();
    ++FLockCount;
}

void TCanvas::Unlock()
{
    --FLockCount;
    FLock.Leave();
}

bool TCanvas::TryLock()
{
    if (!FLock.TryEnter())
        return false;
    ++FLockCount;
    return true;
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic)
{
    if (Graphic && !Graphic->Empty())
        Graphic->Draw(this, TRect{X, Y, X + Graphic->Width(), Y + Graphic->Height()});
}

void TCanvas::StretchDraw(const TRect& Rect, TGraphic* Graphic)
{
    if (Graphic && !Graphic->Empty())
        Graphic->Draw(this, Rect);
}
