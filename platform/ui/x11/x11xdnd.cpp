// Drag and drop with other programs through XDND (version 5). Every top-level window of the
// program invites drops (XdndAware); another program's drag over one becomes the steps of
// InjectForeignDrag, answered with XdndStatus and XdndFinished, its data converted from
// XdndSelection when the drop targets ask. The program's own drag over another program's window
// owns XdndSelection with the data's targets and sends Enter, Position, Leave and Drop to the
// XdndAware window under the pointer (or its proxy), one position at a time: a newer position
// waits for the answer to the last.
#include "platform/ui/x11/x11driver.h"

#include "platform/ui/ole.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <climits>

namespace {

constexpr long XdndVersion = 5;
// Older versions than this lack the action in a position; they are not spoken to.
constexpr long OldestVersion = 3;
// The most types another program's list is taken with.
constexpr long MaxTypes = 1024;
// How deep the windows under the pointer are looked through for an XdndAware one.
constexpr int MaxDepth = 32;

} // namespace

void TX11Driver::MarkXdndAware(Window Id)
{
    const long Version = XdndVersion;
    XChangeProperty(FDisplay, Id, Intern("XdndAware"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&Version), 1);
}

Atom TX11Driver::ActionOf(DWORD Effect)
{
    if (Effect & DROPEFFECT_MOVE)
        return Intern("XdndActionMove");
    if (Effect & DROPEFFECT_COPY)
        return Intern("XdndActionCopy");
    if (Effect & DROPEFFECT_LINK)
        return Intern("XdndActionLink");
    return None;
}

DWORD TX11Driver::EffectOf(Atom Action)
{
    if (Action == None)
        return DROPEFFECT_NONE;
    if (Action == Intern("XdndActionMove"))
        return DROPEFFECT_MOVE;
    if (Action == Intern("XdndActionLink"))
        return DROPEFFECT_LINK;
    // Copy, and the actions a drop target cannot carry out by itself (ask, private).
    return DROPEFFECT_COPY;
}

void TX11Driver::SendXdnd(Window To, Window About, const char* Type, long L1, long L2, long L3,
                          long L4, Window From)
{
    XEvent Event{};
    Event.xclient.type = ClientMessage;
    Event.xclient.window = About;
    Event.xclient.message_type = Intern(Type);
    Event.xclient.format = 32;
    Event.xclient.data.l[0] = static_cast<long>(From != None ? From : FSelectionWindow);
    Event.xclient.data.l[1] = L1;
    Event.xclient.data.l[2] = L2;
    Event.xclient.data.l[3] = L3;
    Event.xclient.data.l[4] = L4;
    XSendEvent(FDisplay, To, False, NoEventMask, &Event);
}

namespace {

// A 32-bit property of one item; false when the window has none of Type.
bool OneItem(Display* Dpy, Window Id, Atom Property, Atom Type, long& Value)
{
    Atom Actual = None;
    int Format = 0;
    unsigned long Count = 0, After = 0;
    unsigned char* Data = nullptr;
    const bool Read = XGetWindowProperty(Dpy, Id, Property, 0, 1, False, Type, &Actual, &Format,
                                         &Count, &After, &Data) == Success &&
                      Actual == Type && Format == 32 && Count == 1 && Data != nullptr;
    if (Read)
        Value = *reinterpret_cast<const long*>(Data); // Xlib hands 32-bit items over as longs
    if (Data != nullptr)
        XFree(Data);
    return Read;
}

} // namespace

