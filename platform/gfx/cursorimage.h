// platform/gfx/cursorimage.h: cursor pictures (HCURSOR) read from CUR files and the program's
// cursor resources, with their hot spots. The stock cursors are numbers (platform/ui/cursors.h).
#pragma once

#include "platform/gfx/icon.h"

#include <string>

// The program's cursor resource (RT_CURSOR) Name, or the one named by the decimal Id, at
// 32 x 32 pixels; nil when there is none or it is not valid.
HCURSOR LoadCursor(const std::string& Name);
HCURSOR LoadCursor(int Id);
// A CUR (or ICO) file; nil when it cannot be read or is not valid.
HCURSOR LoadCursorFromFile(const std::string& FileName);
// A cursor from the bytes of a CUR or ICO file at Width x Height (0: the first image's size);
// EInvalidGraphic when they are not one.
HCURSOR CreateCursorFromData(const std::string& Data, int Width = 0, int Height = 0);
bool DestroyCursor(HCURSOR Cursor);
// The point of the picture that is the mouse position: the file's for a cursor, the centre for
// an icon; (0, 0) for nil.
TPoint CursorHotSpot(HCURSOR Cursor);
