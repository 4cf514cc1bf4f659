// cirquel-cli: the batch tool. Every command is a line of the table in
// commands.cpp; the usage text is made from that table.
#include <malloc.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "commands.h"
#include "base/messages.h"
#include "base/string_ids.h"
#include "shell/startup.h"

namespace {

// `text` with its %1 replaced by `value`.
std::string Replace_First(std::string text, const char* value) {
    size_t at = text.find("%1");
    if (at != std::string::npos) text.replace(at, 2, value);
    return text;
}

int Usage() {
    std::fprintf(stderr, "usage:");
    for (const a_cli_command* c = g_cli_commands; c->name; ++c)
        std::fprintf(stderr, "%s cirquel-cli %s\n", c == g_cli_commands ? "" : "      ", c->usage);
    std::fprintf(stderr, "\n");
    for (const a_cli_command* c = g_cli_commands; c->name; ++c)
        std::fprintf(stderr, "  %-12s %s\n", c->name, Window_Text(c->help).c_str());
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
    for (const a_cli_command* c = g_cli_commands; c->name; ++c) {
        if (std::strcmp(argv[1], c->name) != 0) continue;
        if (!Shell_Start(a_startup_options{true})) {
            std::fprintf(stderr, "cirquel-cli: %s\n", Window_Text("could not start").c_str());
            return 2;
        }
        Set_Message_Language(argc, argv);
        int status = c->run(a_cli_args(argv + 2, argv + argc));
        Shell_Stop();
        return status;
    }
    std::fprintf(stderr, "cirquel-cli: %s\n",
                 Replace_First(Window_Text("unknown command \"%1\""), argv[1]).c_str());
    return Usage();
}
