// platform/gfx/devmode.h: DEVMODE, the block of a printer's settings that programs read and change
// through the printer object (GetPrinter/SetPrinter), and its field and value constants. The
// printer honours the orientation, the paper (A4 and Letter) and the copies.
#pragma once

#include "platform/rtl/systypes.h"

#include <cstdint>

constexpr int CCHDEVICENAME = 32;
constexpr int CCHFORMNAME = 32;

// dmFields: which members hold a setting.
enum : DWORD {
    DM_ORIENTATION = 0x00000001,
    DM_PAPERSIZE = 0x00000002,
    DM_PAPERLENGTH = 0x00000004,
    DM_PAPERWIDTH = 0x00000008,
    DM_SCALE = 0x00000010,
    DM_COPIES = 0x00000100,
    DM_DEFAULTSOURCE = 0x00000200,
    DM_PRINTQUALITY = 0x00000400,
    DM_COLOR = 0x00000800,
    DM_DUPLEX = 0x00001000,
    DM_YRESOLUTION = 0x00002000,
    DM_TTOPTION = 0x00004000,
    DM_COLLATE = 0x00008000,
    DM_FORMNAME = 0x00010000
};

// dmOrientation.
enum : short { DMORIENT_PORTRAIT = 1, DMORIENT_LANDSCAPE = 2 };

// dmPaperSize: the sizes the units name; the printer prints on A4 and Letter.
enum : short {
    DMPAPER_LETTER = 1,
    DMPAPER_LEGAL = 5,
    DMPAPER_EXECUTIVE = 7,
    DMPAPER_A3 = 8,
    DMPAPER_A4 = 9,
    DMPAPER_A5 = 11
};

// dmColor.
enum : short { DMCOLOR_MONOCHROME = 1, DMCOLOR_COLOR = 2 };

constexpr std::uint16_t DM_SPECVERSION = 0x0401;

struct DEVMODE {
    char dmDeviceName[CCHDEVICENAME]; // the printer's name, cut to 31 bytes
    std::uint16_t dmSpecVersion;
    std::uint16_t dmDriverVersion;
    std::uint16_t dmSize; // sizeof(DEVMODE)
    std::uint16_t dmDriverExtra;
    DWORD dmFields;
    short dmOrientation;
    short dmPaperSize;
    short dmPaperLength; // tenths of a millimetre
    short dmPaperWidth;
    short dmScale; // per cent
    short dmCopies;
    short dmDefaultSource;
    short dmPrintQuality; // dots per inch
    short dmColor;
    short dmDuplex;
    short dmYResolution;
    short dmTTOption;
    short dmCollate;
    char dmFormName[CCHFORMNAME];
    std::uint16_t dmLogPixels;
};
using PDEVMODE = DEVMODE*;
