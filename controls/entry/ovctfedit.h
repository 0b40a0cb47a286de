// controls/entry/ovctfedit.h: TOvcCustomTextFileEditor, the editor bound to a text file: load it
// line by line into paragraphs, and save it safely with an optional backup.
#pragma once

#include "controls/entry/ovcedit.h"

#include <string>

class TOvcCustomTextFileEditor : public TOvcCustomEditor {
public:
    explicit TOvcCustomTextFileEditor(TComponent* AOwner);

    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& Value);
    bool IsOpen() const { return FIsOpen; }
    void SetIsOpen(bool Value);
    const std::string& BackupExt() const { return FBackupExt; }
    // Three characters at most.
    void SetBackupExt(const std::string& Value) { FBackupExt = Value.substr(0, 3); }
    bool MakeBackup() const { return FMakeBackup; }
    void SetMakeBackup(bool Value) { FMakeBackup = Value; }
    bool TrimWhiteSpace() const { return FTrimWhiteSpace; }
    void SetTrimWhiteSpace(bool Value) { FTrimWhiteSpace = Value; }

    // Unreadable: EInOutError, and the editor is closed. A limit: EEditorError.
    virtual void LoadFromFile(const std::string& Name);
    // The file is replaced only once its new text is complete; on any failure (EInOutError)
    // the file, its backup and Modified stay as they were.
    virtual void SaveToFile(const std::string& Name);
    void Attach(TOvcCustomEditor* Other) override;

protected:
    void Loaded() override;

private:
    // Adds one line of the file, cut into paragraphs at the paragraph-length limit.
    void AddLine(std::string_view Line);
    void Append(std::string_view Para);

    std::string FFileName;
    bool FIsOpen = false;
    bool FOpenPending = false;
    std::string FBackupExt = "BAK";
    bool FMakeBackup = false;
    bool FTrimWhiteSpace = true;
};

class TOvcTextFileEditor : public TOvcCustomTextFileEditor {
public:
    explicit TOvcTextFileEditor(TComponent* AOwner) : TOvcCustomTextFileEditor(AOwner) {}
};
