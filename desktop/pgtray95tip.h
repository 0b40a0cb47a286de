// desktop/pgtray95tip.h: shows a docked tray icon's tip in the hint window once the pointer has
// rested on the icon for the application's hint pause, and hides it when the pointer leaves.
#pragma once

#include "platform/forms/hintwindow.h"
#include "platform/rtl/component.h"
#include "platform/rtl/geometry.h"

#include <string>

class TTimer;

class TPGTrayTip : public TComponent {
public:
    // Takes over the notification area's tip hooks while it lives.
    explicit TPGTrayTip(TComponent* AOwner);
    ~TPGTrayTip() override;

    void Enter(const std::string& Tip, const TPoint& At);
    void Leave();
    // Whether the tip is up, and its text (tests).
    bool Showing() const;
    const std::string& Text() const { return FTip; }
    THintWindow* Window() const { return FWindow; }

private:
    void Show(TObject* Sender);

    TTimer* FTimer = nullptr;
    THintWindow* FWindow = nullptr;
    std::string FTip;
    TPoint FAt;
};
