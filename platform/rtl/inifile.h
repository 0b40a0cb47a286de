// platform/rtl/inifile.h: TIniFile, settings in a text file of [sections] and key=value lines,
// with the rules of the classic profile functions; and TIniDocument, the parsed text it edits.
#pragma once

#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"
#include "platform/rtl/types.h"

#include <list>
#include <string>
#include <unordered_map>
#include <vector>

class TStrings;

TW_DECLARE_EXCEPTION(EIniFileException, Exception);

// The lines of an INI file as they stand, so that comments, blank lines and the order survive a
// rewrite. Section and key names compare without case and keep the case first written; the
// first section of a name and its first key of a name count. Lines before the first section,
// comments (';') and lines without '=' are kept but hold no value.
class TIniDocument {
public:
    TIniDocument() = default;
    TIniDocument(const TIniDocument& Other);
    TIniDocument& operator=(const TIniDocument& Other);
    TIniDocument(TIniDocument&&) noexcept = default;
    TIniDocument& operator=(TIniDocument&&) noexcept = default;

    // Lines end at LF or CR LF; a UTF-8 byte-order mark is kept but not read as text.
    void Parse(const std::string& Text);
    // Every line followed by CR LF.
    std::string Text() const;

    // A value is trimmed of blanks and of one pair of enclosing quotes (" or ').
    bool Find(const std::string& Section, const std::string& Key, std::string& Value) const;
    // Replaces the value in place, or adds the key at the end of its section, or adds the
    // section at the end of the text. Raises EIniFileException for names or values that a line
    // cannot hold (line breaks, '=' in a key, ']' in a section name).
    void SetValue(const std::string& Section, const std::string& Key, const std::string& Value);
    // Both return false when there was nothing to remove. EraseSection removes every section of
    // that name with all its lines.
    bool DeleteKey(const std::string& Section, const std::string& Key);
    bool EraseSection(const std::string& Section);

    bool HasSection(const std::string& Section) const;
    std::vector<std::string> SectionNames() const; // each name once, in file order
    std::vector<std::string> KeyNames(const std::string& Section) const;

private:
    // A header line and the lines up to the next one.
    struct TSection {
        std::string Header;             // as written
        std::string Name;               // trimmed
        std::string Folded;             // AnsiSameTextKey of Name
        std::vector<std::string> Lines; // as written
        // The first key line of each name, by AnsiSameTextKey.
        std::unordered_map<std::string, std::size_t> Keys;
    };
    using TSections = std::list<TSection>;

    // The first section named Section, or null.
    const TSection* FindSection(const std::string& Section) const;
    TSection* FindSection(const std::string& Section);
    // Rebuilds FIndex from FSections.
    void IndexSections();

    std::vector<std::string> FLeading; // the lines before the first header
    TSections FSections;
    // Every section of each name in file order, by AnsiSameTextKey; the list keeps its nodes
    // where they are, so the positions stay good while other sections come and go.
    std::unordered_map<std::string, std::vector<TSections::iterator>> FIndex;
    bool FByteOrderMark = false;
};

// Every write rewrites the file at once through the atomic rewrite, creating it when missing;
// a failed write raises EIniFileException "Unable to write to <FileName>: <the system's reason>"
// ("...: Permission denied"). Reads see the file as
// it is on disk. A FileName without a folder lives in the per-user settings folder (the folder
// of the registry files).
class TIniFile : public TObject {
public:
    explicit TIniFile(const std::string& FileName);

    const std::string& FileName() const { return FFileName; }

    std::string ReadString(const std::string& Section, const std::string& Ident,
                           const std::string& Default);
    void WriteString(const std::string& Section, const std::string& Ident,
                     const std::string& Value);
    // Decimal, or hexadecimal after "$" or "0x"; Default when the text is not a number.
    int ReadInteger(const std::string& Section, const std::string& Ident, int Default);
    void WriteInteger(const std::string& Section, const std::string& Ident, int Value);
    // Written "1" or "0"; read as a number, any non-zero number being true.
    bool ReadBool(const std::string& Section, const std::string& Ident, bool Default);
    void WriteBool(const std::string& Section, const std::string& Ident, bool Value);
    // Text in the form of the locale (FloatToStr, DateToStr...); Default when it does not parse.
    double ReadFloat(const std::string& Section, const std::string& Ident, double Default);
    void WriteFloat(const std::string& Section, const std::string& Ident, double Value);
    TDateTime ReadDate(const std::string& Section, const std::string& Ident, TDateTime Default);
    void WriteDate(const std::string& Section, const std::string& Ident, TDateTime Value);
    TDateTime ReadTime(const std::string& Section, const std::string& Ident, TDateTime Default);
    void WriteTime(const std::string& Section, const std::string& Ident, TDateTime Value);
    TDateTime ReadDateTime(const std::string& Section, const std::string& Ident, TDateTime Default);
    void WriteDateTime(const std::string& Section, const std::string& Ident, TDateTime Value);

    // Key names of a section; section names; "key=value" lines of a section (the list is
    // cleared first).
    void ReadSection(const std::string& Section, TStrings* Strings);
    void ReadSections(TStrings* Strings);
    void ReadSectionValues(const std::string& Section, TStrings* Strings);
    bool SectionExists(const std::string& Section);
    bool ValueExists(const std::string& Section, const std::string& Ident);
    void EraseSection(const std::string& Section);
    void DeleteKey(const std::string& Section, const std::string& Ident);
    // Writes go to the file at once, so there is nothing left to flush.
    void UpdateFile() {}

private:
    TIniDocument Load() const;
    void Save(const TIniDocument& Document);
    // Raises "Unable to write to <FileName>: <reason of errno Code>".
    [[noreturn]] void WriteError(int Code) const;

    std::string FFileName; // as given
    std::string FPath;     // where it is read and written
};
