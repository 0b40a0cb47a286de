// desktop/browsedr.h: TBrowseDirectoryDlg, a folder picker over the shell's folder-browse
// dialog: a preselected folder, a status line fitted to the dialog, centring, the OK button's
// state and the window's caption, each applied while the dialog is open.
#pragma once

#include "platform/rtl/component.h"
#include "platform/rtl/events.h"
#include "platform/rtl/sets.h"
#include "platform/ui/shellfolders.h"

#include <functional>
#include <string>

enum TRootID : int {
    idDesktop = 0,
    idInternet = 1,
    idPrograms = 2,
    idControlPanel = 3,
    idPrinters = 4,
    idPersonal = 5,
    idFavorites = 6,
    idStartup = 7,
    idRecent = 8,
    idSendTo = 9,
    idRecycleBin = 10,
    idStartMenu = 11,
    idDesktopDirectory = 16,
    idDrives = 17,
    idNetwork = 18,
    idNetHood = 19,
    idFonts = 20,
    idTemplates = 21,
    idDesktopExpanded = 0xFEFE,
};

enum TBrowseFlag {
    bfDirectoriesOnly,
    bfDomainOnly,
    bfAncestors,
    bfComputers,
    bfPrinters,
    bfIncludeFiles
};
using TBrowseFlags = TSet<TBrowseFlag>;

using TBDSelChangedEvent = std::function<void(TObject* Sender, const std::string& NewSel)>;

class TBrowseDirectoryDlg : public TComponent {
public:
    explicit TBrowseDirectoryDlg(TComponent* AOwner);

    const std::string& Selection() const { return FSelection; }
    void SetSelection(const std::string& Value);
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }
    TRootID Root() const { return FRoot; }
    void SetRoot(TRootID Value) { FRoot = Value; }
    TBrowseFlags Options() const { return FOptions; }
    void SetOptions(TBrowseFlags Value) { FOptions = Value; }
    bool Center() const { return FCenter; }
    void SetCenter(bool Value) { FCenter = Value; }
    const std::string& StatusText() const { return FStatusText; }
    void SetStatusText(const std::string& Value);
    bool FitStatusText() const { return FFitStatusText; }
    void SetFitStatusText(bool Value);
    bool EnableOKButton() const { return FEnableOKButton; }
    void SetEnableOKButton(bool Value);
    int ImageIndex() const { return FImageIndex; }
    std::string Caption() const;
    void SetCaption(const std::string& Value);
    bool ShowSelectionInStatus() const { return FShowSelectionInStatus; }
    void SetShowSelectionInStatus(bool Value) { FShowSelectionInStatus = Value; }

    TBDSelChangedEvent OnSelChanged;
    TNotifyEvent OnCreate;

    virtual void DoInitialized(HWND Wnd);
    virtual void DoSelChanged(LPCITEMIDLIST List);
    virtual bool Execute();

    // The status text as the status line shows it: shortened to the line's width.
    std::string FittedStatusText() const;

private:
    static int BrowseCallback(HWND Wnd, UINT Msg, LPARAM LParam, LPARAM Data);
    HWND ParentWindow() const;
    void SendStatusText();
    void SendSelection();

    std::string FSelection;
    std::string FTitle;
    TRootID FRoot = idDesktop;
    TBrowseFlags FOptions;
    bool FCenter = true;
    std::string FStatusText;
    bool FFitStatusText = true;
    bool FEnableOKButton = true;
    int FImageIndex = -1;
    std::string FCaption;
    bool FShowSelectionInStatus = false;
    HWND FDlgWnd = 0;
};

namespace browsedr {
// The selection as the dialog takes it: one trailing "/" removed, except from "/".
std::string NormalizedSelection(const std::string& Path);
// Whether Path (one trailing "/" removed) names an existing folder.
bool FolderExists(const std::string& Path);
// Text shortened until Fits says it does: an existing folder's path by its leading folders
// ("/.../c/d/"), any other text from its end with "...".
std::string FitText(const std::string& Text, const std::function<bool(const std::string&)>& Fits);
} // namespace browsedr
