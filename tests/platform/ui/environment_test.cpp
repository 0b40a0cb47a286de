// Gives each test process a runtime folder of its own, so that windows published by parallel
// test processes never meet; a process role started by a test inherits its folder through the
// environment.
#include "tests/platform/ui/uitest.h"

#include "platform/ui/input.h"
#include "platform/ui/queue.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

void PumpPending()
{
    TMsg Msg;
    while (PeekMessage(Msg, 0, 0, 0, PM_REMOVE)) {
        TranslateMessage(Msg);
        DispatchMessage(Msg);
    }
}

namespace {

class TRuntimeFolderEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        char Template[] = "/tmp/tarnwick-ui-test-XXXXXX";
        const char* Made = mkdtemp(Template);
        ASSERT_NE(Made, nullptr);
        FFolder = Made;
        setenv("TARNWICK_RUNTIME_DIR", Made, 1);
    }
    void TearDown() override
    {
        if (!FFolder.empty()) {
            std::error_code Ignored;
            std::filesystem::remove_all(FFolder, Ignored);
        }
    }

private:
    std::string FFolder;
};

const auto* const Registered = ::testing::AddGlobalTestEnvironment(new TRuntimeFolderEnvironment);

} // namespace
