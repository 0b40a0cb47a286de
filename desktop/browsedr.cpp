// desktop/browsedr.cpp: the folder picker: Execute over the shell's dialog and the dialog's
// callback, which centres it, applies the stored state and reports the highlighted folder.
#include "desktop/browsedr.h"

#include "platform/forms/form.h"
#include "platform/forms/wincontrol.h"
#include "platform/gfx/bitmap.h"
#include "platform/rtl/files.h"
#include "platform/ui/application.h"
#include "platform/ui/messages.h"
#include "platform/ui/queue.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/window.h"
#include "platform/ui/windowstyles.h"

#include <sys/stat.h>

namespace browsedr {

std::string NormalizedSelection(const std::string& Path)
{
    if (Path.size() > 1 && Path.back() == '/')
        return Path.substr(0, Path.size() - 1);
    return Path;
}

bool FolderExists(const std::string& Path)
{
    if (Path.empty())
        return false;
    struct stat Info {};
    return ::stat(NormalizedSelection(Path).c_str(), &Info) == 0 && S_ISDIR(Info.st_mode);
}

std::string FitText(const std::string& Text, const std::function<bool(const std::string&)>& Fits)
{
    if (FolderExists(Text)) {
        // The folder part runs to the last "/"; what follows is the name.
        const std::size_t Slash = Text.rfind('/');
        std::string Folder = Text.substr(0, Slash + 1);
        const std::string Name = Text.substr(Slash + 1);
        while (!Fits(Folder + Name) && !Folder.empty()) {
            if (Folder == "/.../") {
                Folder = ".../";
                continue;
            }
            if (Folder == "/") {
                Folder.clear();
                continue;
            }
            const bool Rooted = Folder.front() == '/';
            std::string Rest = Rooted ? Folder.substr(1) : Folder;
            if (Rest.compare(0, 4, ".../") == 0)
                Rest.erase(0, 4);
            const std::size_t Next = Rest.find('/');
            Rest = Next == std::string::npos ? std::string() : Rest.substr(Next + 1);
            if (!Rest.empty())
                Rest = ".../" + Rest;
            Folder = Rooted ? "/" + Rest : Rest;
        }
        return Folder + Name;
    }
    if (Fits(Text))
        return Text;
    // Whole characters go from the end, so that no UTF-8 sequence is cut.
    std::string Base = Text;
    while (!Base.empty()) {
        std::size_t Cut = Base.size() - 1;
        while (Cut > 0 && (static_cast<unsigned char>(Base[Cut]) & 0xC0) == 0x80)
            --Cut;
        Base.erase(Cut);
        if (Fits(Base + "..."))
            break;
    }
    return Base + "...";
}

} // namespace browsedr

TBrowseDirectoryDlg::TBrowseDirectoryDlg(TComponent* AOwner) : TComponent(AOwner) {}

void TBrowseDirectoryDlg::SetSelection(const std::string& Value)
{
    if (Value == FSelection)
        return;
    FSelection = Value;
    if (!FSelection.empty() && FSelection.back() != '/' && browsedr::FolderExists(FSelection))
        FSelection += '/';
    if (FDlgWnd != 0)
        SendSelection();
}

void TBrowseDirectoryDlg::SetStatusText(const std::string& Value)
{
    if (Value == FStatusText)
        return;
    FStatusText = Value;
    if (FDlgWnd != 0)
        SendStatusText();
}

void TBrowseDirectoryDlg::SetFitStatusText(bool Value)
{
    FFitStatusText = Value;
    if (FDlgWnd != 0)
        SendStatusText();
}

void TBrowseDirectoryDlg::SetEnableOKButton(bool Value)
{
    FEnableOKButton = Value;
    if (FDlgWnd != 0)
        SendMessage(FDlgWnd, BFFM_ENABLEOK, 0, Value ? 1 : 0);
}

std::string TBrowseDirectoryDlg::Caption() const
{
    if (FDlgWnd == 0)
        return FCaption;
    const std::string Text = GetWindowText(FDlgWnd);
    return Text.substr(0, 255);
}

void TBrowseDirectoryDlg::SetCaption(const std::string& Value)
{
    FCaption = Value;
    if (FDlgWnd != 0)
        SetWindowText(FDlgWnd, Value);
}

std::string TBrowseDirectoryDlg::FittedStatusText() const
{
    if (!FFitStatusText || FDlgWnd == 0 || FStatusText.empty())
        return FStatusText;
    const HWND Line = GetDlgItem(FDlgWnd, IDC_BROWSE_STATUS);
    if (Line == 0)
        return FStatusText;
    TRect Client;
    GetClientRect(Line, Client);
    TBitmap Scratch;
    Scratch.SetSize(1, 1);
    if (TWinControl* Control = FindControl(Line))
        Scratch.Canvas()->Font()->Assign(Control->Font());
    TCanvas* Measure = Scratch.Canvas();
    const int Width = Client.Width();
    return browsedr::FitText(FStatusText, [Measure, Width](const std::string& Text) {
        return Measure->TextWidth(Text) <= Width;
    });
}

