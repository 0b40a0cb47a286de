#include "platform/ui/input.h"

#include "platform/rtl/clock.h"
#include "platform/rtl/strings.h"
#include "platform/ui/displaydriver.h"
#include "platform/ui/loopstate.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/window.h"

#include <cstdlib>
#include <cstring>
#include <deque>
#include <utility>

namespace {

struct TClick {
    HWND Wnd = 0;
    int Button = -1;
    std::uint32_t Time = 0;
    TPoint Pos;
};

struct TInputState {
    HWND Focus = 0;
    HWND Active = 0;
    HWND Capture = 0;
    bool AppActive = false;
    Byte AsyncKeys[256] = {};
    Byte SyncKeys[256] = {};
    UINT DoubleClickTime = 500;
    TPoint Cursor;
    TClick LastClick;
    // The text each key-down produced, by the serial in its message's ExtraInfo.
    std::deque<std::pair<std::uint32_t, std::string>> KeyTexts;
    std::uint32_t LastSerial = 0;
    int AltCode = 0;
    bool AltTyping = false;
};

TInputState& Input()
{
    static TInputState S;
    return S;
}

bool IsDown(const Byte* Keys, int VirtualKey)
{
    return (Keys[VirtualKey & 0xFF] & 0x80) != 0;
}

bool IsOwnWindow(HWND Wnd)
{
    return IsWindow(Wnd) && !IsForeignWindow(Wnd);
}

// Keeps the side-neutral key in step with its left and right keys.
void SetKey(Byte* Keys, int VirtualKey, bool Down, bool Toggle)
{
    auto Set = [&](int Vk) {
        if (Down) {
            if (Toggle && !(Keys[Vk] & 0x80))
                Keys[Vk] ^= 0x01;
            Keys[Vk] |= 0x80;
        } else {
            Keys[Vk] &= static_cast<Byte>(~0x80);
        }
    };
    Set(VirtualKey);
    auto Pair = [&](int Neutral, int Left, int Right) {
        if (VirtualKey == Neutral)
            Set(Left);
        else if (VirtualKey == Left || VirtualKey == Right) {
            const bool WasDown = (Keys[Neutral] & 0x80) != 0;
            Keys[Neutral] =
                static_cast<Byte>((Keys[Neutral] & 0x01) | ((Keys[Left] | Keys[Right]) & 0x80));
            if (Toggle && Down && !WasDown)
                Keys[Neutral] ^= 0x01;
        }
    };
    Pair(VK_SHIFT, VK_LSHIFT, VK_RSHIFT);
    Pair(VK_CONTROL, VK_LCONTROL, VK_RCONTROL);
    Pair(VK_MENU, VK_LMENU, VK_RMENU);
}

// The text a key gives without one from the keyboard (a US layout).
std::string DefaultKeyText(int Vk, bool Shift, bool Ctrl, bool Alt, bool Caps, bool NumLock)
{
    if (Ctrl && !Alt) {
        if (Vk >= 'A' && Vk <= 'Z')
            return std::string(1, static_cast<char>(Vk - 'A' + 1));
        switch (Vk) {
        case VK_BACK:
            return "\x7F";
        case VK_RETURN:
            return "\n";
        case VK_ESCAPE:
            return "\x1B";
        case VK_OEM_4:
            return "\x1B";
        case VK_OEM_5:
            return "\x1C";
        case VK_OEM_6:
            return "\x1D";
        default:
            return {};
        }
    }
    if (Ctrl)
        return {};
    if (Vk >= 'A' && Vk <= 'Z') {
        const bool Upper = Shift != Caps;
        return std::string(1, static_cast<char>(Upper ? Vk : Vk - 'A' + 'a'));
    }
    if (Vk >= '0' && Vk <= '9')
        return std::string(1, Shift ? ")!@#$%^&*("[Vk - '0'] : static_cast<char>(Vk));
    if (Vk >= VK_NUMPAD0 && Vk <= VK_NUMPAD9)
        return NumLock ? std::string(1, static_cast<char>('0' + Vk - VK_NUMPAD0)) : std::string();
    struct TOem {
        int Vk;
        char Plain, Shifted;
    };
    static const TOem Oem[] = {
        {VK_OEM_1, ';', ':'},     {VK_OEM_PLUS, '=', '+'},   {VK_OEM_COMMA, ',', '<'},
        {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},
        {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},      {VK_OEM_5, '\\', '|'},
        {VK_OEM_6, ']', '}'},     {VK_OEM_7, '\'', '"'}};
    for (const TOem& Key : Oem)
        if (Key.Vk == Vk)
            return std::string(1, Shift ? Key.Shifted : Key.Plain);
    switch (Vk) {
    case VK_BACK:
        return "\b";
    case VK_TAB:
        return "\t";
    case VK_RETURN:
        return "\r";
    case VK_ESCAPE:
        return "\x1B";
    case VK_SPACE:
        return " ";
    case VK_MULTIPLY:
        return "*";
    case VK_ADD:
        return "+";
    case VK_SUBTRACT:
        return "-";
    case VK_DIVIDE:
        return "/";
    case VK_DECIMAL:
        return NumLock ? "." : "";
    default:
        return {};
    }
}

std::string Utf8(int Code)
{
    const auto U = static_cast<unsigned>(Code);
    if ((U >= 0xD800 && U <= 0xDFFF) || U > 0x10FFFF)
        return {};
    std::string Out;
    AppendUtf8(Out, U);
    return Out;
}

void PostCharacters(const TMsg& Key, UINT Kind, const std::string& Text)
{
    std::vector<TMsg> Chars;
    for (unsigned char Byte : Text) {
        TMsg Char = Key;
        Char.message = Kind;
        Char.wParam = Byte;
        Char.ExtraInfo = 0;
        Chars.push_back(Char);
    }
    uiloop::PostFront(Chars);
}

WPARAM MouseKeyFlags()
{
    const Byte* Keys = Input().AsyncKeys;
    WPARAM Flags = 0;
    if (IsDown(Keys, VK_LBUTTON))
        Flags |= MK_LBUTTON;
    if (IsDown(Keys, VK_RBUTTON))
        Flags |= MK_RBUTTON;
    if (IsDown(Keys, VK_MBUTTON))
        Flags |= MK_MBUTTON;
    if (IsDown(Keys, VK_SHIFT))
        Flags |= MK_SHIFT;
    if (IsDown(Keys, VK_CONTROL))
        Flags |= MK_CONTROL;
    return Flags;
}

void PostMouse(HWND Target, UINT Msg, WPARAM WParam, LPARAM LParam, const TPoint& Screen)
{
    TMsg M;
    M.hwnd = Target;
    M.message = Msg;
    M.wParam = WParam;
    M.lParam = LParam;
    M.time = GetTickCount();
    M.pt = Screen;
    uiloop::PostInput(M);
}

// The window a mouse event at a screen point goes to, the point in its client coordinates, and
// the part of the window under it (WM_NCHITTEST; the capture window takes everything as client
// input).
HWND MouseTarget(HWND Wnd, int X, int Y, TPoint& Screen, TPoint& Client, int& HitCode)
{
    Screen = TPoint{X, Y};
    if (!ClientToScreen(Wnd, Screen))
        return 0;
    Input().Cursor = Screen;
    HitCode = HTCLIENT;
    HWND Target = Input().Capture;
    if (Target == 0) {
        Target = WindowFromPoint(Screen);
        if (Target == 0)
            return 0;
        HitCode =
            static_cast<int>(SendMessage(Target, WM_NCHITTEST, 0, MakeLParam(Screen.X, Screen.Y)));
        if (!IsWindow(Target))
            return 0;
    }
    Client = Screen;
    ScreenToClient(Target, Client);
    return Target;
}

// A mouse message over the non-client area: its WM_NC twin, the part in WParam and the screen
// point in LParam.
void PostMouseAt(HWND Target, UINT Msg, int HitCode, const TPoint& Screen, const TPoint& Client)
{
    if (HitCode == HTCLIENT)
        PostMouse(Target, Msg, MouseKeyFlags(), MakeLParam(Client.X, Client.Y), Screen);
    else
        PostMouse(Target, Msg - WM_MOUSEMOVE + WM_NCMOUSEMOVE, static_cast<WPARAM>(HitCode),
                  MakeLParam(Screen.X, Screen.Y), Screen);
}

void ActivateNextTopLevel(HWND Leaving)
{
    for (HWND Top : uiloop::TopLevelWindows())
        if (Top != Leaving && IsWindowVisible(Top) && !IsIconic(Top) && IsWindowEnabled(Top)) {
            SetActiveWindow(Top);
            return;
        }
    SetActiveWindow(0);
}

// The left or right key a side-neutral Shift, Ctrl or Alt is, by where the keyboard says it is.
int SideOfKey(int Vk, const TKeyScan& Scan)
{
    if (Vk == VK_SHIFT)
        return Scan.Code == ScanCodeOfVirtualKey(VK_RSHIFT).Code ? VK_RSHIFT : VK_LSHIFT;
    if (Vk == VK_CONTROL)
        return Scan.Extended ? VK_RCONTROL : VK_LCONTROL;
    if (Vk == VK_MENU)
        return Scan.Extended ? VK_RMENU : VK_LMENU;
    return Vk;
}

// The key a key message is about, the left or right one by the scan code it carries.
int KeyOfMessage(const TMsg& Msg)
{
    const auto Data = static_cast<std::uint32_t>(Msg.lParam);
    return SideOfKey(static_cast<int>(Msg.wParam & 0xFF),
                     TKeyScan{static_cast<int>((Data >> 16) & 0xFF), ((Data >> 24) & 1) != 0});
}

} // namespace

