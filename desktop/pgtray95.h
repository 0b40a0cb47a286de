// desktop/pgtray95.h: TPGTrayIcon95, the program's icon in the notification area (states, frame
// animation, tip, pop-up menu, mouse events) and the showing and hiding of the application and
// its forms around it; its message window, the timer multiplexer serving its timed work, and
// RunApplicationHidden.
#pragma once

#include "platform/forms/controltypes.h"
#include "platform/forms/form.h"
#include "platform/forms/messagemap.h"
#include "platform/gfx/icon.h"
#include "platform/rtl/component.h"
#include "platform/rtl/sets.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/shellnotify.h"
#include "platform/ui/wintypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TPopupMenu;
class TTimer;
class TPGTimerManager;
class TPGTrayIcon95;
class TPGTrayTip;

enum TPGTrayIconState { tsEnabled, tsDisabled, tsAnimated };
enum TPGTrayIconOption {
    toMinimizeToTray,
    toUnclutterOrvidTaskBar, // kept and streamed; changes nothing
    toCloseFormsOnHideApp,
    toHideTaskBarIconOnShowApp
};
using TPGTrayIconOptions = TSet<TPGTrayIconOption>;
enum TPGTrayIconAnimationOption { aoIconsInExe, aoIconsAreFiles };
using TPGTrayIconAnimationOptions = TSet<TPGTrayIconAnimationOption>;
using TPGTrayIconStateChangingEvent =
    std::function<void(TObject* Sender, TPGTrayIconState& NewState)>;

// The tray's identifier and callback message, and the message of its deferred call.
enum : UINT { TrayIconID = 42, WM_TRAYICON = 0x0400 + 100, WM_TRAYPOSTCALL = 0x0400 + 101 };
// Milliseconds a press waits for a second one before it counts as a single click.
extern int TrayClickWait;

// The current shift state from the keyboard and the mouse buttons.
TShiftState GetShiftState();
// Runs the application's loop without showing the main form; the program's last call. On a
// desktop without a tray (no icon docked) the main form shows, so the program stays reachable.
void RunApplicationHidden();

// One timed job of a TPGTimerManager: its callback runs every Interval milliseconds (55 to
// 100000) while Enabled.
class TPGTimerItem : public TComponent {
public:
    explicit TPGTimerItem(TComponent* AOwner);
    ~TPGTimerItem() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    int Interval() const { return FInterval; }
    // Kept within 55..100000.
    void SetInterval(int Value);

    TNotifyEvent Callback;

private:
    friend class TPGTimerManager;
    TPGTimerManager* Manager() const;
    bool FEnabled = false;
    int FInterval = 1000;
    std::uint32_t FStartTick = 0;
};

// Runs its items from one TTimer ticking at min(150 ms, the smallest enabled interval).
// Elapsed time is the tick count's difference modulo 2^32, so firing goes on across its wrap.
class TPGTimerManager : public TComponent {
public:
    explicit TPGTimerManager(TComponent* AOwner);
    ~TPGTimerManager() override;

    TPGTimerItem* AddItem(bool AEnabled, int AInterval, TNotifyEvent ACallback);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    // Restarts the measured time of every enabled item and sets the timer's tick.
    void Reschedule();
    // One tick: each enabled item whose interval has passed runs.
    void Tick();
    // The timer's tick in milliseconds and whether it runs (tests).
    unsigned TimerInterval() const;
    bool TimerEnabled() const;

private:
    friend class TPGTimerItem;
    void Remove(TPGTimerItem* Item);
    bool FEnabled = false;
    TTimer* FTimer = nullptr;
    std::vector<TPGTimerItem*> FItems;
};

// The frames of the animated state: icon files, or icon resources of the program.
class TPGTrayIconAnimation : public TPersistent {
public:
    explicit TPGTrayIconAnimation(TPGTrayIcon95* ATrayIcon);
    ~TPGTrayIconAnimation() override;

    int Interval() const { return FInterval; }
    void SetInterval(int Value);
    TStringList* Icons() const { return FIcons.get(); }
    void SetIcons(const TStrings* Value);
    TPGTrayIconAnimationOptions Options() const { return FOptions; }
    void SetOptions(TPGTrayIconAnimationOptions Value) { FOptions = Value; }
    int Frame() const { return FFrame; }

private:
    friend class TPGTrayIcon95;
    void Start();
    void Stop();
    void Tick(TObject* Sender);
    // Loads frame FFrame into Into; a missing file leaves it as it was.
    void LoadFrame(TIcon* Into);
    bool Running() const;

    TPGTrayIcon95* FTrayIcon;
    int FInterval = 1000;
    std::unique_ptr<TStringList> FIcons;
    TPGTrayIconAnimationOptions FOptions{aoIconsAreFiles};
    int FFrame = 0;
    TPGTimerItem* FItem = nullptr;
};

// Receives the tray's messages through a hidden window: mouse input over the icon, the
// deferred call, the end of the session.
class TPGTrayIconMsgWindow : public TComponent {
public:
    TPGTrayIconMsgWindow(TComponent* AOwner, TPGTrayIcon95* ATrayIcon);
    ~TPGTrayIconMsgWindow() override;
    HWND Handle() const { return FHandle; }
    bool Inside() const { return FInside; }

    static const TMessageMap& ClassMessageMap();
    static const TMessageMap& MouseMessageMap();

private:
    void WndProc(TMessage& Message);
    void WMTrayIcon(TMessage& Message);
    void WMPostCall(TMessage& Message);
    void WMQueryEndSession(TMessage& Message);
    void WMEndSession(TMessage& Message);
    // The mouse message of a tray callback, in Message.Msg.
    void MouseMove(TMessage& Message);
    void ButtonDown(TMessage& Message);
    void DoubleClick(TMessage& Message);
    void FireClick(TObject* Sender);
    void ExitPoll(TObject* Sender);

