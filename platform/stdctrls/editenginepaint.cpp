// platform/stdctrls/editenginepaint.cpp: the edit's measures, line layout, scrolling, caret
// placement and painting. A byte that forms no UTF-8 character is shown as Windows-1252 reads it.
#include "platform/stdctrls/editengine.h"

#include "platform/gfx/graphicsobjects.h"
#include "platform/rtl/strings.h"
#include "platform/stdctrls/editwindow.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/paint.h"
#include "platform/ui/queue.h"
#include "platform/ui/scrollbars.h"
#include "platform/ui/windowdc.h"

#include <algorithm>

namespace {

// Windows-1252 at 0x80..0x9F; the other bytes above 0x7F are Latin-1.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t AnsiCode(unsigned char Byte)
{
    if (Byte >= 0x80 && Byte < 0xA0)
        return Cp1252High[Byte - 0x80];
    return Byte;
}

constexpr int TabChars = 8;

} // namespace

// ---- measures

void TEditEngine::FontChanged()
{
    FMeasure.SetFont(FFont.get());
    FWidths.clear();
    TTextMetric Metrics{};
    FMeasure.GetTextMetrics(Metrics);
    FLineHeight = std::max(1, static_cast<int>(Metrics.tmHeight));
    FAveCharWidth = std::max(1, static_cast<int>(Metrics.tmAveCharWidth));
    FLayoutValid = false;
    if (FFocused) {
        CreateCaret(FWnd, nullptr, 1, FLineHeight);
        UpdateCaret();
        ShowCaret(FWnd);
    }
}

int TEditEngine::LineHeight()
{
    return FLineHeight;
}

std::string TEditEngine::DisplayChar(const std::string& S, std::size_t I, std::size_t Len) const
{
    std::string Out;
    if (FPasswordChar != 0) {
        AppendUtf8(Out, FPasswordChar);
        return Out;
    }
    if (Len > 1 || static_cast<unsigned char>(S[I]) < 0x80)
        return S.substr(I, Len);
    AppendUtf8(Out, AnsiCode(static_cast<unsigned char>(S[I])));
    return Out;
}

int TEditEngine::CharWidth(const std::string& S, std::size_t I, std::size_t Len, int X)
{
    if (S[I] == '\t' && FPasswordChar == 0) {
        const int Stop = TabChars * FAveCharWidth;
        return Stop - X % Stop;
    }
    std::uint32_t Key = 0;
    if (FPasswordChar != 0) {
        Key = 0xFFFFFFFFu;
    } else if (Len == 1) {
        Key = 0x110000u + static_cast<unsigned char>(S[I]);
    } else {
        std::size_t J = I;
        char32_t Code = 0;
        DecodeUtf8At(S, J, Code);
        Key = Code;
    }
    auto Found = FWidths.find(Key);
    if (Found != FWidths.end())
        return Found->second;
    const int W = FMeasure.TextWidth(DisplayChar(S, I, Len));
    FWidths.emplace(Key, W);
    return W;
}

// ---- layout

TRect TEditEngine::FormatRect()
{
    if (FRectSet)
        return FRect;
    TRect R;
    GetClientRect(FWnd, R);
    R.Left += FLeftMargin;
    R.Right = std::max(R.Left, R.Right - FRightMargin);
    R.Top += 1;
    return R;
}

const std::vector<EditText::TLine>& TEditEngine::Lines()
{
    const TRect R = FormatRect();
    const bool Wrap = MultiLine() && !(Style() & ES_AUTOHSCROLL);
    const int Width = Wrap ? std::max(1, R.Width()) : 0;
    if (FLayoutValid && Width == FLayoutWidth)
        return FLines;
    FLines = EditText::Layout(FText, MultiLine(), Width,
                              [this](const std::string& S, std::size_t I, std::size_t Len, int X) {
                                  return CharWidth(S, I, Len, X);
                              });
    FLayoutValid = true;
    FLayoutWidth = Width;
    return FLines;
}

int TEditEngine::XInLine(const EditText::TLine& Line, std::size_t Pos)
{
    int X = 0;
    for (std::size_t I = Line.Start; I < std::min(Pos, Line.End);) {
        const std::size_t Len = EditText::CharLength(FText, I);
        X += CharWidth(FText, I, Len, X);
        I += Len;
    }
    return X;
}

// The character boundary nearest X (the line's own coordinates).
std::size_t TEditEngine::PosInLine(const EditText::TLine& Line, int X)
{
    int At = 0;
    for (std::size_t I = Line.Start; I < Line.End;) {
        const std::size_t Len = EditText::CharLength(FText, I);
        const int W = CharWidth(FText, I, Len, At);
        if (X < At + W / 2)
            return I;
        At += W;
        I += Len;
    }
    return Line.End;
}

