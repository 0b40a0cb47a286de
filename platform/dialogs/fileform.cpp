// platform/dialogs/fileform.cpp: the open and save dialogs' form: the folder listing, the
// name typed or picked, and the checks before it is taken.
#include "platform/dialogs/fileform.h"

#include "platform/gfx/graphic.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/files.h"
#include "platform/rtl/strings.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/combobox.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/label.h"
#include "platform/stdctrls/listbox.h"
#include "platform/stdctrls/paintbox.h"
#include "platform/stdctrls/panel.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/window.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <system_error>

namespace {

constexpr int ClientW = 460;
constexpr int ClientH = 282;
constexpr int PreviewW = 176;
constexpr int ButtonW = 75;
constexpr int ButtonH = 25;
constexpr int FieldLeft = 96;

// The option bits the form looks at (as TOpenOption numbers them).
constexpr unsigned OverwritePromptBit = 1u << 1;
constexpr unsigned PathMustExistBit = 1u << 8;
constexpr unsigned FileMustExistBit = 1u << 9;
constexpr unsigned EnableSizingBit = 1u << 19;

std::string Normal(const std::string& Path)
{
    std::string Result = std::filesystem::path(Path).lexically_normal().string();
    while (Result.size() > 1 && Result.back() == '/')
        Result.pop_back();
    return Result.empty() ? std::string("/") : Result;
}

std::string Absolute(const std::string& Folder, const std::string& Name)
{
    if (!Name.empty() && Name.front() == '/')
        return Normal(Name);
    return Normal(PathJoin(Folder, Name));
}

bool HasWildcard(const std::string& Text)
{
    return Text.find_first_of("*?") != std::string::npos;
}

} // namespace

std::string FileDialogStartFolder(const TDialogRequest& Request)
{
    if (!Request.InitialDir.empty() && DirectoryExists(Request.InitialDir))
        return Absolute(GetCurrentDir(), Request.InitialDir);
    const std::string Dir = ExtractFileDir(Request.Value);
    if (!Dir.empty() && DirectoryExists(Dir))
        return Absolute(GetCurrentDir(), Dir);
    return Normal(GetCurrentDir());
}

TFileDialogForm::TFileDialogForm(TComponent* AOwner, const TDialogRequest& Request,
                                 HWND OwnerWindow)
    : TDialogForm(AOwner, OwnerWindow), FRequest(Request), FFilters(ParseFileFilter(Request.Filter))
{
    const bool Save = Request.Kind == TDialogKind::SaveFile;
    SetBorderStyle((Request.Options & EnableSizingBit) != 0 ? bsSizeable : bsDialog);
    SetBorderIcons(TBorderIcons{biSystemMenu});
    SetColor(clBtnFace);
    SetCaption(!Request.Caption.empty() ? Request.Caption : Save ? "Save As" : "Open");
    // The lists and combo boxes keep their items and selection in their windows.
    HandleNeeded();
    BuildControls(Save, Request.Preview);
    FFolder = FileDialogStartFolder(Request);
    FFileName->SetText(ExtractFileName(Request.Value));
    FillLookIn();
    FillList();
    SetActiveControl(FFileName);
    FFileName->SelectAll();
    PlaceOverOwner();
}

TFileDialogForm::~TFileDialogForm() = default;