namespace uiloop {

void InputWindowHidden(HWND Wnd)
{
    auto& S = Input();
    if (S.Focus != 0 && (S.Focus == Wnd || IsChild(Wnd, S.Focus)))
        SetFocus(0);
    if (S.Capture != 0 && (S.Capture == Wnd || IsChild(Wnd, S.Capture)))
        ReleaseCapture();
    if (S.Active == Wnd)
        ActivateNextTopLevel(Wnd);
}

void InputWindowDestroyed(HWND Wnd)
{
    auto& S = Input();
    if (S.Focus == Wnd)
        S.Focus = 0;
    if (S.Capture == Wnd) {
        S.Capture = 0;
        DisplayDriver().SetNativeCapture(0);
    }
    if (S.Active == Wnd) {
        S.Active = 0;
        S.AppActive = false;
    }
    uiloop::CaretWindowDestroyed(Wnd);
    if (S.LastClick.Wnd == Wnd)
        S.LastClick = TClick();
}

void NoteMessageTaken(const TMsg& Msg)
{
    Byte* Keys = Input().SyncKeys;
    switch (Msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        SetKey(Keys, KeyOfMessage(Msg), true, true);
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        SetKey(Keys, KeyOfMessage(Msg), false, false);
        break;
    default:
        if (Msg.message >= WM_MOUSEFIRST && Msg.message <= WM_MOUSELAST &&
            Msg.message != WM_MOUSEWHEEL) {
            SetKey(Keys, VK_LBUTTON, (Msg.wParam & MK_LBUTTON) != 0, false);
            SetKey(Keys, VK_RBUTTON, (Msg.wParam & MK_RBUTTON) != 0, false);
            SetKey(Keys, VK_MBUTTON, (Msg.wParam & MK_MBUTTON) != 0, false);
        }
        break;
    }
}

TPoint CursorPos()
{
    return Input().Cursor;
}

} // namespace uiloop

