// platform/forms/form.h: TCustomForm and TForm, the top-level windows of the program built in
// code: border and position, showing, closing with its events, the modal loop, the active
// control, the minimum and maximum tracking sizes; and CreateForm, which makes the first form
// the application's main form.
#pragma once

#include "platform/forms/controls.h"
#include "platform/forms/menus.h"
#include "platform/gfx/icon.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/hooks.h"

#include <memory>

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
// A control's border: bsNone or bsSingle of the form's border styles.
using TBorderStyle = TFormBorderStyle;
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
// Handled takes the key: it goes no further than the form's shortcut check.
using TShortCutEvent = std::function<void(TWMKey& Msg, bool& Handled)>;

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle Value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    TWindowState WindowState() const;
    void SetWindowState(TWindowState Value);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool Value) { FKeyPreview = Value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    TIcon* Icon() const { return FIcon.get(); }
    void SetIcon(TIcon* Value) { FIcon->Assign(Value); }
    TCanvas* Canvas() const;
    bool Active() const { return FActive; }
    // The menu bar, drawn above the client area (platform/forms/menus.h); cleared when the
    // menu is freed.
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* Value);
    // Without a window yet, the client area leaves room for the menu bar above it, as the window
    // will (so that ClientHeight set before the window exists keeps).
    TRect ClientRect() const override;

    // The control that has (or gets, when the form is activated) the focus.
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* Control);
    void FocusControl(TWinControl* Control);
    // Keeps ActiveControl and sends CM_EXIT/CM_ENTER when the focus moves inside the form.
    bool SetFocusedControl(TWinControl* Control);

    void Show();
    void Hide();
    // OnCloseQuery, then OnClose with the action (caHide for most forms, caFree for none);
    // closing the main form ends the application.
    void Close();
    bool CloseQuery();
    // Frees the form once the messages waiting have been handled.
    void Release();
    // Shows the form with the other top-level windows of the program disabled and runs the
    // loop until ModalResult is set; gives it back. The windows are enabled again also when an
    // exception leaves the loop.
    virtual TModalResult ShowModal();
    bool Modal() const { return FModal; }
    void SetFocus() override;
    bool CanFocus() const override;
    // Shows the window with its WindowState, placed by Position at the first show, or hides it.
    void SetVisible(bool Value) override;
    // Moves the focus and the active control off Control and its children (hidden or removed).
    void DefocusControl(TWinControl* Control);
    // The first stop of a key on its way (CN_KEYDOWN): OnShortCut, then the menu's shortcuts;
    // true when one took it.
    virtual bool IsShortCut(TWMKey& Message);
    // CM_CANCELMODE (WParam and LParam: Sender, the control pressed) to the active control of
    // the active form.
    void SendCancelMode(TControl* Sender);
    // Closes what is open over the form (it moves or loses the focus): CM_CANCELMODE with no
    // sender to the active control, WM_CANCELMODE to the window holding the mouse, and the
    // application's hint.
    void CancelModes();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

    // Runs OnCreate, once: CreateForm calls it after the constructor; a form made with new calls
    // it itself once its constructor has set the handlers.
    void AfterConstruction();

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void PaintWindow(HDC DC) override;
    void WndProc(TMessage& Message) override;
    virtual void Paint();
    virtual void DoCreate();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    virtual void Activate();
    virtual void Deactivate();

    void WMActivate(TMessage& Message);
    void WMClose(TMessage& Message);
    void WMGetMinMaxInfo(TMessage& Message);
    void WMMove(TMessage& Message);
    void CMDialogKey(TMessage& Message);
    void CMRelease(TMessage& Message);
    void WMMeasureItem(TMessage& Message);
    void WMDrawItem(TMessage& Message);
    // The menu bar in the non-client area of a top-level form: a band above the client area,
    // painted there, hit-tested as HTMENU, opened by a click and hot under the mouse.
    void WMNCCalcSize(TMessage& Message);
    void WMNCPaint(TMessage& Message);
    void WMNCHitTest(TMessage& Message);
    void WMNCLButtonDown(TMessage& Message);
    void WMNCMouseMove(TMessage& Message);
    // The menu or one of its items changed: the band is measured anew (the client area changes
    // with its height) or repainted.
    void CMMenuChanged(TMessage& Message);
    void Notification(TComponent* AComponent, TOperation Operation) override;
    TW_MESSAGE_MAP();

private:
    void PlaceOnShow();
    void SetWindowFocus();
    bool HasMenuBar() const { return Parent() == nullptr && FMenu != nullptr; }
    // The bar item under the mouse shows hot until the mouse leaves the bar (a mouse hook sees
    // it go elsewhere in the program; WM_MOUSELEAVE when it leaves the window).
    void SetMouseHotItem(int Index);
    void StopMouseHotItem();

    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TFormStyle FFormStyle = fsNormal;
    TPosition FPosition = poDesigned;
    TWindowState FWindowState = wsNormal;
    bool FKeyPreview = false;
    TModalResult FModalResult = mrNone;
    std::unique_ptr<TIcon> FIcon;
    std::unique_ptr<TControlCanvas> FCanvas;
    TWinControl* FActiveControl = nullptr;
    TMainMenu* FMenu = nullptr;
    int FMenuBarHeight = 0; // the band the non-client area holds now
    HHOOK FMenuBarHook = 0;
    TWinControl* FFocusedControl = nullptr;
    bool FActive = false;
    bool FModal = false;
    bool FPlaced = false;
    bool FCreated = false;
};

class TForm : public TCustomForm {
public:
    explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// The form of a control (null when it is on none).
TCustomForm* GetParentForm(const TControl* Control);

// Creates a form of class T owned by the application; the first one made this way becomes the
// main form, which Run shows (when ShowMainForm is set) and whose closing ends Run.
template <class T>
T* CreateForm(TApplication* App, T*& Reference)
{
    Reference = nullptr;
    T* Form = new T(App);
    try {
        Form->AfterConstruction();
    } catch (...) {
        delete Form;
        throw;
    }
    Reference = Form;
    if (App->MainForm() == nullptr) {
        Form->HandleNeeded();
        App->SetMainForm(Form);
    }
    return Form;
}
