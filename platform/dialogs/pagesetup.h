// platform/dialogs/pagesetup.h: PageSetupDlg, the page set-up call: paper, orientation and
// margins of a printer named by a device-names block and set by a DEVMODE block, both global
// memory; DEVNAMES and the helpers that pack and read that block.
#pragma once

#include "platform/gfx/devmode.h"
#include "platform/rtl/geometry.h"
#include "platform/rtl/globalmemory.h"
#include "platform/ui/wintypes.h"

#include <cstdint>
#include <string>

using WORD = std::uint16_t;
using UINT_PTR = std::uintptr_t;
using HINSTANCE = HANDLE;

// A device-names block: this header, then the driver, device and port names, each ended by a
// zero; the offsets count bytes from the start of the block.
struct DEVNAMES {
    WORD wDriverOffset;
    WORD wDeviceOffset;
    WORD wOutputOffset;
    WORD wDefault; // DN_DEFAULTPRN: the default printer
};
enum : WORD { DN_DEFAULTPRN = 0x0001 };

// PAGESETUPDLG.Flags.
enum : DWORD {
    PSD_DEFAULTMINMARGINS = 0x00000000,
    PSD_MINMARGINS = 0x00000001,
    PSD_MARGINS = 0x00000002,
    PSD_INTHOUSANDTHSOFINCHES = 0x00000004,
    PSD_INHUNDREDTHSOFMILLIMETERS = 0x00000008,
    PSD_DISABLEMARGINS = 0x00000010,
    PSD_DISABLEPRINTER = 0x00000020,
    PSD_NOWARNING = 0x00000080,
    PSD_DISABLEORIENTATION = 0x00000100,
    PSD_DISABLEPAPER = 0x00000200,
    PSD_SHOWHELP = 0x00000800,
    PSD_ENABLEPAGESETUPHOOK = 0x00002000,
    PSD_DISABLEPAGEPAINTING = 0x00080000,
};

using LPPAGESETUPHOOK = UINT_PTR (*)(HWND Dialog, UINT Msg, WPARAM WParam, LPARAM LParam);
using LPPAGEPAINTHOOK = UINT_PTR (*)(HWND Dialog, UINT Msg, WPARAM WParam, LPARAM LParam);

struct PAGESETUPDLG {
    DWORD lStructSize; // sizeof(PAGESETUPDLG)
    HWND hwndOwner;
    HGLOBAL hDevMode;  // in and out: a DEVMODE (0: the selected printer's is made)
    HGLOBAL hDevNames; // in and out: a DEVNAMES block (0: the selected printer's is made)
    DWORD Flags;
    TPoint ptPaperSize;  // out: the paper as oriented, in the margins' units
    TRect rtMinMargin;   // with PSD_MINMARGINS: the least margins allowed
    TRect rtMargin;      // with PSD_MARGINS in, always out: left, top, right, bottom
    HINSTANCE hInstance; // unused: no templates
    LPARAM lCustData;
    // With PSD_ENABLEPAGESETUPHOOK: WM_INITDIALOG (LParam: this record) once the dialog's
    // window is made and before it shows, then every message the dialog gets; nonzero: handled.
    LPPAGESETUPHOOK lpfnPageSetupHook;
    LPPAGEPAINTHOOK lpfnPagePaintHook; // unused
    const char* lpPageSetupTemplateName;
    HGLOBAL hPageSetupTemplate;
};
using LPPAGESETUPDLG = PAGESETUPDLG*;

// Shows the page set-up dialog for the printer hDevNames names (else the selected one) with the
// paper and orientation of hDevMode. Confirmed: TRUE, with rtMargin, ptPaperSize, the DEVMODE
// block's paper and orientation and the device-names block written back (blocks made where the
// caller gave 0, the caller frees them). Cancelled, or a record of the wrong size: FALSE and
// nothing changed.
BOOL PageSetupDlg(LPPAGESETUPDLG Psd);

// A device-names block for the three names (0 when memory fails).
HGLOBAL MakeDevNames(const std::string& Driver, const std::string& Device, const std::string& Port,
                     bool IsDefault = false);
// The names of a device-names block; false for a bad handle, or offsets or names that do not
// lie inside the block.
bool ReadDevNames(HGLOBAL Block, std::string& Driver, std::string& Device, std::string& Port);
