#include "platform/stdctrls/combobox.h"

#include "platform/gfx/rasterdevice.h"
#include "platform/stdctrls/comboboxwindow.h"
#include "platform/stdctrls/itemstrings.h"
#include "platform/ui/queue.h"

#include <algorithm>
#include <utility>

namespace {

constexpr TItemMessages ComboBoxItemMessages{
    .GetCount = CB_GETCOUNT,
    .GetTextLen = CB_GETLBTEXTLEN,
    .GetText = CB_GETLBTEXT,
    .GetItemData = CB_GETITEMDATA,
    .SetItemData = CB_SETITEMDATA,
    .AddString = CB_ADDSTRING,
    .InsertString = CB_INSERTSTRING,
    .DeleteString = CB_DELETESTRING,
    .ResetContent = CB_RESETCONTENT,
    .FindStringExact = CB_FINDSTRINGEXACT,
    .AddFailed = "The combo box could not take the item",
};

} // namespace

// The items of a combo box: every call goes to its window.
class TComboBoxStrings : public TItemStrings {
public:
    explicit TComboBoxStrings(TCustomComboBox* ACombo) : TItemStrings(ACombo, ComboBoxItemMessages)
    {
    }

    void Clear() override
    {
        const std::string Text = Control->Text();
        TItemStrings::Clear();
        Control->SetText(Text); // the edit field keeps its text, as the class library's does
    }
};

const TMessageMap& TCustomComboBox::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TCustomComboBox::WMPaint>(WM_PAINT),
        OnMessage<&TCustomComboBox::WMEraseBkgnd>(WM_ERASEBKGND),
        OnMessages<&TCustomComboBox::WMMouse>(WM_MOUSEFIRST, WM_MBUTTONDBLCLK),
        OnMessage<&TCustomComboBox::CNCommand>(CN_COMMAND),
        OnMessage<&TCustomComboBox::CNDrawItem>(CN_DRAWITEM),
        OnMessage<&TCustomComboBox::CNMeasureItem>(CN_MEASUREITEM),
        OnMessage<&TCustomComboBox::CMCancelMode>(CM_CANCELMODE),
        OnMessage<&TCustomComboBox::CMFontChanged>(CM_FONTCHANGED),
        OnMessage<&TCustomComboBox::CMColorChanged>(CM_COLORCHANGED),
    });
    static constexpr TMessageMap Map{Handlers, &TWinControl::ClassMessageMap};
    return Map;
}

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner), FItems(std::make_unique<TComboBoxStrings>(this)),
      FCanvas(std::make_unique<TControlCanvas>())
{
    FCanvas->SetControl(this);
    // Clicks come from CBN_SELCHANGE; the list takes the mouse while it is dropped down.
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks, csFixedHeight, csOpaque});
    SetBounds(Left(), Top(), 145, 0);
    SetTabStop(true);
    SetColor(clWindow);
}

TCustomComboBox::~TCustomComboBox()
{
    Destroying();
    DestroyHandle();
}

void TCustomComboBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    RegisterComboBoxClass();
    static const DWORD Styles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST,
                                   CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                                   CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE};
    Params.Style |= DWORD(WS_VSCROLL) | CBS_HASSTRINGS | CBS_AUTOHSCROLL | Styles[FStyle];
    if (FSorted)
        Params.Style |= CBS_SORT;
    if (FCharCase == ecUpperCase)
        Params.Style |= CBS_UPPERCASE;
    else if (FCharCase == ecLowerCase)
        Params.Style |= CBS_LOWERCASE;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
    Params.WindowClass.Style = CS_DBLCLKS;
}

void TCustomComboBox::CreateWnd()
{
    TWinControl::CreateWnd();
    ApplyLook();
    SetComboBoxDropDownCount(WindowHandle(), FDropDownCount);
    Perform(CB_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
    if (FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable) {
        Perform(CB_SETITEMHEIGHT, 0, FItemHeight);
        Perform(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), FItemHeight);
    }
    if (FSaved) {
        std::unique_ptr<TSaved> Saved = std::move(FSaved);
        for (std::size_t I = 0; I < Saved->Strings.size(); ++I) {
            const LRESULT Index =
                Perform(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Saved->Strings[I].c_str()));
            Perform(CB_SETITEMDATA, static_cast<WPARAM>(Index),
                    static_cast<LPARAM>(Saved->Data[I]));
        }
        if (Saved->ItemIndex >= 0)
            SetItemIndex(Saved->ItemIndex);
        else
            SetText(Saved->Text);
    }
    // An index set while there was no window.
    if (FItemIndex >= 0)
        SetItemIndex(std::exchange(FItemIndex, -1));
    SetBounds(Left(), Top(), Width(), Height());
}

