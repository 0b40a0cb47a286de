#include "platform/stdctrls/listboxwindow.h"

#include "platform/gfx/canvas.h"
#include "platform/gfx/graphicsobjects.h"
#include "platform/gfx/rasterdevice.h"
#include "platform/gfx/textlayout.h"
#include "platform/rtl/clock.h"
#include "platform/rtl/strings.h"
#include "platform/stdctrls/controlclass.h"
#include "platform/stdctrls/controlpaint.h"
#include "platform/stdctrls/scrollrequest.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/ownerdraw.h"
#include "platform/ui/paint.h"
#include "platform/ui/queue.h"
#include "platform/ui/scrollbars.h"
#include "platform/ui/window.h"
#include "platform/ui/windowdc.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// Letters typed within this time search on from what was typed before.
constexpr std::uint32_t TypeAheadPause = 1000;

struct TListItem {
    std::string Text;
    WPARAM Data = 0;
    int Height = 0;
    bool Selected = false;
};

class TListBoxWindow {
public:
    explicit TListBoxWindow(HWND AWnd) : Font(std::make_unique<TFont>()), Wnd(AWnd) {}

    LRESULT Handle(UINT Msg, WPARAM WParam, LPARAM LParam);

    HWND Notify = 0;
    TColor Back = clWindow;
    TColor Fore = clWindowText;
    std::unique_ptr<TFont> Font;
    TListScrollState Scroll;

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLong(Wnd, GWL_STYLE)); }
    bool Has(DWORD Flag) const { return (Style() & Flag) != 0; }
    bool MultiSel() const { return Has(LBS_MULTIPLESEL | LBS_EXTENDEDSEL); }
    bool Extended() const { return Has(LBS_EXTENDEDSEL) && !Has(LBS_MULTIPLESEL); }
    bool OwnerDraw() const { return Has(LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE); }
    bool Variable() const { return Has(LBS_OWNERDRAWVARIABLE); }
    int Count() const { return static_cast<int>(Items.size()); }
    bool Valid(int Index) const { return Index >= 0 && Index < Count(); }
    HWND Target() const { return Notify != 0 ? Notify : GetParent(Wnd); }
    UINT CtlID() const
    {
        const LONG_PTR Id = GetWindowLong(Wnd, GWL_ID);
        return static_cast<UINT>(Id != 0 ? static_cast<HWND>(Id) : Wnd);
    }
    int ClientHeight() const
    {
        TRect R;
        GetClientRect(Wnd, R);
        return R.Height();
    }
    int ClientWidth() const
    {
        TRect R;
        GetClientRect(Wnd, R);
        return R.Width();
    }

    int FontHeight() const;
    int HeightOf(int Index) const { return Variable() ? Items[Index].Height : ItemHeight(); }
    int ItemHeight() const { return FixedHeight > 0 ? FixedHeight : FontHeight(); }
    TRect ItemRect(int Index) const;
    int ItemFromPoint(int X, int Y, bool& Outside) const;
    int RowsFrom(int First) const; // items wholly visible from First (at least 1)
    int MaxTop() const;
    void SetTop(int Index);
    void EnsureVisible(int Index);
    void UpdateScrollBars();
    void SetScrollX(int X);
    void Changed() { InvalidateRect(Wnd, nullptr, true); }

    int Insert(int Index, const char* Text, LPARAM LParam);
    int AddSorted(const char* Text, LPARAM LParam);
    void Measure(int Index);
    int Find(int After, const std::string& Text, bool Exact) const;
    void Notify_(UINT Code);
    void Reset();

    // Selection.
    bool Selected(int Index) const { return MultiSel() ? Items[Index].Selected : Index == Cur; }
    bool SetSelState(std::vector<bool> Wanted); // true when it changed
    std::vector<bool> SelState() const;
    bool SelectOnly(int Index);
    bool SelectRange(int From, int To, bool Keep);
    bool MoveCaretTo(int Index, bool Shift,
                     bool Ctrl); // key moves; true when the selection changed
    void ClickItem(int Index, bool Shift, bool Ctrl);
    void TrackTo(int Index);

    void KeyDown(WPARAM Key);
    void Char(unsigned char Byte);
    void Paint(HDC DC, const TRect& Clip);
    void DrawItem(HDC DC, int Index);
    void DrawTabbed(HDC DC, const TRect& R, const std::string& Text);

    HWND Wnd;
    std::vector<TListItem> Items;
    int Cur = -1;    // the selection of a single-selection list
    int Caret = -1;  // the focus item
    int Anchor = -1; // where Shift ranges start
    int Top = 0;
    int FixedHeight = 0;
    int HorizontalExtent = 0;
    int ScrollX = 0;           // pixels scrolled to the left (LB_SETHORIZONTALEXTENT)
    bool UpdatingBars = false; // showing a bar resizes the client area, which updates again
    std::vector<int> TabStops; // dialog units
    bool Focused = false;
    bool Tracking = false;
    std::vector<bool> TrackBase; // selection when an extended drag began
    std::string Typed;
    std::string PendingChar; // bytes of a UTF-8 character not yet complete
    std::uint32_t TypedAt = 0;
};

