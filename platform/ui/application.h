// platform/ui/application.h: TApplication, the program's message loop and its hidden window of
// class "TApplication": Run, Terminate, ProcessMessages, the idle event, the default exception
// handler, minimising and restoring, the title, the hint and its settings, help, and the
// stepping back of topmost windows while a box is up.
#pragma once

#include "platform/rtl/component.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/wintypes.h"

#include <functional>
#include <string>
#include <vector>

class TForm;
class TControl;
class THintWindow;

using TExceptionEvent = std::function<void(TObject* Sender, const Exception& E)>;
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
using TMessageEvent = std::function<void(TMsg& Msg, bool& Handled)>;

// A hint is "short|long": the short part goes in the hint window, the long one in a status
// line. Without a bar both are the whole text.
std::string GetShortHint(const std::string& Hint);
std::string GetLongHint(const std::string& Hint);

// Makes a hint window owned by AOwner: the stand-in for a class reference to THintWindow or a
// descendant (platform/forms/hintwindow.h has the global HintWindowClass and CreateHintWindow).
using THintWindowClass = THintWindow* (*)(TComponent* AOwner);

// What a hint is about to show, given to the control in CM_HINTSHOW (LParam points to it) and
// then to OnShowHint, each free to change it.
struct THintInfo {
    TControl* HintControl = nullptr;
    THintWindowClass HintWindowClass = nullptr;
    TPoint HintPos;       // screen coordinates of the hint window's top-left corner
    int HintMaxWidth = 0; // the text wraps at this width
    int HintColor = 0;    // a colour value
    // Client coordinates of HintControl: the hint shows anew once the mouse leaves it.
    TRect CursorRect;
    TPoint CursorPos;      // client coordinates of HintControl
    int ReshowTimeout = 0; // above 0: milliseconds until the hint is asked for again
    int HideTimeout = 0;   // milliseconds the hint stays up
    std::string HintStr;
    void* HintData = nullptr; // handed to the hint window's CalcHintRect and ActivateHintData
};

using TShowHintEvent =
    std::function<void(std::string& HintStr, bool& CanShow, THintInfo& HintInfo)>;

class TApplication : public TComponent {
public:
    // Creates the application window and, when there is none, the global Screen; makes itself
    // the handler of exceptions that escape a dispatched message.
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    void Initialize() {}
    // Runs the loop until Terminate; a Terminate before Run ends it once the messages posted
    // before have been handled.
    void Run();
    // Posts the quit request: the loop ends at its next turn.
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Handles every message waiting, then returns; re-entrant.
    void ProcessMessages();
    // Handles one message; with none waiting, runs OnIdle and then waits for one.
    void HandleMessage();

    // Call from a catch block: EAbort is silent; any other Exception goes to OnException when
    // assigned, else to ShowException. Anything not derived from Exception is thrown on.
    void HandleException(TObject* Sender);
    // A message box with the exception's message and the title as caption.
    void ShowException(const Exception& E);

    void Minimize();
    void Restore();

    HWND Handle() const { return FHandle; }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value);
    std::string ExeName() const;
    const std::string& HelpFile() const { return FHelpFile; }
    void SetHelpFile(const std::string& Value) { FHelpFile = Value; }
    // Asks the help service (platform/ui/helpservice.h) for topic Context of HelpFile; false
    // for context 0 or when the service has no such topic.
    bool HelpContext(int Context);
    bool ShowMainForm() const { return FShowMainForm; }
    void SetShowMainForm(bool Value) { FShowMainForm = Value; }

    // A colour value (clInfoBk by default, as the graphics layer reads it).
    int HintColor() const { return FHintColor; }
    void SetHintColor(int Value) { FHintColor = Value; }
    // The milliseconds the mouse rests on a control before its hint shows, before the next one
    // shows while a hint is up, and that a hint stays up.
    int HintPause() const { return FHintPause; }
    void SetHintPause(int Value) { FHintPause = Value; }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int Value) { FHintHidePause = Value; }
    int HintShortPause() const { return FHintShortPause; }
    void SetHintShortPause(int Value) { FHintShortPause = Value; }
    bool ShowHint() const { return FShowHint; }
    // Off drops the hint that is up or waiting.
    void SetShowHint(bool Value);
    // The long hint of the control under the mouse (the form layer sets it); OnHint runs each
    // time it changes.
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value);
    // Drops the hint that is up or waiting to come up, and the hint text.
    void CancelHint();
    // Shows the hint of the control under CursorPos (screen coordinates) when it is the one the
    // mouse rests on: CM_HINTSHOW and OnShowHint may change or refuse it.
    void ActivateHint(const TPoint& CursorPos);
    // Hides the hint window; the hint comes back once the mouse leaves its cursor rectangle.
    void HideHint();

    // While normalized, the visible topmost windows the application owns are topmost no more,
    // so a box can come above them; RestoreTopMosts makes them topmost again. Calls nest: the
    // first normalizes, the last restore gives topmost back.
    void NormalizeTopMosts();
    void RestoreTopMosts();

    // The main form (platform/forms/form.h): the first form CreateForm makes. Run shows it when
    // ShowMainForm is set; closing it ends the application.
    TForm* MainForm() const { return FMainForm; }
    void SetMainForm(TForm* Value) { FMainForm = Value; }

    TExceptionEvent OnException;
    TIdleEvent OnIdle;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;
    TNotifyEvent OnHint;
    TShowHintEvent OnShowHint;
    // Sees each message the loop takes before anything else; Handled = true ends its way there
    // (neither translated nor dispatched).
    TMessageEvent OnMessage;

private:
    // Takes one message and handles it; false when there was none.
    bool ProcessMessage(TMsg& Msg);
    void Idle();
    LRESULT WndProc(UINT Msg, WPARAM WParam, LPARAM LParam);

    HWND FHandle = 0;
    TForm* FMainForm = nullptr;
    bool FTerminated = false;
    bool FMinimized = false;
    bool FOwnsScreen = false;
    std::string FTitle;
    std::string FHelpFile;
    bool FShowMainForm = true;
    int FHintColor = static_cast<int>(0x80000018u); // clInfoBk
    int FHintPause = 500;
    int FHintHidePause = 2500;
    int FHintShortPause = 50;
    bool FShowHint = true;
    std::string FHint;
    int FTopMostLevel = 0;
    std::vector<HWND> FTopMostList; // the windows NormalizeTopMosts took topmost from
};

// What the form layer, which sits above this one, adds to the loop: a look at each message
// before it is translated and dispatched (keys for the focused control, dialog keys; true when
// the message was handled), and the showing of the main form when Run starts.
struct TFormHooks {
    std::function<bool(TMsg& Msg)> IsKeyMsg;
    std::function<void(TForm* MainForm)> ShowMainForm;
};
TFormHooks& FormHooks();

// The hint window and its timing live in the form layer (platform/forms/hints.h), which fills
// these in: what ActivateHint, HideHint and CancelHint do, and a look at each message the loop
// takes (keys and clicks hide the hint).
struct THintHooks {
    std::function<void(const TPoint& CursorPos)> ActivateHint;
    std::function<void()> HideHint;
    std::function<void()> CancelHint;
    std::function<void(TMsg& Msg)> HintMsg;
};
THintHooks& HintHooks();

// Created by the program (Application = new TApplication(nullptr)); null before and after.
extern TApplication* Application;
