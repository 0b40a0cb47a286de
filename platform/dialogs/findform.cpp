// platform/dialogs/findform.cpp: the find and replace form, laid out by kind and options.
#include "platform/dialogs/findform.h"

#include "platform/stdctrls/buttons.h"
#include "platform/stdctrls/checkbox.h"
#include "platform/stdctrls/edit.h"
#include "platform/stdctrls/groupbox.h"
#include "platform/stdctrls/label.h"
#include "platform/stdctrls/radiobutton.h"
#include "platform/ui/screen.h"
#include "platform/ui/sysmetrics.h"
#include "platform/ui/window.h"

#include <algorithm>

namespace {

// The option bits (as TFindOption numbers them).
enum : int {
    DownBit = 0,
    FindNextBit = 1,
    HideMatchCaseBit = 2,
    HideWholeWordBit = 3,
    HideUpDownBit = 4,
    MatchCaseBit = 5,
    DisableMatchCaseBit = 6,
    DisableUpDownBit = 7,
    DisableWholeWordBit = 8,
    ReplaceBit = 9,
    ReplaceAllBit = 10,
    WholeWordBit = 11,
};

constexpr unsigned Bit(int N)
{
    return 1u << N;
}

constexpr int ButtonX = 268;
constexpr int ButtonW = 75;

} // namespace

TFindForm::TFindForm(TComponent* AOwner, const TDialogRequest& Request, HWND OwnerWindow)
    : TDialogForm(AOwner, OwnerWindow), FRequest(Request)
{
    const bool Replacing = Request.Kind == TDialogKind::Replace;
    const unsigned Options = Request.Options;
    SetBorderStyle(bsDialog);
    SetBorderIcons(TBorderIcons{biSystemMenu});
    SetColor(clBtnFace);
    SetCaption(Replacing ? "Replace" : "Find");
    // The lists and combo boxes keep their items and selection in their windows.
    HandleNeeded();
    SetClientWidth(351);
    SetClientHeight(Replacing ? 126 : 96);

    auto AddLabel = [this](const char* Name, const std::string& Caption, int Y) {
        auto* Label = new TLabel(this);
        Label->SetName(Name);
        Label->SetParent(this);
        Label->SetCaption(Caption);
        Label->SetLeft(8);
        Label->SetTop(Y);
        return Label;
    };
    const int EditX = Replacing ? 88 : 72;
    const int EditW = 260 - EditX;
    TLabel* FindLabel = AddLabel("FindLabel", "Fi&nd what:", 12);
    FFindEdit = new TEdit(this);
    FFindEdit->SetName("FindText");
    FFindEdit->SetParent(this);
    FFindEdit->SetBounds(EditX, 8, EditW, 21);
    FFindEdit->SetText(Request.Value);
    FFindEdit->OnChange = [this](TObject*) { UpdateButtons(); };
    FindLabel->SetFocusControl(FFindEdit);
    int Y = 40;
    if (Replacing) {
        TLabel* ReplaceLabel = AddLabel("ReplaceLabel", "Re&place with:", 40);
        FReplaceEdit = new TEdit(this);
        FReplaceEdit->SetName("ReplaceText");
        FReplaceEdit->SetParent(this);
        FReplaceEdit->SetBounds(EditX, 36, EditW, 21);
        FReplaceEdit->SetText(Request.ReplaceText);
        ReplaceLabel->SetFocusControl(FReplaceEdit);
        Y = 70;
    }

    auto AddCheck = [this](const char* Name, const std::string& Caption, int Top, bool Checked,
                           bool Hidden, bool Disabled) {
        auto* Check = new TCheckBox(this);
        Check->SetName(Name);
        Check->SetParent(this);
        Check->SetCaption(Caption);
        Check->SetBounds(8, Top, 140, 17);
        Check->SetChecked(Checked);
        Check->SetVisible(!Hidden);
        Check->SetEnabled(!Disabled);
        return Check;
    };
    FWholeWord =
        AddCheck("WholeWord", "Match &whole word only", Y + 6, (Options & Bit(WholeWordBit)) != 0,
                 (Options & Bit(HideWholeWordBit)) != 0, (Options & Bit(DisableWholeWordBit)) != 0);
    FMatchCase =
        AddCheck("MatchCase", "Match &case", Y + 28, (Options & Bit(MatchCaseBit)) != 0,
                 (Options & Bit(HideMatchCaseBit)) != 0, (Options & Bit(DisableMatchCaseBit)) != 0);

    if (!Replacing) {
        FDirection = new TGroupBox(this);
        FDirection->SetName("Direction");
        FDirection->SetParent(this);
        FDirection->SetCaption("Direction");
        FDirection->SetBounds(152, 36, 108, 44);
        FDirection->SetVisible((Options & Bit(HideUpDownBit)) == 0);
        FDirection->SetEnabled((Options & Bit(DisableUpDownBit)) == 0);
        auto AddRadio = [this](const char* Name, const std::string& Caption, int X, bool On) {
            auto* Radio = new TRadioButton(this);
            Radio->SetName(Name);
            Radio->SetParent(FDirection);
            Radio->SetCaption(Caption);
            Radio->SetBounds(X, 18, 46, 17);
            Radio->SetChecked(On);
            return Radio;
        };
        const bool Down = (Options & Bit(DownBit)) != 0;
        FUp = AddRadio("Up", "&Up", 8, !Down);
        FDown = AddRadio("Down", "&Down", 56, Down);
    }

    auto AddButton = [this](const char* Name, const std::string& Caption, int Top) {
        auto* Button = new TButton(this);
        Button->SetName(Name);
        Button->SetParent(this);
        Button->SetCaption(Caption);
        Button->SetBounds(ButtonX, Top, ButtonW, 23);
        return Button;
    };
    FFindNext = AddButton("FindNext", "&Find Next", 8);
    FFindNext->SetDefault(true);
    FFindNext->OnClick = [this](TObject*) { Report(FindNextBit); };
    int ButtonY = 36;
    if (Replacing) {
        FReplace = AddButton("Replace", "&Replace", ButtonY);
        FReplace->OnClick = [this](TObject*) { Report(ReplaceBit); };
        FReplaceAll = AddButton("ReplaceAll", "Replace &All", ButtonY + 28);
        FReplaceAll->OnClick = [this](TObject*) { Report(ReplaceAllBit); };
        ButtonY += 56;
    }
    FCancel = AddButton("Cancel", "Cancel", ButtonY);
    FCancel->SetCancel(true);
    FCancel->OnClick = [this](TObject*) { Close(); };
    UpdateButtons();
    SetActiveControl(FFindEdit);
    FFindEdit->SelectAll();

    PlaceOverOwner(Request.Left, Request.Top);
}

