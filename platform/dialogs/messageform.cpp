// platform/dialogs/messageform.cpp: building and laying out one box's form.
#include "platform/dialogs/messageform.h"

#include "platform/gfx/textlayout.h"
#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/image.h"
#include "platform/stdctrls/label.h"
#include "platform/ui/screen.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/window.h"

#include <algorithm>

namespace {

constexpr int Margin = 12;        // around the contents
constexpr int IconGap = 12;       // between the picture and the text
constexpr int TextToButtons = 16; // between the text (or the edit) and the buttons
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
constexpr int ButtonGap = 6;
constexpr int InputWidth = 260; // an input box's edit field at least
constexpr int CaptionRoom = 60; // the close box and the frame beside the caption
constexpr int HelpResult = -1;  // the Help button's place in the list; it closes nothing

bool IsInput(TDialogKind Kind)
{
    return Kind == TDialogKind::InputBox || Kind == TDialogKind::InputQuery;
}

bool Has(const std::vector<int>& Buttons, int Result)
{
    return std::find(Buttons.begin(), Buttons.end(), Result) != Buttons.end();
}

TRect WorkArea()
{
    TRect Work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0);
    return Work;
}

const char* ButtonName(int Result)
{
    switch (Result) {
    case mrOk:
        return "OK";
    case mrCancel:
        return "Cancel";
    case mrAbort:
        return "Abort";
    case mrRetry:
        return "Retry";
    case mrIgnore:
        return "Ignore";
    case mrYes:
        return "Yes";
    case mrNo:
        return "No";
    case mrAll:
        return "All";
    case mrNoToAll:
        return "NoToAll";
    case mrYesToAll:
        return "YesToAll";
    default:
        return "Help";
    }
}

} // namespace

int EscapeDialogResult(const TDialogRequest& Request)
{
    const std::vector<int> Buttons = DialogButtons(Request);
    if (Has(Buttons, mrCancel))
        return mrCancel;
    switch (Request.Kind) {
    case TDialogKind::MessageBox:
        return Buttons.size() == 1 && Buttons.front() == IDOK ? IDOK : mrNone;
    case TDialogKind::MessageDlg:
        return Has(Buttons, mrNo) ? mrNo : Has(Buttons, mrOk) ? mrOk : mrNone;
    case TDialogKind::ShowMessage:
        return mrOk;
    case TDialogKind::InputBox:
    case TDialogKind::InputQuery:
    case TDialogKind::OpenFile:
    case TDialogKind::SaveFile:
    case TDialogKind::Color:
    case TDialogKind::Font:
    case TDialogKind::Find:
    case TDialogKind::Replace:
    case TDialogKind::BrowseFolder:
    case TDialogKind::Print:
    case TDialogKind::PrinterSetup:
    case TDialogKind::PageSetup:
        return mrCancel;
    }
    return mrNone;
}

const TMessageMap& TMessageForm::ClassMessageMap()
{
    static constexpr auto Handlers = SortMessageHandlers({
        OnMessage<&TMessageForm::WMClose>(WM_CLOSE),
    });
    static constexpr TMessageMap Map{Handlers, &TForm::ClassMessageMap};
    return Map;
}

std::string TMessageForm::ButtonCaption(int Result)
{
    switch (Result) {
    case mrOk:
        return "OK";
    case mrCancel:
        return "Cancel";
    case mrAbort:
        return "&Abort";
    case mrRetry:
        return "&Retry";
    case mrIgnore:
        return "&Ignore";
    case mrYes:
        return "&Yes";
    case mrNo:
        return "&No";
    case mrAll:
        return "&All";
    case mrNoToAll:
        return "N&o to All";
    case mrYesToAll:
        return "Yes to &All";
    default:
        return "&Help";
    }
}

