// The drag of controls inside the program: a hidden window holds the mouse while a control is
// dragged, the control under the pointer in any of the program's windows hears CM_DRAG as the
// pointer enters, moves over and leaves it, the pointer shows whether it accepts, and the release
// drops (Escape or a lost capture cancels).
#include "platform/forms/drag.h"

#include "platform/forms/control.h"
#include "platform/forms/wincontrol.h"
#include "platform/ui/hooks.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/window.h"

#include <cstdlib>
#include <memory>

namespace {

struct TDrag {
    TControl* Control = nullptr;
    TDragObject* Object = nullptr;
    std::unique_ptr<TDragObject> OwnObject; // the object the drag made itself
    bool Started = false;                   // the pointer has passed the threshold
    TPoint StartPos;
    int Threshold = DefaultDragThreshold;
    HWND CaptureWnd = 0;
    HHOOK KeyHook = 0;
    TControl* Target = nullptr;
    bool Accepted = false;
    bool Ending = false;
};

std::unique_ptr<TDrag> Current;

TObject* SourceOf(TDragObject* Object)
{
    if (auto* ControlObject = dynamic_cast<TBaseDragControlObject*>(Object))
        return ControlObject->Control;
    return Object;
}

LRESULT DragMessage(TControl* Target, TDragMessage Code, const TPoint& Pos)
{
    TDragRec Rec;
    Rec.Pos = Pos;
    Rec.Source = Current->Object;
    Rec.Target = Target;
    return Target->Perform(CM_DRAG, static_cast<WPARAM>(Code), reinterpret_cast<LPARAM>(&Rec));
}

// The windowed control of the program's window under a screen point.
TWinControl* WindowControlAt(const TPoint& Pos)
{
    for (HWND Wnd = WindowFromPoint(Pos); Wnd != 0;
         Wnd = IsChild(GetParent(Wnd), Wnd) ? GetParent(Wnd) : 0)
        if (TWinControl* Control = FindControl(Wnd))
            return Control;
    return nullptr;
}

// Lets go of the mouse and the keys, and forgets the drag; the state goes to the caller.
std::unique_ptr<TDrag> Detach()
{
    std::unique_ptr<TDrag> Drag = std::move(Current);
    if (Drag->KeyHook != 0)
        UnhookWindowsHookEx(Drag->KeyHook);
    if (Drag->CaptureWnd != 0) {
        if (GetCapture() == Drag->CaptureWnd)
            ReleaseCapture();
        DeallocateHWnd(Drag->CaptureWnd);
    }
    if (Drag->Control != nullptr) {
        TControlState State = Drag->Control->ControlState();
        State.Exclude(csLButtonDown);
        State.Exclude(csClicked);
        Drag->Control->SetControlState(State);
    }
    SetCursor(crDefault);
    RefreshPointerShape();
    return Drag;
}

void DragTo(const TPoint& Pos)
{
    TDrag& Drag = *Current;
    Drag.Object->DragPos = Pos;
    TControl* Target = nullptr;
    if (TWinControl* Window = WindowControlAt(Pos)) {
        TDragRec Rec;
        Rec.Pos = Pos;
        Rec.Source = Drag.Object;
        Target = reinterpret_cast<TControl*>(
            Window->Perform(CM_DRAG, dmFindTarget, reinterpret_cast<LPARAM>(&Rec)));
    }
    // A handler may end the drag: Current is asked again after each message.
    if (Target != Drag.Target) {
        TControl* Old = Drag.Target;
        Drag.Target = nullptr;
        Drag.Accepted = false;
        if (Old != nullptr)
            DragMessage(Old, dmDragLeave, Pos);
        if (!Current)
            return;
        Current->Target = Target;
        const bool Accepted = Target != nullptr && DragMessage(Target, dmDragEnter, Pos) != 0;
        if (!Current)
            return;
        Current->Accepted = Accepted;
    } else if (Target != nullptr) {
        const bool Accepted = DragMessage(Target, dmDragMove, Pos) != 0;
        if (!Current)
            return;
        Current->Accepted = Accepted;
    }
    Drag.Object->DragTarget = Drag.Target;
    TPoint At;
    if (Drag.Target != nullptr)
        At = Drag.Target->ScreenToClient(Pos);
    Drag.Object->DragTargetPos = At;
    SetCursor(Drag.Object->GetDragCursor(Drag.Accepted, At.X, At.Y));
}

void DragDone(bool Drop)
{
    if (!Current || Current->Ending)
        return;
    TDrag& Drag = *Current;
    Drag.Ending = true;
    Drag.Object->Cancelling = !Drop;
    const TPoint Pos = Drag.Object->DragPos;
    TControl* Target = Drag.Target;
    const bool Accepted = Drop && Drag.Started && Drag.Accepted && Target != nullptr;
    TObject* EndTarget = nullptr;
    TPoint At;
    try {
        if (Target != nullptr) {
            DragMessage(Target, dmDragLeave, Pos);
            if (Current && Current->Target == Target) {
                if (Accepted) {
                    At = Target->ScreenToClient(Pos);
                    EndTarget = Target;
                    Drag.Object->Dropped = true;
                    DragMessage(Target, dmDragDrop, Pos);
                } else {
                    DragMessage(Target, dmDragCancel, Pos);
                }
            }
        }
    } catch (...) {
        if (Current)
            Detach();
        throw;
    }
    if (!Current)
        return;
    std::unique_ptr<TDrag> Ended = Detach();
    Ended->Object->Finished(EndTarget, At.X, At.Y, Accepted);
}

// The drag window's messages: the mouse moves and drops, a lost capture cancels. A failure in a
// handler ends the drag before it goes on to the loop.
void DragWndMethod(TMessage& Message)
{
    Message.Result = 0;
    if (!Current)
        return;
    try {
        switch (Message.Msg) {
        case WM_MOUSEMOVE: {
            TPoint Pos{GetXLParam(Message.LParam), GetYLParam(Message.LParam)};
            ClientToScreen(Current->CaptureWnd, Pos);
            if (!Current->Started) {
                if (std::abs(Pos.X - Current->StartPos.X) < Current->Threshold &&
                    std::abs(Pos.Y - Current->StartPos.Y) < Current->Threshold)
                    return;
                Current->Started = true;
            }
            DragTo(Pos);
            break;
        }
        case WM_LBUTTONUP:
            DragDone(true);
            break;
        case WM_CAPTURECHANGED:
            DragDone(false);
            break;
        case WM_SETCURSOR:
            Message.Result = 1; // the drag chooses the pointer
            break;
        default:
            break;
        }
    } catch (...) {
        if (Current)
            Detach();
        throw;
    }
}

} // namespace

