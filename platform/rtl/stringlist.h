// platform/rtl/stringlist.h: TStrings, the interface of every list of text lines (each with an
// object it does not own), and TStringList, the list that stores them, optionally sorted.
#pragma once

#include "platform/rtl/events.h"
#include "platform/rtl/object.h"

#include <functional>
#include <string>
#include <vector>

class TStream;

// Indexes run from 0 to Count() - 1. Names and values: a line "Name=Value" has the name before
// its first NameValueSeparator and the value after it; names compare as CompareStrings does.
class TStrings : public TPersistent {
public:
    virtual int Count() const = 0;
    virtual std::string Get(int Index) const = 0;
    virtual void Put(int Index, const std::string& S);
    virtual TObject* GetObject(int Index) const;
    virtual void PutObject(int Index, TObject* AObject);

    std::string Strings(int Index) const { return Get(Index); }
    void SetStrings(int Index, const std::string& S) { Put(Index, S); }
    TObject* Objects(int Index) const { return GetObject(Index); }
    void SetObjects(int Index, TObject* AObject) { PutObject(Index, AObject); }

    // Returns the index the line landed at.
    virtual int Add(const std::string& S);
    virtual int AddObject(const std::string& S, TObject* AObject);
    virtual void Insert(int Index, const std::string& S) = 0;
    virtual void InsertObject(int Index, const std::string& S, TObject* AObject);
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int Index1, int Index2);
    // Raises before changing anything when either index is out of range.
    virtual void Move(int CurIndex, int NewIndex);
    void AddStrings(const TStrings* Strings);
    // Copies the lines and objects of another TStrings (itself: nothing happens).
    void Assign(const TPersistent* Source) override;
    // The same lines, compared byte for byte; objects are not compared.
    bool Equals(const TStrings* Strings) const;

    // -1 when absent.
    virtual int IndexOf(const std::string& S) const;
    int IndexOfName(const std::string& Name) const;
    int IndexOfObject(const TObject* AObject) const;

    // Empty for a line without a separator.
    std::string Names(int Index) const;
    // Empty when no line has the name.
    std::string Values(const std::string& Name) const;
    // Replaces or adds the line "Name=Value"; an empty Value deletes the line.
    virtual void SetValues(const std::string& Name, const std::string& Value);
    // Empty for a line without a separator and for a negative Index.
    std::string ValueFromIndex(int Index) const;
    char NameValueSeparator() const { return FNameValueSeparator; }
    void SetNameValueSeparator(char Value) { FNameValueSeparator = Value; }

    // Every line followed by CR LF.
    std::string Text() const;
    // Replaces the lines; lines end at CR LF, CR or LF, and a last line needs no end.
    void SetText(const std::string& Value);
    // DelimitedText with ',' and '"'.
    std::string CommaText() const;
    void SetCommaText(const std::string& Value);
    // The lines joined by Delimiter. A line holding a blank, a control character, Delimiter or
    // QuoteChar is quoted with QuoteChar, inner QuoteChars doubled; a list of one empty line
    // is two QuoteChars. Setting splits at Delimiter and at blanks outside quotes.
    std::string DelimitedText() const;
    void SetDelimitedText(const std::string& Value);
    char Delimiter() const { return FDelimiter; }
    void SetDelimiter(char Value) { FDelimiter = Value; }
    char QuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(char Value) { FQuoteChar = Value; }

    // The rest of Stream from its position, split as SetText splits.
    virtual void LoadFromStream(TStream* Stream);
    virtual void LoadFromFile(const std::string& FileName);
    // Text() into Stream at its position.
    virtual void SaveToStream(TStream* Stream) const;
    // Text() through the atomic rewrite: the old file stays whole until the new one is.
    virtual void SaveToFile(const std::string& FileName) const;

    // Nested; the list tells of its changes once, when the outermost EndUpdate comes.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

protected:
    // Adds one line of a text being split (SetText, LoadFromStream); a list that stores its
    // strings takes the line without a copy.
    virtual void AddLine(std::string&& S) { Add(S); }
    // Called with true when the first BeginUpdate begins and false when the last one ends.
    virtual void SetUpdateState(bool Updating);
    // Line comparison for IndexOf and the names: AnsiCompareText here.
    virtual int CompareStrings(const std::string& S1, const std::string& S2) const;

private:
    std::string JoinDelimited(char Delimiter, char Quote) const;
    void SplitDelimited(const std::string& Value, char Delimiter, char Quote);

    int FUpdateCount = 0;
    char FNameValueSeparator = '=';
    char FDelimiter = ',';
    char FQuoteChar = '"';
};

// Replaces the lines of Strings with Lines (no objects) as one update.
void AssignLines(TStrings* Strings, const std::vector<std::string>& Lines);

class TStringList;

enum TDuplicates { dupIgnore, dupAccept, dupError };

// <0, 0 or >0 as the line at Index1 sorts before, with or after the line at Index2.
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

// Index errors raise EStringListError "List index out of bounds (N)". While Sorted, lines go
// where they sort: Insert, Put, Exchange and Move raise EStringListError "Operation not allowed
// on sorted string list", and Add honours Duplicates. The objects are not owned.
class TStringList : public TStrings {
public:
    int Count() const override { return static_cast<int>(FList.size()); }
    std::string Get(int Index) const override;
    void Put(int Index, const std::string& S) override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;

    int Add(const std::string& S) override;
    int AddObject(const std::string& S, TObject* AObject) override;
    void Insert(int Index, const std::string& S) override;
    void InsertObject(int Index, const std::string& S, TObject* AObject) override;
    void Delete(int Index) override;
    void Clear() override;
    void Exchange(int Index1, int Index2) override;
    void Move(int CurIndex, int NewIndex) override;
    int IndexOf(const std::string& S) const override;
    void SetValues(const std::string& Name, const std::string& Value) override;

    // Binary search of a sorted list: true when found, Index at the first match (or where S
    // would be inserted).
    virtual bool Find(const std::string& S, int& Index) const;
    // Both do nothing while Sorted, as the list is in order already. Stable.
    virtual void Sort();
    virtual void CustomSort(const TStringListSortCompare& Compare);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
    // False: lines compare with AnsiCompareText; true: with AnsiCompareStr.
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    void SetUpdateState(bool Updating) override;
    int CompareStrings(const std::string& S1, const std::string& S2) const override;
    virtual void Changed();
    virtual void Changing();
    // Inserts without the sorted check.
    virtual void InsertItem(int Index, std::string S, TObject* AObject);
    void AddLine(std::string&& S) override;

private:
    struct TStringItem {
        std::string FString;
        TObject* FObject = nullptr;
    };

    void CheckIndex(int Index) const;
    void CheckNotSorted() const;
    static TStringListSortCompare DefaultCompare();
    void SortItems(const TStringListSortCompare& Compare);

    std::vector<TStringItem> FList;
    bool FSorted = false;
    TDuplicates FDuplicates = dupIgnore;
    bool FCaseSensitive = false;
};