TMessageForm::TMessageForm(TComponent* AOwner, const TDialogRequest& Request, HWND OwnerWindow)
    : TForm(AOwner), FKind(Request.Kind), FValue(Request.Value), FOwnerWindow(OwnerWindow)
{
    SetBorderStyle(bsDialog);
    FEscapeResult = EscapeDialogResult(Request);
    // Without an answer for it, the close box is not offered and WM_CLOSE does nothing.
    SetBorderIcons(FEscapeResult == mrNone ? TBorderIcons{} : TBorderIcons{biSystemMenu});
    SetColor(clBtnFace);
    std::string Caption = Request.Caption;
    if (Caption.empty() && Application != nullptr)
        Caption = Application->Title();
    SetCaption(Caption);

    FBoxIcon = BoxIconOf(Request);
    if (auto Picture = BoxIconBitmap(FBoxIcon, clBtnFace)) {
        FImage = new TImage(this);
        FImage->SetName("Image");
        FImage->SetParent(this);
        FImage->Picture()->SetBitmap(Picture.get());
    }
    FMessage = new TLabel(this);
    FMessage->SetName(IsInput(FKind) ? "Prompt" : "Message");
    FMessage->SetParent(this);
    // A message is shown as written; an input box's prompt may name the field's accelerator.
    FMessage->SetShowAccelChar(IsInput(FKind));
    FMessage->SetCaption(Request.Text);
    if (IsInput(FKind)) {
        FEdit = new TEdit(this);
        FEdit->SetName("Edit");
        FEdit->SetParent(this);
        FEdit->SetText(Request.Value);
        FMessage->SetFocusControl(FEdit);
    }
    AddButtons(Request);
    Arrange(Request, OwnerWindow);
}

void TMessageForm::AddButtons(const TDialogRequest& Request)
{
    std::vector<int> Results = DialogButtons(Request);
    if (Request.Kind == TDialogKind::MessageDlg && Request.Buttons.Contains(mbHelp))
        Results.push_back(HelpResult);
    const int Default = DefaultDialogResult(Request);
    for (int Result : Results) {
        auto* Button = new TButton(this);
        Button->SetName(ButtonName(Result));
        Button->SetParent(this);
        Button->SetCaption(ButtonCaption(Result));
        if (Result == HelpResult) {
            const int HelpCtx = Request.HelpCtx;
            Button->OnClick = [HelpCtx](TObject*) {
                if (Application != nullptr)
                    Application->HelpContext(HelpCtx);
            };
        } else {
            Button->SetModalResult(Result);
        }
        Button->SetDefault(Result == Default);
        Button->SetCancel(Result == FEscapeResult);
        FButtons.push_back(Button);
    }
}

