#include "tests/platform/ui/uitest.h"

#include "platform/ui/displaydriver.h"
#include "platform/ui/headless/headlessdriver.h"
#include "platform/ui/input.h"
#include "platform/ui/queue.h"

#include <gtest/gtest.h>

namespace {

// A class whose procedure records from the very first message.
struct TLog {
    std::vector<std::pair<HWND, UINT>> Entries;
    TCreateStruct Create;
};
TLog* CurrentLog = nullptr;

LRESULT LoggingProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (CurrentLog != nullptr) {
        CurrentLog->Entries.emplace_back(Wnd, Msg);
        if (Msg == WM_CREATE)
            CurrentLog->Create = *reinterpret_cast<const TCreateStruct*>(LParam);
    }
    return DefWindowProc(Wnd, Msg, WParam, LParam);
}

void RegisterLoggingClass()
{
    TWndClass Class;
    Class.ClassName = "TLoggingWindow";
    Class.WndProc = LoggingProc;
    RegisterClass(Class);
}

} // namespace

TEST(Windows, CreationAndDestructionSendTheirMessagesInOrder)
{
    RegisterLoggingClass();
    TLog Log;
    CurrentLog = &Log;
    const HWND Parent =
        CreateWindowEx(0, "tloggingwindow", "Main", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200, 0, 1234);
    ASSERT_NE(Parent, 0u);
    EXPECT_EQ(Log.Create.CreateParams, 1234);
    EXPECT_EQ(Log.Create.WindowName, "Main");
    EXPECT_EQ(Log.Create.Width, 300);
    const HWND Child =
        CreateWindowEx(0, "TLoggingWindow", "", WS_CHILD | WS_VISIBLE, 5, 5, 50, 20, Parent);
    ASSERT_NE(Child, 0u);
    EXPECT_EQ(GetParent(Child), Parent);
    const std::vector<std::pair<HWND, UINT>> Created = {
        {Parent, WM_NCCREATE},  {Parent, WM_NCCALCSIZE}, {Parent, WM_CREATE},
        {Parent, WM_SIZE},      {Parent, WM_MOVE},       {Child, WM_NCCREATE},
        {Child, WM_NCCALCSIZE}, {Child, WM_CREATE},      {Child, WM_SIZE},
        {Child, WM_MOVE},       {Child, WM_SHOWWINDOW},  {Child, WM_WINDOWPOSCHANGED}};
    EXPECT_EQ(Log.Entries, Created);

    Log.Entries.clear();
    EXPECT_TRUE(DestroyWindow(Parent));
    const std::vector<std::pair<HWND, UINT>> Destroyed = {
        {Parent, WM_DESTROY}, {Child, WM_DESTROY}, {Child, WM_NCDESTROY}, {Parent, WM_NCDESTROY}};
    EXPECT_EQ(Log.Entries, Destroyed);
    EXPECT_FALSE(IsWindow(Parent));
    EXPECT_FALSE(IsWindow(Child));
    EXPECT_FALSE(DestroyWindow(Parent));
    CurrentLog = nullptr;

    // Handles are not given again.
    TRecordingWindow Next;
    EXPECT_GT(Next.Handle, Child);
}

TEST(Windows, CreationFailsCleanlyOnBadInput)
{
    const int Before = WindowCount();
    EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, 0), 0u);
    EXPECT_EQ(CreateWindowEx(0, "TLoggingWindow", "", WS_CHILD, 0, 0, 1, 1, 0), 0u);
    TWndClass Refusing;
    Refusing.ClassName = "TRefusing";
    Refusing.WndProc = [](HWND Wnd, UINT Msg, WPARAM W, LPARAM L) -> LRESULT {
        return Msg == WM_CREATE ? -1 : DefWindowProc(Wnd, Msg, W, L);
    };
    RegisterClass(Refusing);
    EXPECT_EQ(CreateWindowEx(0, "TRefusing", "", WS_POPUP, 0, 0, 1, 1, 0), 0u);
    EXPECT_FALSE(RegisterClass(TWndClass{"trefusing", 0, {}})); // taken, in any case
    EXPECT_EQ(WindowCount(), Before);
}

