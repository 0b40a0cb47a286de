// platform/stdctrls/editcontextmenu.cpp: the EDIT window's own context menu (Undo, Cut, Copy,
// Paste, Delete, Select All), shown when nothing above the window took WM_CONTEXTMENU. Each item
// is enabled as the edit's state allows and sends the window the message that does its work.
#include "platform/forms/menus.h"
#include "platform/stdctrls/editengine.h"
#include "platform/stdctrls/editwindow.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"

namespace {

TMenuItem* AddEntry(TPopupMenu& Menu, const char* Caption, bool Enabled)
{
    auto* Item = new TMenuItem(&Menu);
    Item->SetCaption(Caption);
    Item->SetEnabled(Enabled);
    Menu.Items()->Add(Item);
    return Item;
}

void AddCommand(TPopupMenu& Menu, const char* Caption, bool Enabled, HWND Wnd, UINT Msg,
                LPARAM LParam = 0)
{
    // The window may be gone by the time the item runs: a message to it then does nothing.
    AddEntry(Menu, Caption, Enabled)->OnClick = [Wnd, Msg, LParam](TObject*) {
        SendMessage(Wnd, Msg, 0, LParam);
    };
}

} // namespace

std::unique_ptr<TPopupMenu> MakeEditContextMenu(HWND Edit)
{
    DWORD Start = 0;
    DWORD End = 0;
    SendMessage(Edit, EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
    const auto Length = static_cast<DWORD>(SendMessage(Edit, WM_GETTEXTLENGTH, 0, 0));
    const auto Style = static_cast<DWORD>(GetWindowLong(Edit, GWL_STYLE));
    const bool Selection = Start != End;
    const bool Secret = (Style & ES_PASSWORD) || SendMessage(Edit, EM_GETPASSWORDCHAR, 0, 0) != 0;
    const bool Writable = !(Style & ES_READONLY);
    auto Menu = std::make_unique<TPopupMenu>(nullptr);
    Menu->SetAutoPopup(false);
    AddCommand(*Menu, "&Undo", SendMessage(Edit, EM_CANUNDO, 0, 0) != 0, Edit, WM_UNDO);
    AddCommand(*Menu, "Cu&t", Selection && !Secret && Writable, Edit, WM_CUT);
    AddCommand(*Menu, "&Copy", Selection && !Secret, Edit, WM_COPY);
    AddCommand(*Menu, "&Paste", Writable && Clipboard()->HasFormat(CF_TEXT), Edit, WM_PASTE);
    AddCommand(*Menu, "&Delete", Selection && Writable, Edit, WM_CLEAR);
    AddEntry(*Menu, "-", true);
    AddCommand(*Menu, "Select &All", Length != 0 && !(Start == 0 && End == Length), Edit, EM_SETSEL,
               -1);
    return Menu;
}

void TEditEngine::WMContextMenu(TMessage& Message)
{
    TPoint At{GetXLParam(Message.LParam), GetYLParam(Message.LParam)};
    if (At == TPoint{-1, -1}) { // from the keyboard: under the caret
        At = PosToClient(FCaret);
        At.Y += FLineHeight;
        ClientToScreen(FWnd, At);
    }
    if (GetFocus() != FWnd)
        SetFocus(FWnd);
    const std::unique_ptr<TPopupMenu> Menu = MakeEditContextMenu(FWnd);
    Message.Result = 1;
    // Modal until it closes; this engine may be gone afterwards, so nothing of it is touched.
    Menu->Popup(At.X, At.Y);
}