TWindowStates<TListBoxWindow>& Lists()
{
    static TWindowStates<TListBoxWindow> States;
    return States;
}

TListBoxWindow& ListOf(HWND Wnd)
{
    return Lists().Of(Wnd);
}

int Utf8Length(unsigned char Lead)
{
    if (Lead < 0xC0 || Lead > 0xF4)
        return 1;
    return Lead < 0xE0 ? 2 : Lead < 0xF0 ? 3 : 4;
}

// ---- measuring

int TListBoxWindow::FontHeight() const
{
    TRasterDevice Device(1, 1);
    TCanvas Canvas(&Device);
    Canvas.SetFont(Font.get());
    TTextMetric Metrics{};
    Canvas.GetTextMetrics(Metrics);
    return std::max(1, Metrics.tmHeight);
}

TRect TListBoxWindow::ItemRect(int Index) const
{
    int Y = 0;
    if (Index >= Top)
        for (int I = Top; I < Index; ++I)
            Y += HeightOf(I);
    else
        for (int I = Index; I < Top; ++I)
            Y -= HeightOf(I);
    const int Width = std::max(ClientWidth(), HorizontalExtent);
    return Rect(-ScrollX, Y, Width - ScrollX, Y + (Valid(Index) ? HeightOf(Index) : ItemHeight()));
}

int TListBoxWindow::ItemFromPoint(int X, int Y, bool& Outside) const
{
    Outside = X < 0 || X >= ClientWidth() || Y < 0 || Y >= ClientHeight();
    if (Count() == 0) {
        Outside = true;
        return 0;
    }
    if (Y < 0)
        return std::max(0, Top - 1);
    int Bottom = 0;
    for (int I = Top; I < Count(); ++I) {
        Bottom += HeightOf(I);
        if (Y < Bottom)
            return I;
    }
    Outside = true;
    return Count() - 1;
}

int TListBoxWindow::RowsFrom(int First) const
{
    int Rows = 0;
    int Y = 0;
    for (int I = std::max(0, First); I < Count(); ++I) {
        Y += HeightOf(I);
        if (Y > ClientHeight())
            break;
        ++Rows;
    }
    if (First + Rows >= Count() && !Variable()) // past the end: as many as fit
        Rows = std::max(Rows, ClientHeight() / ItemHeight());
    return std::max(1, Rows);
}

int TListBoxWindow::MaxTop() const
{
    int Y = 0;
    for (int I = Count() - 1; I >= 0; --I) {
        Y += HeightOf(I);
        if (Y > ClientHeight())
            return std::min(Count() - 1, I + 1);
    }
    return 0;
}

void TListBoxWindow::SetTop(int Index)
{
    const int NewTop = std::clamp(Index, 0, MaxTop());
    if (NewTop == Top)
        return;
    Top = NewTop;
    UpdateScrollBars();
    Changed();
}

void TListBoxWindow::EnsureVisible(int Index)
{
    if (!Valid(Index))
        return;
    if (Index < Top) {
        SetTop(Index);
        return;
    }
    int First = Top;
    while (First < Index && Index >= First + RowsFrom(First))
        ++First;
    SetTop(First);
}

