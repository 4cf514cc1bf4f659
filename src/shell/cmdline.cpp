#include "shell/cmdline.h"

#include <cctype>
#include <charconv>

#include "platform/dialogs.h"

a_override_spec overrides;

namespace {

constexpr char kBlank = ' ';
// The longest command line the program takes, as its file associations and
// the document's path field do.
constexpr size_t kMaxLine = 255;

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// The two letters after "/", upper-cased ("/ofile" is "/OF").
std::string Switch_Name(const std::string& parm) {
    std::string name;
    for (size_t i = 1; i < parm.size() && i < 3; ++i) name += Upper(parm[i]);
    return name;
}

a_shell_command Message(a_shell_command cmd, const char* text, const std::string& caption) {
    cmd.action = a_shell_action::END;
    cmd.messages.push_back({text, caption});
    return cmd;
}

// One switch with its value; false with the message added when it is bad.
bool Batch_Switch(std::string_view line, size_t& pos, const std::string& parm, a_shell_command& cmd) {
    a_override_spec& o = cmd.overrides;
    std::string name = Switch_Name(parm);
    struct a_int_switch {
        const char* name;
        a_override_parm bit;
        int16_t a_override_spec::*value;
    };
    static const a_int_switch kInts[] = {
        {"CX", CX_PARM, &a_override_spec::cx}, {"CY", CY_PARM, &a_override_spec::cy},
        {"DO", DO_PARM, &a_override_spec::do_}, {"DI", DI_PARM, &a_override_spec::di},
        {"DS", DS_PARM, &a_override_spec::ds},
    };
    if (name == "IF" || name == "OF") {
        (name == "IF" ? o.if_file : o.of_file) = Get_Next_Parm(line, pos);
        o.flags |= uint8_t(1u << (name == "IF" ? IF_PARM : OF_PARM));
        return true;
    }
    for (const a_int_switch& s : kInts) {
        if (name != s.name) continue;
        std::string text;
        if (!Get_Next_Int(line, pos, o.*s.value, text)) {
            cmd.messages.push_back({"Parameter not numeric", text});
            return false;
        }
        o.flags |= uint8_t(1u << s.bit);
        return true;
    }
    if (name.size() == 2 && name[0] == 'S' && name[1] >= '0' && name[1] <= '9') {
        o.s[name[1] - '0'] = Get_Next_Parm(line, pos);
        o.flags |= uint8_t(1u << SN_PARM);
        return true;
    }
    cmd.messages.push_back({"Bad parameter in command line", parm});
    return false;
}

a_shell_command Parse_Batch(std::string_view line) {
    a_shell_command cmd;
    cmd.action = a_shell_action::END;
    size_t pos = 0;
    for (std::string parm = Get_Next_Parm(line, pos); !parm.empty(); parm = Get_Next_Parm(line, pos)) {
        if (parm[0] != '/') {
            cmd.messages.push_back({"Parameter doesn't begin with /", parm});
            return cmd;
        }
        if (!Batch_Switch(line, pos, parm, cmd)) return cmd;
    }
    // A "/IF" with nothing after it names no file either.
    if (!cmd.overrides.Has(IF_PARM) || cmd.overrides.if_file.empty())
        return Message(cmd, "Missing input file spec", std::string(line));
    cmd.action = a_shell_action::PRINT;
    cmd.path = cmd.overrides.if_file;
    return cmd;
}

// On Linux an absolute path begins with "/" too; a switch never holds a
// second "/" or a dot.
bool Is_Absolute_Path(const std::string& arg) {
    return arg.size() > 1 && arg.find_first_of("/.", 1) != std::string::npos;
}

// The shell has already split the words: quote each again so that a path
// with blanks stays one parameter of the one-line form.
std::string One_Line(const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& a : args) {
        if (!line.empty()) line += kBlank;
        bool blank = a.find(kBlank) != std::string::npos;
        if (blank) line += '"';
        line += a;
        if (blank) line += '"';
    }
    return line;
}

}  // namespace

std::string Get_Next_Parm(std::string_view line, size_t& pos) {
    while (pos < line.size() && line[pos] == kBlank) ++pos;
    std::string parm;
    bool quoted = false;
    for (; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '"') quoted = !quoted;
        else if (c == kBlank && !quoted) break;
        else parm += c;
    }
    return parm;
}

bool Get_Next_Int(std::string_view line, size_t& pos, int16_t& value, std::string& text) {
    text = Get_Next_Parm(line, pos);
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') ++first;
    int16_t v = 0;
    auto [end, ec] = std::from_chars(first, last, v);
    if (first == last || ec != std::errc{} || end != last) return false;
    value = v;
    return true;
}

a_shell_command Parse_Shell_Line(std::string_view line) {
    // A longer line is refused whole rather than cut: a cut path would open
    // or print some other file.
    if (line.size() > kMaxLine)
        return Message(a_shell_command{}, "Command line too long", std::string(line.substr(0, kMaxLine)));
    size_t pos = 0;
    std::string first = Get_Next_Parm(line, pos);
    a_shell_command cmd;
    if (first.empty()) return cmd;
    if (first[0] != '/') {
        cmd.action = a_shell_action::OPEN;
        cmd.path = first;
        return cmd;
    }
    if (first.size() >= 2 && Upper(first[1]) == 'P') {
        cmd.path = Get_Next_Parm(line, pos);
        if (!cmd.path.empty()) cmd.action = a_shell_action::PRINT;
        return cmd;
    }
    return Parse_Batch(line);
}

a_shell_command Parse_Shell_Args(const std::vector<std::string>& args) {
    a_shell_command cmd;
    if (args.empty() || args[0].empty()) return cmd;
    if (One_Line(args).size() > kMaxLine) return Parse_Shell_Line(One_Line(args));
    if (args[0] == "--print") {
        if (args.size() >= 2 && !args[1].empty()) {
            cmd.action = a_shell_action::PRINT;
            cmd.path = args[1];
        }
        return cmd;
    }
    if (args[0][0] != '/' || Is_Absolute_Path(args[0])) {
        cmd.action = a_shell_action::OPEN;
        cmd.path = args[0];
        return cmd;
    }
    return Parse_Shell_Line(One_Line(args));
}

void Tell_Shell_Messages(const a_shell_command& cmd) {
    for (const a_shell_message& m : cmd.messages) {
        a_dialog_request r;
        r.message = m.text + ": " + m.caption;
        r.buttons = {"OK"};
        r.keys = {{DKEY_RETURN, false, 0}, {DKEY_ENTER, false, 0}, {DKEY_ESCAPE, false, 0}};
        (void)Dialog_Ask(r);
    }
}