Window TX11Driver::XdndTargetAt(TPoint Point, Window& SendTo, int& Version)
{
    const Atom Aware = Intern("XdndAware");
    const Atom Proxy = Intern("XdndProxy");
    Window From = FRoot;
    for (int Level = 0; Level < MaxDepth; ++Level) {
        int X = 0, Y = 0;
        Window Child = None;
        if (!XTranslateCoordinates(FDisplay, FRoot, From, Point.X, Point.Y, &X, &Y, &Child) ||
            Child == None)
            return None;
        // The program's own windows take the drag in the process.
        if (HandleOf(Child) != 0 || Child == FSelectionWindow)
            return None;
        long Their = 0;
        if (OneItem(FDisplay, Child, Aware, XA_ATOM, Their)) {
            // A proxy counts when it names itself as well; the messages go there.
            long Via = 0, Back = 0;
            SendTo = Child;
            if (OneItem(FDisplay, Child, Proxy, XA_WINDOW, Via) && Via != 0 &&
                OneItem(FDisplay, static_cast<Window>(Via), Proxy, XA_WINDOW, Back) &&
                Back == Via) {
                SendTo = static_cast<Window>(Via);
                OneItem(FDisplay, SendTo, Aware, XA_ATOM, Their);
            }
            if (Their < OldestVersion)
                return None;
            Version = static_cast<int>(std::min(Their, XdndVersion));
            return Child;
        }
        From = Child;
    }
    return None;
}

void TX11Driver::BeginForeignDrag(const std::vector<std::string>& Targets,
                                  TClipboardRenderer Render)
{
    EndForeignDrag();
    TXdndSource& S = FXdndSource;
    S.Active = !Targets.empty();
    if (!S.Active)
        return;
    S.Targets = Targets;
    for (const std::string& Target : Targets)
        S.Atoms.push_back(Intern(Target.c_str()));
    S.Render = std::move(Render);
    XSetSelectionOwner(FDisplay, Intern("XdndSelection"), FSelectionWindow, FLastTime);
    // More than the three types an enter message carries are listed on the source window.
    SetAtomList(FSelectionWindow, Intern("XdndTypeList"), S.Atoms);
    Done();
}

void TX11Driver::SendXdndPosition(TPoint Point, DWORD Effect)
{
    TXdndSource& S = FXdndSource;
    const long Packed = (static_cast<long>(Point.X & 0xFFFF) << 16) | (Point.Y & 0xFFFF);
    SendXdnd(S.SendTo, S.Target, "XdndPosition", 0, Packed, static_cast<long>(FLastTime),
             static_cast<long>(ActionOf(Effect)));
    S.State.Waiting = true;
    S.HasPending = false;
}

bool TX11Driver::ForeignDragOver(TPoint Point, DWORD Effect)
{
    TXdndSource& S = FXdndSource;
    if (!S.Active || S.Dropped)
        return false;
    Window SendTo = None;
    int Version = 0;
    const Window Target = XdndTargetAt(Point, SendTo, Version);
    if (Target != S.Target) {
        if (S.Target != None)
            SendXdnd(S.SendTo, S.Target, "XdndLeave", 0, 0, 0, 0);
        S.Target = Target;
        S.SendTo = SendTo;
        S.Version = Version;
        S.HasPending = false;
        S.DropPending = false;
        S.State = TForeignDragState();
        if (Target != None) {
            const long More = S.Atoms.size() > 3 ? 1 : 0;
            auto Type = [&](std::size_t I) {
                return I < S.Atoms.size() ? static_cast<long>(S.Atoms[I]) : 0L;
            };
            SendXdnd(SendTo, Target, "XdndEnter", (static_cast<long>(Version) << 24) | More,
                     Type(0), Type(1), Type(2));
        }
    }
    if (Target == None) {
        Done();
        return false;
    }
    S.State.Over = true;
    if (S.State.Waiting) {
        S.HasPending = true;
        S.Pending = Point;
        S.PendingEffect = Effect;
    } else {
        SendXdndPosition(Point, Effect);
    }
    Done();
    return true;
}

void TX11Driver::SendXdndDrop()
{
    TXdndSource& S = FXdndSource;
    S.Dropped = true;
    if (S.State.Effect != DROPEFFECT_NONE) {
        SendXdnd(S.SendTo, S.Target, "XdndDrop", 0, static_cast<long>(FLastTime), 0, 0);
        S.State.Waiting = true;
        return;
    }
    // Refused at the last answer: the drop window only hears that the drag left.
    SendXdnd(S.SendTo, S.Target, "XdndLeave", 0, 0, 0, 0);
    S.State.Waiting = false;
    S.State.Finished = true;
}

void TX11Driver::ForeignDrop()
{
    TXdndSource& S = FXdndSource;
    if (!S.Active || S.Target == None || S.Dropped)
        return;
    if (S.State.Waiting)
        S.DropPending = true;
    else
        SendXdndDrop();
    Done();
}

