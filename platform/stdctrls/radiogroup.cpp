#include "platform/stdctrls/radiogroup.h"

#include "platform/stdctrls/radiobutton.h"

#include <algorithm>

// A radio button of the group: its click sets the group's ItemIndex.
class TCustomRadioGroup::TGroupButton : public TRadioButton {
public:
    TGroupButton(TCustomRadioGroup* Group) : TRadioButton(Group), FGroup(Group)
    {
        SetParent(Group);
    }

protected:
    void Click() override
    {
        if (FInClick)
            return;
        FInClick = true;
        try {
            if (Checked())
                FGroup->ButtonClick(this);
        } catch (...) {
            FInClick = false;
            throw;
        }
        FInClick = false;
        TRadioButton::Click();
    }
    void KeyPress(char& Key) override
    {
        TRadioButton::KeyPress(Key);
        if (Key == 8 || Key == ' ') {
            if (!FGroup->CanModify())
                Key = 0;
        }
    }

private:
    TCustomRadioGroup* FGroup;
    bool FInClick = false;
};

const TMessageMap& TCustomRadioGroup::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TCustomRadioGroup::CMFontChanged>(CM_FONTCHANGED),
        OnMessage<&TCustomRadioGroup::CMEnabledChanged>(CM_ENABLEDCHANGED),
    });
    static constexpr TMessageMap Map{Handlers, &TCustomGroupBox::ClassMessageMap};
    return Map;
}

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner)
    : TCustomGroupBox(AOwner), FItems(std::make_unique<TStringList>())
{
    FItems->OnChange = [this](TObject*) { ItemsChanged(); };
}

TCustomRadioGroup::~TCustomRadioGroup()
{
    FItems->OnChange = nullptr;
    // The buttons go with the group's components; forget them first.
    FButtons.clear();
}

TRadioButton* TCustomRadioGroup::Buttons(int Index) const
{
    return FButtons.at(static_cast<std::size_t>(Index));
}

void TCustomRadioGroup::SetItemIndex(int Value)
{
    Value = std::clamp(Value, -1, static_cast<int>(FButtons.size()) - 1);
    if (Value == FItemIndex)
        return;
    if (Value < 0) {
        if (FItemIndex >= 0)
            FButtons[static_cast<std::size_t>(FItemIndex)]->SetChecked(false);
        FItemIndex = -1;
        Click();
        return;
    }
    FButtons[static_cast<std::size_t>(Value)]->SetChecked(true); // lands in ButtonClick
}

void TCustomRadioGroup::SetColumns(int Value)
{
    Value = std::clamp(Value, 1, 16);
    if (Value != FColumns) {
        FColumns = Value;
        ArrangeButtons();
        Invalidate();
    }
}

void TCustomRadioGroup::ButtonClick(TGroupButton* Button)
{
    if (FUpdating)
        return;
    FItemIndex =
        static_cast<int>(std::find(FButtons.begin(), FButtons.end(), Button) - FButtons.begin());
    Changed();
    Click();
}

void TCustomRadioGroup::ItemsChanged()
{
    FUpdating = true;
    const auto Count = static_cast<std::size_t>(FItems->Count());
    while (FButtons.size() > Count) {
        delete FButtons.back();
        FButtons.pop_back();
    }
    while (FButtons.size() < Count)
        FButtons.push_back(new TGroupButton(this));
    for (std::size_t I = 0; I < Count; ++I) {
        FButtons[I]->SetCaption(FItems->Strings(static_cast<int>(I)));
        FButtons[I]->SetEnabled(Enabled());
        FButtons[I]->SetChecked(static_cast<int>(I) == FItemIndex);
    }
    if (FItemIndex >= static_cast<int>(Count))
        FItemIndex = -1;
    FUpdating = false;
    ArrangeButtons();
    Invalidate();
}

void TCustomRadioGroup::ArrangeButtons()
{
    if (FButtons.empty())
        return;
    TCanvas Measure;
    Measure.SetFont(Font());
    const int TextHeight = Measure.TextHeight("0");
    const int Count = static_cast<int>(FButtons.size());
    const int PerColumn = std::max(1, (Count + FColumns - 1) / FColumns);
    const int ButtonWidth = (Width() - 10) / FColumns;
    const int Space = Height() - TextHeight - 5;
    const int ButtonHeight = std::max(1, Space / PerColumn);
    const int TopMargin = TextHeight + 1 + (Space % PerColumn) / 2;
    for (int I = 0; I < Count; ++I)
        FButtons[static_cast<std::size_t>(I)]->SetBounds((I / PerColumn) * ButtonWidth + 8,
                                                         (I % PerColumn) * ButtonHeight + TopMargin,
                                                         ButtonWidth, ButtonHeight);
}

void TCustomRadioGroup::Resize()
{
    ArrangeButtons();
    TCustomGroupBox::Resize();
}

void TCustomRadioGroup::CMFontChanged(TMessage& Message)
{
    Inherited(Message);
    ArrangeButtons();
}

void TCustomRadioGroup::CMEnabledChanged(TMessage& Message)
{
    Inherited(Message);
    for (TGroupButton* Button : FButtons)
        Button->SetEnabled(Enabled());
}
