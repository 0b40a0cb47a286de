// Feeds arbitrary bytes to the string list's text, comma-text and delimited-text parsers and
// checks that what they produce survives a round trip through the matching writer.
#include "platform/rtl/stringlist.h"
#include "fuzz/fuzzinput.h"
#include "platform/rtl/stream.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    std::string Input = InputText(Data, Size);

    TStringList List;
    TStringStream Stream(Input);
    List.LoadFromStream(&Stream);
    TStringList Again;
    Again.SetText(List.Text());
    Check(Again.Equals(&List));

    // Names and values of whatever the lines hold.
    for (int I = 0; I < List.Count(); ++I) {
        std::string Name = List.Names(I);
        int Index = List.IndexOfName(Name);
        Check(Name.empty() || (Index >= 0 && Index <= I));
        List.ValueFromIndex(I);
    }

    // A sorted copy finds every line.
    TStringList Sorted;
    Sorted.SetSorted(true);
    Sorted.SetDuplicates(dupAccept);
    Sorted.AddStrings(&List);
    Check(Sorted.Count() == List.Count());
    for (int I = 0; I < List.Count(); ++I)
        Check(Sorted.IndexOf(List.Strings(I)) >= 0);

    List.SetCommaText(Input);
    Again.SetCommaText(List.CommaText());
    Check(Again.Equals(&List));

    List.SetDelimiter(';');
    List.SetQuoteChar('\'');
    Again.SetDelimiter(';');
    Again.SetQuoteChar('\'');
    List.SetDelimitedText(Input);
    Again.SetDelimitedText(List.DelimitedText());
    Check(Again.Equals(&List));
    return 0;
}
