// Gives each test process a runtime folder of its own (tests/support/runtimefolder.h), so that
// the instance guard's second process finds only this test's first one.
#include "tests/support/runtimefolder.h"

#include <gtest/gtest.h>

namespace {

const auto* const Registered =
    ::testing::AddGlobalTestEnvironment(new TestSupport::TRuntimeFolderEnvironment("desktop-gui"));

} // namespace
