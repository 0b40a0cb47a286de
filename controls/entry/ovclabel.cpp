#include "controls/entry/ovclabel.h"

#include "controls/entry/ovcmsgs.h"
#include "platform/forms/form.h"
#include "platform/rtl/classregistry.h"
#include "platform/ui/application.h"
#include "platform/ui/queue.h"

void TOvcLabelInfo::SetOffsetX(int Value)
{
    SetOffsets(Value, FOffsetY);
}

void TOvcLabelInfo::SetOffsetY(int Value)
{
    SetOffsets(FOffsetX, Value);
}

void TOvcLabelInfo::SetOffsets(int X, int Y)
{
    if (X == FOffsetX && Y == FOffsetY)
        return;
    FOffsetX = X;
    FOffsetY = Y;
    if (OnPositionChange)
        OnPositionChange();
}

void TOvcLabelInfo::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    if (OnVisibleChange)
        OnVisibleChange();
}

TOvcAttachedLabel::TOvcAttachedLabel(TComponent* AOwner) : TLabel(AOwner)
{
    SetAutoSize(true);
    SetParentFont(true);
    SetTransparent(false);
}

TOvcAttachedLabel::TOvcAttachedLabel(TComponent* AOwner, TWinControl* Control)
    : TOvcAttachedLabel(AOwner)
{
    SetControl(Control);
    SetFocusControl(Control);
}

void TOvcAttachedLabel::SetControl(TWinControl* Value)
{
    if (Value == FControl)
        return;
    if (FControl != nullptr)
        FControl->RemoveFreeNotification(this);
    FControl = Value;
    if (FControl != nullptr)
        FControl->FreeNotification(this);
}

void TOvcAttachedLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TLabel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FControl)
        FControl = nullptr;
}

void TOvcAttachedLabel::Loaded()
{
    TLabel::Loaded();
    AnnounceToControl();
}

void TOvcAttachedLabel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TLabel::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (AnnounceToControl() && Application != nullptr)
        Application->ProcessMessages();
}

bool TOvcAttachedLabel::AnnounceToControl()
{
    if (FControl == nullptr || ComponentState().Contains(csLoading) ||
        ComponentState().Contains(csDestroying))
        return false;
    TComponent* Form = GetParentForm(this);
    if (Form == nullptr)
        Form = Owner();
    if (Form == nullptr)
        return false;
    bool Found = false;
    for (int I = 0; I < Form->ComponentCount() && !Found; ++I)
        Found = Form->Components(I) == FControl;
    if (!Found)
        return false;
    FControl->Perform(OM_ASSIGNLABEL, 0, reinterpret_cast<LPARAM>(this));
    PostMessage(FControl->Handle(), OM_RECORDLABELPOSITION, 0, 0);
    return true;
}

namespace {

// Forms can store attached labels: the class is known by name from the start.
const bool LabelClassRegistered = [] {
    if (GetClass("TOvcAttachedLabel") == nullptr)
        RegisterClass<TOvcAttachedLabel>();
    return true;
}();

} // namespace
