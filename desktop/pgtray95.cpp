// desktop/pgtray95.cpp: TPGTrayIcon95's icon: activity, state, tip, the shell record, the
// frame animation, the deferred call and the pop-up menu.
#include "desktop/pgtray95.h"

#include "desktop/pgtray95tip.h"
#include "platform/forms/menus.h"
#include "platform/rtl/strings.h"
#include "platform/ui/application.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"
#include "platform/ui/screen.h"
#include "platform/ui/window.h"

#include <cstring>

int TrayClickWait = 400;

namespace {

// Set while an OnStateChanging handler runs, for every tray icon of the process.
bool ChangingState = false;

} // namespace

TShiftState GetShiftState()
{
    TShiftState Shift;
    const auto Down = [](int Key) { return (GetKeyState(Key) & 0x8000) != 0; };
    if (Down(VK_SHIFT))
        Shift.Include(ssShift);
    if (Down(VK_MENU))
        Shift.Include(ssAlt);
    if (Down(VK_CONTROL))
        Shift.Include(ssCtrl);
    if (Down(VK_LBUTTON))
        Shift.Include(ssLeft);
    if (Down(VK_RBUTTON))
        Shift.Include(ssRight);
    if (Down(VK_MBUTTON))
        Shift.Include(ssMiddle);
    return Shift;
}

// TPGTrayIconAnimation

TPGTrayIconAnimation::TPGTrayIconAnimation(TPGTrayIcon95* ATrayIcon)
    : FTrayIcon(ATrayIcon), FIcons(std::make_unique<TStringList>())
{
    FItem = FTrayIcon->FTimerManager->AddItem(false, FInterval, [this](TObject* S) { Tick(S); });
}

TPGTrayIconAnimation::~TPGTrayIconAnimation() = default;

bool TPGTrayIconAnimation::Running() const
{
    return FTrayIcon->State() == tsAnimated && FTrayIcon->Active();
}

void TPGTrayIconAnimation::SetInterval(int Value)
{
    if (Value == FInterval)
        return;
    FInterval = Value;
    if (Running())
        Start();
}

void TPGTrayIconAnimation::SetIcons(const TStrings* Value)
{
    FIcons->Assign(Value);
    if (Running())
        FFrame = 0;
}

void TPGTrayIconAnimation::Start()
{
    FItem->SetEnabled(false);
    FFrame = 0;
    Tick(FItem);
    if (FTrayIcon->State() == tsAnimated) {
        FItem->SetInterval(FInterval);
        FItem->SetEnabled(true);
    }
}

void TPGTrayIconAnimation::Stop()
{
    FItem->SetEnabled(false);
}

void TPGTrayIconAnimation::Tick(TObject*)
{
    FTrayIcon->CallNotify(FTrayIcon->OnAnimation);
    FTrayIcon->UpdateIcon();
    ++FFrame;
    if (FFrame >= FIcons->Count())
        FFrame = 0;
}

