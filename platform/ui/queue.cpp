#include "platform/ui/queue.h"

#include "platform/rtl/clock.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/thread.h"
#include "platform/ui/loopstate.h"
#include "platform/ui/messages.h"
#include "platform/ui/wait.h"
#include "platform/ui/window.h"

#include <deque>
#include <map>
#include <mutex>
#include <thread>

namespace {

struct TQueueState {
    std::mutex Lock;
    std::deque<TMsg> Posted;
    bool QuitPosted = false;
    int QuitCode = 0;
    DWORD LastTime = 0;
    std::map<std::string, UINT> Registered;
    UINT NextRegistered = 0xC000;
};

TQueueState& Queue()
{
    static TQueueState S;
    return S;
}

bool InRange(UINT Msg, UINT Min, UINT Max)
{
    return (Min == 0 && Max == 0) || (Msg >= Min && Msg <= Max);
}

bool IsInputMessage(UINT Msg)
{
    return (Msg >= WM_KEYFIRST && Msg <= WM_KEYLAST) ||
           (Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST) ||
           (Msg >= WM_NCMOUSEMOVE && Msg <= WM_NCMBUTTONDBLCLK);
}

// Takes the first posted message that passes the filter.
bool TakePosted(TMsg& Msg, HWND Wnd, UINT Min, UINT Max, bool Remove)
{
    auto& Q = Queue();
    std::lock_guard<std::mutex> Guard(Q.Lock);
    for (auto It = Q.Posted.begin(); It != Q.Posted.end(); ++It) {
        if ((Wnd == 0 || It->hwnd == Wnd) && InRange(It->message, Min, Max)) {
            Msg = *It;
            if (Remove)
                Q.Posted.erase(It);
            return true;
        }
    }
    return false;
}

void Discard(const TMsg& Msg)
{
    auto& Q = Queue();
    std::lock_guard<std::mutex> Guard(Q.Lock);
    for (auto It = Q.Posted.begin(); It != Q.Posted.end(); ++It) {
        if (It->hwnd == Msg.hwnd && It->message == Msg.message && It->wParam == Msg.wParam &&
            It->lParam == Msg.lParam && It->ExtraInfo == Msg.ExtraInfo && It->time == Msg.time) {
            Q.Posted.erase(It);
            return;
        }
    }
}

} // namespace

namespace uiloop {

std::function<void()> LoopExceptionHandler;

bool OnUiThread()
{
    return std::this_thread::get_id() == MainThreadID();
}

void CheckThread(const char* What)
{
    if (!OnUiThread())
        throw EWindowError(std::string(What) + " called outside the user-interface thread");
}

void PostFront(const std::vector<TMsg>& Messages)
{
    auto& Q = Queue();
    std::lock_guard<std::mutex> Guard(Q.Lock);
    Q.Posted.insert(Q.Posted.begin(), Messages.begin(), Messages.end());
}

bool QuitPending()
{
    auto& Q = Queue();
    std::lock_guard<std::mutex> Guard(Q.Lock);
    return Q.QuitPosted;
}

void PostInput(const TMsg& Message)
{
    auto& Q = Queue();
    std::lock_guard<std::mutex> Guard(Q.Lock);
    Q.Posted.push_back(Message);
}

} // namespace uiloop

bool PostMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    const bool OnUi = uiloop::OnUiThread();
    if (OnUi && Wnd != 0 && (!IsWindow(Wnd) || IsForeignWindow(Wnd)))
        return false;
    {
        auto& Q = Queue();
        TMsg Message;
        Message.hwnd = Wnd;
        Message.message = Msg;
        Message.wParam = WParam;
        Message.lParam = LParam;
        std::lock_guard<std::mutex> Guard(Q.Lock);
        Q.Posted.push_back(Message);
    }
    if (!OnUi)
        WakeUp();
    return true;
}

LRESULT SendMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    uiloop::CheckThread("SendMessage");
    const std::shared_ptr<const TWndProc> Proc = uiloop::WindowProcOf(Wnd);
    if (!Proc)
        return 0;
    uiloop::CallWndProcHooks(Wnd, Msg, WParam, LParam);
    return (*Proc)(Wnd, Msg, WParam, LParam);
}

