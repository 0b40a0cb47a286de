// desktop/pgtray95tip.cpp: the tray icon's tip in the hint window.
#include "desktop/pgtray95tip.h"

#include "platform/ui/application.h"
#include "platform/ui/shellnotify.h"
#include "platform/ui/ttimer.h"
#include "platform/ui/window.h"

TPGTrayTip::TPGTrayTip(TComponent* AOwner) : TComponent(AOwner)
{
    FTimer = new TTimer(this);
    FTimer->SetEnabled(false);
    FTimer->OnTimer = [this](TObject* S) { Show(S); };
    FWindow = HintWindowClass != nullptr ? HintWindowClass(this) : new THintWindow(this);
    NotifyTipHooks().Enter = [this](const std::string& Tip, const TPoint& At) { Enter(Tip, At); };
    NotifyTipHooks().Leave = [this] { Leave(); };
}

TPGTrayTip::~TPGTrayTip()
{
    NotifyTipHooks() = TNotifyTipHooks();
}

void TPGTrayTip::Enter(const std::string& Tip, const TPoint& At)
{
    FTip = Tip;
    FAt = At;
    FTimer->SetEnabled(false);
    if (Tip.empty())
        return;
    const int Pause = Application != nullptr ? Application->HintPause() : 500;
    FTimer->SetInterval(static_cast<Cardinal>(Pause > 0 ? Pause : 1));
    FTimer->SetEnabled(true);
}

void TPGTrayTip::Leave()
{
    FTimer->SetEnabled(false);
    if (FWindow->HandleAllocated())
        ShowWindow(FWindow->Handle(), SW_HIDE);
}

void TPGTrayTip::Show(TObject*)
{
    FTimer->SetEnabled(false);
    TRect R = FWindow->CalcHintRect(300, FTip, nullptr);
    // Below and right of the pointer, as a control's hint; the hint window keeps to the work
    // area, so at a tray on the bottom edge it comes above.
    OffsetRect(R, FAt.X, FAt.Y + 20);
    FWindow->ActivateHint(R, FTip);
}

bool TPGTrayTip::Showing() const
{
    return FWindow->HandleAllocated() && IsWindowVisible(FWindow->Handle());
}
