// The CLIPBOARD selection: this program owns it while it offers its clipboard, answers other
// programs' conversions of the offered targets (large ones incrementally), and converts another
// owner's targets when the program reads its clipboard.
#include "platform/ui/x11/x11driver.h"

#include <X11/Xatom.h>

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace {

// How long a read waits for another program to hand its data over, per step.
constexpr int SelectionTimeoutMs = 1000;
// The most one transfer may bring or send: a larger one is refused.
constexpr std::size_t MaxTransfer = std::size_t(64) << 20;
// Data larger than this goes in parts of this size (the INCR protocol).
constexpr std::size_t IncrChunk = std::size_t(256) << 10;
// A requestor that has not asked for the next part for this long is given up.
constexpr auto IncrIdle = std::chrono::seconds(5);
// The most targets another program's list is taken with.
constexpr unsigned long MaxTargets = 1024;

} // namespace

void TX11Driver::OfferClipboard(const std::vector<std::string>& Targets, TClipboardRenderer Render)
{
    const Atom Clipboard = Intern("CLIPBOARD");
    FOfferTargets.clear();
    FOfferAtoms.clear();
    FRender = nullptr;
    if (Targets.empty()) {
        if (FOwnsClipboard && XGetSelectionOwner(FDisplay, Clipboard) == FSelectionWindow)
            XSetSelectionOwner(FDisplay, Clipboard, None, FLastTime);
        FOwnsClipboard = false;
    } else {
        FOfferTargets = Targets;
        for (const std::string& Target : Targets)
            FOfferAtoms.push_back(Intern(Target.c_str()));
        FRender = std::move(Render);
        XSetSelectionOwner(FDisplay, Clipboard, FSelectionWindow, FLastTime);
        FOwnsClipboard = XGetSelectionOwner(FDisplay, Clipboard) == FSelectionWindow;
    }
    Done();
}

void TX11Driver::HandleSelectionRequest(const XSelectionRequestEvent& Request)
{
    if (Request.selection == Intern("XdndSelection"))
        AnswerSelectionRequest(Request, FXdndSource.Active, FXdndSource.Targets, FXdndSource.Atoms,
                               FXdndSource.Render);
    else
        AnswerSelectionRequest(Request, Request.selection == Intern("CLIPBOARD") && FOwnsClipboard,
                               FOfferTargets, FOfferAtoms, FRender);
}

void TX11Driver::AnswerSelectionRequest(const XSelectionRequestEvent& Request, bool Serving,
                                        const std::vector<std::string>& OfferTargets,
                                        const std::vector<Atom>& OfferAtoms,
                                        const TClipboardRenderer& Render)
{
    XEvent Reply{};
    Reply.xselection.type = SelectionNotify;
    Reply.xselection.requestor = Request.requestor;
    Reply.xselection.selection = Request.selection;
    Reply.xselection.target = Request.target;
    Reply.xselection.time = Request.time;
    Reply.xselection.property = None;
    // Old clients name no property: the target's name serves.
    const Atom Property = Request.property != None ? Request.property : Request.target;
    const Atom Targets = Intern("TARGETS");
    const std::size_t Limit =
        std::min<std::size_t>(static_cast<std::size_t>(XExtendedMaxRequestSize(FDisplay) > 0
                                                           ? XExtendedMaxRequestSize(FDisplay)
                                                           : XMaxRequestSize(FDisplay)) *
                                      4 -
                                  64,
                              IncrChunk);
    DropIdleSends();
    const auto Offered = std::find(OfferAtoms.begin(), OfferAtoms.end(), Request.target);
    std::string Data;
    if (!Serving) {
        // not ours to answer
    } else if (Request.target == Targets) {
        std::vector<Atom> List{Targets};
        List.insert(List.end(), OfferAtoms.begin(), OfferAtoms.end());
        XChangeProperty(FDisplay, Request.requestor, Property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(List.data()),
                        static_cast<int>(List.size()));
        Reply.xselection.property = Property;
    } else if (Offered != OfferAtoms.end() && Render &&
               Render(OfferTargets[static_cast<std::size_t>(Offered - OfferAtoms.begin())], Data) &&
               Data.size() <= MaxTransfer) {
        const Atom Type = Request.target == Intern("TEXT") ? Intern("UTF8_STRING") : Request.target;
        if (Data.size() <= Limit) {
            XChangeProperty(FDisplay, Request.requestor, Property, Type, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(Data.data()),
                            static_cast<int>(Data.size()));
        } else {
            // The requestor deletes the property to ask for each part; an empty part ends it.
            XSelectInput(FDisplay, Request.requestor, PropertyChangeMask);
            const long Size = static_cast<long>(Data.size());
            XChangeProperty(FDisplay, Request.requestor, Property, Intern("INCR"), 32,
                            PropModeReplace, reinterpret_cast<const unsigned char*>(&Size), 1);
            FIncrSends.push_back(TIncrSend{Request.requestor, Property, Type, std::move(Data), 0,
                                           std::chrono::steady_clock::now()});
        }
        Reply.xselection.property = Property;
    }
    XSendEvent(FDisplay, Request.requestor, False, NoEventMask, &Reply);
}

