#include "platform/stdctrls/comboeditpart.h"

#include "platform/rtl/strings.h"
#include "platform/ui/input.h"

#include <algorithm>

namespace {

int ExpectedLength(unsigned char Lead)
{
    if (Lead < 0xC2 || Lead > 0xF4)
        return 1;
    return Lead < 0xE0 ? 2 : Lead < 0xF0 ? 3 : 4;
}

bool IsSpace(char C)
{
    return C == ' ' || C == '\t';
}

} // namespace

void TComboEditPart::SetText(const std::string& Value)
{
    FText = Value;
    FCaret = FAnchor = static_cast<int>(FText.size());
    FPending.clear();
}

// One character: a well-formed UTF-8 sequence, else a single byte (kept as it is).
int TComboEditPart::NextChar(int Pos) const
{
    if (Pos >= static_cast<int>(FText.size()))
        return static_cast<int>(FText.size());
    std::size_t I = static_cast<std::size_t>(Pos);
    char32_t Code = 0;
    if (DecodeUtf8At(FText, I, Code))
        return static_cast<int>(I);
    return Pos + 1;
}

int TComboEditPart::PrevChar(int Pos) const
{
    if (Pos <= 0)
        return 0;
    for (int Back = 4; Back >= 2; --Back) {
        if (Pos - Back < 0)
            continue;
        std::size_t I = static_cast<std::size_t>(Pos - Back);
        char32_t Code = 0;
        if (DecodeUtf8At(FText, I, Code) && static_cast<int>(I) == Pos)
            return Pos - Back;
    }
    return Pos - 1;
}

int TComboEditPart::WordLeft(int Pos) const
{
    while (Pos > 0 && IsSpace(FText[static_cast<std::size_t>(Pos - 1)]))
        Pos = PrevChar(Pos);
    while (Pos > 0 && !IsSpace(FText[static_cast<std::size_t>(Pos - 1)]))
        Pos = PrevChar(Pos);
    return Pos;
}

int TComboEditPart::WordRight(int Pos) const
{
    const int End = static_cast<int>(FText.size());
    while (Pos < End && !IsSpace(FText[static_cast<std::size_t>(Pos)]))
        Pos = NextChar(Pos);
    while (Pos < End && IsSpace(FText[static_cast<std::size_t>(Pos)]))
        Pos = NextChar(Pos);
    return Pos;
}

void TComboEditPart::SetSel(int Start, int End)
{
    const int Size = static_cast<int>(FText.size());
    auto Snap = [this, Size](int Pos) {
        Pos = std::clamp(Pos, 0, Size);
        while (Pos > 0 && Pos < Size && NextChar(PrevChar(Pos)) != Pos)
            --Pos;
        return Pos;
    };
    if (Start < 0) {
        FAnchor = FCaret;
        return;
    }
    FAnchor = Snap(Start);
    FCaret = Snap(End < 0 ? Size : End);
}

void TComboEditPart::MoveCaret(int Pos, bool Extend)
{
    FCaret = Pos;
    if (!Extend)
        FAnchor = Pos;
}

bool TComboEditPart::ReplaceSel(const std::string& Value)
{
    std::string Insert = Value;
    if (MaxLength > 0) {
        const int Room = MaxLength - (static_cast<int>(FText.size()) - SelLength());
        if (Room < static_cast<int>(Insert.size())) {
            // Cut at a character boundary that fits.
            std::size_t Keep = 0;
            while (Keep < Insert.size()) {
                std::size_t I = Keep;
                char32_t Code = 0;
                if (!DecodeUtf8At(Insert, I, Code))
                    I = Keep + 1;
                if (static_cast<int>(I) > Room)
                    break;
                Keep = I;
            }
            Insert.resize(Keep);
        }
    }
    if (Insert.empty() && SelLength() == 0)
        return false;
    const int Start = SelStart();
    FText.replace(static_cast<std::size_t>(Start), static_cast<std::size_t>(SelLength()), Insert);
    FCaret = FAnchor = Start + static_cast<int>(Insert.size());
    return true;
}

bool TComboEditPart::KeyDown(WPARAM Key, bool Shift, bool Ctrl)
{
    switch (Key) {
    case VK_LEFT:
        if (!Shift && SelLength() > 0)
            MoveCaret(SelStart(), false);
        else
            MoveCaret(Ctrl ? WordLeft(FCaret) : PrevChar(FCaret), Shift);
        return false;
    case VK_RIGHT:
        if (!Shift && SelLength() > 0)
            MoveCaret(SelStart() + SelLength(), false);
        else
            MoveCaret(Ctrl ? WordRight(FCaret) : NextChar(FCaret), Shift);
        return false;
    case VK_HOME:
        MoveCaret(0, Shift);
        return false;
    case VK_END:
        MoveCaret(static_cast<int>(FText.size()), Shift);
        return false;
    case VK_DELETE:
        if (SelLength() == 0)
            FAnchor = Ctrl ? WordRight(FCaret) : NextChar(FCaret);
        return ReplaceSel("");
    default:
        return false;
    }
}

bool TComboEditPart::Char(unsigned char Value)
{
    if (Value == 8) { // Backspace
        FPending.clear();
        if (SelLength() == 0)
            FAnchor = PrevChar(FCaret);
        return ReplaceSel("");
    }
    if (Value < 0x20 || Value == 0x7F)
        return false;
    if (FPending.empty() && Value >= 0x80 && Value < 0xC0) {
        FPending.assign(1, static_cast<char>(Value)); // a stray byte: kept as it is
    } else {
        if (!FPending.empty() && (Value < 0x80 || Value >= 0xC0))
            FPending.clear(); // the character before never completed
        FPending += static_cast<char>(Value);
        if (static_cast<int>(FPending.size()) <
            ExpectedLength(static_cast<unsigned char>(FPending[0])))
            return false;
    }
    std::string Typed;
    Typed.swap(FPending);
    if (CharCase == ecUpperCase)
        Typed = AnsiUpperCase(Typed);
    else if (CharCase == ecLowerCase)
        Typed = AnsiLowerCase(Typed);
    return ReplaceSel(Typed);
}