// The vertical bar shows items (range the count, page the whole rows, position the top index),
// the horizontal one pixels of the horizontal extent. A bar that appears or goes changes the
// client area, and with it the page: the values are worked out again until they settle.
void TListBoxWindow::UpdateScrollBars()
{
    if (UpdatingBars)
        return;
    UpdatingBars = true;
    const UINT Keep = Has(LBS_DISABLENOSCROLL) ? UINT(SIF_DISABLENOSCROLL) : 0u;
    for (int Round = 0; Round < 3; ++Round) {
        const TRect Before = [this] {
            TRect R;
            GetClientRect(Wnd, R);
            return R;
        }();
        Top = std::clamp(Top, 0, MaxTop());
        Scroll.Min = 0;
        Scroll.Max = std::max(0, Count() - 1);
        Scroll.Page = RowsFrom(Top);
        Scroll.Pos = Top;
        TScrollInfo V;
        V.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | Keep;
        V.nMin = 0;
        V.nMax = Scroll.Max;
        V.nPage = static_cast<UINT>(Count() == 0 ? 0 : Scroll.Page);
        V.nPos = Top;
        SetScrollInfo(Wnd, SB_VERT, V, true);
        ScrollX = std::clamp(ScrollX, 0, std::max(0, HorizontalExtent - ClientWidth()));
        TScrollInfo H;
        H.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | Keep;
        H.nMin = 0;
        H.nMax = std::max(0, HorizontalExtent - 1);
        H.nPage = static_cast<UINT>(ClientWidth());
        H.nPos = ScrollX;
        SetScrollInfo(Wnd, SB_HORZ, H, true);
        TRect After;
        GetClientRect(Wnd, After);
        if (After == Before)
            break;
        Changed();
    }
    UpdatingBars = false;
}

void TListBoxWindow::SetScrollX(int X)
{
    const int NewX = std::clamp(X, 0, std::max(0, HorizontalExtent - ClientWidth()));
    if (NewX == ScrollX)
        return;
    ScrollX = NewX;
    UpdateScrollBars();
    Changed();
}

// ---- items

void TListBoxWindow::Measure(int Index)
{
    TMeasureItemStruct Measure{};
    Measure.CtlType = ODT_LISTBOX;
    Measure.CtlID = CtlID();
    Measure.itemID = static_cast<UINT>(Index);
    Measure.itemHeight = static_cast<UINT>(ItemHeight());
    Measure.itemWidth = static_cast<UINT>(ClientWidth());
    Measure.itemData = Items[Index].Data;
    SendMessage(Target(), WM_MEASUREITEM, Measure.CtlID, reinterpret_cast<LPARAM>(&Measure));
    Items[Index].Height = std::max(1, static_cast<int>(Measure.itemHeight));
}

int TListBoxWindow::Insert(int Index, const char* Text, LPARAM LParam)
{
    if (Index < 0 || Index > Count())
        Index = Count();
    TListItem Item;
    if (OwnerDraw() && !Has(LBS_HASSTRINGS))
        Item.Data = static_cast<WPARAM>(LParam);
    else if (Text != nullptr)
        Item.Text = Text;
    Items.insert(Items.begin() + Index, std::move(Item));
    if (Cur >= Index)
        ++Cur;
    if (Caret >= Index && MultiSel())
        ++Caret;
    else if (!MultiSel())
        Caret = Cur;
    if (Anchor >= Index)
        ++Anchor;
    if (Variable())
        Measure(Index);
    UpdateScrollBars();
    Changed();
    return Index;
}

int TListBoxWindow::AddSorted(const char* Text, LPARAM LParam)
{
    int Index = Count();
    if (Has(LBS_SORT) && (!OwnerDraw() || Has(LBS_HASSTRINGS))) {
        const std::string S = Text != nullptr ? Text : "";
        const auto After = std::upper_bound(Items.begin(), Items.end(), S,
                                            [](const std::string& A, const TListItem& B) {
                                                return AnsiCompareText(A, B.Text) < 0;
                                            });
        Index = static_cast<int>(After - Items.begin());
    }
    return Insert(Index, Text, LParam);
}

int TListBoxWindow::Find(int After, const std::string& Text, bool Exact) const
{
    const int N = Count();
    if (N == 0)
        return static_cast<int>(LB_ERR);
    const int Start = (After < 0 || After >= N) ? 0 : After + 1;
    const std::string Folded = AnsiLowerCase(Text);
    for (int Step = 0; Step < N; ++Step) {
        const int I = (Start + Step) % N;
        const std::string Item = AnsiLowerCase(Items[I].Text);
        if (Exact ? Item == Folded : Item.compare(0, Folded.size(), Folded) == 0)
            return I;
    }
    return static_cast<int>(LB_ERR);
}