void TFileDialogForm::BuildControls(bool Save, bool Preview)
{
    const int W = ClientW + (Preview ? PreviewW : 0);
    SetClientWidth(W);
    SetClientHeight(ClientH);
    const int ListRight = ClientW - 8;

    TLabel* LookInLabel = AddLabel(this, "LookInLabel", "Look &in:", 8, 12);
    FLookIn = new TComboBox(this);
    FLookIn->SetName("LookIn");
    FLookIn->SetParent(this);
    FLookIn->SetStyle(csDropDownList);
    FLookIn->SetBounds(FieldLeft, 8, ListRight - FieldLeft, FLookIn->Height());
    FLookIn->SetAnchors(TAnchors{akLeft, akTop, akRight});
    FLookIn->OnChange = [this](TObject*) {
        const int Index = FLookIn->ItemIndex();
        if (Index >= 0)
            ChangeFolder(FLookIn->Items()->Strings(Index));
    };
    LookInLabel->SetFocusControl(FLookIn);

    FList = new TListBox(this);
    FList->SetName("List");
    FList->SetParent(this);
    FList->SetStyle(lbOwnerDrawFixed);
    FList->SetItemHeight(18);
    FList->SetIntegralHeight(false);
    FList->SetBounds(8, 38, ListRight - 8, 170);
    FList->SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
    FList->OnDrawItem = [this](TWinControl*, int Index, TRect Rect, TOwnerDrawState State) {
        DrawEntry(Index, Rect, State.Contains(odSelected));
    };
    FList->OnClick = [this](TObject*) { ListClick(); };
    FList->OnDblClick = [this](TObject*) { ListDblClick(); };

    TLabel* NameLabel = AddLabel(this, "FileNameLabel", "File &name:", 8, 222);
    NameLabel->SetAnchors(TAnchors{akLeft, akBottom});
    FFileName = new TEdit(this);
    FFileName->SetName("FileName");
    FFileName->SetParent(this);
    FFileName->SetBounds(FieldLeft, 218, ListRight - ButtonW - 8 - FieldLeft, 21);
    FFileName->SetAnchors(TAnchors{akLeft, akRight, akBottom});
    NameLabel->SetFocusControl(FFileName);

    TLabel* TypeLabel = AddLabel(this, "FileTypeLabel", "Files of &type:", 8, 252);
    TypeLabel->SetAnchors(TAnchors{akLeft, akBottom});
    FFileType = new TComboBox(this);
    FFileType->SetName("FileType");
    FFileType->SetParent(this);
    FFileType->SetStyle(csDropDownList);
    FFileType->SetBounds(FieldLeft, 248, ListRight - ButtonW - 8 - FieldLeft, FFileType->Height());
    FFileType->SetAnchors(TAnchors{akLeft, akRight, akBottom});
    for (const TFileFilter& Entry : FFilters)
        FFileType->Items()->Add(Entry.Description);
    if (!FFilters.empty()) {
        const int Index = FRequest.FilterIndex - 1;
        FFileType->SetItemIndex(Index >= 0 && Index < static_cast<int>(FFilters.size()) ? Index
                                                                                        : 0);
    }
    FFileType->OnChange = [this](TObject*) {
        FTypedMasks.clear();
        FillList();
    };
    TypeLabel->SetFocusControl(FFileType);

    FOk = new TButton(this);
    FOk->SetName("OK");
    FOk->SetParent(this);
    FOk->SetCaption(Save ? "&Save" : "&Open");
    FOk->SetBounds(ListRight - ButtonW, 216, ButtonW, ButtonH);
    FOk->SetAnchors(TAnchors{akRight, akBottom});
    FOk->SetDefault(true);
    FOk->OnClick = [this](TObject*) { OkClick(); };

    FCancel = new TButton(this);
    FCancel->SetName("Cancel");
    FCancel->SetParent(this);
    FCancel->SetCaption("Cancel");
    FCancel->SetBounds(ListRight - ButtonW, 246, ButtonW, ButtonH);
    FCancel->SetAnchors(TAnchors{akRight, akBottom});
    FCancel->SetCancel(true);
    FCancel->SetModalResult(mrCancel);

    if (Preview) {
        FPicture = std::make_unique<TPicture>();
        FPreview = new TPanel(this);
        FPreview->SetName("Preview");
        FPreview->SetParent(this);
        FPreview->SetCaption("");
        FPreview->SetBevelOuter(bvLowered);
        FPreview->SetBounds(ClientW, 38, PreviewW - 8, 170);
        FPreview->SetAnchors(TAnchors{akTop, akRight, akBottom});
        FPreviewBox = new TPaintBox(this);
        FPreviewBox->SetName("PreviewBox");
        FPreviewBox->SetParent(FPreview);
        FPreviewBox->SetAlign(alClient);
        FPreviewBox->OnPaint = [this](TObject*) { PaintPreview(); };
        FPreviewLabel = AddLabel(this, "PreviewLabel", "(None)", ClientW, 216);
        FPreviewLabel->SetAnchors(TAnchors{akRight, akBottom});
    }
}

void TFileDialogForm::FillLookIn()
{
    // The folder and the ones above it, the root first.
    std::vector<std::string> Chain;
    for (std::string Dir = FFolder;;) {
        Chain.insert(Chain.begin(), Dir);
        if (Dir == "/")
            break;
        Dir = Normal(ExtractFileDir(Dir));
    }
    FLookIn->Items()->BeginUpdate();
    FLookIn->Items()->Clear();
    for (const std::string& Dir : Chain)
        FLookIn->Items()->Add(Dir);
    FLookIn->Items()->EndUpdate();
    FLookIn->SetItemIndex(static_cast<int>(Chain.size()) - 1);
}

