// The command line: open a project, print one and end, or a batch print with
// switches. Two forms arrive: the one-line form of the file associations
// ("/p path", "/IF path /CX 5"), and the argument list a Linux user types
// ("cirquel FILE.cd4", "cirquel --print FILE.cd4").
// Process-wide state: `overrides`, the recorded batch switches (writes).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Bits of a_override_spec::flags.
enum a_override_parm : int {
    IF_PARM = 0, OF_PARM, CX_PARM, CY_PARM, DO_PARM, DI_PARM, DS_PARM, SN_PARM
};

struct a_override_spec {
    uint8_t flags = 0;  // bit n = a_override_parm n
    std::string if_file, of_file;
    int16_t cx = 0, cy = 0, do_ = 0, di = 0, ds = 0;  // `do` is a keyword
    std::string s[10];
    bool Has(a_override_parm p) const { return (flags >> p) & 1; }
};

// The batch switches of the last command line; nothing else reads them.
extern a_override_spec overrides;

enum class a_shell_action {
    NONE,   // a normal start
    OPEN,   // a normal start with `path` open
    PRINT,  // print `path` and end
    END,    // a batch line that printed nothing (its message says why)
};

// One of the command line's three message boxes: text and caption.
struct a_shell_message {
    std::string text, caption;
};

struct a_shell_command {
    a_shell_action action = a_shell_action::NONE;
    std::string path;
    std::vector<a_shell_message> messages;
    a_override_spec overrides;
};

// The next parameter of `line` from `pos` (moved past it): blanks (the space
// only) skipped, then characters up to a space outside double quotes; the
// quotes themselves are not copied. Empty at the end of the line.
std::string Get_Next_Parm(std::string_view line, size_t& pos);
// The next parameter as a signed 16-bit number; false (with the text in
// `text`) when it is not one.
[[nodiscard]] bool Get_Next_Int(std::string_view line, size_t& pos, int16_t& value, std::string& text);

// The one-line form; a line over 255 bytes is refused with a message.
a_shell_command Parse_Shell_Line(std::string_view line);
// The argument list after the program's name. "--print FILE" prints, a lone
// FILE (an absolute path too) opens, and a first argument that is a switch
// ("/p", "/IF") begins the one-line form.
a_shell_command Parse_Shell_Args(const std::vector<std::string>& args);

// Shows the command's messages, one box each, through the dialog service.
void Tell_Shell_Messages(const a_shell_command& cmd);
