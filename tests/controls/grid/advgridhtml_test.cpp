// The grid's HTML renderer on a recording canvas and on pixels: styles, lines, alignment,
// lists, links, images, limits on numbers from the text, and the canvas state on return.
#include "controls/grid/advgridhtml.h"

#include "platform/gfx/fontengine.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/gfx/recordingdevice.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct TOutcome {
    bool Hit = false;
    std::string Anchor;
    std::string Plain;
    int Width = 0;
    int Height = 0;
};

class GridHtmlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Old = DeterministicFontMetrics();
        SetDeterministicFontMetrics(true);
    }
    void TearDown() override { SetDeterministicFontMetrics(Old); }

    TOutcome Run(const std::string& Text, TRect R, bool MeasureOnly = false, bool WordWrap = true,
                 int HitX = -1, int HitY = -1, bool HitTest = false, TImageList* Images = nullptr)
    {
        TOutcome O;
        O.Hit = RenderHtml(&Canvas, Text, R, Images, HitX, HitY, HitTest, MeasureOnly, false, false,
                           true, WordWrap, 1.0, clBlue, O.Anchor, O.Plain, O.Width, O.Height);
        return O;
    }
    std::vector<TRecordingDevice::TCall> Texts() const
    {
        std::vector<TRecordingDevice::TCall> Result;
        for (const auto& C : Device.Calls())
            if (C.Name == "TextOut")
                Result.push_back(C);
        return Result;
    }
    int Width(const std::string& Text) const { return Canvas.TextWidth(Text); }

    bool Old = false;
    TRecordingDevice Device{400, 300};
    TCanvas Canvas{&Device};
};

TEST_F(GridHtmlTest, BoldWordThenPlainText)
{
    const TOutcome O = Run("<B>bold</B> rest", TRect{0, 0, 300, 100}, false, false);
    const auto T = Texts();
    ASSERT_EQ(T.size(), 2u);
    EXPECT_EQ(T[0].Text, "bold");
    EXPECT_GE(T[0].State.Font.Weight, FW_BOLD);
    EXPECT_EQ(T[1].Text, " rest");
    EXPECT_LT(T[1].State.Font.Weight, FW_BOLD);
    Canvas.Font()->SetStyle(TFontStyles{fsBold});
    const int BoldWidth = Width("bold");
    Canvas.Font()->SetStyle(TFontStyles{});
    EXPECT_EQ(O.Width, BoldWidth + Width(" rest"));
    EXPECT_EQ(O.Plain, "bold rest");
}

TEST_F(GridHtmlTest, EmptyTextHasTheHeightOfOneLine)
{
    const TOutcome O = Run("", TRect{0, 0, 100, 100});
    EXPECT_FALSE(O.Hit);
    EXPECT_EQ(O.Width, 0);
    EXPECT_EQ(O.Height, Canvas.TextHeight("gh"));
}

TEST_F(GridHtmlTest, EncodedTagsAreTagsAndEncodedEntitiesShowOnce)
{
    Run("&lt;b&gt;", TRect{0, 0, 100, 100});
    EXPECT_TRUE(Texts().empty());
    Run("&lt;b&gt;x", TRect{0, 0, 100, 100});
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_GE(Texts()[0].State.Font.Weight, FW_BOLD);
    Device.Clear();
    Run("&amp;lt;", TRect{0, 0, 100, 100});
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Texts()[0].Text, "&lt;");
}

TEST_F(GridHtmlTest, LineBreaksRulesAndParagraphsEndLines)
{
    const int Line = Canvas.TextHeight("gh");
    struct TCase {
        std::string Text;
        int Lines;
    };
    const std::vector<TCase> Cases = {
        {"a<BR>b", 2}, {"a<HR>b", 2}, {"<P>a</P>b", 2}, {"a<br><br>b", 3}, {"a<b>b</b>", 1}};
    for (const auto& C : Cases)
        EXPECT_EQ(Run(C.Text, TRect{0, 0, 200, 200}, true).Height, C.Lines * Line) << C.Text;
    EXPECT_EQ(Run("a<BR>b", TRect{0, 0, 200, 200}, true).Plain, "a\rb");
}