void TListBoxWindow::Notify_(UINT Code)
{
    if (Has(LBS_NOTIFY))
        SendMessage(Target(), WM_COMMAND, MakeWParam(CtlID(), Code), static_cast<LPARAM>(Wnd));
}

void TListBoxWindow::Reset()
{
    Items.clear();
    Cur = Caret = Anchor = -1;
    Top = 0;
    UpdateScrollBars();
    Changed();
}

// ---- selection

std::vector<bool> TListBoxWindow::SelState() const
{
    std::vector<bool> State(Items.size());
    for (int I = 0; I < Count(); ++I)
        State[static_cast<std::size_t>(I)] = Selected(I);
    return State;
}

bool TListBoxWindow::SetSelState(std::vector<bool> Wanted)
{
    bool Change = false;
    for (int I = 0; I < Count(); ++I)
        if (Items[I].Selected != Wanted[static_cast<std::size_t>(I)]) {
            Items[I].Selected = Wanted[static_cast<std::size_t>(I)];
            Change = true;
        }
    if (Change)
        Changed();
    return Change;
}

bool TListBoxWindow::SelectOnly(int Index)
{
    if (!MultiSel()) {
        const bool Change = Cur != Index;
        Cur = Caret = Index;
        Changed();
        return Change;
    }
    std::vector<bool> Wanted(Items.size(), false);
    if (Valid(Index))
        Wanted[static_cast<std::size_t>(Index)] = true;
    Caret = Anchor = Index;
    Changed();
    return SetSelState(Wanted);
}

bool TListBoxWindow::SelectRange(int From, int To, bool Keep)
{
    std::vector<bool> Wanted = Keep ? TrackBase : std::vector<bool>(Items.size(), false);
    Wanted.resize(Items.size(), false);
    for (int I = std::min(From, To); I <= std::max(From, To); ++I)
        if (Valid(I))
            Wanted[static_cast<std::size_t>(I)] = true;
    return SetSelState(Wanted);
}

bool TListBoxWindow::MoveCaretTo(int Index, bool Shift, bool Ctrl)
{
    if (Count() == 0)
        return false;
    Index = std::clamp(Index, 0, Count() - 1);
    bool Change = false;
    if (!MultiSel()) {
        Change = SelectOnly(Index);
    } else if (Extended() && Shift) {
        if (!Valid(Anchor))
            Anchor = Valid(Caret) ? Caret : Index;
        TrackBase.assign(Items.size(), false);
        Change = SelectRange(Anchor, Index, Ctrl);
        Caret = Index;
    } else if (Extended() && !Ctrl) {
        Change = SelectOnly(Index);
    } else {
        Caret = Index; // multiple selection, or Ctrl in extended: the caret alone moves
    }
    EnsureVisible(Index);
    Changed();
    return Change;
}

void TListBoxWindow::ClickItem(int Index, bool Shift, bool Ctrl)
{
    TrackBase = SelState();
    bool Change = false;
    if (!MultiSel()) {
        Change = SelectOnly(Index);
    } else if (!Extended()) {
        Items[Index].Selected = !Items[Index].Selected;
        Caret = Anchor = Index;
        Change = true;
    } else if (Shift) {
        if (!Valid(Anchor))
            Anchor = Index;
        Change = SelectRange(Anchor, Index, Ctrl);
        Caret = Index;
    } else if (Ctrl) {
        Items[Index].Selected = !Items[Index].Selected;
        Caret = Anchor = Index;
        TrackBase = SelState();
        Change = true;
    } else {
        Change = SelectOnly(Index);
        TrackBase.assign(Items.size(), false);
    }
    EnsureVisible(Index);
    Changed();
    if (Change)
        Notify_(LBN_SELCHANGE);
}

void TListBoxWindow::TrackTo(int Index)
{
    if (!Valid(Index) || Index == Caret)
        return;
    bool Change = false;
    if (!MultiSel())
        Change = SelectOnly(Index);
    else if (Extended()) {
        Change = SelectRange(Anchor, Index, true);
        Caret = Index;
    }
    EnsureVisible(Index);
    Changed();
    if (Change)
        Notify_(LBN_SELCHANGE);
}

