// The common dialog components through a scripted service: what each puts in its request, what
// it takes from the answer, OnShow and OnClose, and the modeless find and replace dialogs
// played through the script's notifications.
#include "platform/dialogs/colordialog.h"
#include "platform/dialogs/filedialogs.h"
#include "platform/dialogs/finddialogs.h"
#include "platform/dialogs/fontdialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TDialogAnswer Chosen(const std::string& Path, int FilterIndex)
{
    TDialogAnswer A;
    A.Result = mrOk;
    A.Value = Path;
    A.FilterIndex = FilterIndex;
    return A;
}

TDialogAnswer Cancelled()
{
    TDialogAnswer A;
    A.Result = mrCancel;
    return A;
}

} // namespace

TEST(FileDialogs, EachAsksWithItsPropertiesAndTakesTheChosenFile)
{
    struct TCase {
        const char* Name;
        std::function<TOpenDialog*(TComponent*)> Make;
        TDialogKind Kind;
        bool Preview;
        TDialogAnswer Answer;
        bool Executed;
        std::string FileName; // after
        int FilterIndex;      // after
        bool ExtensionDifferent;
    };
    auto Open = [](TComponent* O) -> TOpenDialog* { return new TOpenDialog(O); };
    auto Save = [](TComponent* O) -> TOpenDialog* { return new TSaveDialog(O); };
    auto OpenPicture = [](TComponent* O) -> TOpenDialog* { return new TOpenPictureDialog(O); };
    auto SavePicture = [](TComponent* O) -> TOpenDialog* { return new TSavePictureDialog(O); };
    const std::vector<TCase> Cases = {
        {"open", Open, TDialogKind::OpenFile, false, Chosen("/data/rules.txt", 2), true,
         "/data/rules.txt", 2, false},
        {"open, another extension", Open, TDialogKind::OpenFile, false, Chosen("/data/x.log", 0),
         true, "/data/x.log", 1, true},
        {"open cancelled", Open, TDialogKind::OpenFile, false, Cancelled(), false, "start.txt", 1,
         false},
        {"save", Save, TDialogKind::SaveFile, false, Chosen("/out/a.TXT", 1), true, "/out/a.TXT", 1,
         false},
        {"open picture", OpenPicture, TDialogKind::OpenFile, true, Chosen("/p/a.bmp", 1), true,
         "/p/a.bmp", 1, true},
        {"save picture", SavePicture, TDialogKind::SaveFile, true, Cancelled(), false, "start.txt",
         1, false},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TScriptedDialogs Script;
        Script.Answer(Case.Answer);
        TComponent Owner(nullptr);
        TOpenDialog* D = Case.Make(&Owner);
        if (Case.Kind == TDialogKind::OpenFile && !Case.Preview)
            D->SetFilter("Text files (*.txt)|*.txt|Logs (*.log)|*.log");
        D->SetFilterIndex(1);
        D->SetDefaultExt(".txt");
        D->SetFileName("start.txt");
        D->SetInitialDir("/data");
        D->SetTitle("Pick one");
        D->SetOptions(D->Options() + TOpenOptions{ofOverwritePrompt, ofFileMustExist});
        int Shown = 0, Closed = 0;
        D->OnShow = [&](TObject*) { ++Shown; };
        D->OnClose = [&](TObject*) { ++Closed; };

        EXPECT_EQ(D->Execute(), Case.Executed);
        ASSERT_EQ(Script.Calls().size(), 1u);
        const TDialogRequest& R = Script.Calls()[0];
        EXPECT_EQ(R.Kind, Case.Kind);
        EXPECT_EQ(R.Caption, "Pick one");
        EXPECT_EQ(R.Value, "start.txt");
        EXPECT_EQ(R.InitialDir, "/data");
        EXPECT_EQ(R.DefaultExt, "txt");
        EXPECT_EQ(R.FilterIndex, 1);
        EXPECT_EQ(R.Preview, Case.Preview);
        EXPECT_EQ(
            TOpenOptions::FromBits(R.Options),
            (TOpenOptions{ofHideReadOnly, ofEnableSizing, ofOverwritePrompt, ofFileMustExist}));
        if (Case.Preview) {
            EXPECT_NE(R.Filter.find("*.bmp"), std::string::npos) << R.Filter;
        }
        EXPECT_EQ(D->FileName(), Case.FileName);
        EXPECT_EQ(D->FilterIndex(), Case.FilterIndex);
        EXPECT_EQ(D->Files()->Count(), Case.Executed ? 1 : 0);
        EXPECT_EQ(D->Options().Contains(ofExtensionDifferent), Case.ExtensionDifferent);
        EXPECT_EQ(Shown, 1);
        EXPECT_EQ(Closed, 1);
    }
}

