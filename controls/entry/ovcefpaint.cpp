// controls/entry/ovcefpaint.cpp: how an entry field looks: the display text, painting through an
// off-screen bitmap with the selection, error, disabled and control-character colours, the
// caret and horizontal scrolling, the borders and the automatic height.
#include "controls/entry/ovcef.h"

#include "controls/entry/ovcintl.h"
#include "controls/entry/ovcmisc.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/device.h"
#include "platform/ui/sysmetrics.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

bool IsNumberType(Byte T)
{
    return T >= fidLongInt && T <= fidComp;
}

bool IsControlChar(char C)
{
    return static_cast<Byte>(C) >= 1 && static_cast<Byte>(C) < ' ';
}

int CharHeight(TCanvas* Canvas)
{
    TTextMetric Metrics;
    Canvas->GetTextMetrics(Metrics);
    return Metrics.tmHeight;
}

// The value of a number text (trimmed, '.' or the decimal character as the point).
bool TextValue(std::string S, char DecimalChar, double& Value)
{
    const std::size_t First = S.find_first_not_of(' ');
    if (First == std::string::npos)
        return false;
    S = S.substr(First, S.find_last_not_of(' ') - First + 1);
    for (char& C : S)
        if (C == DecimalChar)
            C = '.';
    const char* Begin = S.data() + (S[0] == '+' ? 1 : 0);
    const auto R = std::from_chars(Begin, S.data() + S.size(), Value);
    return R.ec == std::errc() && R.ptr == S.data() + S.size();
}

} // namespace

std::string TOvcBaseEntryField::GetDisplayText(int Size)
{
    const std::size_t Max = static_cast<std::size_t>(std::clamp(Size, 0, 255));
    std::string Text = FEditText.substr(0, Max);
    for (char& C : Text)
        if (IsControlChar(C))
            C = static_cast<char>(C + 64);
    if (IsNumberType(DataType()) && !FState.Contains(esFocused) &&
        (FZeroDisplay == zdHide ||
         (FZeroDisplay == zdHideUntilModified && !FState.Contains(esEverModified)))) {
        double Value = 0;
        if (TextValue(FEditText, FIntlSup->DecimalChar(), Value) && Value == FZeroDisplayValue)
            Text.assign(Text.size(), ' ');
    }
    return Text;
}

int TOvcBaseEntryField::TextLeftEdge() const
{
    const TOvcBorder* B = FBorders->LeftBorder();
    return FTextMargin + (B->Enabled() ? B->PenWidth() : 0) - 1;
}

int TOvcBaseEntryField::TextRightEdge() const
{
    const TOvcBorder* B = FBorders->RightBorder();
    return ClientWidth() - FTextMargin - (B->Enabled() ? B->PenWidth() : 0) - 1;
}

void TOvcBaseEntryField::Paint()
{
    const int W = ClientWidth();
    const int H = ClientHeight();
    if (W <= 0 || H <= 0)
        return;
    TBitmap Bitmap;
    Bitmap.SetSize(W, H);
    TCanvas* C = Bitmap.Canvas();
    C->SetMapMode(Canvas()->MapMode());
    C->Font()->Assign(Font());

    const bool Disabled = !Enabled();
    const bool Error = FState.Contains(esErrorState);
    const bool Focused = FState.Contains(esFocused) && !Designing();
    TColor Fore = Font()->Color();
    TColor Back = Color();
    if (Error) {
        Fore = FEFColors->Error()->TextColor();
        Back = FEFColors->Error()->BackColor();
    }
    if (Disabled) {
        Fore = FEFColors->Disabled()->TextColor();
        Back = FEFColors->Disabled()->BackColor();
    }
    // The bitmap knows no system colours: each is resolved first.
    Fore = ColorToRGB(Fore);
    Back = ColorToRGB(Back);
    const TColor HiFore = ColorToRGB(FEFColors->Highlight()->TextColor());
    const TColor HiBack = ColorToRGB(FEFColors->Highlight()->BackColor());
    const TColor CtrlFore = ColorToRGB(FCtrlColor);
    C->Brush()->SetColor(Back);
    C->FillRect(TRect{0, 0, W, H});

    std::string Text = Designing() ? GetDesignText() : GetDisplayText(255);
    const bool Numeric = FState.Contains(esNumericClass);
    const int Offset = Numeric ? 0 : std::min(FHOffset, static_cast<int>(Text.size()));
    Text.erase(0, static_cast<std::size_t>(Offset));
    const std::string Raw =
        FEditText.size() > static_cast<std::size_t>(Offset) ? FEditText.substr(Offset) : "";
    int SelStart = 0;
    int SelEnd = 0;
    if (Focused && !Disabled) {
        SelStart = std::clamp(FSelStart - Offset, 0, static_cast<int>(Text.size()));
        SelEnd = std::clamp(ClippedSelEnd() - Offset, 0, static_cast<int>(Text.size()));
    }

    int X = TextLeftEdge();
    const int Y = FTextTop;
    C->SetBkMode(TRANSPARENT);
    if (Numeric) {
        std::string Shown = Text;
        const std::size_t Last = Shown.find_last_not_of(' ');
        Shown.erase(Last == std::string::npos ? 0 : Last + 1);
        const std::size_t First = Shown.find_first_not_of(' ');
        Shown.erase(0, First == std::string::npos ? Shown.size() : First);
        X = TextRightEdge() - C->TextWidth(Shown);
        if (SelEnd > SelStart) {
            C->Brush()->SetColor(HiBack);
            C->FillRect(TRect{X, Y, X + C->TextWidth(Shown), Y + C->TextHeight("W")});
            C->SetTextColor(HiFore);
        } else
            C->SetTextColor(Fore);
        C->TextOut(X, Y, Shown);
    } else {
        if (FOptions.Contains(efoRightAlign) && C->TextWidth(Text) < TextRightEdge() - X) {
            FRightAlignedNow = true;
            X = TextRightEdge() - C->TextWidth(Text);
        } else
            FRightAlignedNow = false;
        // Runs of printable characters and of control characters, split at the selection.
        std::size_t I = 0;
        while (I < Text.size()) {
            const bool Ctrl = I < Raw.size() && IsControlChar(Raw[I]);
            const bool Selected = static_cast<int>(I) >= SelStart && static_cast<int>(I) < SelEnd;
            std::size_t J = I + 1;
            while (J < Text.size() && (J < Raw.size() && IsControlChar(Raw[J])) == Ctrl &&
                   (static_cast<int>(J) >= SelStart && static_cast<int>(J) < SelEnd) == Selected)
                ++J;
            const std::string Run = Text.substr(I, J - I);
            if (Selected) {
                C->Brush()->SetColor(HiBack);
                C->FillRect(TRect{X, Y, X + C->TextWidth(Run), Y + C->TextHeight(Run)});
                C->SetTextColor(Ctrl ? CtrlFore : HiFore);
            } else
                C->SetTextColor(Ctrl && !Disabled ? CtrlFore : Fore);
            C->TextOut(X, Y, Run);
            X += C->TextWidth(Run);
            I = J;
        }
    }
    Canvas()->Draw(0, 0, &Bitmap);

    DrawBorders(Canvas(), *FBorders, W, H);
}

