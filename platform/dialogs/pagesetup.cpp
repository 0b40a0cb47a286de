// platform/dialogs/pagesetup.cpp: the page set-up call: from the caller's blocks to the service
// and back, and the device-names block.
#include "platform/dialogs/pagesetup.h"

#include "platform/dialogs/printdialogs.h"
#include "platform/gfx/printerdevice.h"
#include "platform/ui/messages.h"
#include "platform/ui/printers.h"

#include <algorithm>
#include <cstring>

namespace {

// The paper as oriented, in thousandths of an inch or hundredths of a millimetre.
TPoint PaperSize(int Paper, int Orientation, bool Metric)
{
    TPoint Size = Paper == DMPAPER_LETTER ? (Metric ? TPoint{21590, 27940} : TPoint{8500, 11000})
                                          : (Metric ? TPoint{21000, 29700} : TPoint{8268, 11693});
    if (Orientation == DMORIENT_LANDSCAPE)
        std::swap(Size.X, Size.Y);
    return Size;
}

// The printer's settings with those of a caller's DEVMODE block read over them, as far as the
// block holds them.
void ReadDevMode(HGLOBAL Block, TPrintSettings& Settings)
{
    const std::size_t Size = GlobalSize(Block);
    const void* Data = GlobalLock(Block);
    if (Data == nullptr)
        return;
    DEVMODE Mode{};
    std::memcpy(&Mode, Data, std::min(Size, sizeof Mode));
    GlobalUnlock(Block);
    if (Size < offsetof(DEVMODE, dmScale))
        return;
    if ((Mode.dmFields & DM_PAPERSIZE) != 0 &&
        (Mode.dmPaperSize == DMPAPER_A4 || Mode.dmPaperSize == DMPAPER_LETTER))
        Settings.Paper = Mode.dmPaperSize;
    if ((Mode.dmFields & DM_ORIENTATION) != 0 &&
        (Mode.dmOrientation == DMORIENT_PORTRAIT || Mode.dmOrientation == DMORIENT_LANDSCAPE))
        Settings.Orientation = Mode.dmOrientation;
}

// Writes the paper and orientation into the caller's DEVMODE block, made from the printer's
// when there is none or it is too short to hold a whole DEVMODE.
HGLOBAL WriteDevMode(HGLOBAL Block, const TPrintSettings& Settings)
{
    if (GlobalSize(Block) < sizeof(DEVMODE)) {
        std::string Device, Driver, Port;
        HGLOBAL Mode = 0;
        Printer()->GetPrinter(Device, Driver, Port, Mode);
        HGLOBAL Fresh = GlobalAlloc(GHND, sizeof(DEVMODE));
        void* To = GlobalLock(Fresh);
        const void* From = GlobalLock(Mode);
        if (To == nullptr || From == nullptr) {
            GlobalUnlock(Mode);
            GlobalUnlock(Fresh);
            GlobalFree(Fresh);
            return Block;
        }
        std::memcpy(To, From, std::min(GlobalSize(Mode), sizeof(DEVMODE)));
        GlobalUnlock(Mode);
        GlobalUnlock(Fresh);
        if (Block != 0)
            GlobalFree(Block);
        Block = Fresh;
    }
    if (auto* Mode = static_cast<DEVMODE*>(GlobalLock(Block))) {
        Mode->dmPaperSize = static_cast<short>(Settings.Paper);
        Mode->dmOrientation = static_cast<short>(Settings.Orientation);
        Mode->dmFields |= DM_PAPERSIZE | DM_ORIENTATION;
        GlobalUnlock(Block);
    }
    return Block;
}

} // namespace

HGLOBAL MakeDevNames(const std::string& Driver, const std::string& Device, const std::string& Port,
                     bool IsDefault)
{
    const std::size_t Header = sizeof(DEVNAMES);
    const std::size_t Size = Header + Driver.size() + Device.size() + Port.size() + 3;
    if (Size > 0xFFFF)
        return 0;
    HGLOBAL Block = GlobalAlloc(GHND, Size);
    auto* Bytes = static_cast<char*>(GlobalLock(Block));
    if (Bytes == nullptr) {
        GlobalFree(Block);
        return 0;
    }
    DEVNAMES Names{};
    std::size_t At = Header;
    for (auto [Name, Offset] :
         {std::pair{&Driver, &Names.wDriverOffset}, std::pair{&Device, &Names.wDeviceOffset},
          std::pair{&Port, &Names.wOutputOffset}}) {
        *Offset = static_cast<WORD>(At);
        std::memcpy(Bytes + At, Name->data(), Name->size());
        At += Name->size() + 1; // the zero is there already
    }
    Names.wDefault = IsDefault ? DN_DEFAULTPRN : 0;
    std::memcpy(Bytes, &Names, Header);
    GlobalUnlock(Block);
    return Block;
}

