// The CLIPBOARD selection: this program owns it while it offers text, answers other programs'
// conversions, and converts another owner's text when the program reads its clipboard.
#include "platform/ui/x11/x11driver.h"

#include <X11/Xatom.h>

#include <poll.h>

#include <chrono>
#include <climits>

namespace {

// How long a read waits for another program to hand its text over, per step.
constexpr int SelectionTimeoutMs = 1000;

std::string Latin1ToUtf8(const std::string& Text)
{
    std::string Result;
    for (unsigned char C : Text) {
        if (C < 0x80) {
            Result += static_cast<char>(C);
        } else {
            Result += static_cast<char>(0xC0 | (C >> 6));
            Result += static_cast<char>(0x80 | (C & 0x3F));
        }
    }
    return Result;
}

// Characters outside Latin-1 become '?'; invalid bytes are taken as they are.
std::string Utf8ToLatin1(const std::string& Text)
{
    std::string Result;
    for (std::size_t I = 0; I < Text.size(); ++I) {
        const auto C = static_cast<unsigned char>(Text[I]);
        if (C < 0x80) {
            Result += static_cast<char>(C);
            continue;
        }
        std::size_t Extra = C >= 0xF0 ? 3 : C >= 0xE0 ? 2 : C >= 0xC0 ? 1 : 0;
        if (Extra == 0 || I + Extra >= Text.size()) {
            Result += static_cast<char>(C);
            continue;
        }
        if (Extra == 1 && C <= 0xC3)
            Result += static_cast<char>(((C & 0x03) << 6) | (Text[I + 1] & 0x3F));
        else
            Result += '?';
        I += Extra;
    }
    return Result;
}

} // namespace

void TX11Driver::OfferClipboardText(const std::string& Text)
{
    const Atom Clipboard = Intern("CLIPBOARD");
    FOffered = Text;
    if (Text.empty()) {
        if (FOwnsClipboard && XGetSelectionOwner(FDisplay, Clipboard) == FSelectionWindow)
            XSetSelectionOwner(FDisplay, Clipboard, None, FLastTime);
        FOwnsClipboard = false;
    } else {
        XSetSelectionOwner(FDisplay, Clipboard, FSelectionWindow, FLastTime);
        FOwnsClipboard = XGetSelectionOwner(FDisplay, Clipboard) == FSelectionWindow;
    }
    Done();
}

void TX11Driver::HandleSelectionRequest(const XSelectionRequestEvent& Request)
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
    const Atom Utf8 = Intern("UTF8_STRING");
    const Atom Targets = Intern("TARGETS");
    const Atom TextAtom = Intern("TEXT");
    const std::size_t Limit = static_cast<std::size_t>(XExtendedMaxRequestSize(FDisplay) > 0
                                                           ? XExtendedMaxRequestSize(FDisplay)
                                                           : XMaxRequestSize(FDisplay)) *
                                  4 -
                              64;
    if (Request.selection == Intern("CLIPBOARD") && FOwnsClipboard) {
        if (Request.target == Targets) {
            const Atom Offered[] = {Targets, Utf8, XA_STRING, TextAtom};
            XChangeProperty(FDisplay, Request.requestor, Property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(Offered), 4);
            Reply.xselection.property = Property;
        } else if (Request.target == Utf8 || Request.target == XA_STRING ||
                   Request.target == TextAtom) {
            const std::string Data =
                Request.target == XA_STRING ? Utf8ToLatin1(FOffered) : FOffered;
            // Larger texts would need the incremental protocol; they are refused instead.
            if (Data.size() <= Limit) {
                XChangeProperty(FDisplay, Request.requestor, Property,
                                Request.target == XA_STRING ? XA_STRING : Utf8, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(Data.data()),
                                static_cast<int>(Data.size()));
                Reply.xselection.property = Property;
            }
        }
    }
    XSendEvent(FDisplay, Request.requestor, False, NoEventMask, &Reply);
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

bool TX11Driver::WaitForSelection(Atom Target, std::string& Data, Atom& Type)
{
    const Atom Clipboard = Intern("CLIPBOARD");
    const Atom Property = Intern("TARNWICK_CLIPBOARD");
    XDeleteProperty(FDisplay, FSelectionWindow, Property);
    XConvertSelection(FDisplay, Clipboard, Target, Property, FSelectionWindow, FLastTime);
    XFlush(FDisplay);
    XEvent Event;
    const Window Self = FSelectionWindow;
    if (!WaitForEvent(
            [&](const XEvent& E) {
                return E.type == SelectionNotify && E.xselection.requestor == Self &&
                       E.xselection.selection == Clipboard;
            },
            Event) ||
        Event.xselection.property == None)
        return false;

    auto Read = [&](std::string& Into, Atom& Kind) {
        Atom ActualType = None;
        int Format = 0;
        unsigned long Count = 0, After = 0;
        unsigned char* Bytes = nullptr;
        if (XGetWindowProperty(FDisplay, Self, Property, 0, LONG_MAX / 4, True, AnyPropertyType,
                               &ActualType, &Format, &Count, &After, &Bytes) != Success)
            return false;
        Kind = ActualType;
        if (Bytes != nullptr) {
            if (Format == 8)
                Into.append(reinterpret_cast<const char*>(Bytes), Count);
            XFree(Bytes);
        }
        return true;
    };
    Data.clear();
    if (!Read(Data, Type))
        return false;
    if (Type != Intern("INCR"))
        return true;
    // Incremental transfer: each new value of the property is the next part, an empty one the
    // end; deleting the property asks for the next.
    Data.clear();
    for (;;) {
        if (!WaitForEvent(
                [&](const XEvent& E) {
                    return E.type == PropertyNotify && E.xproperty.window == Self &&
                           E.xproperty.atom == Property && E.xproperty.state == PropertyNewValue;
                },
                Event))
            return false;
        std::string Part;
        if (!Read(Part, Type))
            return false;
        if (Part.empty())
            return true;
        Data += Part;
    }
}

bool TX11Driver::ForeignClipboardText(std::string& Text)
{
    const Window Owner = XGetSelectionOwner(FDisplay, Intern("CLIPBOARD"));
    if (Owner == None || Owner == FSelectionWindow) {
        Done();
        return false;
    }
    FOwnsClipboard = false;
    Text.clear();
    std::string Data;
    Atom Type = None;
    if (WaitForSelection(Intern("UTF8_STRING"), Data, Type))
        Text = Data;
    else if (WaitForSelection(XA_STRING, Data, Type))
        Text = Type == XA_STRING ? Latin1ToUtf8(Data) : Data;
    Done();
    return true;
}
