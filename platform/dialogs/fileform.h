// platform/dialogs/fileform.h: TFileDialogForm, the form of the open and save dialogs: the
// folder ("Look in"), its folders and the files the chosen type's masks take, the file name,
// the file type, and, for pictures, a preview of the one selected.
#pragma once

#include "platform/dialogs/dialogform.h"
#include "platform/dialogs/filefilter.h"
#include "platform/ui/dialogservice.h"

#include <memory>
#include <string>
#include <vector>

class TButton;
class TPaintBox;
class TPicture;
class TComboBox;
class TEdit;
class TLabel;
class TListBox;
class TPanel;

class TFileDialogForm : public TDialogForm {
public:
    TFileDialogForm(TComponent* AOwner, const TDialogRequest& Request, HWND OwnerWindow = 0);
    ~TFileDialogForm() override;

    // The chosen path and the filter it was chosen under, once ShowModal has returned.
    TDialogAnswer Answer() const;

    // The folder shown (absolute, no trailing '/' but for the root).
    const std::string& Folder() const { return FFolder; }
    void ChangeFolder(const std::string& Folder);
    // The names listed, folders first (".." first of all below the root).
    std::vector<std::string> ListedNames() const;

    TComboBox* LookIn() const { return FLookIn; }
    TListBox* List() const { return FList; }
    TEdit* FileNameEdit() const { return FFileName; }
    TComboBox* FileType() const { return FFileType; }
    TButton* OkButton() const { return FOk; }
    TButton* CancelButton() const { return FCancel; }
    // Picture dialogs only: the picture selected (empty when none or unreadable), its box,
    // and the label under it ("640 x 480", "(None)").
    TPicture* PreviewPicture() const { return FPicture.get(); }
    TPaintBox* PreviewBox() const { return FPreviewBox; }
    TLabel* PreviewLabel() const { return FPreviewLabel; }

protected:
private:
    struct TEntry {
        std::string Name;
        bool Folder = false;
    };

    void BuildControls(bool Save, bool Preview);
    void FillLookIn();
    void FillList();
    std::vector<std::string> CurrentMasks() const;
    void OkClick();
    // Enters the folder of the list's selection or double click; true when it was one.
    bool EnterSelectedFolder();
    void ListClick();
    void ListDblClick();
    void DrawEntry(int Index, TRect Rect, bool Selected);
    void ShowPreview(const std::string& Path);
    void PaintPreview();
    bool Accept(const std::string& Path);

    TDialogRequest FRequest;
    std::vector<TFileFilter> FFilters;
    std::vector<std::string> FTypedMasks; // a mask typed in the name field replaces the type's
    std::string FFolder;
    std::vector<TEntry> FEntries;
    std::string FChosen;

    TComboBox* FLookIn = nullptr;
    TListBox* FList = nullptr;
    TEdit* FFileName = nullptr;
    TComboBox* FFileType = nullptr;
    TButton* FOk = nullptr;
    TButton* FCancel = nullptr;
    TPanel* FPreview = nullptr;
    TPaintBox* FPreviewBox = nullptr;
    std::unique_ptr<TPicture> FPicture;
    TLabel* FPreviewLabel = nullptr;
};

// The folder a file dialog starts in: InitialDir, else the starting file name's folder, else
// the current one (each only when it exists).
std::string FileDialogStartFolder(const TDialogRequest& Request);
