// The modal loop of open menus: it takes the keys and the mouse while pop-ups or the bar are
// open, hands every other message on, and waits in the loop's wait when nothing is queued.
#include "platform/forms/form.h"
#include "platform/forms/menudraw.h"
#include "platform/ui/application.h"
#include "platform/ui/input.h"
#include "platform/ui/queue.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/wait.h"
#include "platform/ui/window.h"
#include "platform/ui/windowdc.h"

#include <algorithm>

namespace {

const char* const MenuWindowClass = "#32768";

void RegisterMenuWindowClass()
{
    TWndClass Class;
    if (!GetClassInfo(MenuWindowClass, Class)) {
        Class.ClassName = MenuWindowClass;
        RegisterClass(Class);
    }
}

TMenuLoop* Running = nullptr;

bool Selectable(const TMenuItem* Item)
{
    return Item->Enabled() && !Item->IsLine();
}

bool IsKeyDown(UINT Msg)
{
    return Msg == WM_KEYDOWN || Msg == WM_SYSKEYDOWN;
}

bool IsButtonDown(UINT Msg)
{
    return Msg == WM_LBUTTONDOWN || Msg == WM_RBUTTONDOWN || Msg == WM_MBUTTONDOWN ||
           Msg == WM_LBUTTONDBLCLK || Msg == WM_RBUTTONDBLCLK || Msg == WM_MBUTTONDBLCLK;
}

// Over the bar (no drop-down holding the mouse) the clicks come as the form's WM_NC twins.
bool IsNonClientMouse(UINT Msg)
{
    return Msg >= WM_NCMOUSEMOVE && Msg <= WM_NCMBUTTONDBLCLK;
}

TRect ScreenRect()
{
    return Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

} // namespace

TMenuLoop* TMenuLoop::Current()
{
    return Running;
}

TMenuLoop::TMenuLoop(HWND OwnerDraw, HWND Owner) : FOwnerDraw(OwnerDraw), FOwner(Owner)
{
    RegisterMenuWindowClass();
}

TMenuLoop::~TMenuLoop()
{
    CloseLevels(0);
}

TMenuItem* TMenuLoop::RunPopup(TMenuItem* Root, TPoint At, TPopupAlignment Alignment)
{
    const TMenuPopupLayout Layout = LayoutMenuPopup(Root, &MenuMeasureCanvas(), FOwnerDraw);
    if (Layout.Entries.empty())
        return nullptr;
    const TSize Size = Layout.Size;
    const TRect Screen = ScreenRect();
    int X = Alignment == paRight    ? At.X - Size.cx
            : Alignment == paCenter ? At.X - Size.cx / 2
                                    : At.X;
    int Y = At.Y;
    if (X + Size.cx > Screen.Right)
        X = Alignment == paLeft && At.X - Size.cx >= Screen.Left ? At.X - Size.cx
                                                                 : Screen.Right - Size.cx;
    if (Y + Size.cy > Screen.Bottom)
        Y = At.Y - Size.cy >= Screen.Top ? At.Y - Size.cy : Screen.Bottom - Size.cy;
    X = std::max(X, Screen.Left);
    Y = std::max(Y, Screen.Top);
    OpenLevel(Root, Bounds(X, Y, Size.cx, Size.cy), false);
    Run();
    return FChosen;
}

TMenuItem* TMenuLoop::RunBar(TMainMenu* Menu, TCustomForm* Form, int Item, bool DropDown)
{
    FBar = Menu;
    FForm = Form;
    if (Item < 0)
        Item = NextBarItem(-1, 1);
    if (Item < 0)
        return nullptr;
    SetBarHot(Item, DropDown);
    Run();
    FBar->FHotIndex = -1;
    FBar->FDropped = false;
    InvalidateBar();
    return FChosen;
}

void TMenuLoop::Run()
{
    FOuter = Running;
    Running = this;
    struct TRestore {
        TMenuLoop* Loop;
        ~TRestore()
        {
            Running = Loop->FOuter;
            Loop->CloseLevels(0);
        }
    } Restore{this};
    while (!FDone) {
        TMsg Msg;
        if (!PeekMessage(Msg, 0, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (Msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(Msg.wParam));
            break;
        }
        if (Msg.message >= WM_KEYFIRST && Msg.message <= WM_KEYLAST) {
            if (Msg.message == WM_CHAR || Msg.message == WM_SYSCHAR)
                HandleChar(Msg);
            else if (IsKeyDown(Msg.message))
                HandleKey(Msg);
            continue;
        }
        if ((Msg.message >= WM_MOUSEFIRST && Msg.message <= WM_MOUSELAST &&
             Msg.message != WM_MOUSEWHEEL) ||
            IsNonClientMouse(Msg.message)) {
            HandleMouse(Msg);
            continue;
        }
        DispatchMessage(Msg);
    }
}

void TMenuLoop::OpenLevel(TMenuItem* Parent, TRect Where, bool SelectFirst)
{
    auto Level = std::make_unique<TLevel>();
    Level->Parent = Parent;
    Level->Layout = LayoutMenuPopup(Parent, &MenuMeasureCanvas(), FOwnerDraw);
    Level->Bounds = Where;
    TLevel* Raw = Level.get();
    Level->Wnd = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, MenuWindowClass, "", WS_POPUP,
                                Where.Left, Where.Top, Where.Width(), Where.Height(), FOwner);
    if (Level->Wnd == 0)
        return;
    SetWindowProc(Level->Wnd, [this, Raw](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
        return LevelProc(Raw, Wnd, Msg, WParam, LParam);
    });
    FLevels.push_back(std::move(Level));
    if (SelectFirst)
        Raw->Selected = NextSelectable(*Raw, -1, 1);
    ShowWindow(Raw->Wnd, SW_SHOWNOACTIVATE);
    if (FLevels.size() == 1)
        SetCapture(Raw->Wnd);
}

void TMenuLoop::OpenSubMenu(bool SelectFirst)
{
    TLevel& Top = *FLevels.back();
    if (Top.Selected < 0)
        return;
    TMenuItem* Item = Top.Layout.Entries[static_cast<std::size_t>(Top.Selected)].Item;
    if (Item->Count() == 0 || !Item->Enabled())
        return;
    // The parent item hears a click as its sub-menu opens, to bring the items up to date.
    Item->Click();
    if (FDone || FLevels.empty() || &Top != FLevels.back().get())
        return;
    const TMenuPopupLayout Layout = LayoutMenuPopup(Item, &MenuMeasureCanvas(), FOwnerDraw);
    if (Layout.Entries.empty())
        return;
    const TRect ItemRect = Top.Layout.Entries[static_cast<std::size_t>(Top.Selected)].Rect;
    const TRect Screen = ScreenRect();
    int X = Top.Bounds.Left + ItemRect.Right - 3;
    if (X + Layout.Size.cx > Screen.Right)
        X = std::max(Screen.Left, Top.Bounds.Left + ItemRect.Left - Layout.Size.cx + 3);
    int Y = Top.Bounds.Top + ItemRect.Top - 3;
    if (Y + Layout.Size.cy > Screen.Bottom)
        Y = std::max(Screen.Top, Screen.Bottom - Layout.Size.cy);
    OpenLevel(Item, Bounds(X, Y, Layout.Size.cx, Layout.Size.cy), SelectFirst);
}

void TMenuLoop::CloseLevels(std::size_t Keep)
{
    while (FLevels.size() > Keep) {
        const HWND Wnd = FLevels.back()->Wnd;
        if (FLevels.size() == 1 && GetCapture() == Wnd)
            ReleaseCapture();
        FLevels.pop_back();
        DestroyWindow(Wnd);
    }
}

void TMenuLoop::Select(TLevel& Level, int Index)
{
    if (Level.Selected == Index)
        return;
    Level.Selected = Index;
    InvalidateRect(Level.Wnd, nullptr, false);
    // The selected item's hint goes to the status line, as a control's does under the mouse.
    if (Application != nullptr)
        Application->SetHint(
            Index >= 0
                ? GetLongHint(Level.Layout.Entries[static_cast<std::size_t>(Index)].Item->Hint())
                : std::string());
}

void TMenuLoop::Choose(TMenuItem* Item)
{
    FChosen = Item;
    FDone = true;
}

int TMenuLoop::NextSelectable(const TLevel& Level, int From, int Step) const
{
    const int N = static_cast<int>(Level.Layout.Entries.size());
    if (N == 0)
        return -1;
    int I = From;
    for (int Tries = 0; Tries < N; ++Tries) {
        I = I < 0 && Step < 0 ? N - 1 : (I + Step + N) % N;
        if (Selectable(Level.Layout.Entries[static_cast<std::size_t>(I)].Item))
            return I;
    }
    return -1;
}

void TMenuLoop::HandleKey(const TMsg& Msg)
{
    const auto Key = static_cast<int>(Msg.wParam);
    if (Key == VK_MENU || Key == VK_F10) {
        FDone = true;
        return;
    }
    if (FLevels.empty()) { // the bar with its hot item and no drop-down
        switch (Key) {
        case VK_LEFT:
        case VK_RIGHT:
            SetBarHot(NextBarItem(FBar->FHotIndex, Key == VK_RIGHT ? 1 : -1), false);
            return;
        case VK_DOWN:
        case VK_UP:
        case VK_RETURN: {
            TMenuItem* Item = FBar->Items()->Items(FBar->FHotIndex);
            if (Item->Count() > 0)
                SetBarHot(FBar->FHotIndex, true);
            else if (Key == VK_RETURN && Item->Enabled())
                Choose(Item);
            return;
        }
        case VK_ESCAPE:
            FDone = true;
            return;
        default:
            TranslateMessage(Msg);
            return;
        }
    }
    TLevel& Top = *FLevels.back();
    switch (Key) {
    case VK_UP:
    case VK_DOWN:
        Select(Top, NextSelectable(Top, Top.Selected, Key == VK_DOWN ? 1 : -1));
        return;
    case VK_HOME:
    case VK_END:
        Select(Top, NextSelectable(Top, -1, Key == VK_HOME ? 1 : -1));
        return;
    case VK_RIGHT: {
        TMenuItem* Item = Top.Selected >= 0
                              ? Top.Layout.Entries[static_cast<std::size_t>(Top.Selected)].Item
                              : nullptr;
        if (Item != nullptr && Item->Count() > 0 && Item->Enabled())
            OpenSubMenu(true);
        else if (HasBar())
            SetBarHot(NextBarItem(FBar->FHotIndex, 1), true);
        return;
    }
    case VK_LEFT:
        if (FLevels.size() > 1)
            CloseLevels(FLevels.size() - 1);
        else if (HasBar())
            SetBarHot(NextBarItem(FBar->FHotIndex, -1), true);
        return;
    case VK_RETURN: {
        if (Top.Selected < 0)
            return;
        TMenuItem* Item = Top.Layout.Entries[static_cast<std::size_t>(Top.Selected)].Item;
        if (Item->Count() > 0)
            OpenSubMenu(true);
        else if (Selectable(Item))
            Choose(Item);
        return;
    }
    case VK_ESCAPE:
        if (FLevels.size() > 1 || !HasBar()) {
            CloseLevels(FLevels.size() - 1);
            if (FLevels.empty())
                FDone = true;
        } else {
            CloseLevels(0);
            FBar->FDropped = false;
            InvalidateBar();
        }
        return;
    default:
        TranslateMessage(Msg); // the character comes next, for the accelerators
        return;
    }
}

void TMenuLoop::HandleChar(const TMsg& Msg)
{
    const auto Key = static_cast<unsigned>(Msg.wParam);
    if (FLevels.empty()) {
        for (int I = 0; I < FBar->Items()->Count(); ++I) {
            TMenuItem* Item = FBar->Items()->Items(I);
            if (Item->Visible() && Item->Enabled() && IsAccel(Key, Item->Caption())) {
                if (Item->Count() > 0)
                    SetBarHot(I, true);
                else
                    Choose(Item);
                return;
            }
        }
        return;
    }
    TLevel& Top = *FLevels.back();
    // Several items with the letter: each press selects the next; one alone is chosen.
    std::vector<int> Matches;
    for (std::size_t I = 0; I < Top.Layout.Entries.size(); ++I) {
        TMenuItem* Item = Top.Layout.Entries[I].Item;
        if (Selectable(Item) && IsAccel(Key, Item->Caption()))
            Matches.push_back(static_cast<int>(I));
    }
    if (Matches.empty())
        return;
    if (Matches.size() > 1) {
        const auto After = std::upper_bound(Matches.begin(), Matches.end(), Top.Selected);
        Select(Top, After != Matches.end() ? *After : Matches.front());
        return;
    }
    Select(Top, Matches.front());
    TMenuItem* Item = Top.Layout.Entries[static_cast<std::size_t>(Matches.front())].Item;
    if (Item->Count() > 0)
        OpenSubMenu(true);
    else
        Choose(Item);
}

void TMenuLoop::HandleMouse(const TMsg& Message)
{
    // A non-client message carries the screen point already; it is read as its client twin.
    TMsg Msg = Message;
    TPoint P{GetXLParam(Msg.lParam), GetYLParam(Msg.lParam)};
    if (IsNonClientMouse(Msg.message))
        Msg.message = Msg.message - WM_NCMOUSEMOVE + WM_MOUSEMOVE;
    else
        ClientToScreen(Msg.hwnd, P);
    // The deepest level under the point.
    for (std::size_t L = FLevels.size(); L-- > 0;) {
        TLevel& Level = *FLevels[L];
        if (!PtInRect(Level.Bounds, P))
            continue;
        const TPoint Local{P.X - Level.Bounds.Left, P.Y - Level.Bounds.Top};
        const int Index = Level.Layout.ItemAtPos(Local);
        TMenuItem* Item =
            Index >= 0 ? Level.Layout.Entries[static_cast<std::size_t>(Index)].Item : nullptr;
        if (Msg.message == WM_MOUSEMOVE || IsButtonDown(Msg.message)) {
            if (Item == nullptr || (Level.Selected == Index && L + 1 < FLevels.size()))
                return;
            CloseLevels(L + 1);
            Select(Level, Item->IsLine() ? -1 : Index);
            if (Item->Count() > 0 && Item->Enabled())
                OpenSubMenu(false);
            return;
        }
        if ((Msg.message == WM_LBUTTONUP || Msg.message == WM_RBUTTONUP) && Item != nullptr &&
            Selectable(Item) && Item->Count() == 0)
            Choose(Item);
        return;
    }
    if (HasBar()) {
        const TRect Bar = MenuBarScreenRect(FForm);
        if (PtInRect(Bar, P)) {
            const TMenuBarLayout Layout = LayoutMenuBar(FBar, Bar.Width());
            const int Index = Layout.ItemAtPos(TPoint{P.X - Bar.Left, P.Y - Bar.Top});
            if (Index >= 0 && Msg.message == WM_MOUSEMOVE && Index != FBar->FHotIndex &&
                FBar->FDropped)
                SetBarHot(Index, true);
            else if (Index >= 0 && IsButtonDown(Msg.message))
                SetBarHot(Index, !(Index == FBar->FHotIndex && FBar->FDropped));
            else if (Index >= 0 && Index == FBar->FHotIndex && Msg.message == WM_LBUTTONUP &&
                     FLevels.empty()) {
                // A bar item without a drop-down is a command: released on, it is chosen.
                TMenuItem* Item = FBar->Items()->Items(Index);
                if (Item->Count() == 0 && Item->Enabled())
                    Choose(Item);
            }
            return;
        }
    }
    if (IsButtonDown(Msg.message))
        FDone = true; // a press outside the menu closes it, and is spent
}

LRESULT TMenuLoop::LevelProc(TLevel* Level, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    switch (Msg) {
    case WM_PAINT: {
        TPaintStruct Paint;
        if (HDC DC = BeginPaint(Wnd, Paint)) {
            DrawMenuPopup(Level->Layout, Level->Parent, DC, Level->Selected, FOwnerDraw);
            EndPaint(Wnd, Paint);
        }
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_CANCELMODE:
        Cancel();
        return 0;
    default:
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
}

// ---- the bar

int TMenuLoop::NextBarItem(int From, int Step) const
{
    const int N = FBar->Items()->Count();
    int I = From;
    for (int Tries = 0; Tries < N; ++Tries) {
        I = I < 0 && Step < 0 ? N - 1 : (I + Step + N) % N;
        if (FBar->Items()->Items(I)->Visible())
            return I;
    }
    return From;
}

TRect TMenuLoop::BarItemScreenRect(int Index) const
{
    const TRect Bar = MenuBarScreenRect(FForm);
    const TMenuBarLayout Layout = LayoutMenuBar(FBar, Bar.Width());
    TRect R = Layout.ItemRects[static_cast<std::size_t>(Index)];
    OffsetRect(R, Bar.Left, Bar.Top);
    return R;
}

void TMenuLoop::SetBarHot(int Index, bool DropDown)
{
    CloseLevels(0);
    FBar->FHotIndex = Index;
    FBar->FDropped = false;
    TMenuItem* Item = FBar->Items()->Items(Index);
    if (DropDown && Item->Count() > 0 && Item->Enabled()) {
        Item->Click();
        if (FDone)
            return;
        const TMenuPopupLayout Layout = LayoutMenuPopup(Item, &MenuMeasureCanvas(), FOwnerDraw);
        if (!Layout.Entries.empty()) {
            const TRect Under = BarItemScreenRect(Index);
            const TRect Screen = ScreenRect();
            int X = std::min(Under.Left, Screen.Right - Layout.Size.cx);
            int Y = Under.Bottom;
            if (Y + Layout.Size.cy > Screen.Bottom)
                Y = std::max(Screen.Top, Under.Top - Layout.Size.cy);
            OpenLevel(Item, Bounds(std::max(X, Screen.Left), Y, Layout.Size.cx, Layout.Size.cy),
                      true);
            FBar->FDropped = true;
        }
    }
    InvalidateBar();
}

void TMenuLoop::InvalidateBar()
{
    if (FBar != nullptr)
        FBar->MenuChanged(nullptr);
}
