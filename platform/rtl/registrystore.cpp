// platform/rtl/registrystore.cpp: the registry's text format, its files and their locking.
#include "platform/rtl/registrystore.h"

#include "platform/rtl/atomicfile.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/files.h"
#include "platform/rtl/strings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

namespace {

const char HexDigits[] = "0123456789abcdef";

bool IsBlank(char C)
{
    return C == ' ' || C == '\t' || C == '\r';
}

std::string TrimBlanks(const std::string& S)
{
    std::size_t First = 0;
    std::size_t Last = S.size();
    while (First < Last && IsBlank(S[First]))
        ++First;
    while (Last > First && IsBlank(S[Last - 1]))
        --Last;
    return S.substr(First, Last - First);
}

std::string Escape(const std::string& S)
{
    std::string Result;
    Result.reserve(S.size());
    for (char C : S) {
        auto Byte = static_cast<unsigned char>(C);
        if (Byte < 0x20 || Byte == 0x7F || C == '%' || C == '"') {
            Result += '%';
            Result += HexDigits[Byte >> 4];
            Result += HexDigits[Byte & 15];
        } else {
            Result += C;
        }
    }
    return Result;
}

bool Unescape(const std::string& S, std::string& Result)
{
    Result.clear();
    for (std::size_t i = 0; i < S.size(); ++i) {
        if (S[i] != '%') {
            Result += S[i];
            continue;
        }
        int High = i + 1 < S.size() ? HexDigitValue(S[i + 1]) : -1;
        int Low = i + 2 < S.size() ? HexDigitValue(S[i + 2]) : -1;
        if (High < 0 || Low < 0)
            return false;
        Result += static_cast<char>(High * 16 + Low);
        i += 2;
    }
    return true;
}

// Value names, key names and key paths end at a NUL, as they would as C strings.
std::string CName(const std::string& S)
{
    return S.substr(0, S.find('\0'));
}

std::vector<std::string> SplitPath(const std::string& Path)
{
    std::vector<std::string> Parts;
    std::string Clean = CName(Path);
    std::size_t Start = 0;
    while (Start <= Clean.size()) {
        std::size_t End = Clean.find('\\', Start);
        if (End == std::string::npos)
            End = Clean.size();
        if (End > Start)
            Parts.push_back(Clean.substr(Start, End - Start));
        Start = End + 1;
    }
    return Parts;
}

std::string FoldName(const std::string& Name)
{
    return AnsiUpperCase(Name);
}

// How a name is shown in a problem report.
std::string ShownName(const std::string& Name)
{
    return Name.empty() ? "@" : "\"" + Escape(Name) + "\"";
}

const char* TypeWord(TRegDataType Type)
{
    switch (Type) {
    case rdString:
        return "string";
    case rdExpandString:
        return "expand";
    case rdInteger:
        return "dword";
    case rdBinary:
        return "binary";
    case rdUnknown:
        break;
    }
    return "binary";
}

std::string EncodeDword(std::uint32_t Value)
{
    std::string Data(4, '\0');
    for (int i = 0; i < 4; ++i)
        Data[i] = static_cast<char>((Value >> (8 * i)) & 0xFF);
    return Data;
}

std::uint32_t DecodeDword(const std::string& Data)
{
    std::uint32_t Value = 0;
    for (std::size_t i = 0; i < 4 && i < Data.size(); ++i)
        Value |= static_cast<std::uint32_t>(static_cast<unsigned char>(Data[i])) << (8 * i);
    return Value;
}

std::string FormatValueLine(const TRegStoreValue& Value)
{
    std::string Line = Value.Name.empty() ? "@" : "\"" + Escape(Value.Name) + "\"";
    Line += " = ";
    Line += TypeWord(Value.DataType);
    switch (Value.DataType) {
    case rdString:
    case rdExpandString:
        Line += " \"" + Escape(Value.Data) + "\"";
        break;
    case rdInteger:
        Line += ' ';
        Line += std::to_string(static_cast<std::int32_t>(DecodeDword(Value.Data)));
        break;
    default:
        for (char C : Value.Data) {
            auto Byte = static_cast<unsigned char>(C);
            Line += ' ';
            Line += HexDigits[Byte >> 4];
            Line += HexDigits[Byte & 15];
        }
        break;
    }
    return Line;
}

// Reads a quoted, escaped text starting at S[Pos] == '"'; Pos ends past the closing quote.
bool ReadQuoted(const std::string& S, std::size_t& Pos, std::string& Text)
{
    std::size_t Close = S.find('"', Pos + 1);
    if (Close == std::string::npos)
        return false;
    if (!Unescape(S.substr(Pos + 1, Close - Pos - 1), Text))
        return false;
    Pos = Close + 1;
    return true;
}

void SkipBlanks(const std::string& S, std::size_t& Pos)
{
    while (Pos < S.size() && IsBlank(S[Pos]))
        ++Pos;
}

bool ParseDword(const std::string& S, std::uint32_t& Value)
{
    std::size_t Pos = 0;
    bool Negative = false;
    if (Pos < S.size() && (S[Pos] == '-' || S[Pos] == '+'))
        Negative = S[Pos++] == '-';
    int Base = 10;
    if (S.size() > Pos + 1 && S[Pos] == '0' && (S[Pos + 1] == 'x' || S[Pos + 1] == 'X')) {
        Base = 16;
        Pos += 2;
    }
    if (Pos >= S.size())
        return false;
    std::uint64_t Magnitude = 0;
    for (; Pos < S.size(); ++Pos) {
        int Digit = HexDigitValue(S[Pos]);
        if (Digit < 0 || Digit >= Base)
            return false;
        Magnitude = Magnitude * Base + Digit;
        if (Magnitude > 0xFFFFFFFFull)
            return false;
    }
    if (Negative && Magnitude > 0x80000000ull)
        return false;
    Value = Negative ? static_cast<std::uint32_t>(0 - Magnitude)
                     : static_cast<std::uint32_t>(Magnitude);
    return true;
}

// A value line, trimmed; false (and Why) when it does not parse.
bool ParseValueLine(const std::string& Line, TRegStoreValue& Value, std::string& Why)
{
    std::size_t Pos = 0;
    if (Line[0] == '@') {
        Value.Name.clear();
        Pos = 1;
    } else if (!ReadQuoted(Line, Pos, Value.Name)) {
        Why = "bad value name";
        return false;
    }
    SkipBlanks(Line, Pos);
    if (Pos >= Line.size() || Line[Pos] != '=') {
        Why = "'=' expected";
        return false;
    }
    ++Pos;
    SkipBlanks(Line, Pos);
    std::size_t WordEnd = Pos;
    while (WordEnd < Line.size() && !IsBlank(Line[WordEnd]))
        ++WordEnd;
    std::string Word = Line.substr(Pos, WordEnd - Pos);
    Pos = WordEnd;
    SkipBlanks(Line, Pos);
    std::string Rest = Line.substr(Pos);
    if (Word == "string" || Word == "expand") {
        Value.DataType = Word == "string" ? rdString : rdExpandString;
        std::size_t QuotePos = 0;
        if (Rest.empty() || Rest[0] != '"' || !ReadQuoted(Rest, QuotePos, Value.Data) ||
            QuotePos != Rest.size()) {
            Why = "bad text";
            return false;
        }
        return true;
    }
    if (Word == "dword") {
        std::uint32_t Number = 0;
        if (!ParseDword(Rest, Number)) {
            Why = "bad number";
            return false;
        }
        Value.DataType = rdInteger;
        Value.Data = EncodeDword(Number);
        return true;
    }
    if (Word == "binary") {
        Value.DataType = rdBinary;
        Value.Data.clear();
        std::size_t i = 0;
        while (i < Rest.size()) {
            if (IsBlank(Rest[i])) {
                ++i;
                continue;
            }
            int High = HexDigitValue(Rest[i]);
            int Low = i + 1 < Rest.size() ? HexDigitValue(Rest[i + 1]) : -1;
            if (High < 0 || Low < 0) {
                Why = "bad binary data";
                return false;
            }
            Value.Data += static_cast<char>(High * 16 + Low);
            i += 2;
        }
        return true;
    }
    Why = "unknown type '" + Word + "'";
    return false;
}

} // namespace

