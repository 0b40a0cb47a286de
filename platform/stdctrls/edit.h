// platform/stdctrls/edit.h: TCustomEdit, the class library's control over the "EDIT" window
// (selection, clipboard, undo, limits, case, password, read-only, OnChange), and TEdit.
#pragma once

#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/stdctrls/editcharcase.h"

#include <string>

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* AOwner);
    ~TCustomEdit() override;

    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    // Bytes; 0: no limit. Typing and pasting never split a character to fit.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    bool Modified() const;
    void SetModified(bool Value);
    char PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);

    // Byte offsets.
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    std::string SelText() const;
    void SetSelText(const std::string& Value);
    // Up to BufSize - 1 bytes of the selection and a NUL; the bytes copied.
    int GetSelTextBuf(char* Buffer, int BufSize) const;
    void SelectAll();
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void Undo();
    bool CanUndo() const;
    void ClearUndo();
    void Clear();

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void DefaultHandler(TMessage& Message) override;
    std::string GetText() const override;
    virtual void Change();
    void DoEnter() override;
    void AdjustHeight();
    // A message to the window when it exists (0 otherwise).
    LRESULT SendToEdit(UINT Msg, WPARAM WParam, LPARAM LParam) const;

    void WMPaint(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);
    void WMMouse(TMessage& Message);
    void WMContextMenu(TMessage& Message);
    void CNCommand(TMessage& Message);
    void CNCtlColor(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    TW_MESSAGE_MAP();

private:
    bool FAutoSelect = true;
    bool FAutoSize = true;
    TBorderStyle FBorderStyle = bsSingle;
    TEditCharCase FCharCase = ecNormal;
    bool FHideSelection = true;
    int FMaxLength = 0;
    bool FModified = false; // kept while the window is away
    char FPasswordChar = 0;
    bool FReadOnly = false;
    bool FCreating = false;
    TWndProc FDefWndProc;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};
