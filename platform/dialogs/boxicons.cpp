// platform/dialogs/boxicons.cpp: the boxes' pictures, drawn with the canvas's shapes only, so
// that they look the same whatever fonts the machine has.
#include "platform/dialogs/boxicons.h"

#include "platform/gfx/canvas.h"
#include "platform/gfx/color.h"

#include <vector>

namespace {

constexpr TColor DarkRed = 0x000080;
constexpr TColor StopRed = 0x2020E0;
constexpr TColor QuestionBlue = 0xC06020;
constexpr TColor WarningYellow = 0x00D8FF;
constexpr TColor WarningEdge = 0x0080A0;
constexpr TColor InfoBlue = 0xB04010;

void Shape(TCanvas* Canvas, TColor Fill, TColor Edge)
{
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Fill);
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetColor(Edge);
    Canvas->Pen()->SetWidth(1);
}

void Block(TCanvas* Canvas, int X, int Y, int Left, int Top, int Right, int Bottom, TColor Color)
{
    Canvas->Brush()->SetColor(Color);
    Canvas->FillRect(Rect(X + Left, Y + Top, X + Right, Y + Bottom));
}

void Stop(TCanvas* Canvas, int X, int Y)
{
    Shape(Canvas, StopRed, DarkRed);
    Canvas->Ellipse(X + 1, Y + 1, X + 31, Y + 31);
    // The cross: two thick strokes as polygons, so no pen width rounding shows.
    Shape(Canvas, clWhite, clWhite);
    auto At = [X, Y](int Px, int Py) { return TPoint{X + Px, Y + Py}; };
    Canvas->Polygon({At(9, 11), At(11, 9), At(22, 20), At(20, 22)});
    Canvas->Polygon({At(20, 9), At(22, 11), At(11, 22), At(9, 20)});
}

void Question(TCanvas* Canvas, int X, int Y)
{
    Shape(Canvas, clWhite, QuestionBlue);
    Canvas->Ellipse(X + 1, Y + 1, X + 31, Y + 31);
    // The hook of the question mark, then its stem and its dot.
    Block(Canvas, X, Y, 11, 8, 21, 11, QuestionBlue);
    Block(Canvas, X, Y, 10, 10, 13, 14, QuestionBlue);
    Block(Canvas, X, Y, 19, 10, 22, 16, QuestionBlue);
    Block(Canvas, X, Y, 15, 15, 21, 18, QuestionBlue);
    Block(Canvas, X, Y, 15, 17, 18, 20, QuestionBlue);
    Block(Canvas, X, Y, 15, 22, 18, 25, QuestionBlue);
}

void Warning(TCanvas* Canvas, int X, int Y)
{
    Shape(Canvas, WarningYellow, WarningEdge);
    auto At = [X, Y](int Px, int Py) { return TPoint{X + Px, Y + Py}; };
    Canvas->Polygon({At(16, 2), At(30, 29), At(1, 29)});
    Block(Canvas, X, Y, 14, 10, 18, 21, clBlack);
    Block(Canvas, X, Y, 14, 23, 18, 27, clBlack);
}

void Information(TCanvas* Canvas, int X, int Y)
{
    Shape(Canvas, InfoBlue, clNavy);
    Canvas->Ellipse(X + 1, Y + 1, X + 31, Y + 31);
    Block(Canvas, X, Y, 14, 7, 18, 11, clWhite);
    Block(Canvas, X, Y, 12, 13, 18, 16, clWhite);
    Block(Canvas, X, Y, 14, 13, 18, 23, clWhite);
    Block(Canvas, X, Y, 12, 22, 20, 25, clWhite);
}

} // namespace

TBoxIcon BoxIconOf(const TDialogRequest& Request)
{
    switch (Request.Kind) {
    case TDialogKind::MessageBox:
        switch (Request.Flags & MB_ICONMASK) {
        case MB_ICONHAND:
            return TBoxIcon::Stop;
        case MB_ICONQUESTION:
            return TBoxIcon::Question;
        case MB_ICONEXCLAMATION:
            return TBoxIcon::Warning;
        case MB_ICONASTERISK:
            return TBoxIcon::Information;
        default:
            return TBoxIcon::None;
        }
    case TDialogKind::MessageDlg:
        switch (Request.DlgType) {
        case mtWarning:
            return TBoxIcon::Warning;
        case mtError:
            return TBoxIcon::Stop;
        case mtInformation:
            return TBoxIcon::Information;
        case mtConfirmation:
            return TBoxIcon::Question;
        case mtCustom:
            return TBoxIcon::None;
        }
        return TBoxIcon::None;
    default:
        return TBoxIcon::None;
    }
}

void DrawBoxIcon(TCanvas* Canvas, int X, int Y, TBoxIcon Icon)
{
    switch (Icon) {
    case TBoxIcon::Stop:
        Stop(Canvas, X, Y);
        break;
    case TBoxIcon::Question:
        Question(Canvas, X, Y);
        break;
    case TBoxIcon::Warning:
        Warning(Canvas, X, Y);
        break;
    case TBoxIcon::Information:
        Information(Canvas, X, Y);
        break;
    case TBoxIcon::None:
        break;
    }
}

std::unique_ptr<TBitmap> BoxIconBitmap(TBoxIcon Icon, TColor Ground)
{
    if (Icon == TBoxIcon::None)
        return nullptr;
    auto Bitmap = std::make_unique<TBitmap>();
    Bitmap->SetPixelFormat(pf24bit);
    Bitmap->SetSize(BoxIconSize, BoxIconSize);
    Bitmap->Canvas()->Brush()->SetColor(Ground);
    Bitmap->Canvas()->FillRect(Rect(0, 0, BoxIconSize, BoxIconSize));
    DrawBoxIcon(Bitmap->Canvas(), 0, 0, Icon);
    return Bitmap;
}