void TOvcBaseEntryField::PlaceCaret(bool Scroll)
{
    if (!FState.Contains(esFocused) || !HandleAllocated())
        return;
    TCanvas* C = Canvas();
    C->Font()->Assign(Font());
    const bool Numeric = FState.Contains(esNumericClass);
    const std::string Text = GetDisplayText(255);
    const int Length = static_cast<int>(Text.size());
    FCaretPos = std::clamp(FCaretPos, 0, Length);
    const int First = static_cast<int>(FirstEditPosition());
    if (Scroll) {
        if ((FCaretPos == First || FCaretPos == First + 1) && FHOffset != 0)
            FHOffset = 0;
        else if (FCaretPos < FHOffset)
            FHOffset = FCaretPos;
    }
    const int Room = ClientWidth() - FTextMargin - 1;
    if (FOptions.Contains(efoRightAlign) && C->TextWidth(Text) < Room) {
        FRightAlignedNow = true;
        FHOffset = 0;
    } else
        FRightAlignedNow = false;
    if (Scroll && !Numeric) {
        const auto Span = [&] {
            return FRightAlignedNow
                       ? C->TextWidth(Text.substr(static_cast<std::size_t>(FCaretPos)))
                       : C->TextWidth(Text.substr(static_cast<std::size_t>(FHOffset),
                                                  static_cast<std::size_t>(FCaretPos - FHOffset)));
        };
        while (FHOffset < FCaretPos && Span() >= Room)
            ++FHOffset;
    }
    const int Height = CharHeight(C);
    const std::string Under =
        FCaretPos < Length ? Text.substr(static_cast<std::size_t>(FCaretPos), 1) : " ";
    const int CellWidth = std::max(1, C->TextWidth(Under));
    FCaretPair->SetCellHeight(Height);
    FCaretPair->SetCellWidth(CellWidth);
    int X = 0;
    if (Numeric)
        X = TextRightEdge();
    else if (FRightAlignedNow)
        X = ClientWidth() - C->TextWidth(Text.substr(static_cast<std::size_t>(FHOffset))) -
            FTextMargin - 2 +
            C->TextWidth(Text.substr(static_cast<std::size_t>(FHOffset),
                                     static_cast<std::size_t>(FCaretPos - FHOffset)));
    else
        X = FTextMargin +
            C->TextWidth(Text.substr(static_cast<std::size_t>(FHOffset),
                                     static_cast<std::size_t>(FCaretPos - FHOffset))) -
            2;
    const TOvcCaretShape Shape = FCaretPair->Caret()->Shape();
    if (Shape == csBlock || Shape == csHalfBlock || Shape == csHorzLine ||
        FCaretPair->Caret()->CaretWidth() > 4)
        X += FRightAlignedNow ? -1 : 1;
    FCaretPair->SetPosition(X, std::max(FTextTop, 0));
    Invalidate();
}

void TOvcBaseEntryField::AdjustHeight()
{
    if (!FAutoSize || !HandleAllocated())
        return;
    TCanvas Measure;
    Measure.Font()->Assign(Font());
    // Controls here always have the new-style borders.
    const int NewHeight = CharHeight(&Measure) + GetSystemMetrics(SM_CYBORDER) * (Ctl3D() ? 8 : 6);
    if (NewHeight != Height()) {
        const bool WasAuto = FAutoSize;
        TOvcCustomControlEx::SetBounds(Left(), Top(), Width(), NewHeight);
        FAutoSize = WasAuto;
    }
    ComputeTextTop();
}

void TOvcBaseEntryField::ComputeTextTop()
{
    const bool HasBorder = FBorderStyle == bsSingle;
    FTextTop = EntryTextTop(Font(), HasBorder, Height(), Ctl3D());
    if (FBorders->TopBorder()->Enabled())
        FTextTop += FBorders->TopBorder()->PenWidth();
}

void TOvcBaseEntryField::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (AHeight != Height() && !Loading())
        FAutoSize = false;
    TOvcCustomControlEx::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (!HandleAllocated())
        return;
    ComputeTextTop();
    if (FState.Contains(esFocused))
        PlaceCaret(false);
    Invalidate();
}
