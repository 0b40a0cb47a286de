// tests/platform/stdctrls/stdctrlstest.h: a form for the standard controls' tests, shown and
// pumped, and clicks in it.
#pragma once

#include "tests/platform/forms/formstest.h"

#include "platform/gfx/fontengine.h"
#include "platform/ui/backbuffer.h"
#include "platform/ui/paint.h"

// Fonts measure the same everywhere while a test runs.
class TDeterministicFonts {
public:
    TDeterministicFonts() : FOld(DeterministicFontMetrics()) { SetDeterministicFontMetrics(true); }
    ~TDeterministicFonts() { SetDeterministicFontMetrics(FOld); }
    TDeterministicFonts(const TDeterministicFonts&) = delete;
    TDeterministicFonts& operator=(const TDeterministicFonts&) = delete;

private:
    bool FOld;
};

inline TForm* ShownForm(TApplication* App, int Width = 300, int Height = 200)
{
    TForm* Form = new TForm(App);
    Form->SetBounds(0, 0, Width, Height);
    Form->SetColor(clBtnFace);
    Form->Show();
    Pump();
    return Form;
}

// A left click at a point of Control's client area (given in the form's window).
inline void ClickAt(TControl* Control, int X, int Y)
{
    TCustomForm* Form = Control->ParentForm();
    const TPoint P = Form->ScreenToClient(Control->ClientToScreen(TPoint{X, Y}));
    InjectMouseMove(Form->Handle(), P.X, P.Y);
    InjectMouseButton(Form->Handle(), 0, true, P.X, P.Y);
    InjectMouseButton(Form->Handle(), 0, false, P.X, P.Y);
    Pump();
}

inline void ClickCentre(TControl* Control)
{
    ClickAt(Control, Control->Width() / 2, Control->Height() / 2);
}

inline void AltKey(int Key)
{
    InjectKeyDown(VK_MENU);
    InjectKeyPress(Key);
    InjectKeyUp(VK_MENU);
    Pump();
}
