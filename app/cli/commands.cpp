#include "commands.h"

int Cmd_Prefs(const a_cli_args& args);  // cmd_prefs.cpp

// Add one line per subcommand file; keep the list in the order of the usage text.
const a_cli_command g_cli_commands[] = {
    {"prefs", "prefs [--json] [--reset]", Cmd_Prefs},
    {nullptr, nullptr, nullptr},
};
