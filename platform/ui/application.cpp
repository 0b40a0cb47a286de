#include "platform/ui/application.h"

#include "platform/rtl/files.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/helpservice.h"
#include "platform/ui/input.h"
#include "platform/ui/loopstate.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"
#include "platform/ui/screen.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/wait.h"
#include "platform/ui/window.h"
#include "platform/ui/windowstyles.h"

#include <unistd.h>

#include <exception>

TApplication* Application = nullptr;

TFormHooks& FormHooks()
{
    static TFormHooks Hooks;
    return Hooks;
}

THintHooks& HintHooks()
{
    static THintHooks Hooks;
    return Hooks;
}

namespace {

const char* const ApplicationClass = "TApplication";

std::string ExecutablePath()
{
    char Buffer[4096];
    const ssize_t Length = readlink("/proc/self/exe", Buffer, sizeof Buffer - 1);
    return Length > 0 ? std::string(Buffer, static_cast<std::size_t>(Length)) : std::string();
}

} // namespace

std::string GetShortHint(const std::string& Hint)
{
    const std::size_t Bar = Hint.find('|');
    return Bar == std::string::npos ? Hint : Hint.substr(0, Bar);
}

std::string GetLongHint(const std::string& Hint)
{
    const std::size_t Bar = Hint.find('|');
    return Bar == std::string::npos ? Hint : Hint.substr(Bar + 1);
}

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner)
{
    InitMessageLoop();
    if (Screen == nullptr) {
        Screen = new TScreen(nullptr);
        FOwnsScreen = true;
    }
    FTitle = ChangeFileExt(ExtractFileName(ExeName()), "");
    TWndClass Class;
    if (!GetClassInfo(ApplicationClass, Class)) {
        Class.ClassName = ApplicationClass;
        RegisterClass(Class);
    }
    // The window is created with the class's plain procedure, so hooks watching the creation see
    // it as any other window; this object takes its messages from then on.
    FHandle = CreateWindowEx(0, ApplicationClass, FTitle,
                             WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                             GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2,
                             0, 0, 0);
    if (FHandle != 0)
        SetWindowProc(FHandle, [this](HWND, UINT Msg, WPARAM WParam, LPARAM LParam) {
            return WndProc(Msg, WParam, LParam);
        });
    uiloop::LoopExceptionHandler = [this] { HandleException(this); };
}

TApplication::~TApplication()
{
    // The forms go while the application is still whole: their windows are owned by its window.
    Destroying();
    DestroyComponents();
    FMainForm = nullptr;
    uiloop::LoopExceptionHandler = nullptr;
    if (FHandle != 0 && IsWindow(FHandle))
        DestroyWindow(FHandle);
    if (FOwnsScreen && Screen != nullptr)
        delete Screen;
    if (Application == this)
        Application = nullptr;
}

void TApplication::Run()
{
    if (FMainForm != nullptr && FShowMainForm && FormHooks().ShowMainForm) {
        // The application window carries the program's taskbar entry; it is never drawn.
        if (FHandle != 0 && GetParent(FHandle) == 0)
            ShowWindow(FHandle, SW_SHOWNA);
        FormHooks().ShowMainForm(FMainForm);
    }
    while (!FTerminated) {
        try {
            HandleMessage();
        } catch (const Exception&) {
            HandleException(this);
        }
    }
}

void TApplication::Terminate()
{
    PostQuitMessage(0);
}

