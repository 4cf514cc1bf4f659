// Subcommands of cirquel-cli that live in files of their own. Each takes the
// arguments after its name (args[0] is the first of them) and returns the
// process status: 0 done, 2 bad input (after a one-line message on stderr).
// The modules are started before a command runs and stopped after it.
#pragma once
#include <string>
#include <vector>

using a_cli_args = std::vector<std::string>;

struct a_cli_command {
    const char* name;
    const char* usage;  // one line shown by the usage message
    int (*run)(const a_cli_args& args);
};

// The table of those subcommands, ended by a null name.
extern const a_cli_command g_cli_commands[];
