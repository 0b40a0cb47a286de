// platform/rtl/files.h: file and folder routines and file-name arithmetic. '/' is the only path
// delimiter: a backslash is an ordinary character of a name.
#pragma once

#include <cstdint>
#include <string>

constexpr char PathDelim = '/';

bool FileExists(const std::string& FileName); // a file (or a link to one), not a folder
bool DirectoryExists(const std::string& Directory);
// Creates Dir with every missing parent; true when the folder exists afterwards.
bool ForceDirectories(const std::string& Dir);
bool CreateDir(const std::string& Dir);
bool RemoveDir(const std::string& Dir); // only an empty folder
bool DeleteFile(const std::string& FileName);
// Renames or moves a file; never replaces an existing NewName (false then).
bool RenameFile(const std::string& OldName, const std::string& NewName);
// The size in bytes, -1 when FileName is not a readable file.
int64_t FileSize(const std::string& FileName);
std::string GetCurrentDir();

// "a/b/c.txt": path "a/b/", dir "a/b", name "c.txt", extension ".txt". A name's leading dot
// belongs to the name (".profile" has no extension); the root folder stays "/".
std::string ExtractFilePath(const std::string& FileName);
std::string ExtractFileDir(const std::string& FileName);
std::string ExtractFileName(const std::string& FileName);
std::string ExtractFileExt(const std::string& FileName);
// Replaces the extension (with its dot) of the name part, or adds Extension when there is none.
std::string ChangeFileExt(const std::string& FileName, const std::string& Extension);
// Adds a '/' unless S ends in one; the empty string (the current folder) stays empty.
std::string IncludeTrailingPathDelimiter(const std::string& S);
// Removes the trailing '/' characters; the root folder "/" stays.
std::string ExcludeTrailingPathDelimiter(const std::string& S);
// Folder + '/' + Name; no '/' added when Folder ends in one, Name alone when Folder is empty.
std::string PathJoin(const std::string& Folder, const std::string& Name);
// A relative path stored in the old form ("lists\known.lst") with every backslash as '/'.
std::string ToPosixPath(const std::string& StoredPath);

// The folder of the program's own files, with a trailing '/': $TARNWICK_HOME when it is set and
// not empty, else the folder of the executable.
std::string ProgramFolder();