int TEditEngine::AlignOffset(const EditText::TLine& Line)
{
    const DWORD Align = Style() & (ES_CENTER | ES_RIGHT);
    if (Align == 0)
        return 0;
    const int Room = FormatRect().Width() - XInLine(Line, Line.End);
    if (Room <= 0)
        return 0;
    return Align & ES_CENTER ? Room / 2 : Room;
}

TPoint TEditEngine::PosToClient(std::size_t Pos)
{
    const auto& L = Lines();
    const int Index = EditText::LineOfPos(L, Pos);
    const EditText::TLine& Line = L[Index];
    const TRect R = FormatRect();
    return TPoint{R.Left - FScrollX + AlignOffset(Line) + XInLine(Line, Pos),
                  R.Top + (Index - FTopLine) * FLineHeight};
}

std::size_t TEditEngine::ClientToPos(int X, int Y)
{
    const auto& L = Lines();
    const TRect R = FormatRect();
    int Index = FTopLine + (Y >= R.Top ? (Y - R.Top) / FLineHeight : -1);
    Index = std::clamp(Index, 0, static_cast<int>(L.size()) - 1);
    const EditText::TLine& Line = L[Index];
    return PosInLine(Line, X - R.Left + FScrollX - AlignOffset(Line));
}

int TEditEngine::VisibleLines()
{
    return std::max(1, FormatRect().Height() / FLineHeight);
}

// ---- scrolling

void TEditEngine::ScrollCaret()
{
    const auto& L = Lines();
    const int Line = EditText::LineOfPos(L, FCaret);
    const int OldTop = FTopLine;
    const int OldX = FScrollX;
    if (MultiLine()) {
        if (Line < FTopLine)
            FTopLine = Line;
        else if (Line >= FTopLine + VisibleLines())
            FTopLine = Line - VisibleLines() + 1;
    }
    const bool Wraps = MultiLine() && !(Style() & ES_AUTOHSCROLL);
    if (Wraps) {
        FScrollX = 0;
    } else {
        const int Width = std::max(1, FormatRect().Width());
        const int X = XInLine(L[Line], FCaret);
        // Jumps by a third of the width, as the classic edit does, so typing does not scroll
        // at every character.
        if (X < FScrollX)
            FScrollX = std::max(0, X - Width / 3);
        else if (X >= FScrollX + Width)
            FScrollX = X - Width + Width / 3;
    }
    if (OldTop != FTopLine || OldX != FScrollX) {
        Repaint();
        UpdateScrollBars();
    }
}

void TEditEngine::ScrollLines(int Delta)
{
    const int Count = static_cast<int>(Lines().size());
    const int Top = std::clamp(FTopLine + Delta, 0, std::max(0, Count - 1));
    if (Top == FTopLine)
        return;
    FTopLine = Top;
    UpdateCaret();
    Repaint();
    UpdateScrollBars();
}

// Vertically lines (range the line count, page the whole lines shown, position the top line),
// horizontally pixels (range the widest line, page the formatting width, position the offset).
// As in the classic edit the bars stay shown, disabled while there is nothing to scroll.
void TEditEngine::UpdateScrollBars()
{
    const DWORD Bars = Style() & (WS_VSCROLL | WS_HSCROLL);
    if (Bars == 0 || !IsWindow(FWnd))
        return;
    const auto& L = Lines();
    if (Bars & WS_VSCROLL) {
        TScrollInfo Info;
        Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        Info.nMax = std::max(0, static_cast<int>(L.size()) - 1);
        Info.nPage = static_cast<UINT>(VisibleLines());
        Info.nPos = FTopLine;
        SetScrollInfo(FWnd, SB_VERT, Info, true);
    }
    if (Bars & WS_HSCROLL) {
        int Widest = 0;
        for (const EditText::TLine& Line : L)
            Widest = std::max(Widest, XInLine(Line, Line.End));
        TScrollInfo Info;
        Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        Info.nMax = std::max(0, Widest + FAveCharWidth - 1); // room for the caret after the end
        Info.nPage = static_cast<UINT>(std::max(1, FormatRect().Width()));
        Info.nPos = FScrollX;
        SetScrollInfo(FWnd, SB_HORZ, Info, true);
    }
}

void TEditEngine::WMVScroll(TMessage& Message)
{
    if (!MultiLine())
        return;
    switch (LoWord(Message.WParam)) {
    case SB_LINEUP:
        ScrollLines(-1);
        break;
    case SB_LINEDOWN:
        ScrollLines(1);
        break;
    case SB_PAGEUP:
        ScrollLines(-VisibleLines());
        break;
    case SB_PAGEDOWN:
        ScrollLines(VisibleLines());
        break;
    case SB_TOP:
        ScrollLines(-FTopLine);
        break;
    case SB_BOTTOM:
        ScrollLines(static_cast<int>(Lines().size()));
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        ScrollLines(static_cast<int>(HiWord(Message.WParam)) - FTopLine);
        break;
    default:
        break;
    }
}