void TPGTrayIconAnimation::LoadFrame(TIcon* Into)
{
    if (FFrame >= FIcons->Count())
        return;
    const std::string Name = FIcons->Strings(FFrame);
    if (FOptions.Contains(aoIconsInExe)) {
        // A resource name longer than 255 bytes is cut there, at a whole character.
        std::string Resource = Name;
        if (Resource.size() > 255) {
            std::size_t End = 255;
            while (End > 0 && (static_cast<unsigned char>(Resource[End]) & 0xC0) == 0x80)
                --End;
            Resource.resize(End);
        }
        Into->SetHandle(LoadImage(UpperCase(Resource), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
        return;
    }
    try {
        Into->LoadFromFile(Name);
    } catch (const EFOpenError&) {
        // A missing frame leaves the one before.
    }
}

// TPGTrayIcon95

TPGTrayIcon95::TPGTrayIcon95(TComponent* AOwner) : TComponent(AOwner)
{
    FOwnerForm = dynamic_cast<TCustomForm*>(AOwner);
    if (FOwnerForm == nullptr)
        throw EInvalidOperation("TrayIcons must be owned by a Form !");
    if (!Designing() && Application != nullptr) {
        ShowWindow(Application->Handle(), SW_HIDE);
        SetParent(Application->Handle(), 0);
    }
    FTimerManager = new TPGTimerManager(this);
    FTimerManager->SetEnabled(true);
    FMsgWindow = new TPGTrayIconMsgWindow(this, this);
    FTip = new TPGTrayTip(this);
    FIconData.Wnd = FMsgWindow->Handle();
    FIconData.uID = TrayIconID;
    FIconData.uCallbackMessage = WM_TRAYICON;
    FIcon = std::make_unique<TIcon>();
    FDisabledIcon = std::make_unique<TIcon>();
    FShownIcon = std::make_unique<TIcon>();
    FAnimation = std::make_unique<TPGTrayIconAnimation>(this);
    FIcon->OnChange = [this](TObject*) {
        if (!Designing() && FActive)
            UpdateIcon();
    };
    FDisabledIcon->OnChange = FIcon->OnChange;
    if (Application != nullptr) {
        Application->OnMinimize = [this](TObject* S) { AppMinimize(S); };
        Application->OnRestore = [this](TObject* S) { AppRestore(S); };
    }
}

TPGTrayIcon95::~TPGTrayIcon95()
{
    FTimerManager->SetEnabled(false);
    RemoveIcon();
    if (FPopupMenu != nullptr)
        FPopupMenu->RemoveFreeNotification(this);
    if (Application != nullptr) {
        Application->OnMinimize = nullptr;
        Application->OnRestore = nullptr;
    }
    FAnimation.reset();
}

bool TPGTrayIcon95::Designing() const
{
    return ComponentState().Contains(csDesigning);
}

void TPGTrayIcon95::Loaded()
{
    TComponent::Loaded();
    if (FActive && !Designing()) {
        FActive = false;
        AddIcon();
    }
}

void TPGTrayIcon95::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu)
        FPopupMenu = nullptr;
}

void TPGTrayIcon95::SetPopupMenu(TPopupMenu* Value)
{
    if (FPopupMenu != nullptr)
        FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = Value;
    if (Value != nullptr)
        Value->FreeNotification(this);
}

void TPGTrayIcon95::SetIcon(const TIcon* Value)
{
    FIcon->Assign(Value);
    UpdateIcon();
}

void TPGTrayIcon95::SetDisabledIcon(const TIcon* Value)
{
    FDisabledIcon->Assign(Value);
    UpdateIcon();
}

void TPGTrayIcon95::SetActive(bool Value)
{
    if (Designing() || ComponentState().Contains(csLoading)) {
        FActive = Value;
        return;
    }
    if (Value)
        AddIcon();
    else
        RemoveIcon();
}

void TPGTrayIcon95::AddIcon()
{
    if (FActive)
        return;
    UpdateIcon();
    FActive = true;
    FIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    NotifyIcon(NIM_ADD);
    if (FState == tsAnimated)
        FAnimation->Start();
}

void TPGTrayIcon95::RemoveIcon()
{
    if (!FActive)
        return;
    FActive = false;
    if (FState == tsAnimated)
        FAnimation->Stop();
    NotifyIcon(NIM_DELETE);
}

bool TPGTrayIcon95::Docked() const
{
    return FActive && NotifyAreaService().IconDocked(FIconData.Wnd, FIconData.uID);
}

void TPGTrayIcon95::SetHint(const std::string& Value)
{
    if (Value == FHint)
        return;
    FHint = Value;
    if (FShowHint)
        SetShowHint(true);
}

void TPGTrayIcon95::SetShowHint(bool Value)
{
    FShowHint = Value;
    RefreshTip();
    if (FActive && !Designing()) {
        FIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        NotifyIcon(NIM_MODIFY);
    }
}

void TPGTrayIcon95::RefreshTip()
{
    SetNotifyTip(FIconData, FShowHint ? FHint : std::string());
}

