// tests/platform/stdctrls/editcaret_test.cpp: the caret of an edit as the screen shows it:
// inverted at the insertion point while focused, blinking, following typing, gone with the focus.
#include "tests/platform/stdctrls/edittest.h"

#include "platform/ui/backbuffer.h"
#include "platform/ui/headless/headlessdriver.h"
#include "platform/ui/paint.h"
#include "platform/ui/virtualtime.h"

namespace {

class EditCaretTest : public EditTest {
protected:
    // How many pixels of the caret's box the screen shows inverted against the back buffer's own
    // pixels, and how many others differ from them.
    struct TDiff {
        int Inverted = 0;
        int Elsewhere = 0;
    };
    TDiff Compare(HWND Owner, const TRect& ClientBox) const
    {
        const auto* Native = dynamic_cast<THeadlessDriver&>(DisplayDriver()).Find(Form->Handle());
        const TRasterDevice& Kept = WindowBackBuffer(Form->Handle())->Raster();
        TPoint Origin{0, 0};
        ClientToScreen(Owner, Origin);
        TPoint Top{0, 0};
        ClientToScreen(Form->Handle(), Top);
        TDiff D;
        for (int Y = 0; Y < Kept.Height(); ++Y)
            for (int X = 0; X < Kept.Width(); ++X) {
                const std::uint32_t Shown =
                    Native->Pixels[static_cast<std::size_t>(Y) * Native->Width + X];
                const TPoint InOwner{X + Top.X - Origin.X, Y + Top.Y - Origin.Y};
                if (PtInRect(ClientBox, InOwner))
                    D.Inverted += (Shown ^ Kept.ScanLine(Y)[X]) == 0xFFFFFFu ? 1 : 0;
                else
                    D.Elsewhere += Shown != Kept.ScanLine(Y)[X] ? 1 : 0;
            }
        return D;
    }
    static TRect CaretBox()
    {
        const TCaretState C = GetCaretState();
        return Bounds(C.Pos.X, C.Pos.Y, C.Width, C.Height);
    }

    TVirtualTime Time;
};

} // namespace

TEST_F(EditCaretTest, TheFocusedEditsCaretBlinksAtTheInsertionPointAndGoesWithTheFocus)
{
    TEdit* Other = Make<TEdit>(10, 100, 100, 21);
    TEdit* Edit = MakeEdit("ab");
    ASSERT_EQ(GetCaretState().Owner, Edit->Handle());
    ASSERT_TRUE(GetCaretState().Visible);
    const int Area = GetCaretState().Width * GetCaretState().Height;
    TDiff D = Compare(Edit->Handle(), CaretBox());
    EXPECT_EQ(D.Inverted, Area);
    EXPECT_EQ(D.Elsewhere, 0);

    Time.Advance(GetCaretBlinkTime());
    PumpEdits();
    D = Compare(Edit->Handle(), CaretBox());
    EXPECT_EQ(D.Inverted, 0) << "blinked off";
    EXPECT_EQ(D.Elsewhere, 0);
    Time.Advance(GetCaretBlinkTime());
    PumpEdits();
    D = Compare(Edit->Handle(), CaretBox());
    EXPECT_EQ(D.Inverted, Area) << "and on again";
    EXPECT_EQ(D.Elsewhere, 0);

    // Typing repaints the text and moves the caret after it, shown at once, with no trace left.
    PressKey(VK_END);
    const TPoint Was = GetCaretState().Pos;
    TypeText("c");
    EXPECT_GT(GetCaretState().Pos.X, Was.X);
    D = Compare(Edit->Handle(), CaretBox());
    EXPECT_EQ(D.Inverted, Area);
    EXPECT_EQ(D.Elsewhere, 0);

    Focus(Other);
    EXPECT_EQ(GetCaretState().Owner, Other->Handle());
    D = Compare(Other->Handle(), CaretBox());
    EXPECT_EQ(D.Inverted, Area) << "the caret went with the focus";
    EXPECT_EQ(D.Elsewhere, 0) << "none left in the edit";
}
