// platform/forms/menudraw.h: what the menu sources share: the canvas items are measured on, the
// classic look of one item, and the modal loop of open menus.
#pragma once

#include "platform/forms/menus.h"

#include <memory>
#include <vector>

// A canvas on a 1 x 1 picture with the default font: text is measured on it.
TCanvas& MenuMeasureCanvas();
// The classic look of Item at R (the drawing of items without owner drawing, and of owner-drawn
// items whose events are not set).
void DrawMenuItemLook(TMenuItem* Item, TCanvas* Canvas, const TRect& R, TOwnerDrawState State);

// Runs Root's items as a modal pop-up at At (screen coordinates); the chosen item, or null.
// OwnerDraw: the window that measures and draws owner-drawn items (0: a window of its own that
// lets the items do it).
TMenuItem* RunPopupMenu(TMenuItem* Root, TPoint At, TPopupAlignment Alignment, HWND OwnerDraw,
                        HWND Owner);

// The keyboard and mouse loop of an open menu: pop-up windows, one per open level, and the
// form's bar when it runs for the bar. Runs until an item is chosen or the menu is left; the
// windows are gone when Run returns.
class TMenuLoop {
public:
    // OwnerDraw: the window that measures and draws owner-drawn items (0: the items do it);
    // Owner: the window the pop-ups belong to.
    TMenuLoop(HWND OwnerDraw, HWND Owner);
    ~TMenuLoop();
    TMenuLoop(const TMenuLoop&) = delete;
    TMenuLoop& operator=(const TMenuLoop&) = delete;

    // The item chosen, or null.
    TMenuItem* RunPopup(TMenuItem* Root, TPoint At, TPopupAlignment Alignment);
    TMenuItem* RunBar(TMainMenu* Menu, TCustomForm* Form, int Item, bool DropDown);

    // The loop that runs now (menus do not nest), or null.
    static TMenuLoop* Current();
    // Leaves the menu without a choice (WM_CANCELMODE, the form moving or losing the focus).
    void Cancel() { FDone = true; }

private:
    struct TLevel {
        TMenuItem* Parent = nullptr;
        HWND Wnd = 0;
        TMenuPopupLayout Layout;
        int Selected = -1;
        TRect Bounds; // screen
    };

    void Run();
    void OpenLevel(TMenuItem* Parent, TRect Bounds, bool SelectFirst);
    // Opens the sub-menu of the selected entry of the top level, right of it (left without
    // room).
    void OpenSubMenu(bool SelectFirst);
    void CloseLevels(std::size_t Keep);
    void Select(TLevel& Level, int Index);
    void Choose(TMenuItem* Item);
    void HandleKey(const TMsg& Msg);
    void HandleChar(const TMsg& Msg);
    void HandleMouse(const TMsg& Msg);
    int NextSelectable(const TLevel& Level, int From, int Step) const;
    LRESULT LevelProc(TLevel* Level, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
    // The bar.
    bool HasBar() const { return FBar != nullptr; }
    TRect BarItemScreenRect(int Index) const;
    void SetBarHot(int Index, bool DropDown);
    int NextBarItem(int From, int Step) const;
    void InvalidateBar();

    HWND FOwnerDraw = 0;
    HWND FOwner = 0;
    std::vector<std::unique_ptr<TLevel>> FLevels;
    TMenuItem* FChosen = nullptr;
    bool FDone = false;
    TMainMenu* FBar = nullptr;
    TCustomForm* FForm = nullptr;
    TMenuLoop* FOuter = nullptr;
};
