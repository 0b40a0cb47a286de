// The entry point of every test binary: a process role when one is asked for, else the tests.
#include "tests/support/processrole.h"

#include <gmock/gmock.h>

int main(int argc, char** argv)
{
    int ExitCode = 0;
    if (TestSupport::RunProcessRole(argc, argv, ExitCode))
        return ExitCode;
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
