// controls/entry/ovccmd.cpp: command tables, the built-in tables, key translation, the table
// text file and the stored table list.
#include "controls/entry/ovccmd.h"

#include "controls/entry/ovcexcpt.h"
#include "controls/entry/ovcsrmgr.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/textfile.h"
#include "platform/ui/input.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <utility>

namespace {

// I/O error number of a malformed number in a text file.
constexpr int InvalidNumericFormat = 106;

TOvcCmdRec Rec(int Key1, int SS1, Word Cmd)
{
    TOvcCmdRec R;
    R.Key1 = static_cast<std::uint8_t>(Key1);
    R.SS1 = static_cast<std::uint8_t>(SS1);
    R.Cmd = Cmd;
    return R;
}

TOvcCmdRec Rec2(int Key1, int SS1, int Key2, Word Cmd)
{
    TOvcCmdRec R = Rec(Key1, SS1, Cmd);
    R.Key2 = static_cast<std::uint8_t>(Key2);
    R.SS2 = ss_Wordstar;
    return R;
}

constexpr int SC = ss_Shift + ss_Ctrl;

// The Shift and Shift+Ctrl selection entries, shared by "Default" and "Grid".
void AddSelection(std::vector<TOvcCmdRec>& T)
{
    T.push_back(Rec(VK_LEFT, ss_Shift, ccExtendLeft));
    T.push_back(Rec(VK_RIGHT, ss_Shift, ccExtendRight));
    T.push_back(Rec(VK_HOME, ss_Shift, ccExtendHome));
    T.push_back(Rec(VK_END, ss_Shift, ccExtendEnd));
    T.push_back(Rec(VK_LEFT, SC, ccExtWordLeft));
    T.push_back(Rec(VK_RIGHT, SC, ccExtWordRight));
    T.push_back(Rec(VK_PRIOR, ss_Shift, ccExtendPgUp));
    T.push_back(Rec(VK_NEXT, ss_Shift, ccExtendPgDn));
    T.push_back(Rec(VK_UP, ss_Shift, ccExtendUp));
    T.push_back(Rec(VK_DOWN, ss_Shift, ccExtendDown));
    T.push_back(Rec(VK_HOME, SC, ccExtFirstPage));
    T.push_back(Rec(VK_END, SC, ccExtLastPage));
    T.push_back(Rec(VK_PRIOR, SC, ccExtTopOfPage));
    T.push_back(Rec(VK_NEXT, SC, ccExtBotOfPage));
}

std::vector<TOvcCmdRec> DefaultTable()
{
    std::vector<TOvcCmdRec> T = {
        Rec(VK_LEFT, ss_None, ccLeft),      Rec(VK_RIGHT, ss_None, ccRight),
        Rec(VK_LEFT, ss_Ctrl, ccWordLeft),  Rec(VK_RIGHT, ss_Ctrl, ccWordRight),
        Rec(VK_HOME, ss_None, ccHome),      Rec(VK_END, ss_None, ccEnd),
        Rec(VK_DELETE, ss_None, ccDel),     Rec(VK_BACK, ss_None, ccBack),
        Rec(VK_BACK, ss_Shift, ccBack),     Rec(VK_PRIOR, ss_Ctrl, ccTopOfPage),
        Rec(VK_NEXT, ss_Ctrl, ccBotOfPage), Rec(VK_INSERT, ss_None, ccIns),
        Rec('Z', ss_Ctrl, ccUndo),          Rec(VK_BACK, ss_Alt, ccRestore),
        Rec(VK_UP, ss_None, ccUp),          Rec(VK_DOWN, ss_None, ccDown),
        Rec(VK_RETURN, ss_Ctrl, ccNewLine),
    };
    AddSelection(T);
    const std::vector<TOvcCmdRec> Rest = {
        Rec(VK_DELETE, ss_Shift, ccCut),
        Rec('X', ss_Ctrl, ccCut),
        Rec(VK_INSERT, ss_Ctrl, ccCopy),
        Rec('C', ss_Ctrl, ccCopy),
        Rec(VK_INSERT, ss_Shift, ccPaste),
        Rec('V', ss_Ctrl, ccPaste),
        Rec(VK_PRIOR, ss_None, ccPrevPage),
        Rec(VK_NEXT, ss_None, ccNextPage),
        Rec(VK_HOME, ss_Ctrl, ccFirstPage),
        Rec(VK_END, ss_Ctrl, ccLastPage),
        Rec(VK_TAB, ss_None, ccTab),
        Rec(VK_TAB, ss_Ctrl, ccTab),
        Rec('Z', SC, ccRedo),
    };
    T.insert(T.end(), Rest.begin(), Rest.end());
    for (int I = 0; I < 10; ++I)
        T.push_back(Rec('0' + I, ss_Ctrl, static_cast<Word>(ccGotoMarker0 + I)));
    for (int I = 0; I < 10; ++I)
        T.push_back(Rec('0' + I, SC, static_cast<Word>(ccSetMarker0 + I)));
    return T;
}

std::vector<TOvcCmdRec> WordStarTable()
{
    std::vector<TOvcCmdRec> T = {
        Rec('S', ss_Ctrl, ccLeft),       Rec('D', ss_Ctrl, ccRight),
        Rec('E', ss_Ctrl, ccUp),         Rec('X', ss_Ctrl, ccDown),
        Rec('R', ss_Ctrl, ccPrevPage),   Rec('C', ss_Ctrl, ccNextPage),
        Rec('W', ss_Ctrl, ccScrollUp),   Rec('Z', ss_Ctrl, ccScrollDown),
        Rec('A', ss_Ctrl, ccWordLeft),   Rec('F', ss_Ctrl, ccWordRight),
        Rec2('Q', ss_Ctrl, 'S', ccHome), Rec2('Q', ss_Ctrl, 'D', ccEnd),
        Rec('G', ss_Ctrl, ccDel),        Rec('H', ss_Ctrl, ccBack),
        Rec('Y', ss_Ctrl, ccDelLine),    Rec2('Q', ss_Ctrl, 'Y', ccDelEol),
        Rec('V', ss_Ctrl, ccIns),        Rec('T', ss_Ctrl, ccDelWord),
        Rec('P', ss_Ctrl, ccCtrlChar),   Rec2('Q', ss_Ctrl, 'L', ccRestore),
    };
    for (int I = 0; I < 10; ++I)
        T.push_back(Rec2('Q', ss_Ctrl, '0' + I, static_cast<Word>(ccGotoMarker0 + I)));
    for (int I = 0; I < 10; ++I)
        T.push_back(Rec2('K', ss_Ctrl, '0' + I, static_cast<Word>(ccSetMarker0 + I)));
    return T;
}

std::vector<TOvcCmdRec> GridTable()
{
    std::vector<TOvcCmdRec> T = {
        Rec(VK_LEFT, ss_None, ccLeft),      Rec(VK_RIGHT, ss_None, ccRight),
        Rec(VK_LEFT, ss_Ctrl, ccPageLeft),  Rec(VK_RIGHT, ss_Ctrl, ccPageRight),
        Rec(VK_HOME, ss_None, ccHome),      Rec(VK_END, ss_None, ccEnd),
        Rec(VK_DELETE, ss_None, ccDel),     Rec(VK_BACK, ss_None, ccBack),
        Rec(VK_NEXT, ss_Ctrl, ccBotOfPage), Rec(VK_PRIOR, ss_Ctrl, ccTopOfPage),
        Rec(VK_INSERT, ss_None, ccIns),     Rec('Z', ss_Ctrl, ccRestore),
        Rec(VK_UP, ss_None, ccUp),          Rec(VK_DOWN, ss_None, ccDown),
    };
    AddSelection(T);
    const std::vector<TOvcCmdRec> Rest = {
        Rec('X', ss_Ctrl, ccCut),
        Rec('C', ss_Ctrl, ccCopy),
        Rec('V', ss_Ctrl, ccPaste),
        Rec(VK_PRIOR, ss_None, ccPrevPage),
        Rec(VK_HOME, ss_Ctrl, ccFirstPage),
        Rec(VK_NEXT, ss_None, ccNextPage),
        Rec(VK_END, ss_Ctrl, ccLastPage),
        Rec(VK_UP, ss_Ctrl, ccTopLeftCell),
        Rec(VK_DOWN, ss_Ctrl, ccBotRightCell),
        Rec(VK_F2, ss_None, ccTableEdit),
    };
    T.insert(T.end(), Rest.begin(), Rest.end());
    return T;
}

struct TBuiltIn {
    std::uint16_t NameId;
    std::vector<TOvcCmdRec> Commands;
};

const std::vector<TBuiltIn>& BuiltIns()
{
    static const std::vector<TBuiltIn> Tables = {
        {30275, DefaultTable()},
        {30276, WordStarTable()},
        {30266, GridTable()},
    };
    return Tables;
}

bool IsModifier(int Key)
{
    switch (Key) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_CAPITAL:
    case VK_NUMLOCK:
    case VK_SCROLL:
        return true;
    default:
        return false;
    }
}