TEST(Windows, SubclassingChainsProceduresAndDefaultCloseDestroys)
{
    TRecordingWindow Window;
    std::vector<std::string> Trace;
    TWndProc Previous;
    Previous = SetWindowProc(Window.Handle, [&](HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
        if (Msg == WM_USER)
            Trace.push_back("outer");
        return CallWindowProc(Previous, Wnd, Msg, W, L);
    });
    Window.OnMessage = [&](HWND Wnd, UINT Msg, WPARAM W, LPARAM L) -> LRESULT {
        if (Msg == WM_USER)
            Trace.push_back("inner");
        return DefWindowProc(Wnd, Msg, W, L);
    };
    SendMessage(Window.Handle, WM_USER, 0, 0);
    EXPECT_EQ(Trace, (std::vector<std::string>{"outer", "inner"}));

    // The same chain through GWL_WNDPROC.
    const LONG_PTR Token = GetWindowLong(Window.Handle, GWL_WNDPROC);
    TWndProc Third = [&](HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
        if (Msg == WM_USER)
            Trace.push_back("third");
        return CallWindowProc(Token, Wnd, Msg, W, L);
    };
    EXPECT_EQ(SetWindowLong(Window.Handle, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&Third)), Token);
    Trace.clear();
    SendMessage(Window.Handle, WM_USER, 0, 0);
    EXPECT_EQ(Trace, (std::vector<std::string>{"third", "outer", "inner"}));

    SendMessage(Window.Handle, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(Window.Handle));
}

TEST(Windows, LongsTextAndPlacement)
{
    TRecordingWindow Parent(WS_POPUP);
    TRecordingWindow Child(WS_CHILD, Parent.Handle);
    SetWindowLong(Child.Handle, GWL_USERDATA, 99);
    EXPECT_EQ(GetWindowLong(Child.Handle, GWL_USERDATA), 99);
    EXPECT_TRUE(GetWindowLong(Child.Handle, GWL_STYLE) & WS_CHILD);

    EXPECT_TRUE(SetWindowText(Child.Handle, "Grüße"));
    EXPECT_EQ(GetWindowText(Child.Handle), "Grüße");
    EXPECT_EQ(GetWindowTextLength(Child.Handle), 7);

    MoveWindow(Parent.Handle, 100, 50, 400, 300);
    Child.Messages.clear();
    SetWindowPos(Child.Handle, 0, 10, 20, 30, 40, SWP_NOZORDER | SWP_NOACTIVATE);
    const auto Moves = Child.Only({WM_MOVE, WM_SIZE});
    ASSERT_EQ(Moves.size(), 2u);
    EXPECT_EQ(Moves[0].LParam, MakeLParam(10, 20));
    EXPECT_EQ(Moves[1].LParam, MakeLParam(30, 40));
    TRect R;
    GetWindowRect(Child.Handle, R);
    EXPECT_EQ(R, Rect(110, 70, 140, 110));
    GetClientRect(Child.Handle, R);
    EXPECT_EQ(R, Rect(0, 0, 30, 40));

    Child.Messages.clear();
    EXPECT_FALSE(EnableWindow(Child.Handle, false));
    EXPECT_TRUE(EnableWindow(Child.Handle, false));
    EXPECT_FALSE(IsWindowEnabled(Child.Handle));
    ASSERT_EQ(Child.Only({WM_ENABLE}).size(), 1u);
    EXPECT_EQ(Child.Only({WM_ENABLE})[0].WParam, 0u);
}

