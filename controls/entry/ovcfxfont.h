// controls/entry/ovcfxfont.h: TOvcFixedFont, the editor's display font, which only takes the
// names of the screen's fixed-pitch font families.
#pragma once

#include "platform/gfx/graphicsobjects.h"
#include "platform/rtl/object.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The screen's fixed-pitch family names in enumeration order, gathered once on first use.
const std::vector<std::string>& FixedFontNames();
// Name is one of FixedFontNames (exact comparison).
bool IsFixedFontName(const std::string& Name);

class TOvcFixedFont : public TPersistent {
public:
    // Takes the first fixed-pitch name; with none on the screen the font keeps its default.
    TOvcFixedFont();
    ~TOvcFixedFont() override;

    // From a TOvcFixedFont its font; from a TFont its font too, but a name that is not
    // fixed-pitch keeps the old one and raises EInvalidFixedFont after OnChange, since the
    // other attributes were taken. Anything else as TPersistent does.
    void Assign(const TPersistent* Source) override;

    // The wrapped font, for selecting into a canvas.
    TFont* Font() const { return FFont.get(); }

    TColor Color() const { return FFont->Color(); }
    void SetColor(TColor Value);
    const std::string& Name() const { return FFont->Name(); }
    // A name that is not fixed-pitch is ignored.
    void SetName(const std::string& Value);
    int Size() const { return FFont->Size(); }
    void SetSize(int Value);
    TFontStyles Style() const { return FFont->Style(); }
    void SetStyle(TFontStyles Value);

    // Set by the owner; called after every change.
    std::function<void()> OnChange;

private:
    void Changed();

    std::unique_ptr<TFont> FFont;
};
