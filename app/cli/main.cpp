// cirquel-cli: the batch tool. Every command is a line of the table in
// commands.cpp; the usage text is made from that table.
#include <malloc.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "commands.h"
#include "shell/startup.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage:");
    for (const a_cli_command* c = g_cli_commands; c->name; ++c)
        std::fprintf(stderr, "%s cirquel-cli %s\n", c == g_cli_commands ? "" : "      ", c->usage);
    std::fprintf(stderr, "\n");
    for (const a_cli_command* c = g_cli_commands; c->name; ++c)
        std::fprintf(stderr, "  %-12s %s\n", c->name, c->help);
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

}  // namespace

int main(int argc, char** argv) {
    Keep_Freed_Memory();
    if (argc < 2) return Usage();
    for (const a_cli_command* c = g_cli_commands; c->name; ++c) {
        if (std::strcmp(argv[1], c->name) != 0) continue;
        if (!Shell_Start(a_startup_options{true})) {
            std::fprintf(stderr, "cirquel-cli: could not start\n");
            return 2;
        }
        int status = c->run(a_cli_args(argv + 2, argv + argc));
        Shell_Stop();
        return status;
    }
    std::fprintf(stderr, "cirquel-cli: unknown command \"%s\"\n", argv[1]);
    return Usage();
}
