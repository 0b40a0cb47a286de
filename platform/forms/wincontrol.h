// platform/forms/wincontrol.h: TWinControl, a control with a window of its own: the window's
// life, children in z-order and their alignment, focus and tab order, the keys (shortcuts,
// CM_CHILDKEY, dialog keys, accelerators, KeyPreview) it hands on to its parents and form, and
// its painting (double-buffered, onto another canvas, over its parent when transparent).
#pragma once

#include "platform/forms/control.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/window.h"

#include <string>
#include <vector>

// The parameters CreateWnd gives to CreateWindowEx.
struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = 0;
    TWndClass WindowClass;
    std::string WinClassName;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // The window, created on first use.
    HWND Handle();
    bool HandleAllocated() const { return FHandle != 0; }
    void HandleNeeded();
    // Makes the window again (CM_RECREATEWND; post that message to do it later, e.g. from inside
    // one of the window's own messages).
    void RecreateWnd();
    // A window the control lives in when it has no parent control (0: none).
    HWND ParentWindow() const { return FParentWindow; }
    void SetParentWindow(HWND Value);

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int Index) const { return FControls.at(static_cast<std::size_t>(Index)); }
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    bool ContainsControl(const TControl* Control) const;
    // The visible and enabled child (graphic controls included) at a client point.
    TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled) const;

    int TabOrder() const;
    void SetTabOrder(int Value);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    // The windowed children in tab order, depth first.
    void GetTabOrderList(std::vector<TWinControl*>& List) const;
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                 bool CheckParent) const;
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();

    // Paints into a bitmap and copies it to the window, with no erase of the window first.
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
    // The 3-D look; a control with ParentCtl3D takes its parent's.
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    bool ParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool Value);
    // Paints the control and its children onto DC (or a TCanvas) with its top-left corner at
    // (X, Y); csPaintCopy is in ControlState meanwhile.
    void PaintTo(HDC DC, int X, int Y);

    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();
    void Realign();
    void Invalidate() override;
    void Update() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    TRect ClientRect() const override;
    bool Showing() const override;
    void SetEnabled(bool Value) override;

    void DefaultHandler(TMessage& Message) override;
    void WndProc(TMessage& Message) override;

    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    // Key handling shared with the message pre-processing of the form layer; true when the
    // key was taken (KeyPreview forms first).
    bool DoKeyDown(TMessage& Message);
    bool DoKeyPress(TMessage& Message);
    bool DoKeyUp(TMessage& Message);

protected:
    // The window without creating it (0 before the first use).
    HWND WindowHandle() const { return FHandle; }
    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateWnd();
    virtual void CreateHandle();
    virtual void DestroyWnd();
    virtual void DestroyHandle();
    // Places the aligned and anchored children (AlignBounds, platform/forms/alignment.h) in
    // Rect, which keeps what the aligned ones leave.
    virtual void AlignControls(TControl* AControl, TRect& Rect);
    virtual void AdjustClientRect(TRect&) {}
    // Whether every child's move, resize, arrival or departure realigns this control, aligned
    // or not (a scrolling control's ranges follow its children).
    virtual bool RealignsOnEveryChild() const { return false; }
    virtual void PaintWindow(HDC) {}
    void SetTextBuf(const std::string& Value) override;
    void PaintControls(HDC DC, TControl* First);
    void PaintHandler(TMessage& Message);
    // Sends CM_SHOWINGCHANGED to this control and its windowed children whose Showing changed.
    void UpdateShowing();
    // Whether the form's shortcuts (and the menus') take the key.
    bool IsMenuKey(TWMKey& Key);
    virtual void KeyDown(Word& Key, TShiftState Shift);
    virtual void KeyUp(Word& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    virtual void DoEnter();
    virtual void DoExit();
    // Hands Message to each child until one answers it (a non-zero Result).
    void Broadcast(TMessage& Message);
    bool IsWindowed() const override { return true; }

    void WMPaint(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);
    void WMWindowPosChanged(TMessage& Message);
    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void WMSetText(TMessage& Message);
    void WMKeyDown(TMessage& Message);
    void WMSysKeyDown(TMessage& Message);
    void WMKeyUp(TMessage& Message);
    void WMSysKeyUp(TMessage& Message);
    void WMChar(TMessage& Message);
    // Answers with the help context of this control or its nearest parent with one, else the
    // application's, and asks the help service for it.
    void WMHelp(TMessage& Message);
    void CNKeyDown(TMessage& Message); // CN_KEYDOWN and CN_SYSKEYDOWN
    void CNChar(TMessage& Message);
    void CNSysChar(TMessage& Message);
    void CMDialogKey(TMessage& Message);
    void CMDialogChar(TMessage& Message);
    void CMFocusChanged(TMessage& Message);
    void CMEnter(TMessage& Message);
    void CMExit(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void CMColorChanged(TMessage& Message);
    void CMVisibleChanged(TMessage& Message);
    // A child window's WM_COMMAND, WM_DRAWITEM and WM_MEASUREITEM go back to its control as
    // CN_COMMAND, CN_DRAWITEM and CN_MEASUREITEM; likewise:
    void WMCommand(TMessage& Message);
    void WMDrawItem(TMessage& Message);
    void WMMeasureItem(TMessage& Message);
    // WM_NOTIFY (to the control named by its NMHDR) and the WM_HSCROLL/WM_VSCROLL of a scroll
    // bar, track bar or up-down control (named by LParam) go back as CN_NOTIFY, CN_HSCROLL and
    // CN_VSCROLL.
    void WMNotify(TMessage& Message);
    void WMScroll(TMessage& Message);
    void CMChildKey(TMessage& Message);
    void CMRecreateWnd(TMessage& Message);
    void CMCtl3DChanged(TMessage& Message);
    void CMParentCtl3DChanged(TMessage& Message);
    // A child window asking for its colours (WM_CTLCOLOREDIT ...) asks its control (CN_).
    void WMCtlColor(TMessage& Message);
    void WMContextMenu(TMessage& Message);
    // Over the client area: the screen's cursor, else that of the control under the pointer,
    // else this control's; crDefault throughout leaves it to the window class.
    void WMSetCursor(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    // Same unit as the class library's: a control moves itself in its parent's z-order.
    friend class TControl;
    friend LRESULT ControlInitWndProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT MainWndProc(UINT Msg, WPARAM WParam, LPARAM LParam);
    void AlignChildren();
    void RouteMouse(TMessage& Message);
    void TrackMouseControl(TControl* Control);
    // The menu key or Shift+F10 not taken by the key events: WM_CONTEXTMENU from the keyboard.
    void ContextKey(const TMessage& Message);
    void PaintBuffered();
    // Paints the parent, moved to this control's origin, onto DC (a transparent control's
    // background).
    void PaintParentBackground(HDC DC);

    HWND FHandle = 0;
    std::vector<TControl*> FControls; // z-order: first at the bottom
    std::vector<TWinControl*> FTabList;
    HWND FParentWindow = 0;
    bool FTabStop = false;
    int FAlignLevel = 0;
    bool FAligning = false;
    TSize FLastClientSize;
    bool FDoubleBuffered = false;
    bool FCtl3D = true;
    bool FParentCtl3D = true;
    bool FShowing = false; // as last told by CM_SHOWINGCHANGED
};

// The control the window belongs to, or null.
TWinControl* FindControl(HWND Wnd);
// Paints Control on DC moved to its place and clipped to it (DC in its parent's client
// coordinates).
void PaintControlOn(HDC DC, TControl* Control);
