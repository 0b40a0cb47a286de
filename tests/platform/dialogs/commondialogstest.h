// tests/platform/dialogs/commondialogstest.h: the common dialogs driven as forms: a script of
// steps played on whichever modal form is up (the dialog, or a box over it) while the loop
// waits, and a temporary folder tree to browse.
#pragma once

#include "tests/platform/dialogs/dialogstest.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

// Plays one step each time the loop runs dry while a modal form is up. A form still up once
// the steps are spent is a failure, and is cancelled so that the test goes on.
class TFormScript {
public:
    using TStep = std::function<void(TCustomForm* Form)>;

    TFormScript(TApplication& App, std::vector<TStep> Steps) : FApp(App), FSteps(std::move(Steps))
    {
        FApp.OnIdle = [this](TObject*, bool& Done) {
            TCustomForm* Form = Screen != nullptr ? Screen->ActiveForm() : nullptr;
            if (Form == nullptr || !Form->Modal())
                return;
            Done = false;
            if (FRan < FSteps.size()) {
                FSteps[FRan++](Form);
                return;
            }
            ADD_FAILURE() << "a form is still up after the script's last step";
            Form->SetModalResult(mrCancel);
        };
    }
    ~TFormScript() { FApp.OnIdle = nullptr; }
    TFormScript(const TFormScript&) = delete;
    TFormScript& operator=(const TFormScript&) = delete;

    std::size_t Ran() const { return FRan; }

private:
    TApplication& FApp;
    std::vector<TStep> FSteps;
    std::size_t FRan = 0;
};

// The form up as the dialog class expected; fails the step when another is up.
template <class TExpected>
TExpected* FormAs(TCustomForm* Form)
{
    auto* Result = dynamic_cast<TExpected*>(Form);
    EXPECT_NE(Result, nullptr) << "another form is up: " << Form->Caption();
    return Result;
}

inline TFormScript::TStep Press(int VirtualKey)
{
    return [VirtualKey](TCustomForm*) { InjectKeyPress(VirtualKey); };
}

// A fresh folder (removed with its contents when the object goes) holding Files (paths
// relative to it; a trailing '/' makes a folder).
class TTempTree {
public:
    TTempTree(const std::string& Path, const std::vector<std::string>& Files) : FPath(Path)
    {
        std::filesystem::remove_all(FPath);
        std::filesystem::create_directories(FPath);
        for (const std::string& File : Files) {
            const std::filesystem::path Full = std::filesystem::path(FPath) / File;
            if (!File.empty() && File.back() == '/') {
                std::filesystem::create_directories(Full);
                continue;
            }
            std::filesystem::create_directories(Full.parent_path());
            std::ofstream(Full) << File << '\n';
        }
    }
    ~TTempTree()
    {
        std::error_code Ignored;
        std::filesystem::remove_all(FPath, Ignored);
    }
    TTempTree(const TTempTree&) = delete;
    TTempTree& operator=(const TTempTree&) = delete;

    const std::string& Path() const { return FPath; }
    std::string operator/(const std::string& Name) const { return FPath + "/" + Name; }

private:
    std::string FPath;
};

// A folder under the system's temporary one: of this process alone, or (for a picture that
// shows its path) always the same.
inline std::string TempTreePath(const std::string& Name, bool OfThisProcess = true)
{
    const std::string Leaf =
        "tarnwick-" + Name + (OfThisProcess ? "-" + std::to_string(::getpid()) : std::string());
    return (std::filesystem::temp_directory_path() / Leaf).string();
}
