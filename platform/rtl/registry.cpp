// platform/rtl/registry.cpp: TRegistry and TRegIniFile over the registry store.
#include "platform/rtl/registry.h"

#include "platform/rtl/convert.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/strings.h"

#include <cstring>
#include <map>

namespace {

std::string JoinPath(const std::string& Base, const std::string& Key)
{
    std::string Result = Base;
    std::size_t Start = 0;
    while (Start <= Key.size()) {
        std::size_t End = Key.find('\\', Start);
        if (End == std::string::npos)
            End = Key.size();
        if (End > Start) {
            if (!Result.empty())
                Result += '\\';
            Result += Key.substr(Start, End - Start);
        }
        Start = End + 1;
    }
    return Result;
}

bool IsText(TRegDataType Type)
{
    return Type == rdString || Type == rdExpandString;
}

// A string value's text ends at its first NUL, as a C string would.
std::string TextOf(const TRegStoreValue& Value)
{
    return Value.Data.substr(0, Value.Data.find('\0'));
}

int DataSizeOf(const TRegStoreValue& Value)
{
    return static_cast<int>(Value.Data.size()) + (IsText(Value.DataType) ? 1 : 0);
}

std::int32_t IntegerOf(const TRegStoreValue& Value)
{
    std::uint32_t Result = 0;
    for (std::size_t i = 0; i < 4 && i < Value.Data.size(); ++i)
        Result |= static_cast<std::uint32_t>(static_cast<unsigned char>(Value.Data[i])) << (8 * i);
    return static_cast<std::int32_t>(Result);
}

std::string DwordData(int Value)
{
    auto Bits = static_cast<std::uint32_t>(Value);
    std::string Data(4, '\0');
    for (int i = 0; i < 4; ++i)
        Data[i] = static_cast<char>((Bits >> (8 * i)) & 0xFF);
    return Data;
}

std::string DoubleData(double Value)
{
    std::string Data(sizeof Value, '\0');
    std::memcpy(Data.data(), &Value, sizeof Value);
    return Data;
}

} // namespace

// --- TRegistry ---------------------------------------------------------------------------------

TRegistry::TRegistry() = default;

TRegistry::TRegistry(REGSAM AAccess) : FAccess(AAccess) {}

TRegistry::~TRegistry()
{
    CloseKey();
}

void TRegistry::SetRootKey(HKEY Value)
{
    if (Value == FRootKey)
        return;
    CloseKey();
    FRootKey = Value;
}

std::string TRegistry::ResolvePath(const std::string& Key) const
{
    std::string Name = Key.substr(0, Key.find('\0'));
    if (!Name.empty() && Name[0] == '\\')
        return JoinPath("", Name);
    return JoinPath(BasePath(), Name);
}

bool TRegistry::PathExists(const std::string& Path)
{
    bool Exists = false;
    ReadRegistry(FRootKey, [&](const TRegistryData& File, const TRegistryData& BuiltIn) {
        Exists = Path.empty() || File.FindKey(Path) || BuiltIn.FindKey(Path);
    });
    return Exists;
}

bool TRegistry::FindValue(const std::string& Path, const std::string& Name, TRegStoreValue& Value)
{
    bool Found = false;
    ReadRegistry(FRootKey, [&](const TRegistryData& File, const TRegistryData& BuiltIn) {
        for (const TRegistryData* Layer : {&File, &BuiltIn}) {
            const TRegStoreKey* Key = Layer->FindKey(Path);
            const TRegStoreValue* Found2 = Key ? TRegistryData::FindValue(*Key, Name) : nullptr;
            if (Found2) {
                Value = *Found2;
                Found = true;
                return;
            }
        }
    });
    return Found;
}

void TRegistry::MakeKey(const std::string& Path)
{
    ChangeRegistry(FRootKey, [&](TRegistryData& File) {
        if (File.FindKey(Path))
            return false;
        File.CreateKey(Path);
        return true;
    });
}

bool TRegistry::TryChange(const std::function<bool(TRegistryData& File)>& Change)
{
    bool Changed = false;
    try {
        ChangeRegistry(FRootKey, [&](TRegistryData& File) {
            Changed = Change(File);
            return Changed;
        });
    } catch (const ERegistryException&) {
        return false;
    }
    return Changed;
}

