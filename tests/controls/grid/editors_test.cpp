// The grid's in-cell editor controls on a shown form: how each opens over the current cell, what
// it writes back, the keys it handles or hands to the grid, the commit step's validation and the
// events it raises.
#include "controls/grid/advgrideditors.h"

#include "platform/rtl/clock.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/formatsettings.h"
#include "platform/ui/sound.h"
#include "tests/platform/stdctrls/stdctrlstest.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// A grid whose editor type the test chooses.
class TEditorGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;

    // What showing the editor does once the type is known: the edit starts on the current cell.
    void Open(TEditorType Type)
    {
        FEditorType = Type;
        StartCellEdit(Col(), Row());
        ShowEditorControl(Col(), Row());
    }
    bool ControlShown() const { return FEditControlShown; }
    bool EditPending() const { return FEditPending; }
};

template <class T>
T* EditorOf(TAdvStringGrid* Grid)
{
    for (int I = 0; I < Grid->ComponentCount(); ++I)
        if (auto* Found = dynamic_cast<T*>(Grid->Components(I)))
            return Found;
    return nullptr;
}

const TDateTime Today = EncodeDate(2026, 12, 11);
const TDateTime TimeNow = EncodeTime(9, 30, 0, 0);

class GridEditors : public ::testing::Test {
public:
    void SetUp() override
    {
        FormatSettings = TFormatSettings::EnglishUS();
        SetNowSource([] { return Today + TimeNow; });
        Form = ShownForm(&App, 640, 480);
        Grid = new TEditorGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(10, 10, 500, 300);
        Grid->SetCol(1);
        Grid->SetRow(1);
        Pump();
    }
    void TearDown() override
    {
        delete Form;
        SetNowSource(nullptr);
        FormatSettings = Saved;
    }

    // Opens the editor of Type on the current cell holding Text.
    // Every edit here is on cell (1, 1): a key that ended the last one may have moved on.
    void OpenOn(TEditorType Type, const std::string& Text)
    {
        Grid->HideEditorControl();
        Grid->SetRow(1);
        Grid->SetCol(1);
        Grid->SetCells(1, 1, Text);
        Grid->Open(Type);
        Pump();
    }
    std::string Cell() const { return Grid->Cells(1, 1); }
    static void Press(int Key, const std::string& Text = {})
    {
        InjectKeyPress(Key, Text);
        Pump();
    }
    TGridSpin* Spin() const { return EditorOf<TGridSpin>(Grid); }
    TGridCombo* Combo() const { return EditorOf<TGridCombo>(Grid); }
    TGridDatePicker* Picker() const { return EditorOf<TGridDatePicker>(Grid); }
    TGridEditBtn* EditBtn() const { return EditorOf<TGridEditBtn>(Grid); }
    TGridUnitEditBtn* UnitEdit() const { return EditorOf<TGridUnitEditBtn>(Grid); }
    TGridButton* Button() const { return EditorOf<TGridButton>(Grid); }
    TGridCheckBox* CheckBox() const { return EditorOf<TGridCheckBox>(Grid); }
    // Gives the combo its items before the first edit (the controls come with the first one).
    void ComboItems(const std::vector<std::string>& Items)
    {
        OpenOn(etComboEdit, "");
        Grid->HideEditorControl();
        Combo()->Items()->Clear();
        for (const std::string& Item : Items)
            Combo()->Items()->Add(Item);
    }

    const TFormatSettings Saved = FormatSettings;
    TDeterministicFonts Fonts;
    TTestApplication App;
    TForm* Form = nullptr;
    TEditorGrid* Grid = nullptr;
};

} // namespace

