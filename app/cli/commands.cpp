#include "commands.h"

// Add one line per subcommand file; keep the list in the order of the usage text.
int Cmd_Strings(const a_cli_args& args);

const a_cli_command g_cli_commands[] = {
    {"strings", "strings LIST INDEX [--lang CODE]", Cmd_Strings},
    {nullptr, nullptr, nullptr},
};
