// The layout of aligned and anchored children, worked out without windows: the order of the
// sides, the order within one side (by position, ties by z-order), what hidden children and
// size limits do, and anchors; and a form that lays its children out by it.
#include "platform/forms/alignment.h"

#include "tests/platform/forms/formstest.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TAlignItem Aligned(TAlign Align, const TRect& Bounds, bool Visible = true)
{
    TAlignItem Item;
    Item.Align = Align;
    Item.Bounds = Bounds;
    Item.Visible = Visible;
    return Item;
}

TAlignItem Anchored(TAnchors Anchors, const TRect& Origin, TSize ParentSize, bool Visible = true)
{
    TAlignItem Item;
    Item.Anchors = Anchors;
    Item.Bounds = Origin;
    Item.AnchorOrigin = Origin;
    Item.AnchorParentSize = ParentSize;
    Item.Visible = Visible;
    return Item;
}

TAlignItem Limited(TAlignItem Item, int MaxWidth, int MaxHeight)
{
    Item.MaxWidth = MaxWidth;
    Item.MaxHeight = MaxHeight;
    return Item;
}

struct TRow {
    TAlignItem Item;
    TRect Expected;
};

struct TCase {
    const char* Name;
    TRect AlignRect;
    TSize ClientSize;
    std::vector<TRow> Rows; // in z-order, bottom first
    TRect Remaining;
};

TEST(Alignment, AlignBoundsPlacesEachChild)
{
    const TSize Client{300, 200};
    const TSize Before{400, 300};
    const TSize After{500, 400};
    const std::vector<TCase> Cases = {
        {"two left, by position and not by z-order, in an adjusted rectangle",
         Rect(10, 10, 290, 190),
         Client,
         {{Aligned(alLeft, Bounds(100, 0, 30, 10)), Bounds(60, 10, 30, 180)},
          {Aligned(alLeft, Bounds(10, 0, 50, 10)), Bounds(10, 10, 50, 180)}},
         Rect(90, 10, 290, 190)},
        {"three left, two of them tied: the tie in z-order",
         Rect(0, 0, 300, 200),
         Client,
         {{Aligned(alLeft, Bounds(50, 0, 20, 10)), Bounds(30, 0, 20, 200)},
          {Aligned(alLeft, Bounds(5, 0, 30, 10)), Bounds(0, 0, 30, 200)},
          {Aligned(alLeft, Bounds(50, 0, 40, 10)), Bounds(50, 0, 40, 200)}},
         Rect(90, 0, 300, 200)},
        {"three left at the same place: z-order",
         Rect(0, 0, 300, 200),
         Client,
         {{Aligned(alLeft, Bounds(0, 0, 20, 10)), Bounds(0, 0, 20, 200)},
          {Aligned(alLeft, Bounds(0, 0, 30, 10)), Bounds(20, 0, 30, 200)},
          {Aligned(alLeft, Bounds(0, 0, 40, 10)), Bounds(50, 0, 40, 200)}},
         Rect(90, 0, 300, 200)},
        {"two right, the one further right outermost",
         Rect(0, 0, 300, 200),
         Client,
         {{Aligned(alRight, Bounds(200, 0, 30, 10)), Bounds(250, 0, 30, 200)},
          {Aligned(alRight, Bounds(250, 0, 20, 10)), Bounds(280, 0, 20, 200)}},
         Rect(0, 0, 250, 200)},
        {"top and bottom, two of each: tops downwards, bottoms upwards",
         Rect(0, 0, 300, 200),
         Client,
         {{Aligned(alTop, Bounds(0, 50, 10, 20)), Bounds(0, 30, 300, 20)},
          {Aligned(alBottom, Bounds(0, 100, 10, 10)), Bounds(0, 170, 300, 10)},
          {Aligned(alTop, Bounds(0, 10, 10, 30)), Bounds(0, 0, 300, 30)},
          {Aligned(alBottom, Bounds(0, 150, 10, 20)), Bounds(0, 180, 300, 20)}},
         Rect(0, 50, 300, 170)},
        {"client after the sides, which go top, bottom, left, right; hidden ones take no room",
         Rect(0, 0, 300, 200),
         Client,
         {{Aligned(alLeft, Bounds(0, 0, 40, 10)), Bounds(0, 20, 40, 150)},
          {Aligned(alClient, Bounds(0, 0, 10, 10)), Bounds(40, 20, 210, 150)},
          {Aligned(alRight, Bounds(0, 0, 50, 10)), Bounds(250, 20, 50, 150)},
          {Aligned(alLeft, Bounds(0, 0, 25, 10), false), Bounds(0, 0, 25, 10)},
          {Aligned(alBottom, Bounds(0, 0, 10, 30)), Bounds(0, 170, 300, 30)},
          {Aligned(alTop, Bounds(0, 0, 10, 20)), Bounds(0, 0, 300, 20)}},
         Rect(40, 20, 250, 170)},
        {"size limits hold and the next side starts after the limited size",
         Rect(0, 0, 300, 200),
         Client,
         {{Limited(Aligned(alLeft, Bounds(0, 0, 40, 10)), 0, 100), Bounds(0, 20, 40, 100)},
          {Limited(Aligned(alTop, Bounds(0, 0, 10, 20)), 150, 0), Bounds(0, 0, 150, 20)},
          {Aligned(alLeft, Bounds(50, 0, 10, 10)), Bounds(40, 20, 10, 180)}},
         Rect(50, 20, 300, 200)},
        {"anchors",
         Rect(0, 0, 500, 400),
         After,
         {{Anchored({akRight, akTop}, Bounds(340, 10, 50, 20), Before), Bounds(440, 10, 50, 20)},
          {Anchored({akLeft, akTop, akRight}, Bounds(10, 50, 380, 20), Before),
           Bounds(10, 50, 480, 20)},
          {Anchored({akRight, akBottom}, Bounds(340, 270, 50, 20), Before),
           Bounds(440, 370, 50, 20)},
          {Anchored({akLeft, akTop, akBottom}, Bounds(10, 100, 50, 100), Before),
           Bounds(10, 100, 50, 200)},
          {Anchored({}, Bounds(100, 100, 50, 50), Before), Bounds(150, 150, 50, 50)},
          {Anchored({akRight, akTop}, Bounds(340, 100, 50, 20), Before, false),
           Bounds(440, 100, 50, 20)},
          {Anchored({akRight}, Bounds(340, 130, 50, 20), TSize{}), Bounds(340, 130, 50, 20)},
          {Anchored({akLeft, akTop}, Bounds(5, 5, 10, 10), TSize{100, 100}), Bounds(5, 5, 10, 10)},
          {Limited(Anchored({akLeft, akRight}, Bounds(10, 160, 380, 20), Before), 400, 0),
           Bounds(10, 210, 400, 20)}},
         Rect(0, 0, 500, 400)},
        {"an aligned child does not follow its anchors",
         Rect(0, 0, 500, 400),
         After,
         {{[&] {
               TAlignItem Item = Anchored({akRight, akBottom}, Bounds(0, 0, 10, 30), Before);
               Item.Align = alTop;
               return Item;
           }(),
           Bounds(0, 0, 500, 30)}},
         Rect(0, 30, 500, 400)},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        std::vector<TAlignItem> Items;
        for (const TRow& Row : Case.Rows)
            Items.push_back(Row.Item);
        const TAlignResult Result = AlignBounds(Case.AlignRect, Case.ClientSize, Items);
        ASSERT_EQ(Result.Bounds.size(), Case.Rows.size());
        for (std::size_t I = 0; I < Case.Rows.size(); ++I)
            EXPECT_EQ(Result.Bounds[I], Case.Rows[I].Expected) << "child " << I;
        EXPECT_EQ(Result.Remaining, Case.Remaining);
    }
}

