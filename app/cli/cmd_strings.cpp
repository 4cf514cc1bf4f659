// cirquel-cli strings LIST INDEX [--lang CODE]: prints one string of the
// string lists as the program would show it in that language (English when
// the language lacks it), placeholders left as they are.
#include <cstdio>
#include <string>

#include "cli_args.h"
#include "commands.h"
#include "base/messages.h"
#include "base/string_ids.h"

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "cirquel-cli strings: %s\n", message.c_str());
    return 2;
}

bool To_Int(const std::string& s, int& v) {
    if (s.empty() || s.size() > 6 || s.find_first_not_of("0123456789") != std::string::npos)
        return false;
    v = std::stoi(s);
    return true;
}

}  // namespace

int Cmd_Strings(const a_cli_args& args) {
    std::vector<std::string> pos;
    int language = Messages_Language();  // the desktop's, set at start
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--lang" && i + 1 < args.size()) {
            language = Language_From_Code(args[++i]);
            if (language < 0) return Fail(Cli_Text("unknown language \"%1\"", {args[i]}));
        } else if (args[i].rfind("--", 0) == 0) {
            return Fail(Cli_Text("unknown option %1", {args[i]}));
        } else {
            pos.push_back(args[i]);
        }
    }
    int list, index;
    if (pos.size() != 2 || !To_Int(pos[0], list) || !To_Int(pos[1], index))
        return Fail(Cli_Text("give %1 and %2 as numbers", {"LIST", "INDEX"}));
    std::string s;
    Get_Lang_String(index, list, language, s);
    if (s.empty()) return Fail(Cli_Text("no string %1 in list %2", {pos[1], pos[0]}));
    std::printf("%s\n", s.c_str());
    return 0;
}
