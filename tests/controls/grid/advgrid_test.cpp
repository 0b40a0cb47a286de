#include "tests/controls/grid/advgridfixture.h"

#include "platform/rtl/properties.h"

namespace {

TEST_F(AdvGridTest, NewGridHasTheInitialValuesOfItsProperties)
{
    EXPECT_FALSE(Grid->ActiveCellShow());
    EXPECT_TRUE(Grid->ActiveCellFont()->Style().Contains(fsBold));
    EXPECT_EQ(Grid->VAlignment(), vtaTop);
    EXPECT_EQ(Grid->VAlignFlag(), vfTop);
    EXPECT_TRUE(Grid->EnableHTML());
    EXPECT_FALSE(Grid->EnableGraphics());
    EXPECT_EQ(Grid->FloatFormat(), "%.2f");
    EXPECT_EQ(Grid->SelectionColor(), clHighlight);
    EXPECT_EQ(Grid->SelectionTextColor(), clHighlightText);
    EXPECT_EQ(Grid->URLColor(), TColor(0xFF0000));
    EXPECT_TRUE(Grid->ShowSelection());
    EXPECT_EQ(Grid->SortDirection(), sdAscending);
    EXPECT_TRUE(Grid->SortFull());
    EXPECT_TRUE(Grid->SortAutoFormat());
    EXPECT_EQ(Grid->IntelliPan(), ipVertical);
    EXPECT_TRUE(Grid->IntelliZoom());
    EXPECT_TRUE(Grid->EnableWheel());
    EXPECT_TRUE(Grid->OleAcceptFiles());
    EXPECT_TRUE(Grid->OleAcceptText());
    EXPECT_EQ(Grid->HintColor(), clInfoBk);
    EXPECT_EQ(Grid->DefaultRowHeight(), 21);
    EXPECT_TRUE(Grid->DoubleBuffered());
    EXPECT_EQ(Grid->PasswordChar(), "*");
    EXPECT_TRUE(Grid->IncludeFixedCells);
    EXPECT_FALSE(Grid->IncludeHiddenCells);
    EXPECT_EQ(Grid->ColumnSize()->Location(), clRegistry);
    EXPECT_FALSE(Grid->ColumnSize()->Save());
    EXPECT_TRUE(Grid->Navigation()->AllowClipboardRowGrow);
    EXPECT_TRUE(Grid->Navigation()->CopyHTMLTagsToClipboard);
    EXPECT_FALSE(Grid->Navigation()->AllowDeleteRow);
    EXPECT_EQ(Grid->PrintSettings()->DateFormat, "dd/mm/yyyy");
    EXPECT_EQ(Grid->PrintSettings()->PageNumSep, "/");
    EXPECT_EQ(Grid->HTMLSettings()->BorderSize, 1);
    EXPECT_EQ(Grid->HTMLSettings()->Width, 100);
    EXPECT_EQ(Grid->CellNode()->Color(), clSilver);
    EXPECT_EQ(Grid->Bands()->PrimaryColor(), clInfoBk);
    EXPECT_EQ(Grid->Bands()->SecondaryColor(), clWindow);
    EXPECT_EQ(Grid->Filter()->Count(), 0);
    EXPECT_FALSE(Grid->FilterActive());
    EXPECT_EQ(Grid->GridImages(), nullptr);
    EXPECT_EQ(Grid->ZoomFactor(), 0);
}

TEST_F(AdvGridTest, PublishedPropertiesReachTheGridAndItsSettingsObjects)
{
    SetPropValue(Grid, "FloatFormat", "%.3f");
    EXPECT_EQ(Grid->FloatFormat(), "%.3f");
    SetEnumProp(Grid, "VAlignment", "vtaBottom");
    EXPECT_EQ(Grid->VAlignFlag(), vfBottom);
    TObject* ColumnSize = GetObjectProp(Grid, "ColumnSize");
    ASSERT_EQ(ColumnSize, Grid->ColumnSize());
    SetStrProp(ColumnSize, "Section", "Subject");
    EXPECT_EQ(Grid->ColumnSize()->Section(), "Subject");
    SetPropValue(GetObjectProp(Grid, "Navigation"), "AdvanceOnEnter", "True");
    EXPECT_TRUE(Grid->Navigation()->AdvanceOnEnter);
    EXPECT_EQ(GetStrProp(GetObjectProp(Grid, "PrintSettings"), "DateFormat"), "dd/mm/yyyy");
}

TEST_F(AdvGridTest, FixedRowAlwaysMakesOneFixedRow)
{
    Grid->SetFixedRows(0);
    Grid->SetRowCount(1);
    Grid->SetFixedRowAlways(true);
    EXPECT_EQ(Grid->FixedRows(), 1);
    bool Fixed = false;
    Grid->IsFixedCell(0, 0, Fixed);
    EXPECT_TRUE(Fixed);
    Grid->SetRowCount(5);
    EXPECT_EQ(static_cast<TStringGrid*>(Grid)->FixedRows(), 1);
    Grid->IsFixedCell(0, 0, Fixed);
    EXPECT_FALSE(Fixed); // the base grid's fixed row now does it
}

TEST_F(AdvGridTest, FixedRowAlwaysKeepsMoreFixedRows)
{
    Grid->SetRowCount(6);
    Grid->SetFixedRows(3);
    Grid->SetFixedRowAlways(true);
    Grid->SetRowCount(8);
    EXPECT_EQ(Grid->FixedRows(), 3);
    Grid->SetColCount(6);
    Grid->SetFixedCols(2);
    Grid->SetFixedColAlways(true);
    Grid->SetColCount(7);
    EXPECT_EQ(Grid->FixedCols(), 2);
}

TEST_F(AdvGridTest, FootersAndRightColumnsAreFixedAndTheEventDecidesTheRest)
{
    Grid->SetColCount(5);
    Grid->SetRowCount(6);
    Grid->SetFixedFooters(1);
    Grid->SetFixedRightCols(1);
    EXPECT_TRUE(Grid->IsFixed(2, 5));
    EXPECT_TRUE(Grid->IsFixed(4, 2));
    EXPECT_FALSE(Grid->IsFixed(2, 2));
    Grid->OnIsFixedCell = [](TObject*, int ARow, int ACol, bool& IsFixed) {
        IsFixed = ARow == 2 && ACol == 3;
    };
    EXPECT_TRUE(Grid->IsFixed(3, 2));
    EXPECT_FALSE(Grid->IsFixed(2, 3));
}

TEST_F(AdvGridTest, SaveRangesFollowIncludeFixedCells)
{
    Grid->SetColCount(6);
    Grid->SetRowCount(10);
    Grid->SetFixedCols(1);
    Grid->SetFixedRows(1);
    Grid->SetFixedRightCols(1);
    Grid->SetFixedFooters(2);
    EXPECT_EQ(Grid->SaveColStart(), 0);
    EXPECT_EQ(Grid->SaveColEnd(), 5);
    EXPECT_EQ(Grid->SaveRowEnd(), 9);
    EXPECT_EQ(Grid->SaveColCount(), 6);
    EXPECT_EQ(Grid->SaveRowCount(), 10);
    Grid->IncludeFixedCells = false;
    EXPECT_EQ(Grid->SaveColStart(), 1);
    EXPECT_EQ(Grid->SaveRowStart(), 1);
    EXPECT_EQ(Grid->SaveColEnd(), 4);
    EXPECT_EQ(Grid->SaveRowEnd(), 7);
    EXPECT_EQ(Grid->SaveColCount(), 4);
    EXPECT_EQ(Grid->SaveRowCount(), 7);
}

struct TListener : TGridChangeListener {
    std::vector<std::string>* Log;
    std::string Name;
    TListener(std::vector<std::string>* ALog, std::string AName) : Log(ALog), Name(std::move(AName))
    {
    }
    void GridCellsChanged(TObject*, TRect R) override
    {
        Log->push_back(Name + ":" + std::to_string(R.Left) + "," + std::to_string(R.Bottom));
    }
};

TEST_F(AdvGridTest, CellsChangedTellsTheEventThenEachListenerInOrder)
{
    std::vector<std::string> Log;
    TListener First(&Log, "first");
    TListener Second(&Log, "second");
    Grid->OnCellsChanged = [&Log](TObject*, TRect R) {
        Log.push_back("event:" + std::to_string(R.Left) + "," + std::to_string(R.Bottom));
    };
    Grid->AddCellsChangedListener(&First);
    Grid->AddCellsChangedListener(&Second);
    Grid->CellsChanged(TRect{1, 2, 3, 4});
    EXPECT_EQ(Log, (std::vector<std::string>{"event:1,4", "first:1,4", "second:1,4"}));
    Grid->RemoveCellsChangedListener(&First);
    Log.clear();
    Grid->CellsChanged(TRect{0, 0, 0, 0});
    EXPECT_EQ(Log, (std::vector<std::string>{"event:0,0", "second:0,0"}));
}

TEST_F(AdvGridTest, VersionIsOnePointNinetyTwo)
{
    EXPECT_EQ(Grid->GetVersionNr() & 0xFFFF, 1);
    EXPECT_EQ(Grid->GetVersionNr() >> 16, 92);
    EXPECT_EQ(Grid->GetVersionString(), "1.92 April 27, 2001");
}

TEST_F(AdvGridTest, ForwardingOperationsKeepTheGridsAnswerWithoutAHandler)
{
    bool CanEdit = true;
    Grid->CanEditCell(1, 1, CanEdit);
    EXPECT_TRUE(CanEdit);
    Grid->OnCanEditCell = [](TObject*, int ARow, int, bool& Can) { Can = ARow != 3; };
    Grid->CanEditCell(1, 3, CanEdit);
    EXPECT_FALSE(CanEdit);

    TAlignment Alignment = taRightJustify;
    Grid->GetCellAlignment(1, 1, Alignment);
    EXPECT_EQ(Alignment, taRightJustify);

    TEditorType Editor = etNormal;
    Grid->OnGetEditorType = [](TObject*, int, int, TEditorType& E) { E = etComboList; };
    Grid->GetCellEditor(1, 1, Editor);
    EXPECT_EQ(Editor, etComboList);

    EXPECT_EQ(Grid->EllipsClick("text"), "text");
    Grid->OnEllipsClick = [](TObject*, int, int, std::string& S) { S += "!"; };
    EXPECT_EQ(Grid->EllipsClick("text"), "text!");
    EXPECT_EQ(Grid->GetGraphicSortKey(1, 1), -1);
}

TEST_F(AdvGridTest, ValidateCellRaisesTheEventOnlyForAChangedText)
{
    Grid->SetCells(1, 1, "old");
    int Calls = 0;
    Grid->OnCellValidate = [&Calls](TObject*, int, int, std::string& Value, bool& Valid) {
        ++Calls;
        Valid = Value != "bad";
    };
    EXPECT_TRUE(Grid->ValidateCell("new")); // no edit pending
    EXPECT_EQ(Calls, 0);
}

TEST_F(AdvGridTest, AssigningASettingsObjectCopiesItsValues)
{
    TNavigation Navigation;
    Navigation.AllowDeleteRow = true;
    Navigation.AdvanceDirection = adTopBottom;
    Grid->SetNavigation(&Navigation);
    EXPECT_TRUE(Grid->Navigation()->AllowDeleteRow);
    EXPECT_EQ(Grid->Navigation()->AdvanceDirection, adTopBottom);
    EXPECT_NE(Grid->Navigation(), &Navigation);

    TColumnSize Size(nullptr);
    Size.SetKey("K");
    Size.SetSection("S");
    Size.SetLocation(clIniFile);
    Grid->SetColumnSize(&Size);
    EXPECT_EQ(Grid->ColumnSize()->Key(), "K");
    EXPECT_EQ(Grid->ColumnSize()->Location(), clIniFile);

    TAdvStringGrid::TPrintSettings Print;
    Print.TitleText = "Rules";
    Print.TitleLines()->Add("line");
    Print.HeaderFont()->SetSize(20);
    Grid->SetPrintSettings(&Print);
    EXPECT_EQ(Grid->PrintSettings()->TitleText, "Rules");
    EXPECT_EQ(Grid->PrintSettings()->TitleLines()->Count(), 1);
    EXPECT_EQ(Grid->PrintSettings()->HeaderFont()->Size(), 20);

    TMouseActions Mouse;
    Mouse.AllColumnSize = true;
    Grid->SetMouseActions(&Mouse);
    EXPECT_TRUE(Grid->MouseActions()->AllColumnSize);
}

TEST_F(AdvGridTest, BandPeriodIsTheSumOfBothLengths)
{
    Grid->Bands()->SetPrimaryLength(2);
    EXPECT_EQ(Grid->Bands()->TotalLength(), 3);
    Grid->Bands()->SetSecondaryLength(4);
    EXPECT_EQ(Grid->Bands()->TotalLength(), 6);
}

TEST_F(AdvGridTest, FreedImageListIsForgotten)
{
    auto Images = new TImageList(Form);
    Grid->SetGridImages(Images);
    EXPECT_EQ(Grid->GridImages(), Images);
    delete Images;
    EXPECT_EQ(Grid->GridImages(), nullptr);
}

TEST_F(AdvGridTest, GridTakesOverTheOwnerFormsResizeAndGivesItBack)
{
    int OldCalls = 0;
    auto Owner = new TForm(nullptr);
    Owner->OnResize = [&OldCalls](TObject*) { ++OldCalls; };
    auto G = new TAdvStringGrid(Owner);
    ASSERT_TRUE(static_cast<bool>(Owner->OnResize));
    Owner->OnResize(Owner);
    EXPECT_EQ(OldCalls, 1);
    delete G;
    ASSERT_TRUE(static_cast<bool>(Owner->OnResize));
    Owner->OnResize(Owner);
    EXPECT_EQ(OldCalls, 2);
    delete Owner;
}

TEST_F(AdvGridTest, FailingChainedResizeHandlerIsSwallowed)
{
    auto Owner = new TForm(nullptr);
    Owner->OnResize = [](TObject*) { throw Exception("broken"); };
    auto G = new TAdvStringGrid(Owner);
    EXPECT_NO_THROW(Owner->OnResize(Owner));
    delete G;
    delete Owner;
}

TEST_F(AdvGridTest, FormWithoutHandlerGetsNoneBack)
{
    auto Owner = new TForm(nullptr);
    auto G = new TAdvStringGrid(Owner);
    EXPECT_TRUE(static_cast<bool>(Owner->OnResize));
    delete G;
    EXPECT_FALSE(static_cast<bool>(Owner->OnResize));
    delete Owner;
}

TEST_F(AdvGridTest, FormBeingDestroyedIsLeftAlone)
{
    // The grid dies with its form: the form's handler is not touched then.
    auto Owner = new TForm(nullptr);
    Owner->OnResize = [](TObject*) {};
    new TAdvStringGrid(Owner);
    EXPECT_NO_THROW(delete Owner);
}

} // namespace
