#include "controls/entry/ovcbase.h"

#include "controls/entry/ovccontroller.h"
#include "controls/entry/ovcexcpt.h"
#include "controls/entry/ovcmisc.h"
#include "controls/entry/ovcmsgs.h"
#include "controls/entry/ovcsrmgr.h"
#include "platform/forms/form.h"
#include "platform/rtl/properties.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"

namespace {

void PublishBaseControls()
{
    static const bool Done = [] {
        TPublished<TOvcLabelInfo>()
            .Property("OffsetX", &TOvcLabelInfo::OffsetX, &TOvcLabelInfo::SetOffsetX)
            .Property("OffsetY", &TOvcLabelInfo::OffsetY, &TOvcLabelInfo::SetOffsetY)
            .Property("Visible", &TOvcLabelInfo::Visible, &TOvcLabelInfo::SetVisible);
        TPublished<TOvcAttachedLabel>().Property("Control", &TOvcAttachedLabel::Control,
                                                 &TOvcAttachedLabel::SetControl);
        TPublished<TOvcCustomControl>()
            .Property("About", &TOvcCustomControl::About, &TOvcCustomControl::SetAbout)
            .Property("LabelInfo", &TOvcCustomControl::LabelInfo)
            .Field("AfterEnter", &TOvcCustomControl::AfterEnter, "TNotifyEvent")
            .Field("AfterExit", &TOvcCustomControl::AfterExit, "TNotifyEvent");
        TPublished<TOvcCustomControlEx>().Property("Controller", &TOvcCustomControlEx::Controller,
                                                   &TOvcCustomControlEx::SetController);
        return true;
    }();
    (void)Done;
}

} // namespace

TOvcCustomControl::TOvcCustomControl(TComponent* AOwner)
    : TCustomControl(AOwner), FLabelInfo(std::make_unique<TOvcLabelInfo>())
{
    PublishBaseControls();
    FLabelInfo->OnVisibleChange = [this] { LabelVisibleChange(); };
    FLabelInfo->OnPositionChange = [this] { LabelPositionChange(); };
}

TOvcCustomControl::~TOvcCustomControl()
{
    FLabelInfo->SetVisible(false);
    FreeLabel();
}

TOvcAttachedLabel* TOvcCustomControl::AttachedLabel() const
{
    if (!FLabelInfo->Visible())
        throw Exception(LibraryString(30244));
    return FLabelInfo->ALabel;
}

void TOvcCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (HandleAllocated())
        PostMessage(Handle(), OM_POSITIONLABEL, 0, 0);
}

void TOvcCustomControl::DoMouseWheel(TShiftState Shift, Word Delta, Word XPos, Word YPos)
{
    if (OnMouseWheel)
        OnMouseWheel(this, Shift, Delta, XPos, YPos);
}

void TOvcCustomControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove || AComponent == nullptr || AComponent != FLabelInfo->ALabel)
        return;
    // The label is gone: the control has none now, and says so without making a new one.
    FLabelInfo->ALabel = nullptr;
    const TCustomForm* Form = GetParentForm(this);
    if (Form == nullptr || !Form->ComponentState().Contains(csDestroying))
        FLabelInfo->FVisible = false;
}

void TOvcCustomControl::PositionLabel()
{
    TOvcAttachedLabel* Label = FLabelInfo->ALabel;
    if (!FLabelInfo->Visible() || Label == nullptr || Label->Parent() == nullptr || Loading())
        return;
    const int X = Left() + FLabelInfo->OffsetX();
    const int Y = FLabelBelow ? Top() + Height() + FLabelInfo->OffsetY()
                              : Top() + FLabelInfo->OffsetY() - Label->Height();
    Label->SetBounds(X, Y, Label->Width(), Label->Height());
}

void TOvcCustomControl::LabelVisibleChange()
{
    if (FAssigningLabel)
        return;
    if (FLabelInfo->Visible())
        CreateLabel();
    else
        FreeLabel();
}

void TOvcCustomControl::LabelPositionChange()
{
    PositionLabel();
}

void TOvcCustomControl::CreateLabel()
{
    if (Loading())
        return;
    TCustomForm* Form = GetParentForm(this);
    if (Form == nullptr)
        return;
    FreeLabel();
    auto* Label = new TOvcAttachedLabel(Form, this);
    FLabelInfo->ALabel = Label;
    Label->FreeNotification(this);
    Label->SetParent(Parent());
    const std::string Name = UniqueComponentName(Form, this->Name() + "Label");
    Label->SetName(Name);
    Label->SetCaption(Name);
    FLabelInfo->FOffsetX = 0;
    FLabelInfo->FOffsetY = 0;
    PositionLabel();
    Label->BringToFront();
    Label->SetAutoSize(true);
}

void TOvcCustomControl::FreeLabel()
{
    TOvcAttachedLabel* Label = FLabelInfo->ALabel;
    FLabelInfo->ALabel = nullptr;
    if (Label != nullptr) {
        Label->RemoveFreeNotification(this);
        delete Label;
    }
}

