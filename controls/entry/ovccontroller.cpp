#include "controls/entry/ovccontroller.h"

#include "controls/entry/ovcbase.h"
#include "controls/entry/ovcmisc.h"
#include "controls/entry/ovcmsgs.h"
#include "platform/forms/messagemap.h"
#include "platform/forms/wincontrol.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/properties.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/queue.h"
#include "platform/ui/window.h"

namespace {

void PublishController()
{
    static const bool Done = [] {
        RegisterEnumeration<TOvcBaseEFOption>({"efoAutoAdvanceChar", "efoAutoAdvanceLeftRight",
                                               "efoAutoAdvanceUpDown", "efoAutoSelect",
                                               "efoBeepOnError", "efoInsertPushes"});
        TPublished<TOvcController>()
            .Property("About", &TOvcController::About, &TOvcController::SetAbout)
            .Property("EntryCommands", &TOvcController::EntryCommands)
            .Property("EntryOptions", &TOvcController::EntryOptions,
                      &TOvcController::SetEntryOptions)
            .Property("Epoch", &TOvcController::GetEpoch, &TOvcController::SetEpoch)
            .Field("OnDelayNotify", &TOvcController::OnDelayNotify, "TDelayNotifyEvent")
            .Field("OnError", &TOvcController::OnError, "TDataErrorEvent")
            .Field("OnGetEpoch", &TOvcController::OnGetEpoch, "TGetEpochEvent")
            .Field("OnIsSpecialControl", &TOvcController::OnIsSpecialControl,
                   "TIsSpecialControlEvent")
            .Field("OnPostEdit", &TOvcController::OnPostEdit, "TPostEditEvent")
            .Field("OnPreEdit", &TOvcController::OnPreEdit, "TPreEditEvent")
            .Field("OnTimerTrigger", &TOvcController::OnTimerTrigger, "TTriggerEvent");
        return true;
    }();
    (void)Done;
}

// What the owner's insert notification does for a controller: controls without one take it.
// The notification itself comes before this class's part is built, so it is repeated here.
void OfferTo(TComponent* Owner, TOvcController* Controller)
{
    for (int I = 0; I < Owner->ComponentCount(); ++I) {
        TComponent* Component = Owner->Components(I);
        if (auto* Control = dynamic_cast<TOvcCustomControlEx*>(Component))
            if (Control->Controller() == nullptr)
                Control->SetController(Controller);
        OfferTo(Component, Controller);
    }
}

TWinControl* ControlOf(LPARAM LParam)
{
    return reinterpret_cast<TWinControl*>(LParam);
}

} // namespace

TOvcController::TOvcController(TComponent* AOwner)
    : TOvcComponent(AOwner), FEntryOptions{efoAutoSelect, efoBeepOnError, efoInsertPushes},
      FEntryCommands(std::make_unique<TOvcCommandProcessor>()), FEpoch(DefaultEpoch())
{
    PublishController();
    FTimerPool = new TOvcTimerPool(this);
    FTimerPool->OnAllTriggers = [this](TObject* Sender, int Handle, Cardinal Interval,
                                       int ElapsedTime) {
        if (OnTimerTrigger)
            OnTimerTrigger(Sender, Handle, Interval, ElapsedTime);
    };
    if (Owner() != nullptr)
        OfferTo(Owner(), this);
}

TOvcController::~TOvcController()
{
    Destroying();
    delete FTimerPool;
    FTimerPool = nullptr;
    FEntryCommands.reset();
    if (FHandle != 0)
        DeallocateHWnd(FHandle);
}

int TOvcController::GetEpoch() const
{
    int Result = FEpoch;
    if (OnGetEpoch)
        OnGetEpoch(const_cast<TOvcController*>(this), Result);
    return Result;
}

void TOvcController::SetEpoch(int Value)
{
    if (Value != FEpoch && Value >= 1600 && Value < 4000)
        FEpoch = Value;
}

HWND TOvcController::Handle()
{
    if (FHandle == 0)
        FHandle = AllocateHWnd([this](TMessage& Message) { WndProc(Message); });
    return FHandle;
}

void TOvcController::ReportError(TObject* Field, Word ErrorCode, const std::string& ErrorMsg)
{
    if (OnError)
        OnError(Field, ErrorCode, ErrorMsg);
    else
        MessageBox(ErrorMsg, "Error", MB_ICONERROR | MB_OK);
}

void TOvcController::DelayNotify(TObject* Sender, Word NotifyCode)
{
    PostMessage(Handle(), OM_DELAYNOTIFY, NotifyCode, reinterpret_cast<LPARAM>(Sender));
}

void TOvcController::PostPreEdit(TWinControl* Field, TWinControl* LosingControl)
{
    const HWND Losing = LosingControl != nullptr ? LosingControl->Handle() : 0;
    PostMessage(Handle(), OM_PREEDIT, static_cast<WPARAM>(Losing), reinterpret_cast<LPARAM>(Field));
}

void TOvcController::PostPostEdit(TWinControl* Field, TWinControl* GainingControl)
{
    const HWND Gaining = GainingControl != nullptr ? GainingControl->Handle() : 0;
    PostMessage(Handle(), OM_POSTEDIT, static_cast<WPARAM>(Gaining),
                reinterpret_cast<LPARAM>(Field));
}

bool TOvcController::IsSpecialControl(HWND Wnd)
{
    bool Special = false;
    if (OnIsSpecialControl)
        OnIsSpecialControl(this, FindControl(Wnd), Special);
    return Special;
}

void TOvcController::WndProc(TMessage& Message)
{
    // A notification that fails must not take the window down with it.
    try {
        if (!ClassMessageMap().Dispatch(this, Message))
            Message.Result = DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
    } catch (...) {
        if (Application != nullptr)
            Application->HandleException(this);
        else
            throw;
    }
}

const TMessageMap& TOvcController::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TOvcController::OMShowAndFocus>(OM_SHOWANDFOCUS),
        OnMessage<&TOvcController::OMPreEdit>(OM_PREEDIT),
        OnMessage<&TOvcController::OMPostEdit>(OM_POSTEDIT),
        OnMessage<&TOvcController::OMDelayNotify>(OM_DELAYNOTIFY),
    });
    static constexpr TMessageMap Map{Handlers, nullptr};
    return Map;
}

void TOvcController::OMShowAndFocus(TMessage& Message)
{
    TWinControl* Control = ControlOf(Message.LParam);
    Control->Show();
    if (Control->CanFocus())
        Control->SetFocus();
}

void TOvcController::OMPreEdit(TMessage& Message)
{
    if (OnPreEdit)
        OnPreEdit(ControlOf(Message.LParam), FindControl(static_cast<HWND>(Message.WParam)));
}

void TOvcController::OMPostEdit(TMessage& Message)
{
    if (OnPostEdit)
        OnPostEdit(ControlOf(Message.LParam), FindControl(static_cast<HWND>(Message.WParam)));
}

void TOvcController::OMDelayNotify(TMessage& Message)
{
    if (OnDelayNotify)
        OnDelayNotify(reinterpret_cast<TObject*>(Message.LParam),
                      static_cast<Word>(LoWord(Message.WParam)));
}
