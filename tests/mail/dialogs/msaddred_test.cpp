// The address dialog: its form, the editor InstallMailAddressEditor gives ZevMailAddress::Edit
// (OK hands the fields back, Cancel and the close box leave the address alone, the dialog is
// freed in every case), and the 255-byte cut that never splits a character.
#include "mail/dialogs/msaddred.h"

#include "tests/platform/forms/formstest.h"

#include "platform/stdctrls/bevel.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/label.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using TStep = std::function<void(TMailAddressDlg* Dialog)>;

TMailAddressDlg* DialogUp()
{
    return dynamic_cast<TMailAddressDlg*>(Screen->ActiveForm());
}

class MailAddressDlg : public ::testing::Test {
protected:
    void SetUp() override
    {
        FEditorBefore = ZevMailAddress::Editor;
        InstallMailAddressEditor();
    }
    void TearDown() override
    {
        App.OnIdle = nullptr;
        ZevMailAddress::Editor = FEditorBefore;
    }

    // Plays one step each time the loop runs dry while the dialog is up.
    void Script(std::vector<TStep> Steps)
    {
        FSteps = std::move(Steps);
        FRan = 0;
        App.OnIdle = [this](TObject*, bool& Done) {
            TMailAddressDlg* Dialog = DialogUp();
            if (Dialog == nullptr)
                return;
            Done = false;
            if (FRan < FSteps.size()) {
                FSteps[FRan++](Dialog);
                return;
            }
            ADD_FAILURE() << "the dialog is still up after the script's last step";
            Dialog->SetModalResult(mrCancel);
        };
    }

    TTestApplication App;

private:
    TMailAddressEditor FEditorBefore;
    std::vector<TStep> FSteps;
    std::size_t FRan = 0;
};

TStep Key(int VirtualKey, const std::string& Text = {})
{
    return [VirtualKey, Text](TMailAddressDlg*) { InjectKeyPress(VirtualKey, Text); };
}

TStep Type(const std::string& Text)
{
    return [Text](TMailAddressDlg*) {
        for (char C : Text)
            InjectKeyPress(C >= 'a' && C <= 'z' ? C - 32 : C, std::string(1, C));
    };
}

} // namespace

TEST_F(MailAddressDlg, TheFormHasItsComponentsWhereTheyBelong)
{
    auto Dialog = std::make_unique<TMailAddressDlg>(nullptr);
    EXPECT_EQ(Dialog->Name(), "MailAddressDlg");
    EXPECT_EQ(Dialog->Caption(), "Address");
    EXPECT_EQ(Dialog->BorderStyle(), bsDialog);
    EXPECT_EQ(Dialog->ClientWidth(), 240);
    EXPECT_EQ(Dialog->ClientHeight(), 124);
    struct TCase {
        const char* Name;
        TRect Bounds; // a zero width or height is not checked (labels size to their text)
        int TabOrder; // -1: no window
    };
    const std::vector<TCase> Cases = {
        {"Bevel1", Bounds(8, 8, 225, 73), -1},        {"Label2", Bounds(24, 24, 0, 0), -1},
        {"NameEdit", Bounds(64, 16, 161, 0), 0},      {"Label1", Bounds(16, 56, 0, 0), -1},
        {"AddressEdit", Bounds(64, 48, 161, 0), 1},   {"OKButton", Bounds(75, 89, 75, 25), 2},
        {"CancelButton", Bounds(158, 89, 75, 25), 3},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        auto* Control = dynamic_cast<TControl*>(Dialog->FindComponent(Case.Name));
        ASSERT_NE(Control, nullptr);
        EXPECT_EQ(Control->Left(), Case.Bounds.Left);
        EXPECT_EQ(Control->Top(), Case.Bounds.Top);
        if (Case.Bounds.Width() > 0) {
            EXPECT_EQ(Control->Width(), Case.Bounds.Width());
        }
        if (Case.Bounds.Height() > 0) {
            EXPECT_EQ(Control->Height(), Case.Bounds.Height());
        }
        if (Case.TabOrder >= 0) {
            EXPECT_EQ(dynamic_cast<TWinControl*>(Control)->TabOrder(), Case.TabOrder);
        }
    }
    EXPECT_EQ(Dialog->Label2->Caption(), "Name");
    EXPECT_EQ(Dialog->Label1->Caption(), "Address");
    EXPECT_TRUE(Dialog->OKButton->Default());
    EXPECT_EQ(Dialog->OKButton->ModalResult(), mrOk);
    EXPECT_TRUE(Dialog->CancelButton->Cancel());
    EXPECT_EQ(Dialog->CancelButton->ModalResult(), mrCancel);
    // Below the bevel, inside the client area.
    EXPECT_GE(Dialog->OKButton->Top(), Dialog->Bevel1->BoundsRect().Bottom);
    EXPECT_LE(Dialog->CancelButton->BoundsRect().Bottom, Dialog->ClientHeight());
    ASSERT_NE(Dialog->Address(), nullptr);
}