const TMessageMap& TOvcCustomControl::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TOvcCustomControl::WMSetFocus>(WM_SETFOCUS),
        OnMessage<&TOvcCustomControl::WMKillFocus>(WM_KILLFOCUS),
        OnMessage<&TOvcCustomControl::WMMouseWheel>(WM_MOUSEWHEEL),
        OnMessage<&TOvcCustomControl::CMVisibleChanged>(CM_VISIBLECHANGED),
        OnMessage<&TOvcCustomControl::OMAfterEnter>(OM_AFTERENTER),
        OnMessage<&TOvcCustomControl::OMAfterExit>(OM_AFTEREXIT),
        OnMessage<&TOvcCustomControl::OMPositionLabel>(OM_POSITIONLABEL),
        OnMessage<&TOvcCustomControl::OMRecordLabelPosition>(OM_RECORDLABELPOSITION),
        OnMessage<&TOvcCustomControl::OMAssignLabel>(OM_ASSIGNLABEL),
    });
    static constexpr TMessageMap Map{Handlers, &TCustomControl::ClassMessageMap};
    return Map;
}

void TOvcCustomControl::WMSetFocus(TMessage& Message)
{
    Inherited(Message);
    PostMessage(Handle(), OM_AFTERENTER, 0, 0);
}

void TOvcCustomControl::WMKillFocus(TMessage& Message)
{
    Inherited(Message);
    if (HandleAllocated())
        PostMessage(Handle(), OM_AFTEREXIT, 0, 0);
}

void TOvcCustomControl::WMMouseWheel(TMessage& Message)
{
    Inherited(Message);
    DoMouseWheel(KeysToShiftState(LoWord(Message.WParam)),
                 static_cast<Word>(HiWord(Message.WParam)),
                 static_cast<Word>(LoWord(static_cast<std::uintptr_t>(Message.LParam))),
                 static_cast<Word>(HiWord(static_cast<std::uintptr_t>(Message.LParam))));
}

void TOvcCustomControl::CMVisibleChanged(TMessage& Message)
{
    Inherited(Message);
    if (FLabelInfo->Visible() && FLabelInfo->ALabel != nullptr && !Loading())
        FLabelInfo->ALabel->SetVisible(Visible());
}

void TOvcCustomControl::OMAfterEnter(TMessage&)
{
    if (AfterEnter)
        AfterEnter(this);
}

void TOvcCustomControl::OMAfterExit(TMessage&)
{
    if (AfterExit)
        AfterExit(this);
}

void TOvcCustomControl::OMPositionLabel(TMessage&)
{
    TOvcAttachedLabel* Label = FLabelInfo->ALabel;
    if (!FLabelInfo->Visible() || Label == nullptr || Loading())
        return;
    const int DX = Label->Left() - Left();
    const int DY =
        FLabelBelow ? Label->Top() - (Top() + Height()) : Label->Top() + Label->Height() - Top();
    if (DX != FLabelInfo->OffsetX() || DY != FLabelInfo->OffsetY())
        PositionLabel();
}

void TOvcCustomControl::OMRecordLabelPosition(TMessage&)
{
    TOvcAttachedLabel* Label = FLabelInfo->ALabel;
    if (Label == nullptr)
        return;
    const int DX = Label->Left() - Left();
    const int DY =
        FLabelBelow ? Label->Top() - (Top() + Height()) : Label->Top() + Label->Height() - Top();
    FLabelInfo->SetOffsets(DX, DY);
}

void TOvcCustomControl::OMAssignLabel(TMessage& Message)
{
    auto* Label = reinterpret_cast<TOvcAttachedLabel*>(Message.LParam);
    if (Label != FLabelInfo->ALabel) {
        FLabelInfo->ALabel = Label;
        Label->FreeNotification(this);
    }
    // The label exists already: only record that it is shown.
    FAssigningLabel = true;
    FLabelInfo->SetVisible(true);
    FAssigningLabel = false;
}

void TOvcCustomControlEx::SetController(TOvcController* Value)
{
    if (Value == FController)
        return;
    if (FController != nullptr)
        FController->RemoveFreeNotification(this);
    FController = Value;
    if (FController != nullptr)
        FController->FreeNotification(this);
}

void TOvcCustomControlEx::CreateWnd()
{
    TCustomForm* Form = GetParentForm(this);
    if (FController == nullptr && Form != nullptr && !Form->ComponentState().Contains(csLoading)) {
        for (int I = 0; I < Form->ComponentCount(); ++I)
            if (auto* C = dynamic_cast<TOvcController*>(Form->Components(I))) {
                SetController(C);
                break;
            }
        if (FController == nullptr && !Form->ComponentState().Contains(csDesigning))
            throw ENoControllerAssigned();
    }
    TOvcCustomControl::CreateWnd();
}

void TOvcCustomControlEx::Notification(TComponent* AComponent, TOperation Operation)
{
    TOvcCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FController && AComponent != nullptr)
        FController = nullptr;
    else if (Operation == opInsert && FController == nullptr)
        if (auto* C = dynamic_cast<TOvcController*>(AComponent))
            SetController(C);
}
