// platform/forms/controls.h: the control base classes. TControl (bounds, alignment and anchors,
// visibility, fonts and colours, mouse and key events, the message chain), TWinControl (a
// window of its own, children, focus and tab order, dialog keys), TGraphicControl (drawn on its
// parent) and TCustomControl (a window with a canvas), with TControlCanvas.
#pragma once

#include "platform/gfx/canvas.h"
#include "platform/gfx/color.h"
#include "platform/gfx/graphicsobjects.h"
#include "platform/rtl/component.h"
#include "platform/rtl/geometry.h"
#include "platform/rtl/sets.h"
#include "platform/ui/cursors.h"
#include "platform/ui/messages.h"
#include "platform/ui/window.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TControl;
class TWinControl;
class TCustomForm;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;
using TCaption = std::string;
using Word = unsigned short;

enum TControlStyleItem {
    csAcceptsControls,
    csCaptureMouse,
    csDesignInteractive,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents,
    csDisplayDragImage,
    csReflector,
    csActionClient,
    csMenuEvents
};
using TControlStyle = TSet<TControlStyleItem>;
enum TControlStateItem {
    csLButtonDown,
    csClicked,
    csPalette,
    csReadingState,
    csAlignmentNeeded,
    csFocusing,
    csCreating,
    csPaintCopy,
    csCustomPaint,
    csDestroyingHandle,
    csDocking
};
using TControlState = TSet<TControlStateItem>;

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;

// The shift state of a key message's key data (Alt from bit 29) and the key state now.
TShiftState KeyDataToShiftState(LPARAM KeyData);
TShiftState KeyboardStateToShiftState();
// True when Caption marks Key with "&" (letters compared without regard to case).
bool IsAccel(unsigned Key, const std::string& Caption);

// Width and height limits of a control; 0 means no limit.
class TSizeConstraints : public TPersistent {
public:
    int MinWidth() const { return FMinWidth; }
    int MinHeight() const { return FMinHeight; }
    int MaxWidth() const { return FMaxWidth; }
    int MaxHeight() const { return FMaxHeight; }
    void SetMinWidth(int Value);
    void SetMinHeight(int Value);
    void SetMaxWidth(int Value);
    void SetMaxHeight(int Value);
    void Assign(const TPersistent* Source) override;

    TNotifyEvent OnChange;

private:
    void Changed();
    int FMinWidth = 0;
    int FMinHeight = 0;
    int FMaxWidth = 0;
    int FMaxHeight = 0;
};

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

// The canvas of a control: during painting it draws on the canvas BeginPaint gave; at other
// times each drawing call draws straight onto the control's window (and is shown at once).
class TControlCanvas : public TCanvas {
public:
    TControlCanvas();
    ~TControlCanvas() override;

    TControl* Control() const { return FControl; }
    void SetControl(TControl* Value);
    // Takes DC's device, clip and origins (null: lets go of them).
    void SetHandle(HDC DC);
    // Outside painting: takes a canvas on the control's window until the next painting or move.
    void Prepare();
    void FreeHandle();

    // Holds DC on the canvas for one painting and lets go of it when the scope ends, also when
    // the painting raises.
    class TPaintScope {
    public:
        TPaintScope(TControlCanvas* ACanvas, HDC DC) : FCanvas(ACanvas) { FCanvas->SetHandle(DC); }
        ~TPaintScope() { FCanvas->SetHandle(nullptr); }
        TPaintScope(const TPaintScope&) = delete;
        TPaintScope& operator=(const TPaintScope&) = delete;

    private:
        TControlCanvas* FCanvas;
    };

private:
    void Drawn();

    TControl* FControl = nullptr;
    HDC FOwnDC = nullptr; // taken outside painting
    HDC FSubDC = nullptr; // the control's part of it, for controls without a window
    bool FPainting = false;
};

