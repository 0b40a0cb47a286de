// platform/stdctrls/trackbar.h: TTrackBar, the class library's track bar on the
// "msctls_trackbar32" window class (platform/stdctrls/trackbarwindow.h): its range, position,
// tick marks, line and page sizes, selection range and thumb length, and OnChange when the user
// moves the thumb.
#pragma once

#include "platform/forms/controls.h"

#include <vector>

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
enum TTickStyle { tsNone, tsAuto, tsManual };

class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(TComponent* AOwner);
    ~TTrackBar() override;

    // A Min above Max (or a Max below Min) is refused, as the range may not turn over.
    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    // Kept within Min..Max; setting it in code raises no OnChange.
    int Position();
    void SetPosition(int Value);
    // Every how many positions an automatic tick stands (TickStyle tsAuto).
    int Frequency() const { return FFrequency; }
    void SetFrequency(int Value);
    int LineSize() const { return FLineSize; }
    void SetLineSize(int Value);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int Value);
    // Changing it swaps the width and the height.
    TTrackBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation Value);
    TTickMark TickMarks() const { return FTickMarks; }
    void SetTickMarks(TTickMark Value);
    TTickStyle TickStyle() const { return FTickStyle; }
    void SetTickStyle(TTickStyle Value);
    // A tick of its own at Value (TickStyle tsManual); kept when the window is made again.
    void SetTick(int Value);
    // A range drawn highlighted in the channel, shown while SelEnd > SelStart.
    int SelStart() const { return FSelStart; }
    void SetSelStart(int Value);
    int SelEnd() const { return FSelEnd; }
    void SetSelEnd(int Value);
    // The thumb's size across the channel.
    int ThumbLength() const { return FThumbLength; }
    void SetThumbLength(int Value);

    // The user moved the thumb (keys, clicks, drags); not raised when a request left it in place.
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DefaultHandler(TMessage& Message) override;
    void Changed() override;

    void WMPaint(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);
    void WMMouse(TMessage& Message);
    void CNScroll(TMessage& Message); // CN_HSCROLL and CN_VSCROLL
    TW_MESSAGE_MAP();

private:
    DWORD StyleBits() const;
    // Applies a change of the style bits to the window at once.
    void UpdateStyle();
    void UpdateTicks();

    int FMin = 0;
    int FMax = 10;
    int FPosition = 0;
    int FFrequency = 1;
    int FLineSize = 1;
    int FPageSize = 2;
    int FSelStart = 0;
    int FSelEnd = 0;
    int FThumbLength = 20;
    TTrackBarOrientation FOrientation = trHorizontal;
    TTickMark FTickMarks = tmBottomRight;
    TTickStyle FTickStyle = tsAuto;
    std::vector<int> FTicks;
};
