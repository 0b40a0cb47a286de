// controls/entry/ovcedit.h: TOvcCustomEditor, the multi-line plain-text editor in a fixed-pitch
// font: its view of a paragraph store (caret, selection, top line), keys through the
// controller's command tables, typing, clipboard, undo, bookmarks and views sharing one text.
#pragma once

#include "controls/entry/ovcbase.h"
#include "controls/entry/ovcbordr.h"
#include "controls/entry/ovccaret.h"
#include "controls/entry/ovccolor.h"
#include "controls/entry/ovcedpara.h"
#include "controls/entry/ovcfxfont.h"
#include "platform/forms/form.h"
#include "platform/stdctrls/memo.h"
#include "platform/ui/cursors.h"

#include <functional>
#include <memory>
#include <string>

class TBitmap;

enum TTabType { ttReal, ttFixed, ttSmart };

// Posted by the editor to itself once the caret moved: WParam column, LParam line.
constexpr UINT OM_SHOWSTATUS = 0x7F02;

// Search options, bits of Search's Options.
enum : Word {
    soFind = 1,
    soBackward = 2, // absent: forwards
    soMatchCase = 4,
    soGlobal = 8,   // from the start (or the end) of the text instead of the caret
    soReplace = 16, // replace the occurrence found
    soReplaceAll = 32,
    soWholeWord = 64,
    soSelText = 128, // only within the selection
};

using TEditorErrorEvent = std::function<void(TObject* Sender, Word& ErrorCode)>;
using TShowStatusEvent = std::function<void(TObject* Sender, int LineNum, int ColNum)>;
using TTopLineChangedEvent = std::function<void(TObject* Sender, int Line)>;
using TEditorUserCommandEvent = std::function<void(TObject* Sender, Word Command)>;
// Draws screen line Line at Rect: S its text with tabs expanded (empty below the text), Len its
// length, Pos the left column and Count the visible columns; HBLine, HBCol, HELine, HECol the
// shown selection as line and display column (all 0 without one). WasDrawn true: drawn.
using TEditorDrawLineEvent = std::function<void(
    TObject* Sender, TCanvas* EditorCanvas, const TRect& Rect, const std::string& S, int Len,
    int Line, int Pos, int Count, int HBLine, int HBCol, int HELine, int HECol, bool& WasDrawn)>;

// The cursor number the margin cursor is registered under with the screen.
constexpr TCursor crOvcMargin = 30201;

class TOvcEditBase : public TOvcCustomControlEx {
public:
    explicit TOvcEditBase(TComponent* AOwner) : TOvcCustomControlEx(AOwner) {}
};

class TOvcCustomEditor : public TOvcEditBase, public TOvcEditView {
public:
    explicit TOvcCustomEditor(TComponent* AOwner);
    ~TOvcCustomEditor() override;

    // The text ------------------------------------------------------------------------------
    int LineCount() const { return FParas->LineCount(); }
    // Screen line Index (1 .. LineCount) with tabs expanded; else EInvalidLineOrPara.
    std::string Lines(int Index) const;
    int ParaCount() const { return FParas->ParaCount(); }
    // Paragraph Para (1 .. ParaCount) as stored; else EInvalidLineOrPara.
    std::string GetPara(int Para) const;
    int ParaLength(int Para) const;
    bool Modified() const { return FParas->Modified(); }
    void SetModified(bool Value);
    TOvcParaList* ParaList() const { return FParas; }

    int TopLine() const { return FTopLine; }
    // Scrolls so that Line (1 .. LineCount, else EInvalidLineOrPara) is the first visible line.
    void SetTopLine(int Line);
    int LeftColumn() const { return FLeftCol; }

    // The caret: screen line, and character position within it (both from 1).
    int CaretLine() const { return FCaretLine; }
    int CaretLinePos() const;
    TParaPos CaretPara() const { return FCaret; }
    // Display column of the caret within its screen line (from 1).
    int CaretColumn() const;
    bool HasSelection() const;
    TParaPos SelStart() const;
    TParaPos SelEnd() const;
    // The selected text with line ends as CR LF.
    std::string SelectedText() const;
    // Selects between two line positions (each clipped to the text); the caret goes to the end.
    void SetSelection(int Line1, int Col1, int Line2, int Col2, bool CaretAtEnd = true);
    // Moves the caret to line Line, position Pos of it, dropping the selection.
    void SetCaretPosition(int Line, int Pos);

