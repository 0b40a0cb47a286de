// platform/ui/clipboardtargets.h: how the clipboard's formats travel to other programs and back,
// as the desktop's targets: text as UTF8_STRING, STRING, TEXT and text/plain; CF_BITMAP and CF_DIB
// as image/png; "HTML Format" as text/html (its description block taken off, and added when read);
// "Rich Text Format" as text/rtf; CF_HDROP as text/uri-list; every other registered format between
// this program's processes as "application/x-tarnwick-" and its name. The clipboard offers a
// snapshot of what it held when it was closed, made into a target's bytes only when asked.
#pragma once

#include "platform/gfx/bitmap.h"
#include "platform/rtl/clipformats.h"
#include "platform/ui/wintypes.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

// The clipboard's contents as they were offered: each memory format's bytes and the bitmap's
// pixels (with the palette's colours for an indexed bitmap).
struct TClipboardSnapshot {
    std::vector<std::pair<UINT, std::string>> Blocks; // in the order they were set
    std::shared_ptr<const TDibImage> Bitmap;
};

// Adds one clipboard entry: a bitmap handle for CF_BITMAP (Palette: the clipboard's CF_PALETTE
// handle or 0), a global block for the memory formats; other handle formats stay behind.
void AddToSnapshot(TClipboardSnapshot& Snapshot, UINT Format, HANDLE Data, HANDLE Palette);
// The targets the snapshot can be read as, without repeats.
std::vector<std::string> SnapshotTargets(const TClipboardSnapshot& Snapshot);
// The bytes of Target; false when the snapshot cannot make them (a picture that does not decode,
// an "HTML Format" block whose offsets do not hold).
bool RenderTarget(const TClipboardSnapshot& Snapshot, const std::string& Target, std::string& Data);

// The formats another program's targets can be read as, in the order of its targets.
std::vector<UINT> FormatsOfTargets(const std::vector<std::string>& Targets);
// The targets Format is read from, best first: among Offered when the other program's targets
// are known, else the usual ones.
std::vector<std::string> TargetsForFormat(UINT Format, const std::vector<std::string>* Offered);
// A new clipboard handle of Format made from Data read under Target (a global block, or a bitmap
// handle for CF_BITMAP); 0 when Data does not make one (an undecodable picture, a uri-list
// without local files).
HANDLE ImportTarget(UINT Format, const std::string& Target, const std::string& Data);

// The prefix of the targets that carry registered formats between this program's processes.
extern const char* const PrivateTargetPrefix;
