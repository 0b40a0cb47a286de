// desktop/cfirstin.h: TFirstInstance, the single-instance guard: once the form that owns it
// is loaded, a program whose application window finds an earlier one (same class and caption)
// brings that one forward and ends.
#pragma once

#include "platform/rtl/component.h"
#include "platform/ui/wintypes.h"

#include <functional>

// Handle: the earlier instance's application window (a full window handle, not cut to 32 bits).
using TFirstInstanceEvent = std::function<void(TObject* Sender, HWND Handle, bool& ShowFirst)>;

class TFirstInstance : public TComponent {
public:
    explicit TFirstInstance(TComponent* AOwner);

    // Setting ShowFirst to false lets this instance run beside the earlier one.
    TFirstInstanceEvent OnFoundInstance;

protected:
    // Looks for the earlier instance (not while designing).
    void Loaded() override;

private:
    // The earlier instance's application window, or 0.
    static HWND FindEarlierInstance();
};
