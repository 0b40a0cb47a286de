#include "platform/stdctrls/updownwindow.h"

#include "platform/gfx/canvas.h"
#include "platform/rtl/clock.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/formatsettings.h"
#include "platform/stdctrls/controlclass.h"
#include "platform/stdctrls/controlpaint.h"
#include "platform/ui/input.h"
#include "platform/ui/paint.h"
#include "platform/ui/queue.h"
#include "platform/ui/timers.h"
#include "platform/ui/window.h"
#include "platform/ui/windowdc.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

constexpr std::uintptr_t RepeatTimer = 1;

enum TArrow { NoArrow, UpArrow, DownArrow };

struct TUpDownWindow {
    explicit TUpDownWindow(HWND AWnd) : Wnd(AWnd) {}

    HWND Wnd;
    int Min = 0;
    int Max = 100;
    int Pos = 0;
    int Base = 10;
    HWND Buddy = 0;
    std::vector<UDACCEL> Accel{{0, 1}, {2, 5}, {5, 20}};
    TArrow Held = NoArrow;    // the arrow the mouse went down on
    bool Over = false;        // the pointer is on the held arrow
    TArrow KeyHeld = NoArrow; // the buddy's Up or Down key is down
    std::uint32_t HeldSince = 0;
    bool Repeating = false;

    DWORD Style() const { return static_cast<DWORD>(GetWindowLong(Wnd, GWL_STYLE)); }
    bool Has(DWORD Bits) const { return (Style() & Bits) != 0; }
    int Lower() const { return std::min(Min, Max); }
    int Upper() const { return std::max(Min, Max); }

    std::string Text() const;
    bool ReadBuddy();
    void WriteBuddy();
    void SetBuddy(HWND Value);
    int Increment() const;
    void Step(TArrow Arrow, int Increment);
    TArrow ArrowAt(TPoint P) const;
    TRect ArrowRect(TArrow Arrow) const;
    void Release();
    void Paint(TCanvas* C);
    LRESULT Handle(UINT Msg, WPARAM WParam, LPARAM LParam);
};

TWindowStates<TUpDownWindow>& UpDowns()
{
    static TWindowStates<TUpDownWindow> States;
    return States;
}

// The up-down each buddy window belongs to, and the buddies whose procedure is already ours
// (a buddy keeps that procedure while it lives; it hands keys on once it has no up-down).
std::unordered_map<HWND, HWND>& BuddyOwners()
{
    static std::unordered_map<HWND, HWND> Map;
    return Map;
}

std::unordered_set<HWND>& SubclassedBuddies()
{
    static std::unordered_set<HWND> Set;
    return Set;
}

std::string Grouped(long long Value, bool Thousands)
{
    std::string Digits = std::to_string(Value < 0 ? -Value : Value);
    if (Thousands && FormatSettings.ThousandSeparator != '\0')
        for (int At = static_cast<int>(Digits.size()) - 3; At > 0; At -= 3)
            Digits.insert(static_cast<std::size_t>(At), 1, FormatSettings.ThousandSeparator);
    return Value < 0 ? "-" + Digits : Digits;
}

// The buddy's text as a number in Base: separators and spaces left out; false when it is none.
bool ParseNumber(const std::string& Text, int Base, long long& Value)
{
    std::string Clean;
    for (const char Ch : Text)
        if (Ch != ' ' && Ch != FormatSettings.ThousandSeparator)
            Clean += Ch;
    if (Base == 16 && Clean.size() > 2 && Clean[0] == '0' && (Clean[1] == 'x' || Clean[1] == 'X'))
        Clean.erase(0, 2);
    if (Clean.empty())
        return false;
    errno = 0;
    char* End = nullptr;
    Value = std::strtoll(Clean.c_str(), &End, Base);
    return errno == 0 && End != nullptr && *End == '\0';
}

std::string TUpDownWindow::Text() const
{
    if (Base == 16)
        return "0x" + IntToHex(static_cast<unsigned>(Pos), 4);
    return Grouped(Pos, !Has(UDS_NOTHOUSANDS));
}