bool TX11Driver::HandleSelectionProperty(const XPropertyEvent& Event)
{
    if (Event.state != PropertyDelete)
        return false;
    auto Send = std::find_if(FIncrSends.begin(), FIncrSends.end(), [&](const TIncrSend& S) {
        return S.Requestor == Event.window && S.Property == Event.atom;
    });
    if (Send == FIncrSends.end())
        return false;
    const std::size_t Part = std::min(IncrChunk, Send->Data.size() - Send->Offset);
    XChangeProperty(FDisplay, Send->Requestor, Send->Property, Send->Type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(Send->Data.data() + Send->Offset),
                    static_cast<int>(Part));
    Send->Offset += Part;
    Send->Last = std::chrono::steady_clock::now();
    if (Part == 0) {
        XSelectInput(FDisplay, Send->Requestor, NoEventMask);
        FIncrSends.erase(Send);
    }
    XFlush(FDisplay);
    return true;
}

void TX11Driver::DropIdleSends()
{
    const auto Now = std::chrono::steady_clock::now();
    FIncrSends.erase(std::remove_if(FIncrSends.begin(), FIncrSends.end(),
                                    [&](const TIncrSend& S) { return Now - S.Last > IncrIdle; }),
                     FIncrSends.end());
}

bool TX11Driver::WaitForEvent(const std::function<bool(const XEvent&)>& Wanted, XEvent& Found)
{
    const auto Deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(SelectionTimeoutMs);
    for (;;) {
        while (XPending(FDisplay) > 0) {
            XNextEvent(FDisplay, &Found);
            if (Wanted(Found))
                return true;
            if (!XFilterEvent(&Found, None))
                HandleEvent(Found);
        }
        const auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              Deadline - std::chrono::steady_clock::now())
                              .count();
        if (Left <= 0)
            return false;
        pollfd Connection{ConnectionNumber(FDisplay), POLLIN, 0};
        if (poll(&Connection, 1, static_cast<int>(Left)) < 0 && errno != EINTR)
            return false;
    }
}

bool TX11Driver::ReadSelectionProperty(std::string& Into, Atom& Type, int& Format)
{
    const Atom Property = Intern("TARNWICK_CLIPBOARD");
    Atom ActualType = None;
    unsigned long Count = 0, After = 0;
    unsigned char* Bytes = nullptr;
    // Its size first: more than a transfer may bring is refused unread.
    if (XGetWindowProperty(FDisplay, FSelectionWindow, Property, 0, 0, False, AnyPropertyType,
                           &ActualType, &Format, &Count, &After, &Bytes) != Success)
        return false;
    if (Bytes != nullptr)
        XFree(Bytes);
    if (After > MaxTransfer - std::min(Into.size(), MaxTransfer)) {
        XDeleteProperty(FDisplay, FSelectionWindow, Property);
        return false;
    }
    Bytes = nullptr;
    if (XGetWindowProperty(FDisplay, FSelectionWindow, Property, 0,
                           static_cast<long>((After + 3) / 4), True, AnyPropertyType, &ActualType,
                           &Format, &Count, &After, &Bytes) != Success)
        return false;
    Type = ActualType;
    if (Bytes != nullptr) {
        if (Format == 8) {
            Into.append(reinterpret_cast<const char*>(Bytes), Count);
        } else if (Format == 32) {
            // Xlib hands 32-bit items over as longs.
            const auto* Items = reinterpret_cast<const long*>(Bytes);
            for (unsigned long I = 0; I < Count; ++I) {
                const auto Item = static_cast<std::uint32_t>(Items[I]);
                Into.append(reinterpret_cast<const char*>(&Item), sizeof Item);
            }
        }
        XFree(Bytes);
    }
    return true;
}

