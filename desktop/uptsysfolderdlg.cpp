// desktop/uptsysfolderdlg.cpp: the special-folder picker: Execute with the program's windows
// disabled around the dialog, restored however it ends.
#include "desktop/uptsysfolderdlg.h"

#include "platform/forms/wincontrol.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"
#include "platform/ui/input.h"
#include "platform/ui/queue.h"
#include "platform/ui/window.h"

#include <vector>

TPTSysFolderDlg::TPTSysFolderDlg(TComponent* AOwner) : TComponent(AOwner) {}

TPTSysFolderDlg::~TPTSysFolderDlg()
{
    ILFree(FPidl);
}

void TPTSysFolderDlg::KeepList(LPITEMIDLIST List)
{
    if (List == FPidl)
        return;
    ILFree(FPidl);
    FPidl = List;
}

void TPTSysFolderDlg::SetOkEnabled(bool Value)
{
    if (!FExecuting)
        throw Exception(Format("%s: SetOkEnabled assignment only valid during Execute", Name()));
    SendMessage(FDlgWnd, BFFM_ENABLEOK, 0, Value ? 1 : 0);
}

void TPTSysFolderDlg::SetStatusText(const std::string& Value)
{
    if (!FExecuting)
        throw Exception(Format("%s: Status text assignment only valid during Execute", Name()));
    SendMessage(FDlgWnd, BFFM_SETSTATUSTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
}

int TPTSysFolderDlg::BrowseCallback(HWND Wnd, UINT Msg, LPARAM LParam, LPARAM Data)
{
    auto* Self = reinterpret_cast<TPTSysFolderDlg*>(Data);
    if (Msg == BFFM_INITIALIZED)
        Self->DoInitialized(Wnd);
    else if (Msg == BFFM_SELCHANGED)
        Self->DoSelChanged(Wnd, reinterpret_cast<LPCITEMIDLIST>(LParam));
    return 0;
}

void TPTSysFolderDlg::DoInitialized(HWND Wnd)
{
    FDlgWnd = Wnd;
    if (OnInitialized)
        OnInitialized(this, Wnd);
    if (FPidl != nullptr)
        SendMessage(Wnd, BFFM_SETSELECTION, 0, reinterpret_cast<LPARAM>(FPidl));
}

void TPTSysFolderDlg::DoSelChanged(HWND Wnd, LPCITEMIDLIST List)
{
    KeepList(ILClone(List));
    if (OnSelChanged)
        OnSelChanged(this, Wnd, FPidl);
}

bool TPTSysFolderDlg::Execute()
{
    if (FExecuting)
        throw Exception(Format("%s: Execute already called.", Name()));
    IMalloc* Malloc = nullptr;
    const HRESULT Got = SHGetMalloc(&Malloc);
    if (FAILED(Got))
        throw Exception(Format("Shell allocator unavailable (error %x)", static_cast<int>(Got)));

    // Whatever ends the dialog, a raising handler included, the program's windows come back,
    // the remembered one is active again and the component is idle.
    struct TRestore {
        TPTSysFolderDlg* Self;
        IMalloc* Malloc;
        LPITEMIDLIST Root = nullptr;
        HWND Active = 0;
        std::vector<HWND> Disabled;
        ~TRestore()
        {
            for (HWND Wnd : Disabled)
                if (IsWindow(Wnd))
                    EnableWindow(Wnd, true);
            if (Active != 0 && IsWindow(Active))
                SetActiveWindow(Active);
            Malloc->Free(Root);
            Self->FExecuting = false;
            Self->FDlgWnd = 0;
            Malloc->Release();
        }
    } Restore{this, Malloc, nullptr, 0, {}};
    FExecuting = true;

    HWND Parent = 0;
    if (auto* Control = dynamic_cast<TWinControl*>(Owner()))
        Parent = Control->Handle();
    if (FAILED(SHGetSpecialFolderLocation(Parent, FDomain, &Restore.Root)))
        return false;

    Restore.Active = GetActiveWindow();
    EnumWindows([&](HWND Wnd) {
        if (!IsForeignWindow(Wnd) && IsWindowVisible(Wnd) && IsWindowEnabled(Wnd))
            Restore.Disabled.push_back(Wnd);
        return true;
    });
    for (HWND Wnd : Restore.Disabled)
        EnableWindow(Wnd, false);

    unsigned Flags = 0;
    static const unsigned FlagBits[] = {BIF_BROWSEFORCOMPUTER, BIF_BROWSEFORPRINTER,
                                        BIF_DONTGOBELOWDOMAIN, BIF_RETURNFSANCESTORS,
                                        BIF_RETURNONLYFSDIRS,  BIF_STATUSTEXT};
    for (int Option = fdoComputers; Option <= fdoStatusText; ++Option)
        if (FOptions.Contains(static_cast<TPTSysFolderDlgOption>(Option)))
            Flags |= FlagBits[Option];

    BROWSEINFO Info;
    Info.hwndOwner = Parent;
    Info.pidlRoot = Restore.Root;
    Info.lpszTitle = FTitle.c_str();
    Info.ulFlags = Flags;
    Info.lpfn = &TPTSysFolderDlg::BrowseCallback;
    Info.lParam = reinterpret_cast<LPARAM>(this);
    LPITEMIDLIST Chosen = SHBrowseForFolder(&Info);
    if (Chosen == nullptr) {
        KeepList(nullptr);
        return false;
    }
    KeepList(Chosen);
    return true;
}
