// platform/forms/menus.h: menus: TMenuItem (captions with "&" accelerators, separators, check
// marks and radio groups, shortcuts, sub-menus, columns, images, owner drawing), TMenu with its
// shortcut look-up, TMainMenu (the form's menu bar) and TPopupMenu (a modal pop-up window);
// the shortcut helpers and TrackPopupMenu for window procedures that answer WM_COMMAND.
#pragma once

#include "platform/forms/controltypes.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/imagelist.h"
#include "platform/rtl/component.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/geometry.h"
#include "platform/ui/messages.h"
#include "platform/ui/ownerdraw.h"

#include <functional>
#include <string>
#include <vector>

class TControl;
class TWinControl;
class TCustomForm;
class TMenu;

TW_DECLARE_EXCEPTION(EMenuError, Exception);

// A key with its shift keys in one word: the virtual key in the low byte.
using TShortCut = Word;
constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

TShortCut ShortCut(Word Key, TShiftState Shift);
void ShortCutToKey(TShortCut Value, Word& Key, TShiftState& Shift);
// "Ctrl+C", "Shift+Del", "F10", "Alt+X"; "" for scNone or a key without a name.
std::string ShortCutToText(TShortCut Value);
// The reverse, without regard to case; scNone when the text names no key.
TShortCut TextToShortCut(const std::string& Text);
// The shortcut of a key message (WM_KEYDOWN or WM_SYSKEYDOWN) with the shift keys down now.
TShortCut ShortCutFromMessage(const TWMKey& Message);

enum TMenuBreak { mbNone, mbBreak, mbBarBreak };
enum TPopupAlignment { paLeft, paRight, paCenter };
enum TFindItemKind { fkCommand, fkHandle, fkShortCut };
using TMenuMeasureItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;
using TMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, bool Selected)>;
using TAdvancedMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas,
                                                      const TRect& ARect, TOwnerDrawState State)>;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    // Leaves its parent and frees its sub-items.
    ~TMenuItem() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    bool Checked() const { return FChecked; }
    // Checking a radio item unchecks the radio items of its group under the same parent.
    void SetChecked(bool Value);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool Value);
    Byte GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Byte Value);
    bool Default() const { return FDefault; }
    // One default item per parent: setting it clears the others.
    void SetDefault(bool Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value) { FShortCut = Value; }
    TMenuBreak Break() const { return FBreak; }
    void SetBreak(TMenuBreak Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value) { FHint = Value; }
    // A "-" caption makes the item a separator line.
    bool IsLine() const { return FCaption == "-"; }

    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int Index) const;
    TMenuItem* Parent() const { return FParent; }
    int MenuIndex() const { return FParent != nullptr ? FParent->IndexOf(this) : -1; }
    int IndexOf(const TMenuItem* Item) const;
    // Add and Insert take an item from the parent it has; Delete and Remove give it back
    // unparented (its owner still frees it); Clear frees every sub-item.
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    void Delete(int Index);
    void Remove(TMenuItem* Item);
    void Clear();
    // The sub-item whose caption, without "&", is ACaption (case-insensitive), or null.
    TMenuItem* Find(const std::string& ACaption) const;

    // Unique among the items that exist: the id WM_COMMAND carries.
    UINT Command() const { return FCommand; }
    // The menu the item (or its root) belongs to, or null.
    TMenu* GetParentMenu() const;

    virtual void Click();
    // Owner drawing (the menu's OwnerDraw, or an item with a drawing event): the size the item
    // asks for, and its picture in a state.
    virtual void MeasureItem(TCanvas* ACanvas, int& Width, int& Height);
    virtual void AdvancedDrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State,
                                  bool TopLevel);
    bool IsOwnerDrawn() const;

    TNotifyEvent OnClick;
    TMenuMeasureItemEvent OnMeasureItem;
    TMenuDrawItemEvent OnDrawItem;
    TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;

private:
    friend class TMenu;
    void Changed();
    void TurnSiblingsOff();

    std::string FCaption;
    bool FChecked = false;
    bool FRadioItem = false;
    Byte FGroupIndex = 0;
    bool FDefault = false;
    bool FEnabled = true;
    bool FVisible = true;
    TShortCut FShortCut = scNone;
    TMenuBreak FBreak = mbNone;
    int FImageIndex = -1;
    std::string FHint;
    UINT FCommand = 0;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr; // set on a menu's root item
    std::vector<TMenuItem*> FItems;
};

// The item of a live command id (WM_COMMAND of TrackPopupMenu), or null.
TMenuItem* FindMenuItemByCommand(UINT Command);

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;

    TMenuItem* Items() const { return FItems; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool Value);

    // A key message (WM_KEYDOWN/WM_SYSKEYDOWN) that is the shortcut of an enabled, visible item
    // (whose parents are enabled and visible too) clicks that item: true.
    virtual bool IsShortCut(TWMKey& Message);
    TMenuItem* FindItem(UINT Value, TFindItemKind Kind) const;
    // Clicks the item with that command id: true when there is one.
    bool DispatchCommand(Word ACommand);
    // Told when an item, an image or the layout changed (the form repaints its bar).
    virtual void MenuChanged(TMenuItem* /*Item*/) {}

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TMenuItem* FItems = nullptr;
    TCustomImageList* FImages = nullptr;
    bool FOwnerDraw = false;
};

// The form's menu bar (TCustomForm::SetMenu). Its state while the keyboard or the mouse is in
// it: the hot item and whether its drop-down is open.
class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}

    // The form it is the menu of (set by the form), or null.
    TCustomForm* Form() const { return FForm; }
    int HotIndex() const { return FHotIndex; }
    bool DroppedDown() const { return FDropped; }
    // Shows Index hot (raised) or, DroppedDown, pressed; -1 for none (the bar's own loop and the
    // mouse tracking of the non-client area set it).
    void SetHotIndex(int Index, bool DroppedDown);
    void MenuChanged(TMenuItem* Item) override;