std::vector<std::string> TFileDialogForm::CurrentMasks() const
{
    if (!FTypedMasks.empty())
        return FTypedMasks;
    const int Index = FFileType->ItemIndex();
    if (Index >= 0 && Index < static_cast<int>(FFilters.size()))
        return FFilters[Index].Masks;
    return {"*"};
}

void TFileDialogForm::FillList()
{
    FEntries.clear();
    if (FFolder != "/")
        FEntries.push_back(TEntry{"..", true});
    std::vector<TEntry> Folders, Files;
    const std::vector<std::string> Masks = CurrentMasks();
    std::error_code Error;
    // An unreadable folder lists as empty.
    for (std::filesystem::directory_iterator It(FFolder, Error), End; !Error && It != End;
         It.increment(Error)) {
        const std::string Name = It->path().filename().string();
        if (Name.empty() || Name.front() == '.') // hidden
            continue;
        std::error_code KindError;
        if (It->is_directory(KindError))
            Folders.push_back(TEntry{Name, true});
        else if (MatchesAnyMask(Name, Masks))
            Files.push_back(TEntry{Name, false});
    }
    auto ByName = [](const TEntry& A, const TEntry& B) {
        const int Order = CompareText(A.Name, B.Name);
        return Order != 0 ? Order < 0 : A.Name < B.Name;
    };
    std::sort(Folders.begin(), Folders.end(), ByName);
    std::sort(Files.begin(), Files.end(), ByName);
    FEntries.insert(FEntries.end(), Folders.begin(), Folders.end());
    FEntries.insert(FEntries.end(), Files.begin(), Files.end());
    FList->Items()->BeginUpdate();
    FList->Items()->Clear();
    for (const TEntry& Entry : FEntries)
        FList->Items()->Add(Entry.Name);
    FList->Items()->EndUpdate();
}

std::vector<std::string> TFileDialogForm::ListedNames() const
{
    std::vector<std::string> Names;
    for (const TEntry& Entry : FEntries)
        Names.push_back(Entry.Name);
    return Names;
}

void TFileDialogForm::ChangeFolder(const std::string& Folder)
{
    const std::string Target = Absolute(FFolder, Folder);
    if (!DirectoryExists(Target))
        return;
    FFolder = Target;
    FillLookIn();
    FillList();
    if (FPicture)
        ShowPreview({});
}

bool TFileDialogForm::EnterSelectedFolder()
{
    const int Index = FList->ItemIndex();
    if (Index < 0 || Index >= static_cast<int>(FEntries.size()) || !FEntries[Index].Folder)
        return false;
    ChangeFolder(FEntries[Index].Name);
    return true;
}

void TFileDialogForm::ListClick()
{
    const int Index = FList->ItemIndex();
    if (Index < 0 || Index >= static_cast<int>(FEntries.size()) || FEntries[Index].Folder)
        return;
    FFileName->SetText(FEntries[Index].Name);
    if (FPicture)
        ShowPreview(PathJoin(FFolder, FEntries[Index].Name));
}

void TFileDialogForm::ListDblClick()
{
    if (!EnterSelectedFolder() && FList->ItemIndex() >= 0)
        OkClick();
}

void TFileDialogForm::OkClick()
{
    // Enter on a folder in the list opens it.
    if (ActiveControl() == FList && EnterSelectedFolder())
        return;
    const std::string Text = Trim(FFileName->Text());
    if (Text.empty())
        return;
    if (HasWildcard(Text)) {
        FTypedMasks = SplitMasks(Text);
        FillList();
        return;
    }
    const std::string Path = Absolute(FFolder, Text);
    if (DirectoryExists(Path)) {
        ChangeFolder(Path);
        FFileName->SetText({});
        return;
    }
    if (Accept(Path))
        SetModalResult(mrOk);
}