TCursor TDragObject::GetDragCursor(bool Accepted, int, int)
{
    return Accepted ? crDrag : crNoDrop;
}

void TDragObject::Finished(TObject*, int, int, bool) {}

void TBaseDragControlObject::Finished(TObject* Target, int X, int Y, bool)
{
    if (Control != nullptr)
        Control->DoEndDrag(Target, X, Y);
}

TCursor TDragControlObject::GetDragCursor(bool Accepted, int, int)
{
    return Accepted && Control != nullptr ? Control->DragCursor() : crNoDrop;
}

TControl* DragControl()
{
    return Current ? Current->Control : nullptr;
}

void CancelDrag()
{
    if (Current)
        DragDone(false);
}

TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled)
{
    TWinControl* Window = WindowControlAt(Pos);
    if (Window == nullptr)
        return nullptr;
    TControl* At = Window->ControlAtPos(Window->ScreenToClient(Pos), AllowDisabled);
    return At != nullptr ? At : Window;
}

void DragControlGone(TControl* Control)
{
    if (!Current)
        return;
    if (Current->Target == Control) {
        Current->Target = nullptr;
        Current->Accepted = false;
        Current->Object->DragTarget = nullptr;
    }
    if (Current->Control == Control) {
        if (auto* ControlObject = dynamic_cast<TBaseDragControlObject*>(Current->Object))
            if (ControlObject->Control == Control)
                ControlObject->Control = nullptr;
        Current->Control = nullptr;
        if (!Current->Ending)
            Detach();
    }
}