TEST_F(GridEditors, EachTypeWritesItsControlsValueBackWhenHidden)
{
    struct TCase {
        const char* Name;
        TEditorType Type;
        const char* Text;
        std::function<void(GridEditors&)> Change;
        std::string Expected;
    };
    const std::vector<TCase> Cases = {
        {"integer spin", etSpinInteger, "42", [](GridEditors& T) { T.Spin()->SetValue(7); }, "7"},
        {"float spin", etSpinFloat, "2.5", [](GridEditors& T) { T.Spin()->SetFloatValue(3.25); },
         "3.25"},
        {"date spin", etSpinDate, "1/5/2026",
         [](GridEditors& T) { T.Spin()->SetDateValue(EncodeDate(2026, 1, 2)); }, "1/2/2026"},
        {"time spin", etSpinTime, "8:00:00 AM",
         [](GridEditors& T) { T.Spin()->SetTimeValue(EncodeTime(8, 5, 0, 0)); },
         TimeToStr(EncodeTime(8, 5, 0, 0))},
        {"editable combo", etComboEdit, "free", [](GridEditors& T) { T.Combo()->SetText("other"); },
         "other"},
        {"edit button", etEditButton, "abc", [](GridEditors& T) { T.EditBtn()->SetText("xyz"); },
         "xyz"},
        {"integer button", etIntegerButton, "12",
         [](GridEditors& T) { T.EditBtn()->SetText("-4"); }, "-4"},
        {"value with unit", etUnitEditButton, "5 kg",
         [](GridEditors& T) {
             T.UnitEdit()->SetText("3");
             T.UnitEdit()->SetUnitID(" m");
         },
         "3 m"},
        {"date picker", etDatePicker, "3/4/2025",
         [](GridEditors& T) { T.Picker()->SetDate(EncodeDate(2025, 7, 8)); }, "7/8/2025"},
        {"up-down date picker", etDateUpDown, "3/4/2025", [](GridEditors&) {}, "3/4/2025"},
        {"time picker", etTimePicker, "10:15:00 AM",
         [](GridEditors& T) { T.Picker()->SetTime(EncodeTime(14, 0, 0, 0)); },
         TimeToStr(EncodeTime(14, 0, 0, 0))},
        // The check box and the push button write nothing: a change made meanwhile stays.
        {"check box", etCheckBox, "caption",
         [](GridEditors& T) {
             T.CheckBox()->SetChecked(true);
             T.Grid->SetCells(1, 1, "changed");
         },
         "changed"},
        {"push button", etCellButton, "caption",
         [](GridEditors& T) {
             T.Button()->SetCaption("new");
             T.Grid->SetCells(1, 1, "changed");
         },
         "changed"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        OpenOn(Case.Type, Case.Text);
        ASSERT_TRUE(Grid->ControlShown());
        TWinControl* Shown = dynamic_cast<TWinControl*>(Form->ActiveControl());
        ASSERT_NE(Shown, nullptr);
        EXPECT_TRUE(Shown->Visible());
        EXPECT_TRUE(Shown->Enabled());
        EXPECT_EQ(Shown->Parent(), Grid);
        Case.Change(*this);
        Grid->HideEditorControl();
        EXPECT_EQ(Cell(), Case.Expected);
        EXPECT_FALSE(Grid->ControlShown());
        EXPECT_FALSE(Shown->Visible());
        EXPECT_FALSE(Shown->Enabled());
    }
}

TEST_F(GridEditors, TypesWithoutAControlShowNothingButStartTheEdit)
{
    for (TEditorType Type : {etNoEditor, etExternalLink, etRichText}) {
        OpenOn(Type, "text");
        EXPECT_TRUE(Grid->EditPending());
        EXPECT_FALSE(Grid->ControlShown());
        for (int I = 0; I < Grid->ControlCount(); ++I)
            EXPECT_FALSE(Grid->Controls(I)->Visible());
        Grid->HideEditorControl();
        EXPECT_EQ(Cell(), "text");
    }
}

TEST_F(GridEditors, SpinPageKeysStepWithinTheLimitsAndEndSetsTheMinimum)
{
    struct TCase {
        const char* Text;
        int Key;
        const char* Expected;
    };
    const std::vector<TCase> Cases = {
        {"100", VK_PRIOR, "100"}, {"99", VK_PRIOR, "100"}, {"5", VK_PRIOR, "6"},
        {"0", VK_NEXT, "0"},      {"5", VK_NEXT, "4"},     {"57", VK_END, "0"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(std::string(Case.Text) + " key " + std::to_string(Case.Key));
        OpenOn(etSpinInteger, Case.Text);
        Press(Case.Key);
        EXPECT_EQ(Spin()->Text(), Case.Expected);
        EXPECT_TRUE(Grid->ControlShown());
        Grid->HideEditorControl();
    }
}

TEST_F(GridEditors, FloatSpinPageUpReachesTheMaximumDespiteRounding)
{
    OpenOn(etSpinFloat, "1");
    Spin()->SetIncrementFloat(0.1);
    Spin()->SetFloatValue(99.9);
    Press(VK_PRIOR);
    EXPECT_DOUBLE_EQ(Spin()->FloatValue(), 100);
    Press(VK_PRIOR);
    EXPECT_DOUBLE_EQ(Spin()->FloatValue(), 100);
}

TEST_F(GridEditors, SpinKeysRaiseOnSpinClickWithUpDownFalse)
{
    struct TClick {
        int Col, Row, Value;
        bool UpDown;
    };
    std::vector<TClick> Clicks;
    Grid->OnSpinClick = [&](TObject* Sender, int ACol, int ARow, int AValue, bool UpDown) {
        EXPECT_EQ(Sender, Grid);
        Clicks.push_back(TClick{ACol, ARow, AValue, UpDown});
    };
    OpenOn(etSpinInteger, "0");
    Press(VK_NEXT);
    ASSERT_EQ(Clicks.size(), 1u);
    EXPECT_EQ(Spin()->Text(), "0");
    EXPECT_EQ(Clicks[0].Col, 1);
    EXPECT_EQ(Clicks[0].Row, 1);
    EXPECT_EQ(Clicks[0].Value, 0);
    EXPECT_FALSE(Clicks[0].UpDown);

    Press(VK_PRIOR);
    Press(VK_END);
    ASSERT_EQ(Clicks.size(), 3u);
    EXPECT_EQ(Clicks[1].Value, 1);
    EXPECT_EQ(Clicks[2].Value, 0);
}

TEST_F(GridEditors, SpinButtonStepsRaiseTheEventOfTheSpinTypeWithUpDownTrue)
{
    std::vector<std::string> Raised;
    Grid->OnSpinClick = [&](TObject*, int, int, int V, bool UpDown) {
        Raised.push_back("int " + std::to_string(V) + (UpDown ? " up/down" : ""));
    };
    Grid->OnFloatSpinClick = [&](TObject*, int, int, double V, bool UpDown) {
        Raised.push_back("float " + FloatToStr(V) + (UpDown ? " up/down" : ""));
    };
    Grid->OnDateSpinClick = [&](TObject*, int, int, TDateTime V, bool UpDown) {
        Raised.push_back("date " + DateToStr(V) + (UpDown ? " up/down" : ""));
    };
    Grid->OnTimeSpinClick = [&](TObject*, int, int, TDateTime V, bool UpDown) {
        Raised.push_back("time " + TimeToStr(V) + (UpDown ? " up/down" : ""));
    };
    struct TCase {
        TEditorType Type;
        const char* Text;
        bool Up;
        std::string Expected;
    };
    const std::vector<TCase> Cases = {
        {etSpinInteger, "4", true, "int 5 up/down"},
        {etSpinInteger, "4", false, "int 3 up/down"},
        {etSpinDate, "1/5/2026", true, "date 2/5/2026 up/down"},
        {etSpinTime, "8:00:00 AM", true, "time " + TimeToStr(EncodeTime(9, 0, 0, 0)) + " up/down"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Expected);
        OpenOn(Case.Type, Case.Text);
        Spin()->SetSelStart(0);
        Raised.clear();
        if (Case.Up)
            Spin()->UpClick(Spin()->Button());
        else
            Spin()->DownClick(Spin()->Button());
        ASSERT_EQ(Raised.size(), 1u);
        EXPECT_EQ(Raised[0], Case.Expected);
        Grid->HideEditorControl();
    }
    OpenOn(etSpinFloat, "1.5");
    Spin()->SetIncrementFloat(0.5);
    Raised.clear();
    Spin()->UpClick(Spin()->Button());
    EXPECT_EQ(Raised, std::vector<std::string>{"float 2 up/down"});
}

TEST_F(GridEditors, SpinOnACellThatHoldsNoNumberOpensAtTheMinimum)
{
    OpenOn(etSpinInteger, "1");
    Grid->HideEditorControl();
    Spin()->SetMinValue(5);
    Spin()->SetMinFloatValue(2.5);
    struct TCase {
        TEditorType Type;
        const char* Text;
        std::string Expected;
    };
    const std::vector<TCase> Cases = {
        {etSpinInteger, "abc", "5"},
        {etSpinInteger, "12abc", "5"},
        {etSpinFloat, "not a number", "2.5"},
        {etSpinDate, "no date", DateToStr(Today)},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Text);
        OpenOn(Case.Type, Case.Text);
        EXPECT_TRUE(Grid->ControlShown());
        EXPECT_EQ(Spin()->Text(), Case.Expected);
        Grid->HideEditorControl();
    }
}

TEST_F(GridEditors, UpInTheSpinCommitsTheValueShownNotTheMaximum)
{
    OpenOn(etSpinInteger, "42");
    Press(VK_UP);
    EXPECT_EQ(Cell(), "42");
    EXPECT_EQ(Spin()->Text(), "42");
}

TEST_F(GridEditors, SpinEscapeTakesTheCellsTextBack)
{
    OpenOn(etSpinInteger, "42");
    Spin()->SetValue(9);
    Press(VK_ESCAPE);
    EXPECT_EQ(Spin()->Text(), "42");
    EXPECT_EQ(Cell(), "42");
}

TEST_F(GridEditors, CommitStepKeepsARefusedValueOutAndTheControlOpen)
{
    bool Accept = false;
    std::vector<std::string> Validated;
    Grid->OnCellValidate = [&](TObject*, int, int, std::string& Value, bool& Valid) {
        Validated.push_back(Value);
        Valid = Accept;
    };
    struct TCase {
        const char* Name;
        TEditorType Type;
        std::function<void(GridEditors&)> Type_;
        int Key;
        std::string Committed;
    };
    const std::vector<TCase> Cases = {
        {"edit button, Enter", etEditButton, [](GridEditors& T) { T.EditBtn()->SetText("new"); },
         VK_RETURN, "new"},
        {"spin, Down", etSpinInteger, [](GridEditors& T) { T.Spin()->SetValue(8); }, VK_DOWN, "8"},
        {"editable combo, Up", etComboEdit, [](GridEditors& T) { T.Combo()->SetText("new"); },
         VK_UP, "new"},
        {"value with unit, Enter", etUnitEditButton,
         [](GridEditors& T) {
             T.UnitEdit()->SetText("7");
             T.UnitEdit()->SetUnitID(" kg");
         },
         VK_RETURN, "7 kg"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        for (bool Valid : {false, true}) {
            Accept = Valid;
            Validated.clear();
            OpenOn(Case.Type, Case.Type == etUnitEditButton ? "1 kg" : "1");
            const std::string Start = Cell();
            Case.Type_(*this);
            Press(Case.Key);
            EXPECT_EQ(Validated, std::vector<std::string>{Case.Committed});
            EXPECT_EQ(Cell(), Valid ? Case.Committed : Start);
            if (!Valid) {
                EXPECT_TRUE(Grid->ControlShown());
                EXPECT_TRUE(Grid->EditPending());
            }
            Grid->HideEditorControl();
        }
    }
    // The unit edit took the refused cell back split, not as one number.
    Accept = false;
    OpenOn(etUnitEditButton, "1 kg");
    UnitEdit()->SetText("9");
    Press(VK_RETURN);
    EXPECT_EQ(UnitEdit()->Text(), "1");
    EXPECT_EQ(UnitEdit()->UnitID(), " kg");
    EXPECT_EQ(UnitEdit()->SelStart(), 1);
}

TEST_F(GridEditors, ListOnlyComboOpensAtTheCellsItemOrTheFirst)
{
    ComboItems({"red", "green", "blue"});
    struct TCase {
        const char* Text;
        int Index;
        const char* Shown;
    };
    const std::vector<TCase> Cases = {
        {"blue", 2, "blue"}, {"purple", 0, "red"}, {"", 0, "red"}, {"GREEN", 1, "green"}};
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Text);
        OpenOn(etComboList, Case.Text);
        EXPECT_EQ(Combo()->Style(), csDropDownList);
        EXPECT_EQ(Combo()->ItemIndex(), Case.Index);
        EXPECT_EQ(Combo()->Text(), Case.Shown);
        Grid->HideEditorControl();
        EXPECT_EQ(Cell(), Case.Shown);
    }
}

