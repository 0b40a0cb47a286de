// tests/platform/forms/formstest.h: controls for the form tests: a push button that answers
// Enter (default), Escape (cancel) and its accelerator, a box and a shape that paint, and a
// form built in code with the application.
#pragma once

#include "platform/forms/form.h"
#include "platform/ui/input.h"
#include "platform/ui/queue.h"
#include "platform/ui/screen.h"

#include <functional>
#include <string>
#include <vector>

// The application object of a test, installed as the global Application.
class TTestApplication : public TApplication {
public:
    TTestApplication() : TApplication(nullptr) { Application = this; }
};

// Handles every message waiting (the loop's turn without blocking).
inline void Pump()
{
    if (Application != nullptr)
        Application->ProcessMessages();
}

// A minimal push button: clicks on Enter when it is the default, on Escape when it is the
// cancel button, and on its "&" letter.
class TTestButton : public TCustomControl {
public:
    explicit TTestButton(TComponent* AOwner) : TCustomControl(AOwner)
    {
        SetTabStop(true);
        SetBounds(0, 0, 75, 25);
    }
    bool Default = false;
    bool Cancel = false;
    TModalResult ModalResult = mrNone;
    int Clicks = 0;

protected:
    void Click() override
    {
        ++Clicks;
        if (ModalResult != mrNone)
            if (TCustomForm* Form = GetParentForm(this))
                Form->SetModalResult(ModalResult);
        TCustomControl::Click();
    }
    void CMDialogKey(TMessage& Message)
    {
        if (((Message.WParam == VK_RETURN && (Default || Focused())) ||
             (Message.WParam == VK_ESCAPE && Cancel)) &&
            CanFocus()) {
            Click();
            Message.Result = 1;
        }
    }
    void CMDialogChar(TMessage& Message)
    {
        if (IsAccel(static_cast<unsigned>(Message.WParam), Caption()) && CanFocus()) {
            Click();
            Message.Result = 1;
        }
    }
    TW_MESSAGE_MAP();
};

inline const TMessageMap& TTestButton::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TTestButton::CMDialogKey>(CM_DIALOGKEY),
        OnMessage<&TTestButton::CMDialogChar>(CM_DIALOGCHAR),
    });
    static constexpr TMessageMap Map{Handlers, &TCustomControl::ClassMessageMap};
    return Map;
}

// Fills its client area with its colour and writes its caption.
class TTestBox : public TCustomControl {
public:
    explicit TTestBox(TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(0, 0, 50, 20); }
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
        Canvas()->TextOut(2, 2, Caption());
    }
};

// A control without a window: a framed rectangle on its parent.
class TTestShape : public TGraphicControl {
public:
    explicit TTestShape(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 40, 30); }
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        Canvas()->Rectangle(0, 0, Width(), Height());
    }
};

// A control on a parent, placed.
template <class T>
T* Place(TWinControl* Parent, int L, int Tp, int W, int H)
{
    T* Control = new T(Parent);
    Control->SetParent(Parent);
    Control->SetBounds(L, Tp, W, H);
    return Control;
}

// Puts Hook in front of Control's message chain: a message Hook answers true for stops there.
inline void Intercept(TControl* Control, std::function<bool(TMessage&)> Hook)
{
    TWndMethod Old = Control->WindowProc;
    Control->WindowProc = [Old, Hook](TMessage& Message) {
        if (!Hook(Message))
            Old(Message);
    };
}
