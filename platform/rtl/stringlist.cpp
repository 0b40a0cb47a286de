#include "platform/rtl/stringlist.h"

#include "platform/rtl/atomicfile.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/mergesort.h"
#include "platform/rtl/moveitem.h"
#include "platform/rtl/stream.h"
#include "platform/rtl/strings.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace {

// Runs Body between BeginUpdate and EndUpdate; EndUpdate also runs when Body raises.
template <class TBody>
void WithUpdate(TStrings& Strings, TBody Body)
{
    Strings.BeginUpdate();
    try {
        Body();
    } catch (...) {
        Strings.EndUpdate();
        throw;
    }
    Strings.EndUpdate();
}

[[noreturn]] void IndexError(int Index)
{
    throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
}

// The first CR or LF in [P, End), or End.
const char* LineEnd(const char* P, const char* End)
{
    const auto* LF =
        static_cast<const char*>(std::memchr(P, '\n', static_cast<std::size_t>(End - P)));
    const char* Stop = LF != nullptr ? LF : End;
    const auto* CR =
        static_cast<const char*>(std::memchr(P, '\r', static_cast<std::size_t>(Stop - P)));
    return CR != nullptr ? CR : Stop;
}

bool IsBlank(char C)
{
    return static_cast<unsigned char>(C) <= ' ';
}

} // namespace

void AssignLines(TStrings* Strings, const std::vector<std::string>& Lines)
{
    WithUpdate(*Strings, [&] {
        Strings->Clear();
        for (const std::string& Line : Lines)
            Strings->Add(Line);
    });
}

// TStrings

void TStrings::Put(int Index, const std::string& S)
{
    TObject* Object = GetObject(Index);
    WithUpdate(*this, [&] {
        Delete(Index);
        InsertObject(Index, S, Object);
    });
}

TObject* TStrings::GetObject(int /*Index*/) const
{
    return nullptr;
}

void TStrings::PutObject(int /*Index*/, TObject* /*AObject*/) {}

int TStrings::Add(const std::string& S)
{
    int Index = Count();
    Insert(Index, S);
    return Index;
}

int TStrings::AddObject(const std::string& S, TObject* AObject)
{
    int Index = Add(S);
    PutObject(Index, AObject);
    return Index;
}

void TStrings::InsertObject(int Index, const std::string& S, TObject* AObject)
{
    WithUpdate(*this, [&] {
        Insert(Index, S);
        PutObject(Index, AObject);
    });
}

void TStrings::Exchange(int Index1, int Index2)
{
    WithUpdate(*this, [&] {
        std::string String1 = Get(Index1);
        TObject* Object1 = GetObject(Index1);
        Put(Index1, Get(Index2));
        PutObject(Index1, GetObject(Index2));
        Put(Index2, String1);
        PutObject(Index2, Object1);
    });
}

void TStrings::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    // Checked first: a failing insert after the delete would lose the line.
    if (NewIndex < 0 || NewIndex >= Count())
        IndexError(NewIndex);
    std::string S = Get(CurIndex);
    TObject* Object = GetObject(CurIndex);
    WithUpdate(*this, [&] {
        Delete(CurIndex);
        InsertObject(NewIndex, S, Object);
    });
}

void TStrings::AddStrings(const TStrings* Strings)
{
    if (Strings == this) {
        // Adding to itself: the source changes under the loop, so take the lines first.
        TStringList Copy;
        Copy.AddStrings(Strings);
        AddStrings(&Copy);
        return;
    }
    WithUpdate(*this, [&] {
        int Count = Strings->Count();
        for (int I = 0; I < Count; ++I)
            AddObject(Strings->Get(I), Strings->GetObject(I));
    });
}

void TStrings::Assign(const TPersistent* Source)
{
    if (Source == this)
        return;
    if (auto Strings = dynamic_cast<const TStrings*>(Source)) {
        WithUpdate(*this, [&] {
            Clear();
            AddStrings(Strings);
        });
        return;
    }
    TPersistent::Assign(Source);
}

bool TStrings::Equals(const TStrings* Strings) const
{
    int N = Count();
    if (Strings == nullptr || Strings->Count() != N)
        return false;
    for (int I = 0; I < N; ++I)
        if (Get(I) != Strings->Get(I))
            return false;
    return true;
}