TEST(FileDialogs, WithNobodyToAskAreCancelled)
{
    TOpenDialog D(nullptr);
    D.SetFileName("kept.txt");
    EXPECT_FALSE(D.Execute());
    EXPECT_EQ(D.FileName(), "kept.txt");
}

TEST(ColorDialogs, AsksWithTheColourAndCustomColoursAndTakesTheAnswer)
{
    TScriptedDialogs Script;
    TColorDialog D(nullptr);
    D.SetColor(clRed);
    D.SetOptions(TColorDialogOptions{cdFullOpen});
    // Lines in any order, one unreadable and one unset.
    D.CustomColors()->Add("ColorC=00FF00");
    D.CustomColors()->Add("ColorA=123456");
    D.CustomColors()->Add("ColorB=zz");
    D.CustomColors()->Add("ColorD=FFFFFFFF");

    TDialogAnswer A;
    A.Result = mrOk;
    A.Color = RGB(1, 2, 3);
    A.CustomColors.assign(16, clWhite);
    A.CustomColors[15] = 0xABCDEF;
    Script.Answer(A);
    ASSERT_TRUE(D.Execute());

    const TDialogRequest& R = Script.Calls().at(0);
    EXPECT_EQ(R.Kind, TDialogKind::Color);
    EXPECT_EQ(R.Color, clRed);
    EXPECT_EQ(TColorDialogOptions::FromBits(R.Options), TColorDialogOptions{cdFullOpen});
    ASSERT_EQ(R.CustomColors.size(), 16u);
    EXPECT_EQ(R.CustomColors[0], 0x123456);
    EXPECT_EQ(R.CustomColors[1], clWhite);
    EXPECT_EQ(R.CustomColors[2], 0x00FF00);
    EXPECT_EQ(R.CustomColors[3], clWhite);

    EXPECT_EQ(D.Color(), RGB(1, 2, 3));
    ASSERT_EQ(D.CustomColors()->Count(), 16);
    EXPECT_EQ(D.CustomColors()->Strings(0), "ColorA=FFFFFF");
    EXPECT_EQ(D.CustomColors()->Strings(15), "ColorP=ABCDEF");

    // Cancelled: nothing changes.
    Script.Answer(Cancelled());
    D.SetColor(clBlue);
    EXPECT_FALSE(D.Execute());
    EXPECT_EQ(D.Color(), clBlue);
    EXPECT_EQ(D.CustomColors()->Strings(15), "ColorP=ABCDEF");
}

