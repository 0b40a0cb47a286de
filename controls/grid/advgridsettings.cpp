#include "controls/grid/advgridsettings.h"

#include "controls/grid/advgrid.h"

namespace {

// The source as T, or nil when it is another kind of object.
template <class T>
const T* SourceAs(const TPersistent* Source)
{
    return dynamic_cast<const T*>(Source);
}

void Repaint(TAdvStringGrid* Grid)
{
    if (Grid != nullptr)
        Grid->Invalidate();
}

} // namespace

// ---- TColumnSize -----------------------------------------------------------------------------

void TColumnSize::Assign(const TPersistent* Source)
{
    auto S = SourceAs<TColumnSize>(Source);
    if (S == nullptr)
        return TPersistent::Assign(Source);
    FSave = S->FSave;
    FKey = S->FKey;
    FSection = S->FSection;
    FSynchWithGrid = S->FSynchWithGrid;
    FLocation = S->FLocation;
    SetStretch(S->FStretch);
}

void TColumnSize::SetStretch(bool Value)
{
    FStretch = Value;
    if (FGrid != nullptr)
        FGrid->StretchRightColumn();
}

// ---- plain value holders ---------------------------------------------------------------------

void TNavigation::Assign(const TPersistent* Source)
{
    auto S = SourceAs<TNavigation>(Source);
    if (S == nullptr)
        return TPersistent::Assign(Source);
    AllowInsertRow = S->AllowInsertRow;
    AllowDeleteRow = S->AllowDeleteRow;
    AdvanceOnEnter = S->AdvanceOnEnter;
    AdvanceInsert = S->AdvanceInsert;
    AutoGotoWhenSorted = S->AutoGotoWhenSorted;
    AutoGotoIncremental = S->AutoGotoIncremental;
    AutoComboDropSize = S->AutoComboDropSize;
    AdvanceDirection = S->AdvanceDirection;
    AllowClipboardShortCuts = S->AllowClipboardShortCuts;
    AllowSmartClipboard = S->AllowSmartClipboard;
    AllowRTFClipboard = S->AllowRTFClipboard;
    AllowClipboardAlways = S->AllowClipboardAlways;
    AllowClipboardRowGrow = S->AllowClipboardRowGrow;
    AllowClipboardColGrow = S->AllowClipboardColGrow;
    AdvanceAuto = S->AdvanceAuto;
    InsertPosition = S->InsertPosition;
    CursorWalkEditor = S->CursorWalkEditor;
    MoveRowOnSort = S->MoveRowOnSort;
    ImproveMaskSel = S->ImproveMaskSel;
    AlwaysEdit = S->AlwaysEdit;
    CopyHTMLTagsToClipboard = S->CopyHTMLTagsToClipboard;
    LineFeedOnEnter = S->LineFeedOnEnter;
}

void TMouseActions::Assign(const TPersistent* Source)
{
    auto S = SourceAs<TMouseActions>(Source);
    if (S == nullptr)
        return TPersistent::Assign(Source);
    AllSelect = S->AllSelect;
    ColSelect = S->ColSelect;
    RowSelect = S->RowSelect;
    DirectEdit = S->DirectEdit;
    DirectComboDrop = S->DirectComboDrop;
    DisjunctRowSelect = S->DisjunctRowSelect;
    AllColumnSize = S->AllColumnSize;
    AllRowSize = S->AllRowSize;
    CaretPositioning = S->CaretPositioning;
}

void TSizeWhileTyping::Assign(const TPersistent* Source)
{
    auto S = SourceAs<TSizeWhileTyping>(Source);
    if (S == nullptr)
        return TPersistent::Assign(Source);
    Height = S->Height;
    Width = S->Width;
}

// ---- TCellNode -------------------------------------------------------------------------------

TCellNode::TCellNode(TAdvStringGrid* AGrid)
    : FGrid(AGrid), FExpandGlyph(std::make_unique<TBitmap>()),
      FContractGlyph(std::make_unique<TBitmap>())
{
}

TCellNode::~TCellNode() = default;

void TCellNode::Assign(const TPersistent* Source)
{
    auto S = SourceAs<TCellNode>(Source);
    if (S == nullptr)
        return TPersistent::Assign(Source);
    FColor = S->FColor;
    FNodeColor = S->FNodeColor;
    FExpandGlyph->Assign(S->FExpandGlyph.get());
    FContractGlyph->Assign(S->FContractGlyph.get());
    SetNodeType(S->FNodeType);
}

void TCellNode::SetNodeType(TNodeType Value)
{
    if (FNodeType == Value)
        return;
    FNodeType = Value;
    Repaint(FGrid);
}

void TCellNode::SetExpandGlyph(const TBitmap* Value)
{
    FExpandGlyph->Assign(Value);
}

void TCellNode::SetContractGlyph(const TBitmap* Value)
{
    FContractGlyph->Assign(Value);
}

// ---- THTMLSettings ---------------------------------------------------------------------------

THTMLSettings::THTMLSettings() : FColWidths(std::make_unique<TIntList>()) {}

THTMLSettings::~THTMLSettings() = default;

void THTMLSettings::Assign(const TPersistent* Source)
{
    auto S = SourceAs<THTMLSettings>(Source);
    if (S == nullptr)
        return TPersistent::Assign(Source);
    BorderSize = S->BorderSize;
    CellSpacing = S->CellSpacing;
    CellPadding = S->CellPadding;
    SaveColor = S->SaveColor;
    SaveFonts = S->SaveFonts;
    FooterFile = S->FooterFile;
    HeaderFile = S->HeaderFile;
    TableStyle = S->TableStyle;
    PrefixTag = S->PrefixTag;
    SuffixTag = S->SuffixTag;
    Width = S->Width;
}

