#include "commands.h"

// Add one line per subcommand file; keep the list in the order of the usage text.
const a_cli_command g_cli_commands[] = {
    {nullptr, nullptr, nullptr},
};
