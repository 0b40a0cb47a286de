// platform/dialogs/fontform.cpp: the font dialog's form: its lists, its checks on OK, and the
// sample.
#include "platform/dialogs/fontform.h"

#include "platform/gfx/fontengine.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/strings.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/checkbox.h"
#include "platform/stdctrls/combobox.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/groupbox.h"
#include "platform/stdctrls/label.h"
#include "platform/stdctrls/listbox.h"
#include "platform/stdctrls/paintbox.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/window.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The option bits the form looks at (as TFontDialogOption numbers them).
constexpr unsigned EffectsBit = 1u << 2;
constexpr unsigned ForceFontExistBit = 1u << 4;
constexpr unsigned NoFaceSelBit = 1u << 5;
constexpr unsigned NoSizeSelBit = 1u << 8;
constexpr unsigned NoStyleSelBit = 1u << 9;

const char* const StyleNames[] = {"Regular", "Italic", "Bold", "Bold Italic"};
const int Sizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

int StyleIndex(TFontStyles Style)
{
    return (Style.Contains(fsItalic) ? 1 : 0) + (Style.Contains(fsBold) ? 2 : 0);
}

bool ParseSize(const std::string& Text, int& Size)
{
    const std::string T = Trim(Text);
    if (T.empty() || T.size() > 4 || T.find_first_not_of("0123456789") != std::string::npos)
        return false;
    Size = std::atoi(T.c_str());
    return Size > 0;
}

} // namespace

const std::vector<std::pair<std::string, TColor>>& TFontForm::NamedColors()
{
    static const std::vector<std::pair<std::string, TColor>> Colors = {
        {"Black", clBlack},   {"Maroon", clMaroon},   {"Green", clGreen}, {"Olive", clOlive},
        {"Navy", clNavy},     {"Purple", clPurple},   {"Teal", clTeal},   {"Gray", clGray},
        {"Silver", clSilver}, {"Red", clRed},         {"Lime", clLime},   {"Yellow", clYellow},
        {"Blue", clBlue},     {"Fuchsia", clFuchsia}, {"Aqua", clAqua},   {"White", clWhite},
    };
    return Colors;
}

const std::vector<std::pair<std::string, int>>& TFontForm::Scripts()
{
    static const std::vector<std::pair<std::string, int>> Names = {
        {"Western", ANSI_CHARSET},
        {"Symbol", SYMBOL_CHARSET},
        {"Greek", 161},
        {"Turkish", 162},
        {"Hebrew", 177},
        {"Arabic", 178},
        {"Baltic", 186},
        {"Cyrillic", 204},
        {"Central European", 238},
    };
    return Names;
}

TFontForm::TFontForm(TComponent* AOwner, const TDialogRequest& Request, HWND OwnerWindow)
    : TDialogForm(AOwner, OwnerWindow), FRequest(Request)
{
    SetBorderStyle(bsDialog);
    SetBorderIcons(TBorderIcons{biSystemMenu});
    SetColor(clBtnFace);
    SetCaption("Font");
    SetClientWidth(432);
    SetClientHeight(284);
    // The lists and combo boxes keep their items and selection in their windows.
    HandleNeeded();
    BuildControls();

    const TFontDescription& Font = Request.Font;
    SetFamilies(InstalledFontFamilies());
    if ((Request.Options & NoFaceSelBit) == 0)
        FFaceEdit->SetText(Font.Name);
    if ((Request.Options & NoStyleSelBit) == 0)
        FStyleEdit->SetText(StyleNames[StyleIndex(Font.Style)]);
    if ((Request.Options & NoSizeSelBit) == 0)
        FSizeEdit->SetText(IntToStr(Font.Size));
    FStrikeOut->SetChecked(Font.Style.Contains(fsStrikeOut));
    FUnderline->SetChecked(Font.Style.Contains(fsUnderline));
    // The colour by its name; another one is offered as "Custom".
    const TColor Rgb = ColorToRGB(Font.Color);
    for (const auto& Named : NamedColors()) {
        FColor->Items()->Add(Named.first);
        FColors.push_back(Named.second);
    }
    auto Found = std::find(FColors.begin(), FColors.end(), Rgb);
    if (Found == FColors.end()) {
        FColor->Items()->Add("Custom");
        FColors.push_back(Rgb);
        Found = FColors.end() - 1;
    }
    FColor->SetItemIndex(static_cast<int>(Found - FColors.begin()));
    int Script = 0;
    for (std::size_t I = 0; I < Scripts().size(); ++I) {
        FScript->Items()->Add(Scripts()[I].first);
        if (Scripts()[I].second == Font.Charset)
            Script = static_cast<int>(I);
    }
    FScript->SetItemIndex(Script);
    FEffects->SetVisible((Request.Options & EffectsBit) != 0);

    SetActiveControl(FFaceEdit);
    PlaceOverOwner();
}

