// The command line comes from whoever starts the program (a file manager, a
// script): any bytes must give a command without crashing, and the argument
// form must agree with the one-line form on what a switch line means.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "shell/cmdline.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view line(reinterpret_cast<const char*>(data), size);
    a_shell_command cmd = Parse_Shell_Line(line);
    // Every parameter is a piece of the line: nothing grows.
    if (cmd.path.size() > size || cmd.messages.size() > 1) std::abort();
    if (cmd.action == a_shell_action::PRINT && cmd.path.empty()) std::abort();
    size_t pos = 0;
    std::vector<std::string> args;
    for (std::string p = Get_Next_Parm(line, pos); !p.empty(); p = Get_Next_Parm(line, pos)) {
        if (pos > size) std::abort();
        args.push_back(p);
    }
    a_shell_command again = Parse_Shell_Args(args);
    // A switch line split into words and joined again means the same, unless
    // a word held a quote character (the shell's words carry none), or the
    // line is over the 255-byte limit that its words, joined by single
    // spaces, may keep within.
    bool plain = line.find('"') == std::string_view::npos && line.size() <= 255;
    if (plain && !args.empty() && args[0][0] == '/' && args[0].find_first_of("/.", 1) == std::string::npos &&
        (again.action != cmd.action || again.path != cmd.path))
        std::abort();
    return 0;
}