void TMessageForm::Arrange(const TDialogRequest& Request, HWND OwnerWindow)
{
    HandleNeeded();
    const TRect Work = WorkArea();
    // The frame and caption around the client area.
    const int FrameWidth = Width() - ClientWidth();
    const int FrameHeight = Height() - ClientHeight();

    TBitmap Measure;
    Measure.SetSize(1, 1);
    TCanvas* Canvas = Measure.Canvas();
    Canvas->SetFont(Font());

    std::vector<int> Widths;
    int ButtonsWidth = 0;
    for (TButton* Button : FButtons) {
        const int W = std::max(ButtonWidth, Canvas->TextWidth(Button->Caption()) + 16);
        Widths.push_back(W);
        ButtonsWidth += W + (ButtonsWidth > 0 ? ButtonGap : 0);
    }
    const int IconRoom = FImage != nullptr ? BoxIconSize + IconGap : 0;
    // The text wraps at three quarters of the work area at most.
    const int MaxClient = Work.Width() * 3 / 4 - FrameWidth;
    const int MaxText = std::max(40, MaxClient - 2 * Margin - IconRoom);
    const unsigned Format = DT_CALCRECT | DT_EXPANDTABS | (IsInput(FKind) ? 0u : DT_NOPREFIX);
    // The widest of the text's own lines; wider than the limit, it wraps there.
    TRect TextRect = Rect(0, 0, MaxText, 0);
    if (!Request.Text.empty())
        Canvas->DrawText(Request.Text, TextRect, Format);
    const int TextWidth = std::min(TextRect.Width(), MaxText);
    TextRect = Rect(0, 0, TextWidth, 0);
    if (!Request.Text.empty())
        Canvas->DrawText(Request.Text, TextRect, Format | DT_WORDBREAK);
    int TextHeight = TextRect.Height();

    int ClientW = std::max({IconRoom + TextWidth, ButtonsWidth,
                            Canvas->TextWidth(Caption()) + CaptionRoom - FrameWidth});
    if (FEdit != nullptr)
        ClientW = std::max(ClientW, InputWidth);
    ClientW = std::min(ClientW + 2 * Margin, std::max(MaxClient, ButtonsWidth + 2 * Margin));

    const int EditHeight = FEdit != nullptr ? FEdit->Height() : 0;
    const int EditRoom = FEdit != nullptr ? EditHeight + 6 : 0;
    auto ContentHeight = [&] {
        return std::max(FImage != nullptr ? BoxIconSize : 0, TextHeight + EditRoom);
    };
    int ClientH = Margin + ContentHeight() + TextToButtons + ButtonHeight + Margin;
    // A text too long for the work area is cut off at its bottom.
    const int MaxClientH = Work.Height() - FrameHeight;
    if (ClientH > MaxClientH) {
        TextHeight = std::max(0, TextHeight - (ClientH - MaxClientH));
        ClientH = MaxClientH;
    }
    SetClientWidth(ClientW);
    SetClientHeight(ClientH);

    if (FImage != nullptr)
        FImage->SetBounds(Margin, Margin, BoxIconSize, BoxIconSize);
    FMessage->SetAutoSize(false);
    FMessage->SetWordWrap(true);
    const int TextLeft = Margin + IconRoom;
    // A short text sits level with the middle of the picture.
    const int TextTop = FImage != nullptr && TextHeight < BoxIconSize
                            ? Margin + (BoxIconSize - TextHeight) / 2
                            : Margin;
    FMessage->SetBounds(TextLeft, TextTop, std::min(TextWidth, ClientW - TextLeft - Margin),
                        TextHeight);
    if (FEdit != nullptr) {
        FEdit->SetBounds(Margin, Margin + TextHeight + 6, ClientW - 2 * Margin, EditHeight);
        FEdit->SetTabOrder(0);
    }
    int X = (ClientW - ButtonsWidth) / 2;
    const int Y = ClientH - Margin - ButtonHeight;
    for (std::size_t I = 0; I < FButtons.size(); ++I) {
        FButtons[I]->SetBounds(X, Y, Widths[I], ButtonHeight);
        X += Widths[I] + ButtonGap;
    }

    // Over the owner's window, else in the middle of the work area; always on the work area.
    TRect Over = Work;
    if (OwnerWindow != 0 && IsWindowVisible(OwnerWindow))
        GetWindowRect(OwnerWindow, Over);
    int Left = Over.Left + (Over.Width() - Width()) / 2;
    int Top = Over.Top + (Over.Height() - Height()) / 2;
    Left = std::max(Work.Left, std::min(Left, Work.Right - Width()));
    Top = std::max(Work.Top, std::min(Top, Work.Bottom - Height()));
    SetBounds(Left, Top, Width(), Height());

    if (FEdit != nullptr) {
        FEdit->SelectAll();
        SetActiveControl(FEdit);
    } else if (TButton* Default = ButtonOf(DefaultDialogResult(Request))) {
        SetActiveControl(Default);
    }
}

void TMessageForm::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    if (FOwnerWindow != 0)
        Params.WndParent = FOwnerWindow;
}

TButton* TMessageForm::ButtonOf(int Result) const
{
    for (TButton* Button : FButtons)
        if (Button->ModalResult() == Result && Result != mrNone)
            return Button;
    return nullptr;
}

TDialogAnswer TMessageForm::Answer() const
{
    TDialogAnswer Result;
    Result.Result = ModalResult();
    if (FEdit != nullptr)
        Result.Value = Result.Result == mrOk ? FEdit->Text() : FValue;
    return Result;
}

// The close box and SC_CLOSE answer as Escape does; without such an answer nothing happens.
void TMessageForm::WMClose(TMessage&)
{
    if (FEscapeResult != mrNone)
        SetModalResult(FEscapeResult);
}
