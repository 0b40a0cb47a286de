// platform/forms/scrollingwincontrol.h: TScrollingWinControl, a windowed control whose children
// lie on an area larger than its client area, scrolled with the window's own bars
// (TControlScrollBar: Range, Position, Increment, Visible, Tracking; with AutoScroll the ranges
// follow the children), by the wheel, and by ScrollInView.
#pragma once

#include "platform/forms/wincontrol.h"

enum TScrollBarKind { sbHorizontal, sbVertical };

class TScrollingWinControl;

class TControlScrollBar : public TPersistent {
public:
    TControlScrollBar(TScrollingWinControl* Control, TScrollBarKind Kind);

    TScrollBarKind Kind() const { return FKind; }
    // The size of the scrolled area along the bar (pixels).
    int Range() const { return FRange; }
    void SetRange(int Value);
    // Within 0..Range - the client size; moving it moves the children.
    int Position() const { return FPosition; }
    void SetPosition(int Value);
    // What an arrow click scrolls.
    int Increment() const { return FIncrement; }
    void SetIncrement(int Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // Scroll while the thumb is dragged, not only when it is let go.
    bool Tracking() const { return FTracking; }
    void SetTracking(bool Value) { FTracking = Value; }
    // Space kept beyond the last child when the range is worked out.
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    // The client size along the bar.
    int ControlSize() const;
    bool IsScrollBarVisible() const;
    // The largest position the range allows.
    int MaxPosition() const;

    void Assign(const TPersistent* Source) override;

private:
    friend class TScrollingWinControl;
    // A WM_HSCROLL or WM_VSCROLL request of the bar.
    void ScrollMessage(UINT Code);
    // Shows the range and position on the window's bar.
    void Update();
    // A range from the children, keeping AutoScroll from being turned off.
    void SetCalcRange(int Value);

    TScrollingWinControl* FControl;
    TScrollBarKind FKind;
    int FRange = 0;
    int FPosition = 0;
    int FIncrement = 8;
    int FMargin = 0;
    bool FVisible = true;
    bool FTracking = false;
};

class TScrollingWinControl : public TWinControl {
public:
    explicit TScrollingWinControl(TComponent* AOwner);
    ~TScrollingWinControl() override;

    TControlScrollBar* HorzScrollBar() const { return FHorzScrollBar.get(); }
    TControlScrollBar* VertScrollBar() const { return FVertScrollBar.get(); }
    // The ranges follow the children (they are set by hand otherwise).
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool Value);

    // Moves every child by (DeltaX, DeltaY) and the picture with them.
    void ScrollBy(int DeltaX, int DeltaY);
    // Scrolls the least that brings AControl (a child at any depth) into view; a control larger
    // than the view shows its top-left corner.
    void ScrollInView(TControl* AControl);

protected:
    void CreateWnd() override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void AdjustClientRect(TRect& Rect) override;
    bool RealignsOnEveryChild() const override { return true; }
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    // The ranges from the children's extent, when AutoScroll.
    void CalcAutoRange();
    void UpdateScrollBars();

    void WMHScroll(TMessage& Message);
    void WMVScroll(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    friend class TControlScrollBar;
    std::unique_ptr<TControlScrollBar> FHorzScrollBar;
    std::unique_ptr<TControlScrollBar> FVertScrollBar;
    bool FAutoScroll = true;
    bool FUpdatingScrollBars = false;
};