void TCustomComboBox::DestroyWnd()
{
    if (WindowHandle() != 0 && !ComponentState().Contains(csDestroying)) {
        auto Saved = std::make_unique<TSaved>();
        const int Count = FItems->Count();
        for (int I = 0; I < Count; ++I) {
            Saved->Strings.push_back(FItems->Get(I));
            Saved->Data.push_back(
                static_cast<WPARAM>(Perform(CB_GETITEMDATA, static_cast<WPARAM>(I), 0)));
        }
        Saved->ItemIndex = ItemIndex();
        Saved->Text = Text();
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
    case CB_ADDSTRING:
    case CB_INSERTSTRING:
    case CB_DELETESTRING:
    case CB_RESETCONTENT:
    case CB_GETCOUNT:
    case CB_GETLBTEXT:
    case CB_GETLBTEXTLEN:
    case CB_GETITEMDATA:
    case CB_SETITEMDATA:
    case CB_FINDSTRINGEXACT:
    case CB_GETCURSEL:
    case CB_SETCURSEL:
        return true;
    default:
        return false;
    }
}

} // namespace

void TCustomComboBox::DefaultHandler(TMessage& Message)
{
    if (WindowHandle() == 0 && Parent() != nullptr && IsItemMessage(Message.Msg) &&
        !ComponentState().Contains(csDestroying))
        HandleNeeded();
    if (WindowHandle() != 0)
        Message.Result =
            ComboBoxWndProc(WindowHandle(), Message.Msg, Message.WParam, Message.LParam);
    else
        TWinControl::DefaultHandler(Message);
}

std::string TCustomComboBox::GetText() const
{
    if (WindowHandle() == 0)
        return TWinControl::GetText();
    const auto Length = SendMessage(WindowHandle(), WM_GETTEXTLENGTH, 0, 0);
    std::string Text(static_cast<std::size_t>(std::max<LRESULT>(0, Length)) + 1, '\0');
    SendMessage(WindowHandle(), WM_GETTEXT, Text.size(), reinterpret_cast<LPARAM>(Text.data()));
    Text.resize(static_cast<std::size_t>(std::max<LRESULT>(0, Length)));
    return Text;
}

void TCustomComboBox::ApplyLook()
{
    if (WindowHandle() == 0)
        return;
    SetComboBoxColors(WindowHandle(), Color(), Font()->Color());
    SetComboBoxFont(WindowHandle(), Font());
}

// The height of the box for the styles with a drop-down list: the edit field and its frame.
int TCustomComboBox::FixedHeight()
{
    int ItemH = FItemHeight;
    if (FStyle != csOwnerDrawFixed && FStyle != csOwnerDrawVariable) {
        TRasterDevice Device(1, 1);
        TCanvas Canvas(&Device);
        Canvas.SetFont(Font());
        TTextMetric Metrics{};
        Canvas.GetTextMetrics(Metrics);
        ItemH = Metrics.tmHeight;
    }
    return ItemH + 8;
}

void TCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (FStyle != csSimple)
        AHeight = FixedHeight();
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

// ---- properties

