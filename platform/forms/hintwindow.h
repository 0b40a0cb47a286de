// platform/forms/hintwindow.h: THintWindow, the small pop-up that shows a hint: a top-level
// window without a caption, topmost, owned by the application's window, that never takes the
// focus or the activation; and HintWindowClass, the kind of hint window the application makes.
#pragma once

#include "platform/forms/controls.h"
#include "platform/ui/application.h"

#include <string>

class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);

    // Shows AHint in Rect (screen coordinates, as CalcHintRect measured and the caller placed
    // it), kept on the work area.
    virtual void ActivateHint(TRect Rect, const std::string& AHint);
    // The same with the data the caller handed to CalcHintRect; the plain window ignores it.
    virtual void ActivateHintData(TRect Rect, const std::string& AHint, void* AData);
    // The rectangle, at (0, 0), that AHint needs wrapped at MaxWidth, with its margins.
    virtual TRect CalcHintRect(int MaxWidth, const std::string& AHint, void* AData);
    // Whether Msg, taken from the queue, ends the hint: keys, clicks, the wheel, commands and
    // the application's activation changing.
    virtual bool IsHintMsg(TMsg& Msg);
    // Lets go of the window; the next ActivateHint makes a new one.
    void ReleaseHandle();

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void WMNCHitTest(TMessage& Message);
    void WMMouseActivate(TMessage& Message);
    TW_MESSAGE_MAP();
};

// Makes a T (THintWindow or a descendant): the value a unit puts in HintWindowClass or in a
// THintInfo to have hints shown by its own class.
template <class T>
THintWindow* CreateHintWindow(TComponent* AOwner)
{
    return new T(AOwner);
}

// The hint window class the application uses unless CM_HINTSHOW or OnShowHint picks another.
extern THintWindowClass HintWindowClass;
