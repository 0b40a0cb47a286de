// controls/entry/ovcsrmgr.h: the reader of "STR0" string tables (raw-data resources of id-sorted
// UTF-16 texts), the library's two global readers and LibraryString, through which the
// entry-field library takes every text it shows or raises.
#pragma once

#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

TW_DECLARE_EXCEPTION(ETpsStringResourceError, Exception);

// A module as the reader sees it: the bytes of its raw-data resource of a name, or nothing. The
// bytes must outlive every reader that opened them.
using TResourceModule = std::function<std::optional<std::string_view>(const std::string& Name)>;
// The program's own module: the raw-data resources embedded at build time.
TResourceModule HInstance();

class TOvcStringResource : public TObject {
public:
    // An empty module stands for the program's own.
    TOvcStringResource(const TResourceModule& Module, const std::string& ResourceName);
    ~TOvcStringResource() override;
    TOvcStringResource(const TOvcStringResource&) = delete;
    TOvcStringResource& operator=(const TOvcStringResource&) = delete;

    // Closes the current table, then opens the named one (looked for in Module, then in the
    // program's own module); an empty name leaves the reader without a table. A table is checked
    // whole against its size when it opens: a bad one raises "Invalid TPString resource".
    void SelectTable(const TResourceModule& Module, const std::string& ResourceName);
    // The text of Id as UTF-8 (an unpaired surrogate becomes "?"); "" when the table lacks Id.
    // Raises "Cannot lock resource" when no table is open.
    std::string GetString(std::int32_t Id) const;

    // An absent id raises "String not found: %d" instead of yielding "".
    bool RaiseOnMissing = false;

private:
    void OpenTable(const TResourceModule& Module, const std::string& ResourceName);
    void CloseTable();
    // The entry's index, or -1 (FindEntry raises instead under RaiseOnMissing).
    std::int32_t FindEntry(std::int32_t Id) const;
    std::int32_t Search(std::int32_t Id) const;
    // The text of entry Index; "" for -1.
    std::string Text(std::int32_t Index) const;
    // The reader's own message Id (1 to 5), from SrMgrStrings once it has a table.
    static std::string ReaderMessage(int Id);

    std::optional<std::string_view> FTable;
};

// Over OVCSRMGR_STRINGS (the reader's own messages) and PELIDOR3_STRINGS_ENGLISH (the library's
// messages); created in that order before the program's main runs, freed in reverse at its end.
extern TOvcStringResource* SrMgrStrings;
extern TOvcStringResource* LibraryStrings;

// The library's message Id; "Unknown" for an id the table lacks.
std::string LibraryString(std::uint16_t Id);
