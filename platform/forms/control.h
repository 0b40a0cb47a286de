// platform/forms/control.h: TControl, the base of every control: bounds, alignment and anchors,
// visibility, fonts and colours, text, mouse events and the message chain (WindowProc ->
// WndProc -> Dispatch through the message maps -> DefaultHandler).
#pragma once

#include "platform/forms/controltypes.h"
#include "platform/forms/drag.h"
#include "platform/forms/messagemap.h"
#include "platform/forms/sizeconstraints.h"
#include "platform/gfx/color.h"
#include "platform/gfx/graphicsobjects.h"
#include "platform/rtl/component.h"
#include "platform/rtl/geometry.h"
#include "platform/ui/cursors.h"
#include "platform/ui/messages.h"

#include <memory>
#include <string>

class TWinControl;
class TCustomForm;
class TPopupMenu;

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
    virtual void SetVisible(bool Value);
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
    // With ParentShowHint (the default) a control shows hints when its parent does; setting
    // ShowHint clears ParentShowHint (platform/forms/hints.cpp).
    bool ShowHint() const;
    void SetShowHint(bool Value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool Value);
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }
    // The context menu (platform/forms/menus.h); cleared when that menu is freed.
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);

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
    // (the handler of the most derived class that has one, platform/forms/messagemap.h) ->
    // DefaultHandler.
    TWndMethod WindowProc;
    virtual void WndProc(TMessage& Message);
    virtual void Dispatch(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);

    // The root of the message maps: TControl's own table; MessageMap is the most derived one.
    static const TMessageMap& ClassMessageMap();
    virtual const TMessageMap& MessageMap() const { return ClassMessageMap(); }

    bool MouseCapture() const;
    void SetMouseCapture(bool Value);
    // The form the control is on (the topmost parent when it is a form), or null.
    TCustomForm* ParentForm() const;
    // Tells the active control of each form up the parent chain that Sender was pressed
    // (CM_CANCELMODE), so that what it has open (a drop-down, an in-place editor) closes.
    void SendCancelMode(TControl* Sender);

    // The drag of the control inside the program (platform/forms/drag.h): with dmAutomatic a
    // press of the left button starts it; BeginDrag starts it at once or once the pointer has
    // moved Threshold pixels (-1: the default).
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode Value) { FDragMode = Value; }
    TCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor Value) { FDragCursor = Value; }
    void BeginDrag(bool Immediate, int Threshold = -1);
    bool Dragging() const;
    void EndDrag(bool Drop);
    virtual void DragDrop(TObject* Source, int X, int Y);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnResize;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TContextPopupEvent OnContextPopup;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TStartDragEvent OnStartDrag;
    TEndDragEvent OnEndDrag;

protected:
    virtual std::string GetText() const;
    virtual void SetTextBuf(const std::string& Value);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void Resize();
    // The wheel: OnMouseWheel, then per whole notch DoMouseWheelDown or DoMouseWheelUp; true
    // when handled (else the parent gets it). MousePos in screen coordinates.
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
    // MousePos in client coordinates, (-1, -1) from the keyboard.
    virtual void DoContextPopup(TPoint MousePos, bool& Handled);
    virtual void Changed() {}
    // Accept starts as whether OnDragOver is assigned, which then decides.
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    virtual void DoStartDrag(TDragObject*& DragObject);
    virtual void DoEndDrag(TObject* Target, int X, int Y);
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void VisibleChanging() {}
    // Takes R as the bounds the control has now, whoever set them (its window included).
    void UpdateBoundsRect(const TRect& R);
    void RequestAlign();
    void UpdateAnchorRules();
    void ApplyConstraints(int& AWidth, int& AHeight) const;
    virtual bool IsWindowed() const { return false; }
    void ParentFontChanged();
    void ParentColorChanged();
    // Records Value as Visible and nothing more, for a class that shows and hides itself (a form
    // shows its window with its state and placement).
    void StoreVisible(bool Value) { FVisible = Value; }

    // Gives Message to the handler of the classes above From's, or to DefaultHandler; the
    // Inherited of each message map calls it.
    void InheritedMessage(const TMessageMap* From, TMessage& Message);
    void Inherited(TMessage& Message) { InheritedMessage(ClassMessageMap().Parent(), Message); }

    void WMMouse(TMessage& Message); // WM_MOUSEMOVE to WM_MBUTTONDBLCLK
    void CMEnabledChanged(TMessage& Message);
    void CMVisibleChanged(TMessage& Message);
    void CMColorChanged(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void CMTextChanged(TMessage& Message);
    void CMParentFontChanged(TMessage& Message);
    void CMParentColorChanged(TMessage& Message);
    void CMMouseEnter(TMessage& Message);
    void CMMouseLeave(TMessage& Message);
    void WMMouseWheel(TMessage& Message);
    void CMMouseWheel(TMessage& Message);
    void WMContextMenu(TMessage& Message);
    // Under the pointer, the window there chooses the pointer's shape again.
    void CMCursorChanged(TMessage& Message);
    void CMDrag(TMessage& Message);

private:
    // Same unit as the class library's: a parent sets its children's parent and anchor rules.
    friend class TWinControl;
    friend class TBaseDragControlObject; // ends the drag on its control
    // Called after the bounds changed; FromUser is false for the parent's alignment.
    void BoundsChanged(const TRect& Old, bool FromUser);
    void FontChanged(TObject* Sender);
    // Forgets Control as the control with the capture or under the mouse (it goes away).
    static void ForgetMouseControl(TControl* Control);

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
    bool FParentShowHint = true;
    int FHelpContext = 0;
    TPopupMenu* FPopupMenu = nullptr;
    bool FSettingFont = false;
    int FWheelAccumulator = 0; // what is left of a notch the wheel has not finished
    TDragMode FDragMode = dmManual;
    TCursor FDragCursor = crDrag;
};

// The control that holds the mouse for controls without a window.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