// Lets go of every canvas taken outside painting (before painting and when windows move).
void FreeDeviceContexts();

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
    virtual TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(int Value);
    void SetClientHeight(int Value);
    TPoint ClientOrigin() const;
    TPoint ClientToScreen(const TPoint& P) const;
    TPoint ScreenToClient(const TPoint& P) const;

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value);
    TSizeConstraints* Constraints() const { return FConstraints.get(); }

    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    // Visible and, up the parent chain, every parent visible (and the top one showing).
    virtual bool Showing() const;

    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* Value) { FFont->Assign(Value); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);

    // Caption and Text are the same string (WM_SETTEXT/WM_GETTEXT for windowed controls).
    std::string Caption() const { return GetText(); }
    void SetCaption(const std::string& Value) { SetText(Value); }
    std::string Text() const { return GetText(); }
    void SetText(const std::string& Value);

    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value) { FHint = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }

    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState Value) { FControlState = Value; }

    virtual void Invalidate();
    // Invalidate and Update.
    virtual void Repaint();
    virtual void Update();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    // Sends a message through WindowProc.
    LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);
    // The message chain: WindowProc (replaceable, for subclassing) -> WndProc -> Dispatch
    // (handlers by message) -> DefaultHandler.
    TWndMethod WindowProc;
    virtual void WndProc(TMessage& Message);
    virtual void Dispatch(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);

    bool MouseCapture() const;
    void SetMouseCapture(bool Value);
    // The form the control is on (the topmost parent when it is a form), or null.
    TCustomForm* ParentForm() const;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnResize;

protected:
    virtual std::string GetText() const;
    virtual void SetTextBuf(const std::string& Value);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void Resize();
    virtual void Changed() {}
    virtual void VisibleChanging() {}
    // Called after the bounds changed, whoever changed them.
    void BoundsChanged(const TRect& Old, bool FromUser);
    void RequestAlign();
    void UpdateAnchorRules();
    void ApplyConstraints(int& AWidth, int& AHeight) const;
    virtual bool IsWindowed() const { return false; }
    void ParentFontChanged();
    void ParentColorChanged();

private:
    friend class TWinControl;
    void HandleMouse(TMessage& Message);
    void FontChanged(TObject* Sender);

protected:
    TWinControl* FParent = nullptr;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    TControlState FControlState;
    bool FVisible = true;
    bool FEnabled = true;
    std::string FText;

private:
    TAlign FAlign = alNone;
    TAnchors FAnchors{akLeft, akTop};
    TRect FAnchorOrigin;     // bounds the anchors measure from
    TSize FAnchorParentSize; // the parent's client size then
    bool FAnchoring = false;
    std::unique_ptr<TSizeConstraints> FConstraints;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    TColor FColor = clWindow;
    bool FParentColor = false;
    TCursor FCursor = crDefault;
    std::string FHint;
    bool FShowHint = false;
    int FHelpContext = 0;
    bool FSettingFont = false;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // The window, created on first use.
    HWND Handle();
    bool HandleAllocated() const { return FHandle != 0; }
    void HandleNeeded();
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
    void Dispatch(TMessage& Message) override;
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
    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateWnd();
    virtual void CreateHandle();
    virtual void DestroyWnd();
    virtual void DestroyHandle();
    virtual void AlignControls(TControl* AControl, TRect& Rect);
    virtual void AdjustClientRect(TRect&) {}
    virtual void PaintWindow(HDC) {}
    void PaintControls(HDC DC, TControl* First);
    void PaintHandler(TMessage& Message);
    virtual void KeyDown(Word& Key, TShiftState Shift);
    virtual void KeyUp(Word& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    virtual void DoEnter();
    virtual void DoExit();
    // The message numbers of the handlers of this class.
    void WMPaint(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);
    void WMWindowPosChanged(TMessage& Message);
    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void CNKeyDown(TMessage& Message);
    void CNChar(TMessage& Message);
    void CNSysChar(TMessage& Message);
    void Broadcast(TMessage& Message);
    bool IsWindowed() const override { return true; }
    void UpdateWindowState();

    HWND FHandle = 0;

private:
    friend class TControl;
    friend class TCustomForm;
    friend LRESULT ControlInitWndProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT MainWndProc(UINT Msg, WPARAM WParam, LPARAM LParam);
    void AlignChildren();
    void AnchorChildren();
    void RouteMouse(TMessage& Message);
    void TrackMouseControl(TControl* Control);

    std::vector<TControl*> FControls; // z-order: first at the bottom
    std::vector<TWinControl*> FTabList;
    HWND FParentWindow = 0;
    bool FTabStop = false;
    int FAlignLevel = 0;
    bool FAligning = false;
    TSize FLastClientSize;
};

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas* Canvas() const;
    void Dispatch(TMessage& Message) override;

protected:
    virtual void Paint() {}

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* Canvas() const;

    TNotifyEvent OnPaint;

protected:
    virtual void Paint();
    void PaintWindow(HDC DC) override;

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

// The control that holds the mouse for controls without a window.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
// The control the window belongs to, or null.
TWinControl* FindControl(HWND Wnd);
