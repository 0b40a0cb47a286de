// platform/dialogs/formdialogs.cpp: the service that shows boxes and common dialogs as forms.
#include "platform/dialogs/formdialogs.h"

#include "platform/dialogs/colorform.h"
#include "platform/dialogs/fileform.h"
#include "platform/dialogs/findform.h"
#include "platform/dialogs/folderbrowseform.h"
#include "platform/dialogs/fontform.h"
#include "platform/dialogs/messageform.h"
#include "platform/dialogs/pagesetupform.h"
#include "platform/dialogs/printform.h"
#include "platform/dialogs/printsetupform.h"
#include "platform/ui/displaydriver.h"
#include "platform/ui/input.h"
#include "platform/ui/queue.h"
#include "platform/ui/screen.h"
#include "platform/ui/window.h"

#include <algorithm>
#include <memory>

namespace {

// The form of a common dialog, shown modally; the loop ending without OK (the application
// terminating) cancels.
template <class TDialogForm>
TDialogAnswer ShowModalForm(const TDialogRequest& Request, HWND OwnerWindow)
{
    auto Form = std::make_unique<TDialogForm>(nullptr, Request, OwnerWindow);
    Form->ShowModal();
    TDialogAnswer Answer = Form->Answer();
    if (Answer.Result != mrOk) {
        TDialogAnswer Cancelled;
        Cancelled.Result = mrCancel;
        return Cancelled;
    }
    return Answer;
}

TDialogAnswer ShowMessageForm(const TDialogRequest& Request, HWND OwnerWindow)
{
    auto Form = std::make_unique<TMessageForm>(nullptr, Request, OwnerWindow);
    Form->ShowModal();
    TDialogAnswer Answer = Form->Answer();
    // The loop can end without a button (the application terminating): answer as Escape
    // would, else with the default button, never with a button the box did not have.
    const std::vector<int> Buttons = DialogButtons(Request);
    if (std::find(Buttons.begin(), Buttons.end(), Answer.Result) == Buttons.end()) {
        Answer.Result =
            Form->EscapeResult() != mrNone ? Form->EscapeResult() : DefaultDialogResult(Request);
        if (Form->Edit() != nullptr)
            Answer.Value = Request.Value;
    }
    return Answer;
}

// The modeless find and replace form: owned by the application (freed with it at the latest),
// it frees itself when closed; the answer closes it or brings it to the front by its window.
TDialogAnswer ShowFindForm(const TDialogRequest& Request, HWND OwnerWindow)
{
    auto* Form = new TFindForm(Application, Request, OwnerWindow);
    Form->Show();
    const HWND Wnd = Form->Handle();
    TDialogAnswer Answer = Form->State(mrOk, -1);
    Answer.Close = [Wnd] {
        if (IsWindow(Wnd))
            SendMessage(Wnd, WM_CLOSE, 0, 0);
    };
    Answer.Activate = [Wnd] {
        if (IsWindow(Wnd)) {
            BringWindowToTop(Wnd);
            SetActiveWindow(Wnd);
        }
    };
    return Answer;
}

} // namespace

TDialogAnswer TFormDialogs::Show(const TDialogRequest& Request)
{
    if (Application == nullptr) {
        TDefaultDialogs BuiltIn;
        return BuiltIn.Show(Request);
    }
    // Transient for the active form; the box is ours alone, so that nothing else frees it.
    TCustomForm* Active = Screen != nullptr ? Screen->ActiveForm() : nullptr;
    const HWND OwnerWindow = Active != nullptr && Active->HandleAllocated() ? Active->Handle() : 0;
    switch (Request.Kind) {
    case TDialogKind::OpenFile:
    case TDialogKind::SaveFile:
        return ShowModalForm<TFileDialogForm>(Request, OwnerWindow);
    case TDialogKind::Color:
        return ShowModalForm<TColorForm>(Request, OwnerWindow);
    case TDialogKind::Font:
        return ShowModalForm<TFontForm>(Request, OwnerWindow);
    case TDialogKind::Find:
    case TDialogKind::Replace:
        return ShowFindForm(Request, OwnerWindow);
    case TDialogKind::BrowseFolder:
        return ShowModalForm<TFolderBrowseForm>(Request, OwnerWindow);
    case TDialogKind::Print:
        return ShowModalForm<TPrintForm>(Request, OwnerWindow);
    case TDialogKind::PrinterSetup:
        return ShowModalForm<TPrinterSetupForm>(Request, OwnerWindow);
    case TDialogKind::PageSetup:
        return ShowModalForm<TPageSetupForm>(Request, OwnerWindow);
    case TDialogKind::MessageBox:
    case TDialogKind::MessageDlg:
    case TDialogKind::ShowMessage:
    case TDialogKind::InputBox:
    case TDialogKind::InputQuery:
        break;
    }
    return ShowMessageForm(Request, OwnerWindow);
}

bool InstallFormDialogs()
{
    if (!DisplayDriver().CanShowWindows())
        return false;
    static TFormDialogs Service;
    SetDialogService(&Service);
    return true;
}