bool ReadDevNames(HGLOBAL Block, std::string& Driver, std::string& Device, std::string& Port)
{
    const std::size_t Size = GlobalSize(Block);
    const auto* Bytes = static_cast<const char*>(GlobalLock(Block));
    if (Bytes == nullptr)
        return false;
    bool Ok = Size >= sizeof(DEVNAMES);
    if (Ok) {
        DEVNAMES Names{};
        std::memcpy(&Names, Bytes, sizeof Names);
        // Each name starts inside the block and ends with a zero before its end.
        auto Take = [&](WORD Offset, std::string& Name) {
            if (Offset < sizeof(DEVNAMES) || Offset >= Size)
                return false;
            const void* End = std::memchr(Bytes + Offset, '\0', Size - Offset);
            if (End == nullptr)
                return false;
            Name.assign(Bytes + Offset, static_cast<const char*>(End));
            return true;
        };
        std::string A, B, C;
        Ok = Take(Names.wDriverOffset, A) && Take(Names.wDeviceOffset, B) &&
             Take(Names.wOutputOffset, C);
        if (Ok) {
            Driver = A;
            Device = B;
            Port = C;
        }
    }
    GlobalUnlock(Block);
    return Ok;
}

BOOL PageSetupDlg(LPPAGESETUPDLG Psd)
{
    if (Psd == nullptr || Psd->lStructSize != sizeof(PAGESETUPDLG))
        return 0;
    TDialogRequest Request;
    Request.Kind = TDialogKind::PageSetup;
    TPrintSettings& Settings = Request.Print;
    Settings = CurrentPrintSettings();
    // The printer the names block names, when it is one of ours.
    std::string Driver, Device, Port;
    if (Psd->hDevNames != 0 && ReadDevNames(Psd->hDevNames, Driver, Device, Port)) {
        const auto Found = std::find(Settings.Printers.begin(), Settings.Printers.end(), Device);
        if (Found != Settings.Printers.end()) {
            Settings.PrinterIndex = static_cast<int>(Found - Settings.Printers.begin());
            Settings.PrintToFile = Driver != "PDF" && Port == TPrinter::FilePort;
        }
    }
    if (Psd->hDevMode != 0)
        ReadDevMode(Psd->hDevMode, Settings);
    if ((Psd->Flags & PSD_INHUNDREDTHSOFMILLIMETERS) != 0)
        Settings.Metric = true;
    else if ((Psd->Flags & PSD_INTHOUSANDTHSOFINCHES) != 0)
        Settings.Metric = false;
    else
        Settings.Metric = DefaultPaper() == ppA4;
    const int Inch = Settings.Metric ? 2540 : 1000;
    Settings.Margins =
        (Psd->Flags & PSD_MARGINS) != 0 ? Psd->rtMargin : TRect{Inch, Inch, Inch, Inch};
    Request.Options = Psd->Flags;
    if ((Psd->Flags & PSD_MINMARGINS) != 0)
        Settings.MinMargins = Psd->rtMinMargin;
    if ((Psd->Flags & PSD_ENABLEPAGESETUPHOOK) != 0 && Psd->lpfnPageSetupHook != nullptr) {
        const LPPAGESETUPHOOK Hook = Psd->lpfnPageSetupHook;
        Request.Hook = [Hook, Psd](HWND Dialog, UINT Msg, WPARAM WParam, LPARAM LParam) {
            if (Msg == WM_INITDIALOG)
                LParam = reinterpret_cast<LPARAM>(Psd);
            return Hook(Dialog, Msg, WParam, LParam);
        };
    }
    const TDialogAnswer Answer = DialogService().Show(Request);
    if (Answer.Result != mrOk)
        return 0;
    const TPrintSettings& Chosen = Answer.Print;
    Psd->rtMargin = Chosen.Margins;
    Psd->ptPaperSize = PaperSize(Chosen.Paper, Chosen.Orientation, Settings.Metric);
    Psd->hDevMode = WriteDevMode(Psd->hDevMode, Chosen);
    // The names block names the printer the dialog was for.
    const int Index =
        std::clamp(Chosen.PrinterIndex, 0, static_cast<int>(Settings.Printers.size()) - 1);
    const std::string& Name = Settings.Printers[static_cast<std::size_t>(Index)];
    const bool Pdf = Name == TPrinter::PdfFilePrinter;
    HGLOBAL Names = MakeDevNames(Pdf ? "PDF" : "CUPS", Name,
                                 Pdf || Chosen.PrintToFile ? TPrinter::FilePort : Name);
    if (Names != 0) {
        if (Psd->hDevNames != 0)
            GlobalFree(Psd->hDevNames);
        Psd->hDevNames = Names;
    }
    return 1;
}
