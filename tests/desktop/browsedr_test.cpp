// The folder pickers: the selection's trailing "/", cancel, the status text fitted to the status
// line, centring, the OK button and the caption, on the scripted dialog service and on the
// dialog's form; TPTSysFolderDlg's errors and its restoring of the program's windows.
#include "desktop/browsedr.h"
#include "desktop/uptsysfolderdlg.h"

#include "platform/dialogs/folderbrowseform.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/panel.h"
#include "platform/ui/sysmetrics.h"
#include "tests/platform/dialogs/commondialogstest.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

namespace {

class FolderDialogs : public ::testing::Test {
protected:
    TTestApplication App;
    TDeterministicFonts Fonts;
    TestSupport::TTempFolder Temp;
    std::string Dir(const std::string& Name)
    {
        std::filesystem::create_directories(Temp.Path() + Name);
        return Temp.Path() + Name;
    }
};

} // namespace

TEST_F(FolderDialogs, AnExistingFolderGetsOneTrailingSlashAMissingOneStaysAsGiven)
{
    TBrowseDirectoryDlg D(nullptr);
    const std::string Mail = Dir("mail");
    struct TCase {
        std::string Set;
        std::string Reads;
    };
    const std::vector<TCase> Cases = {
        {Mail, Mail + "/"}, {Mail + "/", Mail + "/"},
        {"/", "/"},         {Temp.Path() + "missing", Temp.Path() + "missing"},
        {"", ""},
    };
    for (const TCase& Case : Cases) {
        D.SetSelection(Case.Set);
        EXPECT_EQ(D.Selection(), Case.Reads) << Case.Set;
    }
    EXPECT_EQ(browsedr::NormalizedSelection(Mail + "/"), Mail);
    EXPECT_EQ(browsedr::NormalizedSelection("/"), "/");
}

TEST_F(FolderDialogs, OkTakesTheFolderWithASlashCancelEmptiesTheSelection)
{
    TScriptedDialogs Script;
    TBrowseDirectoryDlg D(nullptr);
    D.SetTitle("Select starting drive/folder");
    const std::string Mail = Dir("mail");
    Script.Answer(mrOk, Mail);
    ASSERT_TRUE(D.Execute());
    EXPECT_EQ(D.Selection(), Mail + "/");
    EXPECT_EQ(D.ImageIndex(), FolderImageIndex);
    ASSERT_EQ(Script.Calls().size(), 1u);
    EXPECT_EQ(Script.Calls()[0].Kind, TDialogKind::BrowseFolder);
    EXPECT_EQ(Script.Calls()[0].Text, "Select starting drive/folder");
    EXPECT_EQ(Script.Calls()[0].Value, "/"); // idDesktop
    EXPECT_EQ(Script.Calls()[0].Options, 0u);

    // The preselected folder is highlighted; OK with nothing picked takes it.
    Script.Answer(mrOk);
    ASSERT_TRUE(D.Execute());
    EXPECT_EQ(Script.Browsed().Selection, Mail);
    EXPECT_EQ(D.Selection(), Mail + "/");

    Script.Answer(mrCancel);
    EXPECT_FALSE(D.Execute());
    EXPECT_EQ(D.Selection(), "");
    EXPECT_EQ(ShellAllocatorBlocks(), 0u);
}

