// Runs the desktop tests headless, each test process with a runtime folder of its own.
#include "tests/support/runtimefolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class TDesktopEnvironment : public TestSupport::TRuntimeFolderEnvironment {
public:
    TDesktopEnvironment() : TRuntimeFolderEnvironment("desktop") {}
    void SetUp() override
    {
        setenv("TARNWICK_BACKEND", "headless", 1);
        TRuntimeFolderEnvironment::SetUp();
    }
};

const auto* const Registered = ::testing::AddGlobalTestEnvironment(new TDesktopEnvironment);

} // namespace