TEST_F(GridEditors, ComboIsPlacedOverTheCellAndCanDropAtOnce)
{
    ComboItems({"a", "a much longer item than the column"});
    Grid->Navigation()->AutoComboDropSize = true;
    Grid->MouseActions()->DirectComboDrop = true;
    OpenOn(etComboEdit, "a");
    const TRect R = Grid->CellRect(1, 1);
    EXPECT_EQ(Combo()->Left(), R.Left);
    EXPECT_EQ(Combo()->Top(), R.Top);
    EXPECT_EQ(Combo()->Width(), R.Width());
    EXPECT_EQ(Combo()->Style(), csDropDown);
    EXPECT_EQ(Combo()->Text(), "a");
    EXPECT_TRUE(Combo()->DroppedDown());
    Combo()->Canvas()->SetFont(Combo()->Font());
    EXPECT_EQ(Combo()->DropWidth(),
              std::max(R.Width(), Combo()->Canvas()->TextWidth(Combo()->Items()->Strings(1)) + 6));
}

TEST_F(GridEditors, ComboChangesReachTheGridsEvents)
{
    ComboItems({"one", "two", "three"});
    TObject Tag;
    Combo()->Items()->SetObjects(1, &Tag);
    std::vector<std::string> Seen;
    TObject* SeenObject = nullptr;
    Grid->OnComboChange = [&](TObject*, int ACol, int ARow, int Index, const std::string& S) {
        Seen.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + " " +
                       std::to_string(Index) + " " + S);
    };
    Grid->OnComboObjectChange = [&](TObject*, int, int, int, const std::string&, TObject* O) {
        SeenObject = O;
    };
    OpenOn(etComboList, "one");
    Press(VK_DOWN);
    EXPECT_EQ(Seen, std::vector<std::string>{"1,1 1 two"});
    EXPECT_EQ(SeenObject, &Tag);
    Grid->HideEditorControl();

    Seen.clear();
    OpenOn(etComboEdit, "");
    Press('X', "x");
    EXPECT_EQ(Seen, std::vector<std::string>{"1,1 -1 x"});
}