// --- TRegistryData ---------------------------------------------------------------------------

std::string TRegistryData::FoldPath(const std::string& Path)
{
    std::string Folded;
    for (const std::string& Part : SplitPath(Path)) {
        if (!Folded.empty())
            Folded += '\0';
        Folded += FoldName(Part);
    }
    return Folded;
}

void TRegistryData::Parse(const std::string& Text)
{
    FKeys.clear();
    FLeadingLines.clear();
    FProblems.clear();
    TRegStoreKey* Current = &CreateKey("");
    bool InKey = false;
    std::unordered_set<const TRegStoreKey*> WithKeyLine;
    std::size_t Start = 0;
    int LineNumber = 0;
    while (Start < Text.size()) {
        std::size_t End = Text.find('\n', Start);
        if (End == std::string::npos)
            End = Text.size();
        std::string Raw = Text.substr(Start, End - Start);
        Start = End + 1;
        ++LineNumber;
        while (!Raw.empty() && Raw.back() == '\r')
            Raw.pop_back();
        std::string Line = TrimBlanks(Raw);
        if (Line.empty())
            continue;
        if (Line[0] == ';' || Line[0] == '#') {
            (InKey ? Current->OtherLines : FLeadingLines).push_back(Raw);
            continue;
        }
        std::string Why;
        // A value line kept as written stays with its key's other lines, after the values,
        // even for the root before any key line: written back ahead of the root's values, it
        // would be read first next time and trade places with the value it collided with.
        bool UnderKey = false;
        if (Line[0] == '[') {
            std::size_t Close = Line.rfind(']');
            std::string Path;
            if (Close == 0 || Close == std::string::npos) {
                Why = "']' expected";
            } else if (!Unescape(Line.substr(1, Close - 1), Path)) {
                Why = "bad key name";
            } else {
                Current = &CreateKey(Path);
                InKey = true;
                // The key is written back as "[<its path>]", once: a line saying more or
                // saying it otherwise stays as well, under the key it opened.
                if (Close + 1 < Line.size())
                    Why = "text after ']'";
                else if (Path.find('\0') != std::string::npos)
                    Why = "NUL in key path";
                else if (Path != Current->Path)
                    Why = "key read as [" + Escape(Current->Path) + "]";
                else if (!WithKeyLine.insert(Current).second)
                    Why = "key [" + Escape(Current->Path) + "] repeated";
                if (Why.empty())
                    continue;
            }
        } else if (Line[0] == '"' || Line[0] == '@') {
            TRegStoreValue Value;
            if (ParseValueLine(Line, Value, Why)) {
                UnderKey = true;
                const TRegStoreValue* Earlier = FindValue(*Current, Value.Name);
                if (Value.Name.find('\0') != std::string::npos)
                    Why = "NUL in value name " + ShownName(Value.Name);
                else if (Earlier)
                    Why = "value " + ShownName(Value.Name) + " already read as " +
                          ShownName(Earlier->Name);
                if (Why.empty()) {
                    SetValue(*Current, Value);
                    continue;
                }
            }
        } else {
            Why = "not a key or value";
        }
        FProblems.push_back("line " + std::to_string(LineNumber) + ": " + Why);
        (UnderKey || InKey ? Current->OtherLines : FLeadingLines).push_back(Raw);
    }
}

