// The help of cirquel-cli and its check of options, both made from the
// synopsis of each command in the command table, so that what the help lists
// is what the check accepts.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"

struct a_cli_option {
    std::string name;   // "--unit", "-o"
    std::string value;  // "N", "FILE.png"; empty for a switch
};

// The options a synopsis names, each once, in their order of appearance.
std::vector<a_cli_option> Cli_Options(const char* usage);
// The nearest of `names` to `word` when it is near enough to be a slip
// (a few letters wrong, missing or swapped); empty otherwise.
std::string Cli_Nearest(const std::string& word, const std::vector<std::string>& names);
// True when `arg` asks for help ("--help" or "-h").
bool Cli_Is_Help(const std::string& arg);
// Every command with its synopsis and one line of what it does.
void Cli_Print_Help(std::FILE* out);
// One command: its synopsis, what it does, and one line per option.
void Cli_Print_Command_Help(std::FILE* out, const a_cli_command& c);
// 0 when every option in `args` is one of the command's; otherwise 2 after a
// line naming the unknown option and the nearest correct one.
int Cli_Check_Options(const a_cli_command& c, const a_cli_args& args);
// The command named `name`; null when there is none.
const a_cli_command* Cli_Find_Command(const std::string& name);
