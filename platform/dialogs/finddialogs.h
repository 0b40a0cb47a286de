// platform/dialogs/finddialogs.h: TFindDialog and TReplaceDialog, modeless: Execute shows the
// dialog and returns at once; its buttons fire OnFind and OnReplace with FindText, ReplaceText
// and Options as the dialog has them, and its closing fires OnClose.
#pragma once

#include "platform/dialogs/commondialog.h"
#include "platform/rtl/geometry.h"

#include <functional>
#include <string>

enum TFindOption {
    frDown,
    frFindNext,
    frHideMatchCase,
    frHideWholeWord,
    frHideUpDown,
    frMatchCase,
    frDisableMatchCase,
    frDisableUpDown,
    frDisableWholeWord,
    frReplace,
    frReplaceAll,
    frWholeWord,
    frShowHelp
};
using TFindOptions = TSet<TFindOption>;

class TFindDialog : public TCommonDialog {
public:
    explicit TFindDialog(TComponent* AOwner);
    // A dialog still up is closed (without OnClose: the component is going).
    ~TFindDialog() override;

    const std::string& FindText() const { return FFindText; }
    void SetFindText(const std::string& Value) { FFindText = Value; }
    // frFindNext, frReplace and frReplaceAll tell which button fired the last event.
    TFindOptions Options() const { return FOptions; }
    void SetOptions(TFindOptions Value) { FOptions = Value; }
    // Where the dialog appears; (-1, -1): over the active form.
    TPoint Position() const { return TPoint{FLeft, FTop}; }
    void SetPosition(const TPoint& Value);
    int Left() const { return FLeft; }
    void SetLeft(int Value) { FLeft = Value; }
    int Top() const { return FTop; }
    void SetTop(int Value) { FTop = Value; }
    // Whether the dialog is up.
    bool Showing() const { return static_cast<bool>(FClose); }

    // Shows the dialog (brings it to the front when it is up already); true when it is up.
    bool Execute() override;
    // Closes the dialog when it is up; OnClose follows.
    void CloseDialog();

    TNotifyEvent OnFind;

protected:
    virtual TDialogKind Kind() const { return TDialogKind::Find; }
    virtual void Find();
    virtual void Replace();
    void Notified(const TDialogAnswer& Answer);

    std::string FReplaceText;

private:
    std::string FFindText;
    TFindOptions FOptions{frDown};
    int FLeft = -1;
    int FTop = -1;
    std::function<void()> FClose;
    std::function<void()> FActivate;
    bool FDestroying = false;
};

class TReplaceDialog : public TFindDialog {
public:
    explicit TReplaceDialog(TComponent* AOwner);

    const std::string& ReplaceText() const { return FReplaceText; }
    void SetReplaceText(const std::string& Value) { FReplaceText = Value; }

    TNotifyEvent OnReplace;

protected:
    TDialogKind Kind() const override { return TDialogKind::Replace; }
    void Replace() override;
};
