// controls/grid/asgedit.cpp: the edit with a button and the edit with a unit chooser.
#include "controls/grid/asgedit.h"

#include "platform/forms/menus.h"
#include "platform/gfx/textlayout.h"
#include "platform/stdctrls/editwindow.h"
#include "platform/ui/input.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/windowdc.h"

#include <algorithm>

// ---- TAsgEditButton --------------------------------------------------------------------------

TAsgEditButton::TAsgEditButton(TComponent* AOwner) : TWinControl(AOwner)
{
    SetControlStyle(ControlStyle() - TControlStyle{csAcceptsControls, csSetCaption} +
                    TControlStyle{csFramed, csOpaque});
    FButton = new TSpeedButton(this);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->OnMouseUp = [this](TObject*, TMouseButton Button, TShiftState, int, int) {
        BtnMouseUp(Button);
    };
    SetBounds(0, 0, 20, 25);
}

TAsgEditButton::~TAsgEditButton() = default;

void TAsgEditButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    AHeight = std::max(AHeight, 15);
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FButton != nullptr)
        FButton->SetBounds(0, 0, AWidth, AHeight);
}

void TAsgEditButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

void TAsgEditButton::SetFocusControl(TWinControl* Value)
{
    if (Value == FFocusControl)
        return;
    if (FFocusControl != nullptr)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = Value;
    if (Value != nullptr)
        Value->FreeNotification(this);
}

void TAsgEditButton::BtnMouseUp(TMouseButton Button)
{
    if (Button != mbLeft)
        return;
    if (auto* Edit = dynamic_cast<TAsgEditBtn*>(Parent()))
        Edit->ClickBtn();
    if (FFocusControl != nullptr && FFocusControl->CanFocus()) {
        if (!FFocusControl->Focused())
            FFocusControl->SetFocus();
    } else if (CanFocus() && !Focused()) {
        SetFocus();
    }
}

// ---- TAsgEditBtn -----------------------------------------------------------------------------

TAsgEditBtn::TAsgEditBtn(TComponent* AOwner) : TCustomEdit(AOwner)
{
    FButton = new TAsgEditButton(this);
    FButton->SetBounds(0, 0, 15, 17);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    SetText("0");
    SetControlStyle(ControlStyle() - TControlStyle{csSetCaption});
}

TAsgEditBtn::~TAsgEditBtn() = default;

void TAsgEditBtn::ClickBtn()
{
    if (OnClickBtn)
        OnClickBtn(this);
}

void TAsgEditBtn::SetRightAlign(bool Value)
{
    if (Value == FRightAlign)
        return;
    FRightAlign = Value;
    if (HandleAllocated())
        RecreateWnd();
}

void TAsgEditBtn::SetUnitSpaceValue(int Value)
{
    FUnitSpace = std::max(0, Value);
    SetEditRect();
    Invalidate();
}

void TAsgEditBtn::CreateParams(TCreateParams& Params)
{
    TCustomEdit::CreateParams(Params);
    Params.Style |= static_cast<DWORD>(ES_MULTILINE) | static_cast<DWORD>(WS_CLIPCHILDREN);
    if (FRightAlign)
        Params.Style |= ES_RIGHT;
}

void TAsgEditBtn::CreateWnd()
{
    TCustomEdit::CreateWnd();
    SetEditRect();
}

void TAsgEditBtn::SetEditRect()
{
    if (!HandleAllocated())
        return;
    const int Inset = BorderStyle() == bsSingle ? 1 : 2;
    TRect Loc =
        Rect(Inset, Inset, ClientWidth() - FButton->Width() - FUnitSpace - 3, ClientHeight() + 1);
    SendToEdit(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&Loc));
}

int EditLineHeight(TFont* Font)
{
    TCanvas Measure;
    Measure.SetFont(Font);
    TTextMetric Own{};
    Measure.GetTextMetrics(Own);
    TFont SystemFont;
    Measure.SetFont(&SystemFont);
    TTextMetric Sys{};
    Measure.GetTextMetrics(Sys);
    return Own.tmHeight + std::min(Own.tmHeight, Sys.tmHeight) / 4;
}

int TAsgEditBtn::MinHeight() const
{
    return EditLineHeight(Font());
}

void TAsgEditBtn::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (FButton != nullptr)
        AHeight = std::max(AHeight, MinHeight());
    TCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FButton != nullptr) {
        PlaceButton();
        SetEditRect();
    }
}