TEST_F(GridHtmlTest, WordWrapKeepsALongWordOnItsLine)
{
    const int Line = Canvas.TextHeight("gh");
    const TRect Narrow{0, 0, Width("abc") + 1, 200};
    const TOutcome O = Run("abcdefghijkl ab ab", Narrow, true);
    EXPECT_EQ(O.Height, 3 * Line);
    EXPECT_GE(O.Width, Width("abcdefghijkl"));
    const TOutcome Single = Run("abcdefghijkl ab ab", Narrow, true, false);
    EXPECT_EQ(Single.Height, Line);
}

TEST_F(GridHtmlTest, RightAlignmentHoldsForFollowingLines)
{
    Run("<P align=\"right\">ab</P>cd<BR><P ALIGN=\"left\">ef", TRect{0, 0, 200, 200});
    const auto T = Texts();
    ASSERT_EQ(T.size(), 3u);
    EXPECT_EQ(T[0].DeviceText.Origin.X, 200 - Width("ab"));
    EXPECT_EQ(T[1].DeviceText.Origin.X, 200 - Width("cd"));
    EXPECT_EQ(T[2].DeviceText.Origin.X, 1);
}

TEST_F(GridHtmlTest, ListItemsIndentWithBullets)
{
    const TOutcome O = Run("<UL><LI>a<LI>b</UL>", TRect{0, 0, 200, 200});
    std::vector<std::string> Bullets;
    std::vector<int> Items;
    for (const auto& T : Texts()) {
        if (T.State.Font.FaceName == "Symbol")
            Bullets.push_back(T.Text);
        else
            Items.push_back(T.DeviceText.Origin.X);
    }
    EXPECT_EQ(Bullets, (std::vector<std::string>{"\xB7", "\xB7"}));
    EXPECT_EQ(Items, (std::vector<int>{13, 13}));
    EXPECT_EQ(O.Height, 2 * Canvas.TextHeight("gh"));
}

TEST_F(GridHtmlTest, LinkHitOverItsTextOnly)
{
    const std::string Text = "<A HREF=\"mailto:x@y\">link</A> rest";
    const int Y = Canvas.TextHeight("gh") / 2;
    const TOutcome On = Run(Text, TRect{0, 0, 300, 100}, false, true, 1 + Width("li"), Y, true);
    EXPECT_TRUE(On.Hit);
    EXPECT_EQ(On.Anchor, "mailto:x@y");
    EXPECT_TRUE(Texts().empty()); // hit-testing draws nothing
    const TOutcome Off =
        Run(Text, TRect{0, 0, 300, 100}, false, true, 1 + Width("link re"), Y, true);
    EXPECT_FALSE(Off.Hit);
    EXPECT_EQ(Off.Anchor, "");
}

TEST_F(GridHtmlTest, ImageListIndexOutsideTheListDrawsNothing)
{
    TImageList Images(16, 16);
    TBitmap Bitmap;
    Bitmap.SetSize(48, 16);
    Images.Add(&Bitmap, nullptr);
    ASSERT_EQ(Images.Count(), 3);
    struct TCase {
        std::string Text;
        int Width;
    };
    const std::vector<TCase> Cases = {{"<IMG SRC=\"IDX:5\">", 0},
                                      {"<IMG SRC=\"IDX:-1\">", 0},
                                      {"<IMG SRC=\"IDX:x\">", 0},
                                      {"<IMG SRC=\"IDX:2\">", 16},
                                      {"<IMG SRC=\"IDX:1\"><IMG SRC=\"idx:0\">", 32}};
    for (const auto& C : Cases) {
        Device.Clear();
        const TOutcome O = Run(C.Text, TRect{0, 0, 200, 100}, false, true, -1, -1, false, &Images);
        EXPECT_EQ(O.Width, C.Width) << C.Text;
        EXPECT_EQ(Device.Calls().empty(), C.Width == 0) << C.Text;
    }
}

