// tests/gui/grid/clipboard_test.cpp: the grid's clipboard on a private X server with xclip as the
// other program: a copied block as xclip reads it, text xclip holds pasted into the grid (a
// quoted multi-line cell whole, one row grown), and the smart paste's series from xclip's text.
#include "tests/gui/formfixture.h"

#include "controls/grid/advgrid.h"
#include "platform/rtl/formatsettings.h"
#include "platform/ui/clipboard.h"

#include <string>
#include <vector>

namespace {

using guitest::PumpUntil;
using guitest::RunTool;

class TGridForm : public TForm {
public:
    explicit TGridForm(TComponent* AOwner) : TForm(AOwner), Grid(new TAdvStringGrid(this))
    {
        SetCaption("Clipboard");
        SetClientWidth(400);
        SetClientHeight(200);
        Grid->SetParent(this);
        Grid->SetBounds(8, 8, 384, 184);
        Grid->SetColCount(4);
        Grid->SetRowCount(5);
        Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    }
    TAdvStringGrid* Grid;
};

class GridClipboardX11 : public guitest::FormScreenTest<TGridForm> {
protected:
    TGridForm* MakeForm() override { return new TGridForm(App.get()); }

    void SetUp() override
    {
        Saved = FormatSettings;
        FormatSettings = TFormatSettings::EnglishUS();
        guitest::FormScreenTest<TGridForm>::SetUp();
    }
    void TearDown() override
    {
        guitest::FormScreenTest<TGridForm>::TearDown();
        FormatSettings = Saved;
    }

    TAdvStringGrid* Grid() { return Form->Grid; }

    // xclip holds Text on CLIPBOARD for one request; the paste runs once this process sees it.
    void PasteFromXclip(const std::string& Text)
    {
        // Nothing of an earlier paste may pass for the new text.
        Clipboard()->Clear();
        const pid_t Tool = guitest::StartTool(
            Display, {"xclip", "-i", "-selection", "clipboard", "-quiet", "-loops", "1"}, Text);
        ASSERT_NE(Tool, 0);
        ASSERT_TRUE(PumpUntil([] { return IsClipboardFormatAvailable(CF_TEXT) != 0; }));
        Grid()->PasteFromClipboard();
        EXPECT_EQ(guitest::EndTool(Tool), 0);
    }

    std::vector<std::string> Column(int ACol, int From, int To)
    {
        std::vector<std::string> Texts;
        for (int R = From; R <= To; ++R)
            Texts.push_back(Grid()->Cells(ACol, R));
        return Texts;
    }

    TFormatSettings Saved;
};

TEST_F(GridClipboardX11, ACopiedBlockIsWhatXclipReads)
{
    Grid()->SetCells(1, 1, "a");
    Grid()->SetCells(2, 1, "b");
    Grid()->SetCells(1, 2, "c");
    Grid()->SetCells(2, 2, "d");
    Grid()->SetSelection(TGridRect{1, 1, 2, 2});
    Grid()->CopyToClipboard();
    const auto Out = RunTool(Display, {"xclip", "-o", "-selection", "clipboard"});
    EXPECT_EQ(Out.Status, 0);
    EXPECT_EQ(Out.Output, "a\tb\r\nc\td\r\n");
}

TEST_F(GridClipboardX11, TextFromXclipIsPastedWithItsQuotedCellWholeAndOneRowGrown)
{
    Grid()->SetMultilinecells(true);
    Grid()->QuoteMultiLineClipboard = true;
    Grid()->SetSelection(TGridRect{1, 4, 1, 4}); // the last row
    PasteFromXclip("\"first\nsecond\"\tx\r\ny\tz\r\n");
    EXPECT_EQ(Grid()->RowCount(), 6);
    EXPECT_EQ(Grid()->ColCount(), 4);
    EXPECT_EQ(Grid()->Cells(1, 4), "first\r\nsecond");
    EXPECT_EQ(Grid()->Cells(2, 4), "x");
    EXPECT_EQ(Grid()->Cells(1, 5), "y");
    EXPECT_EQ(Grid()->Cells(2, 5), "z");

    // And back out: the cell travels quoted, as it came.
    Grid()->SetSelection(TGridRect{1, 4, 2, 4});
    Grid()->CopyToClipboard();
    const auto Out = RunTool(Display, {"xclip", "-o", "-selection", "clipboard"});
    EXPECT_EQ(Out.Output, "\"first\nsecond\"\tx\r\n");
}

TEST_F(GridClipboardX11, SmartPasteContinuesXclipsNumbersAndDates)
{
    Grid()->Navigation()->AllowSmartClipboard = true;
    Grid()->SetRowCount(6);
    Grid()->SetSelection(TGridRect{1, 1, 1, 5});
    PasteFromXclip("1\r\n3\r\n");
    EXPECT_EQ(Column(1, 1, 5), (std::vector<std::string>{"1", "3", "5", "7", "9"}));

    Grid()->SetSelection(TGridRect{2, 1, 2, 5});
    PasteFromXclip("11/15/2026\r\n12/15/2026\r\n");
    EXPECT_EQ(Column(2, 1, 5), (std::vector<std::string>{"11/15/2026", "12/15/2026", "1/15/2027",
                                                         "2/15/2027", "3/15/2027"}));
}

} // namespace
