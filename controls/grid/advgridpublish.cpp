#include "controls/grid/advgridpublish.h"

#include "controls/grid/advgrid.h"
#include "platform/rtl/properties.h"

namespace {

void PublishEnumerations()
{
    RegisterEnumeration<TColumnSizeLocation>({"clRegistry", "clIniFile"});
    RegisterEnumeration<TAdvanceDirection>({"adLeftRight", "adTopBottom"});
    RegisterEnumeration<TInsertPosition>({"pInsertBefore", "pInsertAfter"});
    RegisterEnumeration<TNodeType>({"cnFlat", "cn3D", "cnGlyph"});
    RegisterEnumeration<TPrintPosition>({"ppNone", "ppTopLeft", "ppTopRight", "ppTopCenter",
                                         "ppBottomLeft", "ppBottomRight", "ppBottomCenter"});
    RegisterEnumeration<TPrintBorders>({"pbNoborder", "pbSingle", "pbDouble", "pbVertical",
                                        "pbHorizontal", "pbAround", "pbAroundVertical",
                                        "pbAroundHorizontal", "pbCustom"});
    RegisterEnumeration<TFitToPage>({"fpNever", "fpGrow", "fpShrink", "fpAlways", "fpCustom"});
    RegisterEnumeration<TBackGroundDisplay>({"bdTile", "bdFixed"});
    RegisterEnumeration<TBackGroundCells>({"bcNormal", "bcFixed"});
    RegisterEnumeration<TVAlignment>({"vtaCenter", "vtaTop", "vtaBottom"});
    RegisterEnumeration<TSortDirection>({"sdAscending", "sdDescending"});
    RegisterEnumeration<TScrollType>({"ssNormal", "ssFlat", "ssEncarta"});
    RegisterEnumeration<TScrollHintType>({"shNone", "shVertical", "shHorizontal", "shBoth"});
    RegisterEnumeration<TIntelliPan>({"ipVertical", "ipHorizontal", "ipBoth", "ipNone"});
}

void PublishSettings()
{
    TPublished<TColumnSize>()
        .Property("Save", &TColumnSize::Save, &TColumnSize::SetSave)
        .Property("Key", &TColumnSize::Key, &TColumnSize::SetKey)
        .Property("Section", &TColumnSize::Section, &TColumnSize::SetSection)
        .Property("Stretch", &TColumnSize::Stretch, &TColumnSize::SetStretch)
        .Property("SynchWithGrid", &TColumnSize::SynchWithGrid, &TColumnSize::SetSynchWithGrid)
        .Property("Location", &TColumnSize::Location, &TColumnSize::SetLocation);
    using N = TNavigation;
    TPublished<N>()
        .Field("AllowInsertRow", &N::AllowInsertRow)
        .Field("AllowDeleteRow", &N::AllowDeleteRow)
        .Field("AdvanceOnEnter", &N::AdvanceOnEnter)
        .Field("AdvanceInsert", &N::AdvanceInsert)
        .Field("AutoGotoWhenSorted", &N::AutoGotoWhenSorted)
        .Field("AutoGotoIncremental", &N::AutoGotoIncremental)
        .Field("AutoComboDropSize", &N::AutoComboDropSize)
        .Field("AdvanceDirection", &N::AdvanceDirection)
        .Field("AllowClipboardShortCuts", &N::AllowClipboardShortCuts)
        .Field("AllowSmartClipboard", &N::AllowSmartClipboard)
        .Field("AllowRTFClipboard", &N::AllowRTFClipboard)
        .Field("AllowClipboardAlways", &N::AllowClipboardAlways)
        .Field("AllowClipboardRowGrow", &N::AllowClipboardRowGrow)
        .Field("AllowClipboardColGrow", &N::AllowClipboardColGrow)
        .Field("AdvanceAuto", &N::AdvanceAuto)
        .Field("InsertPosition", &N::InsertPosition)
        .Field("CursorWalkEditor", &N::CursorWalkEditor)
        .Field("MoveRowOnSort", &N::MoveRowOnSort)
        .Field("ImproveMaskSel", &N::ImproveMaskSel)
        .Field("AlwaysEdit", &N::AlwaysEdit)
        .Field("CopyHTMLTagsToClipboard", &N::CopyHTMLTagsToClipboard)
        .Field("LineFeedOnEnter", &N::LineFeedOnEnter);
    using M = TMouseActions;
    TPublished<M>()
        .Field("AllSelect", &M::AllSelect)
        .Field("ColSelect", &M::ColSelect)
        .Field("RowSelect", &M::RowSelect)
        .Field("DirectEdit", &M::DirectEdit)
        .Field("DirectComboDrop", &M::DirectComboDrop)
        .Field("DisjunctRowSelect", &M::DisjunctRowSelect)
        .Field("AllColumnSize", &M::AllColumnSize)
        .Field("AllRowSize", &M::AllRowSize)
        .Field("CaretPositioning", &M::CaretPositioning);
    TPublished<TSizeWhileTyping>()
        .Field("Height", &TSizeWhileTyping::Height)
        .Field("Width", &TSizeWhileTyping::Width);
    TPublished<TCellNode>()
        .Property("Color", &TCellNode::Color, &TCellNode::SetColor, "TColor")
        .Property("NodeType", &TCellNode::NodeType, &TCellNode::SetNodeType)
        .Property("NodeColor", &TCellNode::NodeColor, &TCellNode::SetNodeColor, "TColor")
        .Property("ExpandGlyph", &TCellNode::ExpandGlyph,
                  [](TCellNode& Node, TBitmap* B) { Node.SetExpandGlyph(B); })
        .Property("ContractGlyph", &TCellNode::ContractGlyph,
                  [](TCellNode& Node, TBitmap* B) { Node.SetContractGlyph(B); });
    using H = THTMLSettings;
    TPublished<H>()
        .Field("BorderSize", &H::BorderSize)
        .Field("CellSpacing", &H::CellSpacing)
        .Field("CellPadding", &H::CellPadding)
        .Field("SaveColor", &H::SaveColor)
        .Field("SaveFonts", &H::SaveFonts)
        .Field("FooterFile", &H::FooterFile)
        .Field("HeaderFile", &H::HeaderFile)
        .Field("TableStyle", &H::TableStyle)
        .Field("PrefixTag", &H::PrefixTag)
        .Field("SuffixTag", &H::SuffixTag)
        .Field("Width", &H::Width);
    using P = advgridsettings::TPrintSettings;
    TPublished<P>()
        .Field("FooterSize", &P::FooterSize)
        .Field("HeaderSize", &P::HeaderSize)
        .Field("Time", &P::Time)
        .Field("Date", &P::Date)
        .Field("DateFormat", &P::DateFormat)
        .Field("PageNr", &P::PageNr)
        .Field("Title", &P::Title)
        .Field("TitleText", &P::TitleText)
        .Property("TitleLines", &P::TitleLines, [](P& S, TStringList* L) { S.SetTitleLines(L); })
        .Property("Font", &P::Font, [](P& S, TFont* F) { S.SetFont(F); })
        .Property("HeaderFont", &P::HeaderFont, [](P& S, TFont* F) { S.SetHeaderFont(F); })
        .Property("FooterFont", &P::FooterFont, [](P& S, TFont* F) { S.SetFooterFont(F); })
        .Field("Borders", &P::Borders)
        .Field("Centered", &P::Centered)
        .Field("RepeatFixedRows", &P::RepeatFixedRows)
        .Field("RepeatFixedCols", &P::RepeatFixedCols)
        .Field("LeftSize", &P::LeftSize)
        .Field("RightSize", &P::RightSize)
        .Field("ColumnSpacing", &P::ColumnSpacing)
        .Field("RowSpacing", &P::RowSpacing)
        .Field("TitleSpacing", &P::TitleSpacing)
        .Field("PagePrefix", &P::PagePrefix)
        .Field("PageSuffix", &P::PageSuffix)
        .Field("FixedWidth", &P::FixedWidth)
        .Field("FixedHeight", &P::FixedHeight)
        .Field("UseFixedHeight", &P::UseFixedHeight)
        .Field("UseFixedWidth", &P::UseFixedWidth)
        .Field("FitToPage", &P::FitToPage)
        .Field("JobName", &P::JobName)
        .Field("PageNumSep", &P::PageNumSep)
        .Field("NoAutoSize", &P::NoAutoSize)
        .Field("PrintGraphics", &P::PrintGraphics);
    TPublished<TBands>()
        .Property("Active", &TBands::Active, &TBands::SetActive)
        .Property("PrimaryColor", &TBands::PrimaryColor, &TBands::SetPrimaryColor, "TColor")
        .Property("PrimaryLength", &TBands::PrimaryLength, &TBands::SetPrimaryLength)
        .Property("SecondaryColor", &TBands::SecondaryColor, &TBands::SetSecondaryColor, "TColor")
        .Property("SecondaryLength", &TBands::SecondaryLength, &TBands::SetSecondaryLength)
        .Property("Print", &TBands::Print, &TBands::SetPrint);
    TPublished<TBackGround>()
        .Property("Top", &TBackGround::Top, &TBackGround::SetTop)
        .Property("Left", &TBackGround::Left, &TBackGround::SetLeft)
        .Property("Display", &TBackGround::Display, &TBackGround::SetDisplay)
        .Property("Bitmap", &TBackGround::Bitmap,
                  [](TBackGround& B, TBitmap* V) { B.SetBitmap(V); })
        .Property("Cells", &TBackGround::Cells, &TBackGround::SetCells);
}

void PublishGrid()
{
    using G = TAdvStringGrid;
    TPublished<G>()
        .Property("ActiveCellShow", &G::ActiveCellShow, &G::SetActiveCellShow)
        .Property("ActiveCellFont", &G::ActiveCellFont,
                  [](G& Grid, TFont* F) { Grid.SetActiveCellFont(F); })
        .Property("AutoNumAlign", &G::AutoNumAlign, &G::SetAutoNumAlign)
        .Property("AutoSize", &G::AutoSize, &G::SetAutoSize)
        .Property("VAlignment", &G::VAlignment, &G::SetVAlignment)
        .Property("EnhTextSize", &G::EnhTextSize, &G::SetEnhTextSize)
        .Property("Multilinecells", &G::Multilinecells, &G::SetMultilinecells)
        .Property("WordWrap", &G::WordWrap, &G::SetWordWrap)
        .Property("EnableGraphics", &G::EnableGraphics, &G::SetEnableGraphics)
        .Property("EnableHTML", &G::EnableHTML, &G::SetEnableHTML)
        .Property("Flat", &G::Flat, &G::SetFlat)
        .Property("FixedFont", &G::FixedFont, [](G& Grid, TFont* F) { Grid.SetFixedFont(F); })
        .Property("FixedAsButtons", &G::FixedAsButtons, &G::SetFixedAsButtons)
        .Property("FloatFormat", &G::FloatFormat, &G::SetFloatFormat)
        .Property("SelectionColor", &G::SelectionColor, &G::SetSelectionColor, "TColor")
        .Property("SelectionTextColor", &G::SelectionTextColor, &G::SetSelectionTextColor, "TColor")
        .Property("SelectionRectangle", &G::SelectionRectangle, &G::SetSelectionRectangle)
        .Property("SelectionRTFKeep", &G::SelectionRTFKeep, &G::SetSelectionRTFKeep)
        .Property("ShowSelection", &G::ShowSelection, &G::SetShowSelection)
        .Property("HideFocusRect", &G::HideFocusRect, &G::SetHideFocusRect)
        .Property("URLColor", &G::URLColor, &G::SetURLColor, "TColor")
        .Property("URLShow", &G::URLShow, &G::SetURLShow)
        .Property("URLFull", &G::URLFull, &G::SetURLFull)
        .Property("URLEdit", &G::URLEdit, &G::SetURLEdit)
        .Property("GridImages", &G::GridImages, &G::SetGridImages)
        .Property("SortUpGlyph", &G::SortUpGlyph,
                  [](G& Grid, TBitmap* B) { Grid.SetSortUpGlyph(B); })
        .Property("SortDownGlyph", &G::SortDownGlyph,
                  [](G& Grid, TBitmap* B) { Grid.SetSortDownGlyph(B); })
        .Property("RowIndicator", &G::RowIndicator,
                  [](G& Grid, TBitmap* B) { Grid.SetRowIndicator(B); })
        .Property("BackGround", &G::BackGround,
                  [](G& Grid, TBackGround* B) { Grid.SetBackGround(B); })
        .Property("Bands", &G::Bands, [](G& Grid, TBands* B) { Grid.SetBands(B); })
        .Property("Hovering", &G::Hovering, &G::SetHovering)
        .Property("FixedFooters", &G::FixedFooters, &G::SetFixedFooters)
        .Property("FixedRightCols", &G::FixedRightCols, &G::SetFixedRightCols)
        .Property("FixedColWidth", &G::FixedColWidth, &G::SetFixedColWidth)
        .Property("FixedRowHeight", &G::FixedRowHeight, &G::SetFixedRowHeight)
        .Property("FixedRowAlways", &G::FixedRowAlways, &G::SetFixedRowAlways)
        .Property("FixedColAlways", &G::FixedColAlways, &G::SetFixedColAlways)
        .Property("SizeWithForm", &G::SizeWithForm, &G::SetSizeWithForm)
        .Property("ColumnHeaders", &G::ColumnHeaders,
                  [](G& Grid, TStringList* L) { Grid.SetColumnHeaders(L); })
        .Property("RowHeaders", &G::RowHeaders,
                  [](G& Grid, TStringList* L) { Grid.SetRowHeaders(L); })
        .Property("ColumnSize", &G::ColumnSize,
                  [](G& Grid, TColumnSize* V) { Grid.SetColumnSize(V); })
        .Property("EnhRowColMove", &G::EnhRowColMove, &G::SetEnhRowColMove)
        .Property("SortColumn", &G::SortColumn, &G::SetSortColumn)
        .Property("SortDirection", &G::SortDirection, &G::SetSortDirection)
        .Property("SortFull", &G::SortFull, &G::SetSortFull)
        .Property("SortAutoFormat", &G::SortAutoFormat, &G::SetSortAutoFormat)
        .Property("SortShow", &G::SortShow, &G::SetSortShow)
        .Property("SortSingleColumn", &G::SortSingleColumn, &G::SetSortSingleColumn)
        .Property("SortIgnoreBlanks", &G::SortIgnoreBlanks, &G::SetSortIgnoreBlanks)
        .Property("SortIndexShow", &G::SortIndexShow, &G::SetSortIndexShow)
        .Property("SortFixedCols", &G::SortFixedCols, &G::SetSortFixedCols)
        .Property("SortNormalCellsOnly", &G::SortNormalCellsOnly, &G::SetSortNormalCellsOnly)
        .Property("Navigation", &G::Navigation,
                  [](G& Grid, TNavigation* V) { Grid.SetNavigation(V); })
        .Property("MouseActions", &G::MouseActions,
                  [](G& Grid, TMouseActions* V) { Grid.SetMouseActions(V); })
        .Property("SizeWhileTyping", &G::SizeWhileTyping,
                  [](G& Grid, TSizeWhileTyping* V) { Grid.SetSizeWhileTyping(V); })
        .Property("MaxEditLength", &G::MaxEditLength, &G::SetMaxEditLength)
        .Property("Lookup", &G::Lookup, &G::SetLookup)
        .Property("LookupCaseSensitive", &G::LookupCaseSensitive, &G::SetLookupCaseSensitive)
        .Property("LookupHistory", &G::LookupHistory, &G::SetLookupHistory)
        .Property("LookupItems", &G::LookupItems,
                  [](G& Grid, TStringList* L) { Grid.SetLookupItems(L); })
        .Property("ExcelStyleDecimalSeparator", &G::ExcelStyleDecimalSeparator,
                  &G::SetExcelStyleDecimalSeparator)
        .Property("OemConvert", &G::OemConvert, &G::SetOemConvert)
        .Property("CellNode", &G::CellNode, [](G& Grid, TCellNode* V) { Grid.SetCellNode(V); })
        .Property("ScrollType", &G::ScrollType, &G::SetScrollType)
        .Property("ScrollColor", &G::ScrollColor, &G::SetScrollColor, "TColor")
        .Property("ScrollWidth", &G::ScrollWidth, &G::SetScrollWidth)
        .Property("ScrollSynch", &G::ScrollSynch, &G::SetScrollSynch)
        .Property("ScrollProportional", &G::ScrollProportional, &G::SetScrollProportional)
        .Property("ScrollHints", &G::ScrollHints, &G::SetScrollHints)
        .Property("HintColor", &G::HintColor, &G::SetHintColor, "TColor")
        .Property("HintShowCells", &G::HintShowCells, &G::SetHintShowCells)
        .Property("HintShowLargeText", &G::HintShowLargeText, &G::SetHintShowLargeText)
        .Property("EnableWheel", &G::EnableWheel, &G::SetEnableWheel)
        .Property("IntelliPan", &G::IntelliPan, &G::SetIntelliPan)
        .Property("IntelliZoom", &G::IntelliZoom, &G::SetIntelliZoom)
        .Property("PrintSettings", &G::PrintSettings,
                  [](G& Grid, advgridsettings::TPrintSettings* V) { Grid.SetPrintSettings(V); })
        .Property("HTMLSettings", &G::HTMLSettings,
                  [](G& Grid, THTMLSettings* V) { Grid.SetHTMLSettings(V); })
        .Property("OleDropTarget", &G::OleDropTarget, &G::SetOleDropTarget)
        .Property("OleDropSource", &G::OleDropSource, &G::SetOleDropSource)
        .Property("OleAcceptFiles", &G::OleAcceptFiles, &G::SetOleAcceptFiles)
        .Property("OleAcceptText", &G::OleAcceptText, &G::SetOleAcceptText)
        .Property("OleEntireRows", &G::OleEntireRows, &G::SetOleEntireRows)
        .Property("OleInsertRows", &G::OleInsertRows, &G::SetOleInsertRows)
        .Property("OleRemoveRows", &G::OleRemoveRows, &G::SetOleRemoveRows)
        .Property("OleDropRTF", &G::OleDropRTF, &G::SetOleDropRTF)
        .Property("FilterActive", &G::FilterActive, &G::SetFilterActive)
        .Field("OnGetCellColor", &G::OnGetCellColor, "TGridColorEvent")
        .Field("OnGetAlignment", &G::OnGetAlignment, "TGridAlignEvent")
        .Field("OnGetFormat", &G::OnGetFormat, "TGridFormatEvent")
        .Field("OnCanSort", &G::OnCanSort, "TCanSortEvent")
        .Field("OnCanEditCell", &G::OnCanEditCell, "TCanEditCellEvent")
        .Field("OnCellValidate", &G::OnCellValidate, "TCellValidateEvent")
        .Field("OnAutoDeleteRow", &G::OnAutoDeleteRow, "TAutoDeleteRowEvent")
        .Field("OnIsFixedCell", &G::OnIsFixedCell, "TIsFixedCellEvent")
        .Field("OnCellsChanged", &G::OnCellsChanged, "TCellsChangedEvent")
        .Field("OnEndColumnSize", &G::OnEndColumnSize, "TEndColumnSizeEvent")
        .Field("OnEndRowSize", &G::OnEndRowSize, "TEndRowSizeEvent")
        .Field("OnGetEditorType", &G::OnGetEditorType, "TGetEditorTypeEvent")
        .Field("OnClickCell", &G::OnClickCell, "TClickCellEvent")
        .Field("OnDblClickCell", &G::OnDblClickCell, "TClickCellEvent")
        .Field("OnFileProgress", &G::OnFileProgress, "TGridProgressEvent");
}

} // namespace

void PublishAdvStringGrid()
{
    static const bool Done = [] {
        PublishEnumerations();
        PublishSettings();
        PublishGrid();
        return true;
    }();
    (void)Done;
}
