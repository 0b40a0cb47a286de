#include "platform/ui/printers.h"

#include "platform/gfx/fontengine.h"
#include "platform/rtl/process.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/lpstat.h"
#include "platform/ui/wait.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// The file name the save dialog suggests: the title, without what a file name cannot hold.
std::string SuggestedFileName(const std::string& Title)
{
    std::string Name;
    for (char C : Title)
        Name += C == '/' || (static_cast<unsigned char>(C) < 0x20) ? '_' : C;
    if (Name.empty() || Name == "." || Name == "..")
        Name = "Untitled";
    return Name + ".pdf";
}

// What lp says, as one message.
std::string LpMessage(std::string Errors, int Status)
{
    while (!Errors.empty() && std::isspace(static_cast<unsigned char>(Errors.back())))
        Errors.pop_back();
    if (!Errors.empty())
        return Errors;
    if (WIFSIGNALED(Status))
        return "lp was ended by signal " + std::to_string(WTERMSIG(Status));
    return "lp failed with exit code " + std::to_string(WEXITSTATUS(Status));
}

// One run of lp: its error pipe and its pid descriptor watched by the message loop. Whatever
// ends the wait, the child is reaped before the spool file it reads may go.
class TLpRun {
public:
    TLpRun(const std::vector<std::string>& Argv)
    {
        int Pipe[2];
        if (::pipe2(Pipe, O_CLOEXEC) != 0)
            throw EPrinter(std::string("Cannot start lp: ") + std::strerror(errno));
        FErrors = Pipe[0];
        const int Null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        TSpawnOptions Options;
        Options.Argv = Argv;
        Options.OutputFd = Null;
        Options.ErrorFd = Pipe[1];
        Options.Group = sgNewProcessGroup;
        const TSpawnResult Started = SpawnProcess(Options);
        ::close(Pipe[1]);
        if (Null >= 0)
            ::close(Null);
        if (Started.Pid <= 0) {
            ::close(FErrors);
            throw EPrinter(std::string("Cannot start lp: ") + std::strerror(Started.Error));
        }
        FPid = Started.Pid;
        FPidFd = static_cast<int>(::syscall(SYS_pidfd_open, FPid, 0));
        FErrorsId = RegisterDescriptor(FErrors, POLLIN, [this](int, short) { ReadErrors(); });
        if (FPidFd >= 0)
            FPidId = RegisterDescriptor(FPidFd, POLLIN, [this](int, short) {
                UnregisterDescriptor(FPidId);
                FPidId = 0;
            });
    }

    ~TLpRun()
    {
        if (FErrorsId)
            UnregisterDescriptor(FErrorsId);
        if (FPidId)
            UnregisterDescriptor(FPidId);
        ::close(FErrors);
        if (FPidFd >= 0)
            ::close(FPidFd);
        if (!FReaped)
            Reap();
    }
    TLpRun(const TLpRun&) = delete;
    TLpRun& operator=(const TLpRun&) = delete;

    // Waits with the loop turning until lp has closed its error output and ended; the status.
    int Wait()
    {
        const TPumpResult Result = WaitUntil([this] { return FErrorsId == 0 && FPidId == 0; });
        if (Result == prQuit) {
            // The quit request stays posted for the outer loop; lp is waited for plainly.
            while (FErrorsId)
                ReadErrors();
        }
        return Reap();
    }

    const std::string& Errors() const { return FText; }

private:
    void ReadErrors()
    {
        char Buffer[4096];
        const ssize_t Got = ::read(FErrors, Buffer, sizeof Buffer);
        if (Got > 0) {
            if (FText.size() < 64 * 1024)
                FText.append(Buffer, static_cast<std::size_t>(Got));
        } else if (Got == 0 || errno != EINTR) {
            UnregisterDescriptor(FErrorsId);
            FErrorsId = 0;
        }
    }

    int Reap()
    {
        while (::waitpid(FPid, &FStatus, 0) < 0 && errno == EINTR) {
        }
        FReaped = true;
        return FStatus;
    }

