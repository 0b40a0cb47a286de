// platform/rtl/inifile.cpp: the INI text and the files it lives in.
#include "platform/rtl/inifile.h"

#include "platform/rtl/atomicfile.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/files.h"
#include "platform/rtl/registrystore.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/strings.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

const std::string ByteOrderMark = "\xEF\xBB\xBF";

enum TLineKind { lkOther, lkSection, lkKey };

// What a line is; Name is the section or key name, Value the key's raw value text.
TLineKind Classify(const std::string& Line, std::string& Name, std::string* Value = nullptr)
{
    std::string Text = Trim(Line);
    if (Text.empty() || Text[0] == ';')
        return lkOther;
    if (Text[0] == '[') {
        std::size_t Close = Text.find(']');
        if (Close == std::string::npos)
            return lkOther;
        Name = Trim(Text.substr(1, Close - 1));
        return lkSection;
    }
    std::size_t Equals = Text.find('=');
    if (Equals == std::string::npos)
        return lkOther;
    Name = Trim(Text.substr(0, Equals));
    if (Value)
        *Value = Trim(Text.substr(Equals + 1));
    return lkKey;
}

std::string Unquote(const std::string& Value)
{
    if (Value.size() >= 2 && (Value[0] == '"' || Value[0] == '\'') && Value.back() == Value[0])
        return Value.substr(1, Value.size() - 2);
    return Value;
}

bool HasLineBreak(const std::string& S)
{
    return S.find_first_of("\r\n") != std::string::npos;
}

// False with errno set when the file cannot be read; a missing file reads as empty.
bool ReadWholeFile(const std::string& FileName, std::string& Text)
{
    Text.clear();
    int Fd = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (Fd < 0)
        return errno == ENOENT;
    char Buffer[65536];
    for (;;) {
        ssize_t Count = ::read(Fd, Buffer, sizeof Buffer);
        if (Count < 0 && errno == EINTR)
            continue;
        if (Count <= 0) {
            int Code = errno;
            ::close(Fd);
            errno = Code;
            return Count == 0;
        }
        Text.append(Buffer, static_cast<std::size_t>(Count));
    }
}

} // namespace

// --- TIniDocument ------------------------------------------------------------------------------

TIniDocument::TIniDocument(const TIniDocument& Other)
    : FLeading(Other.FLeading), FSections(Other.FSections), FByteOrderMark(Other.FByteOrderMark)
{
    IndexSections();
}

TIniDocument& TIniDocument::operator=(const TIniDocument& Other)
{
    if (this != &Other) {
        FLeading = Other.FLeading;
        FSections = Other.FSections;
        FByteOrderMark = Other.FByteOrderMark;
        IndexSections();
    }
    return *this;
}

void TIniDocument::IndexSections()
{
    FIndex.clear();
    for (auto It = FSections.begin(); It != FSections.end(); ++It)
        FIndex[It->Folded].push_back(It);
}

void TIniDocument::Parse(const std::string& Text)
{
    FLeading.clear();
    FSections.clear();
    FIndex.clear();
    FByteOrderMark = Text.compare(0, ByteOrderMark.size(), ByteOrderMark) == 0;
    std::size_t Start = FByteOrderMark ? ByteOrderMark.size() : 0;
    TSection* Current = nullptr;
    std::string Name;
    while (Start < Text.size()) {
        std::size_t End = Text.find('\n', Start);
        if (End == std::string::npos)
            End = Text.size();
        std::string Line = Text.substr(Start, End - Start);
        if (!Line.empty() && Line.back() == '\r')
            Line.pop_back();
        Start = End + 1;
        TLineKind Kind = Classify(Line, Name);
        if (Kind == lkSection) {
            Current = &FSections.emplace_back();
            Current->Header = std::move(Line);
            Current->Name = Name;
            Current->Folded = AnsiSameTextKey(Name);
            FIndex[Current->Folded].push_back(std::prev(FSections.end()));
        } else if (Current == nullptr) {
            FLeading.push_back(std::move(Line));
        } else {
            if (Kind == lkKey)
                Current->Keys.emplace(AnsiSameTextKey(Name), Current->Lines.size());
            Current->Lines.push_back(std::move(Line));
        }
    }
}

std::string TIniDocument::Text() const
{
    std::string Result = FByteOrderMark ? ByteOrderMark : std::string();
    // Sized first: growing a large text step by step costs more than counting its lines.
    std::size_t Size = Result.size();
    for (const std::string& Line : FLeading)
        Size += Line.size() + 2;
    for (const TSection& Section : FSections) {
        Size += Section.Header.size() + 2;
        for (const std::string& Line : Section.Lines)
            Size += Line.size() + 2;
    }
    Result.reserve(Size);
    auto Add = [&Result](const std::string& Line) {
        Result += Line;
        Result += "\r\n";
    };
    for (const std::string& Line : FLeading)
        Add(Line);
    for (const TSection& Section : FSections) {
        Add(Section.Header);
        for (const std::string& Line : Section.Lines)
            Add(Line);
    }
    return Result;
}