TEST_F(GridEditors, ComboCompletesTypedTextFromItsItemsWhenLookupIsOn)
{
    ComboItems({"Apple", "Apricot", "Banana"});
    Grid->SetLookup(true);
    OpenOn(etComboEdit, "");
    Press('A', "a");
    Press('P', "p");
    EXPECT_EQ(Combo()->Text(), "apple");
    EXPECT_EQ(Combo()->SelText(), "ple");
    EXPECT_EQ(Combo()->ItemIndex(), 0);

    // Delete takes the completion away and completes nothing.
    Press(VK_DELETE);
    EXPECT_EQ(Combo()->Text(), "ap");
}

TEST_F(GridEditors, ComboEscapeTakesTheCellBackAndLookupHistoryKeepsNewTexts)
{
    ComboItems({"one", "two"});
    Grid->SetLookupHistory(true);
    OpenOn(etComboEdit, "two");
    Combo()->SetText("zzz");
    Press(VK_ESCAPE);
    EXPECT_EQ(Combo()->Text(), "two");
    EXPECT_EQ(Combo()->ItemIndex(), 1);
    Grid->HideEditorControl();

    OpenOn(etComboEdit, "two");
    Combo()->SetText("three");
    Grid->HideEditorControl();
    EXPECT_EQ(Combo()->Items()->IndexOf("three"), 2);
    EXPECT_EQ(Cell(), "three");
}

