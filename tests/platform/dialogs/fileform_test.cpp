// The open and save dialogs driven as forms over a temporary folder tree: the type's masks
// narrow the list, Enter on a folder enters it, a missing file or folder is refused with a
// box, an existing file is replaced only after Yes; the picture preview; the form's picture.
#include "tests/platform/dialogs/commondialogstest.h"
#include "tests/support/golden.h"

#include "platform/dialogs/filedialogs.h"
#include "platform/dialogs/fileform.h"
#include "platform/gfx/bitmap.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/combobox.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/label.h"
#include "platform/stdctrls/listbox.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using TNames = std::vector<std::string>;

class FileDialogForms : public ::testing::Test {
protected:
    TTestApplication App;
    TInstalledFormDialogs Dialogs;
    TDeterministicFonts Fonts;
    TTempTree Tree{
        TempTreePath("filedialog"),
        {"a.txt", "b.log", "notes.TXT", ".hidden.txt", "sub/c.txt", "sub/deep/", "Zeta/"}};
};

TFormScript::TStep TypeName(const std::string& Text)
{
    return [Text](TCustomForm* Form) {
        if (auto* Dialog = FormAs<TFileDialogForm>(Form)) {
            Dialog->FocusControl(Dialog->FileNameEdit());
            Dialog->FileNameEdit()->SetText(Text);
            InjectKeyPress(VK_RETURN);
        }
    };
}

// The box over the dialog: its text must hold Fragment; Answer's button closes it.
TFormScript::TStep ExpectBox(const std::string& Fragment, int Answer)
{
    return [Fragment, Answer](TCustomForm* Form) {
        auto* Box = FormAs<TMessageForm>(Form);
        if (Box == nullptr)
            return;
        EXPECT_NE(Box->Message()->Caption().find(Fragment), std::string::npos)
            << Box->Message()->Caption();
        ASSERT_NE(Box->ButtonOf(Answer), nullptr);
        Box->SetModalResult(Answer);
    };
}

} // namespace

TEST_F(FileDialogForms, TheOpenDialogFiltersByTypeEntersFoldersAndRefusesAMissingFile)
{
    TOpenDialog D(nullptr);
    D.SetFilter("Text files (*.txt)|*.txt|All files (*.*)|*.*");
    D.SetInitialDir(Tree.Path());
    D.SetOptions(D.Options() + TOpenOptions{ofFileMustExist});
    TFormScript Script(
        App,
        {[&](TCustomForm* Form) {
             auto* Dialog = FormAs<TFileDialogForm>(Form);
             ASSERT_NE(Dialog, nullptr);
             EXPECT_EQ(Dialog->Caption(), "Open");
             EXPECT_EQ(Dialog->OkButton()->Caption(), "&Open");
             EXPECT_EQ(Dialog->LookIn()->Text(), Tree.Path());
             // Folders first, then the files the type takes; hidden names left out.
             EXPECT_EQ(Dialog->ListedNames(), (TNames{"..", "sub", "Zeta", "a.txt", "notes.TXT"}));
             Dialog->FocusControl(Dialog->FileType());
             InjectKeyPress(VK_DOWN); // "All files"
         },
         [&](TCustomForm* Form) {
             auto* Dialog = FormAs<TFileDialogForm>(Form);
             ASSERT_NE(Dialog, nullptr);
             EXPECT_EQ(Dialog->ListedNames(),
                       (TNames{"..", "sub", "Zeta", "a.txt", "b.log", "notes.TXT"}));
             // Enter on a folder in the list enters it.
             Dialog->FocusControl(Dialog->List());
             Dialog->List()->SetItemIndex(1);
             InjectKeyPress(VK_RETURN);
         },
         [&](TCustomForm* Form) {
             auto* Dialog = FormAs<TFileDialogForm>(Form);
             ASSERT_NE(Dialog, nullptr);
             EXPECT_EQ(Dialog->Folder(), Tree / "sub");
             EXPECT_EQ(Dialog->LookIn()->Text(), Tree / "sub");
             EXPECT_EQ(Dialog->ListedNames(), (TNames{"..", "deep", "c.txt"}));
             Dialog->FocusControl(Dialog->FileNameEdit());
             Dialog->FileNameEdit()->SetText("missing.txt");
             InjectKeyPress(VK_RETURN);
         },
         ExpectBox("missing.txt\nFile not found.", mrOk),
         // A typed folder ("..") is entered too; then a file typed by a path below.
         TypeName(".."),
         [&](TCustomForm* Form) {
             auto* Dialog = FormAs<TFileDialogForm>(Form);
             ASSERT_NE(Dialog, nullptr);
             EXPECT_EQ(Dialog->Folder(), Tree.Path());
             EXPECT_EQ(Dialog->FileNameEdit()->Text(), "");
             Dialog->FileNameEdit()->SetText("sub/c.txt");
             InjectKeyPress(VK_RETURN);
         }});
    ASSERT_TRUE(D.Execute());
    EXPECT_EQ(Script.Ran(), 6u);
    EXPECT_EQ(D.FileName(), Tree / "sub/c.txt");
    EXPECT_EQ(D.FilterIndex(), 2);
}