[[noreturn]] void BadLine(const std::string& FileName, int Line)
{
    throw EInOutError("Invalid command entry in \"" + FileName + "\", line " +
                          std::to_string(Line) +
                          ": five numbers expected (key, shift, key, shift from 0 to 255, "
                          "command from 0 to 65535)",
                      InvalidNumericFormat);
}

// The whitespace-separated integers of Line; false when one is not a decimal integer.
bool ReadNumbers(const std::string& Line, std::vector<long long>& Numbers)
{
    size_t I = 0;
    while (true) {
        while (I < Line.size() && static_cast<unsigned char>(Line[I]) <= ' ')
            ++I;
        if (I >= Line.size())
            return true;
        size_t End = I;
        while (End < Line.size() && static_cast<unsigned char>(Line[End]) > ' ')
            ++End;
        const char* First = Line.data() + I;
        const char* Last = Line.data() + End;
        if (*First == '+' && Last - First > 1 && First[1] != '-')
            ++First;
        long long Value = 0;
        const auto Result = std::from_chars(First, Last, Value);
        if (Result.ec != std::errc() || Result.ptr != Last)
            return false;
        Numbers.push_back(Value);
        I = End;
    }
}

[[noreturn]] void BadStoredList()
{
    throw EReadError("Invalid property value: TableList");
}

} // namespace

