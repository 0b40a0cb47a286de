// platform/ui/x11/x11keys.h: X key symbols to virtual-key codes, and the text a key symbol stands
// for when the input method gives none.
#pragma once

#include "platform/ui/keyscan.h"

#include <string>

// Sym is the key's symbol without modifiers; 0 for a key that has no virtual-key code.
int VirtualKeyOfKeySym(unsigned long Sym);
// The scan code of the key with this keycode, plain symbol and virtual key: the keycode less 8
// for the keys whose keycodes both the evdev and the older X keycode sets number so, else the
// virtual key's, on the keypad or the right-hand side as the symbol says.
TKeyScan ScanCodeOfKey(unsigned KeyCode, unsigned long Sym, int VirtualKey);
// UTF-8 of a Latin-1 or Unicode key symbol; empty for the others.
std::string TextOfKeySym(unsigned long Sym);
