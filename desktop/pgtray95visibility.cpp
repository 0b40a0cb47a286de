// desktop/pgtray95visibility.cpp: how a tray program hides into the notification area and comes
// back, and shows a dialog while it lives hidden: the application window moves between parked
// under the owner window (no taskbar entry) and the top level, shown or hidden.
#include "desktop/pgtray95.h"

#include "desktop/pgappwnd.h"
#include "platform/ui/application.h"
#include "platform/ui/input.h"
#include "platform/ui/screen.h"
#include "platform/ui/window.h"
#include "platform/ui/windowstyles.h"

namespace {

int LockCount = 0;

HWND AppWindow()
{
    return Application != nullptr ? Application->Handle() : 0;
}

// Runs UpdateLock(false) when it goes, also when an exception leaves.
class TLockRelease {
public:
    explicit TLockRelease(TPGTrayIcon95* Tray) : FTray(Tray) {}
    ~TLockRelease() { FTray->UpdateLock(false); }
    TLockRelease(const TLockRelease&) = delete;
    TLockRelease& operator=(const TLockRelease&) = delete;

private:
    TPGTrayIcon95* FTray;
};

} // namespace

int TPGTrayIcon95::UpdateLockCount()
{
    return LockCount;
}

void TPGTrayIcon95::UpdateLock(bool Lock)
{
    if (Lock) {
        ++LockCount;
        return;
    }
    if (--LockCount == 0)
        LockWindowUpdate(0);
}

void TPGTrayIcon95::Park()
{
    if (AppWindow() != 0)
        SetParent(AppWindow(), GetOwnerWindow());
}

void TPGTrayIcon95::Release()
{
    if (AppWindow() != 0)
        SetParent(AppWindow(), 0);
}

void TPGTrayIcon95::MinimizeInstead()
{
    if (Application == nullptr)
        return;
    if (!IsWindowVisible(AppWindow()))
        ShowWindow(AppWindow(), SW_SHOWNA);
    if (TCustomForm* Main = Application->MainForm(); Main != nullptr && Main->Visible())
        ShowWindow(Main->Handle(), SW_MINIMIZE);
    // The application's minimise event reaches AppMinimize, which fires OnAppMinimize.
    Application->Minimize();
}

void TPGTrayIcon95::ShowApplication()
{
    PostCall(this, [this](TObject* S) { DoShowApplication(S); });
}

void TPGTrayIcon95::HideApplication()
{
    if (Application == nullptr)
        return;
    // No tray shows the icon: hidden, the program could not be reached again.
    if (!Docked()) {
        MinimizeInstead();
        return;
    }
    if (!FOptions.Contains(toCloseFormsOnHideApp)) {
        PostCall(this, [this](TObject* S) { DoHideApplication(S); });
        return;
    }
    UpdateLock(true);
    {
        TLockRelease Unlock(this);
        Park();
        if (Screen != nullptr)
            for (int I = Screen->FormCount() - 1; I >= 0; --I) {
                if (I >= Screen->FormCount())
                    continue;
                TCustomForm* Form = Screen->Forms(I);
                if (Form->Visible())
                    HideForm(Form);
            }
        HideApplicationWindow(this);
        Park();
    }
}

void TPGTrayIcon95::DoShowApplication(TObject*)
{
    if (Application == nullptr)
        return;
    UpdateLock(true);
    Park();
    SetForegroundWindow(AppWindow());
    if (IsIconic(AppWindow()))
        Application->Restore();
    TCustomForm* Main = Application->MainForm();
    if (Main == nullptr) {
        Release();
        UpdateLock(false);
        return;
    }
    TLockRelease Unlock(this);
    if (!Main->Visible())
        Main->Show();
    if (FOptions.Contains(toHideTaskBarIconOnShowApp)) {
        ShowWindow(AppWindow(), SW_HIDE);
        ShowWindow(Main->Handle(), SW_SHOWNORMAL);
        AttachCloseNotifier(Main);
    } else {
        ShowWindow(AppWindow(), SW_SHOWNORMAL);
    }
    Release();
}

void TPGTrayIcon95::DoHideApplication(TObject*)
{
    if (Application == nullptr)
        return;
    UpdateLock(true);
    Park();
    Application->NormalizeTopMosts();
    SetActiveWindow(AppWindow());
    // Nothing here animates a minimising window, so there is no animation to switch off.
    ShowWindow(AppWindow(), SW_MINIMIZE);
    CallNotify(OnAppMinimize);
    ShowWindow(AppWindow(), SW_HIDE);
    if (TCustomForm* Main = Application->MainForm())
        ShowWindow(Main->Handle(), SW_HIDE);
    Application->RestoreTopMosts();
    UpdateLock(false);
    HideApplicationWindow(this);
}

void TPGTrayIcon95::HideApplicationWindow(TObject*)
{
    UpdateLock(true);
    TLockRelease Unlock(this);
    Park();
    ShowWindow(AppWindow(), SW_HIDE);
    Release();
}

