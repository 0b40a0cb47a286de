#include "platform/stdctrls/listbox.h"

#include "platform/stdctrls/itemstrings.h"
#include "platform/stdctrls/listboxwindow.h"
#include "platform/ui/queue.h"

#include <algorithm>
#include <utility>

namespace {

constexpr TItemMessages ListBoxItemMessages{
    .GetCount = LB_GETCOUNT,
    .GetTextLen = LB_GETTEXTLEN,
    .GetText = LB_GETTEXT,
    .GetItemData = LB_GETITEMDATA,
    .SetItemData = LB_SETITEMDATA,
    .AddString = LB_ADDSTRING,
    .InsertString = LB_INSERTSTRING,
    .DeleteString = LB_DELETESTRING,
    .ResetContent = LB_RESETCONTENT,
    .FindStringExact = LB_FINDSTRINGEXACT,
    .AddFailed = "The list box could not take the item",
};

} // namespace

// The items of a list box: every call goes to its window.
class TListBoxStrings : public TItemStrings {
public:
    explicit TListBoxStrings(TCustomListBox* AListBox) : TItemStrings(AListBox, ListBoxItemMessages)
    {
    }
};

const TMessageMap& TCustomListBox::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TCustomListBox::WMPaint>(WM_PAINT),
        OnMessage<&TCustomListBox::WMEraseBkgnd>(WM_ERASEBKGND),
        OnMessages<&TCustomListBox::WMMouse>(WM_MOUSEFIRST, WM_MBUTTONDBLCLK),
        OnMessage<&TCustomListBox::CNCommand>(CN_COMMAND),
        OnMessage<&TCustomListBox::CNDrawItem>(CN_DRAWITEM),
        OnMessage<&TCustomListBox::CNMeasureItem>(CN_MEASUREITEM),
        OnMessage<&TCustomListBox::CMFontChanged>(CM_FONTCHANGED),
        OnMessage<&TCustomListBox::CMColorChanged>(CM_COLORCHANGED),
        OnMessage<&TCustomListBox::CMEnabledChanged>(CM_ENABLEDCHANGED),
    });
    static constexpr TMessageMap Map{Handlers, &TWinControl::ClassMessageMap};
    return Map;
}

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner), FItems(std::make_unique<TListBoxStrings>(this)),
      FCanvas(std::make_unique<TControlCanvas>())
{
    FCanvas->SetControl(this);
    // Clicks come from the list's LBN_SELCHANGE, double clicks from LBN_DBLCLK.
    SetControlStyle(TControlStyle{csSetCaption, csOpaque, csDoubleClicks});
    SetBounds(Left(), Top(), 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
}

TCustomListBox::~TCustomListBox()
{
    Destroying();
    DestroyHandle();
}

void TCustomListBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    RegisterListBoxClass();
    Params.Style |= WS_HSCROLL | WS_VSCROLL | LBS_HASSTRINGS | LBS_NOTIFY;
    if (FSorted)
        Params.Style |= LBS_SORT;
    if (FMultiSelect)
        Params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
    if (FStyle == lbOwnerDrawFixed)
        Params.Style |= LBS_OWNERDRAWFIXED;
    else if (FStyle == lbOwnerDrawVariable)
        Params.Style |= LBS_OWNERDRAWVARIABLE;
    if (FTabWidth != 0)
        Params.Style |= LBS_USETABSTOPS;
    if (!FIntegralHeight)
        Params.Style |= LBS_NOINTEGRALHEIGHT;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
    Params.WindowClass.Style = CS_DBLCLKS;
}

void TCustomListBox::CreateWnd()
{
    TWinControl::CreateWnd();
    ApplyLook();
    if (FStyle == lbOwnerDrawFixed)
        Perform(LB_SETITEMHEIGHT, 0, FItemHeight);
    if (FTabWidth != 0) {
        int Stops[1] = {FTabWidth};
        Perform(LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(Stops));
    }
    if (FSaved) {
        std::unique_ptr<TSaved> Saved = std::move(FSaved);
        for (std::size_t I = 0; I < Saved->Strings.size(); ++I) {
            const LRESULT Index =
                Perform(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Saved->Strings[I].c_str()));
            Perform(LB_SETITEMDATA, static_cast<WPARAM>(Index),
                    static_cast<LPARAM>(Saved->Data[I]));
            if (FMultiSelect && Saved->Selected[I])
                Perform(LB_SETSEL, 1, Index);
        }
        SetItemIndex(Saved->ItemIndex);
        SetTopIndex(Saved->TopIndex);
    }
    // An index set while there was no window.
    if (FItemIndex >= 0)
        SetItemIndex(std::exchange(FItemIndex, -1));
}

