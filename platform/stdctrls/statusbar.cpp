// platform/stdctrls/statusbar.cpp: TStatusBar and its panels.
#include "platform/stdctrls/statusbar.h"

#include "platform/stdctrls/statusbarwindow.h"
#include "platform/ui/ownerdraw.h"
#include "platform/ui/queue.h"

#include <vector>

// ---- TStatusPanel

TStatusPanel::TStatusPanel(TCollection* Collection) : TCollectionItem(Collection) {}

void TStatusPanel::SetText(const std::string& Value)
{
    if (FText == Value)
        return;
    FText = Value;
    Changed(false);
}

void TStatusPanel::SetWidth(int Value)
{
    if (FWidth == Value)
        return;
    FWidth = Value;
    Changed(true);
}

void TStatusPanel::SetBevel(TStatusPanelBevel Value)
{
    if (FBevel == Value)
        return;
    FBevel = Value;
    Changed(false);
}

void TStatusPanel::SetAlignment(TAlignment Value)
{
    if (FAlignment == Value)
        return;
    FAlignment = Value;
    Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle Value)
{
    if (FStyle == Value)
        return;
    FStyle = Value;
    Changed(false);
}

void TStatusPanel::Assign(const TPersistent* Source)
{
    const auto* Panel = dynamic_cast<const TStatusPanel*>(Source);
    if (Panel == nullptr) {
        TCollectionItem::Assign(Source);
        return;
    }
    FText = Panel->FText;
    FWidth = Panel->FWidth;
    FBevel = Panel->FBevel;
    FAlignment = Panel->FAlignment;
    FStyle = Panel->FStyle;
    Changed(true);
}

std::string TStatusPanel::GetDisplayName() const
{
    return FText.empty() ? TCollectionItem::GetDisplayName() : FText;
}

// ---- TStatusPanels

TStatusPanels::TStatusPanels(TStatusBar* StatusBar)
    : TCollection(CollectionItemClass<TStatusPanel>()), FStatusBar(StatusBar)
{
}

void TStatusPanels::Update(TCollectionItem* Item)
{
    if (Item != nullptr)
        FStatusBar->UpdatePanel(Item->Index());
    else
        FStatusBar->UpdatePanels();
}

// ---- TStatusBar

const TMessageMap& TStatusBar::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TStatusBar::WMPaint>(WM_PAINT),
        OnMessage<&TStatusBar::WMEraseBkgnd>(WM_ERASEBKGND),
        OnMessages<&TStatusBar::WMMouse>(WM_MOUSEFIRST, WM_MBUTTONDBLCLK),
        OnMessage<&TStatusBar::CNDrawItem>(CN_DRAWITEM),
        OnMessage<&TStatusBar::CMFontChanged>(CM_FONTCHANGED),
    });
    static constexpr TMessageMap Map{Handlers, &TWinControl::ClassMessageMap};
    return Map;
}

TStatusBar::TStatusBar(TComponent* AOwner)
    : TWinControl(AOwner), FPanels(std::make_unique<TStatusPanels>(this)),
      FCanvas(std::make_unique<TControlCanvas>())
{
    FCanvas->SetControl(this);
    SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque});
    SetColor(clBtnFace);
    SetBounds(Left(), Top(), 150, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar()
{
    Destroying();
    DestroyHandle();
}

void TStatusBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    RegisterStatusBarClass();
    if (FSizeGrip)
        Params.Style |= SBARS_SIZEGRIP;
    Params.WindowClass.Style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TStatusBar::CreateWnd()
{
    TWinControl::CreateWnd();
    Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()), 0);
    UpdatePanels();
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(FSimpleText.c_str()));
    Perform(SB_SIMPLE, FSimplePanel ? 1 : 0, 0);
}

void TStatusBar::DefaultHandler(TMessage& Message)
{
    if (WindowHandle() != 0)
        Message.Result =
            StatusBarWndProc(WindowHandle(), Message.Msg, Message.WParam, Message.LParam);
    else
        TWinControl::DefaultHandler(Message);
}

