#include "platform/stdctrls/splitter.h"

#include "platform/forms/wincontrol.h"
#include "platform/ui/windowdc.h"

#include <algorithm>

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetAlign(alLeft);
    SetBounds(0, 0, 3, 100);
    SetCursor(crHSplit);
    SetParentColor(true);
}

TSplitter::~TSplitter()
{
    HideBar();
}

void TSplitter::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FControl)
        StopSizing();
}

TControl* TSplitter::FindResizeControl() const
{
    TWinControl* Up = Parent();
    if (Up == nullptr)
        return nullptr;
    TPoint P;
    switch (Align()) {
    case alLeft:
        P = TPoint{Left() - 1, Top()};
        break;
    case alRight:
        P = TPoint{Left() + Width(), Top()};
        break;
    case alTop:
        P = TPoint{Left(), Top() - 1};
        break;
    case alBottom:
        P = TPoint{Left(), Top() + Height()};
        break;
    default:
        return nullptr;
    }
    for (int I = 0; I < Up->ControlCount(); ++I) {
        TControl* C = Up->Controls(I);
        if (C != this && C->Visible() && C->Align() == Align() && PtInRect(C->BoundsRect(), P))
            return C;
    }
    return nullptr;
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || (FControl = FindResizeControl()) == nullptr)
        return;
    FControl->FreeNotification(this);
    TWinControl* Up = Parent();
    const TRect Client = Up->ClientRect();
    // Everything aligned along the same axis keeps its size; the rest keeps MinSize.
    FMaxSize = (Horizontal() ? Client.Width() : Client.Height()) - FMinSize;
    for (int I = 0; I < Up->ControlCount(); ++I) {
        const TControl* C = Up->Controls(I);
        if (!C->Visible())
            continue;
        if (Horizontal() && (C->Align() == alLeft || C->Align() == alRight))
            FMaxSize -= C->Width();
        if (!Horizontal() && (C->Align() == alTop || C->Align() == alBottom))
            FMaxSize -= C->Height();
    }
    FOldSize = Horizontal() ? FControl->Width() : FControl->Height();
    FMaxSize += FOldSize;
    FDownPos = Horizontal() ? Left() + X : Top() + Y;
    FNewSize = FOldSize;
    if (FResizeStyle == rsLine || FResizeStyle == rsPattern)
        ShowBar(FNewSize);
}

int TSplitter::NewSizeAt(int X, int Y) const
{
    const int Pos = Horizontal() ? Left() + X : Top() + Y;
    const int Split = Pos - FDownPos;
    int Size = (Align() == alLeft || Align() == alTop) ? FOldSize + Split : FOldSize - Split;
    Size = std::min(Size, FMaxSize);
    return std::max(Size, FMinSize);
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (FControl == nullptr)
        return;
    const int Size = NewSizeAt(X, Y);
    if (Size == FNewSize)
        return;
    FNewSize = Size;
    if (FResizeStyle == rsUpdate)
        ApplySize(Size);
    else if (FResizeStyle != rsNone)
        ShowBar(Size);
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (FControl == nullptr)
        return;
    FNewSize = NewSizeAt(X, Y);
    HideBar();
    ApplySize(FNewSize);
    StopSizing();
    if (OnMoved)
        OnMoved(this);
}

void TSplitter::StopSizing()
{
    HideBar();
    if (FControl != nullptr)
        FControl->RemoveFreeNotification(this);
    FControl = nullptr;
}

void TSplitter::ApplySize(int Size)
{
    if (FControl == nullptr)
        return;
    switch (Align()) {
    case alLeft:
        FControl->SetWidth(Size);
        break;
    case alTop:
        FControl->SetHeight(Size);
        break;
    case alRight:
        FControl->SetBounds(FControl->Left() + FControl->Width() - Size, FControl->Top(), Size,
                            FControl->Height());
        break;
    case alBottom:
        FControl->SetBounds(FControl->Left(), FControl->Top() + FControl->Height() - Size,
                            FControl->Width(), Size);
        break;
    default:
        break;
    }
}

// Where the splitter would stand with the control at Size, in the parent's coordinates.
TRect TSplitter::BarRect(int Size) const
{
    const int Delta = Size - FOldSize;
    TRect R = BoundsRect();
    if (Align() == alLeft || Align() == alRight)
        OffsetRect(R, Align() == alLeft ? Delta : -Delta, 0);
    else
        OffsetRect(R, 0, Align() == alTop ? Delta : -Delta);
    return R;
}

// The bar is drawn inverted, so drawing it twice takes it away again.
void TSplitter::ShowBar(int Size)
{
    if (Parent() == nullptr || !Parent()->HandleAllocated())
        return;
    if (FBarDC == nullptr)
        FBarDC = GetDC(Parent()->Handle());
    if (FBarDC == nullptr)
        return;
    auto Invert = [&](int S) {
        const TRect R = BarRect(S);
        FBarDC->PatBlt(R.Left, R.Top, R.Width(), R.Height(), DSTINVERT);
    };
    if (FBarShown)
        Invert(FBarSize);
    Invert(Size);
    FBarShown = true;
    FBarSize = Size;
}

void TSplitter::HideBar()
{
    if (FBarDC == nullptr)
        return;
    if (FBarShown) {
        const TRect R = BarRect(FBarSize);
        FBarDC->PatBlt(R.Left, R.Top, R.Width(), R.Height(), DSTINVERT);
    }
    FBarShown = false;
    HWND Wnd = Parent() != nullptr && Parent()->HandleAllocated() ? Parent()->Handle() : 0;
    ReleaseDC(Wnd, FBarDC);
    FBarDC = nullptr;
}

void TSplitter::Paint()
{
    Canvas()->Brush()->SetColor(Color());
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->FillRect(ClientRect());
}

void TSplitter::Resize()
{
    if (Cursor() == crHSplit || Cursor() == crVSplit)
        SetCursor(Horizontal() ? crHSplit : crVSplit);
    TGraphicControl::Resize();
}
