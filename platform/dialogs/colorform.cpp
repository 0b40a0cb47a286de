// platform/dialogs/colorform.cpp: the colour dialog's form and its grid of swatches.
#include "platform/dialogs/colorform.h"

#include "platform/rtl/convert.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/label.h"
#include "platform/stdctrls/paintbox.h"
#include "platform/ui/input.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/window.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int Columns = 8;
constexpr int LeftPart = 222; // the client width folded
constexpr int RightPart = 220;
constexpr int ClientH = 292;
constexpr unsigned FullOpenBit = 1u << 0;
constexpr unsigned PreventFullOpenBit = 1u << 1;

int IndexOf(const std::vector<TColor>& Colors, TColor Color)
{
    const auto It = std::find(Colors.begin(), Colors.end(), Color);
    return It == Colors.end() ? -1 : static_cast<int>(It - Colors.begin());
}

} // namespace

// ---- the grid

TColorGrid::TColorGrid(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetTabStop(true);
}

const TMessageMap& TColorGrid::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TColorGrid::WMGetDlgCode>(WM_GETDLGCODE),
        OnMessage<&TColorGrid::WMFocusChanged>(WM_SETFOCUS),
        OnMessage<&TColorGrid::WMFocusChanged>(WM_KILLFOCUS),
    });
    static constexpr TMessageMap Map{Handlers, &TCustomControl::ClassMessageMap};
    return Map;
}

void TColorGrid::SetColors(const std::vector<TColor>& Value, int ColumnCount)
{
    FColors = Value;
    FColumns = std::max(1, ColumnCount);
    const int Rows = (static_cast<int>(FColors.size()) + FColumns - 1) / FColumns;
    SetBounds(Left(), Top(), FColumns * CellWidth, Rows * CellHeight);
    if (FSelected >= static_cast<int>(FColors.size()))
        FSelected = -1;
    Invalidate();
}

void TColorGrid::SetColor(int Index, TColor Value)
{
    if (Index < 0 || Index >= static_cast<int>(FColors.size()))
        return;
    FColors[Index] = Value;
    Invalidate();
}

void TColorGrid::SetSelected(int Index)
{
    if (Index < -1 || Index >= static_cast<int>(FColors.size()))
        Index = -1;
    if (Index == FSelected)
        return;
    FSelected = Index;
    Invalidate();
}

TRect TColorGrid::CellRect(int Index) const
{
    const int X = (Index % FColumns) * CellWidth;
    const int Y = (Index / FColumns) * CellHeight;
    return Rect(X, Y, X + CellWidth, Y + CellHeight);
}

int TColorGrid::CellAt(int X, int Y) const
{
    if (X < 0 || Y < 0 || X >= FColumns * CellWidth)
        return -1;
    const int Index = (Y / CellHeight) * FColumns + X / CellWidth;
    return Index < static_cast<int>(FColors.size()) ? Index : -1;
}