    pid_t FPid = 0;
    int FErrors = -1;
    int FPidFd = -1;
    int FErrorsId = 0;
    int FPidId = 0;
    int FStatus = 0;
    bool FReaped = false;
    std::string FText;
};

} // namespace

TPrinter::TPrinter() : FJob(std::make_unique<TPrintJob>()) {}

TPrinter::~TPrinter()
{
    Abort();
    for (TPrinterEntry& Entry : FEntries)
        if (Entry.DeviceMode)
            GlobalFree(Entry.DeviceMode);
}

void TPrinter::CheckPrinting(bool Value) const
{
    if (Printing() != Value)
        throw EPrinter(Value ? "Printer is not currently printing" : "Printing in progress");
}

void TPrinter::Load()
{
    if (FPrinters)
        return;
    const TPrintQueues Queues = ReadPrintQueues();
    std::vector<TPrinterEntry> Entries;
    auto Keep = [&](const std::string& Name, bool Queue) {
        auto Old = std::find_if(FEntries.begin(), FEntries.end(),
                                [&](const TPrinterEntry& E) { return E.Name == Name; });
        if (Old != FEntries.end()) {
            Entries.push_back(*Old);
            Old->DeviceMode = 0; // moved over
        } else {
            TPrinterEntry Entry;
            Entry.Name = Name;
            Entry.Queue = Queue;
            Entry.Paper = DefaultPaper();
            Entries.push_back(Entry);
        }
    };
    Keep(PdfFilePrinter, false);
    for (const std::string& Name : Queues.Names)
        Keep(Name, true);
    const std::string Selected = FIndex >= 0 && FIndex < static_cast<int>(FEntries.size())
                                     ? FEntries[static_cast<std::size_t>(FIndex)].Name
                                     : std::string();
    for (TPrinterEntry& Old : FEntries)
        if (Old.DeviceMode)
            GlobalFree(Old.DeviceMode);
    FEntries = std::move(Entries);
    FPrinters = std::make_unique<TStringList>();
    FDefaultIndex = 0;
    FIndex = -1;
    for (std::size_t I = 0; I < FEntries.size(); ++I) {
        FPrinters->Add(FEntries[I].Name);
        if (FEntries[I].Name == Queues.Default)
            FDefaultIndex = static_cast<int>(I);
        if (!Selected.empty() && FEntries[I].Name == Selected)
            FIndex = static_cast<int>(I);
    }
}

TStrings* TPrinter::Printers()
{
    Load();
    return FPrinters.get();
}

void TPrinter::Refresh()
{
    CheckPrinting(false);
    FPrinters.reset();
    Load();
}

int TPrinter::PrinterIndex()
{
    Load();
    if (FIndex < 0)
        FIndex = FDefaultIndex;
    return FIndex;
}

void TPrinter::SetPrinterIndex(int Value)
{
    CheckPrinting(false);
    Load();
    if (Value == -1)
        Value = FDefaultIndex;
    if (Value < 0 || Value >= static_cast<int>(FEntries.size()))
        throw EPrinter("Printer index out of range");
    // Choosing the same printer again keeps its print-to-file choice.
    if (Value != PrinterIndex())
        FPrintToFile = false;
    FIndex = Value;
}

TPrinter::TPrinterEntry& TPrinter::Current()
{
    return FEntries[static_cast<std::size_t>(PrinterIndex())];
}

DEVMODE* TPrinter::LockMode(TPrinterEntry& Entry)
{
    if (!Entry.DeviceMode) {
        Entry.DeviceMode = GlobalAlloc(GHND, sizeof(DEVMODE));
        if (!Entry.DeviceMode)
            throw EOutOfMemory("Out of memory");
        auto* Mode = static_cast<DEVMODE*>(GlobalLock(Entry.DeviceMode));
        std::strncpy(Mode->dmDeviceName, Entry.Name.c_str(), CCHDEVICENAME - 1);
        Mode->dmSpecVersion = DM_SPECVERSION;
        Mode->dmSize = sizeof(DEVMODE);
        Mode->dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_PRINTQUALITY | DM_COLOR;
        Mode->dmOrientation = DMORIENT_PORTRAIT;
        Mode->dmPaperSize = Entry.Paper == ppLetter ? DMPAPER_LETTER : DMPAPER_A4;
        Mode->dmScale = 100;
        Mode->dmCopies = 1;
        Mode->dmPrintQuality = PrinterPixelsPerInch;
        Mode->dmColor = DMCOLOR_COLOR;
        GlobalUnlock(Entry.DeviceMode);
    }
    return static_cast<DEVMODE*>(GlobalLock(Entry.DeviceMode));
}

