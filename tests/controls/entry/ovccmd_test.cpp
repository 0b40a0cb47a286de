// Command tables: the built-in tables, key translation with two-key sequences and literal keys,
// unique table names, the table text file and the stored table list.
#include "controls/entry/ovccmd.h"

#include "controls/entry/ovcexcpt.h"
#include "controls/entry/ovcsrmgr.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"
#include "platform/ui/window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int SC = ss_Shift + ss_Ctrl;

std::uint32_t KeysOf(int Key1, int Shift1, int Key2 = 0, int Shift2 = 0)
{
    return TOvcCmdRec::FromKeys(
               static_cast<std::uint32_t>(Key1 | Shift1 << 8 | Key2 << 16 | Shift2 << 24), 0)
        .Keys();
}

class TempDir {
public:
    TempDir()
    {
        char Pattern[] = "/tmp/ovccmd_test_XXXXXX";
        FPath = mkdtemp(Pattern);
    }
    ~TempDir() { std::filesystem::remove_all(FPath); }
    std::string File(const std::string& Name) const { return FPath + "/" + Name; }

private:
    std::string FPath;
};

void WriteBytes(const std::string& FileName, const std::string& Bytes)
{
    std::ofstream(FileName, std::ios::binary) << Bytes;
}

std::string ReadBytes(const std::string& FileName)
{
    std::ifstream In(FileName, std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
}

} // namespace

TEST(OvcCommandTables, TheBuiltInTablesComeInOrderWithTheirSizesAndOnlyDefaultActive)
{
    TOvcCommandProcessor P;
    ASSERT_EQ(P.Count(), 3);
    const std::vector<std::tuple<std::string, bool, int>> Expected = {
        {"Default", true, 64}, {"WordStar", false, 40}, {"Grid", false, 38}};
    for (int I = 0; I < 3; ++I) {
        EXPECT_EQ(P.Table(I)->TableName(), std::get<0>(Expected[size_t(I)]));
        EXPECT_EQ(P.Table(I)->IsActive(), std::get<1>(Expected[size_t(I)]));
        EXPECT_EQ(P.Table(I)->Count(), std::get<2>(Expected[size_t(I)]));
    }
    EXPECT_EQ(TOvcCommandTable().TableName(), "(Unknown)");
    EXPECT_EQ(LibraryString(CommandNameBase + ccWordRight), "ccWordRight");
}

TEST(OvcCommandTables, GridTakesTheFourteenSelectionEntriesOfDefaultInItsOrder)
{
    TOvcCommandProcessor P;
    const TOvcCommandTable* Default = P.Table(0);
    const TOvcCommandTable* Grid = P.Table(2);
    // Shift+Left ... Shift+Ctrl+PgDn sit at 17..30 in Default and at 14..27 in Grid.
    for (int I = 0; I < 14; ++I) {
        EXPECT_EQ(Grid->Commands(14 + I).Keys(), Default->Commands(17 + I).Keys()) << I;
        EXPECT_EQ(Grid->Commands(14 + I).Cmd, Default->Commands(17 + I).Cmd) << I;
    }
    EXPECT_EQ(Default->Commands(17).Cmd, ccExtendLeft);
    EXPECT_EQ(Default->Commands(30).Cmd, ccExtBotOfPage);
    EXPECT_EQ(Grid->Commands(28).Cmd, ccCut);
    EXPECT_EQ(Grid->Commands(37).Keys(), KeysOf(VK_F2, ss_None));
}

TEST(OvcCommandTables, BuiltInEntriesAreOneKeySequenceEachAndInTheirListedOrder)
{
    TOvcCommandProcessor P;
    struct TCase {
        int Table, Index, Key1, Shift1, Key2, Shift2;
        Word Cmd;
    };
    const std::vector<TCase> Cases = {
        {0, 0, VK_LEFT, 0, 0, 0, ccLeft},
        {0, 12, 'Z', ss_Ctrl, 0, 0, ccUndo},
        {0, 13, VK_BACK, ss_Alt, 0, 0, ccRestore},
        {0, 43, 'Z', SC, 0, 0, ccRedo},
        {0, 44, '0', ss_Ctrl, 0, 0, ccGotoMarker0},
        {0, 63, '9', SC, 0, 0, ccSetMarker9},
        {1, 7, 'Z', ss_Ctrl, 0, 0, ccScrollDown},
        {1, 10, 'Q', ss_Ctrl, 'S', ss_Wordstar, ccHome},
        {1, 18, 'P', ss_Ctrl, 0, 0, ccCtrlChar},
        {1, 39, 'K', ss_Ctrl, '9', ss_Wordstar, ccSetMarker9},
        {2, 11, 'Z', ss_Ctrl, 0, 0, ccRestore},
        {2, 35, VK_UP, ss_Ctrl, 0, 0, ccTopLeftCell},
    };
    for (const TCase& C : Cases) {
        const TOvcCmdRec& R = P.Table(C.Table)->Commands(C.Index);
        EXPECT_EQ(R.Keys(), KeysOf(C.Key1, C.Shift1, C.Key2, C.Shift2))
            << C.Table << "/" << C.Index;
        EXPECT_EQ(R.Cmd, C.Cmd) << C.Table << "/" << C.Index;
    }
    for (int T = 0; T < 3; ++T)
        for (int I = 0; I < P.Table(T)->Count(); ++I)
            EXPECT_EQ(P.Table(T)->IndexOf(P.Table(T)->Commands(I).Keys()), I) << T << "/" << I;
}

