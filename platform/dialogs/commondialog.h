// platform/dialogs/commondialog.h: TCommonDialog, the base of the class library's common dialog
// components: each Execute asks the dialog service with a request of its own kind.
#pragma once

#include "platform/rtl/component.h"
#include "platform/rtl/events.h"
#include "platform/ui/dialogservice.h"

class TCommonDialog : public TComponent {
public:
    explicit TCommonDialog(TComponent* AOwner);

    // Kept for the units that set it; our dialogs always have the 3-D look.
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value) { FCtl3D = Value; }
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }

    // Shows the dialog; true when it was confirmed (the modeless ones: when shown).
    virtual bool Execute() = 0;

    TNotifyEvent OnShow;  // before the dialog is shown
    TNotifyEvent OnClose; // after it was closed

protected:
    // OnShow, the service, then OnClose (also when the service raises).
    TDialogAnswer Run(const TDialogRequest& Request);
    virtual void DoShow();
    virtual void DoClose();

private:
    bool FCtl3D = true;
    int FHelpContext = 0;
};