bool TRegistry::OpenKey(const std::string& Key, bool CanCreate)
{
    std::string Path = ResolvePath(Key);
    if (!PathExists(Path)) {
        if (!CanCreate)
            return false;
        try {
            MakeKey(Path);
        } catch (const ERegistryException&) {
            return false;
        }
    }
    CloseKey();
    FKeyOpen = true;
    FCurrentPath = Path;
    FKeyAccess = FAccess;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& Key)
{
    std::string Path = ResolvePath(Key);
    if (!PathExists(Path))
        return false;
    CloseKey();
    FAccess = KEY_READ;
    FKeyOpen = true;
    FCurrentPath = Path;
    FKeyAccess = KEY_READ;
    return true;
}

bool TRegistry::CreateKey(const std::string& Key)
{
    try {
        MakeKey(ResolvePath(Key));
    } catch (const ERegistryException& E) {
        throw ERegistryException("Failed to create key " + Key + ": " + E.Message());
    }
    return true;
}

bool TRegistry::DeleteKey(const std::string& Key)
{
    std::string Path = ResolvePath(Key);
    return TryChange([&](TRegistryData& File) { return File.DeleteKey(Path); });
}

void TRegistry::CloseKey()
{
    FKeyOpen = false;
    FCurrentPath.clear();
    FKeyAccess = 0;
}

bool TRegistry::KeyExists(const std::string& Key)
{
    return PathExists(ResolvePath(Key));
}

std::vector<std::string> TRegistry::SubKeyNamesAt(const std::string& Path)
{
    std::vector<std::string> Names;
    ReadRegistry(FRootKey, [&](const TRegistryData& File, const TRegistryData& BuiltIn) {
        std::map<std::string, std::string> Sorted;
        for (const TRegistryData* Layer : {&File, &BuiltIn})
            for (const std::string& Name : Layer->SubKeyNames(Path))
                Sorted.emplace(TRegistryData::FoldPath(Name), Name);
        for (const auto& Entry : Sorted)
            Names.push_back(Entry.second);
    });
    return Names;
}

std::vector<std::string> TRegistry::ValueNamesAt(const std::string& Path)
{
    std::vector<std::string> Names;
    ReadRegistry(FRootKey, [&](const TRegistryData& File, const TRegistryData& BuiltIn) {
        const TRegStoreKey* FileKey = File.FindKey(Path);
        if (FileKey)
            for (const TRegStoreValue& Value : FileKey->Values)
                Names.push_back(Value.Name);
        if (const TRegStoreKey* Key = BuiltIn.FindKey(Path))
            for (const TRegStoreValue& Value : Key->Values)
                if (!FileKey || !TRegistryData::FindValue(*FileKey, Value.Name))
                    Names.push_back(Value.Name);
    });
    return Names;
}

void TRegistry::GetKeyNames(TStrings* Strings)
{
    AssignLines(Strings, FKeyOpen ? SubKeyNamesAt(FCurrentPath) : std::vector<std::string>());
}

void TRegistry::GetValueNames(TStrings* Strings)
{
    AssignLines(Strings, FKeyOpen ? ValueNamesAt(FCurrentPath) : std::vector<std::string>());
}

bool TRegistry::HasSubKeys()
{
    bool Result = false;
    if (FKeyOpen) {
        ReadRegistry(FRootKey, [&](const TRegistryData& File, const TRegistryData& BuiltIn) {
            Result = !File.SubKeyNames(FCurrentPath).empty() ||
                     !BuiltIn.SubKeyNames(FCurrentPath).empty();
        });
    }
    return Result;
}

bool TRegistry::ValueExists(const std::string& Name)
{
    TRegDataInfo Info;
    return GetDataInfo(Name, Info);
}

bool TRegistry::GetDataInfo(const std::string& ValueName, TRegDataInfo& Value)
{
    TRegStoreValue Found;
    if (!FKeyOpen || !FindValue(FCurrentPath, ValueName, Found)) {
        Value = TRegDataInfo();
        return false;
    }
    Value.RegData = Found.DataType;
    Value.DataSize = DataSizeOf(Found);
    return true;
}

TRegDataType TRegistry::GetDataType(const std::string& ValueName)
{
    TRegDataInfo Info;
    GetDataInfo(ValueName, Info);
    return Info.RegData;
}

int TRegistry::GetDataSize(const std::string& ValueName)
{
    TRegDataInfo Info;
    return GetDataInfo(ValueName, Info) ? Info.DataSize : -1;
}

void TRegistry::ReadError(const std::string& Name)
{
    throw ERegistryException("Invalid data type for '" + Name + "'");
}

void TRegistry::SetDataError(const std::string& Name, const std::string& Cause)
{
    std::string Message = "Failed to set data for '" + Name + "'";
    throw ERegistryException(Cause.empty() ? Message : Message + ": " + Cause);
}

