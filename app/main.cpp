// The program's entry point. Until the program has a main window of its own, it shows a
// demonstration form and runs until that form is closed.
#include "app/demoform.h"

#include "desktop/pgappwnd.h"
#include "desktop/pghide32.h"

#include "imaging/gif/gifimage.h"
#include "mail/dialogs/msaddred.h"
#include "platform/dialogs/formdialogs.h"
#include "platform/ui/application.h"
#include "platform/ui/displaydriver.h"
#include "platform/ui/wait.h"

#include <cstdlib>
#include <iostream>
#include <memory>

int main()
{
    // Picture formats whose units the program may not name anywhere else.
    RegisterGIFImage();
    InitMessageLoop();
    InstallFormDialogs();
    InstallMailAddressEditor();
    // Where nobody sees the form, nothing could ever close it: say so and end.
    if (!DisplayDriver().CanShowWindows()) {
        // The back ends have told why when a display could not be opened.
        const char* Display = std::getenv("DISPLAY");
        std::cerr << "tarnwick: no display to show a window on"
                  << (Display == nullptr || *Display == 0 ? " (DISPLAY is not set)" : "") << "\n";
        return 0;
    }
    // The application window is parked under the hidden owner window as it is created, so
    // that the program never shows a taskbar entry of its own making at start-up.
    PGHide32Initialize();
    auto App = std::make_unique<TApplication>(nullptr);
    Application = App.get();
    Application->Initialize();
    Application->SetTitle("Tarnwick");
    TDemoForm* DemoForm = nullptr;
    CreateForm(Application, DemoForm);
    Application->Run();
    App.reset();
    PGHide32Finalize();
    PGAppWndFinalize();
    return 0;
}