void TColorGrid::Paint()
{
    TCanvas* C = Canvas();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(ClientRect());
    for (int I = 0; I < static_cast<int>(FColors.size()); ++I) {
        TRect Cell = CellRect(I);
        if (I == FSelected) {
            // The selected swatch sits in a black frame.
            C->Brush()->SetColor(clBlack);
            C->FrameRect(Cell);
        }
        TRect Swatch = Rect(Cell.Left + 3, Cell.Top + 3, Cell.Right - 3, Cell.Bottom - 3);
        C->DrawEdge(Swatch, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        C->Brush()->SetColor(FColors[I]);
        C->FillRect(Swatch);
        if (I == FSelected && Focused()) {
            TRect Focus = Rect(Cell.Left + 1, Cell.Top + 1, Cell.Right - 1, Cell.Bottom - 1);
            C->Brush()->SetColor(clBtnFace);
            C->DrawFocusRect(Focus);
        }
    }
}

void TColorGrid::Choose(int Index)
{
    if (Index < 0)
        return;
    SetSelected(Index);
    if (OnChange)
        OnChange(this);
}

void TColorGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (CanFocus())
        SetFocus();
    if (Button == mbLeft)
        Choose(CellAt(X, Y));
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TColorGrid::KeyDown(Word& Key, TShiftState Shift)
{
    const int Count = static_cast<int>(FColors.size());
    if (Count > 0) {
        const int From = FSelected < 0 ? 0 : FSelected;
        int To = -1;
        switch (Key) {
        case VK_LEFT:
            To = From > 0 ? From - 1 : From;
            break;
        case VK_RIGHT:
            To = From + 1 < Count ? From + 1 : From;
            break;
        case VK_UP:
            To = From >= FColumns ? From - FColumns : From;
            break;
        case VK_DOWN:
            To = From + FColumns < Count ? From + FColumns : From;
            break;
        default:
            break;
        }
        if (To >= 0) {
            Choose(To);
            Key = 0;
        }
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TColorGrid::WMGetDlgCode(TMessage& Message)
{
    Message.Result = DLGC_WANTARROWS;
}

void TColorGrid::WMFocusChanged(TMessage& Message)
{
    Inherited(Message);
    Invalidate();
}

// ---- the form

const std::vector<TColor>& TColorForm::BasicColors()
{
    static const std::vector<TColor> Colors = {
        RGB(255, 128, 128), RGB(255, 255, 128), RGB(128, 255, 128), RGB(0, 255, 128),
        RGB(128, 255, 255), RGB(0, 128, 255),   RGB(255, 128, 192), RGB(255, 128, 255),
        RGB(255, 0, 0),     RGB(255, 255, 0),   RGB(128, 255, 0),   RGB(0, 255, 64),
        RGB(0, 255, 255),   RGB(0, 128, 192),   RGB(128, 128, 192), RGB(255, 0, 255),
        RGB(128, 64, 64),   RGB(255, 128, 64),  RGB(0, 255, 0),     RGB(0, 128, 128),
        RGB(0, 64, 128),    RGB(128, 128, 255), RGB(128, 0, 64),    RGB(255, 0, 128),
        RGB(128, 0, 0),     RGB(255, 128, 0),   RGB(0, 128, 0),     RGB(0, 128, 64),
        RGB(0, 0, 255),     RGB(0, 0, 160),     RGB(128, 0, 128),   RGB(128, 0, 255),
        RGB(64, 0, 0),      RGB(128, 64, 0),    RGB(0, 64, 0),      RGB(0, 64, 64),
        RGB(0, 0, 128),     RGB(0, 0, 64),      RGB(64, 0, 64),     RGB(64, 0, 128),
        RGB(0, 0, 0),       RGB(128, 128, 0),   RGB(128, 128, 64),  RGB(128, 128, 128),
        RGB(64, 128, 128),  RGB(192, 192, 192), RGB(64, 0, 64),     RGB(255, 255, 255),
    };
    return Colors;
}

TColorForm::TColorForm(TComponent* AOwner, const TDialogRequest& Request, HWND OwnerWindow)
    : TDialogForm(AOwner, OwnerWindow)
{
    SetBorderStyle(bsDialog);
    SetBorderIcons(TBorderIcons{biSystemMenu});
    SetColor(clBtnFace);
    SetCaption("Color");
    // The lists and combo boxes keep their items and selection in their windows.
    HandleNeeded();
    SetClientWidth(LeftPart);
    SetClientHeight(ClientH);

    auto AddButton = [this](const char* Name, const std::string& Caption, int X, int Y, int W) {
        auto* Button = new TButton(this);
        Button->SetName(Name);
        Button->SetParent(this);
        Button->SetCaption(Caption);
        Button->SetBounds(X, Y, W, 23);
        return Button;
    };

    TLabel* BasicLabel = AddLabel(this, "BasicLabel", "&Basic colors:", 8, 8);
    FBasic = new TColorGrid(this);
    FBasic->SetName("Basic");
    FBasic->SetParent(this);
    FBasic->SetLeft(8);
    FBasic->SetTop(24);
    FBasic->SetColors(BasicColors(), Columns);
    FBasic->OnChange = [this](TObject*) {
        FCustom->SetSelected(-1);
        SetCurrent(FBasic->Colors()[FBasic->Selected()]);
    };
    BasicLabel->SetFocusControl(FBasic);

    TLabel* CustomLabel = AddLabel(this, "CustomLabel", "&Custom colors:", 8, 160);
    FCustom = new TColorGrid(this);
    FCustom->SetName("Custom");
    FCustom->SetParent(this);
    FCustom->SetLeft(8);
    FCustom->SetTop(176);
    std::vector<TColor> Custom = Request.CustomColors;
    Custom.resize(16, clWhite);
    FCustom->SetColors(Custom, Columns);
    FCustom->OnChange = [this](TObject*) {
        FBasic->SetSelected(-1);
        SetCurrent(FCustom->Colors()[FCustom->Selected()]);
    };
    CustomLabel->SetFocusControl(FCustom);

    FDefine = AddButton("Define", "&Define Custom Colors >>", 8, 228, 206);
    FDefine->SetEnabled((Request.Options & PreventFullOpenBit) == 0);
    FDefine->OnClick = [this](TObject*) { Expand(); };
    FOk = AddButton("OK", "OK", 8, 260, 66);
    FOk->SetDefault(true);
    FOk->SetModalResult(mrOk);
    FCancel = AddButton("Cancel", "Cancel", 80, 260, 66);
    FCancel->SetCancel(true);
    FCancel->SetModalResult(mrCancel);

    // The defining part, right of the grids; shown by Expand.
    const int X = LeftPart + 8;
    FSample = new TPaintBox(this);
    FSample->SetName("Sample");
    FSample->SetParent(this);
    FSample->SetBounds(X, 24, 90, 60);
    FSample->OnPaint = [this](TObject*) {
        TCanvas* C = FSample->Canvas();
        TRect R = FSample->ClientRect();
        C->DrawEdge(R, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        C->Brush()->SetColor(FCurrent);
        C->FillRect(R);
    };
    FSampleLabel = AddLabel(this, "SampleLabel", "Color|Solid", X, 88);
    const char* const Names[] = {"Red", "Green", "Blue"};
    const char* const Captions[] = {"&Red:", "&Green:", "Bl&ue:"};
    TEdit** Edits[] = {&FRed, &FGreen, &FBlue};
    for (int I = 0; I < 3; ++I) {
        TLabel* Label = AddLabel(this, (std::string(Names[I]) + "Label").c_str(), Captions[I],
                                 X + 106, 28 + 28 * I);
        auto* Edit = new TEdit(this);
        Edit->SetName(Names[I]);
        Edit->SetParent(this);
        Edit->SetBounds(X + 156, 24 + 28 * I, 44, 21);
        Edit->SetMaxLength(3);
        Edit->OnChange = [this](TObject*) { ChannelsChanged(); };
        Label->SetFocusControl(Edit);
        *Edits[I] = Edit;
        FChannelLabels.push_back(Label);
    }
    FAdd = AddButton("Add", "&Add to Custom Colors", X, 228, RightPart - 16);
    FAdd->OnClick = [this](TObject*) { AddToCustom(); };
    for (TControl* Part :
         std::initializer_list<TControl*>{FSample, FSampleLabel, FRed, FGreen, FBlue, FAdd})
        Part->SetVisible(false);
    for (TLabel* Label : FChannelLabels)
        Label->SetVisible(false);

    // The starting colour: selected where a swatch has it.
    const TColor Start = ColorToRGB(Request.Color);
    const int InBasic = IndexOf(BasicColors(), Start);
    const int InCustom = InBasic < 0 ? IndexOf(Custom, Start) : -1;
    FBasic->SetSelected(InBasic);
    FCustom->SetSelected(InCustom);
    SetCurrent(Start);
    if ((Request.Options & FullOpenBit) != 0 && FDefine->Enabled())
        Expand();
    SetActiveControl(InCustom >= 0 ? FCustom : FBasic);

    PlaceOverOwner();
}

void TColorForm::Expand()
{
    if (FExpanded)
        return;
    FExpanded = true;
    SetClientWidth(LeftPart + RightPart);
    for (TControl* Part :
         std::initializer_list<TControl*>{FSample, FSampleLabel, FRed, FGreen, FBlue, FAdd})
        Part->SetVisible(true);
    for (TLabel* Label : FChannelLabels)
        Label->SetVisible(true);
    if (FDefine->Focused())
        FocusControl(FRed);
    FDefine->SetEnabled(false);
    // The custom colour to define is the selected one, else the first.
    if (FCustom->Selected() < 0) {
        FCustom->SetSelected(0);
        FBasic->SetSelected(IndexOf(BasicColors(), FCurrent));
    }
}

void TColorForm::SetCurrent(TColor Color)
{
    FCurrent = Color;
    ShowChannels();
    FSample->Invalidate();
}

void TColorForm::ShowChannels()
{
    FSettingChannels = true;
    FRed->SetText(IntToStr(GetRValue(FCurrent)));
    FGreen->SetText(IntToStr(GetGValue(FCurrent)));
    FBlue->SetText(IntToStr(GetBValue(FCurrent)));
    FSettingChannels = false;
}

void TColorForm::ChannelsChanged()
{
    if (FSettingChannels)
        return;
    auto Channel = [](TEdit* Edit) { return std::clamp(std::atoi(Edit->Text().c_str()), 0, 255); };
    FCurrent = RGB(Channel(FRed), Channel(FGreen), Channel(FBlue));
    FBasic->SetSelected(IndexOf(BasicColors(), FCurrent));
    FSample->Invalidate();
}

void TColorForm::AddToCustom()
{
    const int Slot = FCustom->Selected() >= 0 ? FCustom->Selected() : 0;
    FCustom->SetColor(Slot, FCurrent);
    // The next "Add" fills the next slot, as the classic dialog does.
    FCustom->SetSelected((Slot + 1) % static_cast<int>(FCustom->Colors().size()));
}

TDialogAnswer TColorForm::Answer() const
{
    TDialogAnswer Result;
    Result.Result = ModalResult() == mrOk ? mrOk : mrCancel;
    Result.Color = FCurrent;
    Result.CustomColors = FCustom->Colors();
    return Result;
}
