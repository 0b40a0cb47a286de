// TPopupMenu: OnPopup, then a modal pop-up window at a point, the chosen item's OnClick once it
// has closed; a control's context menu and the key route's menu step.
#include "platform/forms/form.h"
#include "platform/forms/menudraw.h"
#include "platform/ui/input.h"
#include "platform/ui/queue.h"
#include "platform/ui/window.h"

namespace {

// The window owner-drawn items are measured and drawn through while a menu is open: a hidden
// utility window that hands WM_MEASUREITEM and WM_DRAWITEM to the items.
class TOwnerDrawWindow {
public:
    TOwnerDrawWindow()
        : FWnd(AllocateHWnd([this](TMessage& Message) {
              Message.Result =
                  DefMenuOwnerDraw(Message.Msg, Message.LParam)
                      ? 1
                      : DefWindowProc(FWnd, Message.Msg, Message.WParam, Message.LParam);
          }))
    {
    }
    ~TOwnerDrawWindow() { DeallocateHWnd(FWnd); }
    TOwnerDrawWindow(const TOwnerDrawWindow&) = delete;
    TOwnerDrawWindow& operator=(const TOwnerDrawWindow&) = delete;
    HWND Handle() const { return FWnd; }

private:
    HWND FWnd = 0;
};

// The window the pop-up belongs to: the form of the control it is shown for, else the active
// window, else the application's.
HWND PopupOwner(TComponent* PopupComponent)
{
    if (auto* Control = dynamic_cast<TControl*>(PopupComponent))
        if (TCustomForm* Form = GetParentForm(Control); Form != nullptr && Form->HandleAllocated())
            return Form->Handle();
    if (const HWND Active = GetActiveWindow())
        return Active;
    return Application != nullptr ? Application->Handle() : 0;
}

} // namespace

TMenuItem* RunPopupMenu(TMenuItem* Root, TPoint At, TPopupAlignment Alignment, HWND OwnerDraw,
                        HWND Owner)
{
    if (TMenuLoop::Current() != nullptr)
        TMenuLoop::Current()->Cancel(); // menus do not nest: the one open closes first
    if (GetCapture() != 0) {
        SendMessage(GetCapture(), WM_CANCELMODE, 0, 0);
        ReleaseCapture();
    }
    TOwnerDrawWindow Fallback;
    TMenuLoop Loop(OwnerDraw != 0 ? OwnerDraw : Fallback.Handle(), Owner);
    return Loop.RunPopup(Root, At, Alignment);
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu()
{
    Destroying();
    SetPopupComponent(nullptr);
}

void TPopupMenu::SetPopupComponent(TComponent* Value)
{
    if (Value == FPopupComponent)
        return;
    if (FPopupComponent != nullptr)
        FPopupComponent->RemoveFreeNotification(this);
    FPopupComponent = Value;
    if (FPopupComponent != nullptr)
        FPopupComponent->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupComponent)
        FPopupComponent = nullptr;
}

void TPopupMenu::DoPopup(TObject* Sender)
{
    if (OnPopup)
        OnPopup(Sender);
}

void TPopupMenu::Popup(int X, int Y)
{
    FPopupPoint = TPoint{X, Y};
    DoPopup(this);
    TMenuItem* Chosen =
        RunPopupMenu(Items(), FPopupPoint, FAlignment, 0, PopupOwner(FPopupComponent));
    if (Chosen != nullptr)
        Chosen->Click();
}

bool ShowControlPopupMenu(TControl* Control, TPoint ScreenPos)
{
    TPopupMenu* Menu = Control != nullptr ? Control->PopupMenu() : nullptr;
    if (Menu == nullptr || !Menu->AutoPopup())
        return false;
    if (ScreenPos.X == -1 && ScreenPos.Y == -1)
        ScreenPos = Control->ClientToScreen(TPoint{0, 0});
    Menu->SetPopupComponent(Control);
    Menu->Popup(ScreenPos.X, ScreenPos.Y);
    return true;
}