std::string TRegistry::ReadString(const std::string& Name)
{
    TRegStoreValue Value;
    if (!FKeyOpen || !FindValue(FCurrentPath, Name, Value) || DataSizeOf(Value) == 0)
        return "";
    if (!IsText(Value.DataType))
        ReadError(Name);
    return TextOf(Value);
}

int TRegistry::ReadInteger(const std::string& Name)
{
    TRegStoreValue Value;
    if (!FKeyOpen || !FindValue(FCurrentPath, Name, Value))
        throw ERegistryException("Failed to get data for '" + Name + "'");
    if (Value.DataType != rdInteger)
        ReadError(Name);
    return IntegerOf(Value);
}

bool TRegistry::ReadBool(const std::string& Name)
{
    return ReadInteger(Name) != 0;
}

double TRegistry::ReadFloat(const std::string& Name)
{
    TRegStoreValue Value;
    if (!FKeyOpen || !FindValue(FCurrentPath, Name, Value))
        throw ERegistryException("Failed to get data for '" + Name + "'");
    double Result = 0;
    if (Value.DataType != rdBinary || Value.Data.size() != sizeof Result)
        ReadError(Name);
    std::memcpy(&Result, Value.Data.data(), sizeof Result);
    return Result;
}

TDateTime TRegistry::ReadDateTime(const std::string& Name)
{
    return ReadFloat(Name);
}

int TRegistry::ReadBinaryData(const std::string& Name, void* Buffer, int BufSize)
{
    TRegStoreValue Value;
    if (!FKeyOpen || !FindValue(FCurrentPath, Name, Value))
        return 0;
    int Size = DataSizeOf(Value);
    if ((Value.DataType != rdBinary && Value.DataType != rdUnknown) || Size > BufSize)
        ReadError(Name);
    if (Size > 0)
        std::memcpy(Buffer, Value.Data.data(), static_cast<std::size_t>(Size));
    return Size;
}

void TRegistry::PutData(const std::string& Path, bool CreatePath, const std::string& Name,
                        TRegDataType DataType, const std::string& Data)
{
    bool Written = false;
    std::string Cause;
    try {
        bool Exists = CreatePath || PathExists(Path);
        if (Exists) {
            ChangeRegistry(FRootKey, [&](TRegistryData& File) {
                TRegStoreValue Value;
                Value.Name = Name;
                Value.DataType = DataType;
                Value.Data = Data;
                TRegistryData::SetValue(File.CreateKey(Path), Value);
                Written = true;
                return true;
            });
        }
    } catch (const ERegistryException& E) {
        Written = false;
        Cause = E.Message();
    }
    if (!Written)
        SetDataError(Name, Cause);
}

void TRegistry::PutCurrent(const std::string& Name, TRegDataType DataType, const std::string& Data)
{
    // A key opened for reading, or deleted since it was opened, takes no values.
    if (!FKeyOpen || !(FKeyAccess & KEY_SET_VALUE))
        SetDataError(Name);
    PutData(FCurrentPath, false, Name, DataType, Data);
}

void TRegistry::WriteString(const std::string& Name, const std::string& Value)
{
    PutCurrent(Name, rdString, Value);
}

void TRegistry::WriteExpandString(const std::string& Name, const std::string& Value)
{
    PutCurrent(Name, rdExpandString, Value);
}

void TRegistry::WriteInteger(const std::string& Name, int Value)
{
    PutCurrent(Name, rdInteger, DwordData(Value));
}

void TRegistry::WriteBool(const std::string& Name, bool Value)
{
    WriteInteger(Name, Value ? 1 : 0);
}

void TRegistry::WriteFloat(const std::string& Name, double Value)
{
    PutCurrent(Name, rdBinary, DoubleData(Value));
}

void TRegistry::WriteDateTime(const std::string& Name, TDateTime Value)
{
    WriteFloat(Name, Value);
}

void TRegistry::WriteBinaryData(const std::string& Name, const void* Buffer, int BufSize)
{
    std::string Data;
    if (BufSize > 0)
        Data.assign(static_cast<const char*>(Buffer), static_cast<std::size_t>(BufSize));
    PutCurrent(Name, rdBinary, Data);
}

bool TRegistry::DeleteValueAt(const std::string& Path, const std::string& Name)
{
    return TryChange([&](TRegistryData& File) {
        TRegStoreKey* Key = File.FindKey(Path);
        return Key && TRegistryData::DeleteValue(*Key, Name);
    });
}

bool TRegistry::DeleteValue(const std::string& Name)
{
    if (!FKeyOpen || !(FKeyAccess & KEY_SET_VALUE))
        return false;
    return DeleteValueAt(FCurrentPath, Name);
}

