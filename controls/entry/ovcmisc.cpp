#include "controls/entry/ovcmisc.h"

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/rtl/clock.h"
#include "platform/rtl/component.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/resources.h"
#include "platform/ui/input.h"
#include "platform/ui/sysmetrics.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsIdentifier(const std::string& Text)
{
    if (Text.empty())
        return false;
    const auto Head = static_cast<unsigned char>(Text[0]);
    if (!std::isalpha(Head) && Head != '_')
        return false;
    return std::all_of(Text.begin(), Text.end(), [](char C) {
        const auto U = static_cast<unsigned char>(C);
        return std::isalnum(U) || U == '_';
    });
}

bool KeyDown(int Key)
{
    return GetKeyState(Key) < 0;
}

std::string Trimmed(const std::string& Text)
{
    const auto First = Text.find_first_not_of(' ');
    if (First == std::string::npos)
        return std::string();
    return Text.substr(First, Text.find_last_not_of(' ') - First + 1);
}

} // namespace

std::unique_ptr<TBitmap> LoadLibraryBitmap(const std::string& Name)
{
    auto Bitmap = std::make_unique<TBitmap>();
    try {
        Bitmap->LoadFromResourceName(Name);
    } catch (const EResNotFound&) {
        return nullptr;
    }
    return Bitmap;
}

HCURSOR LoadLibraryCursor(const std::string& Name)
{
    return LoadCursor(Name);
}

int PrimaryButtonKey()
{
    return GetSystemMetrics(SM_SWAPBUTTON) != 0 ? VK_RBUTTON : VK_LBUTTON;
}

Byte CurrentShiftFlags()
{
    Byte Flags = 0;
    if (KeyDown(VK_SHIFT))
        Flags += 2;
    if (KeyDown(VK_CONTROL))
        Flags += 4;
    if (KeyDown(VK_MENU))
        Flags += 8;
    return Flags;
}

int DefaultEpoch()
{
    Word Year = 0;
    Word Month = 0;
    Word Day = 0;
    DecodeDate(Now(), Year, Month, Day);
    return Year - Year % 100;
}

std::string UniqueComponentName(TComponent* Form, const std::string& Base)
{
    if (!IsIdentifier(Base))
        throw EComponentError("'" + Base + "' is not a valid component name");
    for (int I = 1;; ++I) {
        std::string Name = Base + std::to_string(I);
        if (Form == nullptr || Form->FindComponent(Name) == nullptr)
            return Name;
    }
}

int EntryTextTopFor(int SystemHeight, int FontHeight, bool HasBorder, int Height, bool Ctl3D)
{
    const int T = std::min(SystemHeight, FontHeight);
    const bool Odd = (Height - T) % 2 != 0;
    if (!HasBorder) {
        if (T < Height - 2)
            return 0;
        return (Height - T - 2) / 2 - (Odd ? 1 : 0);
    }
    if (T < Height - 4)
        return 1;
    if (Ctl3D)
        return (Height - T - 4) / 2 - 1;
    return (Height - T - 4) / 2 - (Odd ? 1 : 0);
}

int EntryTextTop(TFont* Font, bool HasBorder, int Height, bool Ctl3D)
{
    TCanvas Measure;
    TTextMetric Metrics;
    Measure.GetTextMetrics(Metrics);
    const int SystemHeight = Metrics.tmHeight;
    if (Font != nullptr)
        Measure.Font()->Assign(Font);
    Measure.GetTextMetrics(Metrics);
    return EntryTextTopFor(SystemHeight, Metrics.tmHeight, HasBorder, Height, Ctl3D);
}

std::string FixNumberText(const std::string& Text, char DecimalChar)
{
    std::string S = Trimmed(Text);
    if (S.empty())
        return "0";
    if (S.back() == DecimalChar) {
        S.pop_back();
        S = Trimmed(S);
        if (S.empty())
            return "0";
    }
    // The decimal character counts wherever it stands, the first position included.
    std::string::size_type Point = S.find(DecimalChar);
    if (Point != std::string::npos)
        S[Point] = '.';
    else
        Point = S.find('.');
    if (Point != std::string::npos) {
        if (Point == S.size() - 1)
            S += '0';
        if (Point == 0) {
            S.insert(0, "0");
            ++Point;
        } else if (S[Point - 1] == '-') {
            S.insert(Point, "0");
            ++Point;
        }
    }
    const std::string::size_type E = S.find('E');
    if (E != std::string::npos && E > 0) {
        std::string::size_type At = E;
        std::string::size_type Dot = Point;
        if (Dot == std::string::npos) {
            S.insert(At, ".");
            Dot = At;
            ++At;
        }
        if (At - Dot < 12)
            S.insert(At, "00000");
    }
    if (Point != std::string::npos) {
        while (Point + 1 < S.size() && S[Point + 1] == ' ')
            S.erase(Point + 1, 1);
        while (Point > 0 && S[Point - 1] == ' ') {
            S.erase(Point - 1, 1);
            --Point;
        }
    }
    return S;
}

Word OffsetDiff(const char* P, const char* Q)
{
    return static_cast<Word>(P - Q);
}

const char* AdvanceOffset(const char* P, Word N)
{
    return P + N;
}

const char* RetreatOffset(const char* P, Word N)
{
    return P - N;
}
