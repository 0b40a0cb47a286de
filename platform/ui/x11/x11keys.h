// platform/ui/x11/x11keys.h: X key symbols to virtual-key codes, and the text a key symbol stands
// for when the input method gives none.
#pragma once

#include <string>

// Sym is the key's symbol without modifiers; 0 for a key that has no virtual-key code.
int VirtualKeyOfKeySym(unsigned long Sym);
// UTF-8 of a Latin-1 or Unicode key symbol; empty for the others.
std::string TextOfKeySym(unsigned long Sym);