TEST_F(FolderDialogs, TheCallbackAppliesOkStatusCaptionCentringAndReportsTheHighlight)
{
    TScriptedDialogs Script;
    TBrowseDirectoryDlg D(nullptr);
    D.SetEnableOKButton(false);
    D.SetFitStatusText(false);
    D.SetStatusText("Pick one");
    D.SetCaption("Search from");
    D.SetOptions(TBrowseFlags{bfDirectoriesOnly, bfIncludeFiles});
    std::vector<std::string> Seen;
    int Created = 0;
    D.OnCreate = [&](TObject*) { ++Created; };
    D.OnSelChanged = [&](TObject*, const std::string& Path) { Seen.push_back(Path); };
    D.SetShowSelectionInStatus(true);
    const std::string Mail = Dir("mail");
    // OK while the caller has it disabled is no answer the dialog can give.
    Script.Answer(mrOk, Mail);
    EXPECT_THROW(D.Execute(), EDialogScriptError);
    EXPECT_EQ(Created, 1);
    EXPECT_EQ(Script.Calls().back().Options,
              unsigned(BIF_RETURNONLYFSDIRS | BIF_BROWSEINCLUDEFILES | BIF_STATUSTEXT));

    D.SetEnableOKButton(true);
    Seen.clear();
    Script.Answer(mrOk, Mail);
    ASSERT_TRUE(D.Execute());
    EXPECT_EQ(Seen, (std::vector<std::string>{"/", Mail}));
    EXPECT_EQ(Script.Browsed().StatusText, Mail); // the highlight shown as status
    EXPECT_TRUE(Script.Browsed().OkEnabled);
    EXPECT_EQ(Script.Browsed().Caption, "Search from");
    EXPECT_EQ(D.Caption(), "Search from");
    // The stand-in window has no size: its centre is the screen's.
    EXPECT_EQ(Script.Browsed().Bounds.Left, GetSystemMetrics(SM_CXSCREEN) / 2);
    EXPECT_EQ(Script.Browsed().Bounds.Top, GetSystemMetrics(SM_CYSCREEN) / 2);
}

TEST(FolderDialogText, ALongPathLosesItsLeadingFoldersOtherTextItsEnd)
{
    TestSupport::TTempFolder Temp;
    const std::string Deep = Temp.Path() + "alpha/beta/gamma";
    std::filesystem::create_directories(Deep);
    // Fits when at most Max bytes.
    auto Within = [](std::size_t Max) {
        return [Max](const std::string& Text) { return Text.size() <= Max; };
    };
    const std::string Path = Deep + "/";
    EXPECT_EQ(browsedr::FitText(Path, Within(500)), Path);
    EXPECT_EQ(browsedr::FitText(Path, Within(16)), "/.../beta/gamma/");
    EXPECT_EQ(browsedr::FitText(Path, Within(11)), "/.../gamma/");
    EXPECT_EQ(browsedr::FitText(Path, Within(3)), "/");
    EXPECT_EQ(browsedr::FitText("Searching the whole disk", Within(12)), "Searching...");
    // UTF-8 loses whole characters.
    EXPECT_EQ(browsedr::FitText("Grüße", Within(6)), "Gr...");
}

TEST_F(FolderDialogs, OnTheFormTheDialogIsCentredCaptionedAndItsStatusFitted)
{
    TInstalledFormDialogs Forms;
    TBrowseDirectoryDlg D(nullptr);
    const std::string Deep = Dir("a-rather-long-folder-name/another-long-one/and-the-last-one");
    D.SetStatusText(Deep);
    D.SetCaption("Select starting drive/folder");
    D.SetEnableOKButton(false);
    TFolderBrowseForm* Seen = nullptr;
    TFormScript Script(
        App, {[&](TCustomForm* Form) {
            auto* Dialog = FormAs<TFolderBrowseForm>(Form);
            ASSERT_NE(Dialog, nullptr);
            Seen = Dialog;
            EXPECT_EQ(Dialog->Caption(), "Select starting drive/folder");
            EXPECT_EQ(D.Caption(), "Select starting drive/folder");
            EXPECT_EQ(Dialog->Left(), (GetSystemMetrics(SM_CXSCREEN) - Dialog->Width()) / 2);
            EXPECT_EQ(Dialog->Top(), (GetSystemMetrics(SM_CYSCREEN) - Dialog->Height()) / 2);
            EXPECT_FALSE(Dialog->OkButton()->Enabled());
            ASSERT_NE(Dialog->StatusLine(), nullptr);
            const std::string Shown = Dialog->StatusLine()->Caption();
            EXPECT_EQ(Shown.compare(0, 5, "/.../"), 0) << Shown;
            EXPECT_LE(Dialog->StatusLine()->Canvas()->TextWidth(Shown),
                      Dialog->StatusLine()->ClientWidth());
            EXPECT_EQ(Shown.substr(Shown.size() - 16), "and-the-last-one");
            // No folder preselected: the root is highlighted.
            EXPECT_EQ(Dialog->Tree()->Selected(), "/");
            D.SetEnableOKButton(true);
            EXPECT_TRUE(Dialog->OkButton()->Enabled());
            D.SetSelection(Deep);
            EXPECT_EQ(Dialog->Tree()->Selected(), Deep);
            ClickCentre(Dialog->OkButton());
        }});
    ASSERT_TRUE(D.Execute());
    EXPECT_NE(Seen, nullptr);
    EXPECT_EQ(D.Selection(), Deep + "/");
    EXPECT_EQ(D.Caption(), "Select starting drive/folder");
}

