#include "commands.h"

// Add one line per subcommand file; keep the list in the order of the usage text.
int Cmd_Art(const a_cli_args& args);
int Cmd_Strings(const a_cli_args& args);

const a_cli_command g_cli_commands[] = {
    {"art", "art list [--category A] [--json] [--db FILE] | art export KEY -o FILE.png [--db FILE] | "
            "art sheet --category A [--class B] -o FILE.png [--db FILE] | art verify FILE", Cmd_Art},
    {"strings", "strings LIST INDEX [--lang CODE]", Cmd_Strings},
    {nullptr, nullptr, nullptr},
};