void TCustomListBox::DestroyWnd()
{
    if (WindowHandle() != 0 && !ComponentState().Contains(csDestroying)) {
        auto Saved = std::make_unique<TSaved>();
        const int Count = FItems->Count();
        for (int I = 0; I < Count; ++I) {
            Saved->Strings.push_back(FItems->Get(I));
            Saved->Data.push_back(
                static_cast<WPARAM>(Perform(LB_GETITEMDATA, static_cast<WPARAM>(I), 0)));
            Saved->Selected.push_back(Perform(LB_GETSEL, static_cast<WPARAM>(I), 0) > 0);
        }
        Saved->ItemIndex = ItemIndex();
        Saved->TopIndex = TopIndex();
        FSaved = std::move(Saved);
    }
    TWinControl::DestroyWnd();
}

namespace {

// The messages of the items and the selection: a box placed on a parent makes its window for
// them, as reaching the items of the class library's boxes does, so that nothing is lost.
bool IsItemMessage(UINT Msg)
{
    switch (Msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
    case LB_GETCOUNT:
    case LB_GETTEXT:
    case LB_GETTEXTLEN:
    case LB_GETITEMDATA:
    case LB_SETITEMDATA:
    case LB_FINDSTRINGEXACT:
    case LB_GETCURSEL:
    case LB_SETCURSEL:
    case LB_GETCARETINDEX:
    case LB_SETCARETINDEX:
        return true;
    default:
        return false;
    }
}

} // namespace

void TCustomListBox::DefaultHandler(TMessage& Message)
{
    if (WindowHandle() == 0 && Parent() != nullptr && IsItemMessage(Message.Msg) &&
        !ComponentState().Contains(csDestroying))
        HandleNeeded();
    if (WindowHandle() != 0)
        Message.Result =
            ListBoxWndProc(WindowHandle(), Message.Msg, Message.WParam, Message.LParam);
    else
        TWinControl::DefaultHandler(Message);
}

void TCustomListBox::ApplyLook()
{
    if (WindowHandle() == 0)
        return;
    SetListBoxColors(WindowHandle(), Color(), Font()->Color());
    SetListBoxFont(WindowHandle(), Font());
}

// ---- properties

int TCustomListBox::ItemIndex()
{
    if (WindowHandle() == 0 && Parent() == nullptr)
        return FSaved ? FSaved->ItemIndex : FItemIndex;
    const LRESULT Index = Perform(FMultiSelect ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0);
    return static_cast<int>(Index);
}