void TPrinter::ApplySettings()
{
    if (Printing())
        return;
    TPrinterEntry& Entry = Current();
    const DEVMODE* Mode = LockMode(Entry);
    if (Mode->dmFields & DM_PAPERSIZE) {
        if (Mode->dmPaperSize == DMPAPER_A4)
            Entry.Paper = ppA4;
        else if (Mode->dmPaperSize == DMPAPER_LETTER)
            Entry.Paper = ppLetter;
    }
    const bool Landscape =
        (Mode->dmFields & DM_ORIENTATION) && Mode->dmOrientation == DMORIENT_LANDSCAPE;
    GlobalUnlock(Entry.DeviceMode);
    FJob->SetPaper(Entry.Paper);
    FJob->SetOrientation(Landscape ? poLandscape : poPortrait);
}

TPrinterOrientation TPrinter::Orientation()
{
    ApplySettings();
    return FJob->Orientation();
}

void TPrinter::SetOrientation(TPrinterOrientation Value)
{
    CheckPrinting(false);
    TPrinterEntry& Entry = Current();
    DEVMODE* Mode = LockMode(Entry);
    Mode->dmFields |= DM_ORIENTATION;
    Mode->dmOrientation = Value == poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    GlobalUnlock(Entry.DeviceMode);
    ApplySettings();
}

int TPrinter::Copies()
{
    TPrinterEntry& Entry = Current();
    DEVMODE* Mode = LockMode(Entry);
    const int Value = (Mode->dmFields & DM_COPIES) && Mode->dmCopies > 1 ? Mode->dmCopies : 1;
    GlobalUnlock(Entry.DeviceMode);
    return Value;
}

void TPrinter::SetCopies(int Value)
{
    CheckPrinting(false);
    TPrinterEntry& Entry = Current();
    DEVMODE* Mode = LockMode(Entry);
    Mode->dmFields |= DM_COPIES;
    Mode->dmCopies = static_cast<short>(std::clamp(Value, 1, 9999));
    GlobalUnlock(Entry.DeviceMode);
}

int TPrinter::PageWidth()
{
    ApplySettings();
    return FJob->PageWidth();
}

int TPrinter::PageHeight()
{
    ApplySettings();
    return FJob->PageHeight();
}

TStrings* TPrinter::Fonts()
{
    if (!FFonts)
        FFonts = InstalledFontList();
    return FFonts.get();
}

void TPrinter::BeginDoc()
{
    CheckPrinting(false);
    ApplySettings();
    const TPrinterEntry& Entry = Current();
    std::string FileName;
    if (!Entry.Queue || FPrintToFile) {
        TDialogRequest Request;
        Request.Kind = TDialogKind::SaveFile;
        Request.Caption = "Print to File";
        Request.Filter = "PDF files (*.pdf)|*.pdf|All files (*)|*";
        Request.DefaultExt = "pdf";
        Request.Value = SuggestedFileName(FTitle);
        const TDialogAnswer Answer = DialogService().Show(Request);
        if (Answer.Result != mrOk || Answer.Value.empty())
            ::Abort();
        FileName = Answer.Value;
        FJob->SetFileMode(07777);
    } else {
        const char* Tmp = std::getenv("TMPDIR");
        const std::string Folder = Tmp && *Tmp ? Tmp : "/tmp";
        std::string Pattern = Folder + "/tarnwick-print-XXXXXX";
        const int Handle = ::mkstemp(Pattern.data()); // mode 0600
        if (Handle < 0)
            throw EPrinter("Cannot create a print file in " + Folder + ": " + std::strerror(errno));
        ::close(Handle);
        FileName = FSpoolFile = Pattern;
        FQueue = Entry.Name;
        FCopies = Copies();
        FJob->SetFileMode(0600);
    }
    FJob->SetFileName(FileName);
    FJob->SetTitle(FTitle);
    try {
        FJob->BeginDoc();
    } catch (...) {
        RemoveSpoolFile();
        throw;
    }
}