TEST(Windows, ShowingTopLevelWindowsReachesTheDriver)
{
    auto& Driver = dynamic_cast<THeadlessDriver&>(DisplayDriver());
    TRecordingWindow Top(WS_OVERLAPPEDWINDOW, 0, "TRecordingWindow", "Top");
    TRecordingWindow Child(WS_CHILD, Top.Handle);
    ASSERT_NE(Driver.Find(Top.Handle), nullptr);
    EXPECT_EQ(Driver.Find(Child.Handle), nullptr); // child windows are not native
    EXPECT_EQ(Driver.Find(Top.Handle)->Caption, "Top");

    EXPECT_FALSE(ShowWindow(Top.Handle, SW_SHOWNORMAL));
    EXPECT_EQ(Driver.Find(Top.Handle)->Show, TNativeShow::Normal);
    EXPECT_EQ(GetActiveWindow(), Top.Handle);
    ASSERT_EQ(Top.Only({WM_SHOWWINDOW}).size(), 1u);
    EXPECT_EQ(Top.Only({WM_SHOWWINDOW})[0].WParam, 1u);

    Top.Messages.clear();
    ShowWindow(Top.Handle, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(Top.Handle));
    EXPECT_EQ(Driver.Find(Top.Handle)->Show, TNativeShow::Minimized);
    ASSERT_EQ(Top.Only({WM_SIZE}).size(), 1u);
    EXPECT_EQ(Top.Only({WM_SIZE})[0].WParam, static_cast<WPARAM>(SIZE_MINIMIZED));

    EXPECT_TRUE(ShowWindow(Top.Handle, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(Top.Handle));
    EXPECT_EQ(Driver.Find(Top.Handle)->Show, TNativeShow::Hidden);

    // Parking under another window makes it a child: no native window any more.
    TRecordingWindow Owner(WS_POPUP);
    SetParent(Top.Handle, Owner.Handle);
    EXPECT_EQ(Driver.Find(Top.Handle), nullptr);
    EXPECT_EQ(SetParent(Top.Handle, 0), Owner.Handle);
    ASSERT_NE(Driver.Find(Top.Handle), nullptr);
}

TEST(Windows, FindWindowMatchesTopLevelClassAndCaption)
{
    TRecordingWindow Target(WS_POPUP, 0, "TFindMe", "Spam Filter");
    TRecordingWindow Other(WS_POPUP, 0, "TFindMe", "Other");
    struct TCase {
        const char* ClassName;
        const char* Caption;
        HWND Expected;
    };
    const std::vector<TCase> Cases = {
        {"TFindMe", "Spam Filter", Target.Handle},
        {"tfindme", "spam filter", Target.Handle},
        {nullptr, "Other", Other.Handle},
        {"TFindMe", "Nothing", 0},
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(FindWindow(Case.ClassName, Case.Caption), Case.Expected)
            << (Case.Caption ? Case.Caption : "");

    int Seen = 0;
    EnumWindows([&](HWND Wnd) {
        Seen += Wnd == Target.Handle || Wnd == Other.Handle;
        return true;
    });
    EXPECT_EQ(Seen, 2);

    // A window parked under another is a child and is not found.
    TRecordingWindow Owner(WS_POPUP);
    SetParent(Target.Handle, Owner.Handle);
    EXPECT_EQ(FindWindow("TFindMe", "Spam Filter"), 0u);
}

TEST(Windows, UtilityWindowsCallTheirMethod)
{
    int Seen = 0;
    const HWND Wnd = AllocateHWnd([&](TMessage& Message) {
        if (Message.Msg == WM_USER + 7) {
            ++Seen;
            Message.Result = 5;
        }
    });
    ASSERT_NE(Wnd, 0u);
    EXPECT_FALSE(IsWindowVisible(Wnd));
    EXPECT_EQ(SendMessage(Wnd, WM_USER + 7, 0, 0), 5);
    PostMessage(Wnd, WM_USER + 7, 0, 0);
    PumpPending();
    EXPECT_EQ(Seen, 2);
    DeallocateHWnd(Wnd);
    EXPECT_FALSE(IsWindow(Wnd));
}
