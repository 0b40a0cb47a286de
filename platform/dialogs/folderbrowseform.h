// platform/dialogs/folderbrowseform.h: TFolderBrowseForm, the folder-browse dialog's form: the
// title, the tree of folders under the root (TFolderTree, drawn here), the status line (id
// 14147) when asked for, OK and Cancel; it runs the browse callback and answers BFFM_ messages.
#pragma once

#include "platform/dialogs/dialogform.h"
#include "platform/forms/controls.h"
#include "platform/ui/dialogservice.h"

#include <string>
#include <vector>

class TButton;
class TLabel;
class TPanel;

// Folders as an indented tree: one node expanded shows the folders in it (with files too when
// asked); a click selects, a double click or the arrows open and close.
class TFolderTree : public TCustomControl {
public:
    explicit TFolderTree(TComponent* AOwner);

    static constexpr int RowHeight = 18;
    static constexpr int Indent = 16;

    void SetRoot(const std::string& Path, bool IncludeFiles);
    // Opens the folders down to Path and highlights it; false when it is not under the root.
    bool Select(const std::string& Path);
    std::string Selected() const;
    int SelectedIndex() const { return FSelected; }
    int Count() const { return static_cast<int>(FNodes.size()); }
    std::string PathAt(int Index) const;
    TRect RowRect(int Index) const;
    void Toggle(int Index);

    TNotifyEvent OnChange; // the highlight moved

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void WMGetDlgCode(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    struct TNode {
        std::string Path;
        std::string Name;
        int Depth = 0;
        bool Folder = true;
        bool Expanded = false;
    };
    void Expand(int Index);
    void Collapse(int Index);
    void Highlight(int Index);

    std::vector<TNode> FNodes;
    int FSelected = -1;
    int FTop = 0;
    bool FIncludeFiles = false;
};

class TFolderBrowseForm : public TDialogForm {
public:
    TFolderBrowseForm(TComponent* AOwner, const TDialogRequest& Request, HWND OwnerWindow = 0);

    TDialogAnswer Answer() const;

    TLabel* TitleLabel() const { return FTitle; }
    TFolderTree* Tree() const { return FTree; }
    TPanel* StatusLine() const { return FStatus; }
    TButton* OkButton() const { return FOk; }
    TButton* CancelButton() const { return FCancel; }

protected:
    void DoShow() override;
    void BFFMSetStatusText(TMessage& Message);
    void BFFMEnableOk(TMessage& Message);
    void BFFMSetSelection(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    void SelectionChanged();

    TDialogRequest FRequest;
    bool FInitialized = false;
    TLabel* FTitle = nullptr;
    TFolderTree* FTree = nullptr;
    TPanel* FStatus = nullptr;
    TButton* FOk = nullptr;
    TButton* FCancel = nullptr;
};
