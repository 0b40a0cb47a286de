// controls/entry/ovccolor.h: TOvcColors, a text and background colour pair with defaults, and
// TOvcEfColors, the entry field's colours when disabled, in error and highlighted.
#pragma once

#include "platform/gfx/color.h"
#include "platform/rtl/object.h"

#include <functional>
#include <memory>

class TOvcColors : public TPersistent {
public:
    TOvcColors(TColor FGDefault, TColor BGDefault);

    void Assign(const TPersistent* Source) override;

    TColor BackColor() const { return FBackColor; }
    // A colour other than its default clears UseDefault.
    void SetBackColor(TColor Value);
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor Value);
    bool UseDefault() const { return FUseDefault; }
    // True brings both defaults back; False only clears the flag.
    void SetUseDefault(bool Value);

    // Set by the owning control.
    std::function<void()> OnColorChange;

private:
    void Changed();

    TColor FBackColor;
    TColor FTextColor;
    bool FUseDefault = true;
    TColor FBackDefault;
    TColor FTextDefault;
};

class TOvcEfColors : public TPersistent {
public:
    TOvcEfColors();
    ~TOvcEfColors() override;

    void Assign(const TPersistent* Source) override;

    TOvcColors* Disabled() const { return FDisabled.get(); }
    TOvcColors* Error() const { return FError.get(); }
    TOvcColors* Highlight() const { return FHighlight.get(); }

private:
    std::unique_ptr<TOvcColors> FDisabled;
    std::unique_ptr<TOvcColors> FError;
    std::unique_ptr<TOvcColors> FHighlight;
};
