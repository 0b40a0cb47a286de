// platform/ui/paint.cpp: the update areas, the frames waiting for WM_NCPAINT, WM_SETREDRAW's
// switch, and the back buffers of top-level windows.
#include "platform/ui/paint.h"

#include "platform/ui/backbuffer.h"
#include "platform/ui/loopstate.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"
#include "platform/ui/window.h"

#include <memory>
#include <unordered_map>

namespace {

// Beyond this many rectangles the area becomes its bounding box: painting a little more is
// cheaper than keeping a long list.
constexpr std::size_t MaxPieces = 32;

struct TPaintState {
    TRegion Area; // client coordinates
    bool Erase = false;
    bool Frame = false;                  // the non-client area waits for WM_NCPAINT
    bool NoRedraw = false;               // WM_SETREDRAW turned drawing off
    std::unique_ptr<TBackBuffer> Buffer; // top-level windows only
};

std::unordered_map<HWND, TPaintState>& States()
{
    static std::unordered_map<HWND, TPaintState> Map;
    return Map;
}

void AddArea(TRegion& Area, const TRegion& Part)
{
    Area = TRegion::Union(Area, Part);
    std::size_t Pieces = 0;
    for (const TRegion::TBand& Band : Area.Bands())
        Pieces += Band.Spans.size();
    if (Pieces > MaxPieces)
        Area = TRegion(Area.Bounds());
}

TRect ClientBox(HWND Wnd)
{
    TRect R;
    GetClientRect(Wnd, R);
    return R;
}

// The window's rectangle in its own window coordinates, and its client area there.
TRect WindowBox(HWND Wnd)
{
    TRect R;
    GetWindowRect(Wnd, R);
    return Bounds(0, 0, R.Width(), R.Height());
}

TRect ClientInWindow(HWND Wnd)
{
    TRect W, C = ClientBox(Wnd);
    GetWindowRect(Wnd, W);
    TPoint O{0, 0};
    ClientToScreen(Wnd, O);
    OffsetRect(C, O.X - W.Left, O.Y - W.Top);
    return C;
}

bool Paintable(HWND Wnd)
{
    return IsWindow(Wnd) && !IsForeignWindow(Wnd);
}

bool HasArea(HWND Wnd)
{
    auto Found = States().find(Wnd);
    return Found != States().end() && (!Found->second.Area.Empty() || Found->second.Frame);
}

// The first window, front to back and parents before children, that waits for WM_PAINT.
HWND FirstToPaint(HWND Wnd)
{
    if (!IsWindowVisible(Wnd))
        return 0;
    if (HasArea(Wnd))
        return Wnd;
    for (HWND Child : GetChildWindows(Wnd))
        if (HWND Found = FirstToPaint(Child))
            return Found;
    return 0;
}

bool AnyArea()
{
    for (const auto& Entry : States())
        if (!Entry.second.Area.Empty() || Entry.second.Frame)
            return true;
    return false;
}

} // namespace