std::string TRegistryData::Text() const
{
    std::string Result;
    for (const std::string& Line : FLeadingLines)
        Result += Line + "\n";
    for (auto It = FKeys.begin(); It != FKeys.end(); ++It) {
        const TRegStoreKey& Key = It->second;
        auto Next = std::next(It);
        bool HasSubKeys = Next != FKeys.end() &&
                          (It->first.empty() ||
                           Next->first.compare(0, It->first.size() + 1, It->first + '\0') == 0);
        // A parent without values of its own is implied by its subkeys.
        if (Key.Values.empty() && Key.OtherLines.empty() && (HasSubKeys || It->first.empty()))
            continue;
        if (!Result.empty())
            Result += "\n";
        Result += "[" + Escape(Key.Path) + "]\n";
        for (const TRegStoreValue& Value : Key.Values)
            Result += FormatValueLine(Value) + "\n";
        for (const std::string& Line : Key.OtherLines)
            Result += Line + "\n";
    }
    return Result;
}

const TRegStoreKey* TRegistryData::FindKey(const std::string& Path) const
{
    auto It = FKeys.find(FoldPath(Path));
    return It == FKeys.end() ? nullptr : &It->second;
}

TRegStoreKey* TRegistryData::FindKey(const std::string& Path)
{
    auto It = FKeys.find(FoldPath(Path));
    return It == FKeys.end() ? nullptr : &It->second;
}

