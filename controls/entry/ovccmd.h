// controls/entry/ovccmd.h: the command numbers of the library's controls, the command tables
// that map keys (one key or a two-key sequence) to them, and the processor that translates
// key-downs through its active tables.
#pragma once

#include "platform/forms/controltypes.h"
#include "platform/rtl/object.h"
#include "platform/ui/wintypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The named commands, in alphabetical order of their names.
enum : Word {
    ccNone = 0,
    ccBack,
    ccBotOfPage,
    ccBotRightCell,
    ccCompleteDate,
    ccCompleteTime,
    ccCopy,
    ccCtrlChar,
    ccCut,
    ccDec,
    ccDel,
    ccDelBol,
    ccDelEol,
    ccDelLine,
    ccDelWord,
    ccDown,
    ccEnd,
    ccExtendDown,
    ccExtendEnd,
    ccExtendHome,
    ccExtendLeft,
    ccExtendPgDn,
    ccExtendPgUp,
    ccExtendRight,
    ccExtendUp,
    ccExtBotOfPage,
    ccExtFirstPage,
    ccExtLastPage,
    ccExtTopOfPage,
    ccExtWordLeft,
    ccExtWordRight,
    ccFirstPage,
    ccGotoMarker0,
    ccGotoMarker1,
    ccGotoMarker2,
    ccGotoMarker3,
    ccGotoMarker4,
    ccGotoMarker5,
    ccGotoMarker6,
    ccGotoMarker7,
    ccGotoMarker8,
    ccGotoMarker9,
    ccHome,
    ccInc,
    ccIns,
    ccLastPage,
    ccLeft,
    ccNewLine,
    ccNextPage,
    ccPageLeft,
    ccPageRight,
    ccPaste,
    ccPrevPage,
    ccRedo,
    ccRestore,
    ccRight,
    ccScrollDown,
    ccScrollUp,
    ccSetMarker0,
    ccSetMarker1,
    ccSetMarker2,
    ccSetMarker3,
    ccSetMarker4,
    ccSetMarker5,
    ccSetMarker6,
    ccSetMarker7,
    ccSetMarker8,
    ccSetMarker9,
    ccTab,
    ccTableEdit,
    ccTopLeftCell,
    ccTopOfPage,
    ccUndo,
    ccUp,
    ccWordLeft,
    ccWordRight, // 75
    // Results of the translation itself.
    ccChar = 249,     // a typed character (sent by controls, never in a table)
    ccShortCut = 252, // not a command
    ccNoMatch = 254,  // the second key of a sequence matched nothing
    ccPartial = 255,  // the first key of a sequence was seen; waiting for the second
    ccUser = 256,     // the first user command
};

// Library message of command Cmd's name is this plus Cmd (Cmd 0 to 75).
constexpr int CommandNameBase = 33768;

// Shift states of table entries (sums).
enum : std::uint8_t {
    ss_None = 0,
    ss_Shift = 2,
    ss_Ctrl = 4,
    ss_Alt = 8,
    ss_Wordstar = 128, // a second key's state: no shift key, or Ctrl alone
};

struct TOvcCmdRec {
    std::uint8_t Key1 = 0;
    std::uint8_t SS1 = 0;
    std::uint8_t Key2 = 0; // 0: a one-key entry
    std::uint8_t SS2 = 0;
    Word Cmd = 0;

    // The four key bytes as one value, Key1 in the lowest byte.
    std::uint32_t Keys() const;
    static TOvcCmdRec FromKeys(std::uint32_t Keys, Word Cmd);
};

class TOvcCommandTable : public TPersistent {
public:
    TOvcCommandTable();

    const std::string& TableName() const { return FTableName; }
    void SetTableName(const std::string& Value) { FTableName = Value; }
    bool IsActive() const { return FActive; }
    void SetActive(bool Value) { FActive = Value; }