TEST_F(GridEditors, WheelStepsTheComboItemWithinTheList)
{
    ComboItems({"one", "two"});
    OpenOn(etComboList, "one");
    struct TStep {
        int Delta;
        int Index;
    };
    for (TStep Step : std::vector<TStep>{{-120, 1}, {-120, 1}, {120, 0}, {120, 0}}) {
        Combo()->Perform(Grid->WheelMsg(), static_cast<WPARAM>(Step.Delta & 0xFFFF) << 16, 0);
        EXPECT_EQ(Combo()->ItemIndex(), Step.Index);
    }
}

TEST_F(GridEditors, DatePickerOnANonDateOpensAtTodayAndEscapeGoesBackToToday)
{
    ASSERT_NE((OpenOn(etDatePicker, "not a date"), Picker()), nullptr);
    EXPECT_EQ(Picker()->Kind(), dtkDate);
    EXPECT_EQ(Picker()->DateMode(), dmComboBox);
    EXPECT_EQ(Picker()->Date(), Today);
    Picker()->SetDate(EncodeDate(2020, 2, 2));
    Press(VK_ESCAPE);
    EXPECT_EQ(Picker()->Date(), Today);
    Grid->HideEditorControl();

    OpenOn(etDateUpDown, "5/6/2024");
    EXPECT_EQ(Picker()->DateMode(), dmUpDown);
    EXPECT_EQ(Picker()->Date(), EncodeDate(2024, 5, 6));
    Grid->HideEditorControl();

    OpenOn(etTimePicker, "no time");
    EXPECT_EQ(Picker()->Kind(), dtkTime);
    EXPECT_EQ(TimeToStr(Picker()->Time()), TimeToStr(TimeNow));
}