void TBrowseDirectoryDlg::SendStatusText()
{
    const std::string Text = FittedStatusText();
    SendMessage(FDlgWnd, BFFM_SETSTATUSTEXT, 0, reinterpret_cast<LPARAM>(Text.c_str()));
}

void TBrowseDirectoryDlg::SendSelection()
{
    const std::string Path = browsedr::NormalizedSelection(FSelection);
    SendMessage(FDlgWnd, BFFM_SETSELECTION, 1, reinterpret_cast<LPARAM>(Path.c_str()));
}

HWND TBrowseDirectoryDlg::ParentWindow() const
{
    if (ComponentState().Contains(csDesigning))
        return 0;
    if (auto* Control = dynamic_cast<TWinControl*>(Owner()))
        return Control->Handle();
    if (Application != nullptr && Application->MainForm() != nullptr)
        return Application->MainForm()->Handle();
    return 0;
}

int TBrowseDirectoryDlg::BrowseCallback(HWND Wnd, UINT Msg, LPARAM LParam, LPARAM Data)
{
    auto* Self = reinterpret_cast<TBrowseDirectoryDlg*>(Data);
    if (Msg == BFFM_INITIALIZED)
        Self->DoInitialized(Wnd);
    else if (Msg == BFFM_SELCHANGED)
        Self->DoSelChanged(reinterpret_cast<LPCITEMIDLIST>(LParam));
    return 0;
}

void TBrowseDirectoryDlg::DoInitialized(HWND Wnd)
{
    FDlgWnd = Wnd;
    if (FCenter) {
        TRect Bounds;
        GetWindowRect(Wnd, Bounds);
        const int X = (GetSystemMetrics(SM_CXSCREEN) - Bounds.Width()) / 2;
        const int Y = (GetSystemMetrics(SM_CYSCREEN) - Bounds.Height()) / 2;
        SetWindowPos(Wnd, 0, X, Y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    SendMessage(Wnd, BFFM_ENABLEOK, 0, FEnableOKButton ? 1 : 0);
    if (!FStatusText.empty())
        SendStatusText();
    if (!FSelection.empty())
        SendSelection();
    if (!FCaption.empty())
        SetWindowText(Wnd, FCaption);
    if (OnCreate)
        OnCreate(this);
}

void TBrowseDirectoryDlg::DoSelChanged(LPCITEMIDLIST List)
{
    if (!FShowSelectionInStatus && !OnSelChanged)
        return;
    char Path[MAX_PATH];
    SHGetPathFromIDList(List, Path);
    if (FShowSelectionInStatus)
        SetStatusText(Path);
    if (OnSelChanged)
        OnSelChanged(this, Path);
}

bool TBrowseDirectoryDlg::Execute()
{
    IMalloc* Malloc = nullptr;
    if (FAILED(SHGetMalloc(&Malloc)))
        return false;
    // The shell's blocks go back to it however the dialog ends.
    struct TShellBlocks {
        IMalloc* Malloc;
        char* Name = nullptr;
        LPITEMIDLIST Root = nullptr;
        LPITEMIDLIST Chosen = nullptr;
        HWND* Open;
        ~TShellBlocks()
        {
            Malloc->Free(Chosen);
            Malloc->Free(Root);
            Malloc->Free(Name);
            Malloc->Release();
            *Open = 0;
        }
    } Blocks{Malloc, nullptr, nullptr, nullptr, &FDlgWnd};
    Blocks.Name = static_cast<char*>(Malloc->Alloc(MAX_PATH));
    if (Blocks.Name == nullptr)
        return false;
    Blocks.Name[0] = '\0';
    if (FAILED(SHGetSpecialFolderLocation(0, FRoot, &Blocks.Root)))
        Blocks.Root = nullptr; // the dialog starts at the desktop

    unsigned Flags = 0;
    static const unsigned FlagBits[] = {BIF_RETURNONLYFSDIRS,  BIF_DONTGOBELOWDOMAIN,
                                        BIF_RETURNFSANCESTORS, BIF_BROWSEFORCOMPUTER,
                                        BIF_BROWSEFORPRINTER,  BIF_BROWSEINCLUDEFILES};
    for (int Flag = bfDirectoriesOnly; Flag <= bfIncludeFiles; ++Flag)
        if (FOptions.Contains(static_cast<TBrowseFlag>(Flag)))
            Flags |= FlagBits[Flag];
    if (!FStatusText.empty())
        Flags |= BIF_STATUSTEXT;

    BROWSEINFO Info;
    Info.hwndOwner = ParentWindow();
    Info.pidlRoot = Blocks.Root;
    Info.pszDisplayName = Blocks.Name;
    Info.lpszTitle = FTitle.c_str();
    Info.ulFlags = Flags;
    Info.lpfn = &TBrowseDirectoryDlg::BrowseCallback;
    Info.lParam = reinterpret_cast<LPARAM>(this);
    Blocks.Chosen = SHBrowseForFolder(&Info);

    std::string Path;
    if (Blocks.Chosen != nullptr) {
        char Buffer[MAX_PATH];
        if (SHGetPathFromIDList(Blocks.Chosen, Buffer))
            Path = Buffer;
        FImageIndex = Info.iImage;
    }
    FDlgWnd = 0;
    SetSelection(Path);
    return Blocks.Chosen != nullptr;
}
