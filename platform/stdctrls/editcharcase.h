// platform/stdctrls/editcharcase.h: the case typed text is folded to, shared by the edits and
// the combo boxes.
#pragma once

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