void TAsgEditBtn::PlaceButton()
{
    const int W = FButton->Width();
    if (Ctl3D()) {
        const int Less = BorderStyle() == bsSingle ? 5 : 2;
        FButton->SetBounds(Width() - W - Less, 0, W, Height() - Less);
    } else {
        FButton->SetBounds(Width() - W, 1, W, Height() - 3);
    }
}

void TAsgEditBtn::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_F4) {
        ClickBtn();
        Key = 0;
        return;
    }
    if (Key == VK_DELETE && (!FEditorEnabled || ReadOnly())) {
        Key = 0;
        return;
    }
    TCustomEdit::KeyDown(Key, Shift);
}

// The window is multi-line only to place its text; the value itself stays on one line.
void TAsgEditBtn::KeyPress(char& Key)
{
    const auto Ch = static_cast<unsigned char>(Key);
    if (Key == '\r' || Key == '\n' || (!FEditorEnabled && (Ch >= 32 || Key == '\b')))
        Key = 0;
    if (Key != 0)
        TCustomEdit::KeyPress(Key);
}

void TAsgEditBtn::DoEnter()
{
    if (AutoSelect() && !ControlState().Contains(csLButtonDown) && GetKeyState(VK_LBUTTON) >= 0)
        SelectAll();
    TCustomEdit::DoEnter();
}

void TAsgEditBtn::WMCut(TMessage& Message)
{
    if (FEditorEnabled && !ReadOnly())
        Inherited(Message);
}

void TAsgEditBtn::WMPaste(TMessage& Message)
{
    if (FEditorEnabled && !ReadOnly())
        Inherited(Message);
}

void TAsgEditBtn::CMFontChanged(TMessage& Message)
{
    Inherited(Message);
    SetBounds(Left(), Top(), Width(), Height());
}

const TMessageMap& TAsgEditBtn::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TAsgEditBtn::WMCut>(WM_CUT),
        OnMessage<&TAsgEditBtn::WMPaste>(WM_PASTE),
        OnMessage<&TAsgEditBtn::CMFontChanged>(CM_FONTCHANGED),
    });
    static constexpr TMessageMap Map{Handlers, &TCustomEdit::ClassMessageMap};
    return Map;
}

// ---- TAsgUnitEditBtn -------------------------------------------------------------------------

TAsgUnitEditBtn::TAsgUnitEditBtn(TComponent* AOwner)
    : TAsgEditBtn(AOwner), FUnits(std::make_unique<TStringList>())
{
    SetUnitSpaceValue(20);
    SetRightAlign(true);
}

TAsgUnitEditBtn::~TAsgUnitEditBtn() = default;

void TAsgUnitEditBtn::SetUnitID(const std::string& Value)
{
    FUnitID = Value;
    Invalidate();
}

void TAsgUnitEditBtn::SetUnitSpace(int Value)
{
    SetUnitSpaceValue(Value);
}

void TAsgUnitEditBtn::ClickBtn()
{
    TPopupMenu Menu(nullptr);
    for (int I = 0; I < FUnits->Count(); ++I) {
        auto* Item = new TMenuItem(&Menu);
        Item->SetCaption(FUnits->Strings(I));
        Menu.Items()->Add(Item);
    }
    const TPoint P = ClientToScreen(TPoint{Width() - 15, Height()});
    const UINT Command = TrackPopupMenu(&Menu, TPM_RETURNCMD, P.X, P.Y, Handle());
    for (int I = 0; I < Menu.Items()->Count(); ++I)
        if (Command != 0 && Menu.Items()->Items(I)->Command() == Command) {
            SetUnitID(FUnits->Strings(I));
            break;
        }
}

void TAsgUnitEditBtn::DrawUnit(TCanvas* Canvas)
{
    TRect R = Rect(ClientWidth() - Button()->Width() - UnitSpace() - 3 + 1, 2,
                   ClientWidth() - Button()->Width() - 3 + 1, ClientHeight());
    Canvas->SetFont(Font());
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->DrawText(FUnitID, R, DT_LEFT | DT_EDITCONTROL);
}

void TAsgUnitEditBtn::WMPaint(TMessage& Message)
{
    Inherited(Message);
    if (FUnitID.empty())
        return;
    if (Message.WParam != 0) {
        DrawUnit(reinterpret_cast<HDC>(Message.WParam));
        return;
    }
    const HDC DC = GetDC(Handle());
    if (DC == nullptr)
        return;
    DrawUnit(DC);
    ReleaseDC(Handle(), DC);
}

const TMessageMap& TAsgUnitEditBtn::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TAsgUnitEditBtn::WMPaint>(WM_PAINT),
    });
    static constexpr TMessageMap Map{Handlers, &TAsgEditBtn::ClassMessageMap};
    return Map;
}
