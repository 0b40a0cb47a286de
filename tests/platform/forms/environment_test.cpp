// Runs the form tests headless, each test process with a runtime folder of its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

class TFormsEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        setenv("TARNWICK_BACKEND", "headless", 1);
        char Template[] = "/tmp/tarnwick-forms-test-XXXXXX";
        const char* Made = mkdtemp(Template);
        ASSERT_NE(Made, nullptr);
        FFolder = Made;
        setenv("TARNWICK_RUNTIME_DIR", Made, 1);
    }
    void TearDown() override
    {
        std::error_code Ignored;
        std::filesystem::remove_all(FFolder, Ignored);
    }

private:
    std::string FFolder;
};

const auto* const Registered = ::testing::AddGlobalTestEnvironment(new TFormsEnvironment);

} // namespace