// ---- keys

void TListBoxWindow::KeyDown(WPARAM Key)
{
    if (Count() == 0)
        return;
    const bool Shift = GetKeyState(VK_SHIFT) < 0;
    const bool Ctrl = GetKeyState(VK_CONTROL) < 0;
    const int From = Valid(Caret) ? Caret : -1;
    const int Page = std::max(1, RowsFrom(Top) - 1);
    int To = From;
    switch (Key) {
    case VK_UP:
    case VK_LEFT:
        To = From < 0 ? 0 : From - 1;
        break;
    case VK_DOWN:
    case VK_RIGHT:
        To = From + 1;
        break;
    case VK_PRIOR:
        To = From < 0 ? 0 : From - Page;
        break;
    case VK_NEXT:
        To = std::max(From, 0) + Page;
        break;
    case VK_HOME:
        To = 0;
        break;
    case VK_END:
        To = Count() - 1;
        break;
    case VK_SPACE:
        if (MultiSel() && Valid(Caret)) {
            if (!Extended() || Ctrl)
                Items[Caret].Selected = !Items[Caret].Selected;
            else
                SelectOnly(Caret);
            Anchor = Caret;
            Changed();
            Notify_(LBN_SELCHANGE);
        }
        return;
    default:
        return;
    }
    if (MoveCaretTo(To, Shift, Ctrl))
        Notify_(LBN_SELCHANGE);
}

// First-letter type-ahead: letters typed in a row look for an item that starts with them; a
// letter on its own, or the same letter again, steps to the next item with that letter.
void TListBoxWindow::Char(unsigned char Byte)
{
    if (Byte < 0x20 || (OwnerDraw() && !Has(LBS_HASSTRINGS)))
        return;
    if (PendingChar.empty() && Byte >= 0x80 && Byte < 0xC0)
        return; // a stray continuation byte
    PendingChar += static_cast<char>(Byte);
    if (static_cast<int>(PendingChar.size()) <
        Utf8Length(static_cast<unsigned char>(PendingChar[0])))
        return;
    const std::string Letter = PendingChar;
    PendingChar.clear();
    const std::uint32_t Now = GetTickCount();
    if (Now - TypedAt > TypeAheadPause)
        Typed.clear();
    TypedAt = Now;
    // A first letter (or the same letter again) looks after the caret; more letters extend the
    // prefix, which may still fit the caret's item.
    const bool Fresh = Typed.empty() || AnsiLowerCase(Typed) == AnsiLowerCase(Letter);
    if (Fresh)
        Typed = Letter;
    else
        Typed += Letter;
    const int After = Fresh ? Caret : Caret - 1;
    const int Found = Find(After < 0 ? -1 : After, Typed, false);
    if (Found == static_cast<int>(LB_ERR))
        return;
    if (MoveCaretTo(Found, false, false) || MultiSel())
        Notify_(LBN_SELCHANGE);
}

// ---- drawing

void TListBoxWindow::DrawTabbed(HDC DC, const TRect& R, const std::string& Text)
{
    if (!Has(LBS_USETABSTOPS) || Text.find('\t') == std::string::npos) {
        DC->TextRect(R, R.Left + 2, R.Top, Text);
        return;
    }
    TTextMetric Metrics{};
    DC->GetTextMetrics(Metrics);
    const int BaseUnit = std::max(1, static_cast<int>(Metrics.tmAveCharWidth));
    auto StopX = [&](int X) {
        // The next stop after X: the listed stops, then every last interval (default 32).
        int Previous = 0;
        for (const int Stop : TabStops) {
            const int At = Stop * BaseUnit / 4;
            if (At > X)
                return At;
            Previous = At;
        }
        int Interval = TabStops.size() == 1 ? TabStops[0] * BaseUnit / 4 : 32 * BaseUnit / 4;
        if (TabStops.size() > 1)
            Interval = std::max(1, Previous - TabStops[TabStops.size() - 2] * BaseUnit / 4);
        Interval = std::max(1, Interval);
        return (X / Interval + 1) * Interval;
    };
    int X = 0;
    std::size_t Start = 0;
    while (true) {
        const std::size_t Tab = Text.find('\t', Start);
        const std::string Piece = Text.substr(Start, Tab == std::string::npos ? Tab : Tab - Start);
        // Each piece clips from its own start, so that it leaves the earlier ones alone.
        DC->TextRect(Rect(R.Left + 2 + X, R.Top, R.Right, R.Bottom), R.Left + 2 + X, R.Top, Piece);
        if (Tab == std::string::npos)
            break;
        X = StopX(X + DC->TextWidth(Piece));
        Start = Tab + 1;
    }
}

