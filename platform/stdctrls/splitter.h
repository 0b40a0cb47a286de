// platform/stdctrls/splitter.h: TSplitter, a bar aligned beside another aligned control that
// the mouse drags to resize that control, down to MinSize and leaving MinSize to the rest.
#pragma once

#include "platform/forms/controls.h"

enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };

class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(TComponent* AOwner);
    ~TSplitter() override;

    int MinSize() const { return FMinSize; }
    void SetMinSize(int Value) { FMinSize = Value > 0 ? Value : 1; }
    // rsUpdate resizes while dragging; rsLine and rsPattern show a bar and resize on release;
    // rsNone shows nothing until then.
    TResizeStyle ResizeStyle() const { return FResizeStyle; }
    void SetResizeStyle(TResizeStyle Value) { FResizeStyle = Value; }

    TNotifyEvent OnMoved;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Paint() override;
    // Aligned to the top or bottom, the split cursor turns vertical.
    void Resize() override;
    // The aligned control whose edge touches the splitter, or null.
    TControl* FindResizeControl() const;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool Horizontal() const { return Align() == alLeft || Align() == alRight; }
    int NewSizeAt(int X, int Y) const;
    void ApplySize(int Size);
    void ShowBar(int Size);
    void HideBar();
    TRect BarRect(int Size) const;
    void StopSizing();

    int FMinSize = 30;
    TResizeStyle FResizeStyle = rsPattern;
    TControl* FControl = nullptr; // the control being resized while dragging
    int FDownPos = 0;             // in the parent's coordinates
    int FOldSize = 0;
    int FMaxSize = 0;
    int FNewSize = 0;
    HDC FBarDC = nullptr;
    bool FBarShown = false;
    int FBarSize = 0;
};
