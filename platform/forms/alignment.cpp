#include "platform/forms/alignment.h"

#include <algorithm>

namespace {

// Where a control measured from its anchor origin goes along one axis.
void Anchor(bool Near, bool Far, int Start, int Size, int Delta, int& NewStart, int& NewSize)
{
    NewStart = Start;
    NewSize = Size;
    if (Near && Far)
        NewSize = Size + Delta;
    else if (Far)
        NewStart = Start + Delta;
    else if (!Near)
        NewStart = Start + Delta / 2;
}

TRect Constrained(const TAlignItem& Item, int Left, int Top, int Width, int Height)
{
    if (Item.MinWidth > 0)
        Width = std::max(Width, Item.MinWidth);
    if (Item.MaxWidth > 0)
        Width = std::min(Width, Item.MaxWidth);
    if (Item.MinHeight > 0)
        Height = std::max(Height, Item.MinHeight);
    if (Item.MaxHeight > 0)
        Height = std::min(Height, Item.MaxHeight);
    return Bounds(Left, Top, std::max(Width, 0), std::max(Height, 0));
}

// True when A stands before B along the side Kind.
bool Before(TAlign Kind, const TRect& A, const TRect& B)
{
    switch (Kind) {
    case alTop:
        return A.Top < B.Top;
    case alBottom:
        return A.Bottom > B.Bottom;
    case alLeft:
        return A.Left < B.Left;
    case alRight:
        return A.Right > B.Right;
    default:
        return false;
    }
}

} // namespace

TAlignResult AlignBounds(const TRect& AlignRect, const TSize& ClientSize,
                         const std::vector<TAlignItem>& Items)
{
    TAlignResult Result;
    Result.Bounds.reserve(Items.size());
    for (const TAlignItem& Item : Items)
        Result.Bounds.push_back(Item.Bounds);
    TRect& Rect = Result.Remaining;
    Rect = AlignRect;

    static const TAlign Order[] = {alTop, alBottom, alLeft, alRight, alClient};
    std::vector<std::size_t> Side;
    for (TAlign Kind : Order) {
        Side.clear();
        for (std::size_t I = 0; I < Items.size(); ++I)
            if (Items[I].Align == Kind && Items[I].Visible)
                Side.push_back(I);
        std::stable_sort(Side.begin(), Side.end(), [&Items, Kind](std::size_t A, std::size_t B) {
            return Before(Kind, Items[A].Bounds, Items[B].Bounds);
        });
        for (std::size_t I : Side) {
            const TAlignItem& Item = Items[I];
            const int W = std::max(Rect.Width(), 0);
            const int H = std::max(Rect.Height(), 0);
            const int ItemW = Item.Bounds.Width();
            const int ItemH = Item.Bounds.Height();
            TRect& New = Result.Bounds[I];
            switch (Kind) {
            case alTop:
                New = Constrained(Item, Rect.Left, Rect.Top, W, ItemH);
                Rect.Top += New.Height();
                break;
            case alBottom:
                New = Constrained(Item, Rect.Left, Rect.Bottom - ItemH, W, ItemH);
                Rect.Bottom -= New.Height();
                break;
            case alLeft:
                New = Constrained(Item, Rect.Left, Rect.Top, ItemW, H);
                Rect.Left += New.Width();
                break;
            case alRight:
                New = Constrained(Item, Rect.Right - ItemW, Rect.Top, ItemW, H);
                Rect.Right -= New.Width();
                break;
            default:
                New = Constrained(Item, Rect.Left, Rect.Top, W, H);
                break;
            }
        }
    }

    for (std::size_t I = 0; I < Items.size(); ++I) {
        const TAlignItem& Item = Items[I];
        const TAnchors A = Item.Anchors;
        if (Item.Align != alNone || Item.AnchorParentSize == TSize{} ||
            A == TAnchors{akLeft, akTop})
            continue;
        const TRect& O = Item.AnchorOrigin;
        int L, W, T, H;
        Anchor(A.Contains(akLeft), A.Contains(akRight), O.Left, O.Width(),
               ClientSize.cx - Item.AnchorParentSize.cx, L, W);
        Anchor(A.Contains(akTop), A.Contains(akBottom), O.Top, O.Height(),
               ClientSize.cy - Item.AnchorParentSize.cy, T, H);
        Result.Bounds[I] = Constrained(Item, L, T, W, H);
    }
    return Result;
}