void TListBoxWindow::DrawItem(HDC DC, int Index)
{
    const TRect R = ItemRect(Index);
    const bool Enabled = IsWindowEnabled(Wnd);
    const bool Sel = Selected(Index);
    const bool Focus = Focused && Index == Caret;
    if (OwnerDraw()) {
        TDrawItemStruct Draw{};
        Draw.CtlType = ODT_LISTBOX;
        Draw.CtlID = CtlID();
        Draw.itemID = static_cast<UINT>(Index);
        Draw.itemAction = ODA_DRAWENTIRE;
        Draw.itemState = (Sel ? UINT(ODS_SELECTED) : 0u) | (Focus ? UINT(ODS_FOCUS) : 0u) |
                         (Enabled ? 0u : UINT(ODS_DISABLED));
        Draw.hwndItem = Wnd;
        Draw.hDC = DC;
        Draw.rcItem = R;
        Draw.itemData = Items[Index].Data;
        SendMessage(Target(), WM_DRAWITEM, Draw.CtlID, reinterpret_cast<LPARAM>(&Draw));
        return;
    }
    DC->Brush()->SetStyle(bsSolid);
    DC->Brush()->SetColor(Sel && Enabled ? clHighlight : Back);
    DC->Font()->SetColor(!Enabled ? clGrayText : Sel ? clHighlightText : Fore);
    DC->FillRect(R);
    DrawTabbed(DC, R, Items[Index].Text);
    if (Focus)
        DC->DrawFocusRect(R);
}

void TListBoxWindow::Paint(HDC DC, const TRect& Clip)
{
    DC->SetFont(Font.get());
    DC->Brush()->SetStyle(bsSolid);
    DC->Brush()->SetColor(Back);
    DC->FillRect(Clip);
    int Y = 0;
    for (int I = Top; I < Count() && Y < ClientHeight(); ++I) {
        DrawItem(DC, I);
        Y += HeightOf(I);
        DC->SetFont(Font.get());
    }
    if (Count() == 0 && Focused) // an empty list shows where its first item would be
        DC->DrawFocusRect(Rect(0, 0, ClientWidth(), ItemHeight()));
}

// ---- the procedure

