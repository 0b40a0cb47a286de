// controls/entry/ovcmisc.h: small routines the entry-field library's controls share: its
// resources, the keyboard and mouse state, the default epoch, unique component names, the text
// offset of an entry field, number text clean-up and offsets in a text buffer.
#pragma once

#include "platform/rtl/types.h"

#include "platform/gfx/bitmap.h"
#include "platform/gfx/cursorimage.h"

#include <cstdint>
#include <memory>
#include <string>

class TComponent;
class TFont;

// The library's bitmap resource Name; nil when there is none.
std::unique_ptr<TBitmap> LoadLibraryBitmap(const std::string& Name);
// The library's cursor resource Name; nil when there is none.
HCURSOR LoadLibraryCursor(const std::string& Name);

// The key of the primary mouse button as the user has it: VK_RBUTTON when swapped.
int PrimaryButtonKey();
// The keyboard's shift state now: Shift 2, Ctrl 4, Alt 8 added up.
Byte CurrentShiftFlags();
// This year rounded down to a whole hundred.
int DefaultEpoch();
// Base followed by 1, 2, 3 ... up to the first name no component of Form has; a base that is no
// valid identifier raises EComponentError.
std::string UniqueComponentName(TComponent* Form, const std::string& Base);
// How far below the top of an entry field of that height its text starts.
int EntryTextTop(TFont* Font, bool HasBorder, int Height, bool Ctl3D);
// The same from the character heights of the system font and of the field's font.
int EntryTextTopFor(int SystemHeight, int FontHeight, bool HasBorder, int Height, bool Ctl3D);
// Typed number text made fit for conversion: '.' as the decimal point, digits around it.
std::string FixNumberText(const std::string& Text, char DecimalChar);

// Distances and moves in a text buffer, counted as 16-bit unsigned values.
Word OffsetDiff(const char* P, const char* Q);
const char* AdvanceOffset(const char* P, Word N);
const char* RetreatOffset(const char* P, Word N);
