// tests/platform/forms/hinttest.h: a form with hinted controls on virtual time, for the hint
// tests: moving the mouse, letting time pass, and finding the hint window that is up.
#pragma once

#include "tests/platform/forms/formstest.h"

#include "platform/forms/hints.h"
#include "platform/forms/hintwindow.h"
#include "platform/ui/virtualtime.h"

#include <gtest/gtest.h>

// The hint window on the screen, or null.
inline THintWindow* ShownHint()
{
    THintWindow* Found = nullptr;
    EnumWindows([&](HWND Wnd) {
        auto* Hint = dynamic_cast<THintWindow*>(FindControl(Wnd));
        if (Hint != nullptr && IsWindowVisible(Wnd)) {
            Found = Hint;
            return false;
        }
        return true;
    });
    return Found;
}

inline std::string ShownHintText()
{
    THintWindow* Hint = ShownHint();
    return Hint != nullptr ? Hint->Caption() : std::string();
}

// A form at (100, 100) showing hints, with two boxes: A at (10, 10) and B at (100, 10), each
// 60 x 30.
class Hints : public ::testing::Test {
protected:
    Hints()
    {
        Form = new TForm(&App);
        Form->SetBounds(100, 100, 300, 200);
        Form->SetShowHint(true);
        A = Place<TTestBox>(Form, 10, 10, 60, 30);
        A->SetHint("Alpha|The first box");
        B = Place<TTestBox>(Form, 100, 10, 60, 30);
        B->SetHint("Beta");
        Form->Show();
        Pump();
    }

    // Moves the mouse to a point of the form's client area.
    void MoveTo(int X, int Y)
    {
        InjectMouseMove(Form->Handle(), X, Y);
        Pump();
    }
    // Lets Ms milliseconds pass in steps of 10, handling what comes due.
    void Spend(int Ms)
    {
        for (int T = 0; T < Ms; T += 10) {
            Clock.Advance(10);
            Pump();
        }
    }

    TVirtualTime Clock;
    TTestApplication App;
    TForm* Form;
    TTestBox* A;
    TTestBox* B;
};
