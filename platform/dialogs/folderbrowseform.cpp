// platform/dialogs/folderbrowseform.cpp: the folder-browse dialog's form and its folder tree.
#include "platform/dialogs/folderbrowseform.h"

#include "platform/rtl/files.h"
#include "platform/rtl/strings.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/label.h"
#include "platform/stdctrls/panel.h"
#include "platform/ui/input.h"
#include "platform/ui/shellfolders.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/window.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

constexpr int ClientW = 320;
constexpr int ButtonW = 75;
constexpr int ButtonH = 25;

std::string Normal(const std::string& Path)
{
    std::string Result = std::filesystem::path(Path).lexically_normal().string();
    while (Result.size() > 1 && Result.back() == '/')
        Result.pop_back();
    return Result.empty() ? std::string("/") : Result;
}

std::string Join(const std::string& Folder, const std::string& Name)
{
    return Folder == "/" ? "/" + Name : Folder + "/" + Name;
}

struct TListed {
    std::string Name;
    bool Folder;
};

// The visible entries of a folder, folders first, each group by name regardless of case.
std::vector<TListed> ListFolder(const std::string& Path, bool IncludeFiles)
{
    std::vector<TListed> Result;
    std::error_code Error;
    for (std::filesystem::directory_iterator It(Path, Error), End; !Error && It != End;
         It.increment(Error)) {
        const std::string Name = It->path().filename().string();
        if (Name.empty() || Name.front() == '.')
            continue;
        std::error_code Ignored;
        const bool Folder = It->is_directory(Ignored);
        if (Folder || IncludeFiles)
            Result.push_back(TListed{Name, Folder});
    }
    std::sort(Result.begin(), Result.end(), [](const TListed& A, const TListed& B) {
        if (A.Folder != B.Folder)
            return A.Folder;
        const int Order = CompareText(A.Name, B.Name);
        return Order != 0 ? Order < 0 : A.Name < B.Name;
    });
    return Result;
}

// A folder picture: a tab and a body, open or closed.
void DrawFolderPicture(TCanvas* C, int X, int Y, bool Open)
{
    C->Pen()->SetColor(clBlack);
    C->Brush()->SetColor(RGB(255, 216, 96));
    C->Rectangle(X, Y + 3, X + 14, Y + 13);
    C->Rectangle(X, Y + 1, X + 6, Y + 4);
    if (Open) {
        C->Brush()->SetColor(RGB(255, 240, 160));
        C->Rectangle(X + 2, Y + 6, X + 15, Y + 13);
    }
}

} // namespace

// ---- the tree

TFolderTree::TFolderTree(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetTabStop(true);
    SetColor(clWindow);
}

const TMessageMap& TFolderTree::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TFolderTree::WMGetDlgCode>(WM_GETDLGCODE),
    });
    static constexpr TMessageMap Map{Handlers, &TCustomControl::ClassMessageMap};
    return Map;
}

void TFolderTree::WMGetDlgCode(TMessage& Message)
{
    Message.Result = DLGC_WANTARROWS;
}

void TFolderTree::SetRoot(const std::string& Path, bool IncludeFiles)
{
    FIncludeFiles = IncludeFiles;
    const std::string Root = Normal(Path);
    TNode Node;
    Node.Path = Root;
    Node.Name = Root == "/" ? "/" : ExtractFileName(Root);
    FNodes.assign(1, Node);
    FTop = 0;
    Expand(0);
    Highlight(0);
}

std::string TFolderTree::PathAt(int Index) const
{
    return Index >= 0 && Index < Count() ? FNodes[Index].Path : std::string();
}

std::string TFolderTree::Selected() const
{
    return PathAt(FSelected);
}

TRect TFolderTree::RowRect(int Index) const
{
    const int Y = 2 + (Index - FTop) * RowHeight;
    return Rect(2, Y, ClientWidth() - 2, Y + RowHeight);
}

void TFolderTree::Expand(int Index)
{
    TNode& Node = FNodes[Index];
    if (Node.Expanded || !Node.Folder)
        return;
    Node.Expanded = true;
    std::vector<TNode> Children;
    for (const TListed& Entry : ListFolder(Node.Path, FIncludeFiles)) {
        TNode Child;
        Child.Path = Join(Node.Path, Entry.Name);
        Child.Name = Entry.Name;
        Child.Depth = Node.Depth + 1;
        Child.Folder = Entry.Folder;
        Children.push_back(Child);
    }
    FNodes.insert(FNodes.begin() + Index + 1, Children.begin(), Children.end());
    Invalidate();
}