TRegStoreKey& TRegistryData::CreateKey(const std::string& Path)
{
    auto Root = FKeys.find("");
    if (Root == FKeys.end())
        Root = FKeys.emplace("", TRegStoreKey()).first;
    TRegStoreKey* Key = &Root->second;
    std::string Folded;
    for (const std::string& Part : SplitPath(Path)) {
        if (!Folded.empty())
            Folded += '\0';
        Folded += FoldName(Part);
        auto It = FKeys.find(Folded);
        if (It == FKeys.end()) {
            TRegStoreKey Child;
            Child.Path = Key->Path.empty() ? Part : Key->Path + "\\" + Part;
            It = FKeys.emplace(Folded, std::move(Child)).first;
        }
        Key = &It->second;
    }
    return *Key;
}

bool TRegistryData::DeleteKey(const std::string& Path)
{
    std::string Folded = FoldPath(Path);
    if (Folded.empty())
        return false;
    auto First = FKeys.find(Folded);
    if (First == FKeys.end())
        return false;
    auto Last = std::next(First);
    std::string Prefix = Folded + '\0';
    while (Last != FKeys.end() && Last->first.compare(0, Prefix.size(), Prefix) == 0)
        ++Last;
    FKeys.erase(First, Last);
    return true;
}

std::vector<std::string> TRegistryData::SubKeyNames(const std::string& Path) const
{
    std::vector<std::string> Names;
    std::string Folded = FoldPath(Path);
    std::string Prefix = Folded.empty() ? std::string() : Folded + '\0';
    for (auto It = FKeys.upper_bound(Folded); It != FKeys.end(); ++It) {
        if (It->first.compare(0, Prefix.size(), Prefix) != 0)
            break;
        if (It->first.find('\0', Prefix.size()) != std::string::npos)
            continue;
        const std::string& Child = It->second.Path;
        std::size_t Slash = Child.rfind('\\');
        Names.push_back(Slash == std::string::npos ? Child : Child.substr(Slash + 1));
    }
    return Names;
}

const TRegStoreValue* TRegistryData::FindValue(const TRegStoreKey& Key, const std::string& Name)
{
    auto It = Key.ValueIndex.find(AnsiSameTextKey(CName(Name)));
    return It == Key.ValueIndex.end() ? nullptr : &Key.Values[It->second];
}

void TRegistryData::SetValue(TRegStoreKey& Key, const TRegStoreValue& Value)
{
    std::string Name = CName(Value.Name);
    auto Inserted = Key.ValueIndex.emplace(AnsiSameTextKey(Name), Key.Values.size());
    if (!Inserted.second) {
        TRegStoreValue& Existing = Key.Values[Inserted.first->second];
        Existing.DataType = Value.DataType;
        Existing.Data = Value.Data;
        return;
    }
    Key.Values.push_back(Value);
    Key.Values.back().Name = Name;
}

bool TRegistryData::DeleteValue(TRegStoreKey& Key, const std::string& Name)
{
    auto It = Key.ValueIndex.find(AnsiSameTextKey(CName(Name)));
    if (It == Key.ValueIndex.end())
        return false;
    std::size_t Place = It->second;
    Key.ValueIndex.erase(It);
    Key.Values.erase(Key.Values.begin() + static_cast<std::ptrdiff_t>(Place));
    for (auto& Entry : Key.ValueIndex)
        if (Entry.second > Place)
            --Entry.second;
    return true;
}

// --- Files -------------------------------------------------------------------------------------