TEST(OvcCommandTables, CtrlZIsAnsweredByTheFirstActiveTableInListOrder)
{
    TOvcCommandProcessor P;
    EXPECT_EQ(P.TranslateKeyState('Z', ss_Ctrl), ccUndo);
    P.Table(2)->SetActive(true);
    EXPECT_EQ(P.TranslateKeyState('Z', ss_Ctrl), ccUndo);
    P.Exchange(0, 2);
    EXPECT_EQ(P.TranslateKeyState('Z', ss_Ctrl), ccRestore);
    // A key only the later table knows still comes through.
    EXPECT_EQ(P.TranslateKeyState('0', ss_Ctrl), ccGotoMarker0);
    EXPECT_EQ(P.TranslateKeyState(VK_F2, ss_None), ccTableEdit);
    EXPECT_EQ(P.TranslateKeyState(VK_F9, ss_None), ccShortCut);
    // A key code beyond a byte never matches the entry of its low byte.
    EXPECT_EQ(P.TranslateKeyState(0x100 + 'Z', ss_Ctrl), ccShortCut);
}

TEST(OvcCommandTables, TwoKeySequencesAndLiteralKeysOfWordStar)
{
    struct TStep {
        Word Key;
        int Shift;
        Word Expected;
    };
    const std::vector<std::pair<std::string, std::vector<TStep>>> Cases = {
        {"Ctrl+K then 5", {{'K', ss_Ctrl, ccPartial}, {'5', 0, ccSetMarker5}}},
        {"Ctrl+K then Ctrl+5", {{'K', ss_Ctrl, ccPartial}, {'5', ss_Ctrl, ccSetMarker5}}},
        {"Ctrl+K then Shift+5",
         {{'K', ss_Ctrl, ccPartial}, {'5', ss_Shift, ccNoMatch}, {'K', ss_Ctrl, ccPartial}}},
        {"modifiers while waiting",
         {{'Q', ss_Ctrl, ccPartial},
          {VK_CONTROL, ss_Ctrl, ccPartial},
          {VK_SHIFT, SC, ccPartial},
          {'L', ss_Ctrl, ccRestore}}},
        {"modifier outside a sequence", {{VK_CAPITAL, 0, ccShortCut}, {'S', ss_Ctrl, ccLeft}}},
        {"Ctrl+P takes the next key literally",
         {{'P', ss_Ctrl, ccCtrlChar},
          {VK_CONTROL, ss_Ctrl, ccShortCut},
          {'S', ss_Ctrl, ccShortCut},
          {'S', ss_Ctrl, ccLeft}}},
        {"Ctrl+P then the first key of a sequence",
         {{'P', ss_Ctrl, ccCtrlChar}, {'K', ss_Ctrl, ccShortCut}, {'5', 0, ccShortCut}}},
        {"unknown second key",
         {{'Q', ss_Ctrl, ccPartial}, {'Z', 0, ccNoMatch}, {'Z', 0, ccShortCut}}},
    };
    for (const auto& Case : Cases) {
        TOvcCommandProcessor P;
        P.Table(0)->SetActive(false);
        P.Table(1)->SetActive(true);
        for (size_t I = 0; I < Case.second.size(); ++I) {
            const TStep& S = Case.second[I];
            EXPECT_EQ(P.TranslateKeyState(S.Key, S.Shift), S.Expected) << Case.first << " #" << I;
        }
    }
}

