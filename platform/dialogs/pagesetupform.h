// platform/dialogs/pagesetupform.h: TPageSetupForm, the page set-up dialog's form: a sample of
// the page, the paper size, the orientation and the four margins (inches or millimetres), with
// the caller's hook given every message once the form is made.
#pragma once

#include "platform/dialogs/printformbase.h"

#include <array>

class TPaintBox;

class TPageSetupForm : public TPrintFormBase {
public:
    TPageSetupForm(TComponent* AOwner, const TDialogRequest& Request, HWND OwnerWindow = 0);
    ~TPageSetupForm() override;

    TDialogAnswer Answer() const override;

    TComboBox* PaperBox() const { return FPaper; }
    TRadioButton* Portrait() const { return FPortrait; }
    TRadioButton* Landscape() const { return FLandscape; }
    // Left, top, right, bottom.
    TEdit* MarginEdit(int Side) const { return FMargins[static_cast<std::size_t>(Side)]; }
    TPaintBox* Sample() const { return FSample; }

protected:
    void WndProc(TMessage& Message) override;
    void OkClick() override;

private:
    void PaintSample();
    // The margins as the fields have them; false (Side: the first field that holds no number)
    // when one holds none.
    bool ReadMargins(TRect& Margins, int& Side) const;

    TComboBox* FPaper = nullptr;
    TRadioButton* FPortrait = nullptr;
    TRadioButton* FLandscape = nullptr;
    std::array<TEdit*, 4> FMargins{};
    TPaintBox* FSample = nullptr;
    bool FHooked = false; // the hook has had WM_INITDIALOG and gets the messages
};

// A margin in the dialog's units (thousandths of an inch, or hundredths of a millimetre when
// Metric) as its field shows it ("1", "0.75", "25.4"), and read back; false for a text that is
// no number of them.
std::string FormatMargin(int Value, bool Metric);
bool ParseMargin(const std::string& Text, bool Metric, int& Value);