void TX11Driver::EndForeignDrag()
{
    TXdndSource& S = FXdndSource;
    if (!S.Active)
        return;
    if (S.Target != None && !S.Dropped)
        SendXdnd(S.SendTo, S.Target, "XdndLeave", 0, 0, 0, 0);
    const Atom Selection = Intern("XdndSelection");
    if (XGetSelectionOwner(FDisplay, Selection) == FSelectionWindow)
        XSetSelectionOwner(FDisplay, Selection, None, FLastTime);
    XDeleteProperty(FDisplay, FSelectionWindow, Intern("XdndTypeList"));
    S = TXdndSource();
    Done();
}

void TX11Driver::HandleXdndAnswer(const XClientMessageEvent& Message)
{
    TXdndSource& S = FXdndSource;
    if (!S.Active || S.Target == None || static_cast<Window>(Message.data.l[0]) != S.Target)
        return;
    if (Message.message_type == Intern("XdndStatus")) {
        // A late answer to a position, or one after the drop went (whose answer is
        // XdndFinished), changes nothing.
        if (!S.State.Waiting || S.Dropped)
            return;
        const bool Accepts = (Message.data.l[1] & 1) != 0;
        const DWORD Effect = EffectOf(static_cast<Atom>(Message.data.l[4]));
        S.State.Effect = !Accepts                    ? DWORD(DROPEFFECT_NONE)
                         : Effect != DROPEFFECT_NONE ? Effect
                                                     : DWORD(DROPEFFECT_COPY);
        S.State.Waiting = false;
        if (S.DropPending) {
            S.DropPending = false;
            SendXdndDrop();
        } else if (S.HasPending) {
            SendXdndPosition(S.Pending, S.PendingEffect);
        }
    } else if (Message.message_type == Intern("XdndFinished") && S.Dropped && !S.State.Finished) {
        // Version 5 tells what was done; some targets name the action without setting the
        // accepted bit, and the action they name is taken.
        const Atom Done = static_cast<Atom>(Message.data.l[2]);
        if (S.Version >= 5)
            S.State.Effect = (Message.data.l[1] & 1) != 0 || Done != None
                                 ? EffectOf(Done != None ? Done : ActionOf(S.State.Effect))
                                 : DWORD(DROPEFFECT_NONE);
        S.State.Waiting = false;
        S.State.Finished = true;
    }
    Done();
}

std::vector<std::string> TX11Driver::XdndTypes(const XClientMessageEvent& Enter)
{
    std::vector<Atom> Atoms;
    const Window Source = static_cast<Window>(Enter.data.l[0]);
    if (Enter.data.l[1] & 1) {
        Atom Type = None;
        int Format = 0;
        unsigned long Count = 0, After = 0;
        unsigned char* Data = nullptr;
        if (XGetWindowProperty(FDisplay, Source, Intern("XdndTypeList"), 0, MaxTypes, False,
                               XA_ATOM, &Type, &Format, &Count, &After, &Data) == Success &&
            Type == XA_ATOM && Format == 32 && Data != nullptr) {
            const auto* Items = reinterpret_cast<const long*>(Data);
            for (unsigned long I = 0; I < Count; ++I)
                if (Items[I] != 0)
                    Atoms.push_back(static_cast<Atom>(Items[I]));
        }
        if (Data != nullptr)
            XFree(Data);
    } else {
        for (int I = 2; I <= 4; ++I)
            if (Enter.data.l[I] != 0)
                Atoms.push_back(static_cast<Atom>(Enter.data.l[I]));
    }
    std::vector<std::string> Targets;
    if (Atoms.empty())
        return Targets;
    std::vector<char*> Names(Atoms.size(), nullptr);
    // A list naming an atom that does not exist is not taken.
    if (XGetAtomNames(FDisplay, Atoms.data(), static_cast<int>(Atoms.size()), Names.data()) == 0)
        return Targets;
    for (char* Name : Names)
        if (Name != nullptr) {
            Targets.emplace_back(Name);
            XFree(Name);
        }
    return Targets;
}