void TFolderTree::Collapse(int Index)
{
    TNode& Node = FNodes[Index];
    if (!Node.Expanded)
        return;
    Node.Expanded = false;
    int End = Index + 1;
    while (End < Count() && FNodes[End].Depth > Node.Depth)
        ++End;
    if (FSelected > Index && FSelected < End)
        FSelected = Index;
    else if (FSelected >= End)
        FSelected -= End - Index - 1;
    FNodes.erase(FNodes.begin() + Index + 1, FNodes.begin() + End);
    Invalidate();
}

void TFolderTree::Toggle(int Index)
{
    if (Index < 0 || Index >= Count())
        return;
    if (FNodes[Index].Expanded)
        Collapse(Index);
    else
        Expand(Index);
}

void TFolderTree::Highlight(int Index)
{
    if (Index < 0 || Index >= Count())
        return;
    const int Rows = std::max(1, (ClientHeight() - 4) / RowHeight);
    if (Index < FTop)
        FTop = Index;
    else if (Index >= FTop + Rows)
        FTop = Index - Rows + 1;
    const bool Changed = Index != FSelected;
    FSelected = Index;
    Invalidate();
    if (Changed && OnChange)
        OnChange(this);
}

bool TFolderTree::Select(const std::string& Path)
{
    if (FNodes.empty())
        return false;
    const std::string Target = Normal(Path);
    const std::string& Root = FNodes.front().Path;
    if (Target != Root &&
        Target.compare(0, Root == "/" ? 1 : Root.size() + 1, Root == "/" ? "/" : Root + "/") != 0)
        return false;
    int Index = 0;
    while (FNodes[Index].Path != Target) {
        Expand(Index);
        int Next = -1;
        for (int I = Index + 1; I < Count() && FNodes[I].Depth > FNodes[Index].Depth; ++I) {
            const std::string& P = FNodes[I].Path;
            if (FNodes[I].Depth == FNodes[Index].Depth + 1 &&
                (Target == P || Target.compare(0, P.size() + 1, P + "/") == 0)) {
                Next = I;
                break;
            }
        }
        if (Next < 0)
            return false;
        Index = Next;
    }
    Highlight(Index);
    return true;
}

void TFolderTree::Paint()
{
    TCanvas* C = Canvas();
    TRect Area = ClientRect();
    C->Brush()->SetColor(clWindow);
    C->FillRect(Area);
    C->DrawEdge(Area, EDGE_SUNKEN, BF_RECT);
    for (int I = FTop; I < Count(); ++I) {
        const TRect Row = RowRect(I);
        if (Row.Top >= ClientHeight() - 2)
            break;
        const TNode& Node = FNodes[I];
        const int X = Row.Left + 2 + Node.Depth * Indent;
        if (Node.Folder)
            DrawFolderPicture(C, X, Row.Top + 2, Node.Expanded);
        const int TextX = X + 18;
        const int TextW = C->TextWidth(Node.Name) + 4;
        const TRect Text =
            Rect(TextX, Row.Top + 1, std::min(Row.Right, TextX + TextW), Row.Bottom - 1);
        const bool Chosen = I == FSelected;
        C->Brush()->SetColor(Chosen ? clHighlight : clWindow);
        C->Font()->SetColor(Chosen ? clHighlightText : clWindowText);
        C->FillRect(Text);
        C->TextOut(TextX + 2, Row.Top + (RowHeight - C->TextHeight(Node.Name)) / 2, Node.Name);
        if (Chosen && Focused())
            C->DrawFocusRect(Text);
    }
}

void TFolderTree::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (CanFocus())
        SetFocus();
    const int Index = FTop + (Y - 2) / RowHeight;
    if (Y >= 2 && Index < Count())
        Highlight(Index);
}

void TFolderTree::DblClick()
{
    TCustomControl::DblClick();
    Toggle(FSelected);
}

void TFolderTree::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    switch (Key) {
    case VK_UP:
        Highlight(std::max(0, FSelected - 1));
        break;
    case VK_DOWN:
        Highlight(std::min(Count() - 1, FSelected + 1));
        break;
    case VK_RIGHT:
        if (FSelected >= 0)
            Expand(FSelected);
        break;
    case VK_LEFT:
        if (FSelected >= 0 && FNodes[FSelected].Expanded) {
            Collapse(FSelected);
        } else if (FSelected > 0) {
            int Parent = FSelected - 1;
            while (Parent > 0 && FNodes[Parent].Depth >= FNodes[FSelected].Depth)
                --Parent;
            Highlight(Parent);
        }
        break;
    default:
        return;
    }
    Key = 0;
}

// ---- the form

