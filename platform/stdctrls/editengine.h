// platform/stdctrls/editengine.h: TEditEngine, the state and behaviour of one "EDIT" window:
// text, selection, single-level undo, layout and scrolling, painting, keys and mouse.
#pragma once

#include "platform/forms/messagemap.h"
#include "platform/gfx/canvas.h"
#include "platform/rtl/object.h"
#include "platform/stdctrls/edittext.h"
#include "platform/ui/window.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class TFont;

class TEditEngine : public TObject {
public:
    explicit TEditEngine(HWND Wnd);
    ~TEditEngine() override;
    TEditEngine(const TEditEngine&) = delete;
    TEditEngine& operator=(const TEditEngine&) = delete;

    // The window's procedure: a handler of the table, else DefWindowProc.
    LRESULT WndProc(UINT Msg, WPARAM WParam, LPARAM LParam);
    static const TMessageMap& ClassMessageMap();

private:
    // One undoable change: the bytes [Pos, Pos + InsertedLen) replaced Removed.
    struct TUndo {
        std::size_t Pos = 0;
        std::size_t InsertedLen = 0;
        std::string Removed;
        enum TKind { ukOther, ukTyping, ukBackspace, ukDelete } Kind = ukOther;
    };

    // ---- text and selection (editengine.cpp)
    DWORD Style() const;
    bool MultiLine() const;
    bool ReadOnly() const;
    std::size_t SelMin() const { return std::min(FAnchor, FCaret); }
    std::size_t SelMax() const { return std::max(FAnchor, FCaret); }
    std::string CaseConverted(const std::string& S) const;
    // Replaces [From, To) with Insert, cut to the limit at a character boundary when Limited;
    // false when nothing changed. The caret lands after the insert.
    bool Replace(std::size_t From, std::size_t To, std::string Insert, bool Limited,
                 TUndo::TKind Kind, bool KeepUndo);
    void SetSelection(std::size_t Anchor, std::size_t Caret);
    std::size_t Snap(std::size_t Pos) const;
    void Notify(UINT Code);
    void TextChanged();
    void Undo();
    void CopySelection();
    void PasteText();
    void ClearSelection(TUndo::TKind Kind);

    // ---- layout, scrolling and painting (editenginepaint.cpp)
    const std::vector<EditText::TLine>& Lines();
    TRect FormatRect();
    int LineHeight();
    int CharWidth(const std::string& S, std::size_t I, std::size_t Len, int X);
    std::string DisplayChar(const std::string& S, std::size_t I, std::size_t Len) const;
    int XInLine(const EditText::TLine& Line, std::size_t Pos);
    std::size_t PosInLine(const EditText::TLine& Line, int X);
    int AlignOffset(const EditText::TLine& Line);
    TPoint PosToClient(std::size_t Pos);
    std::size_t ClientToPos(int X, int Y);
    int VisibleLines();
    void ScrollCaret();
    void ScrollLines(int Delta);
    void UpdateCaret();
    void Repaint();
    void Paint(TCanvas* Canvas);
    // The scroll bars' range, page and position from the line count, top line and horizontal
    // offset.
    void UpdateScrollBars();
    void FontChanged();

    // ---- keys and mouse (editengineinput.cpp)
    void MoveCaret(std::size_t Pos, bool Extend);
    void VerticalMove(int Lines, bool Extend);
    void TypeChar(unsigned char Byte);
    void FlushPending();
    void InsertTyped(const std::string& Chars);

    // ---- messages
    void WMNCCreate(TMessage& Message);
    void WMNCDestroy(TMessage& Message);
    void WMSetText(TMessage& Message);
    void WMGetText(TMessage& Message);
    void WMGetTextLength(TMessage& Message);
    void WMSetFont(TMessage& Message);
    void WMGetFont(TMessage& Message);
    void WMPaint(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);
    void WMSize(TMessage& Message);
    void WMEnable(TMessage& Message);
    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void WMGetDlgCode(TMessage& Message);
    void WMKeyDown(TMessage& Message);
    void WMChar(TMessage& Message);
    void WMLButtonDown(TMessage& Message);
    void WMLButtonDblClk(TMessage& Message);
    void WMMouseMove(TMessage& Message);
    void WMLButtonUp(TMessage& Message);
    void WMCaptureChanged(TMessage& Message);
    void WMVScroll(TMessage& Message);
    void WMHScroll(TMessage& Message);
    void WMCut(TMessage& Message);
    void WMCopy(TMessage& Message);
    void WMPaste(TMessage& Message);
    void WMClear(TMessage& Message);
    void WMUndo(TMessage& Message);
    void WMContextMenu(TMessage& Message); // editcontextmenu.cpp
    void EMGetSel(TMessage& Message);
    void EMSetSel(TMessage& Message);
    void EMGetRect(TMessage& Message);
    void EMSetRect(TMessage& Message);
    void EMSetRectNP(TMessage& Message);
    void EMLineScroll(TMessage& Message);
    void EMGetFirstVisibleLine(TMessage& Message);
    void EMScrollCaret(TMessage& Message);
    void EMGetModify(TMessage& Message);
    void EMSetModify(TMessage& Message);
    void EMGetLineCount(TMessage& Message);
    void EMLineIndex(TMessage& Message);
    void EMLineLength(TMessage& Message);
    void EMReplaceSel(TMessage& Message);
    void EMGetLine(TMessage& Message);
    void EMLimitText(TMessage& Message);
    void EMCanUndo(TMessage& Message);
    void EMUndo(TMessage& Message);
    void EMLineFromChar(TMessage& Message);
    void EMEmptyUndoBuffer(TMessage& Message);
    void EMSetPasswordChar(TMessage& Message);
    void EMGetPasswordChar(TMessage& Message);
    void EMSetReadOnly(TMessage& Message);
    void EMSetMargins(TMessage& Message);
    void EMGetMargins(TMessage& Message);
    void EMPosFromChar(TMessage& Message);
    void EMCharFromPos(TMessage& Message);

    HWND FWnd;
    std::string FText;
    std::size_t FAnchor = 0;
    std::size_t FCaret = 0;
    std::size_t FLimit;
    bool FModified = false;
    bool FCanUndo = false;
    TUndo FUndo;
    char32_t FPasswordChar = 0;
    std::string FPending; // the bytes of a character being typed
    std::unique_ptr<TFont> FFont;
    TCanvas FMeasure; // no device: measures at the screen's resolution
    std::unordered_map<std::uint32_t, int> FWidths;
    int FAveCharWidth = 0;
    int FLineHeight = 0;
    std::vector<EditText::TLine> FLines;
    bool FLayoutValid = false;
    int FLayoutWidth = -1;
    TRect FRect; // the formatting rectangle when set by EM_SETRECT
    bool FRectSet = false;
    int FLeftMargin = 1;
    int FRightMargin = 1;
    int FTopLine = 0;
    int FScrollX = 0;
    bool FFocused = false;
    bool FSelecting = false;
    bool FSelectingWords = false; // a drag after a double click extends by words
    std::size_t FWordStart = 0;   // the double-clicked word
    std::size_t FWordEnd = 0;
    int FGoalX = -1; // the x Up and Down keep to
};
