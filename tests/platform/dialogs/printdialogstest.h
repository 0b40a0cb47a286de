// tests/platform/dialogs/printdialogstest.h: the printer object with known printers for the
// printer dialogs' tests: PATH holds a fake lpstat listing "office" and "lab_2" while a test
// runs, and the printer object starts on "PDF file", portrait, A4, one copy.
#pragma once

#include "platform/gfx/devmode.h"
#include "platform/ui/printers.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <string>

class TKnownPrinters {
public:
    TKnownPrinters()
    {
        const char* Path = std::getenv("PATH");
        FPath = Path ? Path : "";
        TestSupport::WriteAll(FBin.Path() + "lpstat",
                              "#!/bin/sh\n"
                              "case \"$1\" in\n"
                              "-e) printf 'office\\nlab_2\\n' ;;\n"
                              "-d) echo 'system default destination: office' ;;\n"
                              "esac\n");
        ::chmod((FBin.Path() + "lpstat").c_str(), 0755);
        ::setenv("PATH", FBin.Path().c_str(), 1);
        Printer()->Refresh();
        Printer()->SetPrinterIndex(0);
        Printer()->SetOrientation(poPortrait);
        Printer()->SetCopies(1);
        SetPaper(DMPAPER_A4);
    }
    ~TKnownPrinters()
    {
        Printer()->SetPrinterIndex(0);
        ::setenv("PATH", FPath.c_str(), 1);
    }
    TKnownPrinters(const TKnownPrinters&) = delete;
    TKnownPrinters& operator=(const TKnownPrinters&) = delete;

    // The selected printer's paper, and the port GetPrinter names.
    static int Paper()
    {
        std::string Device, Driver, Port;
        HGLOBAL Mode = 0;
        Printer()->GetPrinter(Device, Driver, Port, Mode);
        const auto* M = static_cast<const DEVMODE*>(GlobalLock(Mode));
        const int Result = M ? M->dmPaperSize : 0;
        GlobalUnlock(Mode);
        return Result;
    }
    static void SetPaper(int Paper)
    {
        std::string Device, Driver, Port;
        HGLOBAL Mode = 0;
        Printer()->GetPrinter(Device, Driver, Port, Mode);
        if (auto* M = static_cast<DEVMODE*>(GlobalLock(Mode))) {
            M->dmPaperSize = static_cast<short>(Paper);
            M->dmFields |= DM_PAPERSIZE;
        }
        GlobalUnlock(Mode);
    }
    static std::string Port()
    {
        std::string Device, Driver, Result;
        HGLOBAL Mode = 0;
        Printer()->GetPrinter(Device, Driver, Result, Mode);
        return Result;
    }

private:
    TestSupport::TTempFolder FBin;
    std::string FPath;
};