const TIniDocument::TSection* TIniDocument::FindSection(const std::string& Section) const
{
    auto It = FIndex.find(AnsiSameTextKey(Trim(Section)));
    return It == FIndex.end() ? nullptr : &*It->second.front();
}

TIniDocument::TSection* TIniDocument::FindSection(const std::string& Section)
{
    auto It = FIndex.find(AnsiSameTextKey(Trim(Section)));
    return It == FIndex.end() ? nullptr : &*It->second.front();
}

bool TIniDocument::Find(const std::string& Section, const std::string& Key,
                        std::string& Value) const
{
    const TSection* Found = FindSection(Section);
    if (Found == nullptr)
        return false;
    auto Line = Found->Keys.find(AnsiSameTextKey(Trim(Key)));
    if (Line == Found->Keys.end())
        return false;
    std::string Name;
    std::string Raw;
    Classify(Found->Lines[Line->second], Name, &Raw);
    Value = Unquote(Raw);
    return true;
}

void TIniDocument::SetValue(const std::string& Section, const std::string& Key,
                            const std::string& Value)
{
    std::string SectionName = Trim(Section);
    std::string KeyName = Trim(Key);
    if (HasLineBreak(SectionName) || SectionName.find(']') != std::string::npos)
        throw EIniFileException("Invalid INI section name '" + Section + "'");
    if (HasLineBreak(KeyName) || KeyName.find('=') != std::string::npos ||
        (!KeyName.empty() && (KeyName[0] == '[' || KeyName[0] == ';')))
        throw EIniFileException("Invalid INI key name '" + Key + "'");
    if (HasLineBreak(Value))
        throw EIniFileException("The value of '" + Key + "' holds a line break");

    std::string FoldedKey = AnsiSameTextKey(KeyName);
    TSection* Found = FindSection(SectionName);
    if (Found == nullptr) {
        TSection& Added = FSections.emplace_back();
        Added.Header = "[" + SectionName + "]";
        Added.Name = SectionName;
        Added.Folded = AnsiSameTextKey(SectionName);
        Added.Lines.push_back(KeyName + "=" + Value);
        Added.Keys.emplace(FoldedKey, 0);
        FIndex[Added.Folded].push_back(std::prev(FSections.end()));
        return;
    }
    auto Line = Found->Keys.find(FoldedKey);
    if (Line != Found->Keys.end()) {
        std::string Existing;
        Classify(Found->Lines[Line->second], Existing);
        Found->Lines[Line->second] = Existing + "=" + Value;
        return;
    }
    // After the section's last non-blank line, so that a blank line before the next section
    // stays where it is. Only blank lines follow, so no key line moves.
    std::size_t At = Found->Lines.size();
    while (At > 0 && Trim(Found->Lines[At - 1]).empty())
        --At;
    Found->Lines.insert(Found->Lines.begin() + static_cast<std::ptrdiff_t>(At),
                        KeyName + "=" + Value);
    Found->Keys.emplace(FoldedKey, At);
}

bool TIniDocument::DeleteKey(const std::string& Section, const std::string& Key)
{
    TSection* Found = FindSection(Section);
    std::string Wanted = AnsiSameTextKey(Trim(Key));
    if (Found == nullptr || Found->Keys.count(Wanted) == 0)
        return false;
    // Every line of the name goes, the later ones too; the others are indexed anew.
    std::vector<std::string> Kept;
    Kept.reserve(Found->Lines.size());
    Found->Keys.clear();
    std::string Name;
    for (std::string& Line : Found->Lines) {
        if (Classify(Line, Name) == lkKey) {
            std::string Folded = AnsiSameTextKey(Name);
            if (Folded == Wanted)
                continue;
            Found->Keys.emplace(std::move(Folded), Kept.size());
        }
        Kept.push_back(std::move(Line));
    }
    Found->Lines = std::move(Kept);
    return true;
}

bool TIniDocument::EraseSection(const std::string& Section)
{
    auto It = FIndex.find(AnsiSameTextKey(Trim(Section)));
    if (It == FIndex.end())
        return false;
    for (TSections::iterator Erased : It->second)
        FSections.erase(Erased);
    FIndex.erase(It);
    return true;
}

bool TIniDocument::HasSection(const std::string& Section) const
{
    return FindSection(Section) != nullptr;
}

std::vector<std::string> TIniDocument::SectionNames() const
{
    std::vector<std::string> Names;
    for (const TSection& Section : FSections)
        if (&*FIndex.at(Section.Folded).front() == &Section)
            Names.push_back(Section.Name);
    return Names;
}

std::vector<std::string> TIniDocument::KeyNames(const std::string& Section) const
{
    std::vector<std::string> Names;
    const TSection* Found = FindSection(Section);
    if (Found == nullptr)
        return Names;
    std::string Name;
    for (std::size_t i = 0; i < Found->Lines.size(); ++i)
        if (Classify(Found->Lines[i], Name) == lkKey && Found->Keys.at(AnsiSameTextKey(Name)) == i)
            Names.push_back(Name);
    return Names;
}

// --- TIniFile ----------------------------------------------------------------------------------