void TRegistry::RenameValue(const std::string& OldName, const std::string& NewName)
{
    TRegStoreValue Old;
    TRegStoreValue Clash;
    if (!FKeyOpen || !FindValue(FCurrentPath, OldName, Old) ||
        FindValue(FCurrentPath, NewName, Clash))
        return;
    if (!(FKeyAccess & KEY_SET_VALUE))
        SetDataError(NewName);
    bool Written = false;
    std::string Cause;
    try {
        ChangeRegistry(FRootKey, [&](TRegistryData& File) {
            TRegStoreKey& Key = File.CreateKey(FCurrentPath);
            const TRegStoreValue* Now = TRegistryData::FindValue(Key, OldName);
            TRegStoreValue Renamed = Now ? *Now : Old;
            TRegistryData::DeleteValue(Key, OldName);
            Renamed.Name = NewName;
            TRegistryData::SetValue(Key, Renamed);
            Written = true;
            return true;
        });
    } catch (const ERegistryException& E) {
        Written = false;
        Cause = E.Message();
    }
    if (!Written)
        SetDataError(NewName, Cause);
}

// --- TRegIniFile -------------------------------------------------------------------------------

TRegIniFile::TRegIniFile(const std::string& FileName) : TRegIniFile(FileName, KEY_ALL_ACCESS) {}

TRegIniFile::TRegIniFile(const std::string& FileName, REGSAM AAccess)
    : TRegistry(AAccess), FFileName(FileName)
{
    OpenKey(FileName, true);
}

std::string TRegIniFile::SectionPath(const std::string& Section) const
{
    return JoinPath(BasePath(), Section.substr(0, Section.find('\0')));
}

std::string TRegIniFile::ReadString(const std::string& Section, const std::string& Ident,
                                    const std::string& Default)
{
    TRegStoreValue Value;
    if (!FindValue(SectionPath(Section), Ident, Value))
        return Default;
    if (DataSizeOf(Value) == 0)
        return "";
    if (!IsText(Value.DataType))
        ReadError(Ident);
    return TextOf(Value);
}

void TRegIniFile::WriteString(const std::string& Section, const std::string& Ident,
                              const std::string& Value)
{
    if (!(Access() & KEY_SET_VALUE))
        SetDataError(Ident);
    PutData(SectionPath(Section), true, Ident, rdString, Value);
}

int TRegIniFile::ReadInteger(const std::string& Section, const std::string& Ident, int Default)
{
    TRegStoreValue Value;
    if (!FindValue(SectionPath(Section), Ident, Value))
        return Default;
    if (IsText(Value.DataType))
        return StrToIntDef(TextOf(Value), Default);
    if (Value.DataType == rdInteger)
        return IntegerOf(Value);
    return Default;
}

void TRegIniFile::WriteInteger(const std::string& Section, const std::string& Ident, int Value)
{
    WriteString(Section, Ident, IntToStr(Value));
}

bool TRegIniFile::ReadBool(const std::string& Section, const std::string& Ident, bool Default)
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TRegIniFile::WriteBool(const std::string& Section, const std::string& Ident, bool Value)
{
    WriteString(Section, Ident, Value ? "1" : "0");
}

void TRegIniFile::ReadSection(const std::string& Section, TStrings* Strings)
{
    AssignLines(Strings, ValueNamesAt(SectionPath(Section)));
}

void TRegIniFile::ReadSections(TStrings* Strings)
{
    AssignLines(Strings, SubKeyNamesAt(BasePath()));
}

void TRegIniFile::ReadSectionValues(const std::string& Section, TStrings* Strings)
{
    TStringList Names;
    ReadSection(Section, &Names);
    std::vector<std::string> Lines;
    for (int i = 0; i < Names.Count(); ++i)
        Lines.push_back(Names.Get(i) + "=" + ReadString(Section, Names.Get(i), ""));
    AssignLines(Strings, Lines);
}

bool TRegIniFile::SectionExists(const std::string& Section)
{
    return PathExists(SectionPath(Section));
}

bool TRegIniFile::ValueExists(const std::string& Section, const std::string& Ident)
{
    TRegStoreValue Value;
    return FindValue(SectionPath(Section), Ident, Value);
}

void TRegIniFile::EraseSection(const std::string& Section)
{
    std::string Path = SectionPath(Section);
    if (Path == BasePath())
        return;
    TRegistry::DeleteKey("\\" + Path);
}

void TRegIniFile::DeleteKey(const std::string& Section, const std::string& Ident)
{
    DeleteValueAt(SectionPath(Section), Ident);
}