void TPGTrayIcon95::HideForm(TCustomForm* Form)
{
    if (Form == nullptr)
        throw EInvalidOperation("You cant hide a \"nil\" form !");
    const bool WasHidden = !IsWindowVisible(AppWindow());
    const bool IsMain = Application != nullptr && Form == Application->MainForm();
    UpdateLock(true);
    {
        TLockRelease Unlock(this);
        if (WasHidden) {
            Park();
            ShowWindow(AppWindow(), SW_HIDE);
        }
        if (IsMain)
            Form->Hide();
        else
            Form->Close();
    }
    if (WasHidden || IsMain)
        PostCall(Form, [this](TObject* S) { HideApplicationWindow(S); });
}

int TPGTrayIcon95::ShowModalForm(TCustomForm* Form)
{
    return InternalShowForm(Form, true);
}

int TPGTrayIcon95::ShowForm(TCustomForm* Form)
{
    return InternalShowForm(Form, false);
}

int TPGTrayIcon95::InternalShowForm(TCustomForm* Form, bool Modal)
{
    if (Form == nullptr)
        throw EInvalidOperation("You cant show a \"nil\" form !");
    FAppWasHidden = !IsWindowVisible(AppWindow());
    if (IsIconic(AppWindow()) && Application != nullptr)
        Application->Restore();
    SetForegroundWindow(AppWindow());
    if (Form->Visible() || (Form->HandleAllocated() && IsWindowVisible(Form->Handle()))) {
        FocusForm(Form);
        return 0;
    }
    if (FShowingForm)
        throw EInvalidOperation(
            "You cant call ShowForm or ShowModalForm in the OnShow event of a form !");
    FShowingForm = true;
    int Result = 0;
    try {
        FSavedOnShow = Form->OnShow;
        Form->OnShow = [this](TObject* S) { FormShowHook(S); };
        AttachCloseNotifier(Form);
        UpdateLock(true);
        if (FAppWasHidden)
            Park();
        if (Modal)
            Result = Form->ShowModal();
        else
            Form->Show();
    } catch (...) {
        FShowingForm = false;
        throw;
    }
    FShowingForm = false;
    return Result;
}

void TPGTrayIcon95::FormShowHook(TObject* Sender)
{
    auto* Form = dynamic_cast<TCustomForm*>(Sender);
    const TNotifyEvent Saved = FSavedOnShow;
    // Also when the form's own handler raises, the lock is balanced and its handler put back.
    const auto Finish = [&] {
        UpdateLock(false);
        if (Form != nullptr)
            Form->OnShow = Saved;
        if (FAppWasHidden)
            PostCall(Sender, [this](TObject* S) { FocusForm(S); });
        FShowingForm = false;
    };
    try {
        if (Saved)
            Saved(Sender);
    } catch (...) {
        Finish();
        throw;
    }
    Finish();
}

void TPGTrayIcon95::FocusForm(TObject* Sender)
{
    UpdateLock(true);
    TLockRelease Unlock(this);
    HideApplicationWindow(Sender);
    if (auto* Form = dynamic_cast<TCustomForm*>(Sender); Form != nullptr && Form->HandleAllocated())
        SetForegroundWindow(Form->Handle());
}

void TPGTrayIcon95::AttachCloseNotifier(TCustomForm* Form)
{
    if (Form == nullptr)
        return;
    auto* Notifier = new TPGNotifyOnFormClose(Form);
    Notifier->Attach(Form, [this](TObject* S) { FormClosed(S); });
}

void TPGTrayIcon95::FormClosed(TObject* Sender)
{
    const bool WasHidden = !IsWindowVisible(AppWindow());
    UpdateLock(true);
    {
        TLockRelease Unlock(this);
        if (WasHidden) {
            Park();
            ShowWindow(AppWindow(), SW_HIDE);
        }
    }
    if (WasHidden)
        PostCall(Sender, [this](TObject* S) { HideApplicationWindow(S); });
}

void TPGTrayIcon95::AppMinimize(TObject*)
{
    if (Designing())
        return;
    if (FActive && FOptions.Contains(toMinimizeToTray) && Docked())
        HideApplication();
    CallNotify(OnAppMinimize);
}

void TPGTrayIcon95::AppRestore(TObject*)
{
    if (Designing())
        return;
    if (FActive)
        ShowApplication();
    CallNotify(OnAppRestore);
}

// TPGNotifyOnFormClose

TPGNotifyOnFormClose::TPGNotifyOnFormClose(TComponent* AOwner) : TComponent(AOwner) {}

bool TPGNotifyOnFormClose::Attach(TCustomForm* Form, TNotifyEvent Callback)
{
    for (int I = 0; I < Form->ComponentCount(); ++I) {
        auto* Other = dynamic_cast<TPGNotifyOnFormClose*>(Form->Components(I));
        if (Other != nullptr && Other != this) {
            delete this;
            return false;
        }
    }
    FForm = Form;
    FCallback = std::move(Callback);
    FSavedOnClose = Form->OnClose;
    Form->OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
    return true;
}

void TPGNotifyOnFormClose::FormClose(TObject* Sender, TCloseAction& Action)
{
    if (FCallback)
        FCallback(Sender);
    if (FSavedOnClose)
        FSavedOnClose(Sender, Action);
}