void PostQuitMessage(int ExitCode)
{
    auto& Q = Queue();
    {
        std::lock_guard<std::mutex> Guard(Q.Lock);
        Q.QuitPosted = true;
        Q.QuitCode = ExitCode;
    }
    if (!uiloop::OnUiThread())
        WakeUp();
}

bool PeekMessage(TMsg& Msg, HWND Wnd, UINT Min, UINT Max, UINT RemoveFlags)
{
    return uiloop::Peek(Msg, Wnd, Min, Max, RemoveFlags, true);
}

bool uiloop::Peek(TMsg& Msg, HWND Wnd, UINT Min, UINT Max, UINT RemoveFlags, bool Poll)
{
    uiloop::CheckThread("PeekMessage");
    const bool Remove = (RemoveFlags & PM_REMOVE) != 0;
    bool Polled = !Poll;
    for (;;) {
        if (TakePosted(Msg, Wnd, Min, Max, Remove)) {
            if (IsInputMessage(Msg.message) && uiloop::InputHookSwallows(Msg, Remove)) {
                if (!Remove)
                    Discard(Msg);
                continue;
            }
            if (Msg.time == 0)
                Msg.time = GetTickCount();
            if (Remove) {
                uiloop::NoteMessageTaken(Msg);
                Queue().LastTime = Msg.time;
            }
            return true;
        }
        // Sockets and other threads get their turn before the queue counts as empty.
        if (Polled || !PollOnce())
            break;
        Polled = true;
    }
    auto& Q = Queue();
    {
        std::lock_guard<std::mutex> Guard(Q.Lock);
        if (Q.QuitPosted && InRange(WM_QUIT, Min, Max)) {
            Msg = TMsg();
            Msg.message = WM_QUIT;
            Msg.wParam = static_cast<WPARAM>(Q.QuitCode);
            Msg.time = GetTickCount();
            if (Remove)
                Q.QuitPosted = false;
            return true;
        }
    }
    uiloop::BlinkCaretIfDue();
    // WM_PAINT stays until BeginPaint or ValidateRect empties the window's update area.
    if (InRange(WM_PAINT, Min, Max) && uiloop::TakePaint(Wnd, Msg)) {
        Msg.time = GetTickCount();
        return true;
    }
    if (InRange(WM_TIMER, Min, Max) && uiloop::TakeDueTimer(Wnd, Msg, Remove)) {
        Msg.time = GetTickCount();
        return true;
    }
    return false;
}

bool GetMessage(TMsg& Msg, HWND Wnd, UINT Min, UINT Max)
{
    const bool Filtered = Wnd != 0 || Min != 0 || Max != 0;
    while (!PeekMessage(Msg, Wnd, Min, Max, PM_REMOVE)) {
        // Messages outside the filter must not keep the wait from blocking.
        if (Filtered)
            uiloop::BlockOnce(-1);
        else
            WaitMessage();
    }
    return Msg.message != WM_QUIT;
}

LRESULT DispatchMessage(const TMsg& Msg)
{
    uiloop::CheckThread("DispatchMessage");
    const std::shared_ptr<const TWndProc> Proc = uiloop::WindowProcOf(Msg.hwnd);
    if (!Proc)
        return 0;
    try {
        return (*Proc)(Msg.hwnd, Msg.message, Msg.wParam, Msg.lParam);
    } catch (const Exception&) {
        if (!uiloop::LoopExceptionHandler)
            throw;
        uiloop::LoopExceptionHandler();
        return 0;
    }
}

UINT RegisterWindowMessage(const std::string& Name)
{
    if (Name.empty())
        return 0;
    auto& Q = Queue();
    std::lock_guard<std::mutex> Guard(Q.Lock);
    auto Found = Q.Registered.find(LowerCase(Name));
    if (Found != Q.Registered.end())
        return Found->second;
    if (Q.NextRegistered > 0xFFFF)
        return 0;
    const UINT Id = Q.NextRegistered++;
    Q.Registered.emplace(LowerCase(Name), Id);
    return Id;
}

DWORD GetMessageTime()
{
    return Queue().LastTime;
}

int PendingMessageCount()
{
    auto& Q = Queue();
    std::lock_guard<std::mutex> Guard(Q.Lock);
    return static_cast<int>(Q.Posted.size());
}