std::string RootKeyName(HKEY Root)
{
    switch (Root) {
    case HKEY_CLASSES_ROOT:
        return "HKEY_CLASSES_ROOT";
    case HKEY_CURRENT_USER:
        return "HKEY_CURRENT_USER";
    case HKEY_LOCAL_MACHINE:
        return "HKEY_LOCAL_MACHINE";
    default:
        throw ERegistryException("Invalid root key " + std::to_string(Root));
    }
}

std::string SettingsFolder()
{
    const char* Own = std::getenv("TARNWICK_REGISTRY");
    if (Own && *Own)
        return IncludeTrailingPathDelimiter(Own);
    const char* Config = std::getenv("XDG_CONFIG_HOME");
    if (Config && Config[0] == '/')
        return IncludeTrailingPathDelimiter(Config) + "tarnwick/";
    const char* Home = std::getenv("HOME");
    std::string HomeDir = Home && *Home ? Home : "";
    if (HomeDir.empty()) {
        if (const passwd* Entry = ::getpwuid(::getuid()))
            HomeDir = Entry->pw_dir;
    }
    return IncludeTrailingPathDelimiter(HomeDir) + ".config/tarnwick/";
}

std::string RegistryFileName(HKEY Root)
{
    return SettingsFolder() + RootKeyName(Root) + ".registry";
}

namespace {

struct TFileSignature {
    bool Exists = false;
    dev_t Device = 0;
    ino_t Inode = 0;
    off_t Size = 0;
    timespec Modified{};
    timespec Changed{};

    static TFileSignature Of(const struct stat& Info)
    {
        TFileSignature Sig;
        Sig.Exists = true;
        Sig.Device = Info.st_dev;
        Sig.Inode = Info.st_ino;
        Sig.Size = Info.st_size;
        Sig.Modified = Info.st_mtim;
        Sig.Changed = Info.st_ctim;
        return Sig;
    }
    bool operator==(const TFileSignature& Other) const
    {
        return Exists == Other.Exists && Device == Other.Device && Inode == Other.Inode &&
               Size == Other.Size && Modified.tv_sec == Other.Modified.tv_sec &&
               Modified.tv_nsec == Other.Modified.tv_nsec &&
               Changed.tv_sec == Other.Changed.tv_sec && Changed.tv_nsec == Other.Changed.tv_nsec;
    }
};

// The cached contents of one store file.
struct TStoreFile {
    std::mutex Mutex;
    std::string FileName;
    TRegistryData Data;
    bool Loaded = false;
    TFileSignature Signature;
};

std::mutex StoresMutex;
std::map<std::string, std::unique_ptr<TStoreFile>> Stores;
std::mutex BuiltInsMutex;
std::map<HKEY, TRegistryData> BuiltIns;
const TRegistryData NoBuiltIns;
std::function<void()> CommitHook;

TStoreFile& StoreFor(const std::string& FileName)
{
    std::lock_guard<std::mutex> Lock(StoresMutex);
    std::unique_ptr<TStoreFile>& Store = Stores[FileName];
    if (!Store) {
        Store = std::make_unique<TStoreFile>();
        Store->FileName = FileName;
    }
    return *Store;
}

[[noreturn]] void RaiseFileError(const std::string& What, const std::string& FileName, int Code)
{
    throw ERegistryException(What + " " + FileName + ": " + std::strerror(Code));
}

class TFd {
public:
    explicit TFd(int Fd) : FFd(Fd) {}
    ~TFd()
    {
        if (FFd >= 0)
            ::close(FFd);
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return FFd; }

private:
    int FFd;
};

// Reads the file into the store's cache, whatever its signature.
void Load(TStoreFile& Store)
{
    TFd File(::open(Store.FileName.c_str(), O_RDONLY | O_CLOEXEC));
    if (File.Get() < 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            RaiseFileError("Cannot read", Store.FileName, errno);
        Store.Data.Parse("");
        Store.Signature = TFileSignature();
        Store.Loaded = true;
        return;
    }
    struct stat Info;
    if (::fstat(File.Get(), &Info) != 0)
        RaiseFileError("Cannot read", Store.FileName, errno);
    std::string Text;
    char Buffer[65536];
    for (;;) {
        ssize_t Count = ::read(File.Get(), Buffer, sizeof Buffer);
        if (Count < 0) {
            if (errno == EINTR)
                continue;
            RaiseFileError("Cannot read", Store.FileName, errno);
        }
        if (Count == 0)
            break;
        Text.append(Buffer, static_cast<std::size_t>(Count));
    }
    Store.Data.Parse(Text);
    Store.Signature = TFileSignature::Of(Info);
    Store.Loaded = true;
}

void Refresh(TStoreFile& Store)
{
    struct stat Info;
    TFileSignature Now;
    if (::stat(Store.FileName.c_str(), &Info) == 0)
        Now = TFileSignature::Of(Info);
    else if (errno != ENOENT && errno != ENOTDIR)
        RaiseFileError("Cannot read", Store.FileName, errno);
    if (!Store.Loaded || !(Now == Store.Signature))
        Load(Store);
}

} // namespace

