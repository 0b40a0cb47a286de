// Drawing the list box: owner-drawn items given their rectangles and states, variable heights
// from OnMeasureItem, tab stops in dialog units, and the default look against golden pictures.
#include "tests/platform/stdctrls/listboxtest.h"

#include "platform/gfx/recordingdevice.h"
#include "platform/stdctrls/listbox.h"

namespace {

using ListBoxDrawing = ListTest;

struct TDrawn {
    int Index;
    TRect Rect;
    bool Selected;
    bool Focused;
    bool Disabled;
    bool operator==(const TDrawn&) const = default;
};

std::ostream& operator<<(std::ostream& Out, const TDrawn& D)
{
    return Out << D.Index << " (" << D.Rect.Left << "," << D.Rect.Top << "," << D.Rect.Right << ","
               << D.Rect.Bottom << ")" << (D.Selected ? " sel" : "") << (D.Focused ? " focus" : "")
               << (D.Disabled ? " disabled" : "");
}

void Record(TCustomListBox* L, std::vector<TDrawn>& Log)
{
    L->OnDrawItem = [&Log](TWinControl*, int Index, TRect R, TOwnerDrawState State) {
        Log.push_back(TDrawn{Index, R, State.Contains(odSelected), State.Contains(odFocused),
                             State.Contains(odDisabled)});
    };
}

// Paints the list's client area onto a device of its size.
void PaintOn(TWinControl* C, TCanvasDevice& Device)
{
    TCanvas Canvas(&Device);
    C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(Canvas.Handle()), 0);
}

} // namespace

TEST_F(ListBoxDrawing, OwnerDrawnFixedItemsGetTheirRectanglesAndStates)
{
    auto* L = Place<TListBox>(10, 10, 100, 84);
    L->SetClientHeight(80); // four whole items
    L->SetStyle(lbOwnerDrawFixed);
    L->SetItemHeight(20);
    for (const char* S : {"a", "b", "c", "d", "e"})
        L->Items()->Add(S);
    std::vector<TDrawn> Log;
    Record(L, Log);
    const int W = L->ClientWidth();
    struct TCase {
        const char* Name;
        int ItemIndex;
        bool Focus;
        bool Enabled;
        int Top;
        std::vector<TDrawn> Drawn;
    };
    const std::vector<TCase> Cases = {
        {"selected and focused",
         1,
         true,
         true,
         0,
         {{0, Rect(0, 0, W, 20), false, false, false},
          {1, Rect(0, 20, W, 40), true, true, false},
          {2, Rect(0, 40, W, 60), false, false, false},
          {3, Rect(0, 60, W, 80), false, false, false}}},
        {"scrolled, without the focus",
         3,
         false,
         true,
         1,
         {{1, Rect(0, 0, W, 20), false, false, false},
          {2, Rect(0, 20, W, 40), false, false, false},
          {3, Rect(0, 40, W, 60), true, false, false},
          {4, Rect(0, 60, W, 80), false, false, false}}},
        {"disabled",
         0,
         false,
         false,
         0,
         {{0, Rect(0, 0, W, 20), true, false, true},
          {1, Rect(0, 20, W, 40), false, false, true},
          {2, Rect(0, 40, W, 60), false, false, true},
          {3, Rect(0, 60, W, 80), false, false, true}}},
    };
    for (const TCase& Case : Cases) {
        L->SetEnabled(Case.Enabled);
        if (Case.Focus)
            L->SetFocus();
        else
            SetFocus(Form->Handle());
        Pump();
        L->SetItemIndex(Case.ItemIndex);
        L->SetTopIndex(Case.Top);
        Log.clear();
        TRecordingDevice Device(L->ClientWidth(), L->ClientHeight());
        PaintOn(L, Device);
        EXPECT_EQ(Log, Case.Drawn) << Case.Name;
    }
}

TEST_F(ListBoxDrawing, VariableHeightsComeFromOnMeasureItem)
{
    auto* L = Place<TListBox>(10, 10, 100, 200);
    L->SetStyle(lbOwnerDrawVariable);
    std::vector<int> Measured;
    L->OnMeasureItem = [&](TWinControl*, int Index, int& Height) {
        Measured.push_back(Index);
        Height = 10 + 5 * Index;
    };
    for (const char* S : {"a", "b", "c", "d"})
        L->Items()->Add(S);
    EXPECT_EQ(Measured, (std::vector<int>{0, 1, 2, 3}));
    const int W = L->ClientWidth();
    std::vector<TDrawn> Log;
    Record(L, Log);
    TRecordingDevice Device(L->ClientWidth(), L->ClientHeight());
    PaintOn(L, Device);
    EXPECT_EQ(Log, (std::vector<TDrawn>{{0, Rect(0, 0, W, 10), false, false, false},
                                        {1, Rect(0, 10, W, 25), false, false, false},
                                        {2, Rect(0, 25, W, 45), false, false, false},
                                        {3, Rect(0, 45, W, 70), false, false, false}}));
    EXPECT_EQ(L->ItemAtPos(TPoint{5, 30}, true), 2);
    EXPECT_EQ(L->ItemRect(3), Rect(0, 45, W, 70));
}

