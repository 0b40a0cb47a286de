// desktop/pgtray95msgwindow.cpp: TPGTrayIconMsgWindow: the mouse over the tray icon (enter,
// move, exit by polling, clicks told from double clicks), the deferred call and the end of the
// session.
#include "desktop/pgtray95.h"

#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/window.h"

#include <cstdlib>

namespace {

constexpr int ExitPollInterval = 70;
// How far the pointer may stray from its last position over the icon and still be there.
constexpr int ExitSlack = 2;

} // namespace

TPGTrayIconMsgWindow::TPGTrayIconMsgWindow(TComponent* AOwner, TPGTrayIcon95* ATrayIcon)
    : TComponent(AOwner), FTrayIcon(ATrayIcon)
{
    FHandle = AllocateHWnd([this](TMessage& Message) { WndProc(Message); });
    FClickWait = FTrayIcon->FTimerManager->AddItem(false, TrayClickWait,
                                                   [this](TObject* S) { FireClick(S); });
    FExitPoll = FTrayIcon->FTimerManager->AddItem(false, ExitPollInterval,
                                                  [this](TObject* S) { ExitPoll(S); });
}

TPGTrayIconMsgWindow::~TPGTrayIconMsgWindow()
{
    DeallocateHWnd(FHandle);
}

const TMessageMap& TPGTrayIconMsgWindow::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TPGTrayIconMsgWindow::WMTrayIcon>(WM_TRAYICON),
        OnMessage<&TPGTrayIconMsgWindow::WMPostCall>(WM_TRAYPOSTCALL),
        OnMessage<&TPGTrayIconMsgWindow::WMQueryEndSession>(WM_QUERYENDSESSION),
        OnMessage<&TPGTrayIconMsgWindow::WMEndSession>(WM_ENDSESSION),
    });
    static constexpr TMessageMap Map{Handlers, nullptr};
    return Map;
}

// The mouse messages a tray callback carries; button releases are not listed, so they do
// nothing.
const TMessageMap& TPGTrayIconMsgWindow::MouseMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TPGTrayIconMsgWindow::MouseMove>(WM_MOUSEMOVE),
        OnMessage<&TPGTrayIconMsgWindow::ButtonDown>(WM_LBUTTONDOWN),
        OnMessage<&TPGTrayIconMsgWindow::ButtonDown>(WM_RBUTTONDOWN),
        OnMessage<&TPGTrayIconMsgWindow::ButtonDown>(WM_MBUTTONDOWN),
        OnMessage<&TPGTrayIconMsgWindow::DoubleClick>(WM_LBUTTONDBLCLK),
        OnMessage<&TPGTrayIconMsgWindow::DoubleClick>(WM_RBUTTONDBLCLK),
        OnMessage<&TPGTrayIconMsgWindow::DoubleClick>(WM_MBUTTONDBLCLK),
    });
    static constexpr TMessageMap Map{Handlers, nullptr};
    return Map;
}

void TPGTrayIconMsgWindow::WndProc(TMessage& Message)
{
    Message.Result = 0;
    ClassMessageMap().Dispatch(this, Message);
}

void TPGTrayIconMsgWindow::WMTrayIcon(TMessage& Message)
{
    TMessage Mouse{};
    Mouse.Msg = static_cast<UINT>(Message.LParam);
    MouseMessageMap().Dispatch(this, Mouse);
}

void TPGTrayIconMsgWindow::WMPostCall(TMessage&)
{
    FTrayIcon->RunPostedCall();
}

void TPGTrayIconMsgWindow::WMQueryEndSession(TMessage& Message)
{
    Message.Result = 1;
}

void TPGTrayIconMsgWindow::WMEndSession(TMessage& Message)
{
    if (Message.WParam != 0)
        FTrayIcon->RemoveIcon();
}

void TPGTrayIconMsgWindow::MouseMove(TMessage&)
{
    FLastPos = GetCursorPos();
    TPGTrayIcon95& T = *FTrayIcon;
    if (T.OnMouseEnter || T.OnMouseExit) {
        if (!FInside) {
            FInside = true;
            FExitPoll->SetEnabled(true);
            if (T.OnMouseEnter)
                T.OnMouseEnter(&T, GetShiftState(), FLastPos.X, FLastPos.Y);
            return;
        }
    } else {
        FInside = true;
    }
    if (T.OnMouseMove && !FClickWait->Enabled() && FInside)
        T.OnMouseMove(&T, GetShiftState(), FLastPos.X, FLastPos.Y);
}

void TPGTrayIconMsgWindow::ButtonDown(TMessage& Message)
{
    FButton = Message.Msg == WM_LBUTTONDOWN ? 0 : Message.Msg == WM_RBUTTONDOWN ? 1 : 2;
    TPGTrayIcon95& T = *FTrayIcon;
    if (FButton == 1 && T.FAutoPopup && T.FPopupMenu != nullptr) {
        T.ShowPopup();
        return;
    }
    FDblClick = false;
    if (T.OnDblClick) {
        FClickWait->SetInterval(TrayClickWait);
        FClickWait->SetEnabled(true);
    } else {
        T.PostCall(&T, [this](TObject* S) { FireClick(S); });
    }
}

void TPGTrayIconMsgWindow::DoubleClick(TMessage&)
{
    FDblClick = true;
    FireClick(FTrayIcon);
}

void TPGTrayIconMsgWindow::FireClick(TObject*)
{
    FClickWait->SetEnabled(false);
    TPGTrayIcon95& T = *FTrayIcon;
    T.CallNotify(FDblClick ? T.OnDblClick : T.OnClick);
}

void TPGTrayIconMsgWindow::ExitPoll(TObject*)
{
    try {
        const TPoint Now = GetCursorPos();
        if (std::abs(Now.X - FLastPos.X) <= ExitSlack && std::abs(Now.Y - FLastPos.Y) <= ExitSlack)
            return;
        FInside = false;
        FExitPoll->SetEnabled(false);
        TPGTrayIcon95& T = *FTrayIcon;
        if (T.OnMouseExit)
            T.OnMouseExit(&T, GetShiftState(), FLastPos.X, FLastPos.Y);
    } catch (const Exception&) {
        // A failing handler does not stop the program.
    }
}
