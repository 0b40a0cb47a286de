// desktop/uptsysfolderdlg.h: TPTSysFolderDlg, a folder picker rooted at a shell special folder,
// modal over the program's windows; it keeps the item ID list of the folder last chosen.
#pragma once

#include "platform/rtl/component.h"
#include "platform/rtl/sets.h"
#include "platform/ui/shellfolders.h"

#include <functional>
#include <string>

enum TCSIDL {
    csidlDesktop,
    csidl_None1,
    csidlPrograms,
    csidlControls,
    csidlPrinters,
    csidlPersonal,
    csidlFavorites,
    csidlStartup,
    csidlRecent,
    csidlSendTo,
    csidlBitBucket,
    csidlStartMenu,
    csidl_None2,
    csidl_None3,
    csidl_None4,
    csidl_None5,
    csidlDesktopDirectory,
    csidlDrives,
    csidlNetwork,
    csidlNethood,
    csidlFonts,
    csidlTemplates,
    csidlCommonStartMenu,
    csidlCommonPrograms,
    csidlCommonStartup,
    csidlCommonDesktopDirectory,
    csidlAppData,
    csidlPrintHood,
    csidlNone
};

enum TPTSysFolderDlgOption {
    fdoComputers,
    fdoPrinters,
    fdoDontGoBelowDomain,
    fdoReturnFSAncestors,
    fdoReturnOnlyFSDirs,
    fdoStatusText
};
using TPTSysFolderDlgOptions = TSet<TPTSysFolderDlgOption>;

class TPTSysFolderDlg;
using TFDOnInitializedEvent = std::function<void(TPTSysFolderDlg* aSender, HWND hwnd)>;
using TFDOnSelChangedEvent =
    std::function<void(TPTSysFolderDlg* aSender, HWND hwnd, LPCITEMIDLIST pidl)>;

class TPTSysFolderDlg : public TComponent {
public:
    explicit TPTSysFolderDlg(TComponent* AOwner);
    ~TPTSysFolderDlg() override;

    TCSIDL Domain() const { return FDomain; }
    void SetDomain(TCSIDL Value) { FDomain = Value; }
    TPTSysFolderDlgOptions Options() const { return FOptions; }
    void SetOptions(TPTSysFolderDlgOptions Value) { FOptions = Value; }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }

    TFDOnInitializedEvent OnInitialized;
    TFDOnSelChangedEvent OnSelChanged;

    // Valid only while Execute runs; otherwise they raise.
    virtual void SetOkEnabled(bool Value);
    virtual void SetStatusText(const std::string& Value);
    // True when a folder was chosen (its list kept); a second call while one runs raises.
    virtual bool Execute();

    // The list of the folder last chosen or highlighted (null when none); owned here.
    LPCITEMIDLIST FolderIDList() const { return FPidl; }

protected:
    virtual void DoSelChanged(HWND Wnd, LPCITEMIDLIST List);
    virtual void DoInitialized(HWND Wnd);

private:
    static int BrowseCallback(HWND Wnd, UINT Msg, LPARAM LParam, LPARAM Data);
    void KeepList(LPITEMIDLIST List);

    TCSIDL FDomain = csidlNone;
    TPTSysFolderDlgOptions FOptions;
    std::string FTitle;
    bool FExecuting = false;
    HWND FDlgWnd = 0;
    LPITEMIDLIST FPidl = nullptr;
};