int TStrings::IndexOf(const std::string& S) const
{
    int N = Count();
    for (int I = 0; I < N; ++I)
        if (CompareStrings(Get(I), S) == 0)
            return I;
    return -1;
}

int TStrings::IndexOfName(const std::string& Name) const
{
    int N = Count();
    for (int I = 0; I < N; ++I) {
        std::string S = Get(I);
        std::string::size_type Separator = S.find(FNameValueSeparator);
        if (Separator != std::string::npos && CompareStrings(S.substr(0, Separator), Name) == 0)
            return I;
    }
    return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const
{
    int N = Count();
    for (int I = 0; I < N; ++I)
        if (GetObject(I) == AObject)
            return I;
    return -1;
}

std::string TStrings::Names(int Index) const
{
    std::string S = Get(Index);
    std::string::size_type Separator = S.find(FNameValueSeparator);
    return Separator == std::string::npos ? std::string() : S.substr(0, Separator);
}

std::string TStrings::Values(const std::string& Name) const
{
    return ValueFromIndex(IndexOfName(Name));
}

void TStrings::SetValues(const std::string& Name, const std::string& Value)
{
    int Index = IndexOfName(Name);
    if (Value.empty()) {
        if (Index >= 0)
            Delete(Index);
        return;
    }
    std::string Line = Name + FNameValueSeparator + Value;
    if (Index >= 0)
        Put(Index, Line);
    else
        Add(Line);
}

std::string TStrings::ValueFromIndex(int Index) const
{
    if (Index < 0)
        return std::string();
    std::string S = Get(Index);
    std::string::size_type Separator = S.find(FNameValueSeparator);
    return Separator == std::string::npos ? std::string() : S.substr(Separator + 1);
}

std::string TStrings::Text() const
{
    std::string Result;
    int N = Count();
    for (int I = 0; I < N; ++I) {
        Result += Get(I);
        Result += "\r\n";
    }
    return Result;
}

void TStrings::SetText(const std::string& Value)
{
    WithUpdate(*this, [&] {
        Clear();
        std::size_t P = 0;
        const std::size_t N = Value.size();
        while (P < N) {
            const std::size_t Start = P;
            P = static_cast<std::size_t>(LineEnd(Value.data() + P, Value.data() + N) -
                                         Value.data());
            AddLine(Value.substr(Start, P - Start));
            if (P < N && Value[P] == '\r')
                ++P;
            if (P < N && Value[P] == '\n')
                ++P;
        }
    });
}

std::string TStrings::CommaText() const
{
    return JoinDelimited(',', '"');
}

void TStrings::SetCommaText(const std::string& Value)
{
    SplitDelimited(Value, ',', '"');
}

std::string TStrings::DelimitedText() const
{
    return JoinDelimited(FDelimiter, FQuoteChar);
}

void TStrings::SetDelimitedText(const std::string& Value)
{
    SplitDelimited(Value, FDelimiter, FQuoteChar);
}

std::string TStrings::JoinDelimited(char Delimiter, char Quote) const
{
    int N = Count();
    if (N == 1 && Get(0).empty())
        return std::string(2, Quote);
    std::string Result;
    for (int I = 0; I < N; ++I) {
        std::string S = Get(I);
        bool NeedsQuotes = std::any_of(
            S.begin(), S.end(), [&](char C) { return IsBlank(C) || C == Quote || C == Delimiter; });
        if (I > 0)
            Result += Delimiter;
        Result += NeedsQuotes ? AnsiQuotedStr(S, Quote) : S;
    }
    return Result;
}

void TStrings::SplitDelimited(const std::string& Value, char Delimiter, char Quote)
{
    WithUpdate(*this, [&] {
        Clear();
        std::size_t P = 0;
        std::size_t N = Value.size();
        while (P < N && IsBlank(Value[P]))
            ++P;
        while (P < N) {
            std::string S;
            if (Value[P] == Quote) {
                std::size_t Start = P;
                S = AnsiExtractQuotedStr(Value, P, Quote);
                P = std::max(P, Start + 1);
            } else {
                std::size_t Start = P;
                while (P < N && !IsBlank(Value[P]) && Value[P] != Delimiter)
                    ++P;
                S = Value.substr(Start, P - Start);
            }
            Add(S);
            while (P < N && IsBlank(Value[P]))
                ++P;
            if (P < N && Value[P] == Delimiter) {
                // A delimiter at the very end still ends an (empty) last item.
                if (P + 1 == N)
                    Add(std::string());
                do
                    ++P;
                while (P < N && IsBlank(Value[P]));
            }
        }
    });
}

void TStrings::LoadFromStream(TStream* Stream)
{
    // Split chunk by chunk, as SetText splits, reading to the end rather than trusting Size(),
    // which not every stream knows. A CR at the end of a chunk may pair with an LF that starts
    // the next one.
    WithUpdate(*this, [&] {
        Clear();
        std::string Chunk(64 * 1024, '\0');
        std::string Line; // the start of a line that has not ended yet
        bool AfterCR = false;
        for (;;) {
            const int64_t Got = Stream->Read(Chunk.data(), static_cast<int64_t>(Chunk.size()));
            if (Got <= 0)
                break;
            const char* P = Chunk.data();
            const char* const End = P + Got;
            if (AfterCR && *P == '\n')
                ++P;
            AfterCR = false;
            while (P < End) {
                const char* E = LineEnd(P, End);
                Line.append(P, E);
                if (E == End)
                    break;
                AddLine(std::move(Line));
                Line.clear();
                if (*E++ == '\r') {
                    if (E == End)
                        AfterCR = true;
                    else if (*E == '\n')
                        ++E;
                }
                P = E;
            }
        }
        if (!Line.empty())
            AddLine(std::move(Line));
    });
}

void TStrings::LoadFromFile(const std::string& FileName)
{
    TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&Stream);
}

