// platform/dialogs/filedialogs.h: TOpenDialog and TSaveDialog, and the picture ones with a
// preview of the selected picture beside the list.
#pragma once

#include "platform/dialogs/commondialog.h"
#include "platform/rtl/sets.h"
#include "platform/rtl/stringlist.h"

#include <memory>
#include <string>

enum TOpenOption {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofShowHelp,
    ofNoValidate,
    ofAllowMultiSelect,
    ofExtensionDifferent,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofShareAware,
    ofNoReadOnlyReturn,
    ofNoTestFileCreate,
    ofNoNetworkButton,
    ofNoLongNames,
    ofOldStyleDialog,
    ofNoDereferenceLinks,
    ofEnableIncludeNotify,
    ofEnableSizing
};
using TOpenOptions = TSet<TOpenOption>;

class TOpenDialog : public TCommonDialog {
public:
    explicit TOpenDialog(TComponent* AOwner);
    ~TOpenDialog() override;

    // Without the dot ("txt"); appended to a name typed without an extension.
    const std::string& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const std::string& Value);
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& Value) { FFileName = Value; }
    // The chosen files: the one chosen (the dialog picks one file at a time).
    TStrings* Files() const { return FFiles.get(); }
    // "Text files (*.txt)|*.txt|All files (*.*)|*.*"
    const std::string& Filter() const { return FFilter; }
    void SetFilter(const std::string& Value) { FFilter = Value; }
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int Value) { FFilterIndex = Value; }
    const std::string& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const std::string& Value) { FInitialDir = Value; }
    TOpenOptions Options() const { return FOptions; }
    void SetOptions(TOpenOptions Value) { FOptions = Value; }
    // Empty: "Open" (or "Save As").
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }

    bool Execute() override;

protected:
    bool DoExecute(TDialogKind Kind, bool Preview);

private:
    std::string FDefaultExt;
    std::string FFileName;
    std::unique_ptr<TStringList> FFiles;
    std::string FFilter;
    int FFilterIndex = 1;
    std::string FInitialDir;
    TOpenOptions FOptions{ofHideReadOnly, ofEnableSizing};
    std::string FTitle;
};

class TSaveDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;
    bool Execute() override;
};

// The filter starts as every registered picture format.
class TOpenPictureDialog : public TOpenDialog {
public:
    explicit TOpenPictureDialog(TComponent* AOwner);
    bool Execute() override;
};

class TSavePictureDialog : public TOpenPictureDialog {
public:
    using TOpenPictureDialog::TOpenPictureDialog;
    bool Execute() override;
};