    TPGTrayIcon95* FTrayIcon;
    HWND FHandle = 0;
    int FButton = 0; // 0 left, 1 right, 2 middle
    bool FDblClick = false;
    TPGTimerItem* FClickWait = nullptr;
    TPGTimerItem* FExitPoll = nullptr;
    TPoint FLastPos;
    bool FInside = false;
};

class TPGTrayIcon95 : public TComponent {
public:
    // AOwner must be a form: EInvalidOperation "TrayIcons must be owned by a Form !".
    explicit TPGTrayIcon95(TComponent* AOwner);
    ~TPGTrayIcon95() override;

    TIcon* Icon() const { return FIcon.get(); }
    void SetIcon(const TIcon* Value);
    TIcon* DisabledIcon() const { return FDisabledIcon.get(); }
    void SetDisabledIcon(const TIcon* Value);
    TPGTrayIconAnimation* Animation() const { return FAnimation.get(); }
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool Value) { FAutoPopup = Value; }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value);
    TPGTrayIconOptions Options() const { return FOptions; }
    void SetOptions(TPGTrayIconOptions Value) { FOptions = Value; }
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    TPGTrayIconState State() const { return FState; }
    void SetState(TPGTrayIconState NewState);

    TNotifyEvent OnAnimation;
    TNotifyEvent OnAppMinimize;
    TNotifyEvent OnAppRestore;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseMoveEvent OnMouseMove;
    TMouseMoveEvent OnMouseEnter;
    TMouseMoveEvent OnMouseExit;
    TPGTrayIconStateChangingEvent OnStateChanging;

    void AddIcon();
    void RemoveIcon();
    // Whether a tray shows the icon now: an active icon waits undocked on a desktop without one.
    bool Docked() const;

    // Showing and hiding the application (each brackets its work with UpdateLock).
    virtual void ShowApplication();
    virtual void HideApplication();
    virtual void UpdateLock(bool Lock);

    // Shows Form modally (its modal result) or not (0) for a hidden or visible tray program; a
    // form already visible comes forward and gives 0.
    int ShowModalForm(TCustomForm* Form);
    int ShowForm(TCustomForm* Form);
    // Hides the main form or closes another, keeping a hidden application hidden.
    void HideForm(TCustomForm* Form);

    // The record last sent to the shell, the message window, the shown icon (tests).
    const NOTIFYICONDATAA& IconData() const { return FIconData; }
    TPGTrayIconMsgWindow* MsgWindow() const { return FMsgWindow; }
    TPGTimerManager* TimerManager() const { return FTimerManager; }
    TIcon* ShownIcon() const { return FShownIcon.get(); }
    TPGTrayTip* Tip() const { return FTip; }
    // The process-wide nesting of UpdateLock.
    static int UpdateLockCount();

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TPGTrayIconMsgWindow;
    friend class TPGTrayIconAnimation;

    void UpdateIcon();
    void RefreshTip();
    void NotifyIcon(DWORD Command);
    void PostCall(TObject* Sender, TNotifyEvent Method);
    void RunPostedCall();
    void CallNotify(const TNotifyEvent& Method);
    void ShowPopup();
    void AppMinimize(TObject* Sender);
    void AppRestore(TObject* Sender);
    bool Designing() const;

    void DoShowApplication(TObject* Sender);
    void DoHideApplication(TObject* Sender);
    void HideApplicationWindow(TObject* Sender);
    int InternalShowForm(TCustomForm* Form, bool Modal);
    void FormShowHook(TObject* Sender);
    void FocusForm(TObject* Sender);
    void AttachCloseNotifier(TCustomForm* Form);
    void FormClosed(TObject* Sender);
    void Park();
    void Release();
    // No tray shows the icon: hiding to it becomes minimising.
    void MinimizeInstead();

    TCustomForm* FOwnerForm;
    TPGTimerManager* FTimerManager = nullptr;
    TPGTrayIconMsgWindow* FMsgWindow = nullptr;
    TPGTrayTip* FTip = nullptr;
    std::unique_ptr<TIcon> FIcon;
    std::unique_ptr<TIcon> FDisabledIcon;
    std::unique_ptr<TIcon> FShownIcon;
    std::unique_ptr<TPGTrayIconAnimation> FAnimation;
    NOTIFYICONDATAA FIconData;
    bool FActive = false;
    bool FAutoPopup = false;
    std::string FHint;
    bool FShowHint = true;
    TPGTrayIconOptions FOptions{toMinimizeToTray, toUnclutterOrvidTaskBar, toCloseFormsOnHideApp};
    TPopupMenu* FPopupMenu = nullptr;
    TPGTrayIconState FState = tsEnabled;
    // The one deferred call.
    TNotifyEvent FPostMethod;
    TObject* FPostSender = nullptr;
    // Showing a form.
    TNotifyEvent FSavedOnShow;
    bool FShowingForm = false;
    bool FAppWasHidden = false;
};

// Installs itself as the OnClose of a form it is owned by (one per form), calling the tray's
// callback first and then the form's own handler.
class TPGNotifyOnFormClose : public TComponent {
public:
    explicit TPGNotifyOnFormClose(TComponent* AOwner);
    // False when the form had a notifier already: this one is freed then.
    bool Attach(TCustomForm* Form, TNotifyEvent Callback);

private:
    void FormClose(TObject* Sender, TCloseAction& Action);
    TCustomForm* FForm = nullptr;
    TNotifyEvent FCallback;
    TCloseEvent FSavedOnClose;
};
