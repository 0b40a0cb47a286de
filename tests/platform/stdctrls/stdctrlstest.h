// tests/platform/stdctrls/stdctrlstest.h: a form for the standard controls' tests, shown and
// pumped, and clicks in it.
#pragma once

#include "tests/platform/forms/formstest.h"

#include "platform/gfx/fontengine.h"
#include "platform/ui/backbuffer.h"
#include "platform/ui/paint.h"
#include "platform/ui/virtualtime.h"

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

// Lets Ms milliseconds of virtual time pass in steps of 10, handling what comes due.
inline void Spend(TVirtualTime& Time, int Ms)
{
    for (int T = 0; T < Ms; T += 10) {
        Time.Advance(10);
        Pump();
    }
}

// A point of Control's client area in its form's.
inline TPoint InFormOf(TControl* Control, int X, int Y)
{
    return Control->ParentForm()->ScreenToClient(Control->ClientToScreen(TPoint{X, Y}));
}

// The mouse moved to a point of Control's client area (given in the form's window).
inline void MouseMoveAt(TControl* Control, int X, int Y)
{
    const TPoint P = InFormOf(Control, X, Y);
    InjectMouseMove(Control->ParentForm()->Handle(), P.X, P.Y);
    Pump();
}

// The left button going down or up at a point of Control's client area; the mouse moves there
// first unless Move is false.
inline void MouseButtonAt(TControl* Control, int X, int Y, bool Down, bool Move = true)
{
    const TPoint P = InFormOf(Control, X, Y);
    const HWND Form = Control->ParentForm()->Handle();
    if (Move)
        InjectMouseMove(Form, P.X, P.Y);
    InjectMouseButton(Form, 0, Down, P.X, P.Y);
    Pump();
}

// A left click at a point of Control's client area (given in the form's window).
inline void ClickAt(TControl* Control, int X, int Y)
{
    TCustomForm* Form = Control->ParentForm();
    const TPoint P = InFormOf(Control, X, Y);
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