void TStrings::SaveToStream(TStream* Stream) const
{
    std::string Data = Text();
    Stream->WriteBuffer(Data.data(), static_cast<int64_t>(Data.size()));
}

void TStrings::SaveToFile(const std::string& FileName) const
{
    AtomicWriteFile(FileName, Text());
}

void TStrings::BeginUpdate()
{
    if (FUpdateCount == 0)
        SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    --FUpdateCount;
    if (FUpdateCount == 0)
        SetUpdateState(false);
}

void TStrings::SetUpdateState(bool /*Updating*/) {}

int TStrings::CompareStrings(const std::string& S1, const std::string& S2) const
{
    return AnsiCompareText(S1, S2);
}

// TStringList

void TStringList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        IndexError(Index);
}

void TStringList::CheckNotSorted() const
{
    if (FSorted)
        throw EStringListError("Operation not allowed on sorted string list");
}

std::string TStringList::Get(int Index) const
{
    CheckIndex(Index);
    return FList[static_cast<std::size_t>(Index)].FString;
}

void TStringList::Put(int Index, const std::string& S)
{
    CheckNotSorted();
    CheckIndex(Index);
    Changing();
    FList[static_cast<std::size_t>(Index)].FString = S;
    Changed();
}

TObject* TStringList::GetObject(int Index) const
{
    CheckIndex(Index);
    return FList[static_cast<std::size_t>(Index)].FObject;
}

void TStringList::PutObject(int Index, TObject* AObject)
{
    CheckIndex(Index);
    Changing();
    FList[static_cast<std::size_t>(Index)].FObject = AObject;
    Changed();
}

int TStringList::Add(const std::string& S)
{
    return AddObject(S, nullptr);
}

int TStringList::AddObject(const std::string& S, TObject* AObject)
{
    int Index = Count();
    if (FSorted && Find(S, Index)) {
        if (FDuplicates == dupIgnore)
            return Index;
        if (FDuplicates == dupError)
            throw EStringListError("String list does not allow duplicates");
    }
    InsertItem(Index, S, AObject);
    return Index;
}

void TStringList::Insert(int Index, const std::string& S)
{
    InsertObject(Index, S, nullptr);
}

