// The date-time picker's drop-down: a pop-up under the picker holding a month calendar. It
// holds the mouse while it shows, as a combo box's list does, and closes on a pick, Escape, a
// press outside it, and when the form moves or loses the focus (WM_CANCELMODE, the capture
// taken away, the picker's focus going).
#include "platform/stdctrls/datetimepickstate.h"

#include "platform/stdctrls/controlclass.h"
#include "platform/stdctrls/dropdownplace.h"
#include "platform/stdctrls/monthcalwindow.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/windowstyles.h"

#include <unordered_map>

namespace {

constexpr const char* DropDownClassName = "SysDateTimePick32DropDown";

// The picker each pop-up belongs to.
std::unordered_map<HWND, HWND>& PopupOwners()
{
    static std::unordered_map<HWND, HWND> Owners;
    return Owners;
}

TDateTimePickWindow* PickerOfPopup(HWND Popup)
{
    const auto Found = PopupOwners().find(Popup);
    return Found != PopupOwners().end() ? FindDateTimePick(Found->second) : nullptr;
}

LRESULT DropDownWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_NCDESTROY) {
        if (TDateTimePickWindow* Picker = PickerOfPopup(Wnd)) {
            Picker->Dropped = false;
            Picker->Popup = Picker->Cal = 0;
        }
        PopupOwners().erase(Wnd);
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
    if (TDateTimePickWindow* Picker = PickerOfPopup(Wnd)) {
        const LRESULT Answer = Picker->PopupProc(Msg, WParam, LParam);
        if (Answer != -2)
            return Answer;
    }
    return DefWindowProc(Wnd, Msg, WParam, LParam);
}

bool IsMouseButtonDown(UINT Msg)
{
    return Msg == WM_LBUTTONDOWN || Msg == WM_LBUTTONDBLCLK || Msg == WM_RBUTTONDOWN ||
           Msg == WM_RBUTTONDBLCLK || Msg == WM_MBUTTONDOWN || Msg == WM_MBUTTONDBLCLK;
}

} // namespace

void TDateTimePickWindow::DropDown()
{
    if (Dropped || UpDown() || !IsWindowEnabled(Wnd))
        return;
    EndUserString(true);
    Edited(Fields.Commit());
    if (Popup == 0 || !IsWindow(Popup)) {
        RegisterControlClass(DropDownClassName, 0, DropDownWndProc);
        RegisterMonthCalClass();
        Popup = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, DropDownClassName, "",
                               WS_POPUP | WS_BORDER, 0, 0, 100, 100, GetTopLevelWindow(Wnd));
        if (Popup == 0)
            return;
        PopupOwners()[Popup] = Wnd;
        Cal =
            CreateWindowEx(0, MonthCalClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, Popup);
        if (Cal == 0) {
            DestroyWindow(Popup);
            Popup = 0;
            return;
        }
    }
    // The calendar shows the picker's range, date, colours and font.
    TSystemTime Range[2];
    const LRESULT Limits = SendMessage(Wnd, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(Range));
    SendMessage(Cal, MCM_SETRANGE, static_cast<WPARAM>(Limits), reinterpret_cast<LPARAM>(Range));
    TSystemTime Shown = Fields.Value();
    SendMessage(Cal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&Shown));
    for (std::size_t I = 0; I < CalColors.size(); ++I)
        if (CalColorSet[I])
            SendMessage(Cal, MCM_SETCOLOR, I, static_cast<LPARAM>(CalColors[I]));
    if (CalFont)
        SendMessage(Cal, WM_SETFONT, reinterpret_cast<WPARAM>(CalFont.get()), 0);
    Dropped = true;
    NMHDR Header;
    SendNotify(Wnd, DTN_DROPDOWN, Header); // the program may adjust the calendar now
    if (!IsWindow(Wnd) || !Dropped || Popup == 0)
        return;
    TRect Need;
    SendMessage(Cal, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&Need));
    const int W = std::max(Need.Width(), 20);
    const int H = std::max(Need.Height(), 20);
    MoveWindow(Cal, 0, 0, W, H);
    const TRect Place = DropDownRect(Wnd, W + 2, H + 2, (Style() & DTS_RIGHTALIGN) != 0);
    MoveWindow(Popup, Place.Left, Place.Top, Place.Width(), Place.Height());
    ShowWindow(Popup, SW_SHOWNA);
    SetCapture(Popup);
    Changed();
}

