// platform/stdctrls/updown.h: TUpDown, the class library's up-down control on the
// "msctls_updown32" window class (platform/stdctrls/updownwindow.h): a range and a position
// stepped by Increment, an associated control beside it that shows the position, OnChanging to
// refuse a step and OnClick telling which arrow made it.
#pragma once

#include "platform/forms/controls.h"

#include <functional>

enum TUDAlignButton { udLeft, udRight };
enum TUDOrientation { udHorizontal, udVertical };
enum TUDBtnType { btNext, btPrev };

using TUDChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;

class TUpDown : public TWinControl {
public:
    explicit TUpDown(TComponent* AOwner);
    ~TUpDown() override;

    // The control beside which the up-down sits (taking its room at the AlignButton side) and
    // whose text shows the position; nullptr for none. Cleared when that control goes.
    TWinControl* Associate() const { return FAssociate; }
    void SetAssociate(TWinControl* Value);
    // Where the up-down goes when it is associated.
    TUDAlignButton AlignButton() const { return FAlignButton; }
    void SetAlignButton(TUDAlignButton Value);
    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    // Read back from the associated control's text when there is one; kept within the range.
    int Position();
    void SetPosition(int Value);
    // The step of the first second of holding an arrow; held longer, the steps grow.
    int Increment() const { return FIncrement; }
    void SetIncrement(int Value);
    bool Wrap() const { return FWrap; }
    void SetWrap(bool Value);
    // Up and Down in the associated control step the position.
    bool ArrowKeys() const { return FArrowKeys; }
    void SetArrowKeys(bool Value);
    // A thousands separator in the associated control's text.
    bool Thousands() const { return FThousands; }
    void SetThousands(bool Value);
    // Changing it swaps the width and the height.
    TUDOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TUDOrientation Value);

    // Before each step; clear AllowChange to refuse it.
    TUDChangingEvent OnChanging;
    // After each step: btNext for the up (right) arrow, btPrev for the other.
    TUDClickEvent OnClick;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DefaultHandler(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual bool CanChange();
    using TWinControl::Click;
    virtual void Click(TUDBtnType Button);

    void WMPaint(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);
    void WMMouse(TMessage& Message);
    void CNNotify(TMessage& Message);
    void CNScroll(TMessage& Message); // CN_HSCROLL and CN_VSCROLL
    TW_MESSAGE_MAP();

private:
    DWORD StyleBits() const;
    void UpdateStyle();
    void UpdateAccel();

    TWinControl* FAssociate = nullptr;
    TUDAlignButton FAlignButton = udRight;
    TUDOrientation FOrientation = udVertical;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FIncrement = 1;
    bool FWrap = false;
    bool FArrowKeys = true;
    bool FThousands = true;
    TUDBtnType FPendingButton = btNext; // the arrow of the step the window asked about
};