TEST_F(FolderDialogs, TheSystemFolderPickerRaisesOutsideExecuteAndWhenCalledTwice)
{
    TPTSysFolderDlg D(nullptr);
    D.SetName("dlgFolder");
    try {
        D.SetOkEnabled(true);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "dlgFolder: SetOkEnabled assignment only valid during Execute");
    }
    try {
        D.SetStatusText("x");
        ADD_FAILURE() << "no exception";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "dlgFolder: Status text assignment only valid during Execute");
    }
    // csidlNone has no folder: False without a dialog.
    TScriptedDialogs Script;
    EXPECT_FALSE(D.Execute());
    EXPECT_TRUE(Script.Calls().empty());

    D.SetDomain(csidlDesktop);
    std::string Again;
    D.OnInitialized = [&](TPTSysFolderDlg* Sender, HWND) {
        Sender->SetStatusText("inside");
        try {
            Sender->Execute();
        } catch (const Exception& E) {
            Again = E.Message();
        }
    };
    const std::string Mail = Dir("mail");
    Script.Answer(mrOk, Mail);
    ASSERT_TRUE(D.Execute());
    EXPECT_EQ(Again, "dlgFolder: Execute already called.");
    EXPECT_EQ(PathFromIDList(D.FolderIDList()), Mail);
    EXPECT_EQ(Script.Browsed().StatusText, "inside");

    // The kept folder is preselected next time; cancel lets it go.
    D.OnInitialized = nullptr;
    Script.Answer(mrCancel);
    EXPECT_FALSE(D.Execute());
    EXPECT_EQ(Script.Browsed().Selection, Mail);
    EXPECT_EQ(D.FolderIDList(), nullptr);
    EXPECT_EQ(ShellAllocatorBlocks(), 0u);
}

TEST_F(FolderDialogs, AHandlerRaisingLeavesTheWindowsEnabledAndThePickerIdle)
{
    TForm* Main = ShownForm(&App);
    TScriptedDialogs Script;
    TPTSysFolderDlg D(Main);
    D.SetName("dlgFolder");
    D.SetDomain(csidlDesktop);
    bool DisabledInside = false;
    D.OnSelChanged = [&](TPTSysFolderDlg*, HWND, LPCITEMIDLIST) {
        DisabledInside = !IsWindowEnabled(Main->Handle());
        throw std::runtime_error("handler failed");
    };
    Script.Answer(mrOk, "/");
    EXPECT_THROW(D.Execute(), std::runtime_error);
    EXPECT_TRUE(DisabledInside);
    EXPECT_TRUE(IsWindowEnabled(Main->Handle()));
    // Idle again: a status text is refused, a new Execute runs.
    EXPECT_THROW(D.SetStatusText("x"), Exception);
    D.OnSelChanged = nullptr;
    Script.Answer(mrOk, "/");
    EXPECT_TRUE(D.Execute());
}