TEST_F(FileDialogForms, TheSaveDialogReplacesAFileOnlyAfterYesAndAddsTheDefaultExtension)
{
    TSaveDialog D(nullptr);
    D.SetFilter("Text files (*.txt)|*.txt");
    D.SetDefaultExt("txt");
    D.SetInitialDir(Tree.Path());
    D.SetOptions(D.Options() + TOpenOptions{ofOverwritePrompt});
    const std::string Replaced = Tree / "a.txt";
    TFormScript Script(App,
                       {[&](TCustomForm* Form) {
                            auto* Dialog = FormAs<TFileDialogForm>(Form);
                            ASSERT_NE(Dialog, nullptr);
                            EXPECT_EQ(Dialog->Caption(), "Save As");
                            EXPECT_EQ(Dialog->OkButton()->Caption(), "&Save");
                            TypeName("a")(Form);
                        },
                        ExpectBox(Replaced + " already exists.\nDo you want to replace it?", mrNo),
                        TypeName("a"), ExpectBox(Replaced + " already exists.", mrYes)});
    ASSERT_TRUE(D.Execute());
    EXPECT_EQ(Script.Ran(), 4u);
    EXPECT_EQ(D.FileName(), Replaced);

    // A new name goes without a question.
    TFormScript Again(App, {TypeName("fresh")});
    ASSERT_TRUE(D.Execute());
    EXPECT_EQ(D.FileName(), Tree / "fresh.txt");
}

TEST_F(FileDialogForms, AMissingFolderOrFileIsRefusedAsTheOptionsAsk)
{
    struct TCase {
        const char* Name;
        bool Save;
        TOpenOptions Options;
        const char* Typed;
        std::string Box; // "": accepted
    };
    const std::vector<TCase> Cases = {
        {"path must exist", false, TOpenOptions{ofPathMustExist}, "nowhere/x.txt",
         "Path does not exist."},
        {"path must exist, save", true, TOpenOptions{ofPathMustExist}, "nowhere/x.txt",
         "Path does not exist."},
        {"file must exist", false, TOpenOptions{ofFileMustExist}, "none.txt", "File not found."},
        {"a new file may be saved", true, TOpenOptions{ofFileMustExist}, "none.txt", ""},
        {"without the options, taken", false, TOpenOptions{}, "nowhere/x.txt", ""},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        std::unique_ptr<TOpenDialog> D(Case.Save ? new TSaveDialog(nullptr)
                                                 : new TOpenDialog(nullptr));
        D->SetInitialDir(Tree.Path());
        D->SetOptions(Case.Options);
        std::vector<TFormScript::TStep> Steps = {TypeName(Case.Typed)};
        if (!Case.Box.empty()) {
            Steps.push_back(ExpectBox(Case.Box, mrOk));
            Steps.push_back(Press(VK_ESCAPE));
        }
        TFormScript Script(App, Steps);
        EXPECT_EQ(D->Execute(), Case.Box.empty());
        EXPECT_EQ(Script.Ran(), Steps.size());
        if (Case.Box.empty()) {
            EXPECT_EQ(D->FileName(), Tree / Case.Typed);
        }
    }
}

