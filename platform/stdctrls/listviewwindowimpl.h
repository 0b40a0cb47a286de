// platform/stdctrls/listviewwindowimpl.h: the state of one "SysListView32" window, shared by the
// files that handle its messages (listviewwindow.cpp), paint it (listviewwindowpaint.cpp) and
// take its keys and mouse (listviewwindowinput.cpp).
#pragma once

#include "platform/gfx/graphicsobjects.h"
#include "platform/stdctrls/listviewwindow.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TCanvas;

namespace listview {

struct TRow {
    std::string Text;
    std::vector<std::string> Sub; // sub-item 1 is Sub[0]
    int Image = -1;
    UINT State = 0; // LVIS_SELECTED and the state image; the focus is kept apart
    LPARAM Param = 0;
};

struct TColumn {
    int Width = 0;
    int Fmt = LVCFMT_LEFT;
    int SubItem = 0;
};

class TListViewWindow {
public:
    explicit TListViewWindow(HWND AWnd);

    LRESULT Handle(UINT Msg, WPARAM WParam, LPARAM LParam);
    void EditWndKey(HWND Edit, UINT Msg, WPARAM WParam);

    TColor Back = clWindow;
    TColor Fore = clWindowText;
    std::unique_ptr<TFont> Font;
    void FontChanged();

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLong(Wnd, GWL_STYLE)); }
    bool Has(DWORD Flag) const { return (Style() & Flag) != 0; }
    bool MultiSel() const { return !Has(LVS_SINGLESEL); }
    bool FullRow() const { return (ExStyle & LVS_EX_FULLROWSELECT) != 0; }
    int Count() const { return static_cast<int>(Rows.size()); }
    bool Valid(int Index) const { return Index >= 0 && Index < Count(); }
    bool Selected(int Index) const { return (Rows[Index].State & LVIS_SELECTED) != 0; }
    UINT StateOf(int Index) const;

    // Geometry (client coordinates).
    TRect Client() const;
    int HeaderBottom() const { return HeaderH; }
    int PerPage() const;
    int TotalWidth() const;
    int ColumnLeft(int Column) const; // before scrolling
    TRect RowRect(int Index) const;   // the whole row, scrolled
    TRect LabelRect(int Index) const; // the caption's part of column 0
    TRect SelectRect(int Index) const;
    int RowAt(int Y) const; // may be outside the items
    int HitTest(LVHITTESTINFO& Info) const;
    void Layout();
    void UpdateScrollBars();
    void SetTop(int Index);
    void SetScrollX(int X);
    void EnsureVisible(int Index, bool Partial);
    void InvalidateRow(int Index);

    // Items and columns.
    int InsertItem(const LVITEM& Item);
    bool SetItem(const LVITEM& Item);
    bool GetItem(LVITEM& Item) const;
    bool DeleteItem(int Index);
    void DeleteAll();
    int InsertColumn(int Index, const LVCOLUMN& Column);
    bool SetColumn(int Index, const LVCOLUMN& Column);
    bool GetColumn(int Index, LVCOLUMN& Column) const;
    void AutoSizeColumn(int Column);
    int NextItem(int Start, UINT Flags) const;

    // State changes, each told with LVN_ITEMCHANGING (which may refuse) and LVN_ITEMCHANGED.
    bool ChangeState(int Index, UINT State, UINT Mask);
    void SetFocusItem(int Index);
    void DeselectAllBut(int Keep);
    void SelectOnly(int Index);
    void SelectRange(int From, int To, bool Keep);
    LRESULT NotifyChange(UINT Code, int Index, UINT Old, UINT New, UINT Changed);

    // Input (listviewwindowinput.cpp).
    void KeyDown(WPARAM Key);
    void Char(unsigned char Byte);
    void ButtonDown(UINT Msg, WPARAM WParam, LPARAM LParam);
    void MouseMove(LPARAM LParam);
    void ButtonUp(LPARAM LParam);
    void UpdateMarquee(const TPoint& P);
    void HeaderNotify(const NMHDR& Header);
    LRESULT NotifyActivate(UINT Code, int Item, const TPoint& P);

    // Editing.
    HWND BeginEdit(int Index);
    void EndEdit(bool Commit);

    // Painting (listviewwindowpaint.cpp).
    void Paint(TCanvas* DC, const TRect& Clip);
    void PaintRow(TCanvas* DC, int Index, int Right);

    HWND Wnd;
    HWND Header = 0;
    int HeaderH = 0;
    int RowH = 16;
    std::vector<TRow> Rows;
    std::vector<TColumn> Columns;
    DWORD ExStyle = 0;
    TCustomImageList* SmallImages = nullptr;
    TCustomImageList* StateImages = nullptr;
    int Focus = -1;
    int Anchor = -1;
    int Top = 0;
    int ScrollX = 0;
    int SelCount = 0;
    int SelLo = 0; // every selected item lies within [SelLo, SelHi]
    int SelHi = -1;
    bool HasFocus = false;
    bool UpdatingBars = false;
    // The mouse.
    bool Pressing = false;
    bool Marquee = false;
    TPoint DragFrom; // content coordinates: x + ScrollX, y - header + Top * RowH
    TPoint DragTo;
    std::vector<int> MarqueeBase; // selected before a Ctrl drag began
    int MarqueeLo = 0, MarqueeHi = -1;
    int PressItem = -1;
    bool EditArmed = false; // a click on the focused, selected item: a second one edits
    // Type-ahead.
    std::string Typed;
    std::uint32_t TypedAt = 0;
    // Editing.
    HWND Edit = 0;
    int EditItem = -1;
};

// Private messages of the window.
enum : UINT {
    LVM_ENDEDITNOW = 0x1000 + 0x180, // WParam: the edit window; LParam: commit
};

constexpr std::uintptr_t EditTimer = 42;

} // namespace listview
