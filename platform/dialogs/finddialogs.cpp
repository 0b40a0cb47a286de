// platform/dialogs/finddialogs.cpp: the modeless find and replace dialogs' round trips.
#include "platform/dialogs/finddialogs.h"

TFindDialog::TFindDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

TFindDialog::~TFindDialog()
{
    FDestroying = true;
    if (FClose) {
        std::function<void()> Close = std::move(FClose);
        FClose = nullptr;
        Close();
    }
}

void TFindDialog::SetPosition(const TPoint& Value)
{
    FLeft = Value.X;
    FTop = Value.Y;
}

bool TFindDialog::Execute()
{
    if (FClose) {
        if (FActivate)
            FActivate();
        return true;
    }
    TDialogRequest Request;
    Request.Kind = Kind();
    Request.Value = FFindText;
    Request.ReplaceText = FReplaceText;
    Request.Options = static_cast<unsigned>(FOptions.Bits());
    Request.HelpCtx = HelpContext();
    Request.Left = FLeft;
    Request.Top = FTop;
    Request.OnNotify = [this](const TDialogAnswer& Answer) { Notified(Answer); };
    DoShow();
    TDialogAnswer Answer = DialogService().Show(Request);
    if (Answer.Result != mrOk)
        return false;
    FClose = std::move(Answer.Close);
    FActivate = std::move(Answer.Activate);
    return true;
}

void TFindDialog::CloseDialog()
{
    if (FClose) {
        // The closure may notify the closing, which clears FClose: call a copy.
        std::function<void()> Close = FClose;
        Close();
    }
}

void TFindDialog::Notified(const TDialogAnswer& Answer)
{
    if (FDestroying)
        return;
    FFindText = Answer.Value;
    FReplaceText = Answer.ReplaceText;
    FOptions = TFindOptions::FromBits(Answer.Options);
    if (Answer.Result != mrOk) {
        FClose = nullptr;
        FActivate = nullptr;
        DoClose();
        return;
    }
    if (FOptions.Contains(frReplace) || FOptions.Contains(frReplaceAll))
        Replace();
    else if (FOptions.Contains(frFindNext))
        Find();
}

void TFindDialog::Find()
{
    if (OnFind)
        OnFind(this);
}

void TFindDialog::Replace() {}

TReplaceDialog::TReplaceDialog(TComponent* AOwner) : TFindDialog(AOwner) {}

void TReplaceDialog::Replace()
{
    if (OnReplace)
        OnReplace(this);
}
