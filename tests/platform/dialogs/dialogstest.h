// tests/platform/dialogs/dialogstest.h: the boxes as forms in the tests: the service installed
// while a test runs, and a script of steps played on the box once it is up and waiting.
#pragma once

#include "tests/platform/stdctrls/stdctrlstest.h"

#include "platform/dialogs/formdialogs.h"
#include "platform/dialogs/messageform.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

// TFormDialogs in place of the built-in service while it lives.
class TInstalledFormDialogs {
public:
    TInstalledFormDialogs() : FPrevious(SetDialogService(&FService)) {}
    ~TInstalledFormDialogs() { SetDialogService(FPrevious); }
    TInstalledFormDialogs(const TInstalledFormDialogs&) = delete;
    TInstalledFormDialogs& operator=(const TInstalledFormDialogs&) = delete;

private:
    TFormDialogs FService;
    IDialogService* FPrevious;
};

// The box that is up: the active form, when it is one.
inline TMessageForm* BoxUp()
{
    return Screen != nullptr ? dynamic_cast<TMessageForm*>(Screen->ActiveForm()) : nullptr;
}

// Plays one step each time the loop runs dry while a box is up. A box still up once the steps
// are spent is a failure, and is closed so that the test goes on.
class TBoxScript {
public:
    using TStep = std::function<void(TMessageForm* Box)>;

    TBoxScript(TApplication& App, std::vector<TStep> Steps) : FApp(App), FSteps(std::move(Steps))
    {
        FApp.OnIdle = [this](TObject*, bool& Done) {
            TMessageForm* Box = BoxUp();
            if (Box == nullptr)
                return;
            Done = false;
            if (FRan < FSteps.size()) {
                FSteps[FRan++](Box);
                return;
            }
            ADD_FAILURE() << "the box is still up after the script's last step";
            Box->SetModalResult(mrCancel);
        };
    }
    ~TBoxScript() { FApp.OnIdle = nullptr; }
    TBoxScript(const TBoxScript&) = delete;
    TBoxScript& operator=(const TBoxScript&) = delete;

    std::size_t Ran() const { return FRan; }

private:
    TApplication& FApp;
    std::vector<TStep> FSteps;
    std::size_t FRan = 0;
};

inline TBoxScript::TStep Key(int VirtualKey, const std::string& Text = {})
{
    return [VirtualKey, Text](TMessageForm*) { InjectKeyPress(VirtualKey, Text); };
}

inline TBoxScript::TStep Post(UINT Msg, WPARAM WParam = 0)
{
    return [Msg, WParam](TMessageForm* Box) { PostMessage(Box->Handle(), Msg, WParam, 0); };
}
