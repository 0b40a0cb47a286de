// platform/ui/oledragdrop.cpp: DoDragDrop, the modal drag between registered windows. It holds
// the mouse in a hidden window of its own, turns the mouse and key messages into steps, and keeps
// every exception of a source or target inside until the drag is over. Over another program's
// drop window the display driver carries the drag on, and the loop waits for its answers.
#include "platform/ui/ole.h"

#include "platform/ui/displaydriver.h"
#include "platform/ui/oleforeign.h"

#include "platform/ui/application.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"
#include "platform/ui/timers.h"
#include "platform/ui/wait.h"
#include "platform/ui/window.h"

#include <cstdint>
#include <exception>
#include <memory>

namespace {

DWORD KeyStateNow()
{
    DWORD State = 0;
    if (GetKeyState(VK_LBUTTON) < 0)
        State |= MK_LBUTTON;
    if (GetKeyState(VK_RBUTTON) < 0)
        State |= MK_RBUTTON;
    if (GetKeyState(VK_MBUTTON) < 0)
        State |= MK_MBUTTON;
    if (GetKeyState(VK_SHIFT) < 0)
        State |= MK_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0)
        State |= MK_CONTROL;
    if (GetKeyState(VK_MENU) < 0)
        State |= MK_ALT;
    return State;
}

// The target's answer narrowed to what the source allows; where it leaves a choice, Ctrl copies,
// Shift moves, Ctrl+Shift links, and no key takes move, then copy, then link.
DWORD ChooseEffect(DWORD Offered, DWORD KeyState, DWORD OkEffects)
{
    Offered &= OkEffects & (DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
    if ((Offered & (Offered - 1)) == 0)
        return Offered;
    const bool Ctrl = (KeyState & MK_CONTROL) != 0;
    const bool Shift = (KeyState & MK_SHIFT) != 0;
    if (Ctrl && Shift && (Offered & DROPEFFECT_LINK))
        return DROPEFFECT_LINK;
    if (Ctrl && !Shift && (Offered & DROPEFFECT_COPY))
        return DROPEFFECT_COPY;
    if (Shift && !Ctrl && (Offered & DROPEFFECT_MOVE))
        return DROPEFFECT_MOVE;
    for (DWORD Effect : {DWORD(DROPEFFECT_MOVE), DWORD(DROPEFFECT_COPY), DWORD(DROPEFFECT_LINK)})
        if (Offered & Effect)
            return Effect;
    return DROPEFFECT_NONE;
}

int DefaultCursor(DWORD Effect)
{
    if (Effect & DROPEFFECT_COPY)
        return crMultiDrag;
    if (Effect & (DROPEFFECT_MOVE | DROPEFFECT_LINK))
        return crDrag;
    return crNoDrop;
}

bool IsMouse(UINT Msg)
{
    return Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST && Msg != WM_MOUSEWHEEL;
}

class TDragLoop {
public:
    TDragLoop(IDataObject* DataObj, IDropSource* Source, DWORD OkEffects)
        : FData(DataObj), FSource(Source), FOkEffects(OkEffects)
    {
    }

    HRESULT Run(DWORD* Effect);

private:
    // One step: ask the source, then tell the target. False when the drag is over.
    bool Step();
    void Over();
    void Leave();
    void Finish(HRESULT Result, DWORD Effect)
    {
        FResult = Result;
        FEffect = Effect;
        FDone = true;
    }
    void TakeMessage(const TMsg& Msg);
    // Follows the other program's answers; a silent one ends the drag.
    void Foreign();

    // The id of the timer that notices another program's silence.
    static constexpr std::uintptr_t SilenceTimer = 1;

    TComPtr<IDataObject> FData;
    TComPtr<IDropSource> FSource;
    DWORD FOkEffects;
    HWND FCaptureWnd = 0;
    TComPtr<IDropTarget> FTarget;
    HWND FTargetWnd = 0;
    TPoint FPoint;
    DWORD FKeyState = 0;
    bool FEscape = false;
    DWORD FCurrent = DROPEFFECT_NONE; // the effect the last DragEnter or DragOver gave
    bool FDone = false;
    HRESULT FResult = DRAGDROP_S_CANCEL;
    DWORD FEffect = DROPEFFECT_NONE;
    // Other programs: whether the data goes to them at all, whether the pointer is over one of
    // theirs, whether the drop went there, and whether its answer is overdue.
    bool FOffersForeign = false;
    bool FOverForeign = false;
    bool FDroppedForeign = false;
    bool FTiming = false;
    bool FSilent = false;
};

HRESULT TDragLoop::Run(DWORD* Effect)
{
    // The window that holds the mouse keeps the pointer the drag shows.
    FCaptureWnd = AllocateHWnd([this](TMessage& Message) {
        if (Message.Msg == WM_TIMER && Message.WParam == SilenceTimer)
            FSilent = true;
        Message.Result = Message.Msg == WM_SETCURSOR ? 1 : 0;
    });
    SetCapture(FCaptureWnd);
    FPoint = GetCursorPos();
    FKeyState = KeyStateNow();
    std::exception_ptr Failure;
    try {
        TClipboardSnapshot Snapshot;
        std::vector<std::string> Targets = ForeignDragTargets(FData.Get(), Snapshot);
        if (!Targets.empty()) {
            auto Shared = std::make_shared<TClipboardSnapshot>(std::move(Snapshot));
            DisplayDriver().BeginForeignDrag(
                Targets, [Shared](const std::string& Target, std::string& Data) {
                    return RenderTarget(*Shared, Target, Data);
                });
            FOffersForeign = true;
        }
        Step();
        while (!FDone) {
            TMsg Msg;
            if (!PeekMessage(Msg, 0, 0, 0, PM_REMOVE)) {
                WaitMessage();
            } else if (Msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(Msg.wParam));
                Leave();
                Finish(DRAGDROP_S_CANCEL, DROPEFFECT_NONE);
            } else {
                TakeMessage(Msg);
            }
            if (!FDone && FOffersForeign)
                Foreign();
            // Someone else took the mouse: the drag cannot go on.
            if (!FDone && GetCapture() != FCaptureWnd) {
                Leave();
                Finish(DRAGDROP_S_CANCEL, DROPEFFECT_NONE);
            }
        }
    } catch (...) {
        Failure = std::current_exception();
        try {
            Leave();
        } catch (...) {
            // The first failure is the one reported.
        }
        Finish(E_UNEXPECTED, DROPEFFECT_NONE);
    }
    // Another program still under the pointer hears that the drag left it.
    if (FOffersForeign)
        DisplayDriver().EndForeignDrag();
    if (FTiming)
        KillTimer(FCaptureWnd, SilenceTimer);
    if (GetCapture() == FCaptureWnd)
        ReleaseCapture();
    DeallocateHWnd(FCaptureWnd);
    SetCursor(crDefault);
    RefreshPointerShape();
    if (Effect != nullptr)
        *Effect = FEffect;
    if (Failure) {
        if (Application == nullptr)
            std::rethrow_exception(Failure);
        try {
            std::rethrow_exception(Failure);
        } catch (...) {
            Application->HandleException(nullptr);
        }
    }
    return FResult;
}