// A number typed in the buddy becomes the position (kept within the range) before a step.
bool TUpDownWindow::ReadBuddy()
{
    if (Buddy == 0 || !Has(UDS_SETBUDDYINT))
        return true;
    long long Value = 0;
    if (!ParseNumber(GetWindowText(Buddy), Base, Value))
        return false;
    Pos = static_cast<int>(std::clamp<long long>(Value, Lower(), Upper()));
    return true;
}

void TUpDownWindow::WriteBuddy()
{
    if (Buddy != 0 && Has(UDS_SETBUDDYINT))
        SetWindowText(Buddy, Text());
}

LRESULT BuddyProc(const TWndProc& Old, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

void TUpDownWindow::SetBuddy(HWND Value)
{
    if (Value != 0 && Value == Buddy) {
        WriteBuddy(); // already in its place
        return;
    }
    if (Buddy != 0)
        BuddyOwners().erase(Buddy);
    Buddy = IsWindow(Value) ? Value : 0;
    if (Buddy == 0)
        return;
    BuddyOwners()[Buddy] = Wnd;
    if (SubclassedBuddies().insert(Buddy).second) {
        auto Old = std::make_shared<TWndProc>();
        *Old = SetWindowProc(Buddy, [Old](HWND W, UINT M, WPARAM WP, LPARAM LP) {
            return BuddyProc(*Old, W, M, WP, LP);
        });
    }
    // Beside the buddy, which gives up the room; each is placed in its own parent's coordinates.
    if (Has(UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) {
        TRect B, Own;
        GetWindowRect(Buddy, B);
        GetWindowRect(Wnd, Own);
        const int W = Own.Width();
        const int BuddyWidth = std::max(0, B.Width() - W);
        const bool Left = Has(UDS_ALIGNLEFT);
        auto Place = [](HWND Window, TPoint Screen, int Width, int Height) {
            if (const HWND Parent = GetParent(Window))
                ScreenToClient(Parent, Screen);
            SetWindowPos(Window, 0, Screen.X, Screen.Y, Width, Height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        };
        Place(Buddy, TPoint{Left ? B.Left + W : B.Left, B.Top}, BuddyWidth, B.Height());
        Place(Wnd, TPoint{Left ? B.Left : B.Left + BuddyWidth, B.Top}, W, B.Height());
    }
    WriteBuddy();
}

// The acceleration table's step for how long the arrow has been held.
int TUpDownWindow::Increment() const
{
    const std::uint32_t Seconds = (GetTickCount() - HeldSince) / 1000;
    int Inc = Accel.empty() ? 1 : static_cast<int>(Accel.front().nInc);
    for (const UDACCEL& A : Accel)
        if (A.nSec <= Seconds)
            Inc = static_cast<int>(A.nInc);
    return Inc;
}

void TUpDownWindow::Step(TArrow Arrow, int Inc)
{
    const HWND Self = Wnd;
    ReadBuddy();
    // The up arrow goes towards Max, also when Max is the smaller end.
    const int Towards = Max >= Min ? 1 : -1;
    NMUPDOWN Request;
    Request.iPos = Pos;
    Request.iDelta = (Arrow == UpArrow ? Inc : -Inc) * Towards;
    if (SendNotify(Wnd, UDN_DELTAPOS, Request.hdr) != 0 || UpDowns().Find(Self) != this)
        return;
    long long Next = static_cast<long long>(Pos) + Request.iDelta;
    if (Next > Upper())
        Next = Has(UDS_WRAP) ? Lower() : Upper();
    else if (Next < Lower())
        Next = Has(UDS_WRAP) ? Upper() : Lower();
    if (Next == Pos)
        return;
    Pos = static_cast<int>(Next);
    WriteBuddy();
    if (const HWND Parent = GetParent(Wnd))
        SendMessage(Parent, Has(UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL,
                    MakeWParam(SB_THUMBPOSITION, static_cast<unsigned>(Pos)),
                    static_cast<LPARAM>(Wnd));
}

TRect TUpDownWindow::ArrowRect(TArrow Arrow) const
{
    TRect Client;
    GetClientRect(Wnd, Client);
    if (Has(UDS_HORZ)) {
        const int Mid = Client.Width() / 2;
        return Arrow == UpArrow ? Rect(Mid, 0, Client.Width(), Client.Height())
                                : Rect(0, 0, Mid, Client.Height());
    }
    const int Mid = Client.Height() / 2;
    return Arrow == UpArrow ? Rect(0, 0, Client.Width(), Mid)
                            : Rect(0, Mid, Client.Width(), Client.Height());
}

TArrow TUpDownWindow::ArrowAt(TPoint P) const
{
    if (PtInRect(ArrowRect(UpArrow), P))
        return UpArrow;
    if (PtInRect(ArrowRect(DownArrow), P))
        return DownArrow;
    return NoArrow;
}

void TUpDownWindow::Release()
{
    KillTimer(Wnd, RepeatTimer);
    const bool Was = Held != NoArrow;
    Held = NoArrow;
    Over = false;
    Repeating = false;
    if (GetCapture() == Wnd)
        ReleaseCapture();
    InvalidateRect(Wnd, nullptr, false);
    if (Was)
        if (const HWND Parent = GetParent(Wnd))
            SendMessage(Parent, Has(UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL,
                        MakeWParam(SB_ENDSCROLL, static_cast<unsigned>(Pos)),
                        static_cast<LPARAM>(Wnd));
}

void TUpDownWindow::Paint(TCanvas* C)
{
    const bool Enabled = IsWindowEnabled(Wnd);
    for (const TArrow Arrow : {UpArrow, DownArrow}) {
        unsigned State = Has(UDS_HORZ) ? (Arrow == UpArrow ? DFCS_SCROLLRIGHT : DFCS_SCROLLLEFT)
                                       : (Arrow == UpArrow ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
        if ((Held == Arrow && Over) || KeyHeld == Arrow)
            State |= DFCS_PUSHED;
        if (!Enabled)
            State |= DFCS_INACTIVE;
        C->DrawFrameControl(ArrowRect(Arrow), DFC_SCROLL, State);
    }
}

LRESULT TUpDownWindow::Handle(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    switch (Msg) {
    case WM_PAINT:
        return HandlePaint(Wnd, WParam, [this](HDC DC) { Paint(DC); });
    case WM_ERASEBKGND:
        return 1;
    case WM_ENABLE:
        if (WParam == 0)
            Release();
        InvalidateRect(Wnd, nullptr, false);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const TArrow Arrow = ArrowAt(TPoint{GetXLParam(LParam), GetYLParam(LParam)});
        if (Arrow == NoArrow || Held != NoArrow)
            return 0;
        const HWND Self = Wnd;
        if (Buddy != 0 && GetFocus() != Buddy)
            SetFocus(Buddy);
        if (UpDowns().Find(Self) != this)
            return 0;
        Held = Arrow;
        Over = true;
        Repeating = false;
        HeldSince = GetTickCount();
        SetCapture(Wnd);
        InvalidateRect(Wnd, nullptr, false);
        Step(Arrow, Increment());
        if (UpDowns().Find(Self) == this && Held != NoArrow)
            SetTimer(Wnd, RepeatTimer, UpDownFirstDelay);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (Held != NoArrow) {
            const bool Now =
                PtInRect(ArrowRect(Held), TPoint{GetXLParam(LParam), GetYLParam(LParam)});
            if (Now != Over) {
                Over = Now;
                InvalidateRect(Wnd, nullptr, false);
            }
        }
        return 0;
    case WM_LBUTTONUP:
        if (Held != NoArrow)
            Release();
        return 0;
    case WM_CAPTURECHANGED:
        if (Held != NoArrow && static_cast<HWND>(LParam) != Wnd)
            Release();
        return 0;
    case WM_TIMER:
        if (WParam != RepeatTimer || Held == NoArrow)
            return 0;
        if (!Repeating) {
            Repeating = true;
            SetTimer(Wnd, RepeatTimer, UpDownRepeatDelay);
        }
        if (Over)
            Step(Held, Increment());
        return 0;
    case UDM_SETBUDDY: {
        const HWND Old = Buddy;
        SetBuddy(static_cast<HWND>(WParam));
        return static_cast<LRESULT>(Old);
    }
    case UDM_GETBUDDY:
        return static_cast<LRESULT>(Buddy);
    case UDM_SETACCEL: {
        const auto* Table = reinterpret_cast<const UDACCEL*>(LParam);
        if (Table == nullptr || WParam == 0)
            return 0;
        Accel.assign(Table, Table + WParam);
        std::stable_sort(Accel.begin(), Accel.end(),
                         [](const UDACCEL& A, const UDACCEL& B) { return A.nSec < B.nSec; });
        return 1;
    }
    case UDM_GETACCEL: {
        if (auto* Table = reinterpret_cast<UDACCEL*>(LParam))
            std::copy_n(Accel.begin(), std::min<std::size_t>(WParam, Accel.size()), Table);
        return static_cast<LRESULT>(Accel.size());
    }
    case UDM_SETBASE: {
        if (WParam != 10 && WParam != 16)
            return 0;
        const int Old = Base;
        Base = static_cast<int>(WParam);
        WriteBuddy();
        return Old;
    }
    case UDM_GETBASE:
        return Base;
    case UDM_SETRANGE32:
        Min = static_cast<int>(static_cast<LPARAM>(WParam));
        Max = static_cast<int>(LParam);
        Pos = std::clamp(Pos, Lower(), Upper());
        return 0;
    case UDM_GETRANGE32:
        if (auto* Lo = reinterpret_cast<int*>(WParam))
            *Lo = Min;
        if (auto* Hi = reinterpret_cast<int*>(LParam))
            *Hi = Max;
        return 0;
    case UDM_SETPOS32: {
        const int Old = Pos;
        Pos = std::clamp(static_cast<int>(LParam), Lower(), Upper());
        WriteBuddy();
        return Old;
    }
    case UDM_GETPOS32: {
        const bool Ok = ReadBuddy();
        if (auto* Error = reinterpret_cast<bool*>(LParam))
            *Error = !Ok;
        return Pos;
    }
    default:
        break;
    }
    return DefWindowProc(Wnd, Msg, WParam, LParam);
}

// The buddy's own procedure in front of its old one: Up and Down step the up-down (with
// UDS_ARROWKEYS) and show its arrow pressed until the key comes up.
LRESULT BuddyProc(const TWndProc& Old, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_NCDESTROY) {
        SubclassedBuddies().erase(Wnd);
        if (auto Found = BuddyOwners().find(Wnd); Found != BuddyOwners().end()) {
            if (TUpDownWindow* U = UpDowns().Find(Found->second))
                U->Buddy = 0;
            BuddyOwners().erase(Found);
        }
        return CallWindowProc(Old, Wnd, Msg, WParam, LParam);
    }
    const bool Arrow = WParam == VK_UP || WParam == VK_DOWN;
    if ((Msg == WM_KEYDOWN || Msg == WM_KEYUP) && Arrow) {
        auto Found = BuddyOwners().find(Wnd);
        TUpDownWindow* U = Found != BuddyOwners().end() ? UpDowns().Find(Found->second) : nullptr;
        if (U != nullptr && U->Has(UDS_ARROWKEYS) && IsWindowEnabled(U->Wnd)) {
            const TArrow Which = WParam == VK_UP ? UpArrow : DownArrow;
            U->KeyHeld = Msg == WM_KEYDOWN ? Which : NoArrow;
            InvalidateRect(U->Wnd, nullptr, false);
            if (Msg == WM_KEYDOWN)
                U->Step(Which, U->Accel.empty() ? 1 : static_cast<int>(U->Accel.front().nInc));
            return 0;
        }
    }
    return CallWindowProc(Old, Wnd, Msg, WParam, LParam);
}

} // namespace

void RegisterUpDownClass()
{
    RegisterControlClass(UpDownClassName, 0, UpDownWndProc);
}

LRESULT UpDownWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_NCDESTROY) {
        KillTimer(Wnd, RepeatTimer);
        if (TUpDownWindow* U = UpDowns().Find(Wnd); U != nullptr && U->Buddy != 0)
            BuddyOwners().erase(U->Buddy);
        UpDowns().Erase(Wnd);
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
    if (Msg == WM_NCCREATE)
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    return UpDowns().Of(Wnd).Handle(Msg, WParam, LParam);
}