void ReadRegistry(
    HKEY Root,
    const std::function<void(const TRegistryData& File, const TRegistryData& BuiltIn)>& Read)
{
    TStoreFile& Store = StoreFor(RegistryFileName(Root));
    std::lock_guard<std::mutex> Lock(Store.Mutex);
    Refresh(Store);
    std::lock_guard<std::mutex> BuiltInLock(BuiltInsMutex);
    auto It = BuiltIns.find(Root);
    Read(Store.Data, It == BuiltIns.end() ? NoBuiltIns : It->second);
}

void ChangeRegistry(HKEY Root, const std::function<bool(TRegistryData& File)>& Change)
{
    TStoreFile& Store = StoreFor(RegistryFileName(Root));
    std::lock_guard<std::mutex> Lock(Store.Mutex);
    std::string Folder = ExtractFileDir(Store.FileName);
    if (!ForceDirectories(Folder))
        RaiseFileError("Cannot create folder", Folder, errno == EEXIST ? ENOTDIR : errno);
    // The lock file stays: removing it would let two processes lock different files.
    TFd LockFile(::open((Store.FileName + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (LockFile.Get() < 0)
        RaiseFileError("Cannot lock", Store.FileName, errno);
    while (::flock(LockFile.Get(), LOCK_EX) != 0)
        if (errno != EINTR)
            RaiseFileError("Cannot lock", Store.FileName, errno);
    Load(Store);
    if (!Change(Store.Data))
        return;
    std::string Text = Store.Data.Text();
    try {
        // It holds enciphered passwords: never more than the owner may read it.
        TAtomicFileStream Out(Store.FileName, 0600);
        for (std::size_t Done = 0; Done < Text.size();) {
            ssize_t Count = ::write(Out.Handle(), Text.data() + Done, Text.size() - Done);
            if (Count < 0 && errno == EINTR)
                continue;
            if (Count <= 0)
                RaiseFileError("Cannot write", Store.FileName, Count < 0 ? errno : EIO);
            Done += static_cast<std::size_t>(Count);
        }
        if (CommitHook)
            CommitHook();
        Out.Commit();
    } catch (const EStreamError& E) {
        Store.Loaded = false;
        throw ERegistryException(E.Message());
    } catch (const ERegistryException&) {
        Store.Loaded = false;
        throw;
    }
    struct stat Info;
    if (::stat(Store.FileName.c_str(), &Info) == 0)
        Store.Signature = TFileSignature::Of(Info);
    else
        Store.Loaded = false;
}

void RegisterBuiltInKey(HKEY Root, const std::string& Key)
{
    RootKeyName(Root);
    std::lock_guard<std::mutex> Lock(BuiltInsMutex);
    BuiltIns[Root].CreateKey(Key);
}

void RegisterBuiltInValue(HKEY Root, const std::string& Key, const TRegStoreValue& Value)
{
    RootKeyName(Root);
    std::lock_guard<std::mutex> Lock(BuiltInsMutex);
    TRegistryData::SetValue(BuiltIns[Root].CreateKey(Key), Value);
}

void ClearBuiltInValues(HKEY Root)
{
    std::lock_guard<std::mutex> Lock(BuiltInsMutex);
    BuiltIns.erase(Root);
}

void SetRegistryCommitHook(std::function<void()> Hook)
{
    CommitHook = std::move(Hook);
}
