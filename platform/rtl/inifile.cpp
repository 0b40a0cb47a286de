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

void AddUnique(std::vector<std::string>& Names, const std::string& Name)
{
    for (const std::string& Existing : Names)
        if (AnsiSameText(Existing, Name))
            return;
    Names.push_back(Name);
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

void TIniDocument::Parse(const std::string& Text)
{
    FLines.clear();
    FByteOrderMark = Text.compare(0, ByteOrderMark.size(), ByteOrderMark) == 0;
    std::size_t Start = FByteOrderMark ? ByteOrderMark.size() : 0;
    while (Start < Text.size()) {
        std::size_t End = Text.find('\n', Start);
        if (End == std::string::npos)
            End = Text.size();
        std::string Line = Text.substr(Start, End - Start);
        if (!Line.empty() && Line.back() == '\r')
            Line.pop_back();
        FLines.push_back(std::move(Line));
        Start = End + 1;
    }
}

std::string TIniDocument::Text() const
{
    std::string Result = FByteOrderMark ? ByteOrderMark : std::string();
    for (const std::string& Line : FLines) {
        Result += Line;
        Result += "\r\n";
    }
    return Result;
}

int TIniDocument::FindSection(const std::string& Section) const
{
    std::string Wanted = Trim(Section);
    std::string Name;
    for (std::size_t i = 0; i < FLines.size(); ++i)
        if (Classify(FLines[i], Name) == lkSection && AnsiSameText(Name, Wanted))
            return static_cast<int>(i);
    return -1;
}

int TIniDocument::SectionEnd(int Header) const
{
    std::string Name;
    int i = Header + 1;
    while (i < static_cast<int>(FLines.size()) && Classify(FLines[i], Name) != lkSection)
        ++i;
    return i;
}

int TIniDocument::FindKey(int Header, const std::string& Key) const
{
    std::string Wanted = Trim(Key);
    std::string Name;
    int End = SectionEnd(Header);
    for (int i = Header + 1; i < End; ++i)
        if (Classify(FLines[i], Name) == lkKey && AnsiSameText(Name, Wanted))
            return i;
    return -1;
}

bool TIniDocument::Find(const std::string& Section, const std::string& Key,
                        std::string& Value) const
{
    int Header = FindSection(Section);
    int Line = Header < 0 ? -1 : FindKey(Header, Key);
    if (Line < 0)
        return false;
    std::string Name;
    std::string Raw;
    Classify(FLines[Line], Name, &Raw);
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

    int Header = FindSection(SectionName);
    if (Header < 0) {
        FLines.push_back("[" + SectionName + "]");
        FLines.push_back(KeyName + "=" + Value);
        return;
    }
    int Line = FindKey(Header, KeyName);
    if (Line >= 0) {
        std::string Existing;
        Classify(FLines[Line], Existing);
        FLines[Line] = Existing + "=" + Value;
        return;
    }
    // After the section's last non-blank line, so that a blank line before the next section
    // stays where it is.
    int At = SectionEnd(Header);
    while (At - 1 > Header && Trim(FLines[At - 1]).empty())
        --At;
    FLines.insert(FLines.begin() + At, KeyName + "=" + Value);
}

bool TIniDocument::DeleteKey(const std::string& Section, const std::string& Key)
{
    int Header = FindSection(Section);
    if (Header < 0)
        return false;
    bool Deleted = false;
    for (int Line = FindKey(Header, Key); Line >= 0; Line = FindKey(Header, Key)) {
        FLines.erase(FLines.begin() + Line);
        Deleted = true;
    }
    return Deleted;
}

bool TIniDocument::EraseSection(const std::string& Section)
{
    bool Erased = false;
    for (int Header = FindSection(Section); Header >= 0; Header = FindSection(Section)) {
        FLines.erase(FLines.begin() + Header, FLines.begin() + SectionEnd(Header));
        Erased = true;
    }
    return Erased;
}

bool TIniDocument::HasSection(const std::string& Section) const
{
    return FindSection(Section) >= 0;
}

std::vector<std::string> TIniDocument::SectionNames() const
{
    std::vector<std::string> Names;
    std::string Name;
    for (const std::string& Line : FLines)
        if (Classify(Line, Name) == lkSection)
            AddUnique(Names, Name);
    return Names;
}

std::vector<std::string> TIniDocument::KeyNames(const std::string& Section) const
{
    std::vector<std::string> Names;
    int Header = FindSection(Section);
    if (Header < 0)
        return Names;
    std::string Name;
    int End = SectionEnd(Header);
    for (int i = Header + 1; i < End; ++i)
        if (Classify(FLines[i], Name) == lkKey)
            AddUnique(Names, Name);
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
    } catch (const EStreamError&) {
        throw EIniFileException("Unable to write to " + FFileName);
    }
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
    if (FFileName.empty() || !ReadWholeFile(FPath, Text))
        throw EIniFileException("Unable to write to " + FFileName);
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
