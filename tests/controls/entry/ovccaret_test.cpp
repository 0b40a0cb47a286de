// Carets: the shape rules of a caret, its size and place within a cell, the platform caret of a
// linked manager, and carets shared between managers.
#include "controls/entry/ovccaret.h"

#include "controls/entry/ovcbase.h"
#include "controls/entry/ovccontroller.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/input.h"
#include "tests/platform/stdctrls/stdctrlstest.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

class TCaretField : public TOvcCustomControlEx {
public:
    explicit TCaretField(TComponent* AOwner) : TOvcCustomControlEx(AOwner) {}
};

} // namespace

TEST(OvcCaret, ShapeSetsAlignmentAndSizeAndRefusedValuesChangeNothing)
{
    struct TCase {
        const char* Name;
        std::function<void(TOvcCaret&)> Act;
        TOvcCaretShape Shape;
        TOvcCaretAlign Align;
        int Width;
        int Height;
        int Changes;
    };
    TBitmap Picture;
    Picture.SetSize(7, 12);
    const std::vector<TCase> Cases = {
        {"defaults", [](TOvcCaret&) {}, csVertLine, caLeft, 2, 10, 0},
        {"width 0", [](TOvcCaret& C) { C.SetCaretWidth(0); }, csVertLine, caLeft, 2, 10, 0},
        {"width -3", [](TOvcCaret& C) { C.SetCaretWidth(-3); }, csVertLine, caLeft, 2, 10, 0},
        {"height 0", [](TOvcCaret& C) { C.SetCaretHeight(0); }, csVertLine, caLeft, 2, 10, 0},
        {"horizontal line", [](TOvcCaret& C) { C.SetShape(csHorzLine); }, csHorzLine, caBottom, 2,
         2, 1},
        {"block", [](TOvcCaret& C) { C.SetShape(csBlock); }, csBlock, caLeft, 2, 10, 1},
        {"half block", [](TOvcCaret& C) { C.SetShape(csHalfBlock); }, csHalfBlock, caBottom, 2, 10,
         1},
        {"vertical line resets the width",
         [](TOvcCaret& C) {
             C.SetCaretWidth(5);
             C.SetShape(csCustom);
             C.SetAlign(caCenter);
             C.SetShape(csVertLine);
         },
         csVertLine, caLeft, 2, 10, 4},
        {"custom keeps the rest",
         [](TOvcCaret& C) {
             C.SetAlign(caRight);
             C.SetShape(csCustom);
         },
         csCustom, caRight, 2, 10, 2},
        {"bitmap takes its size",
         [&](TOvcCaret& C) {
             C.SetBitmap(&Picture);
             C.SetBitmap(nullptr);
             C.SetShape(csBitmap);
         },
         csBitmap, caLeft, 7, 12, 2},
        {"same shape again", [](TOvcCaret& C) { C.SetShape(csVertLine); }, csVertLine, caLeft, 2,
         10, 0},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TOvcCaret Caret;
        int Changes = 0;
        Caret.OnChange = [&] { ++Changes; };
        Case.Act(Caret);
        EXPECT_EQ(Caret.Shape(), Case.Shape);
        EXPECT_EQ(Caret.Align(), Case.Align);
        EXPECT_EQ(Caret.CaretWidth(), Case.Width);
        EXPECT_EQ(Caret.CaretHeight(), Case.Height);
        EXPECT_EQ(Changes, Case.Changes);
    }
}

TEST(OvcCaret, HotSpotChangesNotifyOnlyForABitmapCaret)
{
    TOvcCaret Caret;
    int Changes = 0;
    Caret.OnChange = [&] { ++Changes; };
    Caret.SetBitmapHotSpotX(3);
    EXPECT_EQ(Changes, 0);
    EXPECT_EQ(Caret.BitmapHotSpotX(), 3);
    Caret.SetShape(csBitmap);
    Caret.SetBitmapHotSpotY(4);
    EXPECT_EQ(Changes, 2);
}