void TDateTimePickWindow::CloseUp(bool Accept, const TSystemTime* Picked)
{
    if (!Dropped)
        return;
    Dropped = false;
    ButtonDown = false;
    TSystemTime Chosen{};
    bool Take = false;
    if (Accept) {
        if (Picked != nullptr) {
            Chosen = *Picked;
            Take = true;
        } else if (Cal != 0) {
            Take = SendMessage(Cal, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&Chosen)) != 0;
        }
    }
    Pressing = false;
    if (GetCapture() != 0 && GetCapture() == Popup)
        ReleaseCapture();
    // Hidden, not destroyed: the calendar may be inside its own handler right now.
    if (Popup != 0)
        ShowWindow(Popup, SW_HIDE);
    if (Take) {
        TSystemTime V = Fields.Value(); // the time of day stays
        V.wYear = Chosen.wYear;
        V.wMonth = Chosen.wMonth;
        V.wDay = Chosen.wDay;
        const bool WasNone = None;
        None = false;
        if (Fields.SetValue(V) || WasNone)
            NotifyChange();
    }
    Changed();
    NMHDR Header;
    SendNotify(Wnd, DTN_CLOSEUP, Header);
}

LRESULT TDateTimePickWindow::PopupProc(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    switch (Msg) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_CANCELMODE:
        CloseUp(false);
        return 0;
    case WM_CAPTURECHANGED: {
        const HWND To = static_cast<HWND>(LParam);
        if (Dropped && To != Popup && To != Cal)
            CloseUp(false);
        return 0;
    }
    case WM_NOTIFY: {
        const auto* Header = reinterpret_cast<const NMHDR*>(LParam);
        if (Header != nullptr && Header->hwndFrom == Cal && Header->code == MCN_SELECT) {
            const auto* Selection = reinterpret_cast<const NMSELCHANGE*>(LParam);
            CloseUp(true, &Selection->stSelStart);
        }
        return 0;
    }
    case WM_KEYDOWN:
        KeyDown(WParam);
        return 0;
    default:
        break;
    }
    if (Msg < WM_MOUSEFIRST || Msg > WM_MBUTTONDBLCLK || !Dropped)
        return -2;
    // The pop-up holds the mouse: a press outside it closes it. Inside, the pop-up reads the
    // calendar's parts itself rather than passing the clicks on, so that the calendar never
    // takes the focus away from the picker (and the activation from its form).
    TRect Client;
    GetClientRect(Popup, Client);
    TPoint P{GetXLParam(LParam), GetYLParam(LParam)};
    if (!PtInRect(Client, P)) {
        if (IsMouseButtonDown(Msg))
            CloseUp(false);
        return 0;
    }
    if (Msg != WM_LBUTTONDOWN && Msg != WM_LBUTTONDBLCLK && Msg != WM_LBUTTONUP)
        return 0;
    ClientToScreen(Popup, P);
    ScreenToClient(Cal, P);
    MCHITTESTINFO Hit;
    Hit.pt = P;
    SendMessage(Cal, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&Hit));
    const bool OnDay = (Hit.uHit & MCHT_CALENDARDATE) == MCHT_CALENDARDATE &&
                       (Hit.uHit & 0xFFFF) == (MCHT_CALENDARDATE & 0xFFFF);
    if (Msg == WM_LBUTTONUP) {
        if (Pressing && OnDay && Hit.st.wYear == Pressed.wYear && Hit.st.wMonth == Pressed.wMonth &&
            Hit.st.wDay == Pressed.wDay)
            CloseUp(true, &Pressed);
        Pressing = false;
        return 0;
    }
    Pressing = false;
    if (OnDay) {
        Pressing = true;
        Pressed = Hit.st;
        SendMessage(Cal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&Pressed));
    } else if (Hit.uHit == MCHT_TITLEBTNPREV || Hit.uHit == MCHT_TITLEBTNNEXT) {
        SendMessage(Cal, WM_KEYDOWN, Hit.uHit == MCHT_TITLEBTNPREV ? VK_PRIOR : VK_NEXT, 0);
    } else if (Hit.uHit == MCHT_TODAYLINK) {
        TSystemTime Today;
        if (SendMessage(Cal, MCM_GETTODAY, 0, reinterpret_cast<LPARAM>(&Today)) != 0)
            CloseUp(true, &Today);
    }
    return 0;
}
