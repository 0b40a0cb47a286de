// tests/platform/forms/menutest.h: what the menu tests share: a shown form with the focus, a
// script that acts while a menu is open (one step per timer tick, after the menu has painted),
// and menus built from a compact description.
#pragma once

#include "platform/forms/menus.h"
#include "platform/ui/timers.h"
#include "platform/ui/virtualtime.h"
#include "platform/ui/window.h"
#include "tests/platform/forms/formstest.h"

#include <functional>
#include <string>
#include <vector>

// Runs its steps one per tick of a timer on a hidden window: a step runs once the messages
// before it, the menu's painting included, have been handled.
class TMenuScript {
public:
    explicit TMenuScript(std::vector<std::function<void()>> Steps) : FSteps(std::move(Steps))
    {
        FWnd = AllocateHWnd([this](TMessage& Message) {
            if (Message.Msg != WM_TIMER) {
                Message.Result = DefWindowProc(FWnd, Message.Msg, Message.WParam, Message.LParam);
                return;
            }
            if (FNext < FSteps.size())
                FSteps[FNext++]();
            if (FNext >= FSteps.size())
                KillTimer(FWnd, 1);
        });
        SetTimer(FWnd, 1, 10);
    }
    ~TMenuScript() { DeallocateHWnd(FWnd); }
    TMenuScript(const TMenuScript&) = delete;
    TMenuScript& operator=(const TMenuScript&) = delete;
    bool Finished() const { return FNext >= FSteps.size(); }

private:
    HWND FWnd = 0;
    std::vector<std::function<void()>> FSteps;
    std::size_t FNext = 0;
};

// This process's open menu windows, front first. EnumWindows lists other processes' windows
// too, and test processes running at the same time open menus of their own.
inline std::vector<HWND> MenuWindows()
{
    std::vector<HWND> Result;
    EnumWindows([&](HWND Wnd) {
        if (!IsForeignWindow(Wnd) && GetClassName(Wnd) == "#32768" && IsWindowVisible(Wnd))
            Result.push_back(Wnd);
        return true;
    });
    return Result;
}

// An item with Caption under Parent, owned by Owner.
inline TMenuItem* AddItem(TComponent* Owner, TMenuItem* Parent, const std::string& Caption,
                          std::vector<std::string>* Clicks = nullptr)
{
    auto* Item = new TMenuItem(Owner);
    Item->SetCaption(Caption);
    if (Clicks != nullptr)
        Item->OnClick = [Clicks, Caption](TObject*) { Clicks->push_back(Caption); };
    Parent->Add(Item);
    return Item;
}

// A test application with a shown form that has the focus.
struct TMenuFixture {
    TTestApplication App;
    TForm* Form = nullptr;
    TMenuFixture()
    {
        Form = new TForm(&App);
        Form->SetBounds(100, 100, 300, 200);
        Form->Show();
        Pump();
    }
};

// A form with a menu bar: File (New, Save), Edit (Copy, Paste) and Help; Clicks records the
// items clicked.
struct TBarForm {
    TMenuFixture F;
    TMainMenu* Menu;
    std::vector<std::string> Clicks;
    TBarForm() : Menu(new TMainMenu(F.Form))
    {
        TMenuItem* File = AddItem(F.Form, Menu->Items(), "&File");
        AddItem(F.Form, File, "&New", &Clicks);
        AddItem(F.Form, File, "&Save", &Clicks);
        TMenuItem* Edit = AddItem(F.Form, Menu->Items(), "&Edit");
        AddItem(F.Form, Edit, "&Copy", &Clicks);
        AddItem(F.Form, Edit, "&Paste", &Clicks);
        AddItem(F.Form, Menu->Items(), "&Help", &Clicks);
        F.Form->SetMenu(Menu);
    }
};