TEST(OvcCaret, SizeAndPlaceInTheCellFollowShapeAndAlignment)
{
    struct TCase {
        TOvcCaretShape Shape;
        TOvcCaretAlign Align;
        int Width;
        int Height;
        int XOffset;
        int YOffset;
    };
    // A cell 9 wide and 15 high; set sizes 3 wide and 4 high.
    const std::vector<TCase> Cases = {
        {csBlock, caLeft, 9, 15, 0, 0},      {csHalfBlock, caBottom, 9, 7, 0, 8},
        {csVertLine, caLeft, 3, 15, 0, 0},   {csVertLine, caRight, 3, 15, 6, 0},
        {csHorzLine, caBottom, 9, 4, 0, 11}, {csHorzLine, caTop, 9, 4, 0, 0},
        {csCustom, caCenter, 3, 4, 3, 5},    {csCustom, caLeft, 3, 4, 0, 5},
        {csCustom, caBottom, 3, 4, 3, 11},   {csBitmap, caCenter, 3, 4, 1, 4},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(std::to_string(Case.Shape) + "/" + std::to_string(Case.Align));
        TOvcSingleCaret Single(nullptr);
        auto* Caret = new TOvcCaret;
        Caret->SetShape(Case.Shape);
        Caret->SetCaretWidth(3);
        Caret->SetCaretHeight(4);
        Caret->SetAlign(Case.Align);
        Caret->SetBitmapHotSpotX(2);
        Caret->SetBitmapHotSpotY(1);
        Single.SetCaret(Caret);
        Single.SetCellWidth(9);
        Single.SetCellHeight(15);
        EXPECT_EQ(Single.Width(), Case.Width);
        EXPECT_EQ(Single.Height(), Case.Height);
        EXPECT_EQ(Single.XOffset(), Case.XOffset);
        EXPECT_EQ(Single.YOffset(), Case.YOffset);
    }
}

TEST(OvcCaret, ALinkedCaretIsThePlatformCaretOfTheControlsWindow)
{
    TTestApplication App;
    TForm* Form = ShownForm(&App);
    new TOvcController(Form);
    auto* Field = Place<TCaretField>(Form, 10, 10, 100, 21);
    const UINT Blink = GetCaretBlinkTime();
    {
        TOvcCaretPair Carets(Field);
        Carets.SetCellHeight(16);
        Carets.SetCellWidth(8);
        Carets.InsertCaret()->SetBlinkTime(static_cast<Word>(Blink + 100));
        Carets.SetLinked(true);
        Carets.SetVisible(true);
        Carets.SetPosition(20, 3);
        TCaretState State = GetCaretState();
        EXPECT_EQ(State.Owner, Field->Handle());
        EXPECT_TRUE(State.Visible);
        EXPECT_EQ(State.Width, 2);
        EXPECT_EQ(State.Height, 16);
        EXPECT_EQ(State.Pos, (TPoint{20, 3}));
        EXPECT_EQ(GetCaretBlinkTime(), Blink + 100);

        // Overwrite mode: the block, made again in place.
        Carets.SetInsertMode(false);
        State = GetCaretState();
        EXPECT_EQ(State.Owner, Field->Handle());
        EXPECT_EQ(State.Width, 8);
        EXPECT_EQ(State.Height, 16);
        EXPECT_TRUE(State.Visible);
        EXPECT_EQ(GetCaretBlinkTime(), Blink);

        // A negative coordinate puts it off the visible area.
        Carets.SetPosition(-1, 5);
        EXPECT_EQ(Carets.X(), INT_MAX);
        EXPECT_EQ(GetCaretState().Pos, (TPoint{INT_MAX, 5}));
    }
    EXPECT_EQ(GetCaretState().Owner, HWND(0));
}

TEST(OvcCaret, WithoutAWindowLinkingDoesNothing)
{
    TOvcSingleCaret Single(nullptr);
    Single.SetLinked(true);
    EXPECT_FALSE(Single.Linked());
    Single.SetPosition(4, -2);
    EXPECT_EQ(Single.X(), 4);
    EXPECT_EQ(Single.Y(), INT_MAX);
}

TEST(OvcCaret, ASharedCaretLivesWhileAnyHolderKeepsIt)
{
    auto* Shared = new TOvcCaret;
    Shared->SetShape(csHalfBlock);
    auto First = std::make_unique<TOvcCaretPair>(nullptr);
    auto Second = std::make_unique<TOvcCaretPair>(nullptr);
    First->SetOverwriteCaret(Shared);
    Second->SetOverwriteCaret(Shared);
    Second->SetInsertMode(false);
    EXPECT_EQ(Second->Caret(), Shared);
    First.reset();
    // Still alive and still notifying the holder that shows it.
    Shared->SetShape(csBlock);
    EXPECT_EQ(Second->Height(), 10);
    Second->SetInsertMode(true);
    EXPECT_EQ(Second->Caret()->Shape(), csVertLine);
    Second->SetInsertCaret(Shared);
    EXPECT_EQ(Second->Caret(), Shared);
    Second.reset();
}