void TPrinter::NewPage()
{
    FJob->NewPage();
}

void TPrinter::RemoveSpoolFile()
{
    if (!FSpoolFile.empty())
        ::unlink(FSpoolFile.c_str());
    FSpoolFile.clear();
}

void TPrinter::EndDoc()
{
    CheckPrinting(true);
    // The spool file is this call's from here on: it goes however the call ends.
    struct TSpool {
        std::string Name;
        ~TSpool()
        {
            if (!Name.empty())
                ::unlink(Name.c_str());
        }
    } Spool{FSpoolFile};
    FSpoolFile.clear();
    FJob->EndDoc();
    if (!Spool.Name.empty())
        RunLp(FQueue, Spool.Name);
}

void TPrinter::RunLp(const std::string& Queue, const std::string& FileName)
{
    TLpRun Lp({"lp", "-d", Queue, "-t", FTitle, "-n", std::to_string(FCopies), FileName});
    const int Status = Lp.Wait();
    if (!WIFEXITED(Status) || WEXITSTATUS(Status) != 0)
        throw EPrinter(LpMessage(Lp.Errors(), Status));
}

void TPrinter::Abort()
{
    if (!Printing())
        return;
    FJob->Abort();
    RemoveSpoolFile();
}

bool TPrinter::Printing() const
{
    return FJob->Printing();
}

bool TPrinter::Aborted() const
{
    return FJob->Aborted();
}

int TPrinter::PageNumber() const
{
    return FJob->PageNumber();
}

TCanvas* TPrinter::Canvas()
{
    ApplySettings();
    return FJob->Canvas();
}

HDC TPrinter::Handle()
{
    return Canvas();
}

void TPrinter::GetPrinter(std::string& ADevice, std::string& ADriver, std::string& APort,
                          HGLOBAL& ADeviceMode)
{
    TPrinterEntry& Entry = Current();
    ADevice = Entry.Name;
    ADriver = Entry.Queue ? "CUPS" : "PDF";
    APort = !Entry.Queue || FPrintToFile ? FilePort : Entry.Name;
    LockMode(Entry);
    GlobalUnlock(Entry.DeviceMode);
    ADeviceMode = Entry.DeviceMode;
}

void TPrinter::SetPrinter(const std::string& ADevice, const std::string& ADriver,
                          const std::string& APort, HGLOBAL ADeviceMode)
{
    (void)ADriver;
    CheckPrinting(false);
    Load();
    auto Found = std::find_if(FEntries.begin(), FEntries.end(),
                              [&](const TPrinterEntry& E) { return E.Name == ADevice; });
    if (Found == FEntries.end())
        throw EPrinter("Printer selected is not valid");
    const int Index = static_cast<int>(Found - FEntries.begin());
    FIndex = Index;
    FPrintToFile = APort == FilePort;
    TPrinterEntry& Entry = *Found;
    if (ADeviceMode && ADeviceMode != Entry.DeviceMode) {
        const void* Given = GlobalLock(ADeviceMode);
        if (Given) {
            DEVMODE* Mode = LockMode(Entry);
            std::memcpy(Mode, Given, std::min(GlobalSize(ADeviceMode), sizeof(DEVMODE)));
            Mode->dmSize = sizeof(DEVMODE);
            GlobalUnlock(Entry.DeviceMode);
            GlobalUnlock(ADeviceMode);
        }
        GlobalFree(ADeviceMode);
    }
    ApplySettings();
}

TPrinter* Printer()
{
    static const std::unique_ptr<TPrinter> Shared = std::make_unique<TPrinter>();
    return Shared.get();
}
