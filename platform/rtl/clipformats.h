// platform/rtl/clipformats.h: the numbers of the standard clipboard formats, shared by the
// clipboard and the pictures that travel on it.
#pragma once

#include "platform/rtl/systypes.h"

enum : UINT {
    CF_TEXT = 1,
    CF_BITMAP = 2,
    CF_METAFILEPICT = 3,
    CF_DIB = 8,
    CF_PALETTE = 9,
    CF_UNICODETEXT = 13,
    CF_ENHMETAFILE = 14,
    CF_HDROP = 15,
    CF_LOCALE = 16,
};