HWND SetFocus(HWND Wnd)
{
    uiloop::CheckThread("SetFocus");
    auto& S = Input();
    const HWND Old = S.Focus;
    if (Wnd != 0 && !IsOwnWindow(Wnd))
        return 0;
    if (Wnd == Old)
        return Old;
    if (Wnd != 0) {
        const HWND Top = GetTopLevelWindow(Wnd);
        if (Top != S.Active)
            SetActiveWindow(Top);
        if (!IsWindow(Wnd))
            return Old;
    }
    const HWND Losing = S.Focus;
    if (Losing == Wnd)
        return Old;
    S.Focus = Wnd;
    if (Losing != 0 && IsWindow(Losing))
        SendMessage(Losing, WM_KILLFOCUS, Wnd, 0);
    if (Wnd != 0 && S.Focus == Wnd && IsWindow(Wnd))
        SendMessage(Wnd, WM_SETFOCUS, Losing, 0);
    return Old;
}

HWND GetFocus()
{
    return Input().Focus;
}

HWND SetActiveWindow(HWND Wnd)
{
    uiloop::CheckThread("SetActiveWindow");
    auto& S = Input();
    if (Wnd != 0) {
        if (!IsOwnWindow(Wnd))
            return 0;
        Wnd = GetTopLevelWindow(Wnd);
    }
    const HWND Old = S.Active;
    if (Wnd == Old)
        return Old;
    S.Active = Wnd;
    const bool WasAppActive = S.AppActive;
    S.AppActive = Wnd != 0;
    if (S.Focus != 0 && GetTopLevelWindow(S.Focus) != Wnd)
        SetFocus(0);
    if (Old != 0 && IsWindow(Old))
        SendMessage(Old, WM_ACTIVATE, WA_INACTIVE, static_cast<LPARAM>(Wnd));
    if (WasAppActive != S.AppActive)
        for (HWND Top : uiloop::TopLevelWindows())
            if (IsWindow(Top))
                SendMessage(Top, WM_ACTIVATEAPP, S.AppActive ? 1 : 0, 0);
    if (Wnd != 0 && S.Active == Wnd && IsWindow(Wnd)) {
        uiloop::MoveToFront(Wnd);
        SendMessage(Wnd, WM_ACTIVATE, WA_ACTIVE, static_cast<LPARAM>(Old));
    }
    return Old;
}