namespace uiloop {

bool TakePaint(HWND Wnd, TMsg& Msg)
{
    if (!AnyArea())
        return false;
    HWND Target = 0;
    if (Wnd != 0) {
        if (IsWindowVisible(Wnd) && HasArea(Wnd))
            Target = Wnd;
    } else {
        for (HWND Top : TopLevelWindows())
            if ((Target = FirstToPaint(Top)) != 0)
                break;
    }
    if (Target == 0)
        return false;
    Msg = TMsg();
    Msg.hwnd = Target;
    Msg.message = WM_PAINT;
    Msg.pt = CursorPos();
    return true;
}

void InvalidateTree(HWND Wnd, const TRect& R)
{
    TRect Part;
    if (!IntersectRect(Part, R, ClientBox(Wnd)))
        return;
    InvalidateRect(Wnd, &Part, true);
    for (HWND Child : GetChildWindows(Wnd)) {
        const TRect B = BoundsInParent(Child);
        TRect Inside;
        if (IntersectRect(Inside, Part, B))
            InvalidateWindowPart(Child, Bounds(Inside.Left - B.Left, Inside.Top - B.Top,
                                               Inside.Width(), Inside.Height()));
    }
}

void InvalidateWindowPart(HWND Wnd, const TRect& R)
{
    const TRect Client = ClientInWindow(Wnd);
    TRect Inside;
    IntersectRect(Inside, R, WindowBox(Wnd));
    if (!IsRectEmpty(Inside) && !(Client == WindowBox(Wnd)) &&
        (Inside.Left < Client.Left || Inside.Top < Client.Top || Inside.Right > Client.Right ||
         Inside.Bottom > Client.Bottom))
        InvalidateFrame(Wnd);
    OffsetRect(Inside, -Client.Left, -Client.Top);
    InvalidateTree(Wnd, Inside);
}

void InvalidateWhole(HWND Wnd)
{
    InvalidateWindowPart(Wnd, WindowBox(Wnd));
}

void InvalidateFrame(HWND Wnd)
{
    if (!Paintable(Wnd) || RedrawSuppressed(Wnd) || ClientInWindow(Wnd) == WindowBox(Wnd))
        return;
    States()[Wnd].Frame = true;
}

bool TakeFrame(HWND Wnd)
{
    auto Found = States().find(Wnd);
    if (Found == States().end() || !Found->second.Frame)
        return false;
    Found->second.Frame = false;
    return true;
}

void SetRedraw(HWND Wnd, bool Redraw)
{
    if (!Paintable(Wnd))
        return;
    States()[Wnd].NoRedraw = !Redraw;
    if (!Redraw) {
        // What waited to be painted stays unpainted until the caller invalidates again.
        TPaintState& S = States()[Wnd];
        S.Area = TRegion();
        S.Erase = false;
        S.Frame = false;
    }
}

bool RedrawSuppressed(HWND Wnd)
{
    for (HWND W = Wnd; W != 0 && IsWindow(W);) {
        auto Found = States().find(W);
        if (Found != States().end() && Found->second.NoRedraw)
            return true;
        if (!(GetWindowLong(W, GWL_STYLE) & WS_CHILD))
            break;
        W = GetParent(W);
    }
    return false;
}

void InvalidateUncovered(HWND Child, const TRect& OldBounds)
{
    const HWND Parent = GetParent(Child);
    if (Parent != 0 && (GetWindowLong(Child, GWL_STYLE) & WS_CHILD))
        InvalidateTree(Parent, OldBounds);
}

void PaintWindowDestroyed(HWND Wnd)
{
    States().erase(Wnd);
}

} // namespace uiloop

TRect BoundsInParent(HWND Child)
{
    TRect R;
    GetWindowRect(Child, R);
    TPoint P{0, 0};
    ClientToScreen(GetParent(Child), P);
    return Bounds(R.Left - P.X, R.Top - P.Y, R.Width(), R.Height());
}

bool InvalidateRgn(HWND Wnd, const TRegion* Region, bool Erase)
{
    if (!Paintable(Wnd))
        return false;
    if (uiloop::RedrawSuppressed(Wnd))
        return true;
    const TRegion Client(ClientBox(Wnd));
    const TRegion Part = Region != nullptr ? TRegion::Intersect(*Region, Client) : Client;
    if (Part.Empty())
        return true;
    TPaintState& S = States()[Wnd];
    AddArea(S.Area, Part);
    S.Erase = S.Erase || Erase;
    return true;
}

bool ValidateRgn(HWND Wnd, const TRegion* Region)
{
    if (!Paintable(Wnd))
        return false;
    auto Found = States().find(Wnd);
    if (Found == States().end())
        return true;
    TPaintState& S = Found->second;
    S.Area = Region != nullptr ? TRegion::Diff(S.Area, *Region) : TRegion();
    if (Region == nullptr)
        S.Frame = false;
    if (S.Area.Empty())
        S.Erase = false;
    return true;
}