TFolderBrowseForm::TFolderBrowseForm(TComponent* AOwner, const TDialogRequest& Request,
                                     HWND OwnerWindow)
    : TDialogForm(AOwner, OwnerWindow), FRequest(Request)
{
    SetBorderStyle(bsDialog);
    SetBorderIcons(TBorderIcons{biSystemMenu});
    SetColor(clBtnFace);
    SetCaption(!Request.Caption.empty() ? Request.Caption : "Browse for Folder");
    HandleNeeded();
    const bool Status = (Request.Options & BIF_STATUSTEXT) != 0;
    int Y = 8;

    FTitle = new TLabel(this);
    FTitle->SetName("Title");
    FTitle->SetParent(this);
    FTitle->SetWordWrap(true);
    FTitle->SetAutoSize(false);
    FTitle->SetBounds(12, Y, ClientW - 24, 30);
    FTitle->SetCaption(Request.Text);
    Y += 34;

    if (Status) {
        FStatus = new TPanel(this);
        FStatus->SetName("Status");
        FStatus->SetParent(this);
        FStatus->SetBevelOuter(bvNone);
        FStatus->SetAlignment(taLeftJustify);
        FStatus->SetCaption("");
        FStatus->SetBounds(12, Y, ClientW - 24, 16);
        SetWindowLong(FStatus->Handle(), GWL_ID, IDC_BROWSE_STATUS);
        Y += 20;
    }

    FTree = new TFolderTree(this);
    FTree->SetName("Tree");
    FTree->SetParent(this);
    FTree->SetBounds(12, Y, ClientW - 24, 200);
    Y += 210;

    FOk = new TButton(this);
    FOk->SetName("OK");
    FOk->SetParent(this);
    FOk->SetCaption("OK");
    FOk->SetBounds(ClientW - 12 - 2 * ButtonW - 8, Y, ButtonW, ButtonH);
    FOk->SetDefault(true);
    FOk->SetModalResult(mrOk);
    SetWindowLong(FOk->Handle(), GWL_ID, IDOK);

    FCancel = new TButton(this);
    FCancel->SetName("Cancel");
    FCancel->SetParent(this);
    FCancel->SetCaption("Cancel");
    FCancel->SetBounds(ClientW - 12 - ButtonW, Y, ButtonW, ButtonH);
    FCancel->SetCancel(true);
    FCancel->SetModalResult(mrCancel);
    SetWindowLong(FCancel->Handle(), GWL_ID, IDCANCEL);

    SetClientWidth(ClientW);
    SetClientHeight(Y + ButtonH + 10);
    FTree->SetRoot(Request.Value.empty() ? std::string("/") : Request.Value,
                   (Request.Options & BIF_BROWSEINCLUDEFILES) != 0);
    FTree->OnChange = [this](TObject*) { SelectionChanged(); };
    SetActiveControl(FTree);
    PlaceOverOwner();
}

const TMessageMap& TFolderBrowseForm::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TFolderBrowseForm::BFFMSetStatusText>(BFFM_SETSTATUSTEXT),
        OnMessage<&TFolderBrowseForm::BFFMEnableOk>(BFFM_ENABLEOK),
        OnMessage<&TFolderBrowseForm::BFFMSetSelection>(BFFM_SETSELECTION),
    });
    static constexpr TMessageMap Map{Handlers, &TForm::ClassMessageMap};
    return Map;
}

// The caller hears of the window once, as it first shows, and then of the first highlight.
void TFolderBrowseForm::DoShow()
{
    TForm::DoShow();
    if (FInitialized)
        return;
    FInitialized = true;
    const std::string Before = FTree->Selected();
    if (FRequest.OnBrowse)
        FRequest.OnBrowse(Handle(), BFFM_INITIALIZED, std::string());
    if (FTree->Selected() == Before)
        SelectionChanged();
}

void TFolderBrowseForm::SelectionChanged()
{
    if (FInitialized && FRequest.OnBrowse)
        FRequest.OnBrowse(Handle(), BFFM_SELCHANGED, FTree->Selected());
}

void TFolderBrowseForm::BFFMSetStatusText(TMessage& Message)
{
    if (FStatus != nullptr)
        FStatus->SetCaption(Message.LParam != 0 ? reinterpret_cast<const char*>(Message.LParam)
                                                : "");
}

void TFolderBrowseForm::BFFMEnableOk(TMessage& Message)
{
    FOk->SetEnabled(Message.LParam != 0);
}

void TFolderBrowseForm::BFFMSetSelection(TMessage& Message)
{
    const std::string Path =
        Message.WParam != 0
            ? std::string(Message.LParam != 0 ? reinterpret_cast<const char*>(Message.LParam) : "")
            : PathFromIDList(reinterpret_cast<LPCITEMIDLIST>(Message.LParam));
    Message.Result = !Path.empty() && FTree->Select(Path);
}

TDialogAnswer TFolderBrowseForm::Answer() const
{
    TDialogAnswer Result;
    Result.Result = ModalResult() == mrOk && FOk->Enabled() ? mrOk : mrCancel;
    if (Result.Result == mrOk)
        Result.Value = FTree->Selected();
    return Result;
}
