// platform/stdctrls/scrollbar.h: TScrollBar, the class library's scroll bar on the "SCROLLBAR"
// window class: Kind, Min, Max, Position, SmallChange, LargeChange, PageSize; OnScroll sees
// each request (and may change where it goes), OnChange each new position.
#pragma once

#include "platform/forms/controls.h"
#include "platform/forms/scrollingwincontrol.h"

#include <functional>

enum TScrollCode {
    scLineUp,
    scLineDown,
    scPageUp,
    scPageDown,
    scPosition,
    scTrack,
    scTop,
    scBottom,
    scEndScroll
};

using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(TComponent* AOwner);
    ~TScrollBar() override;

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind Value);
    int Min() const { return FMin; }
    void SetMin(int Value) { SetParams(FPosition, Value, FMax); }
    int Max() const { return FMax; }
    void SetMax(int Value) { SetParams(FPosition, FMin, Value); }
    // Within Min..Max - PageSize + 1 (Max without a page).
    int Position() const { return FPosition; }
    void SetPosition(int Value) { SetParams(Value, FMin, FMax); }
    int PageSize() const { return FPageSize; }
    void SetPageSize(int Value);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int Value) { FSmallChange = Value; }
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int Value) { FLargeChange = Value; }
    // Raises EInvalidOperation when AMax is below AMin.
    void SetParams(int APosition, int AMin, int AMax);

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DefaultHandler(TMessage& Message) override;
    virtual void Change();
    virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);

    void WMPaint(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);
    // A press runs the bar's own loop until the button is released.
    void WMLButtonDown(TMessage& Message);
    void CNHScroll(TMessage& Message);
    void CNVScroll(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    void DoScroll(TMessage& Message);
    int MaxPosition() const;
    void UpdateBar();

    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FPageSize = 0;
    int FSmallChange = 1;
    int FLargeChange = 1;
};