bool TApplication::ProcessMessage(TMsg& Msg)
{
    if (!PeekMessage(Msg, 0, 0, 0, PM_REMOVE))
        return false;
    if (Msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    bool Handled = false;
    if (OnMessage)
        OnMessage(Msg, Handled);
    if (HintHooks().HintMsg)
        HintHooks().HintMsg(Msg);
    if (Handled)
        return true;
    if (FormHooks().IsKeyMsg && FormHooks().IsKeyMsg(Msg))
        return true;
    TranslateMessage(Msg);
    DispatchMessage(Msg);
    return true;
}

void TApplication::ProcessMessages()
{
    TMsg Msg;
    while (ProcessMessage(Msg)) {
    }
}

void TApplication::HandleMessage()
{
    TMsg Msg;
    if (!ProcessMessage(Msg))
        Idle();
}

void TApplication::Idle()
{
    bool Done = true;
    if (OnIdle) {
        try {
            OnIdle(this, Done);
        } catch (const Exception&) {
            HandleException(this);
        }
    }
    if (Done)
        WaitMessage();
}

void TApplication::HandleException(TObject* Sender)
{
    const std::exception_ptr Current = std::current_exception();
    if (!Current)
        return;
    try {
        std::rethrow_exception(Current);
    } catch (const EAbort&) {
    } catch (const Exception& E) {
        if (OnException)
            OnException(Sender, E);
        else
            ShowException(E);
    }
}

void TApplication::ShowException(const Exception& E)
{
    MessageBox(E.Message(), FTitle, MB_OK | MB_ICONSTOP);
}

void TApplication::Minimize()
{
    if (!IsIconic(FHandle))
        ShowWindow(FHandle, SW_MINIMIZE);
}

void TApplication::Restore()
{
    if (IsIconic(FHandle))
        ShowWindow(FHandle, SW_RESTORE);
}

void TApplication::SetTitle(const std::string& Value)
{
    if (Value == FTitle)
        return;
    FTitle = Value;
    if (FHandle != 0)
        SetWindowText(FHandle, Value);
}

void TApplication::SetHint(const std::string& Value)
{
    if (Value == FHint)
        return;
    FHint = Value;
    if (OnHint)
        OnHint(this);
}

void TApplication::SetShowHint(bool Value)
{
    if (Value == FShowHint)
        return;
    FShowHint = Value;
    if (!Value && HintHooks().CancelHint)
        HintHooks().CancelHint();
}

void TApplication::CancelHint()
{
    if (HintHooks().CancelHint)
        HintHooks().CancelHint();
    SetHint("");
}

void TApplication::ActivateHint(const TPoint& CursorPos)
{
    if (HintHooks().ActivateHint)
        HintHooks().ActivateHint(CursorPos);
}

void TApplication::HideHint()
{
    if (HintHooks().HideHint)
        HintHooks().HideHint();
}

void TApplication::NormalizeTopMosts()
{
    if (FTopMostLevel++ > 0 || FHandle == 0)
        return;
    FTopMostList.clear();
    EnumWindows([this](HWND Wnd) {
        if (Wnd != FHandle && GetWindow(Wnd, GW_OWNER) == FHandle && IsWindowVisible(Wnd) &&
            (GetWindowLong(Wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0)
            FTopMostList.push_back(Wnd);
        return true;
    });
    // Bottom first, so each one taken out of the topmost band lands above the one before.
    for (auto It = FTopMostList.rbegin(); It != FTopMostList.rend(); ++It)
        SetWindowPos(*It, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TApplication::RestoreTopMosts()
{
    if (FTopMostLevel == 0 || --FTopMostLevel > 0)
        return;
    for (auto It = FTopMostList.rbegin(); It != FTopMostList.rend(); ++It)
        if (IsWindow(*It))
            SetWindowPos(*It, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    FTopMostList.clear();
}

bool TApplication::HelpContext(int Context)
{
    return Context != 0 && HelpService().ShowContext(FHelpFile, Context);
}

std::string TApplication::ExeName() const
{
    return ExecutablePath();
}

LRESULT TApplication::WndProc(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    switch (Msg) {
    case WM_SIZE:
        if (WParam == SIZE_MINIMIZED && !FMinimized) {
            FMinimized = true;
            if (OnMinimize)
                OnMinimize(this);
        } else if (WParam != SIZE_MINIMIZED && FMinimized) {
            FMinimized = false;
            if (OnRestore)
                OnRestore(this);
        }
        return 0;
    case WM_SYSCOMMAND:
        switch (WParam & 0xFFF0) {
        case SC_MINIMIZE:
            Minimize();
            return 0;
        case SC_RESTORE:
            Restore();
            return 0;
        default:
            break;
        }
        break;
    case WM_CLOSE:
        Terminate();
        return 0;
    default:
        break;
    }
    return DefWindowProc(FHandle, Msg, WParam, LParam);
}
