// platform/stdctrls/datetimepickstate.h: the state of one "SysDateTimePick32" window, shared by
// its procedure (datetimepickwindow.cpp) and its drop-down calendar (datetimepickdropdown.cpp).
#pragma once

#include "platform/gfx/graphicsobjects.h"
#include "platform/stdctrls/datetimepickfields.h"
#include "platform/stdctrls/datetimepickwindow.h"
#include "platform/ui/paint.h"
#include "platform/ui/queue.h"
#include "platform/ui/windowdc.h"

#include <array>
#include <memory>
#include <vector>

class TDateTimePickWindow {
public:
    explicit TDateTimePickWindow(HWND AWnd);

    LRESULT Handle(UINT Msg, WPARAM WParam, LPARAM LParam);

    // The drop-down (datetimepickdropdown.cpp).
    void DropDown();
    // Accept: the calendar's date (Picked, or its current selection) becomes the date.
    void CloseUp(bool Accept, const TSystemTime* Picked = nullptr);
    LRESULT PopupProc(UINT Msg, WPARAM WParam, LPARAM LParam); // -2: the default answer

    TRect ButtonRect() const;
    TRect CheckRect() const;
    std::vector<TRect> FieldRects() const;
    int FieldAt(int X, int Y) const;

    HWND Wnd;
    HWND Popup = 0;
    HWND Cal = 0;
    bool Dropped = false;
    TColor Back = clWindow;
    TColor Fore = clWindowText;
    std::unique_ptr<TFont> Font;
    std::unique_ptr<TFont> CalFont;
    std::array<TColor, 6> CalColors;
    std::array<bool, 6> CalColorSet{};

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLong(Wnd, GWL_STYLE)); }
    bool UpDown() const { return (Style() & DTS_UPDOWN) != 0; }
    bool ShowNone() const { return (Style() & DTS_SHOWNONE) != 0; }
    std::string StyleFormat() const;
    std::string WholeText() const;
    void Changed() const { InvalidateRect(Wnd, nullptr, true); }
    void NotifyChange() const;
    void Edited(bool ValueChanged); // a key or a click worked on the fields
    void SetChecked(bool Value);    // by the user: notifies
    void KeyDown(WPARAM Key);
    void MouseDown(int X, int Y);
    void StopSpin();
    void Paint(HDC DC);
    // DTS_APPCANPARSE: the whole text typed freely, handed to the parent to parse.
    void StartUserString();
    void EndUserString(bool Accept);
    bool UserStringKey(WPARAM Key);
    void UserStringChar(unsigned char C);

    TDateTimeFields Fields;
    std::string CustomFormat;
    bool HasCustomFormat = false;
    bool None = false; // DTS_SHOWNONE with the box cleared
    bool Focused = false;
    bool ButtonDown = false;
    int Spin = 0;         // +1 or -1 while an up-down button is held
    bool Parsing = false; // DTS_APPCANPARSE: the user types the text
    std::string UserText;
    bool UserFresh = false;
    bool Pressing = false; // a day of the calendar is pressed
    TSystemTime Pressed;
};

TDateTimePickWindow* FindDateTimePick(HWND Wnd);
