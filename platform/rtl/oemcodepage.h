// platform/rtl/oemcodepage.h: the OEM code pages of old text files (437 and 850) read as UTF-8,
// and the choice of OEM code page from the POSIX locale.
#pragma once

#include <string>

// 850 when the locale (LC_ALL, else LC_CTYPE, else LANG) is one of the Western European
// languages that use it: da, de, es, fi, fr, ga, is, it, nl, no, nb, nn, pt, sv, ca, eu, gl, lb,
// rm, fo; otherwise 437.
int OemCodePage();
// The code page for a locale name such as "de_DE.UTF-8" ("" and "C" give 437).
int OemCodePageForLocale(const std::string& LocaleName);
// Every byte of Text taken as a character of CodePage (437 or 850; any other is read as 437).
// Bytes below 128 stay as they are.
std::string OemToUtf8(const std::string& Text, int CodePage);
