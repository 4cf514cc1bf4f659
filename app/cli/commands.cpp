#include "commands.h"

int Cmd_Prefs(const a_cli_args& args);  // cmd_prefs.cpp

// Add one line per subcommand file; keep the list in the order of the usage text.
int Cmd_Art(const a_cli_args& args);

const a_cli_command g_cli_commands[] = {
    {"art", "art list [--category A] [--json] [--db FILE] | art export KEY -o FILE.png [--db FILE] | "
            "art sheet --category A [--class B] -o FILE.png [--db FILE] | art verify FILE", Cmd_Art},
    {"prefs", "prefs [--json] [--reset]", Cmd_Prefs},
    {nullptr, nullptr, nullptr},
};
