// platform/dialogs/formdialogs.h: TFormDialogs, the dialog service that shows every box as a
// modal form, and the start-up call that installs it where windows can be seen.
#pragma once

#include "platform/ui/dialogservice.h"

class TFormDialogs : public IDialogService {
public:
    // Shows the box modally over the active form; without an application object (no message
    // loop to run it) the built-in service answers instead.
    TDialogAnswer Show(const TDialogRequest& Request) override;
};

// Makes the boxes forms when the display back end can show windows; elsewhere (headless) the
// built-in service stays. True when installed.
bool InstallFormDialogs();
