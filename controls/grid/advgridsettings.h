// controls/grid/advgridsettings.h: the settings objects a TAdvStringGrid owns and publishes as
// nested properties (column sizes, navigation, mouse actions, printing, HTML export, bands...).
#pragma once

#include "controls/grid/advobjlists.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/color.h"
#include "platform/gfx/graphicsobjects.h"
#include "platform/gfx/printerdevice.h"
#include "platform/rtl/object.h"
#include "platform/rtl/stringlist.h"

#include <memory>
#include <string>

class TAdvStringGrid;

enum TColumnSizeLocation { clRegistry, clIniFile };

// Where and whether the grid keeps its column widths, and whether the last column stretches.
class TColumnSize : public TPersistent {
public:
    explicit TColumnSize(TAdvStringGrid* AGrid) : FGrid(AGrid) {}
    // Copies the values of another TColumnSize; the grid reference stays.
    void Assign(const TPersistent* Source) override;

    bool Save() const { return FSave; }
    void SetSave(bool Value) { FSave = Value; }
    const std::string& Key() const { return FKey; }
    void SetKey(const std::string& Value) { FKey = Value; }
    const std::string& Section() const { return FSection; }
    void SetSection(const std::string& Value) { FSection = Value; }
    bool Stretch() const { return FStretch; }
    // Stretches the grid's last column at once when switched on.
    void SetStretch(bool Value);
    bool SynchWithGrid() const { return FSynchWithGrid; }
    void SetSynchWithGrid(bool Value) { FSynchWithGrid = Value; }
    TColumnSizeLocation Location() const { return FLocation; }
    void SetLocation(TColumnSizeLocation Value) { FLocation = Value; }

private:
    TAdvStringGrid* FGrid;
    bool FSave = false;
    std::string FKey;
    std::string FSection;
    bool FStretch = false;
    bool FSynchWithGrid = false;
    TColumnSizeLocation FLocation = clRegistry;
};

enum TAdvanceDirection { adLeftRight, adTopBottom };
enum TInsertPosition { pInsertBefore, pInsertAfter };

// Keyboard, clipboard and editing options of the grid.
class TNavigation : public TPersistent {
public:
    void Assign(const TPersistent* Source) override;

    bool AllowInsertRow = false;
    bool AllowDeleteRow = false;
    bool AdvanceOnEnter = false;
    bool AdvanceInsert = false;
    bool AutoGotoWhenSorted = false;
    bool AutoGotoIncremental = false;
    bool AutoComboDropSize = false;
    TAdvanceDirection AdvanceDirection = adLeftRight;
    bool AllowClipboardShortCuts = false;
    bool AllowSmartClipboard = false;
    bool AllowRTFClipboard = false;
    bool AllowClipboardAlways = false;
    bool AllowClipboardRowGrow = true;
    bool AllowClipboardColGrow = true;
    bool AdvanceAuto = false;
    TInsertPosition InsertPosition = pInsertBefore;
    bool CursorWalkEditor = false;
    bool MoveRowOnSort = false;
    bool ImproveMaskSel = false;
    bool AlwaysEdit = false;
    bool CopyHTMLTagsToClipboard = true;
    bool LineFeedOnEnter = false;
};

// What the mouse selects, edits and sizes.
class TMouseActions : public TPersistent {
public:
    void Assign(const TPersistent* Source) override;

    bool AllSelect = false;
    bool ColSelect = false;
    bool RowSelect = false;
    bool DirectEdit = false;
    bool DirectComboDrop = false;
    bool DisjunctRowSelect = false;
    bool AllColumnSize = false;
    bool AllRowSize = false;
    bool CaretPositioning = false;
};

// Whether the in-place editor grows the cell while typing.
class TSizeWhileTyping : public TPersistent {
public:
    void Assign(const TPersistent* Source) override;

    bool Height = false;
    bool Width = false;
};

enum TNodeType { cnFlat, cn3D, cnGlyph };

// The look of expandable node cells.
class TCellNode : public TPersistent {
public:
    explicit TCellNode(TAdvStringGrid* AGrid);
    ~TCellNode() override;
    void Assign(const TPersistent* Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TNodeType NodeType() const { return FNodeType; }
    // Repaints the grid when the type changes.
    void SetNodeType(TNodeType Value);
    TColor NodeColor() const { return FNodeColor; }
    void SetNodeColor(TColor Value) { FNodeColor = Value; }
    TBitmap* ExpandGlyph() const { return FExpandGlyph.get(); }
    void SetExpandGlyph(const TBitmap* Value);
    TBitmap* ContractGlyph() const { return FContractGlyph.get(); }
    void SetContractGlyph(const TBitmap* Value);

private:
    TAdvStringGrid* FGrid;
    TColor FColor = clSilver;
    TNodeType FNodeType = cnFlat;
    TColor FNodeColor = clBlack;
    std::unique_ptr<TBitmap> FExpandGlyph;
    std::unique_ptr<TBitmap> FContractGlyph;
};

// Options of the grid's HTML export.
class THTMLSettings : public TPersistent {
public:
    THTMLSettings();
    ~THTMLSettings() override;
    void Assign(const TPersistent* Source) override;