// ---- TControl's side

void TControl::BeginDrag(bool Immediate, int Threshold)
{
    if (Current)
        return;
    Current = std::make_unique<TDrag>();
    Current->Control = this;
    Current->Threshold = Threshold < 0 ? DefaultDragThreshold : Threshold;
    Current->StartPos = GetCursorPos();
    TDragObject* Object = nullptr;
    try {
        DoStartDrag(Object);
    } catch (...) {
        Current.reset();
        throw;
    }
    if (!Current || Current->Control != this)
        return;
    if (Object == nullptr) {
        Current->OwnObject = std::make_unique<TDragControlObject>(this);
        Object = Current->OwnObject.get();
    }
    Current->Object = Object;
    Object->DragPos = Current->StartPos;
    SetCaptureControl(nullptr);
    Current->CaptureWnd = AllocateHWnd(&DragWndMethod);
    SetCapture(Current->CaptureWnd);
    Current->KeyHook = SetWindowsHookEx(WH_KEYBOARD, [](int Code, WPARAM Key, LPARAM Data) {
        const bool Down = (Data & (LPARAM(1) << 31)) == 0;
        if (Code == HC_ACTION && Key == VK_ESCAPE && Current) {
            if (Down)
                CancelDrag();
            return LRESULT(1);
        }
        return CallNextHookEx(Current ? Current->KeyHook : 0, Code, Key, Data);
    });
    if (Immediate) {
        Current->Started = true;
        try {
            DragTo(Current->StartPos);
        } catch (...) {
            if (Current)
                Detach();
            throw;
        }
    }
}

bool TControl::Dragging() const
{
    return Current && Current->Control == this;
}

void TControl::EndDrag(bool Drop)
{
    if (Dragging())
        DragDone(Drop);
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    Accept = static_cast<bool>(OnDragOver);
    if (OnDragOver)
        OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y)
{
    if (OnDragDrop)
        OnDragDrop(this, Source, X, Y);
}

void TControl::DoStartDrag(TDragObject*& DragObject)
{
    if (OnStartDrag)
        OnStartDrag(this, DragObject);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y)
{
    if (OnEndDrag)
        OnEndDrag(this, Target, X, Y);
}

// WParam the TDragMessage, LParam the TDragRec.
void TControl::CMDrag(TMessage& Message)
{
    auto* Rec = reinterpret_cast<TDragRec*>(Message.LParam);
    Message.Result = 0;
    if (Rec == nullptr)
        return;
    const TPoint At = ScreenToClient(Rec->Pos);
    switch (static_cast<TDragMessage>(Message.WParam)) {
    case dmDragEnter:
    case dmDragLeave:
    case dmDragMove: {
        static constexpr TDragState States[] = {dsDragEnter, dsDragLeave, dsDragMove};
        bool Accept = false;
        DragOver(SourceOf(Rec->Source), At.X, At.Y, States[Message.WParam], Accept);
        Message.Result = Accept ? 1 : 0;
        break;
    }
    case dmDragDrop:
        DragDrop(SourceOf(Rec->Source), At.X, At.Y);
        break;
    case dmFindTarget: {
        TControl* Target = this;
        if (auto* Window = dynamic_cast<TWinControl*>(this))
            if (TControl* Child = Window->ControlAtPos(At, false))
                Target = Child;
        Message.Result = reinterpret_cast<LRESULT>(Target);
        break;
    }
    case dmDragCancel:
        break;
    }
}
