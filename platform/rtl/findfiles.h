// platform/rtl/findfiles.h: listing a folder's entries that match a wildcard (FindFirst,
// FindNext, FindClose with TSearchRec) and the packed DOS date and time the listing reports.
#pragma once

#include "platform/rtl/types.h"

#include <cstdint>
#include <memory>
#include <string>

// File attributes as the listing reports them. A name starting with "." is hidden; a symbolic
// link carries faSymLink with the kind (folder or file) of what it points to.
constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;
constexpr int faSysFile = 0x04;
constexpr int faVolumeID = 0x08;
constexpr int faDirectory = 0x10;
constexpr int faArchive = 0x20;
constexpr int faSymLink = 0x40;
constexpr int faAnyFile = 0x3F;

// The error codes FindFirst and FindNext answer besides 0.
constexpr int ERROR_FILE_NOT_FOUND = 2;
constexpr int ERROR_PATH_NOT_FOUND = 3;
constexpr int ERROR_ACCESS_DENIED = 5;
constexpr int ERROR_NO_MORE_FILES = 18;

struct TFindState;

struct TSearchRec {
    int Time = 0;     // packed DOS date and time, local time (0 outside 1980 to 2107)
    Int64 Size = 0;   // bytes; 0 for a folder
    int Attr = 0;     // fa* flags
    std::string Name; // the entry's name, without its folder
    int ExcludeAttr = 0;
    std::shared_ptr<TFindState> FindHandle; // the open listing; empty once closed
};

// Starts listing the entries of Path's folder whose name matches Path's last part ("*" any run
// of characters, "?" one character; "*.*" and "*" match every name). Entries carrying faHidden,
// faSysFile, faVolumeID or faDirectory appear only when Attr allows them; the others always do.
// Links are not followed for the listing, only to learn their target's kind and details. 0 and
// the first entry in F, or an error code (ERROR_FILE_NOT_FOUND when nothing matches,
// ERROR_PATH_NOT_FOUND or ERROR_ACCESS_DENIED when the folder cannot be read), F then closed.
int FindFirst(const std::string& Path, int Attr, TSearchRec& F);
// 0 and the next entry, or ERROR_NO_MORE_FILES.
int FindNext(TSearchRec& F);
// Ends the listing; harmless on a closed one.
void FindClose(TSearchRec& F);

// A folder's entries with their kind only, for walks that need no details: the kind comes from
// the directory entry, and only links (and file systems that do not tell) cost a look-up.
// "." and ".." are left out.
class TFolderReader {
public:
    explicit TFolderReader(const std::string& Folder);
    ~TFolderReader();
    TFolderReader(const TFolderReader&) = delete;
    TFolderReader& operator=(const TFolderReader&) = delete;

    bool Opened() const { return FDir != nullptr; }
    // The next entry: its name and faDirectory / faSymLink as FindFirst gives them. False at
    // the end.
    bool Next(std::string& Name, int& Attr);

private:
    void* FDir = nullptr;
};

// Whether Name matches the wildcard Mask, as FindFirst matches ("?" stands for one UTF-8
// character, or one byte that is not part of one).
bool MatchesFileMask(const std::string& Name, const std::string& Mask);

// Local date and time packed as DOS does: bits 25-31 the year from 1980, 21-24 month, 16-20 day,
// 11-15 hour, 5-10 minute, 0-4 second / 2. 0 for a date outside 1980 to 2107.
int DateTimeToFileDate(TDateTime DateTime);
TDateTime FileDateToDateTime(int FileDate);