// --- TOvcCmdRec ---

std::uint32_t TOvcCmdRec::Keys() const
{
    return static_cast<std::uint32_t>(Key1) | static_cast<std::uint32_t>(SS1) << 8 |
           static_cast<std::uint32_t>(Key2) << 16 | static_cast<std::uint32_t>(SS2) << 24;
}

TOvcCmdRec TOvcCmdRec::FromKeys(std::uint32_t Keys, Word Cmd)
{
    TOvcCmdRec R;
    R.Key1 = static_cast<std::uint8_t>(Keys);
    R.SS1 = static_cast<std::uint8_t>(Keys >> 8);
    R.Key2 = static_cast<std::uint8_t>(Keys >> 16);
    R.SS2 = static_cast<std::uint8_t>(Keys >> 24);
    R.Cmd = Cmd;
    return R;
}

const std::vector<TOvcCmdRec>* BuiltInCommands(const std::string& Name)
{
    for (const TBuiltIn& B : BuiltIns())
        if (AnsiSameText(Name, LibraryString(B.NameId)))
            return &B.Commands;
    return nullptr;
}

// --- TOvcCommandTable ---

TOvcCommandTable::TOvcCommandTable() : FTableName(LibraryString(30277)) {}

void TOvcCommandTable::CheckIndex(int Index, bool AllowEnd) const
{
    if (Index < 0 || Index > Count() || (Index == Count() && !AllowEnd))
        throw ETableNotFound();
}

const TOvcCmdRec& TOvcCommandTable::Commands(int Index) const
{
    CheckIndex(Index, false);
    return FCommands[static_cast<size_t>(Index)];
}

int TOvcCommandTable::AddRec(const TOvcCmdRec& Rec)
{
    FCommands.push_back(Rec);
    return Count() - 1;
}

void TOvcCommandTable::InsertRec(int Index, const TOvcCmdRec& Rec)
{
    CheckIndex(Index, true);
    FCommands.insert(FCommands.begin() + Index, Rec);
}

void TOvcCommandTable::PutRec(int Index, const TOvcCmdRec& Rec)
{
    CheckIndex(Index, false);
    FCommands[static_cast<size_t>(Index)] = Rec;
}

void TOvcCommandTable::Delete(int Index)
{
    CheckIndex(Index, false);
    FCommands.erase(FCommands.begin() + Index);
}

void TOvcCommandTable::Clear()
{
    FCommands.clear();
}

int TOvcCommandTable::IndexOf(std::uint32_t Keys) const
{
    for (int I = 0; I < Count(); ++I)
        if (FCommands[static_cast<size_t>(I)].Keys() == Keys)
            return I;
    return -1;
}

