// platform/ui/keyscan.h: the PC keyboard's set-1 scan codes of the virtual keys, which key
// messages carry in LParam (bits 16-23, with the extended-key flag in bit 24) on every back end.
#pragma once

struct TKeyScan {
    int Code = 0;          // 0 for a key the keyboard has no scan code for
    bool Extended = false; // the E0-prefixed keys: the separate cursor block, right Ctrl/Alt...
};

// The scan code of a key of a US keyboard. Keypad asks for the key of the numeric keypad where
// the main block has one too (Enter; Home, arrows, Delete... typed with Num Lock off); the
// side-neutral Shift, Ctrl and Alt are the left ones.
TKeyScan ScanCodeOfVirtualKey(int VirtualKey, bool Keypad = false);