TEST_F(ListBoxDrawing, TabsAlignToStopsInDialogUnits)
{
    auto* L = Place<TListBox>(10, 10, 300, 60);
    L->Items()->Add("a\tbb\tc");
    L->Items()->Add("long first\tx");
    TRecordingDevice Device(L->ClientWidth(), L->ClientHeight());
    TCanvas Probe(&Device);
    Probe.SetFont(L->Font());
    TTextMetric Metrics{};
    Probe.GetTextMetrics(Metrics);
    const int Unit = Metrics.tmAveCharWidth; // four dialog units
    struct TCase {
        int TabWidth;
        std::vector<std::pair<std::string, int>> Pieces; // text and x
    };
    const std::vector<TCase> Cases = {
        // Without tab stops the tabs are not expanded: each line is one piece.
        {0, {{"a\tbb\tc", 2}, {"long first\tx", 2}}},
        {16,
         {{"a", 2},
          {"bb", 2 + 4 * Unit},
          {"c", 2 + 8 * Unit},
          {"long first", 2},
          {"x", 2 + 12 * Unit}}},
    };
    for (const TCase& Case : Cases) {
        L->SetTabWidth(Case.TabWidth);
        Device.Clear();
        PaintOn(L, Device);
        std::vector<std::pair<std::string, int>> Pieces;
        for (const auto& Call : Device.Calls())
            if (Call.Name == "TextOut" && !Call.Text.empty())
                Pieces.emplace_back(Call.Text, Call.Points.at(0).X);
        EXPECT_EQ(Pieces, Case.Pieces) << "tab width " << Case.TabWidth;
    }
}

TEST_F(ListBoxDrawing, LooksLikeItsGoldenPictures)
{
    SetDeterministicFontMetrics(false); // the pictures show real letters
    struct TCase {
        const char* File;
        TListBoxStyle Style;
        bool Focus;
        bool Enabled;
        bool Multi;
    };
    const std::vector<TCase> Cases = {
        {"listbox_selected_focused.png", lbStandard, true, true, false},
        {"listbox_multiselect.png", lbStandard, false, true, true},
        {"listbox_disabled.png", lbStandard, false, false, false},
        {"listbox_ownerdrawn.png", lbOwnerDrawFixed, true, true, false},
    };
    for (const TCase& Case : Cases) {
        auto* L = Place<TListBox>(10, 10, 140, 100);
        L->SetStyle(Case.Style);
        L->SetMultiSelect(Case.Multi);
        L->SetItemHeight(18);
        L->SetTabWidth(28);
        for (const char* S : {"Inbox\t12", "Spam\t3", "Friends\t0", "Newsletters\t41",
                              "\xC3\x84rger\t1", "Archive\t7", "Trash\t99"})
            L->Items()->Add(S);
        L->OnDrawItem = [L](TWinControl*, int Index, TRect R, TOwnerDrawState State) {
            TCanvas* C = L->Canvas();
            C->FillRect(R);
            C->Brush()->SetColor(Index % 2 ? clRed : clGreen);
            C->Ellipse(R.Left + 3, R.Top + 3, R.Left + R.Height() - 3, R.Bottom - 3);
            C->Brush()->SetColor(State.Contains(odSelected) ? clHighlight : clWindow);
            C->TextOut(R.Left + R.Height() + 2, R.Top + 2, L->Items()->Get(Index));
        };
        if (Case.Multi) {
            L->SetSelected(1, true);
            L->SetSelected(2, true);
            L->SetSelected(5, true);
        } else {
            L->SetItemIndex(2);
        }
        L->SetEnabled(Case.Enabled);
        if (Case.Focus)
            L->SetFocus();
        Pump();
        TRasterDevice Device(L->Width(), L->Height());
        CopyWindowPicture(L->Handle(), Device, 0, 0); // the client edge and scroll bar too
        ExpectMatchesGolden(Device, Case.File);
        delete L;
    }
}