bool InvalidateRect(HWND Wnd, const TRect* Rect, bool Erase)
{
    if (Rect == nullptr)
        return InvalidateRgn(Wnd, nullptr, Erase);
    const TRegion Region(*Rect);
    return InvalidateRgn(Wnd, &Region, Erase);
}

bool ValidateRect(HWND Wnd, const TRect* Rect)
{
    if (Rect == nullptr)
        return ValidateRgn(Wnd, nullptr);
    const TRegion Region(*Rect);
    return ValidateRgn(Wnd, &Region);
}

bool GetUpdateRect(HWND Wnd, TRect* Rect, bool)
{
    auto Found = States().find(Wnd);
    const TRect Box = Found != States().end() ? Found->second.Area.Bounds() : TRect();
    if (Rect != nullptr)
        *Rect = Box;
    return !IsRectEmpty(Box);
}

int GetUpdateRgn(HWND Wnd, HRGN Region, bool)
{
    if (Region == nullptr || !Paintable(Wnd))
        return RGN_ERROR;
    auto Found = States().find(Wnd);
    *Region = Found != States().end() ? Found->second.Area : TRegion();
    return RegionKind(*Region);
}

bool UpdateWindow(HWND Wnd)
{
    if (!Paintable(Wnd))
        return false;
    if (HasArea(Wnd) && IsWindowVisible(Wnd))
        SendMessage(Wnd, WM_PAINT, 0, 0);
    return true;
}

bool RedrawWindow(HWND Wnd, const TRect* Rect, UINT Flags)
{
    if (!Paintable(Wnd))
        return false;
    if ((Flags & RDW_INVALIDATE) && (Flags & RDW_FRAME))
        uiloop::InvalidateFrame(Wnd);
    if (Flags & RDW_INVALIDATE) {
        if (Flags & RDW_ALLCHILDREN)
            uiloop::InvalidateTree(Wnd, Rect != nullptr ? *Rect : ClientBox(Wnd));
        else
            InvalidateRect(Wnd, Rect, (Flags & RDW_ERASE) != 0);
    } else if (Flags & RDW_VALIDATE) {
        ValidateRect(Wnd, Rect);
    }
    if (Flags & RDW_UPDATENOW) {
        UpdateWindow(Wnd);
        if (Flags & RDW_ALLCHILDREN)
            EnumChildWindows(Wnd, [](HWND Child) {
                UpdateWindow(Child);
                return true;
            });
    }
    return true;
}

std::vector<TRect> GetUpdateRects(HWND Wnd)
{
    auto Found = States().find(Wnd);
    return Found != States().end() ? Found->second.Area.Rects() : std::vector<TRect>();
}

TRegion TakeUpdateArea(HWND Wnd, bool& Erase)
{
    Erase = false;
    auto Found = States().find(Wnd);
    if (Found == States().end())
        return TRegion();
    Erase = Found->second.Erase;
    Found->second.Erase = false;
    TRegion Area;
    std::swap(Area, Found->second.Area);
    return Area;
}

void ScrollUpdateArea(HWND Wnd, int DX, int DY, const TRect& Within)
{
    auto Found = States().find(Wnd);
    if (Found == States().end())
        return;
    TRegion& Area = Found->second.Area;
    const TRegion Box(Within);
    TRegion Moved = TRegion::Intersect(Area, Box);
    Moved.Offset(DX, DY);
    Area = TRegion::Diff(Area, Box);
    AddArea(Area, TRegion::Intersect(Moved, Box));
}

TBackBuffer* WindowBackBuffer(HWND TopLevel)
{
    if (!Paintable(TopLevel) || GetTopLevelWindow(TopLevel) != TopLevel)
        return nullptr;
    std::unique_ptr<TBackBuffer>& Buffer = States()[TopLevel].Buffer;
    if (!Buffer)
        Buffer = std::make_unique<TBackBuffer>();
    // The whole window: a band its procedure keeps out of the client area is drawn here too.
    const TRect Whole = WindowBox(TopLevel);
    Buffer->Fit(Whole.Width(), Whole.Height());
    return Buffer.get();
}