    int Count() const { return static_cast<int>(FCommands.size()); }
    const TOvcCmdRec& Commands(int Index) const;
    // Appends; returns the new index.
    int AddRec(const TOvcCmdRec& Rec);
    void InsertRec(int Index, const TOvcCmdRec& Rec);
    void PutRec(int Index, const TOvcCmdRec& Rec);
    void Delete(int Index);
    void Clear();
    // The first entry with this key sequence, or -1.
    int IndexOf(std::uint32_t Keys) const;

    // Line 1 the name, then per entry Key1 Shift1 Key2 Shift2 Cmd. A line that is not five
    // numbers in range raises EInOutError naming the file and the line; the table is then empty.
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName) const;

    // The first entry that key K with shift S matches, or nullptr. Waiting: K is the second
    // key of a sequence that began with FirstKey and FirstShift.
    const TOvcCmdRec* Match(int K, int S, bool Waiting, int FirstKey, int FirstShift) const;

private:
    void CheckIndex(int Index, bool AllowEnd) const;

    std::string FTableName;
    bool FActive = true;
    std::vector<TOvcCmdRec> FCommands;
};

// One value of a stored property: an integer, a string, a Boolean or a list of values.
struct TOvcStoredValue {
    enum TKind { svInteger, svString, svBoolean, svList };
    TKind Kind = svInteger;
    std::int64_t Integer = 0;
    std::string String;
    bool Boolean = false;
    std::vector<TOvcStoredValue> List;

    static TOvcStoredValue MakeInteger(std::int64_t V);
    static TOvcStoredValue MakeString(const std::string& V);
    static TOvcStoredValue MakeBoolean(bool V);
    static TOvcStoredValue MakeList(std::vector<TOvcStoredValue> V);
};
using TOvcStoredValues = std::vector<TOvcStoredValue>;

class TOvcCommandProcessor : public TPersistent {
public:
    // Holds "Default" (active), "WordStar" and "Grid".
    TOvcCommandProcessor();
    ~TOvcCommandProcessor() override;

    int Count() const { return static_cast<int>(FTables.size()); }
    TOvcCommandTable* Table(int Index) const;
    // Takes the table, first making its name unique among the processor's tables.
    void Add(std::unique_ptr<TOvcCommandTable> Table);
    int CreateCommandTable(const std::string& TableName, bool Active);
    // Case-insensitive; the first match; nullptr when absent.
    TOvcCommandTable* GetCommandTableByName(const std::string& TableName) const;
    // Raises ETableNotFound, or EDuplicateCommand when the key sequence is there already.
    int AddCommand(const std::string& TableName, int Key1, int Shift1, int Key2, int Shift2,
                   Word Command);
    void Exchange(int Index1, int Index2);
    void Clear();
    void ResetCommandProcessor();

    // A key-down message (WParam the key), with the shift keys' state as it is now.
    Word Translate(const TMessage& Msg);
    Word TranslateKey(Word Key, TShiftState ShiftState);
    // ShiftState as the sum ss_Shift + ss_Ctrl + ss_Alt.
    Word TranslateKeyState(Word Key, int ShiftState);

    virtual int LoadCommandTable(const std::string& FileName);
    virtual void SaveCommandTable(const std::string& TableName, const std::string& FileName);

    // The stored "TableList": per table its name, active flag and the list of (key sequence,
    // command) integers; a built-in table stores only its differences from the built-in one.
    bool HasTableList() const { return !FTables.empty(); }
    TOvcStoredValues WriteTableList() const;
    // Replaces every table; a value list of another shape raises EReadError.
    void ReadTableList(const TOvcStoredValues& Values);

private:
    std::string UniqueName(const std::string& Name) const;

    std::vector<std::unique_ptr<TOvcCommandTable>> FTables;
    int FMode = 0; // 0 normal, 1 waiting for the second key, 2 the next key is literal
    int FFirstKey = 0;
    int FFirstShift = 0;
};

// The entries of built-in table Name ("Default", "WordStar", "Grid"; case-insensitive), or
// nullptr for any other name.
const std::vector<TOvcCmdRec>* BuiltInCommands(const std::string& Name);
