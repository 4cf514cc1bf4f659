// cirquel-cli registration: the desktop files an installation ships.
#include <cstdio>

#include "commands.h"
#include "shell/registry.h"

int Cmd_Registration(const a_cli_args& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "cirquel-cli: registration DATADIR EXE\n");
        return 2;
    }
    int written = Registry_Write_Files(args[0], args[1]);
    std::printf("%d files written under %s\n", written, args[0].c_str());
    return 0;
}