void TStatusBar::SetSimplePanel(bool Value)
{
    if (FSimplePanel == Value)
        return;
    FSimplePanel = Value;
    if (HandleAllocated())
        Perform(SB_SIMPLE, Value ? 1 : 0, 0);
}

void TStatusBar::SetSimpleText(const std::string& Value)
{
    if (FSimpleText == Value)
        return;
    FSimpleText = Value;
    if (HandleAllocated())
        Perform(SB_SETTEXT, SB_SIMPLEID, reinterpret_cast<LPARAM>(FSimpleText.c_str()));
}

void TStatusBar::SetSizeGrip(bool Value)
{
    if (FSizeGrip == Value)
        return;
    FSizeGrip = Value;
    RecreateWnd();
}

void TStatusBar::UpdatePanels()
{
    if (!HandleAllocated())
        return;
    const int Count = FPanels->Count();
    std::vector<int> Edges;
    int Right = 0;
    for (int I = 0; I < Count; ++I) {
        Right += FPanels->Items(I)->Width();
        // The last panel reaches the end of the bar.
        Edges.push_back(I == Count - 1 ? -1 : Right);
    }
    if (Edges.empty())
        Edges.push_back(-1);
    Perform(SB_SETPARTS, Edges.size(), reinterpret_cast<LPARAM>(Edges.data()));
    if (Count == 0)
        Perform(SB_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    for (int I = 0; I < Count; ++I)
        UpdatePanel(I);
}

void TStatusBar::UpdatePanel(int Index)
{
    if (!HandleAllocated())
        return;
    const TStatusPanel* Panel = FPanels->Items(Index);
    WPARAM Flags = static_cast<WPARAM>(Index);
    if (Panel->Bevel() == pbNone)
        Flags |= SBT_NOBORDERS;
    else if (Panel->Bevel() == pbRaised)
        Flags |= SBT_POPOUT;
    if (Panel->Style() == psOwnerDraw) {
        Perform(SB_SETTEXT, Flags | SBT_OWNERDRAW, reinterpret_cast<LPARAM>(Panel));
        return;
    }
    // The window centres text after a tab and right-aligns it after two.
    std::string Text = Panel->Text();
    if (Panel->Alignment() == taCenter)
        Text.insert(0, "\t");
    else if (Panel->Alignment() == taRightJustify)
        Text.insert(0, "\t\t");
    Perform(SB_SETTEXT, Flags, reinterpret_cast<LPARAM>(Text.c_str()));
}

void TStatusBar::DrawPanel(TStatusPanel* Panel, const TRect& Rect)
{
    if (OnDrawPanel)
        OnDrawPanel(this, Panel, Rect);
    else
        FCanvas->FillRect(Rect);
}

void TStatusBar::WMPaint(TMessage& Message)
{
    DefaultHandler(Message); // the window paints its parts, owner-drawn ones through CN_DRAWITEM
}

void TStatusBar::WMEraseBkgnd(TMessage& Message)
{
    Message.Result = 1;
}

void TStatusBar::WMMouse(TMessage& Message)
{
    DefaultHandler(Message);
    Inherited(Message);
}

void TStatusBar::CNDrawItem(TMessage& Message)
{
    const auto* Draw = reinterpret_cast<const TDrawItemStruct*>(Message.LParam);
    if (Draw == nullptr || static_cast<int>(Draw->itemID) >= FPanels->Count())
        return;
    TControlCanvas::TPaintScope Scope(FCanvas.get(), Draw->hDC);
    FCanvas->SetFont(Font());
    FCanvas->Brush()->SetColor(Color());
    FCanvas->Brush()->SetStyle(bsSolid);
    DrawPanel(FPanels->Items(static_cast<int>(Draw->itemID)), Draw->rcItem);
    Message.Result = 1;
}

void TStatusBar::CMFontChanged(TMessage& Message)
{
    Inherited(Message);
    if (HandleAllocated())
        Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()), 1);
}