TEST(OvcCommandTables, ResetForgetsAWaitingSequence)
{
    TOvcCommandProcessor P;
    P.Table(1)->SetActive(true);
    EXPECT_EQ(P.TranslateKey('K', TShiftState{ssCtrl}), ccPartial);
    P.ResetCommandProcessor();
    EXPECT_EQ(P.TranslateKey('5', TShiftState{}), ccShortCut);
    EXPECT_EQ(P.TranslateKey(VK_LEFT, TShiftState{ssShift, ssCtrl}), ccExtWordLeft);
}

TEST(OvcCommandTables, AddedTablesGetUniqueNames)
{
    struct TCase {
        std::string Name, Expected;
    };
    const std::vector<TCase> Cases = {
        {"Default", "Default1"}, {"Default7", "Default1"}, {"default", "default1"},
        {"Mine", "Mine"},        {"Mine2", "Mine2"},       {"123", "123"},
    };
    for (const TCase& C : Cases) {
        TOvcCommandProcessor P;
        P.CreateCommandTable(C.Name, true);
        EXPECT_EQ(P.Table(3)->TableName(), C.Expected) << C.Name;
    }
    TOvcCommandProcessor P;
    P.CreateCommandTable("Default", false);
    P.CreateCommandTable("Default", false);
    EXPECT_EQ(P.Table(4)->TableName(), "Default2");
    // A free name whose base is free, but that another table has, is still made unique.
    P.CreateCommandTable("Mine7", false);
    P.CreateCommandTable("Mine7", false);
    EXPECT_EQ(P.Table(6)->TableName(), "Mine1");
}

TEST(OvcCommandTables, AddCommandRefusesAMissingTableAndARepeatedKeySequence)
{
    TOvcCommandProcessor P;
    EXPECT_THROW(P.AddCommand("Nowhere", VK_F5, 0, 0, 0, ccRedo), ETableNotFound);
    EXPECT_THROW(P.AddCommand("default", 'Z', ss_Ctrl, 0, 0, ccRedo), EDuplicateCommand);
    EXPECT_EQ(P.AddCommand("default", VK_F5, 0, 0, 0, ccUser + 1), 64);
    EXPECT_EQ(P.TranslateKeyState(VK_F5, 0), ccUser + 1);
    EXPECT_EQ(P.GetCommandTableByName("GRID"), P.Table(2));
    EXPECT_EQ(P.GetCommandTableByName("Nowhere"), nullptr);
}

TEST(OvcCommandTables, ATableFileRoundTripIsByteIdentical)
{
    TempDir Dir;
    const std::string Text = "Mine\r\n"
                             "  37   0   0   0    46\r\n"
                             "  81   4  83 128    42\r\n"
                             " 116   2   0   0 65535\r\n";
    WriteBytes(Dir.File("in.txt"), Text);
    TOvcCommandProcessor P;
    EXPECT_EQ(P.LoadCommandTable(Dir.File("in.txt")), 3);
    const TOvcCommandTable* T = P.Table(3);
    EXPECT_EQ(T->TableName(), "Mine");
    ASSERT_EQ(T->Count(), 3);
    EXPECT_EQ(T->Commands(1).Keys(), KeysOf('Q', ss_Ctrl, 'S', ss_Wordstar));
    EXPECT_EQ(T->Commands(2).Cmd, 65535);
    P.SaveCommandTable("mine", Dir.File("out.txt"));
    EXPECT_EQ(ReadBytes(Dir.File("out.txt")), Text);

    // The built-in table, saved, loaded as a second "Default" and saved again.
    P.SaveCommandTable("Default", Dir.File("default.txt"));
    EXPECT_EQ(P.LoadCommandTable(Dir.File("default.txt")), 4);
    EXPECT_EQ(P.Table(4)->TableName(), "Default1");
    EXPECT_EQ(P.Table(4)->Count(), 64);
    P.Table(4)->SaveToFile(Dir.File("default1.txt"));
    EXPECT_EQ(ReadBytes(Dir.File("default1.txt")).substr(10),
              ReadBytes(Dir.File("default.txt")).substr(9));

    P.SaveCommandTable("Nowhere", Dir.File("none.txt"));
    EXPECT_FALSE(std::filesystem::exists(Dir.File("none.txt")));
}

