// platform/ui/shellnotify.h: Shell_NotifyIconA, the icons of the notification area (the system
// tray). A call goes to one replaceable service: the display driver's tray by default, or a
// recorder in tests. An icon lives under its window and identifier; mouse input over it reaches
// that window as the record's callback message, WParam the identifier and LParam the mouse
// message (WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK ...).
#pragma once

#include "platform/gfx/icon.h"
#include "platform/rtl/geometry.h"
#include "platform/ui/wintypes.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

enum : DWORD { NIM_ADD = 0, NIM_MODIFY = 1, NIM_DELETE = 2 };
enum : UINT { NIF_MESSAGE = 1, NIF_ICON = 2, NIF_TIP = 4 };

// The record as the caller fills it: the tip is a zero-ended text of at most 63 bytes.
struct NOTIFYICONDATAA {
    DWORD cbSize = 88;
    HWND Wnd = 0;
    UINT uID = 0;
    UINT uFlags = 0;
    UINT uCallbackMessage = 0;
    HICON hIcon = nullptr;
    char szTip[64] = {};
};

// What the service is handed: the record with the icon's picture copied (the caller may free its
// handle at once) and the tip as a string. Flags say which of Callback, Image and Tip count.
struct TNotifyIcon {
    HWND Wnd = 0;
    UINT ID = 0;
    UINT Flags = 0;
    UINT Callback = 0;
    bool HasImage = false;
    TIconImage Image;
    std::string Tip;
};

class INotifyAreaService {
public:
    virtual ~INotifyAreaService() = default;
    // Adds, changes or removes the icon of Icon.Wnd and Icon.ID; false when the call failed (no
    // tray to show it, an icon added twice, or one that is not there).
    virtual bool NotifyIcon(DWORD Message, const TNotifyIcon& Icon) = 0;
    // Whether a tray shows the icon of Wnd and ID now (an added icon waits for a tray that
    // comes later).
    virtual bool IconDocked(HWND Wnd, UINT ID) = 0;
};

// The service in use, never null; null restores the display driver's tray.
INotifyAreaService& NotifyAreaService();
INotifyAreaService* SetNotifyAreaService(INotifyAreaService* Service);

// Fails for a record smaller than 88 bytes, or a message other than NIM_ADD, NIM_MODIFY and
// NIM_DELETE. The tip is cut at its zero or its 63rd byte, back to a whole UTF-8 character.
bool Shell_NotifyIconA(DWORD Message, const NOTIFYICONDATAA* Data);

// Copies Text into a record's tip: at most 63 bytes, cut at a whole UTF-8 character.
void SetNotifyTip(NOTIFYICONDATAA& Data, const std::string& Text);

// The tip of a docked icon: the back end tells when the pointer comes over an icon (its tip and
// the pointer's place, screen coordinates) and when it leaves; whoever shows tips (the hint
// window, above this layer) fills these in.
struct TNotifyTipHooks {
    std::function<void(const std::string& Tip, const TPoint& At)> Enter;
    std::function<void()> Leave;
};
TNotifyTipHooks& NotifyTipHooks();

// For tests: installed while it lives; records every call and answers as a tray would (or, with
// TrayPresent off, as a desktop without one: adding fails and leaves nothing docked).
class TNotifyAreaRecorder : public INotifyAreaService {
public:
    struct TEntry {
        DWORD Message = 0;
        TNotifyIcon Icon;
        bool Result = false;
    };

    TNotifyAreaRecorder();
    ~TNotifyAreaRecorder() override;
    TNotifyAreaRecorder(const TNotifyAreaRecorder&) = delete;
    TNotifyAreaRecorder& operator=(const TNotifyAreaRecorder&) = delete;

    bool NotifyIcon(DWORD Message, const TNotifyIcon& Icon) override;
    bool IconDocked(HWND Wnd, UINT ID) override;

    bool TrayPresent = true;
    const std::vector<TEntry>& Entries() const { return FEntries; }
    // The icons a tray shows now, in the order they were added.
    const std::vector<TNotifyIcon>& Icons() const { return FIcons; }
    void Clear() { FEntries.clear(); }

private:
    INotifyAreaService* FPrevious = nullptr;
    std::vector<TEntry> FEntries;
    std::vector<TNotifyIcon> FIcons;
};
