// platform/ui/clipboardpicture.h: pictures on the clipboard. The graphics layer turns a picture
// into clipboard handles and back (TGraphic::SaveToClipboardFormat and LoadFromClipboardFormat);
// this unit puts those handles on the clipboard and takes them off, and frees the graphics
// handles the clipboard holds when it replaces or empties them. It sits in ui, above gfx, so that
// the clipboard calls it directly. TClipboard::Assign and AssignTo for pictures live here too.
// A TMetafile goes on as CF_ENHMETAFILE: a memory block with the bytes it saves itself in.
#pragma once

#include "platform/gfx/graphic.h"
#include "platform/ui/clipboard.h"

// Puts Graphic's data (and its palette as CF_PALETTE) on the open clipboard beside what is
// there; the new handles belong to the clipboard. Nothing for an empty graphic.
void SetClipboardGraphic(TGraphic& Graphic);
// Loads Graphic from the open clipboard's data of Format, with the clipboard's palette.
// EInvalidGraphic when the clipboard holds nothing of Format.
void GetClipboardGraphic(TGraphic& Graphic, UINT Format);
// Loads Picture from the open clipboard: the first format, in the order they were set, that a
// registered picture class reads. EInvalidGraphic "Unsupported clipboard format" when none does.
void GetClipboardPicture(TPicture& Picture);

// The clipboard's release of a graphics handle it held under Format (a bitmap for CF_BITMAP, a
// palette for CF_PALETTE). Handles of other formats are left alone: metafiles have no handle form
// here, and a handle that is no live object is ignored.
void ReleaseClipboardGraphic(UINT Format, HANDLE Data);
