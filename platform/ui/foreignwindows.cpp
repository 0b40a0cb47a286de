// Publishing this process's top-level windows in the instance directory, the proxy handles of
// other processes' windows, and the commands that travel between them.
#include "platform/ui/input.h"
#include "platform/ui/instancedir.h"
#include "platform/ui/loopstate.h"
#include "platform/ui/wait.h"
#include "platform/ui/window.h"

#include <iostream>
#include <map>
#include <memory>
#include <utility>

namespace {

struct TForeignState {
    std::unique_ptr<TInstanceDirectory> Directory;
    bool Unavailable = false;
    std::map<HWND, TRemoteWindow> Proxies;
    std::map<std::pair<int, std::uint64_t>, HWND> ByRemote;
};

TForeignState& Foreign()
{
    static TForeignState S;
    return S;
}

void CarryOut(std::uint64_t Handle, TRemoteCommand Command)
{
    const auto Wnd = static_cast<HWND>(Handle);
    if (!IsWindow(Wnd) || IsForeignWindow(Wnd))
        return;
    switch (Command) {
    case TRemoteCommand::rcRestore:
        ShowWindow(Wnd, SW_RESTORE);
        SetForegroundWindow(Wnd);
        break;
    case TRemoteCommand::rcBringToTop:
        // A window asked to come forward while minimised would stay out of sight.
        if (IsIconic(Wnd))
            ShowWindow(Wnd, SW_RESTORE);
        BringWindowToTop(Wnd);
        SetForegroundWindow(Wnd);
        break;
    case TRemoteCommand::rcShow:
        ShowWindow(Wnd, SW_SHOW);
        break;
    case TRemoteCommand::rcSetForeground:
        SetForegroundWindow(Wnd);
        break;
    }
}

// The directory, opened on first use; null when it cannot be had (the program then runs alone).
TInstanceDirectory* Directory()
{
    auto& S = Foreign();
    if (S.Directory || S.Unavailable)
        return S.Directory.get();
    try {
        S.Directory = std::make_unique<TInstanceDirectory>();
    } catch (const Exception& E) {
        S.Unavailable = true;
        std::cerr << "tarnwick: windows of other instances cannot be reached: " << E.Message()
                  << '\n';
        return nullptr;
    }
    S.Directory->OnCommand = CarryOut;
    RegisterDescriptor(S.Directory->Descriptor(), POLLIN, [](int, short) {
        if (Foreign().Directory)
            Foreign().Directory->HandleReadable();
    });
    return S.Directory.get();
}

const TRemoteWindow* Proxy(HWND Wnd)
{
    auto& Proxies = Foreign().Proxies;
    auto Found = Proxies.find(Wnd);
    return Found != Proxies.end() ? &Found->second : nullptr;
}

bool Send(HWND Wnd, TRemoteCommand Command)
{
    const TRemoteWindow* Remote = Proxy(Wnd);
    TInstanceDirectory* Dir = Directory();
    return Remote != nullptr && Dir != nullptr && Dir->SendCommand(*Remote, Command);
}

} // namespace

namespace uiloop {

void Publish(HWND Wnd, const std::string& ClassName, const std::string& Caption)
{
    if (TInstanceDirectory* Dir = Directory()) {
        try {
            Dir->Publish(Wnd, ClassName, Caption);
        } catch (const Exception& E) {
            std::cerr << "tarnwick: cannot publish a window: " << E.Message() << '\n';
        }
    }
}

void Withdraw(HWND Wnd)
{
    if (Foreign().Directory) {
        try {
            Foreign().Directory->Withdraw(Wnd);
        } catch (const Exception& E) {
            std::cerr << "tarnwick: cannot withdraw a window: " << E.Message() << '\n';
        }
    }
}

std::vector<HWND> ForeignWindows()
{
    std::vector<HWND> Result;
    TInstanceDirectory* Dir = Directory();
    if (Dir == nullptr)
        return Result;
    auto& S = Foreign();
    std::map<HWND, TRemoteWindow> Seen;
    for (const TRemoteWindow& Remote : Dir->Enumerate()) {
        const auto Key = std::make_pair(Remote.Pid, Remote.Handle);
        auto Found = S.ByRemote.find(Key);
        const HWND Wnd = Found != S.ByRemote.end() ? Found->second : NewHandle();
        S.ByRemote[Key] = Wnd;
        Seen[Wnd] = Remote;
        Result.push_back(Wnd);
    }
    for (auto It = S.ByRemote.begin(); It != S.ByRemote.end();)
        It = Seen.count(It->second) ? std::next(It) : S.ByRemote.erase(It);
    S.Proxies = std::move(Seen);
    return Result;
}

bool IsForeignWindow(HWND Wnd)
{
    return Wnd != 0 && Proxy(Wnd) != nullptr;
}

bool ForeignInfo(HWND Wnd, std::string& ClassName, std::string& Caption)
{
    const TRemoteWindow* Remote = Proxy(Wnd);
    if (Remote == nullptr)
        return false;
    ClassName = Remote->ClassName;
    Caption = Remote->Caption;
    return true;
}

bool ForeignShow(HWND Wnd, int Cmd)
{
    switch (Cmd) {
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
    case SW_SHOWMAXIMIZED:
        return Send(Wnd, TRemoteCommand::rcRestore);
    case SW_SHOW:
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
        return Send(Wnd, TRemoteCommand::rcShow);
    default:
        return false; // another process's window is not hidden or minimised from here
    }
}

bool ForeignRaise(HWND Wnd)
{
    return Send(Wnd, TRemoteCommand::rcBringToTop);
}

bool ForeignSetForeground(HWND Wnd)
{
    return Send(Wnd, TRemoteCommand::rcSetForeground);
}

} // namespace uiloop
