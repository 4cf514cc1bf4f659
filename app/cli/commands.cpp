#include "commands.h"

int Cmd_Prefs(const a_cli_args& args);    // cmd_prefs.cpp
int Cmd_Strings(const a_cli_args& args);  // cmd_strings.cpp

// Add one line per subcommand file; keep the list in the order of the usage text.

const a_cli_command g_cli_commands[] = {
    {"prefs", "prefs [--json] [--reset]", Cmd_Prefs},
    {"strings", "strings LIST INDEX [--lang CODE]", Cmd_Strings},
    {nullptr, nullptr, nullptr},
};