    int BorderSize = 1;
    int CellSpacing = 0;
    int CellPadding = 0;
    bool SaveColor = true;
    bool SaveFonts = true;
    std::string FooterFile;
    std::string HeaderFile;
    std::string TableStyle;
    std::string PrefixTag;
    std::string SuffixTag;
    int Width = 100;
    // Scratch list of the export.
    TIntList* ColWidths() const { return FColWidths.get(); }

private:
    std::unique_ptr<TIntList> FColWidths;
};

enum TPrintPosition {
    ppNone,
    ppTopLeft,
    ppTopRight,
    ppTopCenter,
    ppBottomLeft,
    ppBottomRight,
    ppBottomCenter
};
enum TPrintBorders {
    pbNoborder,
    pbSingle,
    pbDouble,
    pbVertical,
    pbHorizontal,
    pbAround,
    pbAroundVertical,
    pbAroundHorizontal,
    pbCustom
};
enum TFitToPage { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };

// The platform's print dialog already has a TPrintSettings; the grid's lives in this unit's
// namespace and is named TAdvStringGrid::TPrintSettings inside the grid.
namespace advgridsettings {

// Page layout, titles, fonts and borders of a printed grid.
class TPrintSettings : public TPersistent {
public:
    TPrintSettings();
    ~TPrintSettings() override;
    void Assign(const TPersistent* Source) override;

    TStringList* TitleLines() const { return FTitleLines.get(); }
    void SetTitleLines(const TStrings* Value);
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* Value);
    TFont* HeaderFont() const { return FHeaderFont.get(); }
    void SetHeaderFont(const TFont* Value);
    TFont* FooterFont() const { return FFooterFont.get(); }
    void SetFooterFont(const TFont* Value);

    int FooterSize = 0;
    int HeaderSize = 0;
    TPrintPosition Time = ppNone;
    TPrintPosition Date = ppNone;
    std::string DateFormat = "dd/mm/yyyy";
    TPrintPosition PageNr = ppNone;
    TPrintPosition Title = ppNone;
    std::string TitleText;
    TPrintBorders Borders = pbNoborder;
    TPenStyle BorderStyle = psSolid;
    bool Centered = false;
    bool RepeatFixedRows = false;
    bool RepeatFixedCols = false;
    int LeftSize = 0;
    int RightSize = 0;
    int ColumnSpacing = 0;
    int RowSpacing = 0;
    int TitleSpacing = 0;
    TPrinterOrientation Orientation = poPortrait;
    std::string PagePrefix;
    std::string PageSuffix;
    int FixedWidth = 0;
    int FixedHeight = 0;
    bool UseFixedHeight = false;
    bool UseFixedWidth = false;
    TFitToPage FitToPage = fpNever;
    std::string JobName;
    std::string PageNumSep = "/";
    bool NoAutoSize = false;
    bool PrintGraphics = false;

private:
    std::unique_ptr<TStringList> FTitleLines;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TFont> FHeaderFont;
    std::unique_ptr<TFont> FFooterFont;
};

} // namespace advgridsettings

// Alternating row colours: PrimaryLength rows of one colour, then SecondaryLength of the other.
class TBands : public TPersistent {
public:
    explicit TBands(TAdvStringGrid* AGrid) : FGrid(AGrid) {}
    void Assign(const TPersistent* Source) override;

    bool Active() const { return FActive; }
    void SetActive(bool Value);
    TColor PrimaryColor() const { return FPrimaryColor; }
    void SetPrimaryColor(TColor Value);
    int PrimaryLength() const { return FPrimaryLength; }
    void SetPrimaryLength(int Value);
    TColor SecondaryColor() const { return FSecondaryColor; }
    void SetSecondaryColor(TColor Value);
    int SecondaryLength() const { return FSecondaryLength; }
    void SetSecondaryLength(int Value);
    bool Print() const { return FPrint; }
    void SetPrint(bool Value) { FPrint = Value; }
    // PrimaryLength + SecondaryLength: the period of the bands.
    int TotalLength() const { return FTotalLength; }

private:
    void RepaintWhenActive();

    TAdvStringGrid* FGrid;
    bool FActive = false;
    TColor FPrimaryColor = clInfoBk;
    int FPrimaryLength = 1;
    TColor FSecondaryColor = clWindow;
    int FSecondaryLength = 1;
    bool FPrint = false;
    int FTotalLength = 2;
};

enum TBackGroundDisplay { bdTile, bdFixed };
enum TBackGroundCells { bcNormal, bcFixed };

// A picture behind the grid's cells, tiled or at a fixed place.
class TBackGround : public TPersistent {
public:
    explicit TBackGround(TAdvStringGrid* AGrid);
    ~TBackGround() override;
    void Assign(const TPersistent* Source) override;

    int Top() const { return FTop; }
    void SetTop(int Value);
    int Left() const { return FLeft; }
    void SetLeft(int Value);
    TBackGroundDisplay Display() const { return FDisplay; }
    void SetDisplay(TBackGroundDisplay Value);
    TBitmap* Bitmap() const { return FBitmap.get(); }
    void SetBitmap(const TBitmap* Value);
    TBackGroundCells Cells() const { return FCells; }
    void SetCells(TBackGroundCells Value);

private:
    void Repaint();

    TAdvStringGrid* FGrid;
    int FTop = 0;
    int FLeft = 0;
    TBackGroundDisplay FDisplay = bdTile;
    std::unique_ptr<TBitmap> FBitmap;
    TBackGroundCells FCells = bcNormal;
};