void TFontForm::BuildControls()
{
    auto AddColumn = [this](const char* Name, const std::string& Caption, int X, int W,
                            TEdit*& Edit, TListBox*& List) {
        TLabel* Label = AddLabel(this, (std::string(Name) + "Label").c_str(), Caption, X, 8);
        Edit = new TEdit(this);
        Edit->SetName(std::string(Name) + "Edit");
        Edit->SetParent(this);
        Edit->SetBounds(X, 24, W, 21);
        List = new TListBox(this);
        List->SetName(std::string(Name) + "List");
        List->SetParent(this);
        List->SetIntegralHeight(false);
        List->SetBounds(X, 46, W, 106);
        Label->SetFocusControl(Edit);
        TEdit* TheEdit = Edit;
        TListBox* TheList = List;
        List->OnClick = [this, TheEdit, TheList](TObject*) {
            const int Index = TheList->ItemIndex();
            if (Index >= 0)
                TheEdit->SetText(TheList->Items()->Strings(Index));
            FSample->Invalidate();
        };
        Edit->OnChange = [this, TheEdit, TheList](TObject*) {
            FollowEdit(TheEdit, TheList);
            FSample->Invalidate();
        };
    };
    AddColumn("Face", "&Font:", 8, 160, FFaceEdit, FFaceList);
    FFaceList->SetSorted(true);
    AddColumn("Style", "Font st&yle:", 176, 110, FStyleEdit, FStyleList);
    for (const char* Name : StyleNames)
        FStyleList->Items()->Add(Name);
    AddColumn("Size", "&Size:", 294, 50, FSizeEdit, FSizeList);
    for (int Size : Sizes)
        if ((FRequest.MinFontSize <= 0 || Size >= FRequest.MinFontSize) &&
            (FRequest.MaxFontSize <= 0 || Size <= FRequest.MaxFontSize))
            FSizeList->Items()->Add(IntToStr(Size));

    FOk = new TButton(this);
    FOk->SetName("OK");
    FOk->SetParent(this);
    FOk->SetCaption("OK");
    FOk->SetBounds(352, 24, 72, 23);
    FOk->SetDefault(true);
    FOk->OnClick = [this](TObject*) { OkClick(); };
    FCancel = new TButton(this);
    FCancel->SetName("Cancel");
    FCancel->SetParent(this);
    FCancel->SetCaption("Cancel");
    FCancel->SetBounds(352, 52, 72, 23);
    FCancel->SetCancel(true);
    FCancel->SetModalResult(mrCancel);

    FEffects = new TGroupBox(this);
    FEffects->SetName("Effects");
    FEffects->SetParent(this);
    FEffects->SetCaption("Effects");
    FEffects->SetBounds(8, 160, 160, 116);
    auto AddCheck = [this](const char* Name, const std::string& Caption, int Y) {
        auto* Check = new TCheckBox(this);
        Check->SetName(Name);
        Check->SetParent(FEffects);
        Check->SetCaption(Caption);
        Check->SetBounds(10, Y, 140, 17);
        Check->OnClick = [this](TObject*) { FSample->Invalidate(); };
        return Check;
    };
    FStrikeOut = AddCheck("StrikeOut", "Stri&keout", 20);
    FUnderline = AddCheck("Underline", "&Underline", 42);
    TLabel* ColorLabel = AddLabel(FEffects, "ColorLabel", "&Color:", 10, 66);
    FColor = new TComboBox(this);
    FColor->SetName("Color");
    FColor->SetParent(FEffects);
    FColor->SetStyle(csDropDownList);
    FColor->SetBounds(10, 82, 140, FColor->Height());
    FColor->OnChange = [this](TObject*) { FSample->Invalidate(); };
    ColorLabel->SetFocusControl(FColor);

    FSampleBox = new TGroupBox(this);
    FSampleBox->SetName("SampleBox");
    FSampleBox->SetParent(this);
    FSampleBox->SetCaption("Sample");
    FSampleBox->SetBounds(176, 160, 248, 68);
    FSample = new TPaintBox(this);
    FSample->SetName("Sample");
    FSample->SetParent(FSampleBox);
    FSample->SetBounds(8, 18, 232, 42);
    FSample->OnPaint = [this](TObject*) { PaintSample(); };

    TLabel* ScriptLabel = AddLabel(this, "ScriptLabel", "Sc&ript:", 176, 236);
    FScript = new TComboBox(this);
    FScript->SetName("Script");
    FScript->SetParent(this);
    FScript->SetStyle(csDropDownList);
    FScript->SetBounds(176, 252, 248, FScript->Height());
    FScript->OnChange = [this](TObject*) {
        FCharsetChosen = true;
        FSample->Invalidate();
    };
    ScriptLabel->SetFocusControl(FScript);
}