const TOvcCmdRec* TOvcCommandTable::Match(int K, int S, bool Waiting, int FirstKey,
                                          int FirstShift) const
{
    for (const TOvcCmdRec& R : FCommands) {
        if (Waiting) {
            if (R.Key1 == FirstKey && R.SS1 == FirstShift && R.Key2 != 0 && R.Key2 == K &&
                (R.SS2 == S || (R.SS2 == ss_Wordstar && (S == ss_None || S == ss_Ctrl))))
                return &R;
        } else if (R.Key1 == K && R.SS1 == S) {
            return &R;
        }
    }
    return nullptr;
}

void TOvcCommandTable::LoadFromFile(const std::string& FileName)
{
    Clear();
    TTextFile F;
    F.AssignFile(FileName);
    F.Reset();
    try {
        std::string Line;
        F.ReadLn(Line);
        FTableName = Line;
        int LineNo = 1;
        std::vector<long long> N;
        while (!F.Eof()) {
            F.ReadLn(Line);
            ++LineNo;
            N.clear();
            if (!ReadNumbers(Line, N))
                BadLine(FileName, LineNo);
            if (N.empty())
                continue;
            if (N.size() != 5)
                BadLine(FileName, LineNo);
            for (int I = 0; I < 4; ++I)
                if (N[static_cast<size_t>(I)] < 0 || N[static_cast<size_t>(I)] > 255)
                    BadLine(FileName, LineNo);
            if (N[4] < 0 || N[4] > 65535)
                BadLine(FileName, LineNo);
            TOvcCmdRec R;
            R.Key1 = static_cast<std::uint8_t>(N[0]);
            R.SS1 = static_cast<std::uint8_t>(N[1]);
            R.Key2 = static_cast<std::uint8_t>(N[2]);
            R.SS2 = static_cast<std::uint8_t>(N[3]);
            R.Cmd = static_cast<Word>(N[4]);
            AddRec(R);
        }
    } catch (...) {
        Clear();
        F.CloseFile();
        throw;
    }
    F.CloseFile();
}

void TOvcCommandTable::SaveToFile(const std::string& FileName) const
{
    TTextFile F;
    F.AssignFile(FileName);
    F.Rewrite();
    F.WriteLn(FTableName);
    for (const TOvcCmdRec& R : FCommands) {
        char Buf[40];
        std::snprintf(Buf, sizeof Buf, "%4d%4d%4d%4d%6d", R.Key1, R.SS1, R.Key2, R.SS2, R.Cmd);
        F.WriteLn(Buf);
    }
    F.CloseFile();
}

// --- TOvcStoredValue ---

TOvcStoredValue TOvcStoredValue::MakeInteger(std::int64_t V)
{
    TOvcStoredValue R;
    R.Kind = svInteger;
    R.Integer = V;
    return R;
}

TOvcStoredValue TOvcStoredValue::MakeString(const std::string& V)
{
    TOvcStoredValue R;
    R.Kind = svString;
    R.String = V;
    return R;
}

TOvcStoredValue TOvcStoredValue::MakeBoolean(bool V)
{
    TOvcStoredValue R;
    R.Kind = svBoolean;
    R.Boolean = V;
    return R;
}

TOvcStoredValue TOvcStoredValue::MakeList(std::vector<TOvcStoredValue> V)
{
    TOvcStoredValue R;
    R.Kind = svList;
    R.List = std::move(V);
    return R;
}

// --- TOvcCommandProcessor ---

TOvcCommandProcessor::TOvcCommandProcessor()
{
    for (const TBuiltIn& B : BuiltIns()) {
        auto T = std::make_unique<TOvcCommandTable>();
        T->SetTableName(LibraryString(B.NameId));
        T->SetActive(FTables.empty());
        for (const TOvcCmdRec& R : B.Commands)
            T->AddRec(R);
        Add(std::move(T));
    }
    ResetCommandProcessor();
}

TOvcCommandProcessor::~TOvcCommandProcessor() = default;

TOvcCommandTable* TOvcCommandProcessor::Table(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw ETableNotFound();
    return FTables[static_cast<size_t>(Index)].get();
}