void TDragLoop::TakeMessage(const TMsg& Msg)
{
    const bool Input =
        IsMouse(Msg.message) || (Msg.message >= WM_KEYFIRST && Msg.message <= WM_KEYLAST);
    // Dropped on another program: only its answer counts now.
    if (FDroppedForeign && Input)
        return;
    if (IsMouse(Msg.message)) {
        FPoint = Msg.pt;
        FKeyState = static_cast<DWORD>(Msg.wParam) &
                    (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_SHIFT | MK_CONTROL);
        if (GetKeyState(VK_MENU) < 0)
            FKeyState |= MK_ALT;
        Step();
        return;
    }
    if (Msg.message >= WM_KEYFIRST && Msg.message <= WM_KEYLAST) {
        if ((Msg.message == WM_KEYDOWN || Msg.message == WM_SYSKEYDOWN) && Msg.wParam == VK_ESCAPE)
            FEscape = true;
        const DWORD Buttons = FKeyState & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON);
        FKeyState = (KeyStateNow() & ~DWORD(MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) | Buttons;
        if (Msg.message != WM_CHAR && Msg.message != WM_SYSCHAR)
            Step();
        return;
    }
    DispatchMessage(Msg);
}

bool TDragLoop::Step()
{
    const HRESULT Answer = FSource->QueryContinueDrag(FEscape ? 1 : 0, FKeyState);
    if (Answer == DRAGDROP_S_DROP && FOverForeign) {
        // The other program's answer ends the drag (Foreign); one not yet heard may accept.
        if (FCurrent != DROPEFFECT_NONE || DisplayDriver().ForeignDragState().Waiting) {
            DisplayDriver().ForeignDrop();
            FDroppedForeign = true;
        } else {
            Finish(DRAGDROP_S_CANCEL, DROPEFFECT_NONE);
        }
        return false;
    }
    if (Answer == DRAGDROP_S_DROP) {
        if (FTarget && FCurrent != DROPEFFECT_NONE) {
            // The target stays until Drop returns, so that a failing Drop still hears DragLeave.
            DWORD Effect = FOkEffects;
            TComPtr<IDropTarget> Target = FTarget;
            const HRESULT Dropped = Target->Drop(FData.Get(), FKeyState, FPoint, &Effect);
            FTarget = TComPtr<IDropTarget>();
            FTargetWnd = 0;
            if (FAILED(Dropped))
                Finish(Dropped, DROPEFFECT_NONE);
            else
                Finish(DRAGDROP_S_DROP, ChooseEffect(Effect, FKeyState, FOkEffects));
        } else {
            Leave();
            Finish(DRAGDROP_S_CANCEL, DROPEFFECT_NONE);
        }
        return false;
    }
    if (Answer != S_OK) {
        Leave();
        Finish(Answer == DRAGDROP_S_CANCEL || SUCCEEDED(Answer) ? DRAGDROP_S_CANCEL : Answer,
               DROPEFFECT_NONE);
        return false;
    }
    Over();
    const HRESULT Feedback = FSource->GiveFeedback(FCurrent);
    if (Feedback == DRAGDROP_S_USEDEFAULTCURSORS)
        SetCursor(DefaultCursor(FCurrent));
    return true;
}

