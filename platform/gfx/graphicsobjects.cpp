#include "platform/gfx/graphicsobjects.h"

#include "platform/rtl/convert.h"

#include <cstdlib>

void TGraphicsObject::Changed()
{
    if (OnChange)
        OnChange(this);
}

namespace {

constexpr int Rop2OfMode[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                              R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                              R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                              R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};

// Stores Value and notifies when it differs.
template <class T>
bool Store(T& Field, const T& Value)
{
    if (Field == Value)
        return false;
    Field = Value;
    return true;
}

} // namespace

int PenModeToRop2(TPenMode Mode)
{
    return Rop2OfMode[Mode];
}

TPenMode Rop2ToPenMode(int Rop2)
{
    for (int Mode = pmBlack; Mode <= pmNotXor; ++Mode)
        if (Rop2OfMode[Mode] == Rop2)
            return static_cast<TPenMode>(Mode);
    return pmCopy;
}

TPen::TPen() = default;

void TPen::Assign(const TPersistent* Source)
{
    if (auto* Pen = dynamic_cast<const TPen*>(Source)) {
        FColor = Pen->FColor;
        FWidth = Pen->FWidth;
        FStyle = Pen->FStyle;
        FMode = Pen->FMode;
        FAlternate = Pen->FAlternate;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TPen::SetColor(TColor Value)
{
    if (Store(FColor, Value))
        Changed();
}

void TPen::SetWidth(int Value)
{
    if (Value >= 0 && Store(FWidth, Value))
        Changed();
}

void TPen::SetStyle(TPenStyle Value)
{
    if (Store(FStyle, Value))
        Changed();
}

void TPen::SetMode(TPenMode Value)
{
    if (Store(FMode, Value))
        Changed();
}

void TPen::SetAlternate(bool Value)
{
    if (Store(FAlternate, Value))
        Changed();
}

TBrush::TBrush() = default;

void TBrush::Assign(const TPersistent* Source)
{
    if (auto* Brush = dynamic_cast<const TBrush*>(Source)) {
        FColor = Brush->FColor;
        FStyle = Brush->FStyle;
        FPattern = Brush->FPattern;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TBrush::SetColor(TColor Value)
{
    bool Differs = Store(FColor, Value);
    // A colour asks for a colour fill: a clear brush becomes solid, as the units expect.
    if (FStyle == bsClear) {
        FStyle = bsSolid;
        Differs = true;
    }
    if (Differs)
        Changed();
}

void TBrush::SetStyle(TBrushStyle Value)
{
    if (Store(FStyle, Value))
        Changed();
}

void TBrush::SetPattern(std::shared_ptr<const TBrushPattern> Value)
{
    if (FPattern != Value) {
        FPattern = std::move(Value);
        Changed();
    }
}

std::array<std::uint8_t, 8> HatchPattern(TBrushStyle Style)
{
    std::array<std::uint8_t, 8> Rows{};
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X) {
            const bool Horizontal = Y == 0;
            const bool Vertical = X == 0;
            const bool Forward = X == Y;      // "\" from top-left to bottom-right
            const bool Backward = X + Y == 7; // "/"
            bool On = false;
            switch (Style) {
            case bsHorizontal:
                On = Horizontal;
                break;
            case bsVertical:
                On = Vertical;
                break;
            case bsFDiagonal:
                On = Forward;
                break;
            case bsBDiagonal:
                On = Backward;
                break;
            case bsCross:
                On = Horizontal || Vertical;
                break;
            case bsDiagCross:
                On = Forward || Backward;
                break;
            default:
                break;
            }
            if (On)
                Rows[static_cast<std::size_t>(Y)] |= static_cast<std::uint8_t>(0x80 >> X);
        }
    return Rows;
}

TFont::TFont() = default;

void TFont::Assign(const TPersistent* Source)
{
    if (auto* Font = dynamic_cast<const TFont*>(Source)) {
        FName = Font->FName;
        // The copy keeps the size in points: at another resolution it gets another height.
        FHeight = Font->FHeight;
        if (Font->FPixelsPerInch != FPixelsPerInch)
            FHeight = -MulDiv(Font->Size(), FPixelsPerInch, 72);
        FStyle = Font->FStyle;
        FColor = Font->FColor;
        FCharset = Font->FCharset;
        FPitch = Font->FPitch;
        FEscapement = Font->FEscapement;
        FOrientation = Font->FOrientation;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TFont::SetName(const std::string& Value)
{
    if (!Value.empty() && Store(FName, Value))
        Changed();
}

void TFont::SetHeight(int Value)
{
    if (Store(FHeight, Value))
        Changed();
}

int TFont::Size() const
{
    return -MulDiv(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(int Value)
{
    SetHeight(-MulDiv(Value, FPixelsPerInch, 72));
}

void TFont::SetPixelsPerInch(int Value)
{
    if (Value <= 0 || Value == FPixelsPerInch)
        return;
    const int Points = Size();
    FPixelsPerInch = Value;
    FHeight = -MulDiv(Points, Value, 72);
    Changed();
}

void TFont::SetStyle(TFontStyles Value)
{
    if (Store(FStyle, Value))
        Changed();
}

void TFont::SetColor(TColor Value)
{
    if (Store(FColor, Value))
        Changed();
}

void TFont::SetCharset(TFontCharset Value)
{
    if (Store(FCharset, Value))
        Changed();
}

void TFont::SetPitch(TFontPitch Value)
{
    if (Store(FPitch, Value))
        Changed();
}

void TFont::SetEscapement(int Value)
{
    if (Store(FEscapement, Value))
        Changed();
}

void TFont::SetOrientation(int Value)
{
    if (Store(FOrientation, Value))
        Changed();
}
