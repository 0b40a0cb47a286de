// platform/ui/screen.h: TScreen, the program's view of the display: size, work area, pixels per
// inch, the global cursor, the cursor table and the installed fonts. The active form and control
// are filled in by the form layer.
#pragma once

#include "platform/gfx/icon.h"
#include "platform/rtl/component.h"
#include "platform/rtl/geometry.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/cursors.h"

#include <map>
#include <memory>
#include <vector>

class TCustomForm;
class TWinControl;

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner);
    ~TScreen() override;

    // crDefault lets each window show its own cursor; any other value shows everywhere.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    // The picture set for a cursor number; nil for one without (the stock cursors are drawn by
    // number). The screen owns what is set: a new picture frees the old one, nil removes it.
    HCURSOR Cursors(int Index) const;
    void SetCursors(int Index, HCURSOR Value);

    // The font families installed, sorted without regard to case, each once; read when first
    // asked for.
    TStrings* Fonts();

    int Width() const;
    int Height() const;
    TRect WorkAreaRect() const;
    int WorkAreaLeft() const { return WorkAreaRect().Left; }
    int WorkAreaTop() const { return WorkAreaRect().Top; }
    int WorkAreaWidth() const { return WorkAreaRect().Width(); }
    int WorkAreaHeight() const { return WorkAreaRect().Height(); }
    int PixelsPerInch() const;

    // Kept by the form layer (platform/forms/form.h): the forms, front first, the active form
    // and its focused control.
    int FormCount() const { return static_cast<int>(FForms.size()); }
    TCustomForm* Forms(int Index) const;
    void AddForm(TCustomForm* Form);
    void RemoveForm(TCustomForm* Form);
    void MoveFormToFront(TCustomForm* Form);
    TCustomForm* ActiveForm() const { return FActiveForm; }
    void SetActiveForm(TCustomForm* Value) { FActiveForm = Value; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* Value) { FActiveControl = Value; }

private:
    TCursor FCursor = crDefault;
    std::map<int, HCURSOR> FCursors;
    std::unique_ptr<TStringList> FFonts;
    std::vector<TCustomForm*> FForms;
    TCustomForm* FActiveForm = nullptr;
    TWinControl* FActiveControl = nullptr;
};

// Created with the application object (platform/ui/application.h).
extern TScreen* Screen;