void TDragLoop::Over()
{
    if (FOffersForeign) {
        const DWORD Wanted = ChooseEffect(FOkEffects, FKeyState, FOkEffects);
        FOverForeign = DisplayDriver().ForeignDragOver(FPoint, Wanted);
        if (FOverForeign) {
            Leave();
            const TForeignDragState State = DisplayDriver().ForeignDragState();
            FCurrent = ChooseEffect(State.Effect, FKeyState, FOkEffects);
            return;
        }
    }
    HWND Wnd = 0;
    IDropTarget* Under = RegisteredDropTarget(WindowFromPoint(FPoint), &Wnd);
    if (Wnd != FTargetWnd) {
        Leave();
        if (Under == nullptr)
            return;
        FTarget = TComPtr<IDropTarget>(Under);
        FTargetWnd = Wnd;
        DWORD Effect = FOkEffects;
        if (FAILED(FTarget->DragEnter(FData.Get(), FKeyState, FPoint, &Effect)))
            Effect = DROPEFFECT_NONE;
        FCurrent = ChooseEffect(Effect, FKeyState, FOkEffects);
        return;
    }
    if (!FTarget)
        return;
    DWORD Effect = FOkEffects;
    if (FAILED(FTarget->DragOver(FKeyState, FPoint, &Effect)))
        Effect = DROPEFFECT_NONE;
    FCurrent = ChooseEffect(Effect, FKeyState, FOkEffects);
}

void TDragLoop::Foreign()
{
    const TForeignDragState State = DisplayDriver().ForeignDragState();
    if (FDroppedForeign && State.Finished) {
        const DWORD Done = State.Effect & FOkEffects;
        Finish(DRAGDROP_S_DROP, ChooseEffect(Done, FKeyState, FOkEffects));
        return;
    }
    if (FSilent) {
        Finish(DRAGDROP_S_CANCEL, DROPEFFECT_NONE);
        return;
    }
    const bool Waiting = (FOverForeign || FDroppedForeign) && State.Waiting;
    if (Waiting != FTiming) {
        if (Waiting)
            SetTimer(FCaptureWnd, SilenceTimer, ForeignDragTimeoutMs);
        else
            KillTimer(FCaptureWnd, SilenceTimer);
        FTiming = Waiting;
    }
    if (!FOverForeign || FDroppedForeign)
        return;
    const DWORD Effect = ChooseEffect(State.Effect, FKeyState, FOkEffects);
    if (Effect != FCurrent) {
        FCurrent = Effect;
        if (FSource->GiveFeedback(FCurrent) == DRAGDROP_S_USEDEFAULTCURSORS)
            SetCursor(DefaultCursor(FCurrent));
    }
}

void TDragLoop::Leave()
{
    FCurrent = DROPEFFECT_NONE;
    if (!FTarget)
        return;
    TComPtr<IDropTarget> Target = FTarget;
    FTarget = TComPtr<IDropTarget>();
    FTargetWnd = 0;
    Target->DragLeave();
}

} // namespace

HRESULT DoDragDrop(IDataObject* DataObj, IDropSource* Source, DWORD OkEffects, DWORD* Effect)
{
    if (Effect != nullptr)
        *Effect = DROPEFFECT_NONE;
    if (DataObj == nullptr || Source == nullptr)
        return E_INVALIDARG;
    TDragLoop Loop(DataObj, Source, OkEffects);
    return Loop.Run(Effect);
}
