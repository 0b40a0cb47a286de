// The folder-browse dialog driven as a form: the callback hears of the window and of each
// highlight, the tree opens with the arrows, OK gives the folder; and its golden picture.
#include "tests/platform/dialogs/commondialogstest.h"

#include "platform/dialogs/folderbrowseform.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/panel.h"
#include "platform/ui/shellfolders.h"
#include "tests/support/golden.h"

#include <gtest/gtest.h>

namespace {

class FolderBrowseForms : public ::testing::Test {
protected:
    TTestApplication App;
    TInstalledFormDialogs Dialogs;
    TDeterministicFonts Fonts;
    TTempTree Tree{TempTreePath("browse"), {"Archive/", "Lists/old/", "Lists/new/", "a.txt"}};
};

} // namespace

TEST_F(FolderBrowseForms, TheCallbackRunsAndTheArrowsPickAFolder)
{
    std::vector<std::string> Log;
    TDialogRequest R;
    R.Kind = TDialogKind::BrowseFolder;
    R.Text = "Pick a folder";
    R.Value = Tree.Path();
    R.Options = BIF_STATUSTEXT;
    R.OnBrowse = [&](HWND Wnd, UINT Msg, const std::string& Path) {
        if (Msg == BFFM_INITIALIZED) {
            Log.push_back("init");
            EXPECT_NE(GetDlgItem(Wnd, IDC_BROWSE_STATUS), 0u);
            EXPECT_NE(GetDlgItem(Wnd, IDOK), 0u);
            SendMessage(Wnd, BFFM_SETSTATUSTEXT, 0, reinterpret_cast<LPARAM>("ready"));
            return;
        }
        Log.push_back(Path.substr(Tree.Path().size()));
    };
    TFormScript Script(App, {[&](TCustomForm* Form) {
                           auto* Dialog = FormAs<TFolderBrowseForm>(Form);
                           ASSERT_NE(Dialog, nullptr);
                           EXPECT_EQ(Dialog->StatusLine()->Caption(), "ready");
                           EXPECT_EQ(Dialog->Tree()->Count(), 3); // root, Archive, Lists
                           InjectKeyPress(VK_DOWN);
                           InjectKeyPress(VK_DOWN);
                           InjectKeyPress(VK_RIGHT); // opens Lists
                           InjectKeyPress(VK_DOWN);
                           Pump();
                           EXPECT_EQ(Dialog->Tree()->Count(), 5);
                           InjectKeyPress(VK_RETURN);
                       }});
    const TDialogAnswer Answer = DialogService().Show(R);
    EXPECT_EQ(Answer.Result, mrOk);
    EXPECT_EQ(Answer.Value, Tree / "Lists/new");
    EXPECT_EQ(Log, (std::vector<std::string>{"init", "", "/Archive", "/Lists", "/Lists/new"}));
}

TEST_F(FolderBrowseForms, TheDialogLooksAsItsGoldenPicture)
{
    TTempTree Fixed(TempTreePath("browsedialog", false), {"Archive/", "Lists/", "Mail/"});
    TDialogRequest R;
    R.Kind = TDialogKind::BrowseFolder;
    R.Text = "Select starting drive/folder";
    R.Value = Fixed.Path();
    R.Options = BIF_STATUSTEXT;
    TFolderBrowseForm Form(nullptr, R);
    Form.Show();
    SendMessage(Form.Handle(), BFFM_SETSELECTION, 1,
                reinterpret_cast<LPARAM>((Fixed / "Lists").c_str()));
    SendMessage(Form.Handle(), BFFM_SETSTATUSTEXT, 0, reinterpret_cast<LPARAM>("Lists"));
    Pump();
    const TRasterDevice& Raster = WindowBackBuffer(Form.Handle())->Raster();
    ExpectMatchesGoldenPng(Raster, Form.ClientRect(), "dialogs/browsefolder.png");
}