void TEditEngine::WMHScroll(TMessage& Message)
{
    int X = FScrollX;
    const int Page = std::max(1, FormatRect().Width());
    switch (LoWord(Message.WParam)) {
    case SB_LINELEFT:
        X -= FAveCharWidth;
        break;
    case SB_LINERIGHT:
        X += FAveCharWidth;
        break;
    case SB_PAGELEFT:
        X -= Page;
        break;
    case SB_PAGERIGHT:
        X += Page;
        break;
    case SB_LEFT:
        X = 0;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        X = static_cast<int>(HiWord(Message.WParam));
        break;
    default:
        break;
    }
    X = std::max(0, X);
    if (X == FScrollX)
        return;
    FScrollX = X;
    UpdateCaret();
    Repaint();
    UpdateScrollBars();
}

// ---- caret and painting

void TEditEngine::UpdateCaret()
{
    if (!FFocused)
        return;
    const TPoint P = PosToClient(FCaret);
    SetCaretPos(P.X, P.Y);
}

void TEditEngine::Repaint()
{
    InvalidateRect(FWnd, nullptr, false);
}

void TEditEngine::WMEraseBkgnd(TMessage& Message)
{
    Message.Result = 1; // painting fills the whole client area
}

void TEditEngine::WMPaint(TMessage& Message)
{
    if (Message.WParam != 0) {
        Paint(reinterpret_cast<HDC>(Message.WParam));
        return;
    }
    TPaintStruct PaintStruct;
    const HDC DC = BeginPaint(FWnd, PaintStruct);
    if (DC == nullptr)
        return;
    Paint(DC);
    EndPaint(FWnd, PaintStruct);
}

void TEditEngine::Paint(TCanvas* Canvas)
{
    const bool Enabled = IsWindowEnabled(FWnd);
    const bool Static = ReadOnly() || !Enabled;
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Static ? clBtnFace : clWindow);
    Canvas->SetFont(FFont.get());
    Canvas->Font()->SetColor(clWindowText);
    Canvas->SetTextColor(clWindowText);
    const HWND Parent = GetParent(FWnd);
    if (Parent != 0)
        SendMessage(Parent, Static ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                    reinterpret_cast<WPARAM>(Canvas), static_cast<LPARAM>(FWnd));
    if (!Enabled)
        Canvas->SetTextColor(clGrayText);
    const TColor Back = Canvas->Brush()->Color();
    const TColor Fore = Canvas->TextColor();
    TRect Client;
    GetClientRect(FWnd, Client);
    Canvas->FillRect(Client);

    const auto& L = Lines();
    const TRect R = FormatRect();
    const bool ShowSel = SelMin() != SelMax() && Enabled && (FFocused || (Style() & ES_NOHIDESEL));
    // Characters cut by the formatting rectangle's edges show only inside it.
    const int Saved = Canvas->SaveDC();
    Canvas->IntersectClipRect(R.Left, R.Top, R.Right, R.Bottom);
    // The characters go over what is filled: the selection's colour or the background.
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->SetBkMode(TRANSPARENT);
    const int Last = std::min(static_cast<int>(L.size()), FTopLine + VisibleLines() + 1);
    for (int Index = FTopLine; Index < Last; ++Index) {
        const EditText::TLine& Line = L[Index];
        const int Y = R.Top + (Index - FTopLine) * FLineHeight;
        const int Origin = R.Left - FScrollX + AlignOffset(Line);
        int X = 0;
        for (std::size_t I = Line.Start; I < Line.End;) {
            const std::size_t Len = EditText::CharLength(FText, I);
            const int W = CharWidth(FText, I, Len, X);
            const int Left = Origin + X;
            X += W;
            const std::size_t At = I;
            I += Len;
            if (Left + W <= R.Left)
                continue;
            if (Left >= R.Right)
                break;
            const bool Selected = ShowSel && At >= SelMin() && At < SelMax();
            if (Selected) {
                Canvas->Brush()->SetStyle(bsSolid);
                Canvas->Brush()->SetColor(clHighlight);
                Canvas->FillRect(
                    TRect{std::max(Left, R.Left), Y, std::min(Left + W, R.Right), Y + FLineHeight});
                Canvas->Brush()->SetStyle(bsClear);
            }
            if (FText[At] == '\t' && FPasswordChar == 0)
                continue;
            Canvas->SetTextColor(Selected ? clHighlightText : Fore);
            Canvas->TextOut(Left, Y, DisplayChar(FText, At, Len));
        }
    }
    Canvas->RestoreDC(Saved);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Back);
    Canvas->SetTextColor(Fore);
}
