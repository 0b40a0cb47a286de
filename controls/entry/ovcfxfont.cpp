#include "controls/entry/ovcfxfont.h"

#include "controls/entry/ovcexcpt.h"
#include "platform/gfx/fontengine.h"

#include <algorithm>

const std::vector<std::string>& FixedFontNames()
{
    static const std::vector<std::string> Names = [] {
        std::vector<std::string> Fixed;
        for (const TFontFamilyPitch& Family : ScreenFontFamilies())
            if (Family.Pitch == FIXED_PITCH)
                Fixed.push_back(Family.Name);
        return Fixed;
    }();
    return Names;
}

bool IsFixedFontName(const std::string& Name)
{
    const std::vector<std::string>& Names = FixedFontNames();
    return std::find(Names.begin(), Names.end(), Name) != Names.end();
}

TOvcFixedFont::TOvcFixedFont() : FFont(std::make_unique<TFont>())
{
    // A screen without fixed-pitch families leaves the font's default name: there is no
    // better one to take, and SetName then accepts none.
    if (!FixedFontNames().empty())
        FFont->SetName(FixedFontNames().front());
}

TOvcFixedFont::~TOvcFixedFont() = default;

void TOvcFixedFont::Assign(const TPersistent* Source)
{
    if (const auto* Other = dynamic_cast<const TOvcFixedFont*>(Source)) {
        FFont->Assign(Other->FFont.get());
        Changed();
        return;
    }
    if (const auto* Plain = dynamic_cast<const TFont*>(Source)) {
        const std::string OldName = FFont->Name();
        FFont->Assign(Plain);
        const bool Fixed = IsFixedFontName(FFont->Name());
        if (!Fixed)
            FFont->SetName(OldName);
        Changed();
        if (!Fixed)
            throw EInvalidFixedFont();
        return;
    }
    TPersistent::Assign(Source);
}

void TOvcFixedFont::SetColor(TColor Value)
{
    if (Value == FFont->Color())
        return;
    FFont->SetColor(Value);
    Changed();
}

void TOvcFixedFont::SetName(const std::string& Value)
{
    if (Value == FFont->Name() || !IsFixedFontName(Value))
        return;
    FFont->SetName(Value);
    Changed();
}

void TOvcFixedFont::SetSize(int Value)
{
    if (Value == FFont->Size())
        return;
    FFont->SetSize(Value);
    Changed();
}

void TOvcFixedFont::SetStyle(TFontStyles Value)
{
    if (Value == FFont->Style())
        return;
    FFont->SetStyle(Value);
    Changed();
}

void TOvcFixedFont::Changed()
{
    if (OnChange)
        OnChange();
}
