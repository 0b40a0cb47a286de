// platform/stdctrls/gridedit.cpp: TCustomGrid's in-place editor: when it may show, what it is
// loaded with, and how its text goes back to the cells (on every change, and when it hides).
#include "platform/stdctrls/grids.h"

#include "platform/stdctrls/editwindow.h"
#include "platform/stdctrls/inplaceedit.h"
#include "platform/ui/queue.h"

// The editor goes while the grid is still whole.
TCustomGrid::~TCustomGrid()
{
    TInplaceEdit* Editor = FInplaceEdit;
    FInplaceEdit = nullptr;
    delete Editor;
}

bool TCustomGrid::CanEditShow()
{
    return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && FEditorMode &&
           !ComponentState().Contains(csDesigning) && HandleAllocated() &&
           FCurrent.X >= FFixedCols && FCurrent.Y >= FFixedRows &&
           (FOptions.Contains(goAlwaysShowEditor) || HasEditFocus());
}

bool TCustomGrid::CanEditModify()
{
    return FCanEditModify;
}

bool TCustomGrid::CanEditAcceptKey(char)
{
    return true;
}

int TCustomGrid::GetEditLimit()
{
    return 0;
}

TInplaceEdit* TCustomGrid::CreateEditor()
{
    return new TInplaceEdit(this);
}

bool TCustomGrid::HasEditFocus() const
{
    return Focused() || (FInplaceEdit != nullptr && FInplaceEdit->Focused());
}

void TCustomGrid::UpdateText()
{
    if (FInplaceEdit != nullptr && FInplaceCol != -1 && FInplaceRow != -1)
        SetEditText(FInplaceCol, FInplaceRow, FInplaceEdit->Text());
}

void TCustomGrid::UpdateEdit()
{
    if (!CanEditShow())
        return;
    auto UpdateEditor = [this] {
        FInplaceCol = FCurrent.X;
        FInplaceRow = FCurrent.Y;
        FInplaceEdit->HandleNeeded();
        FLoadingEditor = true;
        try {
            FInplaceEdit->UpdateContents();
        } catch (...) {
            FLoadingEditor = false;
            throw;
        }
        FLoadingEditor = false;
        FInplaceOriginal = FInplaceEdit->Text();
        FEditChanged = false;
        FInplaceEdit->SetModified(false);
        FInplaceEdit->SelectAll();
    };
    if (FInplaceEdit == nullptr) {
        FInplaceEdit = CreateEditor();
        FInplaceEdit->SetGrid(this);
        FInplaceEdit->SetParent(this);
        UpdateEditor();
    } else if (FCurrent.X != FInplaceCol || FCurrent.Y != FInplaceRow) {
        HideEdit();
        UpdateEditor();
    }
    if (CanEditShow())
        FInplaceEdit->Move(CellRect(FCurrent.X, FCurrent.Y));
}

// The edited text goes back first, so that leaving a cell commits it.
void TCustomGrid::HideEdit()
{
    if (FInplaceEdit == nullptr)
        return;
    struct THide {
        TCustomGrid* Grid;
        ~THide()
        {
            Grid->FInplaceCol = -1;
            Grid->FInplaceRow = -1;
            Grid->FInplaceEdit->Hide();
        }
    } Hide{this};
    UpdateText();
}

void TCustomGrid::ShowEditor()
{
    FEditorMode = true;
    UpdateEdit();
}

void TCustomGrid::HideEditor()
{
    FEditorMode = false;
    HideEdit();
}

void TCustomGrid::SetEditorMode(bool Value)
{
    if (!Value) {
        HideEditor();
        return;
    }
    ShowEditor();
    if (FInplaceEdit != nullptr)
        FInplaceEdit->Deselect();
}

// The character reaches the editor after it was loaded and selected all, so it replaces the
// text; typing with no editor to show leaves the character to the grid's key press.
void TCustomGrid::ShowEditorChar(char Ch)
{
    ShowEditor();
    if (FInplaceEdit != nullptr && FInplaceEdit->Visible())
        PostMessage(FInplaceEdit->Handle(), WM_CHAR, static_cast<unsigned char>(Ch), 0);
}

void TCustomGrid::InvalidateEditor()
{
    FInplaceCol = -1;
    FInplaceRow = -1;
    UpdateEdit();
}

// Escape: the cell gets back the text the editor was loaded with, exactly, when an edit
// changed it; the editor hides unless it always shows.
void TCustomGrid::CancelEdit()
{
    if (FInplaceEdit == nullptr || FInplaceCol == -1 || !FInplaceEdit->Visible())
        return;
    if (FEditChanged) {
        FLoadingEditor = true;
        try {
            FInplaceEdit->SetText(FInplaceOriginal);
        } catch (...) {
            FLoadingEditor = false;
            throw;
        }
        FLoadingEditor = false;
        FInplaceEdit->SetModified(false);
        FEditChanged = false;
        SetEditText(FInplaceCol, FInplaceRow, FInplaceOriginal);
    }
    if (FOptions.Contains(goAlwaysShowEditor)) {
        FInplaceEdit->SelectAll();
        return;
    }
    FEditorMode = false;
    FInplaceCol = -1;
    FInplaceRow = -1;
    FInplaceEdit->Hide();
}

void TCustomGrid::WMCommand(TMessage& Message)
{
    if (FInplaceEdit != nullptr && FInplaceEdit->HandleAllocated() &&
        static_cast<HWND>(Message.LParam) == FInplaceEdit->Handle() &&
        HiWord(Message.WParam) == EN_CHANGE && !FLoadingEditor) {
        FEditChanged = true;
        UpdateText();
    }
    Inherited(Message);
}

void TCustomGrid::WMChar(TMessage& Message)
{
    const auto Ch = static_cast<unsigned char>(Message.WParam & 0xFF);
    if (FOptions.Contains(goEditing) && (Ch == 8 || Ch >= 32)) {
        ShowEditorChar(static_cast<char>(Ch));
        if (FInplaceEdit != nullptr && FInplaceEdit->Visible())
            return;
    }
    Inherited(Message);
}

// Enter shows the editor, or ends the edit (unless the editor always shows).
void TCustomGrid::KeyPress(char& Key)
{
    TCustomControl::KeyPress(Key);
    if (!FOptions.Contains(goAlwaysShowEditor) && Key == 13) {
        if (FEditorMode)
            HideEditor();
        else
            ShowEditor();
        Key = 0;
    }
}

void TCustomGrid::WMLButtonDown(TMessage& Message)
{
    Inherited(Message);
    if (FInplaceEdit != nullptr)
        FInplaceEdit->FClickTime = GetMessageTime();
}