bool TX11Driver::ReadXdndData(const std::string& Target, std::string& Data)
{
    if (FXdndTarget.Source == None)
        return false;
    Atom Type = None;
    int Format = 0;
    const bool Read = WaitForSelection(Intern(Target.c_str()), Data, Type, Format,
                                       Intern("XdndSelection"), FXdndTarget.When) &&
                      Format == 8;
    Done();
    if (!Read)
        Data.clear();
    return Read;
}

void TX11Driver::HandleXdndStep(HWND Wnd, const XClientMessageEvent& Message)
{
    TXdndTarget& T = FXdndTarget;
    const Window Source = static_cast<Window>(Message.data.l[0]);
    const Atom Type = Message.message_type;
    TForeignDragEvent Event;
    Event.Wnd = Wnd;
    if (Type == Intern("XdndEnter")) {
        const long Version = static_cast<long>(static_cast<unsigned long>(Message.data.l[1]) >> 24);
        if (Version < OldestVersion)
            return;
        if (T.Source != None) {
            Event.Step = TForeignDragStep::Leave;
            InjectForeignDrag(Event);
        }
        T = TXdndTarget();
        T.Source = Source;
        T.Over = Message.window;
        T.Wnd = Wnd;
        T.Version = static_cast<int>(std::min(Version, XdndVersion));
        Event.Step = TForeignDragStep::Enter;
        Event.Targets = XdndTypes(Message);
        Event.Read = [this](const std::string& Target, std::string& Data) {
            return ReadXdndData(Target, Data);
        };
        InjectForeignDrag(Event);
        EndForeignDragStep();
        return;
    }
    if (Source != T.Source || T.Source == None)
        return;
    if (Type == Intern("XdndPosition")) {
        const unsigned long Packed = static_cast<unsigned long>(Message.data.l[2]);
        T.Point =
            TPoint{static_cast<int>((Packed >> 16) & 0xFFFF), static_cast<int>(Packed & 0xFFFF)};
        T.When = static_cast<Time>(Message.data.l[3]);
        T.Effect = EffectOf(static_cast<Atom>(Message.data.l[4]));
        if (T.Effect == DROPEFFECT_NONE)
            T.Effect = DROPEFFECT_COPY;
        T.Wnd = Wnd;
        T.Over = Message.window;
        Event.Step = TForeignDragStep::Over;
        Event.Point = T.Point;
        Event.Effect = T.Effect;
        const DWORD Answer = InjectForeignDrag(Event);
        // No rectangle: every move is to be told.
        SendXdnd(T.Source, T.Source, "XdndStatus", (Answer != DROPEFFECT_NONE ? 1 : 0) | 2, 0, 0,
                 static_cast<long>(ActionOf(Answer)), T.Over);
        Done();
        EndForeignDragStep();
    } else if (Type == Intern("XdndLeave")) {
        Event.Step = TForeignDragStep::Leave;
        T = TXdndTarget();
        InjectForeignDrag(Event);
        EndForeignDragStep();
    } else if (Type == Intern("XdndDrop")) {
        T.When = static_cast<Time>(Message.data.l[2]);
        Event.Step = TForeignDragStep::Drop;
        Event.Point = T.Point;
        Event.Effect = T.Effect;
        const DWORD Answer = InjectForeignDrag(Event);
        const Window Over = T.Over;
        T = TXdndTarget();
        SendXdnd(Source, Source, "XdndFinished", Answer != DROPEFFECT_NONE ? 1 : 0,
                 static_cast<long>(ActionOf(Answer)), 0, 0, Over);
        Done();
        EndForeignDragStep();
    }
}

bool TX11Driver::HandleXdndMessage(const XClientMessageEvent& Message)
{
    const Atom Type = Message.message_type;
    if (Type == Intern("XdndStatus") || Type == Intern("XdndFinished")) {
        if (Message.window == FSelectionWindow)
            HandleXdndAnswer(Message);
        return true;
    }
    if (Type == Intern("XdndEnter") || Type == Intern("XdndPosition") ||
        Type == Intern("XdndLeave") || Type == Intern("XdndDrop")) {
        if (const HWND Wnd = HandleOf(Message.window))
            HandleXdndStep(Wnd, Message);
        return true;
    }
    return false;
}