TEST_F(MailAddressDlg, EditShowsTheDialogAndTakesBackOnlyWhatOkConfirms)
{
    struct TCase {
        const char* Name;
        std::vector<TStep> Steps;
        bool Result;
        const char* Name2;
        const char* Address;
    };
    const auto Empty = [](TMailAddressDlg* D) {
        D->NameEdit->SetText("");
        D->AddressEdit->SetText("");
    };
    const std::vector<TCase> Cases = {
        {"typed, then Escape", {Type("x"), Key(VK_ESCAPE)}, false, "Ann Smith", "ann@example.org"},
        {"typed, then Cancel clicked",
         {Type("x"),
          [](TMailAddressDlg* D) { PostMessage(D->CancelButton->Handle(), BM_CLICK, 0, 0); }},
         false,
         "Ann Smith",
         "ann@example.org"},
        {"emptied, then the close box",
         {Empty, [](TMailAddressDlg* D) { PostMessage(D->Handle(), WM_CLOSE, 0, 0); }},
         false,
         "Ann Smith",
         "ann@example.org"},
        {"both emptied, OK", {Empty, Key(VK_RETURN)}, true, "", ""},
        {"both typed over, OK",
         {Type("Bo"), Key(VK_TAB), Type("bo@example.net"), Key(VK_RETURN)},
         true,
         "Bo",
         "bo@example.net"},
        {"OK unchanged", {Key(VK_RETURN)}, true, "Ann Smith", "ann@example.org"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        ZevMailAddress Address;
        Address.Name = "Ann Smith";
        Address.Address = "ann@example.org";
        const int FormsBefore = Screen->FormCount();
        std::string ShownName, ShownAddress;
        std::vector<TStep> Steps = {[&](TMailAddressDlg* D) {
            ShownName = D->NameEdit->Text();
            ShownAddress = D->AddressEdit->Text();
        }};
        Steps.insert(Steps.end(), Case.Steps.begin(), Case.Steps.end());
        Script(Steps);
        EXPECT_EQ(Address.Edit(), Case.Result);
        EXPECT_EQ(ShownName, "Ann Smith");
        EXPECT_EQ(ShownAddress, "ann@example.org");
        EXPECT_EQ(Address.Name, Case.Name2);
        EXPECT_EQ(Address.Address, Case.Address);
        EXPECT_EQ(Screen->FormCount(), FormsBefore); // freed
    }
}

TEST_F(MailAddressDlg, OkCutsEachFieldTo255BytesWithoutSplittingACharacter)
{
    const std::string A253(253, 'a');
    struct TCase {
        const char* Name;
        std::string Text;
        std::string Stored;
    };
    const std::vector<TCase> Cases = {
        {"short", "Ann", "Ann"},
        {"exactly 255", std::string(255, 'a'), std::string(255, 'a')},
        {"ASCII beyond", std::string(300, 'a'), std::string(255, 'a')},
        {"a two-byte character across the limit", std::string(254, 'a') + "\xC3\xA9xyz",
         std::string(254, 'a')},
        {"a two-byte character ending at the limit", A253 + "\xC3\xA9xyz", A253 + "\xC3\xA9"},
        {"a three-byte character across", A253 + "\xE2\x82\xAC", A253},
        {"a four-byte character across", A253 + "a\xF0\x9F\x98\x80", A253 + "a"},
        {"bytes that are no UTF-8 kept one by one", std::string(300, '\xFF'),
         std::string(255, '\xFF')},
        {"a lone lead byte, then a character across", A253 + "\xC3" + "\xC3\xA9", A253 + "\xC3"},
    };
    auto Dialog = std::make_unique<TMailAddressDlg>(nullptr);
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Dialog->NameEdit->SetText(Case.Text);
        Dialog->AddressEdit->SetText(Case.Text);
        ASSERT_EQ(Dialog->NameEdit->Text(), Case.Text);
        Dialog->OKButtonClick(Dialog->OKButton);
        EXPECT_EQ(Dialog->Address()->Name, Case.Stored);
        EXPECT_EQ(Dialog->Address()->Address, Case.Stored);
    }
}

TEST_F(MailAddressDlg, SetAddressCopiesTheAddressAndFillsTheFields)
{
    auto Dialog = std::make_unique<TMailAddressDlg>(nullptr);
    ZevMailAddress Address;
    Address.Name = "Caf\xC3\xA9 owner";
    Address.Address = "cafe@example.org";
    Dialog->SetAddress(&Address);
    EXPECT_EQ(Dialog->NameEdit->Text(), Address.Name);
    EXPECT_EQ(Dialog->AddressEdit->Text(), Address.Address);
    EXPECT_NE(Dialog->Address(), &Address);
    EXPECT_EQ(Dialog->Address()->Name, Address.Name);
    Dialog->NameEdit->SetText("changed");
    EXPECT_EQ(Address.Name, "Caf\xC3\xA9 owner");
}
