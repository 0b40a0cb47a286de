// tests/gui/entry/editor_test.cpp: the text-file editor with word wrap at 80 on a private X
// server, on a copy of a licence text: a click, typing, Enter taken back by Ctrl+Z, lines copied
// with Shift+Down and Ctrl+C as xclip reads them, the thumb dragged to the bottom (also of a
// text of 100,000 lines), the saved file byte for byte, and the screen as the back buffer.
#include "tests/gui/formfixture.h"

#include "controls/entry/ovccontroller.h"
#include "controls/entry/ovctfedit.h"
#include "platform/ui/input.h"
#include "platform/ui/sysmetrics.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

using guitest::PumpUntil;
using guitest::RunTool;

const char* const Licence = "/usr/share/common-licenses/GPL-3";

class TEditorForm : public TForm {
public:
    explicit TEditorForm(TComponent* AOwner)
        : TForm(AOwner), Controller(new TOvcController(this)), Editor(new TOvcTextFileEditor(this))
    {
        SetCaption("Text editor");
        SetClientWidth(760);
        SetClientHeight(480);
        Editor->SetParent(this);
        Editor->SetBounds(8, 8, 744, 464);
        Editor->SetWordWrap(true);
        Editor->SetWrapColumn(80);
        Editor->SetTrimWhiteSpace(false);
    }

    TOvcController* Controller;
    TOvcTextFileEditor* Editor;
};

std::string ReadFile(const std::string& Name)
{
    std::ifstream In(Name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
}

// The lines of a text whose lines end in LF.
std::vector<std::string> SplitLines(const std::string& Text)
{
    std::vector<std::string> Lines;
    std::istringstream In(Text);
    for (std::string Line; std::getline(In, Line);)
        Lines.push_back(Line);
    return Lines;
}

class TextEditorX11 : public guitest::FormScreenTest<TEditorForm> {
protected:
    TEditorForm* MakeForm() override { return new TEditorForm(App.get()); }

    void SetUp() override
    {
        char Template[] = "/tmp/edguiXXXXXX";
        ASSERT_NE(::mkdtemp(Template), nullptr);
        Dir = Template;
        guitest::FormScreenTest<TEditorForm>::SetUp();
    }

    void TearDown() override
    {
        guitest::FormScreenTest<TEditorForm>::TearDown();
        std::system(("rm -rf " + Dir).c_str());
    }

    // Writes Bytes to a file of the temporary folder and opens it in the editor.
    void Open(const std::string& Name, const std::string& Bytes)
    {
        const std::string Path = Dir + "/" + Name;
        std::ofstream(Path, std::ios::binary) << Bytes;
        Ed()->LoadFromFile(Path);
        ASSERT_EQ(Ed()->FileName(), Path);
        ASSERT_TRUE(PumpUntil([&] { return Painted(); }));
    }

    TOvcTextFileEditor* Ed() const { return Form->Editor; }

    // The client point in the middle of the cell of screen row Row, column Col (both from 1).
    TPoint Cell(int Row, int Col) const
    {
        return TPoint{Ed()->LeftMargin() + (Col - 1) * Ed()->CharWidth() + Ed()->CharWidth() / 2,
                      (Row - 1) * Ed()->LineHeight() + Ed()->LineHeight() / 2};
    }

    bool LastLineShows() const
    {
        return Ed()->TopLine() + Ed()->VisibleLines() - 1 >= Ed()->LineCount();
    }

    // Drags the vertical bar's thumb, at the top of its track, to the bottom of the bar. The bar
    // stands right of the client area, as high as it, an arrow square at each end.
    void DragThumbToTheBottom()
    {
        ASSERT_EQ(Ed()->TopLine(), 1);
        const int Thick = GetSystemMetrics(SM_CXVSCROLL);
        const TPoint Corner = OnScreen(Ed(), TPoint{Ed()->ClientWidth(), 0});
        const TPoint Grab{Corner.X + Thick / 2, Corner.Y + Thick + 3};
        const int Bottom = Corner.Y + Ed()->ClientHeight() - 1;
        MoveToScreen(Grab);
        // One run of the tool: the bar's drag holds its own loop until the release.
        ASSERT_EQ(RunTool(Display, {"xdotool", "mousedown", "1", "mousemove_relative", "--", "0",
                                    std::to_string(Bottom - Grab.Y), "mouseup", "1"})
                      .Status,
                  0);
        ASSERT_TRUE(PumpUntil([] { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0; }));
        EXPECT_TRUE(PumpUntil([&] { return LastLineShows(); }))
            << "top line " << Ed()->TopLine() << " of " << Ed()->LineCount() << ", "
            << Ed()->VisibleLines() << " visible";
    }

    std::string Dir;
};

} // namespace