LRESULT TListBoxWindow::Handle(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    const int Index = static_cast<int>(static_cast<LPARAM>(WParam));
    switch (Msg) {
    case WM_CREATE:
        if (Has(LBS_OWNERDRAWFIXED) && !Variable()) {
            Items.emplace_back(); // a stand-in for item 0 while the parent measures
            Measure(0);
            FixedHeight = Items[0].Height;
            Items.clear();
        }
        UpdateScrollBars();
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_PAINT:
        return HandlePaint(Wnd, WParam, [this](HDC DC) {
            TRect R;
            GetClientRect(Wnd, R);
            Paint(DC, R);
        });
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        SetTop(Top);
        UpdateScrollBars();
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Focused = Msg == WM_SETFOCUS;
        if (!MultiSel())
            Caret = Cur;
        Changed();
        Notify_(Focused ? LBN_SETFOCUS : LBN_KILLFOCUS);
        return 0;
    case WM_ENABLE:
        Changed();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
        KeyDown(WParam);
        return 0;
    case WM_CHAR:
        Char(static_cast<unsigned char>(WParam & 0xFF));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (Notify == 0 && GetFocus() != Wnd) // a combo box's list leaves the focus with the combo
            SetFocus(Wnd);
        bool Outside = false;
        const int Item = ItemFromPoint(GetXLParam(LParam), GetYLParam(LParam), Outside);
        if (Outside || Count() == 0)
            return 0;
        ClickItem(Item, (WParam & MK_SHIFT) != 0, (WParam & MK_CONTROL) != 0);
        Tracking = true;
        SetCapture(Wnd);
        if (Msg == WM_LBUTTONDBLCLK)
            Notify_(LBN_DBLCLK);
        return 0;
    }
    case WM_MOUSEMOVE: {
        if (!Tracking)
            return 0;
        bool Outside = false;
        const int Item = ItemFromPoint(GetXLParam(LParam), GetYLParam(LParam), Outside);
        if (!MultiSel() || Extended())
            TrackTo(Item);
        return 0;
    }
    case WM_LBUTTONUP:
        if (Tracking) {
            Tracking = false;
            if (GetCapture() == Wnd)
                ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        Tracking = false;
        return 0;
    case WM_MOUSEWHEEL: {
        const int Notches = static_cast<short>(HiWord(WParam)) / WHEEL_DELTA;
        SetTop(Top - Notches * 3);
        return 0;
    }
    case WM_VSCROLL:
        if (const auto To =
                ScrollRequestPos(LoWord(WParam), Top, {1, std::max(1, RowsFrom(Top) - 1), Count()},
                                 static_cast<int>(HiWord(WParam))))
            SetTop(*To);
        return 0;
    case WM_HSCROLL:
        if (const auto To =
                ScrollRequestPos(LoWord(WParam), ScrollX,
                                 {std::max(1, ClientWidth() / 10), ClientWidth(), HorizontalExtent},
                                 static_cast<int>(HiWord(WParam))))
            SetScrollX(*To);
        return 0;

    case LB_ADDSTRING:
        return AddSorted(reinterpret_cast<const char*>(LParam), LParam);
    case LB_INSERTSTRING:
        return Insert(Index, reinterpret_cast<const char*>(LParam), LParam);
    case LB_DELETESTRING: {
        if (!Valid(Index))
            return LB_ERR;
        Items.erase(Items.begin() + Index);
        for (int* Mark : {&Cur, &Caret, &Anchor})
            if (*Mark == Index)
                *Mark = -1;
            else if (*Mark > Index)
                --*Mark;
        SetTop(Top);
        UpdateScrollBars();
        Changed();
        return Count();
    }
    case LB_RESETCONTENT:
        Reset();
        return 0;
    case LB_GETCOUNT:
        return Count();
    case LB_GETTEXTLEN:
        return Valid(Index) ? static_cast<LRESULT>(Items[Index].Text.size()) : LB_ERR;
    case LB_GETTEXT:
        if (!Valid(Index))
            return LB_ERR;
        if (OwnerDraw() && !Has(LBS_HASSTRINGS)) {
            *reinterpret_cast<WPARAM*>(LParam) = Items[Index].Data;
            return sizeof(WPARAM);
        }
        std::memcpy(reinterpret_cast<char*>(LParam), Items[Index].Text.c_str(),
                    Items[Index].Text.size() + 1);
        return static_cast<LRESULT>(Items[Index].Text.size());
    case LB_SETCURSEL:
        if (MultiSel())
            return LB_ERR;
        Cur = Caret = Valid(Index) ? Index : -1;
        EnsureVisible(Cur);
        Changed();
        return Valid(Index) ? Index : LB_ERR;
    case LB_GETCURSEL:
        if (MultiSel())
            return Valid(Caret) ? Caret : LB_ERR;
        return Valid(Cur) ? Cur : LB_ERR;
    case LB_SETSEL: {
        if (!MultiSel())
            return LB_ERR;
        const int Item = static_cast<int>(LParam);
        if (Item == -1)
            for (auto& It : Items)
                It.Selected = WParam != 0;
        else if (Valid(Item))
            Items[Item].Selected = WParam != 0;
        else
            return LB_ERR;
        if (Valid(Item) && WParam != 0)
            Caret = Anchor = Item;
        Changed();
        return 0;
    }
    case LB_GETSEL:
        return Valid(Index) ? (Selected(Index) ? 1 : 0) : LB_ERR;
    case LB_GETSELCOUNT: {
        if (!MultiSel())
            return LB_ERR;
        return std::count_if(Items.begin(), Items.end(),
                             [](const TListItem& It) { return It.Selected; });
    }
    case LB_GETSELITEMS: {
        if (!MultiSel())
            return LB_ERR;
        auto* Out = reinterpret_cast<int*>(LParam);
        int N = 0;
        for (int I = 0; I < Count() && N < static_cast<int>(WParam); ++I)
            if (Items[I].Selected)
                Out[N++] = I;
        return N;
    }
    case LB_SELECTSTRING: {
        if (MultiSel())
            return LB_ERR;
        const int Found = Find(Index, reinterpret_cast<const char*>(LParam), false);
        if (Found != static_cast<int>(LB_ERR)) {
            Cur = Caret = Found;
            EnsureVisible(Found);
            Changed();
        }
        return Found;
    }
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
        return Find(Index, LParam != 0 ? reinterpret_cast<const char*>(LParam) : "",
                    Msg == LB_FINDSTRINGEXACT);
    case LB_SETTOPINDEX:
        if (!Valid(Index) && Index != 0)
            return LB_ERR;
        SetTop(Index);
        return 0;
    case LB_GETTOPINDEX:
        return Top;
    case LB_GETITEMRECT:
        if (!Valid(Index) && !(Index == 0 && Count() == 0))
            return LB_ERR;
        *reinterpret_cast<TRect*>(LParam) = ItemRect(Index);
        return 1;
    case LB_ITEMFROMPOINT: {
        bool Outside = false;
        const int Item = ItemFromPoint(GetXLParam(LParam), GetYLParam(LParam), Outside);
        return static_cast<LRESULT>(MakeLParam(Item, Outside ? 1 : 0)) & 0xFFFFFFFF;
    }
    case LB_SETITEMHEIGHT: {
        const int Height = std::clamp(static_cast<int>(LParam & 0xFFFF), 1, 255);
        if (Variable()) {
            if (!Valid(Index))
                return LB_ERR;
            Items[Index].Height = Height;
        } else {
            FixedHeight = Height;
        }
        SetTop(Top);
        UpdateScrollBars();
        Changed();
        return 0;
    }
    case LB_GETITEMHEIGHT:
        if (Variable())
            return Valid(Index) ? Items[Index].Height : LB_ERR;
        return ItemHeight();
    case LB_SETITEMDATA:
        if (!Valid(Index))
            return LB_ERR;
        Items[Index].Data = static_cast<WPARAM>(LParam);
        return 0;
    case LB_GETITEMDATA:
        return Valid(Index) ? static_cast<LRESULT>(Items[Index].Data) : LB_ERR;
    case LB_SETTABSTOPS: {
        TabStops.clear();
        const auto* Stops = reinterpret_cast<const int*>(LParam);
        for (int I = 0; I < static_cast<int>(WParam) && Stops != nullptr; ++I)
            TabStops.push_back(Stops[I]);
        Changed();
        return 1;
    }
    case LB_SETHORIZONTALEXTENT:
        HorizontalExtent = std::max(0, static_cast<int>(WParam));
        UpdateScrollBars();
        Changed();
        return 0;
    case LB_GETHORIZONTALEXTENT:
        return HorizontalExtent;
    case LB_SETCARETINDEX:
        if (!Valid(Index))
            return LB_ERR;
        if (!MultiSel())
            Cur = Index;
        Caret = Index;
        EnsureVisible(Index);
        Changed();
        return 0;
    case LB_GETCARETINDEX:
        return MultiSel() ? (Valid(Caret) ? Caret : 0) : (Valid(Cur) ? Cur : 0);
    case LB_SETANCHORINDEX:
        if (!Valid(Index))
            return LB_ERR;
        Anchor = Index;
        return 0;
    case LB_GETANCHORINDEX:
        return Anchor;
    default:
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
}

} // namespace

void RegisterListBoxClass()
{
    RegisterControlClass(ListBoxClassName, CS_DBLCLKS, ListBoxWndProc);
}

LRESULT ListBoxWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return Lists().Handle(Wnd, Msg, WParam, LParam);
}

void SetListBoxNotifyWindow(HWND List, HWND Target)
{
    ListOf(List).Notify = Target;
}

void SetListBoxColors(HWND List, TColor Back, TColor Text)
{
    TListBoxWindow& L = ListOf(List);
    L.Back = Back;
    L.Fore = Text;
    InvalidateRect(List, nullptr, true);
}

void SetListBoxFont(HWND List, const TFont* Font)
{
    ListOf(List).Font->Assign(Font);
    InvalidateRect(List, nullptr, true);
}

TListScrollState ListBoxScrollState(HWND List)
{
    const TListBoxWindow* L = Lists().Find(List);
    return L != nullptr ? L->Scroll : TListScrollState{};
}
