// cirquel-cli registration: the desktop files an installation ships.
#include <cstdio>

#include "cli_args.h"
#include "commands.h"
#include "shell/registry.h"

int Cmd_Registration(const a_cli_args& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "cirquel-cli: %s\n", Cli_Text("usage: %1", {"cirquel-cli registration DATADIR EXE"}).c_str());
        return 2;
    }
    int written = Registry_Write_Files(args[0], args[1]);
    std::printf("%s\n", Cli_Text("%1 files written under %2", {std::to_string(written), args[0]}).c_str());
    return 0;
}
