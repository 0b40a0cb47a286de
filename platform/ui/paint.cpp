#include "platform/ui/paint.h"

#include "platform/ui/loopstate.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"
#include "platform/ui/window.h"

#include <unordered_map>

namespace {

// Beyond this many pieces the area becomes its bounding box: painting a little more is cheaper
// than keeping a long list.
constexpr std::size_t MaxPieces = 32;

struct TPaintState {
    std::vector<TRect> Area; // disjoint, client coordinates
    bool Erase = false;
    std::shared_ptr<void> Surface;
};

std::unordered_map<HWND, TPaintState>& States()
{
    static std::unordered_map<HWND, TPaintState> Map;
    return Map;
}

// The parts of R outside Cut (at most four).
void Subtract(const TRect& R, const TRect& Cut, std::vector<TRect>& Out)
{
    TRect Overlap;
    if (!IntersectRect(Overlap, R, Cut)) {
        Out.push_back(R);
        return;
    }
    if (Overlap.Top > R.Top)
        Out.push_back(Rect(R.Left, R.Top, R.Right, Overlap.Top));
    if (Overlap.Bottom < R.Bottom)
        Out.push_back(Rect(R.Left, Overlap.Bottom, R.Right, R.Bottom));
    if (Overlap.Left > R.Left)
        Out.push_back(Rect(R.Left, Overlap.Top, Overlap.Left, Overlap.Bottom));
    if (Overlap.Right < R.Right)
        Out.push_back(Rect(Overlap.Right, Overlap.Top, R.Right, Overlap.Bottom));
}

void AddArea(std::vector<TRect>& Area, const TRect& R)
{
    std::vector<TRect> Pieces{R};
    for (const TRect& Have : Area) {
        std::vector<TRect> Rest;
        for (const TRect& Piece : Pieces)
            Subtract(Piece, Have, Rest);
        Pieces.swap(Rest);
        if (Pieces.empty())
            return;
    }
    Area.insert(Area.end(), Pieces.begin(), Pieces.end());
    if (Area.size() > MaxPieces) {
        TRect Box;
        for (const TRect& Piece : Area)
            UnionRect(Box, Box, Piece);
        Area.assign(1, Box);
    }
}

void RemoveArea(std::vector<TRect>& Area, const TRect& R)
{
    std::vector<TRect> Rest;
    for (const TRect& Piece : Area)
        Subtract(Piece, R, Rest);
    Area.swap(Rest);
}

TRect ClientBox(HWND Wnd)
{
    TRect R;
    GetClientRect(Wnd, R);
    return R;
}

// Where Child lies in its parent's client area.
TRect BoundsInParent(HWND Child)
{
    TRect R, P;
    GetWindowRect(Child, R);
    GetWindowRect(GetParent(Child), P);
    return Bounds(R.Left - P.Left, R.Top - P.Top, R.Width(), R.Height());
}

bool HasArea(HWND Wnd)
{
    auto Found = States().find(Wnd);
    return Found != States().end() && !Found->second.Area.empty();
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
        if (!Entry.second.Area.empty())
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
            InvalidateTree(Child, Bounds(Inside.Left - B.Left, Inside.Top - B.Top, Inside.Width(),
                                         Inside.Height()));
    }
}

void InvalidateWhole(HWND Wnd)
{
    InvalidateTree(Wnd, ClientBox(Wnd));
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

bool InvalidateRect(HWND Wnd, const TRect* Rect, bool Erase)
{
    if (!IsWindow(Wnd) || IsForeignWindow(Wnd))
        return false;
    TRect Part;
    if (!IntersectRect(Part, Rect != nullptr ? *Rect : ClientBox(Wnd), ClientBox(Wnd)))
        return true;
    TPaintState& S = States()[Wnd];
    AddArea(S.Area, Part);
    S.Erase = S.Erase || Erase;
    return true;
}

bool ValidateRect(HWND Wnd, const TRect* Rect)
{
    if (!IsWindow(Wnd) || IsForeignWindow(Wnd))
        return false;
    auto Found = States().find(Wnd);
    if (Found == States().end())
        return true;
    if (Rect == nullptr)
        Found->second.Area.clear();
    else
        RemoveArea(Found->second.Area, *Rect);
    if (Found->second.Area.empty())
        Found->second.Erase = false;
    return true;
}

bool GetUpdateRect(HWND Wnd, TRect* Rect, bool)
{
    TRect Box;
    for (const TRect& Piece : GetUpdateRects(Wnd))
        UnionRect(Box, Box, Piece);
    if (Rect != nullptr)
        *Rect = Box;
    return !IsRectEmpty(Box);
}

bool UpdateWindow(HWND Wnd)
{
    if (!IsWindow(Wnd) || IsForeignWindow(Wnd))
        return false;
    if (HasArea(Wnd) && IsWindowVisible(Wnd))
        SendMessage(Wnd, WM_PAINT, 0, 0);
    return true;
}

bool RedrawWindow(HWND Wnd, const TRect* Rect, UINT Flags)
{
    if (!IsWindow(Wnd) || IsForeignWindow(Wnd))
        return false;
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
    return Found != States().end() ? Found->second.Area : std::vector<TRect>();
}

std::vector<TRect> TakeUpdateArea(HWND Wnd, bool& Erase)
{
    Erase = false;
    auto Found = States().find(Wnd);
    if (Found == States().end())
        return {};
    Erase = Found->second.Erase;
    Found->second.Erase = false;
    std::vector<TRect> Area;
    Area.swap(Found->second.Area);
    return Area;
}

void ScrollUpdateArea(HWND Wnd, int DX, int DY, const TRect& Within)
{
    auto Found = States().find(Wnd);
    if (Found == States().end())
        return;
    std::vector<TRect> Kept, Moved;
    for (const TRect& Piece : Found->second.Area) {
        TRect Inside;
        if (IntersectRect(Inside, Piece, Within)) {
            Subtract(Piece, Within, Kept);
            TRect Shifted =
                Rect(Inside.Left + DX, Inside.Top + DY, Inside.Right + DX, Inside.Bottom + DY);
            if (IntersectRect(Shifted, Shifted, Within))
                Moved.push_back(Shifted);
        } else {
            Kept.push_back(Piece);
        }
    }
    Found->second.Area.clear();
    for (const TRect& Piece : Kept)
        AddArea(Found->second.Area, Piece);
    for (const TRect& Piece : Moved)
        AddArea(Found->second.Area, Piece);
}

void SetWindowSurface(HWND Wnd, std::shared_ptr<void> Surface)
{
    if (IsWindow(Wnd) && !IsForeignWindow(Wnd))
        States()[Wnd].Surface = std::move(Surface);
}

std::shared_ptr<void> GetWindowSurface(HWND Wnd)
{
    auto Found = States().find(Wnd);
    return Found != States().end() ? Found->second.Surface : nullptr;
}