TEST(Alignment, AFormAlignsItsChildrenByPositionAndKeepsTheOrderOnResize)
{
    TTestApplication App;
    TForm* Form = new TForm(&App);
    Form->SetBounds(0, 0, 300, 200);
    const TRect Client = Form->ClientRect();
    // Made right to left and aligned at once: the position decides, not the order of making.
    Form->DisableAlign();
    TTestBox* Right = Place<TTestBox>(Form, 100, 0, 30, 10);
    TTestBox* Left = Place<TTestBox>(Form, 0, 0, 50, 10);
    Right->SetAlign(alLeft);
    Left->SetAlign(alLeft);
    Form->EnableAlign();
    EXPECT_EQ(Left->BoundsRect(), Bounds(0, 0, 50, Client.Height()));
    EXPECT_EQ(Right->BoundsRect(), Bounds(50, 0, 30, Client.Height()));
    Form->Show();
    Form->SetBounds(0, 0, 400, 300);
    EXPECT_EQ(Left->BoundsRect(), Bounds(0, 0, 50, Form->ClientHeight()));
    EXPECT_EQ(Right->BoundsRect(), Bounds(50, 0, 30, Form->ClientHeight()));
    // Moved before the other by hand, it goes first.
    Right->SetLeft(-1);
    EXPECT_EQ(Right->BoundsRect(), Bounds(0, 0, 30, Form->ClientHeight()));
    EXPECT_EQ(Left->BoundsRect(), Bounds(30, 0, 50, Form->ClientHeight()));
}

} // namespace