// ---- TPrintSettings --------------------------------------------------------------------------

namespace advgridsettings {

TPrintSettings::TPrintSettings()
    : FTitleLines(std::make_unique<TStringList>()), FFont(std::make_unique<TFont>()),
      FHeaderFont(std::make_unique<TFont>()), FFooterFont(std::make_unique<TFont>())
{
}

TPrintSettings::~TPrintSettings() = default;

void TPrintSettings::SetTitleLines(const TStrings* Value)
{
    FTitleLines->Assign(Value);
}

void TPrintSettings::SetFont(const TFont* Value)
{
    FFont->Assign(Value);
}

void TPrintSettings::SetHeaderFont(const TFont* Value)
{
    FHeaderFont->Assign(Value);
}

void TPrintSettings::SetFooterFont(const TFont* Value)
{
    FFooterFont->Assign(Value);
}

void TPrintSettings::Assign(const TPersistent* Source)
{
    auto S = SourceAs<TPrintSettings>(Source);
    if (S == nullptr)
        return TPersistent::Assign(Source);
    FTitleLines->Assign(S->FTitleLines.get());
    FFont->Assign(S->FFont.get());
    FHeaderFont->Assign(S->FHeaderFont.get());
    FFooterFont->Assign(S->FFooterFont.get());
    FooterSize = S->FooterSize;
    HeaderSize = S->HeaderSize;
    Time = S->Time;
    Date = S->Date;
    DateFormat = S->DateFormat;
    PageNr = S->PageNr;
    Title = S->Title;
    TitleText = S->TitleText;
    Borders = S->Borders;
    BorderStyle = S->BorderStyle;
    Centered = S->Centered;
    RepeatFixedRows = S->RepeatFixedRows;
    RepeatFixedCols = S->RepeatFixedCols;
    LeftSize = S->LeftSize;
    RightSize = S->RightSize;
    ColumnSpacing = S->ColumnSpacing;
    RowSpacing = S->RowSpacing;
    TitleSpacing = S->TitleSpacing;
    Orientation = S->Orientation;
    PagePrefix = S->PagePrefix;
    PageSuffix = S->PageSuffix;
    FixedWidth = S->FixedWidth;
    FixedHeight = S->FixedHeight;
    UseFixedHeight = S->UseFixedHeight;
    UseFixedWidth = S->UseFixedWidth;
    FitToPage = S->FitToPage;
    JobName = S->JobName;
    PageNumSep = S->PageNumSep;
    NoAutoSize = S->NoAutoSize;
    PrintGraphics = S->PrintGraphics;
}

} // namespace advgridsettings

// ---- TBands ----------------------------------------------------------------------------------

void TBands::Assign(const TPersistent* Source)
{
    auto S = SourceAs<TBands>(Source);
    if (S == nullptr)
        return TPersistent::Assign(Source);
    FPrimaryColor = S->FPrimaryColor;
    FPrimaryLength = S->FPrimaryLength;
    FSecondaryColor = S->FSecondaryColor;
    FSecondaryLength = S->FSecondaryLength;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    FPrint = S->FPrint;
    FActive = S->FActive;
    Repaint(FGrid);
}

void TBands::RepaintWhenActive()
{
    if (FActive)
        Repaint(FGrid);
}

void TBands::SetActive(bool Value)
{
    FActive = Value;
    Repaint(FGrid);
}

void TBands::SetPrimaryColor(TColor Value)
{
    FPrimaryColor = Value;
    RepaintWhenActive();
}

void TBands::SetPrimaryLength(int Value)
{
    FPrimaryLength = Value;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    RepaintWhenActive();
}

void TBands::SetSecondaryColor(TColor Value)
{
    FSecondaryColor = Value;
    RepaintWhenActive();
}

void TBands::SetSecondaryLength(int Value)
{
    FSecondaryLength = Value;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    RepaintWhenActive();
}

// ---- TBackGround -----------------------------------------------------------------------------

TBackGround::TBackGround(TAdvStringGrid* AGrid) : FGrid(AGrid), FBitmap(std::make_unique<TBitmap>())
{
}

TBackGround::~TBackGround() = default;

void TBackGround::Assign(const TPersistent* Source)
{
    auto S = SourceAs<TBackGround>(Source);
    if (S == nullptr)
        return TPersistent::Assign(Source);
    FTop = S->FTop;
    FLeft = S->FLeft;
    FDisplay = S->FDisplay;
    FBitmap->Assign(S->FBitmap.get());
    FCells = S->FCells;
    Repaint();
}

void TBackGround::Repaint()
{
    ::Repaint(FGrid);
}

void TBackGround::SetTop(int Value)
{
    FTop = Value;
    Repaint();
}

void TBackGround::SetLeft(int Value)
{
    FLeft = Value;
    Repaint();
}

void TBackGround::SetDisplay(TBackGroundDisplay Value)
{
    FDisplay = Value;
    Repaint();
}

void TBackGround::SetBitmap(const TBitmap* Value)
{
    FBitmap->Assign(Value);
    Repaint();
}

void TBackGround::SetCells(TBackGroundCells Value)
{
    FCells = Value;
    Repaint();
}