void TStringList::InsertObject(int Index, const std::string& S, TObject* AObject)
{
    CheckNotSorted();
    if (Index < 0 || Index > Count())
        IndexError(Index);
    InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(int Index, std::string S, TObject* AObject)
{
    Changing();
    TStringItem Item;
    Item.FString = std::move(S);
    Item.FObject = AObject;
    FList.insert(FList.begin() + Index, std::move(Item));
    Changed();
}

void TStringList::AddLine(std::string&& S)
{
    if (FSorted)
        AddObject(S, nullptr); // finds its place and honours Duplicates
    else
        InsertItem(Count(), std::move(S), nullptr);
}

void TStringList::Delete(int Index)
{
    CheckIndex(Index);
    Changing();
    FList.erase(FList.begin() + Index);
    Changed();
}

void TStringList::Clear()
{
    if (FList.empty())
        return;
    Changing();
    FList.clear();
    FList.shrink_to_fit();
    Changed();
}

void TStringList::Exchange(int Index1, int Index2)
{
    CheckNotSorted();
    CheckIndex(Index1);
    CheckIndex(Index2);
    Changing();
    std::swap(FList[static_cast<std::size_t>(Index1)], FList[static_cast<std::size_t>(Index2)]);
    Changed();
}

void TStringList::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    CheckNotSorted();
    CheckIndex(NewIndex);
    CheckIndex(CurIndex);
    Changing();
    MoveItem(FList, CurIndex, NewIndex);
    Changed();
}

void TStringList::SetValues(const std::string& Name, const std::string& Value)
{
    int Index = IndexOfName(Name);
    if (!FSorted || Index < 0 || Value.empty()) {
        TStrings::SetValues(Name, Value);
        return;
    }
    // A sorted list takes no Put: the line goes out and back in where it now sorts.
    TObject* Object = FList[static_cast<std::size_t>(Index)].FObject;
    std::string Line = Name + NameValueSeparator() + Value;
    WithUpdate(*this, [&] {
        Delete(Index);
        AddObject(Line, Object);
    });
}

int TStringList::IndexOf(const std::string& S) const
{
    if (!FSorted)
        return TStrings::IndexOf(S);
    int Index = 0;
    return Find(S, Index) ? Index : -1;
}

bool TStringList::Find(const std::string& S, int& Index) const
{
    bool Found = false;
    int L = 0;
    int H = Count() - 1;
    while (L <= H) {
        int I = L + (H - L) / 2;
        int C = CompareStrings(FList[static_cast<std::size_t>(I)].FString, S);
        if (C < 0) {
            L = I + 1;
        } else {
            H = I - 1;
            if (C == 0) {
                Found = true;
                if (FDuplicates != dupAccept)
                    L = I;
            }
        }
    }
    Index = L;
    return Found;
}

void TStringList::Sort()
{
    CustomSort(DefaultCompare());
}

void TStringList::CustomSort(const TStringListSortCompare& Compare)
{
    if (!FSorted)
        SortItems(Compare);
}

TStringListSortCompare TStringList::DefaultCompare()
{
    return [](TStringList* List, int Index1, int Index2) {
        return List->CompareStrings(List->FList[static_cast<std::size_t>(Index1)].FString,
                                    List->FList[static_cast<std::size_t>(Index2)].FString);
    };
}

void TStringList::SortItems(const TStringListSortCompare& Compare)
{
    if (Count() < 2)
        return;
    // Sort positions, so that Compare sees the list as it was and a Compare that raises
    // leaves it untouched.
    std::vector<int> Order(FList.size());
    std::iota(Order.begin(), Order.end(), 0);
    MergeSort(Order, [&](int A, int B) { return Compare(this, A, B) < 0; });
    Changing();
    std::vector<TStringItem> Sorted;
    Sorted.reserve(FList.size());
    for (int I : Order)
        Sorted.push_back(std::move(FList[static_cast<std::size_t>(I)]));
    FList.swap(Sorted);
    Changed();
}

void TStringList::SetSorted(bool Value)
{
    if (FSorted == Value)
        return;
    if (Value)
        SortItems(DefaultCompare());
    FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value)
{
    if (FCaseSensitive == Value)
        return;
    FCaseSensitive = Value;
    // The order changes with the comparison, and Find relies on it.
    if (FSorted)
        SortItems(DefaultCompare());
}

int TStringList::CompareStrings(const std::string& S1, const std::string& S2) const
{
    return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

void TStringList::SetUpdateState(bool Updating)
{
    if (Updating)
        Changing();
    else
        Changed();
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && OnChange)
        OnChange(this);
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && OnChanging)
        OnChanging(this);
}