TIniFile::TIniFile(const std::string& FileName) : FFileName(FileName)
{
    FPath = FileName.find('/') == std::string::npos ? SettingsFolder() + FileName : FileName;
}

TIniDocument TIniFile::Load() const
{
    std::string Text;
    // An unreadable file reads as empty, as the profile functions have it.
    if (!ReadWholeFile(FPath, Text))
        Text.clear();
    TIniDocument Document;
    Document.Parse(Text);
    return Document;
}

void TIniFile::Save(const TIniDocument& Document)
{
    try {
        if (FFileName.find('/') == std::string::npos)
            ForceDirectories(ExtractFileDir(FPath));
        AtomicWriteFile(FPath, Document.Text());
    } catch (const EAtomicWriteError& E) {
        WriteError(E.ErrorCode);
    }
}

void TIniFile::WriteError(int Code) const
{
    throw EIniFileException("Unable to write to " + FFileName + ": " + std::strerror(Code));
}

std::string TIniFile::ReadString(const std::string& Section, const std::string& Ident,
                                 const std::string& Default)
{
    std::string Value;
    return Load().Find(Section, Ident, Value) ? Value : Default;
}

void TIniFile::WriteString(const std::string& Section, const std::string& Ident,
                           const std::string& Value)
{
    std::string Text;
    // Rewriting a file that could not be read would lose it.
    if (FFileName.empty())
        WriteError(ENOENT);
    if (!ReadWholeFile(FPath, Text))
        WriteError(errno);
    TIniDocument Document;
    Document.Parse(Text);
    Document.SetValue(Section, Ident, Value);
    Save(Document);
}

int TIniFile::ReadInteger(const std::string& Section, const std::string& Ident, int Default)
{
    return StrToIntDef(ReadString(Section, Ident, ""), Default);
}

void TIniFile::WriteInteger(const std::string& Section, const std::string& Ident, int Value)
{
    WriteString(Section, Ident, IntToStr(Value));
}

bool TIniFile::ReadBool(const std::string& Section, const std::string& Ident, bool Default)
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const std::string& Section, const std::string& Ident, bool Value)
{
    WriteString(Section, Ident, Value ? "1" : "0");
}

double TIniFile::ReadFloat(const std::string& Section, const std::string& Ident, double Default)
{
    double Value = 0;
    return TryStrToFloat(ReadString(Section, Ident, ""), Value) ? Value : Default;
}

void TIniFile::WriteFloat(const std::string& Section, const std::string& Ident, double Value)
{
    WriteString(Section, Ident, FloatToStr(Value));
}

TDateTime TIniFile::ReadDate(const std::string& Section, const std::string& Ident,
                             TDateTime Default)
{
    TDateTime Value = 0;
    return TryStrToDate(ReadString(Section, Ident, ""), Value) ? Value : Default;
}

void TIniFile::WriteDate(const std::string& Section, const std::string& Ident, TDateTime Value)
{
    WriteString(Section, Ident, DateToStr(Value));
}

TDateTime TIniFile::ReadTime(const std::string& Section, const std::string& Ident,
                             TDateTime Default)
{
    TDateTime Value = 0;
    return TryStrToTime(ReadString(Section, Ident, ""), Value) ? Value : Default;
}

void TIniFile::WriteTime(const std::string& Section, const std::string& Ident, TDateTime Value)
{
    WriteString(Section, Ident, TimeToStr(Value));
}

TDateTime TIniFile::ReadDateTime(const std::string& Section, const std::string& Ident,
                                 TDateTime Default)
{
    TDateTime Value = 0;
    return TryStrToDateTime(ReadString(Section, Ident, ""), Value) ? Value : Default;
}

void TIniFile::WriteDateTime(const std::string& Section, const std::string& Ident, TDateTime Value)
{
    WriteString(Section, Ident, DateTimeToStr(Value));
}

void TIniFile::ReadSection(const std::string& Section, TStrings* Strings)
{
    AssignLines(Strings, Load().KeyNames(Section));
}

void TIniFile::ReadSections(TStrings* Strings)
{
    AssignLines(Strings, Load().SectionNames());
}

void TIniFile::ReadSectionValues(const std::string& Section, TStrings* Strings)
{
    TIniDocument Document = Load();
    std::vector<std::string> Lines;
    for (const std::string& Key : Document.KeyNames(Section)) {
        std::string Value;
        Document.Find(Section, Key, Value);
        Lines.push_back(Key + "=" + Value);
    }
    AssignLines(Strings, Lines);
}

bool TIniFile::SectionExists(const std::string& Section)
{
    return Load().HasSection(Section);
}

bool TIniFile::ValueExists(const std::string& Section, const std::string& Ident)
{
    std::string Value;
    return Load().Find(Section, Ident, Value);
}

void TIniFile::EraseSection(const std::string& Section)
{
    TIniDocument Document = Load();
    if (Document.EraseSection(Section))
        Save(Document);
}

void TIniFile::DeleteKey(const std::string& Section, const std::string& Ident)
{
    TIniDocument Document = Load();
    if (Document.DeleteKey(Section, Ident))
        Save(Document);
}
