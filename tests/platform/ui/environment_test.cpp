// Gives each test process a runtime folder of its own (tests/support/runtimefolder.h), and the
// pump the tests share.
#include "tests/platform/ui/uitest.h"

#include "platform/ui/input.h"
#include "platform/ui/queue.h"
#include "tests/support/runtimefolder.h"

#include <gtest/gtest.h>

void PumpPending()
{
    TMsg Msg;
    while (PeekMessage(Msg, 0, 0, 0, PM_REMOVE)) {
        TranslateMessage(Msg);
        DispatchMessage(Msg);
    }
}

namespace {

const auto* const Registered =
    ::testing::AddGlobalTestEnvironment(new TestSupport::TRuntimeFolderEnvironment("ui"));

} // namespace