bool TX11Driver::WaitForSelection(Atom Target, std::string& Data, Atom& Type, int& Format,
                                  Atom Selection, Time When)
{
    const Atom Clipboard = Selection != None ? Selection : Intern("CLIPBOARD");
    const Atom Property = Intern("TARNWICK_CLIPBOARD");
    XDeleteProperty(FDisplay, FSelectionWindow, Property);
    XConvertSelection(FDisplay, Clipboard, Target, Property, FSelectionWindow,
                      When != CurrentTime ? When : FLastTime);
    XFlush(FDisplay);
    XEvent Event;
    const Window Self = FSelectionWindow;
    if (!WaitForEvent(
            [&](const XEvent& E) {
                return E.type == SelectionNotify && E.xselection.requestor == Self &&
                       E.xselection.selection == Clipboard;
            },
            Event) ||
        Event.xselection.property == None || Event.xselection.target != Target)
        return false;
    Data.clear();
    if (!ReadSelectionProperty(Data, Type, Format))
        return false;
    if (Type != Intern("INCR"))
        return true;
    // Incremental transfer: each new value of the property is the next part, an empty one the
    // end; deleting the property (reading it did) asks for the next. The size announced is a
    // lower bound: one past the limit is refused at once.
    std::uint32_t Announced = 0;
    if (Data.size() >= sizeof Announced)
        std::memcpy(&Announced, Data.data(), sizeof Announced);
    if (Announced > MaxTransfer)
        return false;
    Data.clear();
    for (;;) {
        if (!WaitForEvent(
                [&](const XEvent& E) {
                    return E.type == PropertyNotify && E.xproperty.window == Self &&
                           E.xproperty.atom == Property && E.xproperty.state == PropertyNewValue;
                },
                Event))
            return false;
        const std::size_t Before = Data.size();
        if (!ReadSelectionProperty(Data, Type, Format))
            return false;
        if (Data.size() == Before)
            return true;
    }
}

bool TX11Driver::ForeignClipboardHeld()
{
    const Window Owner = XGetSelectionOwner(FDisplay, Intern("CLIPBOARD"));
    const bool Foreign = Owner != None && Owner != FSelectionWindow;
    if (Foreign)
        FOwnsClipboard = false;
    Done();
    return Foreign;
}

bool TX11Driver::ForeignClipboardTargets(std::vector<std::string>& Targets)
{
    Targets.clear();
    std::string Data;
    Atom Type = None;
    int Format = 0;
    const bool Read = WaitForSelection(Intern("TARGETS"), Data, Type, Format) && Format == 32;
    Done();
    if (!Read)
        return false;
    std::vector<Atom> Atoms;
    for (std::size_t At = 0; At + 4 <= Data.size() && Atoms.size() < MaxTargets; At += 4) {
        std::uint32_t Item = 0;
        std::memcpy(&Item, Data.data() + At, sizeof Item);
        if (Item != None)
            Atoms.push_back(Item);
    }
    if (Atoms.empty())
        return true;
    std::vector<char*> Names(Atoms.size(), nullptr);
    // A list naming an atom that does not exist is not taken.
    if (XGetAtomNames(FDisplay, Atoms.data(), static_cast<int>(Atoms.size()), Names.data()) == 0)
        return false;
    for (char* Name : Names) {
        if (Name != nullptr) {
            Targets.emplace_back(Name);
            XFree(Name);
        }
    }
    return true;
}

bool TX11Driver::ForeignClipboardData(const std::string& Target, std::string& Data)
{
    Atom Type = None;
    int Format = 0;
    const bool Read = WaitForSelection(Intern(Target.c_str()), Data, Type, Format) && Format == 8;
    Done();
    if (!Read)
        Data.clear();
    return Read;
}
