// Test entry: every suite runs with the modules started, headless.
#include <gtest/gtest.h>

#include "platform/dialogs.h"
#include "shell/startup.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!Shell_Start(a_startup_options{true})) return 1;
    Dialog_SetQuiet(true);
    int status = RUN_ALL_TESTS();
    Shell_Stop();
    return status;
}
