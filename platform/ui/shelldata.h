// platform/ui/shelldata.h: the data that file lists and web pages travel in between programs, read
// and written in one place for the clipboard and for drag and drop: the shell's file-drop block
// (CF_HDROP, DROPFILES), the desktop's text/uri-list and the "HTML Format" description block.
// Readers take data from other programs: anything malformed reads as empty, never past its end.
#pragma once

#include "platform/rtl/geometry.h"
#include "platform/rtl/globalmemory.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// ---- CF_HDROP ----

// The header of a file-drop block: the offset of the name list from the block's start, the drop
// point, whether that point is in the non-client area, and whether the names are UTF-16. The names
// follow, each ending in a NUL character, the list in an empty name.
struct DROPFILES {
    std::uint32_t pFiles;
    std::int32_t ptX;
    std::int32_t ptY;
    std::int32_t fNC;
    std::int32_t fWide;
};
static_assert(sizeof(DROPFILES) == 20, "the header is 20 bytes on every platform");

using HDROP = HGLOBAL;

// The bytes of a file-drop block for Files (UTF-8 paths): UTF-16 names when Wide, else the bytes.
std::string BuildDropFiles(const std::vector<std::string>& Files, bool Wide = true,
                           TPoint Point = TPoint{}, bool NonClient = false);
// The names of a file-drop block, as UTF-8. Empty when the header is short or its offset points
// outside the data; a name without its NUL before the end is dropped.
std::vector<std::string> ReadDropFiles(const void* Data, std::size_t Size);
// A new global block holding BuildDropFiles(Files, Wide); 0 when it cannot be allocated.
HDROP CreateDropFiles(const std::vector<std::string>& Files, bool Wide = true);

// With File = 0xFFFFFFFF: the number of names. Otherwise the length of name File (without its
// NUL), copied into Buffer (up to Size - 1 bytes and a NUL) when Buffer is given; 0 for a name
// that is not there or a block that is not one.
unsigned DragQueryFile(HDROP Drop, unsigned File, char* Buffer, unsigned Size);
// The drop point; false when it was in the non-client area or the block is not one.
bool DragQueryPoint(HDROP Drop, TPoint* Point);
// Frees a block handed to a drop handler.
void DragFinish(HDROP Drop);

// ---- text/uri-list ----

// The local paths of the file: URIs in a text/uri-list (lines ended by CR LF or LF; '#' lines are
// comments). Only file URIs with no host, "localhost" or this machine's name count; their paths
// are percent-decoded and must be absolute. Other URIs, and any with a bad escape or a NUL (raw
// or encoded), are left out.
std::vector<std::string> ParseUriList(const std::string& Text);
// The file: URI of an absolute path, with every byte outside the unreserved set and '/' escaped.
std::string FileUri(const std::string& Path);
// A text/uri-list of the absolute paths among Paths, each line ended by CR LF.
std::string BuildUriList(const std::vector<std::string>& Paths);

// ---- "HTML Format" ----

struct THtmlFormat {
    std::string Html;     // the document: StartHTML to EndHTML (the fragment when those are -1)
    std::string Fragment; // StartFragment to EndFragment
    std::string SourceURL;
};

// Reads a description block and the document after it. The data ends at its first NUL. False (and
// Out untouched) when a needed offset is missing, unreadable, before the block's end, past the
// data's end, or when a range ends before it starts.
bool ParseHtmlFormat(const std::string& Data, THtmlFormat& Out);
// The description block and document for Html (a document or a fragment): version 0.9, the
// offsets as ten digits, SourceURL when given. The fragment is what lies between the
// StartFragment and EndFragment comments when Html has them, else the body's content; a fragment
// without <body> is wrapped into a document.
std::string BuildHtmlFormat(const std::string& Html, const std::string& SourceURL = {});

// ---- UTF-16 ----

// UTF-16LE bytes of UTF-8 text (an invalid byte becomes U+FFFD), and back (an unpaired surrogate
// becomes U+FFFD; an odd last byte is dropped).
std::string Utf8ToUtf16Le(const std::string& Text);
std::string Utf16LeToUtf8(const void* Data, std::size_t Size);