TEST_F(GridEditors, ValueWithUnitSplitsDigitsFromTheUnitAndJoinsThemBack)
{
    struct TCase {
        const char* Text;
        const char* Number;
        const char* Unit;
        const char* Joined;
    };
    const std::vector<TCase> Cases = {
        {"12.5 kg", "12.5", " kg", "12.5 kg"}, {"-3,5 m", "-3,5", " m", "-3,5 m"},
        {"100%", "100", "%", "100%"},          {"pcs", "", "pcs", "pcs"},
        {"1 a2", "12", " a", "12 a"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Text);
        OpenOn(etUnitEditButton, Case.Text);
        EXPECT_EQ(UnitEdit()->Text(), Case.Number);
        EXPECT_EQ(UnitEdit()->UnitID(), Case.Unit);
        Grid->HideEditorControl();
        EXPECT_EQ(Cell(), Case.Joined);
    }
}

TEST_F(GridEditors, PushButtonCoversTheCellWithAPixelToSpareAndSpaceAsksEllipsClick)
{
    std::vector<std::string> Asked;
    Grid->OnEllipsClick = [&](TObject*, int, int, std::string& S) {
        Asked.push_back(S);
        S = "picked";
    };
    OpenOn(etCellButton, "choose");
    const TRect R = Grid->CellRect(1, 1);
    EXPECT_EQ(Button()->BoundsRect(), Rect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1));
    EXPECT_EQ(Button()->Caption(), "choose");
    Press(VK_SPACE, " ");
    EXPECT_EQ(Asked, std::vector<std::string>{"choose"});
    EXPECT_EQ(Button()->Caption(), "picked");

    Press(VK_ESCAPE);
    EXPECT_FALSE(Grid->ControlShown());
    EXPECT_FALSE(Button()->Visible());
    EXPECT_TRUE(Grid->Focused());
}

TEST_F(GridEditors, EditButtonAsksEllipsClickAndSelectsTheAnswer)
{
    Grid->OnEllipsClick = [&](TObject*, int ACol, int ARow, std::string& S) {
        S = S + " at " + std::to_string(ACol) + "," + std::to_string(ARow);
    };
    OpenOn(etEditButton, "cell");
    Press(VK_F4);
    EXPECT_EQ(EditBtn()->Text(), "cell at 1,1");
    EXPECT_EQ(EditBtn()->SelLength(), static_cast<int>(EditBtn()->Text().size()));
    EXPECT_EQ(EditBtn()->ButtonCaption(), "...");
}