int TCustomComboBox::ItemIndex()
{
    if (WindowHandle() == 0 && Parent() == nullptr)
        return FSaved ? FSaved->ItemIndex : FItemIndex;
    return static_cast<int>(Perform(CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(int Value)
{
    // Without a window (nor a parent to make one on) the index waits for it.
    if (WindowHandle() == 0 && Parent() == nullptr) {
        if (FSaved)
            FSaved->ItemIndex = Value;
        else
            FItemIndex = Value;
        return;
    }
    if (ItemIndex() != Value)
        Perform(CB_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value)
{
    if (FStyle == Value)
        return;
    FStyle = Value;
    RecreateWnd();
    SetBounds(Left(), Top(), Width(), Height());
}

void TCustomComboBox::SetSorted(bool Value)
{
    if (FSorted == Value)
        return;
    FSorted = Value;
    RecreateWnd();
}

void TCustomComboBox::SetDropDownCount(int Value)
{
    FDropDownCount = std::max(1, Value);
    if (HandleAllocated())
        SetComboBoxDropDownCount(WindowHandle(), FDropDownCount);
}

bool TCustomComboBox::DroppedDown()
{
    return HandleAllocated() && Perform(CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool Value)
{
    Perform(CB_SHOWDROPDOWN, Value ? 1 : 0, 0);
}

void TCustomComboBox::SetMaxLength(int Value)
{
    FMaxLength = std::max(0, Value);
    if (HandleAllocated())
        Perform(CB_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TCustomComboBox::SetCharCase(TEditCharCase Value)
{
    if (FCharCase == Value)
        return;
    FCharCase = Value;
    RecreateWnd();
}

int TCustomComboBox::ItemHeight()
{
    if (FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable || !HandleAllocated())
        return FItemHeight;
    return static_cast<int>(Perform(CB_GETITEMHEIGHT, 0, 0));
}

void TCustomComboBox::SetItemHeight(int Value)
{
    if (Value <= 0 || Value == FItemHeight)
        return;
    FItemHeight = Value;
    if (HandleAllocated() && (FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable)) {
        Perform(CB_SETITEMHEIGHT, 0, Value);
        Perform(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), Value);
    }
    SetBounds(Left(), Top(), Width(), Height());
}

int TCustomComboBox::SelStart()
{
    DWORD Start = 0;
    Perform(CB_GETEDITSEL, reinterpret_cast<WPARAM>(&Start), 0);
    return static_cast<int>(Start);
}

void TCustomComboBox::SetSelStart(int Value)
{
    Perform(CB_SETEDITSEL, 0, MakeLParam(Value, Value));
}

int TCustomComboBox::SelLength()
{
    DWORD Start = 0;
    DWORD End = 0;
    Perform(CB_GETEDITSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
    return static_cast<int>(End - Start);
}

void TCustomComboBox::SetSelLength(int Value)
{
    const int Start = SelStart();
    Perform(CB_SETEDITSEL, 0, MakeLParam(Start, Start + std::max(0, Value)));
}

std::string TCustomComboBox::SelText()
{
    return Text().substr(static_cast<std::size_t>(SelStart()),
                         static_cast<std::size_t>(SelLength()));
}

void TCustomComboBox::SetSelText(const std::string& Value)
{
    const int Start = SelStart();
    std::string NewText = Text();
    NewText.replace(static_cast<std::size_t>(Start), static_cast<std::size_t>(SelLength()), Value);
    SetText(NewText);
    const int Caret = Start + static_cast<int>(Value.size());
    Perform(CB_SETEDITSEL, 0, MakeLParam(Caret, Caret));
}

void TCustomComboBox::SelectAll()
{
    Perform(CB_SETEDITSEL, 0, MakeLParam(0, -1));
}

void TCustomComboBox::Clear()
{
    SetText("");
    FItems->Clear();
}

// ---- events

void TCustomComboBox::Change()
{
    Changed();
    if (OnChange)
        OnChange(this);
}

void TCustomComboBox::Select()
{
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

void TCustomComboBox::DropDown()
{
    if (OnDropDown)
        OnDropDown(this);
}

void TCustomComboBox::CloseUp()
{
    if (OnCloseUp)
        OnCloseUp(this);
}

void TCustomComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    DrawItemText(FCanvas.get(), FItems.get(), Index, Rect);
}

void TCustomComboBox::MeasureItem(int Index, int& Height)
{
    if (OnMeasureItem)
        OnMeasureItem(this, Index, Height);
}

// ---- messages

void TCustomComboBox::WMPaint(TMessage& Message)
{
    DefaultHandler(Message);
}

void TCustomComboBox::WMEraseBkgnd(TMessage& Message)
{
    Message.Result = 1;
}

void TCustomComboBox::WMMouse(TMessage& Message)
{
    DefaultHandler(Message);
    Inherited(Message);
}

void TCustomComboBox::CNCommand(TMessage& Message)
{
    switch (HiWord(Message.WParam)) {
    case CBN_DBLCLK:
        DblClick();
        break;
    case CBN_EDITCHANGE:
        Change();
        break;
    case CBN_DROPDOWN:
        DropDown();
        break;
    case CBN_CLOSEUP:
        CloseUp();
        break;
    case CBN_SELCHANGE:
        Click();
        Select();
        break;
    default:
        break;
    }
}

void TCustomComboBox::CNDrawItem(TMessage& Message)
{
    DrawOwnerDrawItem(Message, FCanvas.get(), Font(), Color(),
                      [this](int Index, const TRect& Rect, TOwnerDrawState State) {
                          DrawItem(Index, Rect, State);
                      });
}

void TCustomComboBox::CNMeasureItem(TMessage& Message)
{
    MeasureOwnerDrawItem(Message, FItemHeight, FStyle == csOwnerDrawVariable,
                         [this](int Index, int& Height) { MeasureItem(Index, Height); });
}

void TCustomComboBox::CMCancelMode(TMessage& Message)
{
    if (reinterpret_cast<TControl*>(Message.LParam) != this && DroppedDown())
        SetDroppedDown(false);
}

void TCustomComboBox::CMFontChanged(TMessage& Message)
{
    Inherited(Message);
    ApplyLook();
    SetBounds(Left(), Top(), Width(), Height());
}

void TCustomComboBox::CMColorChanged(TMessage& Message)
{
    Inherited(Message);
    ApplyLook();
}
