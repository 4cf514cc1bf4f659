#include "commands.h"

// Add one line per subcommand file; keep the list in the order of the usage text.
int Cmd_Prefs(const a_cli_args& args);    // cmd_prefs.cpp
int Cmd_Strings(const a_cli_args& args);  // cmd_strings.cpp
int Cmd_Shape(const a_cli_args& args);    // cmd_shape.cpp
int Cmd_Sheet(const a_cli_args& args);    // cmd_shape.cpp

const a_cli_command g_cli_commands[] = {
    {"prefs", "prefs [--json] [--reset]", Cmd_Prefs},
    {"strings", "strings LIST INDEX [--lang CODE]", Cmd_Strings},
    {"shape", "shape LABEL [--unit N] [--holes] [--cutlines] [--grid] [--ls 1-3] -o FILE.png",
     Cmd_Shape},
    {"sheet", "sheet LABEL [--dpi N] -o FILE.png", Cmd_Sheet},
    {nullptr, nullptr, nullptr},
};
