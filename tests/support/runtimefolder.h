// tests/support/runtimefolder.h: a runtime folder of its own for each test process, so that
// windows published by parallel test processes never meet; a process role started by a test
// inherits the folder through the environment. A test binary registers it once, from a source
// file of its own (a registration inside the support library would not be linked in).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

namespace TestSupport {

class TRuntimeFolderEnvironment : public ::testing::Environment {
public:
    // Name tells the folders of the test binaries apart: /tmp/tarnwick-<Name>-test-XXXXXX.
    explicit TRuntimeFolderEnvironment(std::string Name) : FName(std::move(Name)) {}

    void SetUp() override
    {
        std::string Template = "/tmp/tarnwick-" + FName + "-test-XXXXXX";
        const char* Made = mkdtemp(Template.data());
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
    std::string FName;
    std::string FFolder;
};

} // namespace TestSupport