    bool CanUndo() const;
    bool CanRedo() const;
    virtual void Undo();
    virtual void Redo();
    // Inserts Text (line ends allowed) at the caret, replacing the selection, as one group.
    void InsertString(const std::string& Text);
    virtual void CopyToClipboard();
    virtual void CutToClipboard();
    virtual void PasteFromClipboard();

    // Finds FindText (ovcedsearch.cpp): the number of replacements made when there were any,
    // else 0 when a match was selected (or FindText is empty), -1 when none was found, and the
    // negated code of a store error after it was reported.
    int Search(const std::string& FindText, const std::string& ReplaceText, Word Options);

    // Bookmarks 0 to 9.
    virtual void SetMarker(int N);
    virtual void SetMarkerAt(int N, int Line, int Col);
    virtual void ClearMarker(int N);
    void GotoMarker(int N);
    TParaPos Marker(int N) const { return FParas->Marker(N); }

    // Shares Other's text: this view leaves its own ring first.
    virtual void Attach(TOvcCustomEditor* Other);
    // Carries out Cmd (Ch: the typed character for 249); false when it is not handled.
    virtual bool ProcessCommand(Word Cmd, char Ch);

    // Properties ----------------------------------------------------------------------------
    bool AutoIndent() const { return FAutoIndent; }
    void SetAutoIndent(bool Value) { FAutoIndent = Value; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    TOvcBorders* Borders() const { return FBorders.get(); }
    int ByteLimit() const { return FParas->TextLimit(); }
    virtual void SetByteLimit(int Value);
    TOvcCaretPair* CaretPair() const { return FCaretPair.get(); }
    TOvcFixedFont* FixedFont() const { return FFixedFont.get(); }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    TOvcColors* HighlightColors() const { return FHighlightColors.get(); }
    bool InsertMode() const { return FInsertMode; }
    void SetInsertMode(bool Value);
    int LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(int Value);
    int RightMargin() const { return FRightMargin; }
    void SetRightMargin(int Value);
    TColor MarginColor() const { return FMarginColor; }
    void SetMarginColor(TColor Value);
    int ParaLengthLimit() const { return FParas->ParaLengthLimit(); }
    void SetParaLengthLimit(int Value);
    int ParaLimit() const { return FParas->ParaLimit(); }
    void SetParaLimit(int Value);
    virtual bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool ScrollBarsAlways() const { return FScrollBarsAlways; }
    void SetScrollBarsAlways(bool Value);
    bool ScrollPastEnd() const { return FScrollPastEnd; }
    void SetScrollPastEnd(bool Value);
    bool ShowBookmarks() const { return FShowBookmarks; }
    void SetShowBookmarks(bool Value);
    int TabSize() const { return FParas->TabSize(); }
    void SetTabSize(int Value);
    TTabType TabType() const { return FTabType; }
    void SetTabType(TTabType Value) { FTabType = Value; }
    Word UndoBufferSize() const { return FParas->UndoSize(); }
    void SetUndoBufferSize(Word Value) { FParas->SetUndoSize(Value); }
    bool WantEnter() const { return FWantEnter; }
    void SetWantEnter(bool Value) { FWantEnter = Value; }
    bool WantTab() const { return FWantTab; }
    void SetWantTab(bool Value) { FWantTab = Value; }
    bool WordWrap() const { return FParas->WordWrap(); }
    void SetWordWrap(bool Value);
    bool WrapAtLeft() const { return FWrapAtLeft; }
    void SetWrapAtLeft(bool Value);
    int WrapColumn() const { return FParas->WrapColumn(); }
    void SetWrapColumn(int Value);
    bool WrapToWindow() const { return FWrapToWindow; }
    void SetWrapToWindow(bool Value);
    int WheelDelta() const { return FWheelDelta; }
    void SetWheelDelta(int Value) { FWheelDelta = Value; }

    // Metrics (kept for the display).
    int CharWidth() const { return FCharWidth; }
    int LineHeight() const { return FLineHeight; }
    int VisibleColumns() const { return FVisibleCols; }
    int VisibleLines() const { return FVisibleLines; }

    TNotifyEvent OnChange;
    TEditorDrawLineEvent OnDrawLine;
    TEditorErrorEvent OnError;
    TShowStatusEvent OnShowStatus;
    TTopLineChangedEvent OnTopLineChanged;
    TEditorUserCommandEvent OnUserCommand;

    // The store's notifications (TOvcEditView).
    void ParaInserted(TOvcEditView* Sender, int Para, int Pos) override;
    void ParaDeleted(TOvcEditView* Sender, int Para) override;
    void TextInserted(TOvcEditView* Sender, int Para, int Pos, int Count) override;
    void TextDeleted(TOvcEditView* Sender, int Para, int Pos, int Count) override;
    void ParasJoined(TOvcEditView* Sender, int Para, int Pos) override;
    TOvcEditView* NextView() const override { return FNextView; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Paint() override;

    virtual void DoOnChange();
    // Code 0 is no error; else OnError, or EEditorError with the code's message.
    virtual void DoOnError(Word ErrorCode);
    virtual void DoOnShowStatus(int LineNum, int ColNum);
    virtual void DoOnTopLineChanged(int Line);
    virtual void DoOnUserCommand(Word Command);
    virtual void DoDrawLine(TCanvas* Canvas, const TRect& Rect, const std::string& S, int Line,
                            int HBLine, int HBCol, int HELine, int HECol, bool& WasDrawn);

    // A new empty store with this one's settings; the view leaves its ring first.
    void Clear();
    // Computes the metrics from the font and the client size.
    void ComputeMetrics();
    void Refresh();

    // The caret moves (ovceditcmd.cpp).
    void MoveCaretTo(int Line, int Pos, bool Extend, bool KeepRow);
    void MoveCaret(int LineDelta, int PosDelta, bool Extend, bool KeepRow);
    void CaretLeft(bool Extend);
    void CaretRight(bool Extend);
    void CaretWordLeft(bool Extend);
    void CaretWordRight(bool Extend);
    void CaretPage(int Direction, bool Extend);
    void CaretTopOrBottomOfPage(bool Bottom, bool Extend);
    // Scrolls by Delta lines without moving the caret.
    void ScrollLines(int Delta);

    // Display and scrolling (ovceddisplay.cpp).
    // Scrolls by DX columns and DY lines without moving the caret.
    void ScrollText(int DX, int DY);
    void UpdateScrollBars();
    // The vertical bar's unit in lines (above 1 for texts longer than its 16-bit positions).
    int VerticalScale() const { return FVScale; }
    // Repaints screen lines First .. Last of this view (Last may run past the text).
    void InvalidateLines(int First, int Last);
    // The selection as shown: line and display column of its ends; false when none shows.
    bool ShownSelection(int& HBLine, int& HBCol, int& HELine, int& HECol) const;
    void PaintMargin(TCanvas* C, const TRect& Clip, int FirstRow, int LastRow);
    void PaintRow(TCanvas* C, int Row, bool Enabled, bool HasSel, int HBLine, int HBCol, int HELine,
                  int HECol);
    void PaintBorders(TCanvas* C);
    void WMVScroll(TMessage& Message);
    void WMHScroll(TMessage& Message);
    void CMCtl3DChanged(TMessage& Message);
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

    // The mouse (ovcedmouse.cpp).
    // The screen line and the position in it under client point P.
    void PointToLinePos(TPoint P, int& Line, int& Pos);
    bool OverMargin(TPoint P) const;
    // Follows the mouse while the primary button is held; Margin: whole paragraphs.
    void TrackMouse(bool Margin);
    void MouseMovedTo(TPoint P, bool Extend, bool Margin);
    void SelectParagraphs(int FromPara, int ToPara);
    void WMLButtonDblClk(TMessage& Message);
    void WMSetCursor(TMessage& Message);

    // The edits behind the commands (ovceditcmd.cpp).
    bool DeleteSelection();
    void TypeChar(char Ch);
    void InsertSpaces(int Count);
    void DoTab();
    bool DoNewLine();
    void DoBackspace();
    void DoDelete();
    void DoDelBol();
    void DoDelEol();
    void DoDelLine();
    void DoDelWord();

    // Message handlers.
    void WMKeyDown(TMessage& Message);
    void WMSysKeyDown(TMessage& Message);
    void WMChar(TMessage& Message);
    void WMGetDlgCode(TMessage& Message);
    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void WMSize(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);
    void WMLButtonDown(TMessage& Message);
    void WMCopy(TMessage& Message);
    void WMCut(TMessage& Message);
    void WMPaste(TMessage& Message);
    void CMDialogChar(TMessage& Message);
    void OMShowStatus(TMessage& Message);
    TW_MESSAGE_MAP();

protected:
    bool Designing() const { return ComponentState().Contains(csDesigning); }
    bool Loading() const { return ComponentState().Contains(csLoading); }

    // The start of screen line Line as a paragraph position (Pos: offset + 1).
    TParaPos LineStart(int Line) const;
    // Whether the paragraph's text is valid UTF-8 (one column per character) as the store keeps it.
    bool ParaIsUtf8(int Para) const { return FParas->ParaNode(Para)->Utf8(); }
    // The length of screen line Line's text.
    int LineLen(int Line) const;
    // The caret as a paragraph position, clipped to just after its paragraph's text.
    TParaPos ClippedCaret() const;
    // Puts the caret on the screen line holding P (P.Pos may lie beyond the text).
    void SetCaretFromPara(TParaPos P);
    // Scrolls so the caret shows, places it and posts the status.
    void CaretMoved(bool KeepRow, int OldRow);
    void PlaceCaret();
    void SetTopLineInternal(int Line);
    // Repaints after an edit: the changed lines, or all when the line count changed.
    void TextChanged(int OldLineCount);
    void ReportAfterEdit(Word Error);
    bool IsCommandChangingText(Word Cmd) const;

    TOvcParaList* FParas = nullptr;
    TOvcCustomEditor* FNextView = this;

    TParaPos FCaret{1, 1};
    int FCaretLine = 1;
    TParaPos FAnchor{1, 1};
    int FTopLine = 1;
    TParaPos FTopPara{1, 1};
    int FLeftCol = 0;

    int FCharWidth = 8;
    int FLineHeight = 16;
    int FVisibleCols = 1;
    int FVisibleLines = 1;
    bool FRepaintPending = false;
    bool FScrollBarsPending = false;
    bool FIgnoreChar = false;
    bool FOverMargin = false;
    bool FCaptured = false;

    bool FAutoIndent = false;
    TBorderStyle FBorderStyle = bsSingle;
    std::unique_ptr<TOvcBorders> FBorders;
    std::unique_ptr<TOvcCaretPair> FCaretPair;
    std::unique_ptr<TOvcFixedFont> FFixedFont;
    bool FHideSelection = true;
    std::unique_ptr<TOvcColors> FHighlightColors;
    bool FInsertMode = true;
    int FLeftMargin = 15;
    int FRightMargin = 5;
    TColor FMarginColor = clWindow;
    bool FReadOnly = false;
    TScrollStyle FScrollBars = ssBoth;
    bool FScrollBarsAlways = false;
    bool FScrollPastEnd = false;
    bool FShowBookmarks = true;
    TTabType FTabType = ttReal;
    bool FWantEnter = true;
    bool FWantTab = false;
    bool FWrapAtLeft = true;
    bool FWrapToWindow = false;
    int FWheelDelta = 1;
    bool FFocused = false;
    int FVScale = 1;
    int FVThumbMax = 0;
    int FHScrollMax = 0;
    bool FInMetrics = false;
    // The paragraph a margin selection started from.
    int FMarginAnchor = 1;
    std::unique_ptr<TBitmap> FGlyphs;

private:
    // Leaves the ring of views; frees the store when no view is left.
    void LeaveRing();
    void AdjustPos(TParaPos& P, int Kind, int Para, int Pos, int Count) const;
    void AdjustAll(TOvcEditView* Sender, int Kind, int Para, int Pos, int Count);
};

class TOvcEditor : public TOvcCustomEditor {
public:
    explicit TOvcEditor(TComponent* AOwner) : TOvcCustomEditor(AOwner) {}
};

// The word delimiters of the editor.
bool IsEditorDelimiter(char C);
