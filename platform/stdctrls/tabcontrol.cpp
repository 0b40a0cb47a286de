#include "platform/stdctrls/tabcontrol.h"

#include "platform/gfx/imagelist.h"
#include "platform/rtl/list.h"
#include "platform/stdctrls/tabcontrolwindow.h"
#include "platform/ui/messages.h"
#include "platform/ui/paint.h"

const TMessageMap& TCustomTabControl::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TCustomTabControl::WMPaint>(WM_PAINT),
        OnMessage<&TCustomTabControl::WMEraseBkgnd>(WM_ERASEBKGND),
        OnMessages<&TCustomTabControl::WMMouse>(WM_MOUSEFIRST, WM_MBUTTONDBLCLK),
        OnMessage<&TCustomTabControl::CNNotify>(CN_NOTIFY),
        OnMessage<&TCustomTabControl::CMFontChanged>(CM_FONTCHANGED),
        OnMessage<&TCustomTabControl::CMMouseLeave>(CM_MOUSELEAVE),
    });
    static constexpr TMessageMap Map{Handlers, &TWinControl::ClassMessageMap};
    return Map;
}

TCustomTabControl::TCustomTabControl(TComponent* AOwner)
    : TWinControl(AOwner), FTabs(std::make_unique<TStringList>())
{
    SetControlStyle(TControlStyle{csAcceptsControls, csDoubleClicks, csOpaque});
    SetBounds(Left(), Top(), 289, 193);
    SetTabStop(true);
    SetColor(clBtnFace);
    FTabs->OnChange = [this](TObject*) { TabsChanged(); };
}

TCustomTabControl::~TCustomTabControl()
{
    FTabs->OnChange = nullptr;
    Destroying();
    DestroyHandle();
}

DWORD TCustomTabControl::TabStyle() const
{
    DWORD Style = 0;
    if (FTabPosition == tpBottom)
        Style |= TCS_BOTTOM;
    if (FMultiLine)
        Style |= TCS_MULTILINE;
    if (FHotTrack)
        Style |= TCS_HOTTRACK;
    return Style;
}

void TCustomTabControl::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    RegisterTabControlClass();
    Params.Style |= WS_CLIPCHILDREN | TabStyle();
    Params.WindowClass.Style = CS_DBLCLKS;
}

void TCustomTabControl::CreateWnd()
{
    TWinControl::CreateWnd();
    SetTabControlFont(WindowHandle(), Font());
    Perform(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages));
    TabsChanged();
}

void TCustomTabControl::DefaultHandler(TMessage& Message)
{
    if (WindowHandle() != 0)
        Message.Result =
            TabControlWndProc(WindowHandle(), Message.Msg, Message.WParam, Message.LParam);
    else
        TWinControl::DefaultHandler(Message);
}

void TCustomTabControl::TabsChanged()
{
    if (FTabIndex >= FTabs->Count())
        FTabIndex = -1;
    if (WindowHandle() == 0)
        return;
    Perform(TCM_DELETEALLITEMS, 0, 0);
    for (int I = 0; I < FTabs->Count(); ++I) {
        std::string Text = FTabs->Get(I);
        TCITEM Item;
        Item.mask = TCIF_TEXT | TCIF_IMAGE;
        Item.pszText = Text.data();
        Item.iImage = GetImageIndex(I);
        Perform(TCM_INSERTITEM, static_cast<WPARAM>(I), reinterpret_cast<LPARAM>(&Item));
    }
    Perform(TCM_SETCURSEL, static_cast<WPARAM>(FTabIndex), 0);
    Realign();
}

void TCustomTabControl::SetTabIndex(int Value)
{
    if (Value < -1 || Value >= FTabs->Count())
        TList::Error("List index out of bounds (%d)", Value);
    FTabIndex = Value;
    if (WindowHandle() != 0)
        Perform(TCM_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

void TCustomTabControl::StyleChanged()
{
    if (WindowHandle() == 0)
        return;
    const DWORD Mask = TCS_BOTTOM | TCS_MULTILINE | TCS_HOTTRACK;
    const auto Style = static_cast<DWORD>(GetWindowLong(WindowHandle(), GWL_STYLE));
    SetWindowLong(WindowHandle(), GWL_STYLE, static_cast<LONG_PTR>((Style & ~Mask) | TabStyle()));
    InvalidateRect(WindowHandle(), nullptr, true);
    Realign();
}

void TCustomTabControl::SetTabPosition(TTabPosition Value)
{
    if (Value == FTabPosition)
        return;
    FTabPosition = Value;
    StyleChanged();
}

void TCustomTabControl::SetMultiLine(bool Value)
{
    if (Value == FMultiLine)
        return;
    FMultiLine = Value;
    StyleChanged();
}

void TCustomTabControl::SetHotTrack(bool Value)
{
    if (Value == FHotTrack)
        return;
    FHotTrack = Value;
    StyleChanged();
}

void TCustomTabControl::SetImages(TCustomImageList* Value)
{
    if (FImages != nullptr)
        FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages != nullptr)
        FImages->FreeNotification(this);
    if (WindowHandle() != 0) {
        Perform(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages));
        Realign();
    }
}

void TCustomTabControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages)
        SetImages(nullptr);
}

TRect TCustomTabControl::DisplayRect()
{
    HandleNeeded();
    TRect R = ClientRect();
    Perform(TCM_ADJUSTRECT, 0, reinterpret_cast<LPARAM>(&R));
    return R;
}

TRect TCustomTabControl::TabRect(int Index)
{
    HandleNeeded();
    TRect R;
    Perform(TCM_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&R));
    return R;
}

int TCustomTabControl::IndexOfTabAt(int X, int Y)
{
    HandleNeeded();
    TCHITTESTINFO Info;
    Info.pt = TPoint{X, Y};
    return static_cast<int>(Perform(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&Info)));
}

int TCustomTabControl::RowCount()
{
    HandleNeeded();
    return static_cast<int>(Perform(TCM_GETROWCOUNT, 0, 0));
}

void TCustomTabControl::AdjustClientRect(TRect& Rect)
{
    if (WindowHandle() != 0)
        Rect = DisplayRect();
}

bool TCustomTabControl::CanChange()
{
    bool Allow = true;
    if (OnChanging)
        OnChanging(this, Allow);
    return Allow;
}

void TCustomTabControl::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomTabControl::WMPaint(TMessage& Message)
{
    DefaultHandler(Message); // the window draws the tabs and the frame
}

void TCustomTabControl::WMEraseBkgnd(TMessage& Message)
{
    Message.Result = 1;
}

void TCustomTabControl::WMMouse(TMessage& Message)
{
    DefaultHandler(Message); // the tab changes first, then the mouse events see it
    Inherited(Message);
}

void TCustomTabControl::CNNotify(TMessage& Message)
{
    const auto* Header = reinterpret_cast<const NMHDR*>(Message.LParam);
    switch (Header->code) {
    case TCN_SELCHANGING:
        Message.Result = CanChange() ? 0 : 1;
        break;
    case TCN_SELCHANGE:
        FTabIndex = static_cast<int>(Perform(TCM_GETCURSEL, 0, 0));
        Change();
        break;
    default:
        break;
    }
}

void TCustomTabControl::CMFontChanged(TMessage& Message)
{
    Inherited(Message);
    if (WindowHandle() != 0) {
        SetTabControlFont(WindowHandle(), Font());
        Realign();
    }
}

void TCustomTabControl::CMMouseLeave(TMessage& Message)
{
    Inherited(Message);
    if (WindowHandle() != 0)
        TabControlWndProc(WindowHandle(), WM_MOUSELEAVE, 0, 0);
}