HWND GetActiveWindow()
{
    return Input().Active;
}

bool SetForegroundWindow(HWND Wnd)
{
    if (IsForeignWindow(Wnd))
        return uiloop::ForeignSetForeground(Wnd);
    uiloop::CheckThread("SetForegroundWindow");
    if (Wnd == GetDesktopWindow()) {
        SetActiveWindow(0);
        return true;
    }
    const HWND Top = GetTopLevelWindow(Wnd);
    if (Top == 0)
        return false;
    uiloop::MoveToFront(Top);
    DisplayDriver().RaiseNativeWindow(Top);
    SetActiveWindow(Top);
    return true;
}

HWND GetForegroundWindow()
{
    return Input().Active;
}

HWND SetCapture(HWND Wnd)
{
    uiloop::CheckThread("SetCapture");
    auto& S = Input();
    if (Wnd != 0 && !IsOwnWindow(Wnd))
        return 0;
    const HWND Old = S.Capture;
    S.Capture = Wnd;
    DisplayDriver().SetNativeCapture(Wnd != 0 ? GetTopLevelWindow(Wnd) : 0);
    if (Old != 0 && Old != Wnd && IsWindow(Old))
        SendMessage(Old, WM_CAPTURECHANGED, 0, static_cast<LPARAM>(Wnd));
    return Old;
}

bool ReleaseCapture()
{
    uiloop::CheckThread("ReleaseCapture");
    auto& S = Input();
    const HWND Old = S.Capture;
    S.Capture = 0;
    if (Old != 0)
        DisplayDriver().SetNativeCapture(0);
    if (Old != 0 && IsWindow(Old))
        SendMessage(Old, WM_CAPTURECHANGED, 0, 0);
    return true;
}

HWND GetCapture()
{
    return Input().Capture;
}

static short KeyStateWord(Byte State)
{
    return static_cast<short>(
        static_cast<std::uint16_t>(((State & 0x80) ? 0x8000 : 0) | (State & 0x01)));
}

short GetKeyState(int VirtualKey)
{
    return KeyStateWord(Input().SyncKeys[VirtualKey & 0xFF]);
}

short GetAsyncKeyState(int VirtualKey)
{
    return KeyStateWord(Input().AsyncKeys[VirtualKey & 0xFF] & 0x80);
}

bool GetKeyboardState(Byte* KeyState)
{
    if (KeyState == nullptr)
        return false;
    std::memcpy(KeyState, Input().SyncKeys, 256);
    return true;
}

bool SetKeyboardState(const Byte* KeyState)
{
    if (KeyState == nullptr)
        return false;
    std::memcpy(Input().SyncKeys, KeyState, 256);
    return true;
}

