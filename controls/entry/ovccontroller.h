// controls/entry/ovccontroller.h: TOvcComponent and TOvcController, the form-wide partner of
// the entry fields: shared options and key commands, the two-digit-year epoch, error reports,
// the shared insert mode, a timer pool and a hidden window for deferred notifications.
#pragma once

#include "controls/entry/ovccmd.h"
#include "controls/entry/ovctimer.h"
#include "platform/forms/messagemap.h"
#include "platform/rtl/component.h"
#include "platform/rtl/sets.h"
#include "platform/ui/wintypes.h"

#include <functional>
#include <memory>
#include <string>

class TWinControl;

class TOvcComponent : public TComponent {
public:
    explicit TOvcComponent(TComponent* AOwner) : TComponent(AOwner) {}
    std::string About() const { return "v3.08"; }
    void SetAbout(const std::string&) {}
};

enum TOvcBaseEFOption {
    efoAutoAdvanceChar,
    efoAutoAdvanceLeftRight,
    efoAutoAdvanceUpDown,
    efoAutoSelect,
    efoBeepOnError,
    efoInsertPushes
};
using TOvcBaseEFOptions = TSet<TOvcBaseEFOption>;

using TDelayNotifyEvent = std::function<void(TObject* Sender, Word NotifyCode)>;
using TDataErrorEvent =
    std::function<void(TObject* Sender, Word ErrorCode, const std::string& ErrorMsg)>;
using TGetEpochEvent = std::function<void(TObject* Sender, int& Epoch)>;
using TIsSpecialControlEvent =
    std::function<void(TObject* Sender, TWinControl* Control, bool& Special)>;
using TPostEditEvent = std::function<void(TObject* Sender, TWinControl* GainingControl)>;
using TPreEditEvent = std::function<void(TObject* Sender, TWinControl* LosingControl)>;

class TOvcController : public TOvcComponent {
public:
    explicit TOvcController(TComponent* AOwner);
    ~TOvcController() override;

    TOvcBaseEFOptions EntryOptions() const { return FEntryOptions; }
    void SetEntryOptions(TOvcBaseEFOptions Value) { FEntryOptions = Value; }
    TOvcCommandProcessor* EntryCommands() const { return FEntryCommands.get(); }

    // The stored epoch, or what OnGetEpoch makes of it (the stored value stays).
    int GetEpoch() const;
    int Epoch() const { return GetEpoch(); }
    // Taken only when it differs and lies in 1600..3999; anything else is ignored.
    void SetEpoch(int Value);

    bool ErrorPending() const { return FErrorPending; }
    void SetErrorPending(bool Value) { FErrorPending = Value; }
    const std::string& LastErrorText() const { return FLastErrorText; }
    void SetLastErrorText(const std::string& Value) { FLastErrorText = Value; }
    bool InsertMode() const { return FInsertMode; }
    void SetInsertMode(bool Value) { FInsertMode = Value; }
    TOvcTimerPool* TimerPool() const { return FTimerPool; }

    // The hidden window the deferred notifications are posted to, made on first request.
    HWND Handle();

    // OnError when assigned, else a modal error box with one OK button.
    void ReportError(TObject* Field, Word ErrorCode, const std::string& ErrorMsg);
    void DelayNotify(TObject* Sender, Word NotifyCode);
    void PostPreEdit(TWinControl* Field, TWinControl* LosingControl);
    void PostPostEdit(TWinControl* Field, TWinControl* GainingControl);
    // False unless OnIsSpecialControl says otherwise for the control owning Wnd.
    bool IsSpecialControl(HWND Wnd);

    TDelayNotifyEvent OnDelayNotify;
    TDataErrorEvent OnError;
    TGetEpochEvent OnGetEpoch;
    TIsSpecialControlEvent OnIsSpecialControl;
    TPostEditEvent OnPostEdit;
    TPreEditEvent OnPreEdit;
    TTriggerEvent OnTimerTrigger;

private:
    static const TMessageMap& ClassMessageMap();
    void WndProc(TMessage& Message);
    void OMShowAndFocus(TMessage& Message);
    void OMPreEdit(TMessage& Message);
    void OMPostEdit(TMessage& Message);
    void OMDelayNotify(TMessage& Message);

    TOvcBaseEFOptions FEntryOptions;
    std::unique_ptr<TOvcCommandProcessor> FEntryCommands;
    int FEpoch;
    bool FErrorPending = false;
    std::string FLastErrorText;
    HWND FHandle = 0;
    bool FInsertMode = true;
    TOvcTimerPool* FTimerPool = nullptr; // owned as a component
};