void TFindForm::UpdateButtons()
{
    const bool Any = !FFindEdit->Text().empty();
    FFindNext->SetEnabled(Any);
    if (FReplace != nullptr) {
        FReplace->SetEnabled(Any);
        FReplaceAll->SetEnabled(Any);
    }
}

TDialogAnswer TFindForm::State(int Result, int Action) const
{
    TDialogAnswer Answer;
    Answer.Result = Result;
    Answer.Value = FFindEdit->Text();
    if (FReplaceEdit != nullptr)
        Answer.ReplaceText = FReplaceEdit->Text();
    unsigned Options =
        FRequest.Options & ~(Bit(DownBit) | Bit(FindNextBit) | Bit(MatchCaseBit) | Bit(ReplaceBit) |
                             Bit(ReplaceAllBit) | Bit(WholeWordBit));
    // The replace dialog searches down.
    if (FDown == nullptr || FDown->Checked())
        Options |= Bit(DownBit);
    if (FMatchCase->Checked())
        Options |= Bit(MatchCaseBit);
    if (FWholeWord->Checked())
        Options |= Bit(WholeWordBit);
    if (Action >= 0)
        Options |= Bit(Action);
    Answer.Options = Options;
    return Answer;
}

void TFindForm::Report(int Action)
{
    if (FRequest.OnNotify)
        FRequest.OnNotify(State(mrOk, Action));
}

void TFindForm::DoClose(TCloseAction& Action)
{
    TForm::DoClose(Action);
    Action = caFree;
    // Told once: the dialog may be gone after this.
    TDialogNotifyEvent Notify = std::move(FRequest.OnNotify);
    FRequest.OnNotify = nullptr;
    if (Notify)
        Notify(State(mrCancel, -1));
}
