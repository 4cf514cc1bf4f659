// cirquel-cli: the batch tool. Every command is a line of the table in
// commands.cpp; the usage text is made from that table.
#include <malloc.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli_args.h"
#include "cli_help.h"
#include "commands.h"
#include "base/messages.h"
#include "base/string_ids.h"
#include "shell/startup.h"

namespace {

int Usage() {
    Cli_Print_Help(stderr);
    return 2;
}

int Unknown_Command(const std::string& name) {
    std::vector<std::string> names;
    for (const a_cli_command* c = g_cli_commands; c->name; ++c) names.push_back(c->name);
    std::string near = Cli_Nearest(name, names);
    std::fprintf(stderr, "cirquel-cli: %s (%s)\n", Cli_Text("unknown command \"%1\"", {name}).c_str(),
                 (near.empty() ? Cli_Text("cirquel-cli --help lists them") : Cli_Text("did you mean %1?", {near})).c_str());
    return 2;
}

// A command passes a picture through a chain of picture-sized blocks, each
// freed soon after the next is made. Kept in the heap and reused, their pages
// are faulted in once, instead of mapped afresh and zeroed by the kernel for
// every block and unmapped again.
void Keep_Freed_Memory() {
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, INT32_MAX);
}

// Messages follow the desktop's language (LANG, LC_MESSAGES, LANGUAGE);
// --json output is read by programs and stays in English.
void Set_Message_Language(int argc, char** argv) {
    for (int i = 2; i < argc; ++i)
        if (std::strcmp(argv[i], "--json") == 0) return Messages_SetLanguage(LANG_ENGLISH);
    Messages_SetLanguage(Desktop_Language());
}

}  // namespace

int main(int argc, char** argv) {
    Keep_Freed_Memory();
    Messages_SetLanguage(Desktop_Language());
    if (argc < 2) return Usage();
    if (Cli_Is_Help(argv[1]) || std::strcmp(argv[1], "help") == 0) {
        const a_cli_command* c = argc > 2 ? Cli_Find_Command(argv[2]) : nullptr;
        if (c) Cli_Print_Command_Help(stdout, *c);
        else Cli_Print_Help(stdout);
        return 0;
    }
    const a_cli_command* c = Cli_Find_Command(argv[1]);
    if (!c) return Unknown_Command(argv[1]);
    const a_cli_args args(argv + 2, argv + argc);
    for (const std::string& a : args)
        if (Cli_Is_Help(a)) {
            Cli_Print_Command_Help(stdout, *c);
            return 0;
        }
    Set_Message_Language(argc, argv);
    if (int status = Cli_Check_Options(*c, args)) return status;
    a_startup_options options;
    options.light = c->light;
    if (!Shell_Start(options)) {
        std::fprintf(stderr, "cirquel-cli: %s\n", Cli_Text("could not start").c_str());
        return 2;
    }
    Set_Message_Language(argc, argv);
    int status = c->run(args);
    Shell_Stop();
    return status;
}