TEST(OvcCommandTables, ABadTableFileLineIsRefusedNamingFileAndLineAndTheTableIsDiscarded)
{
    struct TCase {
        std::string Name, Body;
        int Line;
    };
    const std::vector<TCase> Cases = {
        {"four numbers", "1 0 0 0 1\r\n2 0 0 0\r\n", 3},
        {"six numbers", "1 0 0 0 1 9\r\n", 2},
        {"key over 255", "\r\n256 0 0 0 1\r\n", 3},
        {"negative shift", "1 -1 0 0 1\r\n", 2},
        {"second shift over 255", "1 0 1 300 1\r\n", 2},
        {"command over 65535", "1 0 0 0 65536\r\n", 2},
        {"negative command", "1 0 0 0 -1\r\n", 2},
        {"not a number", "1 0 0 0 x\r\n", 2},
        {"number with tail", "1 0 0 0 12a\r\n", 2},
        {"huge number", "1 0 0 0 99999999999999999999999\r\n", 2},
    };
    TempDir Dir;
    for (const TCase& C : Cases) {
        const std::string File = Dir.File("bad.txt");
        WriteBytes(File, "Bad\r\n" + C.Body);
        TOvcCommandProcessor P;
        try {
            P.LoadCommandTable(File);
            ADD_FAILURE() << C.Name << ": accepted";
        } catch (const EInOutError& E) {
            EXPECT_NE(E.Message().find(File), std::string::npos) << C.Name << ": " << E.Message();
            EXPECT_NE(E.Message().find("line " + std::to_string(C.Line)), std::string::npos)
                << C.Name << ": " << E.Message();
        }
        EXPECT_EQ(P.Count(), 3) << C.Name;

        TOvcCommandTable T;
        T.AddRec(TOvcCmdRec::FromKeys(1, 1));
        EXPECT_THROW(T.LoadFromFile(File), EInOutError) << C.Name;
        EXPECT_EQ(T.Count(), 0) << C.Name;
    }
    TOvcCommandProcessor P;
    EXPECT_THROW(P.LoadCommandTable(Dir.File("missing.txt")), EInOutError);
    EXPECT_EQ(P.Count(), 3);
}

TEST(OvcCommandTables, TheStoredListOfUnchangedBuiltInTablesHoldsNoPairs)
{
    TOvcCommandProcessor P;
    ASSERT_TRUE(P.HasTableList());
    const TOvcStoredValues V = P.WriteTableList();
    ASSERT_EQ(V.size(), 9u);
    const std::vector<std::pair<std::string, bool>> Expected = {
        {"Default", true}, {"WordStar", false}, {"Grid", false}};
    for (size_t I = 0; I < 3; ++I) {
        EXPECT_EQ(V[3 * I].String, Expected[I].first);
        EXPECT_EQ(V[3 * I + 1].Kind, TOvcStoredValue::svBoolean);
        EXPECT_EQ(V[3 * I + 1].Boolean, Expected[I].second);
        EXPECT_EQ(V[3 * I + 2].Kind, TOvcStoredValue::svList);
        EXPECT_TRUE(V[3 * I + 2].List.empty());
    }
    P.Clear();
    EXPECT_FALSE(P.HasTableList());
}

TEST(OvcCommandTables, AChangedBuiltInTableStoresExactlyItsDifferencesAndReadsBack)
{
    TOvcCommandProcessor P;
    TOvcCommandTable* Default = P.Table(0);
    Default->Delete(Default->IndexOf(KeysOf('Z', ss_Ctrl)));
    P.AddCommand("Default", VK_F5, 0, 0, 0, ccRedo);
    const TOvcStoredValues V = P.WriteTableList();
    const TOvcStoredValues& Pairs = V[2].List;
    ASSERT_EQ(Pairs.size(), 4u);
    EXPECT_EQ(Pairs[0].Integer, 'Z' | ss_Ctrl << 8);
    EXPECT_EQ(Pairs[1].Integer, 0);
    EXPECT_EQ(Pairs[2].Integer, VK_F5);
    EXPECT_EQ(Pairs[3].Integer, ccRedo);

    TOvcCommandProcessor Q;
    Q.ReadTableList(V);
    ASSERT_EQ(Q.Count(), 3);
    EXPECT_EQ(Q.Table(0)->Count(), 64);
    EXPECT_EQ(Q.Table(0)->IndexOf(KeysOf('Z', ss_Ctrl)), -1);
    EXPECT_EQ(Q.TranslateKeyState(VK_F5, 0), ccRedo);
    EXPECT_EQ(Q.TranslateKeyState('Z', ss_Ctrl), ccShortCut);
}