void TPGTrayIcon95::SetState(TPGTrayIconState NewState)
{
    if (ChangingState) {
        ChangingState = false;
        throw EInvalidOperation("You cannot modify the state property in the OnStateChanging "
                                "event !!!");
    }
    if (!FActive || ComponentState().Contains(csReading) || ComponentState().Contains(csLoading)) {
        FState = NewState;
        return;
    }
    if (NewState == FState)
        return;
    if (OnStateChanging) {
        ChangingState = true;
        try {
            OnStateChanging(this, NewState);
        } catch (...) {
            ChangingState = false;
            throw;
        }
        ChangingState = false;
    }
    if (NewState == FState)
        return;
    if (FState == tsAnimated)
        FAnimation->Stop();
    FState = NewState;
    UpdateIcon();
    if (FState == tsAnimated)
        FAnimation->Start();
}

void TPGTrayIcon95::UpdateIcon()
{
    if (Designing())
        return;
    switch (FState) {
    case tsEnabled:
        FShownIcon->Assign(FIcon.get());
        break;
    case tsDisabled:
        FShownIcon->Assign(FDisabledIcon.get());
        break;
    case tsAnimated:
        FAnimation->LoadFrame(FShownIcon.get());
        break;
    }
    if (FActive) {
        FIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        NotifyIcon(NIM_MODIFY);
    }
}

void TPGTrayIcon95::NotifyIcon(DWORD Command)
{
    if (ComponentState().Contains(csReading) || ComponentState().Contains(csLoading))
        return;
    FIconData.cbSize = 88;
    FTip = new TPGTrayTip(this);
    FIconData.Wnd = FMsgWindow->Handle();
    FIconData.uID = TrayIconID;
    FIconData.uCallbackMessage = WM_TRAYICON;
    FIconData.hIcon = FShownIcon->Empty() ? nullptr : FShownIcon->Handle();
    RefreshTip();
    Shell_NotifyIconA(Command, &FIconData);
}

void TPGTrayIcon95::PostCall(TObject* Sender, TNotifyEvent Method)
{
    FPostMethod = std::move(Method);
    FPostSender = Sender;
    PostMessage(FMsgWindow->Handle(), WM_TRAYPOSTCALL, 0, 0);
}

void TPGTrayIcon95::RunPostedCall()
{
    if (!FPostMethod)
        return;
    TNotifyEvent Method = std::move(FPostMethod);
    TObject* Sender = FPostSender;
    FPostMethod = nullptr;
    FPostSender = nullptr;
    try {
        Method(Sender);
    } catch (const Exception&) {
        // A deferred call that fails is dropped.
    }
}

void TPGTrayIcon95::CallNotify(const TNotifyEvent& Method)
{
    if (Method)
        Method(this);
}

void TPGTrayIcon95::ShowPopup()
{
    HWND AppWnd = Application != nullptr ? Application->Handle() : 0;
    if (AppWnd != 0)
        SetForegroundWindow(AppWnd);
    if (Application != nullptr)
        Application->ProcessMessages();
    if (FPopupMenu == nullptr)
        return;
    const TPoint At = GetCursorPos();
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(At.X, At.Y);
    if (AppWnd != 0)
        PostMessage(AppWnd, WM_USER, 0, 0);
    if (AppWnd != 0 && !IsWindowVisible(AppWnd) && !IsIconic(AppWnd) && Screen != nullptr) {
        for (int I = 0; I < Screen->FormCount(); ++I)
            if (Screen->Forms(I)->Visible())
                return;
    }
    SetForegroundWindow(GetDesktopWindow());
}

void RunApplicationHidden()
{
    if (Application == nullptr)
        return;
    // Without a tray that shows an icon of the program, a hidden start would leave nothing to
    // reach it by.
    bool Docked = false;
    if (Application->MainForm() != nullptr) {
        TCustomForm* Main = Application->MainForm();
        for (int I = 0; I < Main->ComponentCount() && !Docked; ++I)
            if (auto* Tray = dynamic_cast<TPGTrayIcon95*>(Main->Components(I)))
                Docked = Tray->Docked();
    }
    Application->SetShowMainForm(!Docked);
    Application->Run();
}
