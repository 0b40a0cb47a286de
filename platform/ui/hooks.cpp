#include "platform/ui/hooks.h"

#include "platform/ui/loopstate.h"
#include "platform/ui/messages.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace {

struct THook {
    HHOOK Handle;
    int Kind;
    THookProc Proc;
    bool Removed = false;
};
using THookList = std::vector<std::shared_ptr<THook>>;

// One running pass over a chain; CallNextHookEx continues it.
struct TPass {
    THookList Snapshot;
    std::size_t Index = 0;
};

struct THookState {
    std::map<int, THookList> Chains; // newest first
    std::vector<TPass*> Running;
    HHOOK LastHandle = 0;
};

THookState& Hooks()
{
    static THookState S;
    return S;
}

LRESULT RunFrom(TPass& Pass, std::size_t Start, int Code, WPARAM WParam, LPARAM LParam)
{
    for (std::size_t I = Start; I < Pass.Snapshot.size(); ++I) {
        if (Pass.Snapshot[I]->Removed)
            continue;
        const std::size_t Saved = Pass.Index;
        Pass.Index = I;
        const LRESULT Result = Pass.Snapshot[I]->Proc(Code, WParam, LParam);
        Pass.Index = Saved;
        return Result;
    }
    return 0;
}

LRESULT CallChain(int Kind, int Code, WPARAM WParam, LPARAM LParam)
{
    auto& S = Hooks();
    auto Found = S.Chains.find(Kind);
    if (Found == S.Chains.end() || Found->second.empty())
        return 0;
    TPass Pass;
    Pass.Snapshot = Found->second;
    S.Running.push_back(&Pass);
    struct TPop {
        ~TPop() { Hooks().Running.pop_back(); }
    } Pop;
    return RunFrom(Pass, 0, Code, WParam, LParam);
}

} // namespace

HHOOK SetWindowsHookEx(int IdHook, THookProc Proc)
{
    uiloop::CheckThread("SetWindowsHookEx");
    if (!Proc || (IdHook != WH_CALLWNDPROC && IdHook != WH_MOUSE && IdHook != WH_KEYBOARD))
        return 0;
    auto& S = Hooks();
    auto Hook = std::make_shared<THook>(THook{++S.LastHandle, IdHook, std::move(Proc)});
    auto& Chain = S.Chains[IdHook];
    Chain.insert(Chain.begin(), Hook);
    return Hook->Handle;
}

bool UnhookWindowsHookEx(HHOOK Hook)
{
    for (auto& Entry : Hooks().Chains) {
        auto& Chain = Entry.second;
        auto It = std::find_if(Chain.begin(), Chain.end(),
                               [&](const std::shared_ptr<THook>& H) { return H->Handle == Hook; });
        if (It != Chain.end()) {
            (*It)->Removed = true;
            Chain.erase(It);
            return true;
        }
    }
    return false;
}

LRESULT CallNextHookEx(HHOOK Hook, int Code, WPARAM WParam, LPARAM LParam)
{
    auto& Running = Hooks().Running;
    for (auto It = Running.rbegin(); It != Running.rend(); ++It) {
        TPass& Pass = **It;
        if (Pass.Snapshot[Pass.Index]->Handle == Hook || Hook == 0)
            return RunFrom(Pass, Pass.Index + 1, Code, WParam, LParam);
    }
    return 0;
}

namespace uiloop {

void CallWndProcHooks(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TCWPStruct Info;
    Info.lParam = LParam;
    Info.wParam = WParam;
    Info.message = Msg;
    Info.hwnd = Wnd;
    CallChain(WH_CALLWNDPROC, HC_ACTION, 1, reinterpret_cast<LPARAM>(&Info));
}

bool InputHookSwallows(const TMsg& Msg, bool Remove)
{
    const int Code = Remove ? HC_ACTION : HC_NOREMOVE;
    const bool NonClient = Msg.message >= WM_NCMOUSEMOVE && Msg.message <= WM_NCMBUTTONDBLCLK;
    if ((Msg.message >= WM_MOUSEFIRST && Msg.message <= WM_MOUSELAST) || NonClient) {
        TMouseHookStruct Info;
        Info.pt = Msg.pt;
        Info.hwnd = Msg.hwnd;
        Info.wHitTestCode = NonClient ? static_cast<UINT>(Msg.wParam) : UINT(HTCLIENT);
        return CallChain(WH_MOUSE, Code, Msg.message, reinterpret_cast<LPARAM>(&Info)) != 0;
    }
    if (Msg.message == WM_KEYDOWN || Msg.message == WM_KEYUP || Msg.message == WM_SYSKEYDOWN ||
        Msg.message == WM_SYSKEYUP)
        return CallChain(WH_KEYBOARD, Code, Msg.wParam, Msg.lParam) != 0;
    return false;
}

} // namespace uiloop