TEST_F(GridHtmlTest, NumbersFromTheTextAreBounded)
{
    const TRect R{0, 0, 100, 50};
    // A huge font size is read as the largest size.
    Run("<FONT SIZE=\"99999999\">x</FONT>", R);
    ASSERT_EQ(Texts().size(), 1u);
    TFont Largest;
    Largest.SetSize(256);
    EXPECT_EQ(Texts()[0].State.Font.Height, Largest.Height());
    // Indents stay inside the rectangle; list levels cannot overflow the width.
    EXPECT_LE(Run("<IND X=\"2000000000\">x", R, true).Width, 100);
    std::string Deep;
    for (int I = 0; I < 100000; ++I)
        Deep += "<UL>";
    EXPECT_LE(Run(Deep + "<LI>x", R, true).Width, 100);
    // Rotation angles wrap.
    Device.Clear();
    Run("<R \"99999999999\">x</R>y", R);
    ASSERT_EQ(Texts().size(), 2u);
    EXPECT_EQ(Texts()[1].State.Font.Escapement, 0);
}

TEST_F(GridHtmlTest, DrawingStopsAtTheRectangleBottom)
{
    std::string Long;
    for (int I = 0; I < 10000; ++I)
        Long += "line<BR>";
    const TOutcome O = Run(Long, TRect{0, 0, 100, 40});
    EXPECT_LE(Texts().size(), 40u / static_cast<unsigned>(Canvas.TextHeight("gh")) + 1);
    EXPECT_LT(O.Height, 100);
    EXPECT_EQ(Run(Long, TRect{0, 0, 100, 40}, true).Height, 10000 * Canvas.TextHeight("gh"));
}

TEST_F(GridHtmlTest, BrokenInputNeitherCrashesNorLoops)
{
    const std::vector<std::string> Cases = {"<",
                                            "<a",
                                            "abc<",
                                            "ab<c",
                                            "<img src=\"",
                                            "<font size=\"\">x",
                                            "<#",
                                            "<#>",
                                            "&",
                                            "<<<>>>",
                                            "</>",
                                            "<>",
                                            "<a href=\"x>y</a>",
                                            "<p align=>",
                                            "<font color=\"#\">x",
                                            "<img>",
                                            "<li><li><li>",
                                            "</ul></ul>",
                                            "<z>hidden</z>",
                                            "<sub>a</sup>",
                                            "<body bgcolor>",
                                            "<IMG SRC=\"FILE:///dev/zero\">",
                                            "<BODY BACKGROUND=\"file:///proc/self/mem\">",
                                            "\t\t<"};
    for (const auto& Text : Cases)
        for (bool Wrap : {true, false})
            for (bool Measure : {true, false}) {
                const TOutcome O = Run(Text, TRect{0, 0, 30, 30}, Measure, Wrap, 5, 5);
                EXPECT_GE(O.Height, 0) << Text;
            }
}

TEST_F(GridHtmlTest, CanvasStateComesBackOnReturn)
{
    Canvas.Font()->SetColor(clMaroon);
    Canvas.Font()->SetName("Arial");
    Canvas.Brush()->SetColor(clYellow);
    Canvas.Pen()->SetColor(clLime);
    Canvas.SetBkMode(OPAQUE);
    Run("<B><I><U><S><FONT face=\"courier\" size=\"20\" color=\"clred\" bgcolor=\"clblue\">"
        "<A href=\"x\">a<HR><BODY bgcolor=\"clgreen\"><R \"90\">b",
        TRect{0, 0, 100, 100});
    EXPECT_EQ(Canvas.Font()->Color(), clMaroon);
    EXPECT_EQ(Canvas.Font()->Name(), "Arial");
    EXPECT_TRUE(Canvas.Font()->Style().Empty());
    EXPECT_EQ(Canvas.Font()->Escapement(), 0);
    EXPECT_EQ(Canvas.Brush()->Color(), clYellow);
    EXPECT_EQ(Canvas.Pen()->Color(), clLime);
    EXPECT_EQ(Canvas.BkMode(), OPAQUE);
}

