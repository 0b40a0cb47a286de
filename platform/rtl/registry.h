// platform/rtl/registry.h: TRegistry, keys and typed values under a root key, and TRegIniFile,
// the INI-style layer on top of it (sections are subkeys, values are strings). Both keep their
// data in the file-backed store of platform/rtl/registrystore.h.
#pragma once

#include "platform/rtl/object.h"
#include "platform/rtl/registrystore.h"
#include "platform/rtl/types.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TStrings;

using REGSAM = std::uint32_t;
constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_EXECUTE = KEY_READ;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

struct TRegDataInfo {
    TRegDataType RegData = rdUnknown;
    int DataSize = 0; // bytes; a string counts its terminating NUL
};

// A key path starting with '\' is absolute from the root; any other is relative to the current
// key (or the root when none is open). Key and value names compare without case; the unnamed
// default value is the name "". Reading a value of another type raises ERegistryException
// "Invalid data type for 'Name'"; reading a missing number "Failed to get data for 'Name'";
// a failed write "Failed to set data for 'Name'", followed, when the store file could not be
// written, by ": " and why ("Cannot create file "<store>". Permission denied").
class TRegistry : public TObject {
public:
    TRegistry();
    explicit TRegistry(REGSAM AAccess);
    ~TRegistry() override;
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey() const { return FRootKey; }
    // Closes the current key when the root changes.
    void SetRootKey(HKEY Value);
    REGSAM Access() const { return FAccess; }
    void SetAccess(REGSAM Value) { FAccess = Value; }
    // Kept for the units that set it; every write reaches the file at once.
    bool LazyWrite() const { return FLazyWrite; }
    void SetLazyWrite(bool Value) { FLazyWrite = Value; }
    // 0 when no key is open.
    HKEY CurrentKey() const { return FKeyOpen ? FRootKey : 0; }
    // The open key's path from the root, without a leading '\'.
    const std::string& CurrentPath() const { return FCurrentPath; }

    // False when the key does not exist (and may not be created) or cannot be created.
    bool OpenKey(const std::string& Key, bool CanCreate);
    // Opens for reading only and sets Access to KEY_READ.
    bool OpenKeyReadOnly(const std::string& Key);
    // Raises ERegistryException "Failed to create key <Key>: <why>" on failure.
    bool CreateKey(const std::string& Key);
    // Deletes the key with all its subkeys; false when it did not exist or could not go.
    bool DeleteKey(const std::string& Key);
    void CloseKey();
    bool KeyExists(const std::string& Key);

    // The names of the current key's subkeys (sorted) or values (in the order written).
    void GetKeyNames(TStrings* Strings);
    void GetValueNames(TStrings* Strings);
    bool HasSubKeys();
    bool ValueExists(const std::string& Name);
    bool GetDataInfo(const std::string& ValueName, TRegDataInfo& Value);
    TRegDataType GetDataType(const std::string& ValueName); // rdUnknown when missing
    int GetDataSize(const std::string& ValueName);          // -1 when missing

    // "" when the value is missing.
    std::string ReadString(const std::string& Name);
    void WriteString(const std::string& Name, const std::string& Value);
    void WriteExpandString(const std::string& Name, const std::string& Value);
    // DWORD values.
    int ReadInteger(const std::string& Name);
    void WriteInteger(const std::string& Name, int Value);
    bool ReadBool(const std::string& Name);
    void WriteBool(const std::string& Name, bool Value);
    // Binary values of 8 bytes.
    double ReadFloat(const std::string& Name);
    void WriteFloat(const std::string& Name, double Value);
    TDateTime ReadDateTime(const std::string& Name);
    void WriteDateTime(const std::string& Name, TDateTime Value);
    TDateTime ReadDate(const std::string& Name) { return ReadDateTime(Name); }
    void WriteDate(const std::string& Name, TDateTime Value) { WriteDateTime(Name, Value); }
    TDateTime ReadTime(const std::string& Name) { return ReadDateTime(Name); }
    void WriteTime(const std::string& Name, TDateTime Value) { WriteDateTime(Name, Value); }
    // The value's size, after copying it into Buffer; 0 when it is missing. Raises when the
    // value is not binary or does not fit BufSize.
    int ReadBinaryData(const std::string& Name, void* Buffer, int BufSize);
    void WriteBinaryData(const std::string& Name, const void* Buffer, int BufSize);