bool TranslateMessage(const TMsg& Msg)
{
    auto& S = Input();
    const int Vk = static_cast<int>(Msg.wParam & 0xFF);
    if (Msg.message == WM_KEYUP || Msg.message == WM_SYSKEYUP) {
        if ((Vk == VK_MENU || Vk == VK_LMENU || Vk == VK_RMENU) && S.AltTyping) {
            const int Code = S.AltCode;
            S.AltTyping = false;
            S.AltCode = 0;
            const std::string Text = Code > 0 ? Utf8(Code) : std::string();
            if (Text.empty())
                return false;
            PostCharacters(Msg, WM_CHAR, Text);
            return true;
        }
        return false;
    }
    if (Msg.message != WM_KEYDOWN && Msg.message != WM_SYSKEYDOWN)
        return false;

    const bool Alt = GetKeyState(VK_MENU) < 0;
    const bool Ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool Shift = GetKeyState(VK_SHIFT) < 0;
    if (Vk == VK_MENU || Vk == VK_LMENU || Vk == VK_RMENU) {
        S.AltTyping = false;
        S.AltCode = 0;
        return false;
    }
    if (Alt && !Ctrl && Vk >= VK_NUMPAD0 && Vk <= VK_NUMPAD9) {
        S.AltTyping = true;
        if (S.AltCode <= 0x10FFFF)
            S.AltCode = S.AltCode * 10 + (Vk - VK_NUMPAD0);
        return false;
    }

    std::string Text;
    bool FromKeyboard = false;
    if (Msg.ExtraInfo != 0) {
        for (auto It = S.KeyTexts.begin(); It != S.KeyTexts.end(); ++It) {
            if (It->first == Msg.ExtraInfo) {
                Text = It->second;
                FromKeyboard = true;
                S.KeyTexts.erase(It);
                break;
            }
        }
    }
    if (!FromKeyboard)
        Text = DefaultKeyText(Vk, Shift, Ctrl, Alt, (GetKeyState(VK_CAPITAL) & 1) != 0,
                              (GetKeyState(VK_NUMLOCK) & 1) != 0);
    if (Text.empty())
        return false;
    PostCharacters(Msg, Msg.message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR, Text);
    return true;
}

UINT GetDoubleClickTime()
{
    return Input().DoubleClickTime;
}

bool SetDoubleClickTime(UINT Milliseconds)
{
    Input().DoubleClickTime = Milliseconds != 0 ? Milliseconds : 500;
    return true;
}

TPoint GetCursorPos()
{
    // The display knows where the pointer is also when it is over no window of ours.
    TPoint Where;
    if (DisplayDriver().QueryPointer(Where))
        return Where;
    return Input().Cursor;
}

static void InjectKey(int VirtualKey, bool Down, const std::string& Text, const TKeyScan& Scan)
{
    uiloop::CheckThread("InjectKey");
    auto& S = Input();
    const int Vk = VirtualKey & 0xFF;
    const int Side = SideOfKey(Vk, Scan);
    const bool WasDown = IsDown(S.AsyncKeys, Side);
    SetKey(S.AsyncKeys, Side, Down, true);
    const bool Alt = IsDown(S.AsyncKeys, VK_MENU);
    const bool Ctrl = IsDown(S.AsyncKeys, VK_CONTROL);
    const bool IsAltKey = Vk == VK_MENU || Vk == VK_LMENU || Vk == VK_RMENU;
    const bool System = (Alt && !Ctrl) || Vk == VK_F10 || (IsAltKey && !Ctrl);
    const HWND Target = S.Focus != 0 ? S.Focus : S.Active;
    if (Target == 0)
        return;
    std::uint32_t Data = 1u | (static_cast<std::uint32_t>(Scan.Code & 0xFF) << 16);
    if (Scan.Extended)
        Data |= 1u << 24;
    if (Alt && !Ctrl)
        Data |= 1u << 29;
    if (Down ? WasDown : true)
        Data |= 1u << 30;
    if (!Down)
        Data |= 1u << 31;

    TMsg M;
    M.hwnd = Target;
    M.message = Down ? (System ? WM_SYSKEYDOWN : WM_KEYDOWN) : (System ? WM_SYSKEYUP : WM_KEYUP);
    M.wParam = static_cast<WPARAM>(Vk);
    M.lParam = static_cast<LPARAM>(static_cast<std::int32_t>(Data));
    M.time = GetTickCount();
    M.pt = S.Cursor;
    if (Down && !Text.empty()) {
        M.ExtraInfo = ++S.LastSerial == 0 ? ++S.LastSerial : S.LastSerial;
        S.KeyTexts.emplace_back(M.ExtraInfo, Text);
        // Keys nobody translated must not pile up.
        while (S.KeyTexts.size() > 256)
            S.KeyTexts.pop_front();
    }
    uiloop::PostInput(M);
}