private:
    friend class TCustomForm;
    friend class TMenuLoop;
    TCustomForm* FForm = nullptr;
    int FHotIndex = -1; // index into Items()
    bool FDropped = false;
};

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool Value) { FAutoPopup = Value; }
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
    // The control the menu was last shown from (cleared when that control goes), or null.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* Value);
    // Where the last Popup showed the menu (screen coordinates).
    TPoint PopupPoint() const { return FPopupPoint; }

    // Runs OnPopup, shows the menu at X, Y (screen coordinates) and keeps it until it closes;
    // the chosen item's OnClick runs after it has closed.
    virtual void Popup(int X, int Y);

    TNotifyEvent OnPopup;

protected:
    virtual void DoPopup(TObject* Sender);
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool FAutoPopup = true;
    TPopupAlignment FAlignment = paLeft;
    TComponent* FPopupComponent = nullptr;
    TPoint FPopupPoint;
};

// The context menu of a control (WM_CONTEXTMENU after OnContextPopup): when the control has an
// AutoPopup menu, sets its PopupComponent and shows it at ScreenPos; (-1, -1), the keyboard's
// point, shows it at the control's top-left corner. True when a menu was shown.
bool ShowControlPopupMenu(TControl* Control, TPoint ScreenPos);

// ---- TrackPopupMenu: a menu for a window procedure

// TPM_ flags.
enum : UINT {
    TPM_LEFTBUTTON = 0x0000,
    TPM_RIGHTBUTTON = 0x0002,
    TPM_LEFTALIGN = 0x0000,
    TPM_CENTERALIGN = 0x0004,
    TPM_RIGHTALIGN = 0x0008,
    TPM_TOPALIGN = 0x0000,
    TPM_VCENTERALIGN = 0x0010,
    TPM_BOTTOMALIGN = 0x0020,
    TPM_NONOTIFY = 0x0080,
    TPM_RETURNCMD = 0x0100,
};

// A menu handle is the root item of a menu (TMenu::Items(), or a TMenuItem made for it).
using HMENU = TMenuItem*;
// Shows Menu's items at X, Y (screen coordinates) until it closes. The chosen item's command id
// (TMenuItem::Command) goes to Wnd as WM_COMMAND (low word of WParam, LParam 0) once the menu has
// closed; with TPM_RETURNCMD it is returned instead (0 when nothing was chosen). Owner-drawn items
// are measured and drawn through WM_MEASUREITEM and WM_DRAWITEM sent to Wnd. Without
// TPM_RETURNCMD: true when an item was chosen.
UINT TrackPopupMenu(HMENU Menu, UINT Flags, int X, int Y, int Reserved, HWND Wnd,
                    const TRect* NotUsed = nullptr);
UINT TrackPopupMenu(TPopupMenu* Menu, UINT Flags, int X, int Y, HWND Wnd);
// For a window procedure handed WM_MEASUREITEM or WM_DRAWITEM of a menu item (CtlType
// ODT_MENU): lets the item measure or draw itself. True when it was a menu item's.
bool DefMenuOwnerDraw(UINT Msg, LPARAM LParam);

// ---- the menu bar, for the form's non-client area

// The bar's item rectangles for a band Width wide starting at (0, 0): items wrap onto further
// rows; Height is the band's height (0 without visible items).
struct TMenuBarLayout {
    std::vector<TRect> ItemRects; // one per item of the menu (empty for hidden items)
    int Height = 0;
    // The index of the item under P, or -1.
    int ItemAtPos(TPoint P) const;
};
TMenuBarLayout LayoutMenuBar(const TMainMenu* Menu, TCanvas* Canvas, int Width);
TMenuBarLayout LayoutMenuBar(const TMainMenu* Menu, int Width); // on the screen's font
// Draws the bar at R (its layout from R's width) in its present state: the hot item raised, an
// open one sunken, disabled items embossed.
void DrawMenuBar(const TMainMenu* Menu, TCanvas* Canvas, const TRect& R);

// The form's bar: what its non-client area takes (the band's height above the client area for a
// window Width wide), draws (at R, window coordinates) and hit-tests.
int MenuBarHeight(const TCustomForm* Form, int Width);
void PaintMenuBar(const TCustomForm* Form, TCanvas* Canvas, const TRect& R);
// The bar in screen coordinates: the band just above the client area.
TRect MenuBarScreenRect(const TCustomForm* Form);
// The bar's keyboard and mouse loop on Form's menu: Item is the bar item to open first (-1: the
// first item, only selected). Runs until the bar is left; the chosen item's OnClick runs then.
void TrackMenuBar(TCustomForm* Form, int Item, bool DropDown);

// ---- the drop-down and pop-up windows' layout and drawing (also for tests)

struct TMenuPopupLayout {
    struct TEntry {
        TMenuItem* Item = nullptr;
        TRect Rect; // in the window's client area
    };
    std::vector<TEntry> Entries; // the visible items
    std::vector<int> BarBreaks;  // x of the bar between columns
    TSize Size;                  // of the window
    int ItemAtPos(TPoint P) const;
};
TMenuPopupLayout LayoutMenuPopup(TMenuItem* Parent, TCanvas* Canvas, HWND OwnerDraw);
void DrawMenuPopup(const TMenuPopupLayout& Layout, TMenuItem* Parent, TCanvas* Canvas, int Selected,
                   HWND OwnerDraw);