    bool DeleteValue(const std::string& Name);
    // Does nothing unless OldName exists and NewName does not.
    void RenameValue(const std::string& OldName, const std::string& NewName);

protected:
    // The path Key names, from the current key (or root) or, with a leading '\', the root.
    std::string ResolvePath(const std::string& Key) const;
    std::string BasePath() const { return FKeyOpen ? FCurrentPath : std::string(); }
    bool FindValue(const std::string& Path, const std::string& Name, TRegStoreValue& Value);
    bool PathExists(const std::string& Path);
    // Writes a value of the key at Path, creating the key first when CreatePath is set.
    void PutData(const std::string& Path, bool CreatePath, const std::string& Name,
                 TRegDataType DataType, const std::string& Data);
    void PutCurrent(const std::string& Name, TRegDataType DataType, const std::string& Data);
    [[noreturn]] static void ReadError(const std::string& Name);
    // "Failed to set data for 'Name'", then ": " and the cause when there is one (the store's
    // message with the system's reason).
    [[noreturn]] static void SetDataError(const std::string& Name, const std::string& Cause = "");
    bool DeleteValueAt(const std::string& Path, const std::string& Name);
    // The names of the key at Path, the built-in layer's merged in: its subkeys sorted without
    // case, and its values in the order written (a value in the file hiding the built-in one).
    std::vector<std::string> SubKeyNamesAt(const std::string& Path);
    std::vector<std::string> ValueNamesAt(const std::string& Path);
    // Creates the key at Path in the file when it is not there; raises ERegistryException when
    // the file cannot be written.
    void MakeKey(const std::string& Path);
    // Runs Change on the file and writes it when Change answers true; false when Change changed
    // nothing or the file could not be written.
    bool TryChange(const std::function<bool(TRegistryData& File)>& Change);

private:
    HKEY FRootKey = HKEY_CURRENT_USER;
    REGSAM FAccess = KEY_ALL_ACCESS;
    REGSAM FKeyAccess = 0; // the access the current key was opened with
    bool FLazyWrite = true;
    bool FKeyOpen = false;
    std::string FCurrentPath;
};

// Opens (creating it) the key FileName under HKEY_CURRENT_USER. Each section is a subkey of it;
// values are written as strings, Booleans as "1" and "0" and integers as decimal text. Reading a
// number takes a string (the default when it is not a number) or a DWORD.
class TRegIniFile : public TRegistry {
public:
    explicit TRegIniFile(const std::string& FileName);
    TRegIniFile(const std::string& FileName, REGSAM AAccess);

    const std::string& FileName() const { return FFileName; }

    using TRegistry::DeleteKey;
    using TRegistry::ReadBool;
    using TRegistry::ReadInteger;
    using TRegistry::ReadString;
    using TRegistry::ValueExists;
    using TRegistry::WriteBool;
    using TRegistry::WriteInteger;
    using TRegistry::WriteString;

    // Raises "Invalid data type for 'Ident'" when the value is there but not a string.
    std::string ReadString(const std::string& Section, const std::string& Ident,
                           const std::string& Default);
    void WriteString(const std::string& Section, const std::string& Ident,
                     const std::string& Value);
    int ReadInteger(const std::string& Section, const std::string& Ident, int Default);
    void WriteInteger(const std::string& Section, const std::string& Ident, int Value);
    bool ReadBool(const std::string& Section, const std::string& Ident, bool Default);
    void WriteBool(const std::string& Section, const std::string& Ident, bool Value);

    // The value names of a section; the sections (subkeys); "name=value" lines of a section.
    void ReadSection(const std::string& Section, TStrings* Strings);
    void ReadSections(TStrings* Strings);
    void ReadSectionValues(const std::string& Section, TStrings* Strings);
    bool SectionExists(const std::string& Section);
    bool ValueExists(const std::string& Section, const std::string& Ident);
    void EraseSection(const std::string& Section);
    void DeleteKey(const std::string& Section, const std::string& Ident);

private:
    std::string SectionPath(const std::string& Section) const;

    std::string FFileName;
};
