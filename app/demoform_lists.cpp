// app/demoform_lists.cpp: the demonstration form's page of lists: a list box and a combo box in
// each of the five styles, the owner-drawn ones showing colour swatches.
#include "app/demoform.h"

#include "platform/gfx/color.h"
#include "platform/stdctrls/combobox.h"
#include "platform/stdctrls/label.h"
#include "platform/stdctrls/listbox.h"
#include "platform/stdctrls/panel.h"

#include <string>

namespace {

const char* const ColourNames = "Black,Maroon,Green,Olive,Navy,Purple,Teal,Gray,Red,Lime";
const TColor Colours[] = {clBlack,  clMaroon, clGreen, clOlive, clNavy,
                          clPurple, clTeal,   clGray,  clRed,   clLime};

// An owner-drawn combo's item: a swatch of the colour, then its name.
void DrawSwatch(TComboBox* Combo, int Index, TRect Rect, TOwnerDrawState State)
{
    TCanvas* C = Combo->Canvas();
    C->FillRect(Rect);
    if (Index < 0 || Index >= Combo->Items()->Count())
        return;
    const TColor Text = C->Font()->Color();
    C->Brush()->SetColor(Colours[Index % 10]);
    C->Rectangle(TRect{Rect.Left + 2, Rect.Top + 2, Rect.Left + 26, Rect.Bottom - 2});
    C->Brush()->SetStyle(bsClear);
    C->Font()->SetColor(Text);
    C->TextOut(Rect.Left + 32, Rect.Top + 1, Combo->Items()->Strings(Index));
    (void)State;
}

} // namespace

void BuildListsPage(TDemoForm* Form, TPanel* Page)
{
    Form->List = new TListBox(Form);
    Form->List->SetParent(Page);
    Form->List->SetBounds(12, 12, 180, 252);
    Form->List->SetHint("A list box of fifty items");
    for (int I = 1; I <= 50; ++I)
        Form->List->Items()->Add("Message " + std::to_string(I));
    Form->List->SetItemIndex(0);

    const char* const Styles[] = {
        "Drop-down:", "Simple:", "Drop-down list:", "Owner-drawn:", "Variable:"};
    const int Tops[] = {12, 44, 132, 164, 196};
    for (int I = 0; I < 5; ++I) {
        auto* Label = new TLabel(Form);
        Label->SetParent(Page);
        Label->SetBounds(204, Tops[I] + 4, 104, 17);
        Label->SetCaption(Styles[I]);
        auto* Combo = new TComboBox(Form);
        Combo->SetParent(Page);
        Combo->SetStyle(static_cast<TComboBoxStyle>(I));
        Combo->SetBounds(312, Tops[I], 180, I == csSimple ? 80 : 24);
        Combo->Items()->SetCommaText(ColourNames);
        Combo->SetItemIndex(I);
        if (I >= csOwnerDrawFixed)
            Combo->OnDrawItem = [Combo](TWinControl*, int Index, TRect Rect,
                                        TOwnerDrawState State) {
                DrawSwatch(Combo, Index, Rect, State);
            };
        if (I == csOwnerDrawVariable)
            Combo->OnMeasureItem = [](TWinControl*, int Index, int& Height) {
                Height = Index % 2 == 0 ? 18 : 24;
            };
        Form->Combos.push_back(Combo);
    }
    Form->Combos[csDropDown]->SetHint("Type or pick a colour");
}
