// Colour pairs with defaults, the entry field's three colour sets, border lines and the user
// mask data.
#include "controls/entry/ovcbordr.h"
#include "controls/entry/ovccolor.h"
#include "controls/entry/ovcuser.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

TEST(OvcColors, ADefaultColourKeepsUseDefaultAndAnotherClearsIt)
{
    TOvcEfColors Colors;
    TOvcColors* Error = Colors.Error();
    int Changes = 0;
    Error->OnColorChange = [&] { ++Changes; };
    struct TCase {
        const char* Name;
        std::function<void()> Act;
        TColor Back;
        TColor Text;
        bool UseDefault;
        int Changes;
    };
    const std::vector<TCase> Cases = {
        {"starts at the defaults", [] {}, clRed, clBlack, true, 0},
        {"default back colour", [&] { Error->SetBackColor(clRed); }, clRed, clBlack, true, 0},
        {"yellow", [&] { Error->SetBackColor(clYellow); }, clYellow, clBlack, false, 1},
        {"red again stays custom", [&] { Error->SetBackColor(clRed); }, clRed, clBlack, false, 2},
        {"text white", [&] { Error->SetTextColor(clWhite); }, clRed, clWhite, false, 3},
        {"defaults back", [&] { Error->SetUseDefault(true); }, clRed, clBlack, true, 4},
        {"flag off only", [&] { Error->SetUseDefault(false); }, clRed, clBlack, false, 4},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Case.Act();
        EXPECT_EQ(Error->BackColor(), Case.Back);
        EXPECT_EQ(Error->TextColor(), Case.Text);
        EXPECT_EQ(Error->UseDefault(), Case.UseDefault);
        EXPECT_EQ(Changes, Case.Changes);
    }
    EXPECT_EQ(Colors.Disabled()->TextColor(), clGrayText);
    EXPECT_EQ(Colors.Disabled()->BackColor(), clWindow);
    EXPECT_EQ(Colors.Highlight()->TextColor(), clHighlightText);
    EXPECT_EQ(Colors.Highlight()->BackColor(), clHighlight);

    TOvcEfColors Copy;
    Error->SetBackColor(clYellow);
    Copy.Assign(&Colors);
    EXPECT_EQ(Copy.Error()->BackColor(), clYellow);
}

TEST(OvcBorders, EveryEffectiveChangeNotifiesAndAssignLeavesTheStyle)
{
    TOvcBorders Borders;
    TOvcBorder* Left = Borders.LeftBorder();
    int Changes = 0;
    Left->OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, Left);
        ++Changes;
    };
    EXPECT_FALSE(Borders.AnyEnabled());
    EXPECT_EQ(Left->PenColor(), clBlack);
    EXPECT_EQ(Left->PenStyle(), psSolid);
    EXPECT_EQ(Left->PenWidth(), 2);
    Left->SetEnabled(true);
    Left->SetEnabled(true);
    Left->SetPenWidth(0);
    Left->SetPenWidth(-2);
    Left->SetPenWidth(3);
    Left->SetPenColor(clNavy);
    Left->SetPenStyle(psDot);
    EXPECT_EQ(Changes, 4);
    EXPECT_TRUE(Borders.AnyEnabled());
    EXPECT_EQ(Left->PenWidth(), 3);

    TOvcBorders Copy;
    Copy.Assign(&Borders);
    EXPECT_TRUE(Copy.LeftBorder()->Enabled());
    EXPECT_EQ(Copy.LeftBorder()->PenWidth(), 3);
    EXPECT_EQ(Copy.LeftBorder()->PenColor(), clNavy);
    EXPECT_EQ(Copy.LeftBorder()->PenStyle(), psDot);
    EXPECT_FALSE(Copy.TopBorder()->Enabled());
}

TEST(OvcBorders, LinesSitHalfAPenInsideTheirEdge)
{
    struct TCase {
        int Pen;
        int Left;
        int Right;
        int Top;
        int Bottom;
    };
    // A field 100 wide and 20 high.
    const std::vector<TCase> Cases = {
        {1, 0, 99, 0, 19},
        {2, 1, 99, 1, 19},
        {3, 1, 98, 1, 18},
        {4, 2, 98, 2, 18},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Pen);
        EXPECT_EQ(BorderLeftX(Case.Pen), Case.Left);
        EXPECT_EQ(BorderRightX(Case.Pen, 100), Case.Right);
        EXPECT_EQ(BorderTopY(Case.Pen), Case.Top);
        EXPECT_EQ(BorderBottomY(Case.Pen, 20), Case.Bottom);
    }
}

TEST(OvcUserData, DefaultsAcceptAllButNulAndSubstitutionLiteralsShowThemselves)
{
    const TOvcUserData Data;
    for (char Mask = '1'; Mask <= '8'; ++Mask) {
        SCOPED_TRACE(Mask);
        const TCharSet Set = Data.UserCharSet(Mask);
        EXPECT_FALSE(Set.test(0));
        EXPECT_EQ(Set.count(), 255u);
        EXPECT_EQ(Data.UserCaseMode(Mask), mcNoChange);
    }
    for (const char Other : {'0', '9', 'X', '\0'}) {
        EXPECT_TRUE(Data.UserCharSet(Other).none());
        EXPECT_EQ(Data.UserCaseMode(Other), mcNoChange);
    }
    for (int Code = 241; Code <= 248; ++Code) {
        SCOPED_TRACE(Code);
        EXPECT_EQ(static_cast<unsigned char>(Data.SubstChar(static_cast<char>(Code))), Code);
    }
    EXPECT_EQ(Data.SubstChar(static_cast<char>(240)), '\0');
    EXPECT_EQ(Data.SubstChar(static_cast<char>(249)), '\0');
    EXPECT_EQ(Data.SubstChar('A'), '\0');
}

TEST(OvcUserData, TheProgramsDataCanBeChangedPerMaskCharacter)
{
    TCharSet Digits;
    for (char C = '0'; C <= '9'; ++C)
        Digits.set(static_cast<unsigned char>(C));
    const TCharSet Saved = OvcUserData.UserCharSet('3');
    OvcUserData.SetUserCharSet('3', Digits);
    OvcUserData.SetUserCaseMode('3', mcMixedCase);
    OvcUserData.SetUserCaseMode('9', mcUpperCase);
    EXPECT_EQ(OvcUserData.UserCharSet('3'), Digits);
    EXPECT_EQ(OvcUserData.UserCaseMode('3'), mcMixedCase);
    EXPECT_EQ(OvcUserData.UserCaseMode('9'), mcNoChange);
    EXPECT_EQ(OvcUserData.UserCharSet('4').count(), 255u);
    OvcUserData.SetUserCharSet('3', Saved);
    OvcUserData.SetUserCaseMode('3', mcNoChange);
}
