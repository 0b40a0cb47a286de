// platform/dialogs/formdialogs.cpp: the service that shows boxes as forms.
#include "platform/dialogs/formdialogs.h"

#include "platform/dialogs/messageform.h"
#include "platform/ui/displaydriver.h"
#include "platform/ui/screen.h"

#include <algorithm>
#include <memory>

TDialogAnswer TFormDialogs::Show(const TDialogRequest& Request)
{
    // The file dialogs' forms are still to come; until then they are cancelled.
    if (Application == nullptr || Request.Kind == TDialogKind::OpenFile ||
        Request.Kind == TDialogKind::SaveFile) {
        TDefaultDialogs BuiltIn;
        return BuiltIn.Show(Request);
    }
    // Transient for the active form; the box is ours alone, so that nothing else frees it.
    TCustomForm* Active = Screen != nullptr ? Screen->ActiveForm() : nullptr;
    const HWND OwnerWindow = Active != nullptr && Active->HandleAllocated() ? Active->Handle() : 0;
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

bool InstallFormDialogs()
{
    if (!DisplayDriver().CanShowWindows())
        return false;
    static TFormDialogs Service;
    SetDialogService(&Service);
    return true;
}
