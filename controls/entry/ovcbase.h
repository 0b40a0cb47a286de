// controls/entry/ovcbase.h: TOvcCustomControl, the base of the library's controls (attached
// label, enter and exit events that run after the focus has moved, its own wheel event), and
// TOvcCustomControlEx, which links a control to the form's controller.
#pragma once

#include "controls/entry/ovclabel.h"
#include "platform/forms/controls.h"

#include <functional>
#include <memory>
#include <string>

class TOvcController;

using TOvcMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, Word Delta, Word XPos, Word YPos)>;

class TOvcCustomControl : public TCustomControl {
public:
    explicit TOvcCustomControl(TComponent* AOwner);
    ~TOvcCustomControl() override;

    // Raises Exception "Label not attached" unless LabelInfo is visible.
    TOvcAttachedLabel* AttachedLabel() const;
    TOvcLabelInfo* LabelInfo() const { return FLabelInfo.get(); }

    std::string About() const { return "v3.08"; }
    void SetAbout(const std::string&) {}

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TNotifyEvent AfterEnter;
    TNotifyEvent AfterExit;
    // The wheel as the library's controls report it (beside the class library's own).
    TOvcMouseWheelEvent OnMouseWheel;

protected:
    using TCustomControl::DoMouseWheel;
    virtual void DoMouseWheel(TShiftState Shift, Word Delta, Word XPos, Word YPos);
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Puts the attached label at the stored offsets.
    void PositionLabel();

    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void WMMouseWheel(TMessage& Message);
    void CMVisibleChanged(TMessage& Message);
    void OMAfterEnter(TMessage& Message);
    void OMAfterExit(TMessage& Message);
    void OMPositionLabel(TMessage& Message);
    void OMRecordLabelPosition(TMessage& Message);
    void OMAssignLabel(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    void LabelVisibleChange();
    void LabelPositionChange();
    void CreateLabel();
    void FreeLabel();
    bool Loading() const { return ComponentState().Contains(csLoading); }

    std::unique_ptr<TOvcLabelInfo> FLabelInfo;
    bool FLabelBelow = false; // nothing sets it: labels sit above their controls
    bool FAssigningLabel = false;
};

class TOvcCustomControlEx : public TOvcCustomControl {
public:
    explicit TOvcCustomControlEx(TComponent* AOwner) : TOvcCustomControl(AOwner) {}

    TOvcController* Controller() const { return FController; }
    virtual void SetController(TOvcController* Value);

protected:
    // Takes the form's first controller when none is set; raises ENoControllerAssigned when the
    // form has none.
    void CreateWnd() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TOvcController* FController = nullptr;
};