TEST_F(TextEditorX11, EditsCopiesScrollsAndSavesALicenceText)
{
    const std::string Original = ReadFile(Licence);
    ASSERT_FALSE(Original.empty()) << Licence;
    std::vector<std::string> Lines = SplitLines(Original);
    Open("GPL-3", Original);
    // The file's last line end leaves an empty last line for the caret; saving drops it.
    ASSERT_EQ(Ed()->LineCount(), static_cast<int>(Lines.size()) + 1);

    // Into line 10 before its seventh character ("  The GNU ..."), three letters, then Enter.
    const int Line = 10, Pos = 7;
    ClickAt(Ed(), Cell(Line, Pos));
    ASSERT_TRUE(
        PumpUntil([&] { return Ed()->Focused() && !(GetAsyncKeyState(VK_LBUTTON) & 0x8000); }));
    ASSERT_EQ(Ed()->CaretLine(), Line);
    ASSERT_EQ(Ed()->CaretLinePos(), Pos);
    Type("xyz");
    Lines[Line - 1].insert(Pos - 1, "xyz");
    ASSERT_TRUE(PumpUntil([&] { return Ed()->Lines(Line) == Lines[Line - 1]; }))
        << Ed()->Lines(Line);
    const int Count = Ed()->LineCount();
    Keys({"Return"});
    ASSERT_TRUE(PumpUntil([&] { return Ed()->LineCount() == Count + 1; }));
    Keys({"ctrl+z"});
    ASSERT_TRUE(PumpUntil([&] { return Ed()->LineCount() == Count; }));
    EXPECT_EQ(Ed()->Lines(Line), Lines[Line - 1]) << "only the Enter is undone";
    EXPECT_EQ(Ed()->CaretLine(), Line);
    EXPECT_EQ(Ed()->CaretLinePos(), Pos + 3);

    // Two whole lines from the start of the line, copied.
    Keys({"Home", "shift+Down", "shift+Down"});
    ASSERT_TRUE(PumpUntil([&] { return Ed()->CaretLine() == Line + 2; }));
    Keys({"ctrl+c"});
    const std::string Copied = Ed()->Lines(Line) + "\r\n" + Ed()->Lines(Line + 1) + "\r\n";
    EXPECT_EQ(Copied, Lines[Line - 1] + "\r\n" + Lines[Line] + "\r\n");
    EXPECT_EQ(Ed()->SelectedText(), Copied);
    std::string Read;
    EXPECT_TRUE(PumpUntil([&] {
        const auto Out = RunTool(Display, {"xclip", "-o", "-selection", "clipboard"});
        Read = Out.Output;
        return Out.Status == 0 && Read == Copied;
    })) << Read;

    ExpectScreenShowsBackBuffer();

    // The saved file: the original with the letters in, each line ending in CR LF.
    Ed()->SaveToFile(Ed()->FileName());
    std::string Expected;
    for (const std::string& L : Lines)
        Expected += L + "\r\n";
    EXPECT_EQ(ReadFile(Ed()->FileName()), Expected);
    EXPECT_FALSE(Ed()->Modified());

    DragThumbToTheBottom();
    EXPECT_EQ(Ed()->Lines(Ed()->LineCount() - 1), Lines.back());
    ExpectScreenShowsBackBuffer();
}

TEST_F(TextEditorX11, TheThumbDraggedToTheBottomShowsTheLastOfAHundredThousandLines)
{
    std::string Text;
    for (int I = 1; I <= 100000; ++I)
        Text += "line " + std::to_string(I) + "\n";
    Open("long.txt", Text);
    ASSERT_EQ(Ed()->LineCount(), 100001);
    DragThumbToTheBottom();
    EXPECT_EQ(Ed()->Lines(Ed()->LineCount() - 1), "line 100000");
    ExpectScreenShowsBackBuffer();
}
