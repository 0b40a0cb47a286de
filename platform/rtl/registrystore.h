// platform/rtl/registrystore.h: the file-backed store under TRegistry. Each root key is one
// human-readable text file in the settings folder; processes share it by locking, reloading and
// changing one value at a time, and every rewrite goes through the atomic rewrite.
#pragma once

#include "platform/rtl/exceptions.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

TW_DECLARE_EXCEPTION(ERegistryException, Exception);

// Root keys are opaque constants.
using HKEY = std::uint32_t;
constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

// One value: strings without a terminator, an integer as 4 bytes little-endian, binary as is.
struct TRegStoreValue {
    std::string Name;
    TRegDataType DataType = rdString;
    std::string Data;
};

struct TRegStoreKey {
    std::string Path; // components joined by '\', each in the case first written; "" is the root
    // In the order they were first written. Changed only through TRegistryData's SetValue and
    // DeleteValue, which keep ValueIndex in step.
    std::vector<TRegStoreValue> Values;
    std::vector<std::string> OtherLines; // comments and lines kept as written (see Parse)
    // The place in Values of each name, by AnsiSameTextKey.
    std::unordered_map<std::string, std::size_t> ValueIndex;
};

// The keys and values of one root, parsed from and written to the store's text:
//   [Software\Vendor\App]            a key (the root itself is [])
//   "Name" = string "text"           also: expand "text", dword -12, binary 0a ff 3c
//   @ = string "text"                the key's unnamed default value
// Names and texts escape '%', '"' and control characters as %HH; every other byte stands as
// itself. Lines starting with ';' or '#' are comments. A line that does not parse is kept as
// written (and reported by Problems()), so a hand-edited mistake loses nothing else. So is a
// line that parses but would not come back as written: a value whose name the key already has
// (names compare without case, and UTF-8 and Windows-1252 spell the same name alike: the first
// line counts) or whose name holds a NUL, and a key line with text after its ']', with a NUL in
// its path, spelling a key already read another way ("[APP]" after "[App]") or repeating one.
// The key line still opens its key; the line itself is kept among that key's other lines.
class TRegistryData {
public:
    void Parse(const std::string& Text);
    std::string Text() const;
    // "line N: reason" for every line Parse kept as written instead of reading it.
    const std::vector<std::string>& Problems() const { return FProblems; }

    // Key paths are split at '\'; empty components are ignored; names compare without case.
    const TRegStoreKey* FindKey(const std::string& Path) const;
    TRegStoreKey* FindKey(const std::string& Path);
    // Creates the key and its missing parents; returns it.
    TRegStoreKey& CreateKey(const std::string& Path);
    // Removes the key and everything below it; false when there was none. The root stays.
    bool DeleteKey(const std::string& Path);
    // The names of the direct subkeys, sorted without case.
    std::vector<std::string> SubKeyNames(const std::string& Path) const;

    static const TRegStoreValue* FindValue(const TRegStoreKey& Key, const std::string& Name);
    // Replaces or adds the value (an existing value keeps its name's case and place).
    static void SetValue(TRegStoreKey& Key, const TRegStoreValue& Value);
    static bool DeleteValue(TRegStoreKey& Key, const std::string& Name);

    // The folded form of a path, by which keys are looked up and ordered (parents first).
    static std::string FoldPath(const std::string& Path);

private:
    std::map<std::string, TRegStoreKey> FKeys; // by FoldPath; every parent present
    std::vector<std::string> FLeadingLines;    // lines before the first key
    std::vector<std::string> FProblems;
};

// The file behind a root: "<folder>/HKEY_CURRENT_USER.registry", the folder being
// $TARNWICK_REGISTRY when set and not empty, else $XDG_CONFIG_HOME/tarnwick, else
// ~/.config/tarnwick. Raises ERegistryException for an unknown root.
std::string RegistryFileName(HKEY Root);
// The per-user settings folder named above, with a trailing '/'.
std::string SettingsFolder();
std::string RootKeyName(HKEY Root);

// Runs Read with the current contents of the root's file (reloaded when the file changed on
// disk) laid over its built-in values.
void ReadRegistry(
    HKEY Root,
    const std::function<void(const TRegistryData& File, const TRegistryData& BuiltIn)>& Read);
// Takes the root's lock, reloads the file, runs Change on it and, when it returns true, rewrites
// the file. Raises ERegistryException when the file cannot be written, with the system's reason
// ("Cannot create file "<name>". No space left on device"); the old file stays whole. The file
// is private: created 0600, and an existing one keeps its permission bits, less any beyond 0600.
// A symbolic link in its place is followed (see AtomicWriteFile).
void ChangeRegistry(HKEY Root, const std::function<bool(TRegistryData& File)>& Change);

// The built-in read-only layer of a root: reads see these keys and values under the file's
// (a value in the file wins); they are never written to the file.
void RegisterBuiltInKey(HKEY Root, const std::string& Key);
void RegisterBuiltInValue(HKEY Root, const std::string& Key, const TRegStoreValue& Value);
void ClearBuiltInValues(HKEY Root);

// For tests: called during every rewrite after the new text is written and before it replaces
// the file, so that a test can end the process there.
void SetRegistryCommitHook(std::function<void()> Hook);
