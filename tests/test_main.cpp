// Test entry: every suite runs with the modules started, headless.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "platform/dialogs.h"
#include "platform/files.h"
#include "shell/startup.h"
#include "templates/user_catalogue.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Preferences go to a folder of the run's own, never the user's.
    std::string config = Temp_Folder() + "/cirquel-tests-" + std::to_string(getpid());
    Config_Folder_Set(config);
    // The user's own layouts too.
    User_Catalogue_Folder_Set(config + "/layouts");
    if (!Shell_Start(a_startup_options{true})) return 1;
    Dialog_SetQuiet(true);
    int status = RUN_ALL_TESTS();
    Shell_Stop();
    (void)File_Remove_Tree(config);  // best effort: a leftover temporary folder fails no test
    return status;
}