void InjectKeyDown(int VirtualKey, const std::string& Text)
{
    InjectKey(VirtualKey, true, Text, ScanCodeOfVirtualKey(VirtualKey));
}

void InjectKeyDown(int VirtualKey, const std::string& Text, const TKeyScan& Scan)
{
    InjectKey(VirtualKey, true, Text, Scan);
}

void InjectKeyUp(int VirtualKey)
{
    InjectKey(VirtualKey, false, {}, ScanCodeOfVirtualKey(VirtualKey));
}

void InjectKeyUp(int VirtualKey, const TKeyScan& Scan)
{
    InjectKey(VirtualKey, false, {}, Scan);
}

void InjectKeyPress(int VirtualKey, const std::string& Text)
{
    InjectKeyDown(VirtualKey, Text);
    InjectKeyUp(VirtualKey);
}

void InjectMouseMove(HWND Wnd, int X, int Y)
{
    uiloop::CheckThread("InjectMouseMove");
    TPoint Screen, Client;
    int HitCode = HTCLIENT;
    const HWND Target = MouseTarget(Wnd, X, Y, Screen, Client, HitCode);
    if (Target == 0)
        return;
    uiloop::SendSetCursor(Target, HitCode, WM_MOUSEMOVE);
    PostMouseAt(Target, WM_MOUSEMOVE, HitCode, Screen, Client);
}

void InjectMouseButton(HWND Wnd, int Button, bool Down, int X, int Y)
{
    uiloop::CheckThread("InjectMouseButton");
    if (Button < 0 || Button > 2)
        return;
    static const int Keys[] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};
    static const UINT DownMsgs[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    static const UINT UpMsgs[] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
    static const UINT DblMsgs[] = {WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK};
    auto& S = Input();
    SetKey(S.AsyncKeys, Keys[Button], Down, false);
    TPoint Screen, Client;
    int HitCode = HTCLIENT;
    const HWND Target = MouseTarget(Wnd, X, Y, Screen, Client, HitCode);
    if (Target == 0)
        return;
    UINT Msg = Down ? DownMsgs[Button] : UpMsgs[Button];
    if (Down) {
        const std::uint32_t Now = GetTickCount();
        const TClick& Last = S.LastClick;
        // The frame takes double clicks whatever the class says.
        const bool Double =
            (HitCode != HTCLIENT || uiloop::ClassHasDoubleClicks(Target)) && Last.Wnd == Target &&
            Last.Button == Button && Now - Last.Time <= S.DoubleClickTime &&
            std::abs(Screen.X - Last.Pos.X) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
            std::abs(Screen.Y - Last.Pos.Y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
        if (Double) {
            Msg = DblMsgs[Button];
            S.LastClick = TClick();
        } else {
            S.LastClick = TClick{Target, Button, Now, Screen};
        }
        // A window that answers WM_MOUSEACTIVATE with a no-activate code (a drop-down list, a
        // menu) takes the press and leaves the activation and the focus where they are.
        const HWND Top = GetTopLevelWindow(Target);
        if (Top != S.Active) {
            const LRESULT Answer = SendMessage(Target, WM_MOUSEACTIVATE, static_cast<WPARAM>(Top),
                                               MakeLParam(HTCLIENT, static_cast<int>(Msg)));
            if (Answer != MA_NOACTIVATE && Answer != MA_NOACTIVATEANDEAT)
                SetActiveWindow(Top);
        }
        uiloop::SendSetCursor(Target, HitCode, Msg);
    }
    PostMouseAt(Target, Msg, HitCode, Screen, Client);
}

void InjectMouseWheel(HWND Wnd, int Delta, int X, int Y)
{
    uiloop::CheckThread("InjectMouseWheel");
    TPoint Screen{X, Y};
    if (!ClientToScreen(Wnd, Screen))
        return;
    Input().Cursor = Screen;
    const HWND Target = Input().Focus != 0 ? Input().Focus : WindowFromPoint(Screen);
    if (Target == 0)
        return;
    const WPARAM WParam = MakeWParam(static_cast<unsigned>(MouseKeyFlags()),
                                     static_cast<unsigned>(static_cast<std::uint16_t>(Delta)));
    PostMouse(Target, WM_MOUSEWHEEL, WParam, MakeLParam(Screen.X, Screen.Y), Screen);
}