std::string TOvcCommandProcessor::UniqueName(const std::string& Name) const
{
    size_t Len = Name.size();
    while (Len > 1 && Name[Len - 1] >= '0' && Name[Len - 1] <= '9')
        --Len;
    const std::string Base = Name.substr(0, Len);
    // A name that is free, and whose base is free too, stays.
    if (!GetCommandTableByName(Base) && !GetCommandTableByName(Name))
        return Name;
    for (int I = 1;; ++I) {
        const std::string Candidate = Base + std::to_string(I);
        if (!GetCommandTableByName(Candidate))
            return Candidate;
    }
}

void TOvcCommandProcessor::Add(std::unique_ptr<TOvcCommandTable> Table)
{
    Table->SetTableName(UniqueName(Table->TableName()));
    FTables.push_back(std::move(Table));
}

int TOvcCommandProcessor::CreateCommandTable(const std::string& TableName, bool Active)
{
    auto T = std::make_unique<TOvcCommandTable>();
    T->SetTableName(TableName);
    T->SetActive(Active);
    Add(std::move(T));
    return Count() - 1;
}

TOvcCommandTable* TOvcCommandProcessor::GetCommandTableByName(const std::string& TableName) const
{
    for (const auto& T : FTables)
        if (AnsiSameText(T->TableName(), TableName))
            return T.get();
    return nullptr;
}

int TOvcCommandProcessor::AddCommand(const std::string& TableName, int Key1, int Shift1, int Key2,
                                     int Shift2, Word Command)
{
    TOvcCommandTable* T = GetCommandTableByName(TableName);
    if (!T)
        throw ETableNotFound();
    TOvcCmdRec R;
    R.Key1 = static_cast<std::uint8_t>(Key1);
    R.SS1 = static_cast<std::uint8_t>(Shift1);
    R.Key2 = static_cast<std::uint8_t>(Key2);
    R.SS2 = static_cast<std::uint8_t>(Shift2);
    R.Cmd = Command;
    if (T->IndexOf(R.Keys()) >= 0)
        throw EDuplicateCommand();
    return T->AddRec(R);
}

void TOvcCommandProcessor::Exchange(int Index1, int Index2)
{
    Table(Index1);
    Table(Index2);
    std::swap(FTables[static_cast<size_t>(Index1)], FTables[static_cast<size_t>(Index2)]);
}

void TOvcCommandProcessor::Clear()
{
    FTables.clear();
}

void TOvcCommandProcessor::ResetCommandProcessor()
{
    FMode = 0;
    FFirstKey = 0;
    FFirstShift = 0;
}

Word TOvcCommandProcessor::Translate(const TMessage& Msg)
{
    int S = ss_None;
    if (GetKeyState(VK_CONTROL) < 0)
        S += ss_Ctrl;
    if (GetKeyState(VK_SHIFT) < 0)
        S += ss_Shift;
    if (GetKeyState(VK_MENU) < 0)
        S += ss_Alt;
    return TranslateKeyState(static_cast<Word>(Msg.WParam), S);
}

Word TOvcCommandProcessor::TranslateKey(Word Key, TShiftState ShiftState)
{
    int S = ss_None;
    if (ShiftState.Contains(ssShift))
        S += ss_Shift;
    if (ShiftState.Contains(ssAlt))
        S += ss_Alt;
    if (ShiftState.Contains(ssCtrl))
        S += ss_Ctrl;
    return TranslateKeyState(Key, S);
}

Word TOvcCommandProcessor::TranslateKeyState(Word Key, int ShiftState)
{
    if (IsModifier(Key))
        return FMode == 1 ? ccPartial : ccShortCut;
    if (FMode == 2) {
        FMode = 0;
        return ccShortCut;
    }
    const bool Waiting = FMode == 1;
    for (const auto& T : FTables) {
        if (!T->IsActive())
            continue;
        const TOvcCmdRec* R = T->Match(Key, ShiftState, Waiting, FFirstKey, FFirstShift);
        if (!R)
            continue;
        if (!Waiting && R->Key2 != 0) {
            FFirstKey = Key;
            FFirstShift = ShiftState;
            FMode = 1;
            return ccPartial;
        }
        if (R->Cmd == ccNone)
            continue;
        FMode = R->Cmd == ccCtrlChar ? 2 : 0;
        return R->Cmd;
    }
    FMode = 0;
    return Waiting ? ccNoMatch : ccShortCut;
}

