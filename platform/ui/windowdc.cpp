// platform/ui/windowdc.cpp: canvases on windows, clipped to what shows, over the back buffers.
#include "platform/ui/windowdc.h"

#include "platform/ui/backbuffer.h"
#include "platform/ui/loopstate.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"
#include "platform/ui/window.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

TRegion Moved(TRegion R, int DX, int DY)
{
    R.Offset(DX, DY);
    return R;
}

bool StyleVisible(HWND Wnd)
{
    return (GetWindowLong(Wnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

TPoint ClientOrigin(HWND Wnd)
{
    TPoint P{0, 0};
    ClientToScreen(Wnd, P);
    return P;
}

// Where the window's client area starts in its own window coordinates.
TPoint ClientOffset(HWND Wnd)
{
    TRect W;
    GetWindowRect(Wnd, W);
    const TPoint C = ClientOrigin(Wnd);
    return TPoint{C.X - W.Left, C.Y - W.Top};
}

// What of the window's client area (or, with Whole, of the whole window, in window
// coordinates) shows: inside its parents' client areas, not under its visible children or under
// siblings in front of it or of its parents. Nothing while WM_SETREDRAW holds drawing back.
TRegion VisibleRegion(HWND Wnd, bool Whole = false)
{
    if (uiloop::RedrawSuppressed(Wnd))
        return TRegion();
    TRect Client;
    GetClientRect(Wnd, Client);
    TRegion Area(Client);
    TPoint Offset; // the origin of Area's coordinates, in the coordinates of the parent reached
    if (Whole) {
        TRect W;
        GetWindowRect(Wnd, W);
        Area = TRegion(Bounds(0, 0, W.Width(), W.Height()));
        const TPoint C = ClientOffset(Wnd);
        Offset = TPoint{-C.X, -C.Y};
    }
    // A shaped window shows only inside its region (window coordinates).
    if (TRegion Shape; GetWindowRgn(Wnd, &Shape) != RGN_ERROR) {
        const TPoint C = ClientOffset(Wnd);
        Area = TRegion::Intersect(Area, Whole ? Shape : Moved(Shape, -C.X, -C.Y));
    }
    // Children show only inside the client area: the frame and bars stay over a child that
    // reaches beyond it (a scrolled one).
    for (HWND Child : GetChildWindows(Wnd))
        if (StyleVisible(Child))
            Area = TRegion::Diff(
                Area, Moved(TRegion::Intersect(TRegion(BoundsInParent(Child)), TRegion(Client)),
                            -Offset.X, -Offset.Y));
    for (HWND W = Wnd; GetWindowLong(W, GWL_STYLE) & WS_CHILD;) {
        const HWND Parent = GetParent(W);
        if (Parent == 0)
            break;
        const TPoint Here = ClientOrigin(W);
        const TPoint There = ClientOrigin(Parent);
        Offset.X += Here.X - There.X;
        Offset.Y += Here.Y - There.Y;
        TRect ParentClient;
        GetClientRect(Parent, ParentClient);
        Area = TRegion::Intersect(Area, Moved(TRegion(ParentClient), -Offset.X, -Offset.Y));
        for (HWND Sibling : GetChildWindows(Parent)) {
            if (Sibling == W)
                break;
            if (StyleVisible(Sibling))
                Area = TRegion::Diff(Area,
                                     Moved(TRegion(BoundsInParent(Sibling)), -Offset.X, -Offset.Y));
        }
        W = Parent;
    }
    return Area;
}

// Wnd's client origin (or, with Whole, its window origin) in its top-level window's buffer.
TPoint OriginInTop(HWND Wnd, bool Whole = false)
{
    TRect R, T;
    GetWindowRect(Wnd, R);
    GetWindowRect(GetTopLevelWindow(Wnd), T);
    const TPoint C = Whole ? TPoint{R.Left, R.Top} : ClientOrigin(Wnd);
    return TPoint{C.X - T.Left, C.Y - T.Top};
}

// A window's view of its top-level window's device: client coordinates moved to the window's
// origin, and every call clipped to the area the window may draw (the canvas's own clip comes
// on top).
class TWindowDevice : public TCanvasDevice {
public:
    TWindowDevice(TCanvasDevice* Target, TPoint Origin, TSize Size, TRegion Allowed)
        : FTarget(Target), FOrigin(Origin), FSize(Size), FAllowed(std::move(Allowed))
    {
    }

    TCanvasDevice* Target() const { return FTarget; }
    TPoint Origin() const { return FOrigin; }
    const TRegion& Allowed() const { return FAllowed; }

    int Width() const override { return FSize.cx; }
    int Height() const override { return FSize.cy; }
    int PixelsPerInchX() const override { return FTarget->PixelsPerInchX(); }
    int PixelsPerInchY() const override { return FTarget->PixelsPerInchY(); }
    int DeviceCaps(int Index) const override
    {
        if (Index == HORZRES)
            return FSize.cx;
        if (Index == VERTRES)
            return FSize.cy;
        return FTarget->DeviceCaps(Index);
    }

    void Polyline(const TDeviceState& State, const std::vector<TPoint>& Points) override
    {
        TRegion Clip;
        FTarget->Polyline(Map(State, Clip), Shift(Points));
    }
    void PolyPolygon(const TDeviceState& State, const std::vector<std::vector<TPoint>>& Polygons,
                     bool Winding, bool Fill, bool Stroke) override
    {
        TRegion Clip;
        std::vector<std::vector<TPoint>> Shifted;
        for (const auto& Polygon : Polygons)
            Shifted.push_back(Shift(Polygon));
        FTarget->PolyPolygon(Map(State, Clip), Shifted, Winding, Fill, Stroke);
    }
    void Shape(const TDeviceState& State, const TShapeCall& Call) override
    {
        TRegion Clip;
        TShapeCall C = Call;
        C.Box = Shift(C.Box);
        C.Start = Shift(C.Start);
        C.End = Shift(C.End);
        FTarget->Shape(Map(State, Clip), C);
    }
    void FillRect(const TDeviceState& State, const TRect& R) override
    {
        TRegion Clip;
        FTarget->FillRect(Map(State, Clip), Shift(R));
    }
    void PatBlt(const TDeviceState& State, const TRect& R, std::uint32_t Rop) override
    {
        TRegion Clip;
        FTarget->PatBlt(Map(State, Clip), Shift(R), Rop);
    }
    void StretchBlt(const TDeviceState& State, const TRect& Dest, const TCanvasDevice& Source,
                    const TRect& Src, std::uint32_t Rop, int StretchMode) override
    {
        TRegion Clip;
        FTarget->StretchBlt(Map(State, Clip), Shift(Dest), Source, Src, Rop, StretchMode);
    }
    void SetPixel(const TDeviceState& State, int X, int Y, TColor Color) override
    {
        TRegion Clip;
        FTarget->SetPixel(Map(State, Clip), X + FOrigin.X, Y + FOrigin.Y, Color);
    }
    TColor GetPixel(int X, int Y) const override
    {
        if (X < 0 || Y < 0 || X >= FSize.cx || Y >= FSize.cy)
            return CLR_INVALID;
        return FTarget->GetPixel(X + FOrigin.X, Y + FOrigin.Y);
    }
    void TextOut(const TDeviceState& State, const TDeviceText& Text) override
    {
        TRegion Clip;
        TDeviceText T = Text;
        T.Origin = Shift(T.Origin);
        T.Rect = Shift(T.Rect);
        FTarget->TextOut(Map(State, Clip), T);
    }
    bool ReadPixels(const TRect& R, std::vector<TColor>& Pixels) const override
    {
        return FTarget->ReadPixels(Shift(R), Pixels);
    }

private:
    TPoint Shift(TPoint P) const { return TPoint{P.X + FOrigin.X, P.Y + FOrigin.Y}; }
    TRect Shift(const TRect& R) const
    {
        return Rect(R.Left + FOrigin.X, R.Top + FOrigin.Y, R.Right + FOrigin.X,
                    R.Bottom + FOrigin.Y);
    }
    std::vector<TPoint> Shift(const std::vector<TPoint>& Points) const
    {
        std::vector<TPoint> Out;
        Out.reserve(Points.size());
        for (const TPoint& P : Points)
            Out.push_back(Shift(P));
        return Out;
    }
    TDeviceState Map(const TDeviceState& State, TRegion& Clip) const
    {
        TDeviceState S = State;
        Clip = State.Clip != nullptr ? TRegion::Intersect(*State.Clip, FAllowed) : FAllowed;
        Clip.Offset(FOrigin.X, FOrigin.Y);
        S.Clip = &Clip;
        S.BrushOrigin = Shift(S.BrushOrigin);
        return S;
    }

    TCanvasDevice* FTarget;
    TPoint FOrigin;
    TSize FSize;
    TRegion FAllowed; // client coordinates
};

// A canvas that owns its window device.
class TWindowCanvas : public TCanvas {
public:
    TWindowCanvas(HWND Wnd, std::unique_ptr<TWindowDevice> Device, bool Present)
        : TCanvas(Device.get()), FWnd(Wnd), FWindowDevice(std::move(Device)), FPresent(Present)
    {
        // The canvas's clip starts as the allowed area, so that ClipRect tells what to paint.
        SelectClipRgn(&FWindowDevice->Allowed());
    }

    HWND Wnd() const { return FWnd; }
    TWindowDevice* WindowDevice() const { return FWindowDevice.get(); }
    bool Presents() const { return FPresent; }

private:
    HWND FWnd;
    std::unique_ptr<TWindowDevice> FWindowDevice;
    bool FPresent;
};

std::vector<std::unique_ptr<TWindowCanvas>>& OpenCanvases()
{
    static std::vector<std::unique_ptr<TWindowCanvas>> List;
    return List;
}

HDC OpenCanvas(HWND Wnd, const TRegion& Allowed, bool Whole = false)
{
    const HWND Top = GetTopLevelWindow(Wnd);
    TRect Client;
    GetClientRect(Wnd, Client);
    if (Whole) {
        GetWindowRect(Wnd, Client);
        Client = Bounds(0, 0, Client.Width(), Client.Height());
    }
    TBackBuffer* Buffer = WindowBackBuffer(Top);
    if (Buffer == nullptr)
        return nullptr;
    TCanvasDevice* Target = Buffer->Device();
    const bool Present = Buffer->Presents();
    auto Device = std::make_unique<TWindowDevice>(Target, OriginInTop(Wnd, Whole),
                                                  TSize{Client.Width(), Client.Height()},
                                                  TRegion::Intersect(Allowed, TRegion(Client)));
    OpenCanvases().push_back(std::make_unique<TWindowCanvas>(Wnd, std::move(Device), Present));
    return OpenCanvases().back().get();
}

// Shows the area the canvas could draw on.
void PresentCanvas(const TWindowCanvas& Canvas)
{
    if (!Canvas.Presents() || Canvas.WindowDevice()->Allowed().Empty())
        return;
    const HWND Top = GetTopLevelWindow(Canvas.Wnd());
    TBackBuffer* Buffer = WindowBackBuffer(Top);
    if (Buffer == nullptr)
        return;
    TRect Dirty = Canvas.WindowDevice()->Allowed().Bounds();
    const TPoint O = Canvas.WindowDevice()->Origin();
    Dirty = Rect(Dirty.Left + O.X, Dirty.Top + O.Y, Dirty.Right + O.X, Dirty.Bottom + O.Y);
    Buffer->Present(Top, Dirty);
}

bool CloseCanvas(HDC DC, bool Present)
{
    auto& List = OpenCanvases();
    auto Found =
        std::find_if(List.begin(), List.end(),
                     [DC](const std::unique_ptr<TWindowCanvas>& C) { return C.get() == DC; });
    if (Found == List.end())
        return false;
    std::unique_ptr<TWindowCanvas> Canvas = std::move(*Found);
    List.erase(Found);
    if (Present && IsWindow(Canvas->Wnd()))
        PresentCanvas(*Canvas);
    return true;
}

} // namespace

TRegion uiloop::ShownClientArea(HWND Wnd, TPoint& Origin)
{
    Origin = OriginInTop(Wnd);
    return IsWindowVisible(Wnd) ? VisibleRegion(Wnd) : TRegion();
}

HDC BeginPaint(HWND Wnd, TPaintStruct& Paint)
{
    Paint = TPaintStruct();
    if (!IsWindow(Wnd) || IsForeignWindow(Wnd))
        return nullptr;
    if (uiloop::TakeFrame(Wnd)) {
        SendMessage(Wnd, WM_NCPAINT, 1, 0);
        if (!IsWindow(Wnd))
            return nullptr;
    }
    bool Erase = false;
    const TRegion Area = TakeUpdateArea(Wnd, Erase);
    const HDC DC = OpenCanvas(Wnd, TRegion::Intersect(Area, VisibleRegion(Wnd)));
    if (DC == nullptr)
        return nullptr;
    Paint.hdc = DC;
    Paint.rcPaint = Area.Bounds();
    Paint.fErase = Erase;
    if (Erase)
        Paint.fErase = SendMessage(Wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0) == 0;
    return DC;
}

bool EndPaint(HWND, const TPaintStruct& Paint)
{
    return CloseCanvas(Paint.hdc, true);
}

HDC GetDC(HWND Wnd)
{
    if (!IsWindow(Wnd) || IsForeignWindow(Wnd))
        return nullptr;
    return OpenCanvas(Wnd, IsWindowVisible(Wnd) ? VisibleRegion(Wnd) : TRegion());
}

HDC GetWindowDC(HWND Wnd)
{
    if (!IsWindow(Wnd) || IsForeignWindow(Wnd))
        return nullptr;
    return OpenCanvas(Wnd, IsWindowVisible(Wnd) ? VisibleRegion(Wnd, true) : TRegion(), true);
}

int ReleaseDC(HWND, HDC DC)
{
    return CloseCanvas(DC, true) ? 1 : 0;
}

HDC GetSubDC(HDC DC, const TRect& R)
{
    auto& List = OpenCanvases();
    auto Found =
        std::find_if(List.begin(), List.end(),
                     [DC](const std::unique_ptr<TWindowCanvas>& C) { return C.get() == DC; });
    if (Found == List.end())
        return nullptr;
    const TWindowDevice& Parent = *(*Found)->WindowDevice();
    TRegion Allowed = TRegion::Intersect(Parent.Allowed(), TRegion(R));
    Allowed.Offset(-R.Left, -R.Top);
    auto Device = std::make_unique<TWindowDevice>(
        Parent.Target(), TPoint{Parent.Origin().X + R.Left, Parent.Origin().Y + R.Top},
        TSize{R.Width(), R.Height()}, std::move(Allowed));
    List.push_back(std::make_unique<TWindowCanvas>((*Found)->Wnd(), std::move(Device), false));
    return List.back().get();
}

bool FlushDC(HDC DC)
{
    for (const auto& Canvas : OpenCanvases())
        if (Canvas.get() == DC) {
            if (IsWindow(Canvas->Wnd()))
                PresentCanvas(*Canvas);
            return true;
        }
    return false;
}

bool ScrollWindow(HWND Wnd, int DX, int DY, const TRect* Scroll, const TRect* Clip)
{
    if (!IsWindow(Wnd) || IsForeignWindow(Wnd))
        return false;
    TRect Client;
    GetClientRect(Wnd, Client);
    TRect Area, Limit;
    IntersectRect(Area, Scroll != nullptr ? *Scroll : Client, Client);
    IntersectRect(Limit, Clip != nullptr ? *Clip : Client, Client);
    TRect Within;
    IntersectRect(Within, Area, Limit);
    if (IsWindowVisible(Wnd) && !IsRectEmpty(Within)) {
        // Pixels that show now and stay inside move; the rest of the area is painted again.
        const TRegion Shown = TRegion::Intersect(VisibleRegion(Wnd), TRegion(Within));
        const TRegion Arrived = TRegion::Intersect(Moved(Shown, DX, DY), TRegion(Within));
        if (HDC DC = OpenCanvas(Wnd, Arrived)) {
            DC->CopyRect(
                Rect(Within.Left + DX, Within.Top + DY, Within.Right + DX, Within.Bottom + DY), DC,
                Within);
            CloseCanvas(DC, true);
        }
        ScrollUpdateArea(Wnd, DX, DY, Within);
        const TRegion Exposed = TRegion::Diff(TRegion(Within), Arrived);
        InvalidateRgn(Wnd, &Exposed, true);
    }
    if (Scroll == nullptr) {
        for (HWND Child : GetChildWindows(Wnd)) {
            const TRect B = BoundsInParent(Child);
            SetWindowPos(Child, 0, B.Left + DX, B.Top + DY, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    return true;
}

TCanvasDevice* WindowDevice(HWND TopLevel)
{
    TBackBuffer* Buffer = WindowBackBuffer(TopLevel);
    return Buffer != nullptr ? Buffer->Device() : nullptr;
}

void SetWindowDevice(HWND TopLevel, TCanvasDevice* Device)
{
    if (TBackBuffer* Buffer = WindowBackBuffer(TopLevel))
        Buffer->SetOverride(Device);
}