// The checks the options ask for; true when Path is taken (FChosen).
bool TFileDialogForm::Accept(const std::string& TypedPath)
{
    std::string Path = TypedPath;
    // The default extension joins a name without one, unless that name is an existing file.
    if (!FRequest.DefaultExt.empty() && ExtractFileExt(Path).empty() && !FileExists(Path))
        Path += "." + FRequest.DefaultExt;
    const unsigned Options = FRequest.Options;
    const bool Save = FRequest.Kind == TDialogKind::SaveFile;
    if ((Options & (PathMustExistBit | FileMustExistBit)) != 0 &&
        !DirectoryExists(ExtractFileDir(Path))) {
        MessageDlg(Path + "\nPath does not exist.\nPlease verify the correct path was given.",
                   mtWarning, TMsgDlgButtons{mbOK}, 0);
        return false;
    }
    if (!Save && (Options & FileMustExistBit) != 0 && !FileExists(Path)) {
        MessageDlg(Path + "\nFile not found.\nPlease verify the correct file name was given.",
                   mtWarning, TMsgDlgButtons{mbOK}, 0);
        return false;
    }
    if (Save && (Options & OverwritePromptBit) != 0 && FileExists(Path) &&
        MessageDlg(Path + " already exists.\nDo you want to replace it?", mtWarning,
                   TMsgDlgButtons{mbYes, mbNo}, 0) != mrYes)
        return false;
    FChosen = Path;
    return true;
}

TDialogAnswer TFileDialogForm::Answer() const
{
    TDialogAnswer Result;
    Result.Result = ModalResult() == mrOk ? mrOk : mrCancel;
    if (Result.Result == mrOk) {
        Result.Value = FChosen;
        Result.FilterIndex = FFileType->ItemIndex() + 1;
    }
    return Result;
}

void TFileDialogForm::DrawEntry(int Index, TRect Rect, bool Selected)
{
    TCanvas* Canvas = FList->Canvas();
    Canvas->Brush()->SetColor(Selected ? clHighlight : clWindow);
    Canvas->FillRect(Rect);
    if (Index < 0 || Index >= static_cast<int>(FEntries.size()))
        return;
    const TEntry& Entry = FEntries[Index];
    // A small folder or page before the name.
    const int X = Rect.Left + 3;
    const int Y = Rect.Top + (Rect.Height() - 12) / 2;
    Canvas->Pen()->SetColor(clBlack);
    if (Entry.Folder) {
        Canvas->Brush()->SetColor(RGB(240, 200, 80));
        Canvas->Rectangle(X, Y + 2, X + 15, Y + 12);
        Canvas->Rectangle(X, Y, X + 6, Y + 3);
    } else {
        Canvas->Brush()->SetColor(clWhite);
        Canvas->Rectangle(X + 2, Y, X + 12, Y + 12);
        Canvas->MoveTo(X + 4, Y + 4);
        Canvas->LineTo(X + 10, Y + 4);
        Canvas->MoveTo(X + 4, Y + 7);
        Canvas->LineTo(X + 10, Y + 7);
    }
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Font()->SetColor(Selected ? clHighlightText : clWindowText);
    TRect Text = Rect;
    Text.Left += 22;
    Canvas->DrawText(Entry.Name, Text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    Canvas->Brush()->SetStyle(bsSolid);
}

void TFileDialogForm::ShowPreview(const std::string& Path)
{
    FPicture->SetGraphic(nullptr);
    if (!Path.empty()) {
        try {
            FPicture->LoadFromFile(Path);
        } catch (const std::exception&) {
            // Not a picture we read: nothing to show.
            FPicture->SetGraphic(nullptr);
        }
    }
    const TGraphic* Graphic = FPicture->Graphic();
    FPreviewLabel->SetCaption(Graphic != nullptr && !Graphic->Empty()
                                  ? IntToStr(FPicture->Width()) + " x " +
                                        IntToStr(FPicture->Height())
                                  : std::string("(None)"));
    FPreviewBox->Invalidate();
}

void TFileDialogForm::PaintPreview()
{
    TCanvas* Canvas = FPreviewBox->Canvas();
    const TRect Box = FPreviewBox->ClientRect();
    Canvas->Brush()->SetColor(clBtnFace);
    Canvas->FillRect(Box);
    TGraphic* Graphic = FPicture->Graphic();
    if (Graphic == nullptr || Graphic->Empty())
        return;
    // Whole, keeping its proportions; never enlarged.
    const int Room = std::min(Box.Width(), Box.Height()) - 8;
    int W = FPicture->Width(), H = FPicture->Height();
    if (W > Room || H > Room) {
        if (W >= H) {
            H = std::max(1, H * Room / W);
            W = Room;
        } else {
            W = std::max(1, W * Room / H);
            H = Room;
        }
    }
    const int X = Box.Left + (Box.Width() - W) / 2;
    const int Y = Box.Top + (Box.Height() - H) / 2;
    Canvas->StretchDraw(Rect(X, Y, X + W, Y + H), Graphic);
}