int TOvcCommandProcessor::LoadCommandTable(const std::string& FileName)
{
    auto T = std::make_unique<TOvcCommandTable>();
    T->LoadFromFile(FileName);
    Add(std::move(T));
    return Count() - 1;
}

void TOvcCommandProcessor::SaveCommandTable(const std::string& TableName,
                                            const std::string& FileName)
{
    if (const TOvcCommandTable* T = GetCommandTableByName(TableName))
        T->SaveToFile(FileName);
}

TOvcStoredValues TOvcCommandProcessor::WriteTableList() const
{
    TOvcStoredValues Tables;
    for (const auto& T : FTables) {
        Tables.push_back(TOvcStoredValue::MakeString(T->TableName()));
        Tables.push_back(TOvcStoredValue::MakeBoolean(T->IsActive()));
        TOvcStoredValues Pairs;
        const auto Pair = [&Pairs](std::uint32_t Keys, Word Cmd) {
            Pairs.push_back(TOvcStoredValue::MakeInteger(static_cast<std::int32_t>(Keys)));
            Pairs.push_back(TOvcStoredValue::MakeInteger(Cmd));
        };
        if (const std::vector<TOvcCmdRec>* Built = BuiltInCommands(T->TableName())) {
            for (const TOvcCmdRec& B : *Built)
                if (T->IndexOf(B.Keys()) < 0)
                    Pair(B.Keys(), 0);
            for (int I = 0; I < T->Count(); ++I) {
                const TOvcCmdRec& R = T->Commands(I);
                const bool Same = std::any_of(Built->begin(), Built->end(), [&R](const auto& B) {
                    return B.Keys() == R.Keys() && B.Cmd == R.Cmd;
                });
                if (!Same)
                    Pair(R.Keys(), R.Cmd);
            }
        } else {
            for (int I = 0; I < T->Count(); ++I)
                Pair(T->Commands(I).Keys(), T->Commands(I).Cmd);
        }
        Tables.push_back(TOvcStoredValue::MakeList(std::move(Pairs)));
    }
    return Tables;
}

void TOvcCommandProcessor::ReadTableList(const TOvcStoredValues& Values)
{
    // Everything is read into new tables first, so a bad list leaves the processor as it was.
    std::vector<std::unique_ptr<TOvcCommandTable>> Read;
    size_t I = 0;
    while (I < Values.size()) {
        if (I + 1 >= Values.size() || Values[I].Kind != TOvcStoredValue::svString ||
            Values[I + 1].Kind != TOvcStoredValue::svBoolean)
            BadStoredList();
        auto T = std::make_unique<TOvcCommandTable>();
        T->SetTableName(Values[I].String);
        T->SetActive(Values[I + 1].Boolean);
        I += 2;
        const std::vector<TOvcCmdRec>* Built = BuiltInCommands(T->TableName());
        if (Built)
            for (const TOvcCmdRec& B : *Built)
                T->AddRec(B);
        if (I < Values.size() && Values[I].Kind == TOvcStoredValue::svList) {
            const TOvcStoredValues& Pairs = Values[I].List;
            ++I;
            if (Pairs.size() % 2 != 0)
                BadStoredList();
            for (size_t P = 0; P < Pairs.size(); P += 2) {
                const TOvcStoredValue& K = Pairs[P];
                const TOvcStoredValue& C = Pairs[P + 1];
                if (K.Kind != TOvcStoredValue::svInteger || C.Kind != TOvcStoredValue::svInteger ||
                    K.Integer < INT32_MIN || K.Integer > UINT32_MAX || C.Integer < 0 ||
                    C.Integer > 65535)
                    BadStoredList();
                const auto Keys = static_cast<std::uint32_t>(K.Integer);
                const auto Cmd = static_cast<Word>(C.Integer);
                if (!Built) {
                    T->AddRec(TOvcCmdRec::FromKeys(Keys, Cmd));
                    continue;
                }
                const int At = T->IndexOf(Keys);
                if (At < 0)
                    T->AddRec(TOvcCmdRec::FromKeys(Keys, Cmd));
                else if (Cmd != 0)
                    T->PutRec(At, TOvcCmdRec::FromKeys(Keys, Cmd));
                else
                    T->Delete(At);
            }
        }
        Read.push_back(std::move(T));
    }
    Clear();
    for (auto& T : Read)
        Add(std::move(T));
    ResetCommandProcessor();
}