TEST(FontDialogs, AsksWithTheFontAndTakesTheAnswerKeepingEffectsWhenNotOffered)
{
    struct TCase {
        const char* Name;
        TFontDialogOptions Options;
        TColor Color;      // after
        TFontStyles Style; // after
    };
    const std::vector<TCase> Cases = {
        {"with effects", TFontDialogOptions{fdEffects}, clRed, TFontStyles{fsBold, fsUnderline}},
        {"without effects: colour and strike-out stay", TFontDialogOptions{fdWysiwyg}, clNavy,
         TFontStyles{fsBold, fsStrikeOut}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TScriptedDialogs Script;
        TFontDialog D(nullptr);
        D.Font()->SetName("Arial");
        D.Font()->SetSize(10);
        D.Font()->SetColor(clNavy);
        D.Font()->SetStyle(TFontStyles{fsStrikeOut});
        D.SetOptions(Case.Options + TFontDialogOptions{fdLimitSize});
        D.SetMinFontSize(6);
        D.SetMaxFontSize(40);
        TDialogAnswer A;
        A.Result = mrOk;
        A.Font.Name = "Courier New";
        A.Font.Size = 14;
        A.Font.Style = TFontStyles{fsBold, fsUnderline};
        A.Font.Color = clRed;
        A.Font.Charset = 204;
        Script.Answer(A);
        ASSERT_TRUE(D.Execute());
        const TDialogRequest& R = Script.Calls().at(0);
        EXPECT_EQ(R.Kind, TDialogKind::Font);
        EXPECT_EQ(R.Font.Name, "Arial");
        EXPECT_EQ(R.Font.Size, 10);
        EXPECT_EQ(R.Font.Color, clNavy);
        EXPECT_EQ(R.Font.Style, TFontStyles{fsStrikeOut});
        EXPECT_EQ(R.MinFontSize, 6);
        EXPECT_EQ(R.MaxFontSize, 40);
        EXPECT_EQ(D.Font()->Name(), "Courier New");
        EXPECT_EQ(D.Font()->Size(), 14);
        EXPECT_EQ(D.Font()->Charset(), 204);
        EXPECT_EQ(D.Font()->Color(), Case.Color);
        EXPECT_EQ(D.Font()->Style(), Case.Style);
    }
}

TEST(FindDialogs, ExecuteReturnsAtOnceAndTheButtonsFireTheirEvents)
{
    TScriptedDialogs Script;
    TReplaceDialog D(nullptr);
    D.SetFindText("spam");
    D.SetReplaceText("ham");
    D.SetOptions(TFindOptions{frDown, frHideUpDown});
    std::vector<std::string> Events;
    D.OnFind = [&](TObject*) { Events.push_back("find " + D.FindText()); };
    D.OnReplace = [&](TObject*) {
        Events.push_back(std::string(D.Options().Contains(frReplaceAll) ? "all " : "one ") +
                         D.FindText() + ">" + D.ReplaceText());
    };
    D.OnClose = [&](TObject*) { Events.push_back("close"); };

    ASSERT_TRUE(D.Execute());
    EXPECT_TRUE(D.Showing());
    const TDialogRequest& R = Script.Calls().at(0);
    EXPECT_EQ(R.Kind, TDialogKind::Replace);
    EXPECT_EQ(R.Value, "spam");
    EXPECT_EQ(R.ReplaceText, "ham");
    EXPECT_EQ(TFindOptions::FromBits(R.Options), (TFindOptions{frDown, frHideUpDown}));

    auto Press = [&](TFindOption Button, const std::string& Find, const std::string& With,
                     TFindOptions More) {
        TDialogAnswer A;
        A.Result = mrOk;
        A.Value = Find;
        A.ReplaceText = With;
        A.Options = static_cast<unsigned>((More + TFindOptions{Button, frDown}).Bits());
        Script.Notify(A);
    };
    Press(frFindNext, "spam", "ham", {frMatchCase});
    EXPECT_TRUE(D.Options().Contains(frMatchCase));
    Press(frReplace, "Spam", "eggs", {});
    Press(frReplaceAll, "Spam", "eggs", {frWholeWord});
    EXPECT_TRUE(D.Options().Contains(frWholeWord));

    // Shown again while up: brought to the front, not shown twice.
    ASSERT_TRUE(D.Execute());
    EXPECT_EQ(Script.Calls().size(), 1u);
    EXPECT_EQ(Script.Activations(), 1);

    D.CloseDialog();
    EXPECT_FALSE(D.Showing());
    EXPECT_FALSE(Script.ModelessUp());
    EXPECT_EQ(Events,
              (std::vector<std::string>{"find spam", "one Spam>eggs", "all Spam>eggs", "close"}));
    // Closed: CloseDialog does nothing more.
    D.CloseDialog();
    EXPECT_EQ(Events.size(), 4u);
}

TEST(FindDialogs, AFindDialogGoneWhileUpClosesItWithoutItsEvent)
{
    TScriptedDialogs Script;
    int Closed = 0;
    {
        TFindDialog D(nullptr);
        D.OnClose = [&](TObject*) { ++Closed; };
        ASSERT_TRUE(D.Execute());
        EXPECT_TRUE(Script.ModelessUp());
    }
    EXPECT_FALSE(Script.ModelessUp());
    EXPECT_EQ(Closed, 0);
}

TEST(FindDialogs, WithNobodyToShowThemExecuteIsFalse)
{
    TFindDialog D(nullptr);
    EXPECT_FALSE(D.Execute());
    EXPECT_FALSE(D.Showing());
}