TEST_F(FileDialogForms, ATypedMaskNarrowsTheListAndThePicturePreviewShowsTheSelection)
{
    TBitmap Picture;
    Picture.SetSize(40, 20);
    Picture.Canvas()->Brush()->SetColor(clRed);
    Picture.Canvas()->FillRect(Rect(0, 0, 40, 20));
    Picture.SaveToFile(Tree / "red.bmp");
    TDialogRequest R;
    R.Kind = TDialogKind::OpenFile;
    R.InitialDir = Tree.Path();
    R.Filter = "All files (*.*)|*.*";
    R.Preview = true;
    TFileDialogForm Form(nullptr, R);
    Form.Show();
    Pump();
    Form.FileNameEdit()->SetText("*.bmp;*.log");
    ClickCentre(Form.OkButton());
    EXPECT_EQ(Form.ListedNames(), (TNames{"..", "sub", "Zeta", "b.log", "red.bmp"}));
    EXPECT_EQ(Form.PreviewLabel()->Caption(), "(None)");

    const auto Select = [&](int Index) {
        const TRect Item = Form.List()->ItemRect(Index);
        ClickAt(Form.List(), Item.Left + 30, Item.Top + Item.Height() / 2);
    };
    Select(4);
    EXPECT_EQ(Form.FileNameEdit()->Text(), "red.bmp");
    EXPECT_EQ(Form.PreviewLabel()->Caption(), "40 x 20");
    ASSERT_NE(Form.PreviewPicture()->Graphic(), nullptr);
    // Not a picture: nothing to preview, and no error.
    Select(3);
    EXPECT_EQ(Form.FileNameEdit()->Text(), "b.log");
    EXPECT_EQ(Form.PreviewLabel()->Caption(), "(None)");
}

TEST_F(FileDialogForms, TheOpenDialogLooksAsItsGoldenPicture)
{
    // A path of its own that is the same on every run, as the picture shows it.
    TTempTree Fixed(TempTreePath("opendialog", false),
                    {"Archive/", "Lists/", "filters.txt", "known.lst", "spam.txt"});
    TDialogRequest R;
    R.Kind = TDialogKind::OpenFile;
    R.InitialDir = Fixed.Path();
    R.Filter = "Text files (*.txt)|*.txt|All files (*.*)|*.*";
    R.Value = "filters.txt";
    TFileDialogForm Form(nullptr, R);
    Form.Show();
    Pump();
    const TRasterDevice& Raster = WindowBackBuffer(Form.Handle())->Raster();
    ExpectMatchesGoldenPng(Raster, Form.ClientRect(), "dialogs/opendialog.png");
}

TEST_F(FileDialogForms, WithEnableSizingTheListGrowsWithTheForm)
{
    TDialogRequest R;
    R.Kind = TDialogKind::OpenFile;
    R.InitialDir = Tree.Path();
    R.Options = 1u << ofEnableSizing;
    TFileDialogForm Form(nullptr, R);
    Form.Show();
    Pump();
    EXPECT_EQ(Form.BorderStyle(), bsSizeable);
    const int ListWidth = Form.List()->Width();
    const int ListHeight = Form.List()->Height();
    const int OkLeft = Form.OkButton()->Left();
    Form.SetBounds(Form.Left(), Form.Top(), Form.Width() + 100, Form.Height() + 50);
    Pump();
    EXPECT_EQ(Form.List()->Width(), ListWidth + 100);
    EXPECT_EQ(Form.List()->Height(), ListHeight + 50);
    EXPECT_EQ(Form.OkButton()->Left(), OkLeft + 100);

    R.Options = 0;
    TFileDialogForm Fixed(nullptr, R);
    EXPECT_EQ(Fixed.BorderStyle(), bsDialog);
}