TEST_F(GridEditors, NumberButtonsFilterTypedCharacters)
{
    TSoundRecorder Sounds;
    struct TCase {
        const char* Name;
        TEditorType Type;
        const char* Text;
        int SelStart;
        int SelLength;
        char Key;
        const char* After;
        bool Beeps;
    };
    const std::vector<TCase> Cases = {
        {"integer: minus after a digit", etIntegerButton, "12", 2, 0, '-', "12", true},
        {"integer: minus at the start", etIntegerButton, "12", 0, 0, '-', "-12", false},
        {"integer: second minus", etIntegerButton, "-12", 0, 0, '-', "-12", true},
        {"integer: letter", etIntegerButton, "12", 2, 0, 'a', "12", true},
        {"integer: decimal mark", etIntegerButton, "12", 2, 0, '.', "12", true},
        {"decimal: second mark", etDecimalButton, "1.5", 3, 0, ',', "1.5", false},
        {"decimal: mark over the selected one", etDecimalButton, "1.5", 0, 3, ',', ",", false},
        {"decimal: letter", etDecimalButton, "1.5", 3, 0, 'x', "1.5", false},
        {"decimal: minus inside", etDecimalButton, "1.5", 1, 0, '-', "1.5", true},
        {"decimal: digit", etDecimalButton, "1.5", 3, 0, '7', "1.57", false},
        {"plain: anything", etEditButton, "ab", 2, 0, 'x', "abx", false},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        OpenOn(Case.Type, Case.Text);
        EditBtn()->SetSelStart(Case.SelStart);
        EditBtn()->SetSelLength(Case.SelLength);
        Sounds.Clear();
        Press('A', std::string(1, Case.Key));
        EXPECT_EQ(EditBtn()->Text(), Case.After);
        EXPECT_EQ(!Sounds.Entries().empty(), Case.Beeps);
        Grid->HideEditorControl();
    }
}

TEST_F(GridEditors, TheStartingCharacterGoesToTheControlShownOnce)
{
    Grid->SetEditStartChar('7');
    OpenOn(etEditButton, "");
    EXPECT_EQ(EditBtn()->Text(), "7");
    EXPECT_EQ(Grid->EditStartChar(), 0);
    Grid->HideEditorControl();

    ComboItems({"one"});
    Grid->SetEditStartChar('x');
    OpenOn(etComboList, "one");
    EXPECT_EQ(Combo()->Text(), "one");
    EXPECT_EQ(Grid->EditStartChar(), 0);
}

TEST_F(GridEditors, LosingTheFocusHidesTheControlAndWritesItBack)
{
    OpenOn(etEditButton, "before");
    ASSERT_TRUE(EditBtn()->Focused());
    EditBtn()->SetText("typed");
    Grid->SetFocus();
    Pump();
    EXPECT_FALSE(Grid->ControlShown());
    EXPECT_FALSE(EditBtn()->Visible());
    EXPECT_EQ(Cell(), "typed");
}

TEST_F(GridEditors, CheckBoxTogglesWithSpaceAndLeavesOnNavigationKeys)
{
    std::vector<std::string> Keys;
    Grid->OnKeyDown = [&](TObject*, Word& Key, TShiftState) {
        Keys.push_back(std::to_string(Key));
    };
    OpenOn(etCheckBox, "done");
    EXPECT_EQ(CheckBox()->Caption(), "done");
    EXPECT_FALSE(CheckBox()->Checked());
    Press(VK_SPACE, " ");
    EXPECT_TRUE(CheckBox()->Checked());
    Press(VK_DOWN);
    EXPECT_FALSE(Grid->ControlShown());
    EXPECT_FALSE(CheckBox()->Visible());
    EXPECT_TRUE(Grid->Focused());
    EXPECT_NE(std::find(Keys.begin(), Keys.end(), std::to_string(VK_DOWN)), Keys.end());
}

TEST_F(GridEditors, TheFormGoesWithAControlStillFocused)
{
    OpenOn(etComboEdit, "text");
    ASSERT_TRUE(Combo()->Focused());
    delete Form;
    Form = nullptr;
    Pump();
}