void TCustomListBox::SetItemIndex(int Value)
{
    // Without a window (nor a parent to make one on) the index waits for it.
    if (WindowHandle() == 0 && Parent() == nullptr) {
        if (FSaved)
            FSaved->ItemIndex = Value;
        else
            FItemIndex = Value;
        return;
    }
    if (ItemIndex() == Value)
        return;
    if (FMultiSelect)
        Perform(LB_SETCARETINDEX, static_cast<WPARAM>(Value), 0);
    else
        Perform(LB_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

void TCustomListBox::SetSorted(bool Value)
{
    if (FSorted == Value)
        return;
    FSorted = Value;
    RecreateWnd();
}

void TCustomListBox::SetMultiSelect(bool Value)
{
    if (FMultiSelect == Value)
        return;
    FMultiSelect = Value;
    RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool Value)
{
    if (FExtendedSelect == Value)
        return;
    FExtendedSelect = Value;
    RecreateWnd();
}

void TCustomListBox::SetStyle(TListBoxStyle Value)
{
    if (FStyle == Value)
        return;
    FStyle = Value;
    RecreateWnd();
}

void TCustomListBox::SetIntegralHeight(bool Value)
{
    if (FIntegralHeight == Value)
        return;
    FIntegralHeight = Value;
    RecreateWnd();
}

void TCustomListBox::SetTabWidth(int Value)
{
    Value = std::max(0, Value);
    if (FTabWidth == Value)
        return;
    FTabWidth = Value;
    RecreateWnd();
}

bool TCustomListBox::Selected(int Index)
{
    const LRESULT Result = Perform(LB_GETSEL, static_cast<WPARAM>(Index), 0);
    if (Result < 0)
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return Result != 0;
}

void TCustomListBox::SetSelected(int Index, bool Value)
{
    if (FMultiSelect) {
        if (Perform(LB_SETSEL, Value ? 1 : 0, Index) == LB_ERR)
            throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    } else if (Value) {
        SetItemIndex(Index);
    } else if (ItemIndex() == Index) {
        SetItemIndex(-1);
    }
}

int TCustomListBox::SelCount()
{
    return static_cast<int>(Perform(LB_GETSELCOUNT, 0, 0));
}

int TCustomListBox::TopIndex()
{
    return static_cast<int>(Perform(LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(int Value)
{
    if (TopIndex() != Value)
        Perform(LB_SETTOPINDEX, static_cast<WPARAM>(Value), 0);
}

int TCustomListBox::ItemHeight()
{
    if (FStyle == lbStandard && HandleAllocated())
        return static_cast<int>(Perform(LB_GETITEMHEIGHT, 0, 0));
    return FItemHeight;
}

void TCustomListBox::SetItemHeight(int Value)
{
    if (Value <= 0 || FItemHeight == Value)
        return;
    FItemHeight = Value;
    if (FStyle == lbOwnerDrawFixed && HandleAllocated())
        Perform(LB_SETITEMHEIGHT, 0, Value);
}

int TCustomListBox::ItemAtPos(const TPoint& Pos, bool Existing)
{
    if (PtInRect(ClientRect(), Pos)) {
        const int Count = FItems->Count();
        for (int Index = TopIndex(); Index < Count; ++Index) {
            TRect R;
            Perform(LB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&R));
            if (PtInRect(R, Pos))
                return Index;
        }
        if (!Existing)
            return Count;
    }
    return -1;
}

TRect TCustomListBox::ItemRect(int Index)
{
    TRect R;
    const int Count = FItems->Count();
    if (Index == 0 || Index < Count) {
        Perform(LB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&R));
    } else if (Index == Count) {
        Perform(LB_GETITEMRECT, static_cast<WPARAM>(Index - 1), reinterpret_cast<LPARAM>(&R));
        const int Height = R.Height();
        R.Top += Height;
        R.Bottom += Height;
    }
    return R;
}

void TCustomListBox::Clear()
{
    FItems->Clear();
}

// ---- messages

void TCustomListBox::WMPaint(TMessage& Message)
{
    DefaultHandler(Message); // the list paints itself, owner-drawn items through CN_DRAWITEM
}

void TCustomListBox::WMEraseBkgnd(TMessage& Message)
{
    Message.Result = 1;
}

void TCustomListBox::WMMouse(TMessage& Message)
{
    DefaultHandler(Message); // selection first, then the mouse events see it
    Inherited(Message);
}

void TCustomListBox::CNCommand(TMessage& Message)
{
    switch (HiWord(Message.WParam)) {
    case LBN_SELCHANGE:
        Changed();
        Click();
        break;
    case LBN_DBLCLK:
        DblClick();
        break;
    default:
        break;
    }
}

void TCustomListBox::CNDrawItem(TMessage& Message)
{
    DrawOwnerDrawItem(Message, FCanvas.get(), Font(), Color(),
                      [this](int Index, const TRect& Rect, TOwnerDrawState State) {
                          DrawItem(Index, Rect, State);
                      });
}

void TCustomListBox::CNMeasureItem(TMessage& Message)
{
    MeasureOwnerDrawItem(Message, FItemHeight, FStyle == lbOwnerDrawVariable,
                         [this](int Index, int& Height) { MeasureItem(Index, Height); });
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    DrawItemText(FCanvas.get(), FItems.get(), Index, Rect);
}

void TCustomListBox::MeasureItem(int Index, int& Height)
{
    if (OnMeasureItem)
        OnMeasureItem(this, Index, Height);
}

void TCustomListBox::CMFontChanged(TMessage& Message)
{
    Inherited(Message);
    ApplyLook();
}

void TCustomListBox::CMColorChanged(TMessage& Message)
{
    Inherited(Message);
    ApplyLook();
}

void TCustomListBox::CMEnabledChanged(TMessage& Message)
{
    Inherited(Message);
    Invalidate();
}