void TFontForm::SetFamilies(const std::vector<std::string>& Families)
{
    FFaceList->Items()->BeginUpdate();
    FFaceList->Items()->Clear();
    for (const std::string& Family : Families)
        FFaceList->Items()->Add(Family);
    FFaceList->Items()->EndUpdate();
    FollowEdit(FFaceEdit, FFaceList);
}

void TFontForm::FollowEdit(TEdit* Edit, TListBox* List)
{
    const std::string Text = Edit->Text();
    int Match = -1;
    for (int I = 0; I < List->Items()->Count() && Match < 0; ++I)
        if (SameText(List->Items()->Strings(I), Text))
            Match = I;
    List->SetItemIndex(Match);
    if (Match >= 0)
        List->SetTopIndex(std::max(0, Match - 2));
}

TFontDescription TFontForm::Chosen() const
{
    TFontDescription Font = FRequest.Font;
    Font.Name = Trim(FFaceEdit->Text());
    int Size = 0;
    if (ParseSize(FSizeEdit->Text(), Size))
        Font.Size = Size;
    const std::string Style = Trim(FStyleEdit->Text());
    int Index = 0;
    for (int I = 0; I < 4; ++I)
        if (SameText(Style, StyleNames[I]))
            Index = I;
    Font.Style = TFontStyles{};
    if (Index & 1)
        Font.Style.Include(fsItalic);
    if (Index & 2)
        Font.Style.Include(fsBold);
    if (FStrikeOut->Checked())
        Font.Style.Include(fsStrikeOut);
    if (FUnderline->Checked())
        Font.Style.Include(fsUnderline);
    const int ColorIndex = FColor->ItemIndex();
    if (ColorIndex >= 0 && ColorIndex < static_cast<int>(FColors.size()) &&
        FColors[ColorIndex] != ColorToRGB(FRequest.Font.Color))
        Font.Color = FColors[ColorIndex];
    const int Script = FScript->ItemIndex();
    if (FCharsetChosen && Script >= 0 && Script < static_cast<int>(Scripts().size()))
        Font.Charset = static_cast<TFontCharset>(Scripts()[Script].second);
    return Font;
}

void TFontForm::OkClick()
{
    const unsigned Options = FRequest.Options;
    if ((Options & ForceFontExistBit) != 0 &&
        FFaceList->Items()->IndexOf(Trim(FFaceEdit->Text())) < 0) {
        MessageDlg("There is no font with that name.\nChoose a font from the list of fonts.",
                   mtWarning, TMsgDlgButtons{mbOK}, 0);
        FocusControl(FFaceEdit);
        return;
    }
    int Size = 0;
    if (!ParseSize(FSizeEdit->Text(), Size)) {
        MessageDlg("Size must be a number.", mtWarning, TMsgDlgButtons{mbOK}, 0);
        FocusControl(FSizeEdit);
        return;
    }
    const int Min = FRequest.MinFontSize;
    const int Max = FRequest.MaxFontSize;
    if ((Min > 0 && Size < Min) || (Max > 0 && Size > Max)) {
        MessageDlg("Size must be between " + IntToStr(Min > 0 ? Min : 1) + " and " +
                       IntToStr(Max > 0 ? Max : 1638) + " points.",
                   mtWarning, TMsgDlgButtons{mbOK}, 0);
        FocusControl(FSizeEdit);
        return;
    }
    SetModalResult(mrOk);
}

void TFontForm::PaintSample()
{
    TCanvas* C = FSample->Canvas();
    const TRect Box = FSample->ClientRect();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(Box);
    const TFontDescription Font = Chosen();
    C->Font()->SetName(Font.Name);
    C->Font()->SetSize(Font.Size);
    C->Font()->SetStyle(Font.Style);
    C->Font()->SetColor((FRequest.Options & EffectsBit) != 0 ? Font.Color : clWindowText);
    C->Font()->SetCharset(Font.Charset);
    C->Brush()->SetStyle(bsClear);
    TRect Text = Box;
    C->DrawText("AaBbYyZz", Text, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    C->Brush()->SetStyle(bsSolid);
}

TDialogAnswer TFontForm::Answer() const
{
    TDialogAnswer Result;
    Result.Result = ModalResult() == mrOk ? mrOk : mrCancel;
    Result.Font = Chosen();
    return Result;
}