class GridHtmlPixelTest : public GridHtmlTest {
protected:
    TOutcome Paint(const std::string& Text, TRect R)
    {
        TOutcome O;
        TCanvas Pixels(&Raster);
        O.Hit = RenderHtml(&Pixels, Text, R, nullptr, -1, -1, false, false, false, false, true,
                           true, 1.0, clBlue, O.Anchor, O.Plain, O.Width, O.Height);
        return O;
    }
    int Count(TColor Color) const
    {
        int N = 0;
        for (int Y = 0; Y < Raster.Height(); ++Y)
            for (int X = 0; X < Raster.Width(); ++X)
                N += Raster.GetPixel(X, Y) == Color;
        return N;
    }

    TRasterDevice Raster{60, 40, clWhite};
};

TEST_F(GridHtmlPixelTest, BodyColourFillsTheRectangleOnly)
{
    Paint("<BODY BGCOLOR=\"#00ff00\">", TRect{10, 10, 30, 20});
    EXPECT_EQ(Count(0x00FF00), 200);
    EXPECT_EQ(Raster.GetPixel(9, 9), clWhite);
}

TEST_F(GridHtmlPixelTest, FontColourAndRule)
{
    Paint("<FONT COLOR=\"clRed\">MM</FONT><HR>", TRect{0, 0, 60, 40});
    EXPECT_GT(Count(0x0000FF), 0);
    EXPECT_GT(Count(clBlack), 40); // the rule across the line
}

TEST_F(GridHtmlPixelTest, FolderIconForADirectoryDocumentOtherwise)
{
    TestSupport::TTempFolder Temp;
    const TOutcome Folder = Paint("<IMG SRC=\"SSYS:" + Temp.Path() + "\">", TRect{0, 0, 60, 40});
    EXPECT_EQ(Folder.Width, 16);
    const int Yellow = Count(RGB(240, 200, 64));
    EXPECT_GT(Yellow, 0);
    Raster.Clear(clWhite);
    const TOutcome Doc =
        Paint("<IMG SRC=\"LSYS:" + Temp.Path() + "none.txt\">", TRect{0, 0, 60, 40});
    EXPECT_EQ(Doc.Width, 32);
    EXPECT_EQ(Count(RGB(240, 200, 64)), 0);
    EXPECT_GT(Count(RGB(128, 128, 160)), 0);
}

TEST_F(GridHtmlPixelTest, PictureFileAtTheSizeTheTagGives)
{
    TestSupport::TTempFolder Temp;
    TBitmap Bitmap;
    Bitmap.SetSize(4, 4);
    Bitmap.Canvas()->Brush()->SetColor(clRed);
    Bitmap.Canvas()->FillRect(TRect{0, 0, 4, 4});
    Bitmap.SaveToFile(Temp.Path() + "red.bmp");
    const std::string Src = "<IMG SRC=\"FILE://" + Temp.Path() + "red.bmp\"";
    EXPECT_EQ(Paint(Src + ">", TRect{0, 0, 60, 40}).Width, 4);
    EXPECT_EQ(Count(clRed), 16);
    Raster.Clear(clWhite);
    EXPECT_EQ(Paint(Src + " WIDTH=\"10\" HEIGHT=\"99999\">", TRect{0, 0, 60, 40}).Width, 10);
    EXPECT_EQ(Count(clRed), 10 * 40);
    EXPECT_EQ(Paint("<IMG SRC=\"FILE://" + Temp.Path() + "none.bmp\">", TRect{0, 0, 60, 40}).Width,
              0);
}

} // namespace