TEST(OvcCommandTables, TheStoredListCarriesChangedCommandsOtherTablesAndTheActiveFlags)
{
    TOvcCommandProcessor P;
    P.Table(2)->PutRec(0, TOvcCmdRec::FromKeys(KeysOf(VK_LEFT, 0), ccPageLeft));
    P.Table(1)->SetActive(true);
    const int Mine = P.CreateCommandTable("Mine", true);
    P.AddCommand("Mine", 'K', ss_Ctrl, 'B', ss_Wordstar, ccUser);
    P.AddCommand("Mine", VK_F3, 0, 0, 0, ccUser + 7);
    P.Exchange(0, Mine);
    const TOvcStoredValues V = P.WriteTableList();

    TOvcCommandProcessor Q;
    Q.ReadTableList(V);
    ASSERT_EQ(Q.Count(), 4);
    for (int T = 0; T < 4; ++T) {
        EXPECT_EQ(Q.Table(T)->TableName(), P.Table(T)->TableName());
        EXPECT_EQ(Q.Table(T)->IsActive(), P.Table(T)->IsActive());
        ASSERT_EQ(Q.Table(T)->Count(), P.Table(T)->Count()) << T;
        for (int I = 0; I < P.Table(T)->Count(); ++I) {
            EXPECT_EQ(Q.Table(T)->Commands(I).Keys(), P.Table(T)->Commands(I).Keys());
            EXPECT_EQ(Q.Table(T)->Commands(I).Cmd, P.Table(T)->Commands(I).Cmd);
        }
    }
    EXPECT_EQ(V[2].List.size(), 4u); // Mine: all its entries
    EXPECT_EQ(V[8].List.size(), 2u); // Grid: the one changed command
    EXPECT_EQ(V[8].List[1].Integer, ccPageLeft);
}

TEST(OvcCommandTables, AMalformedStoredListIsRefusedAndChangesNothing)
{
    using V = TOvcStoredValue;
    const std::vector<std::pair<std::string, TOvcStoredValues>> Cases = {
        {"name without flag", {V::MakeString("Default")}},
        {"flag first", {V::MakeBoolean(true), V::MakeString("Default")}},
        {"odd pair list",
         {V::MakeString("Mine"), V::MakeBoolean(true), V::MakeList({V::MakeInteger(1)})}},
        {"command out of range",
         {V::MakeString("Mine"), V::MakeBoolean(true),
          V::MakeList({V::MakeInteger(1), V::MakeInteger(70000)})}},
        {"string in pairs",
         {V::MakeString("Mine"), V::MakeBoolean(true),
          V::MakeList({V::MakeString("x"), V::MakeInteger(1)})}},
    };
    for (const auto& Case : Cases) {
        TOvcCommandProcessor P;
        EXPECT_THROW(P.ReadTableList(Case.second), EReadError) << Case.first;
        EXPECT_EQ(P.Count(), 3) << Case.first;
    }
}

TEST(OvcCommandTables, AKeyDownMessageIsTranslatedWithTheShiftKeysHeldAtThatMoment)
{
    TWndClass Class;
    if (!GetClassInfo("TOvcCmdTestWindow", Class)) {
        Class.ClassName = "TOvcCmdTestWindow";
        RegisterClass(Class);
    }
    const HWND Wnd =
        CreateWindowEx(0, "TOvcCmdTestWindow", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20, 0);
    TOvcCommandProcessor P;
    std::vector<Word> Commands;
    SetWindowProc(Wnd, [&](HWND W, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
        if (Msg == WM_KEYDOWN || Msg == WM_SYSKEYDOWN) {
            TMessage M;
            M.Msg = Msg;
            M.WParam = WParam;
            M.LParam = LParam;
            Commands.push_back(P.Translate(M));
        }
        return DefWindowProc(W, Msg, WParam, LParam);
    });
    SetFocus(Wnd);
    InjectKeyPress('Z');
    InjectKeyDown(VK_CONTROL);
    InjectKeyPress('Z');
    InjectKeyDown(VK_SHIFT);
    InjectKeyPress('Z');
    InjectKeyUp(VK_SHIFT);
    InjectKeyUp(VK_CONTROL);
    InjectKeyDown(VK_MENU);
    InjectKeyPress(VK_BACK);
    InjectKeyUp(VK_MENU);
    TMsg Msg;
    while (PeekMessage(Msg, 0, 0, 0, PM_REMOVE)) {
        TranslateMessage(Msg);
        DispatchMessage(Msg);
    }
    DestroyWindow(Wnd);
    // Z; Ctrl; Ctrl+Z; Shift; Shift+Ctrl+Z; Alt; Alt+Back.
    const std::vector<Word> Expected = {ccShortCut, ccShortCut, ccUndo,   ccShortCut,
                                        ccRedo,     ccShortCut, ccRestore};
    EXPECT_EQ(Commands, Expected);
}
