#include "cli_help.h"

#include "cli_args.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

struct a_option_text {
    const char* name;
    const char* text;
};

// What each option means; an option keeps one meaning across the commands.
const a_option_text kOptionTexts[] = {
    {"-o", "the file (or folder) to write"},
    {"--json", "print JSON instead of text"},
    {"--unit", "the unit, counted from 1 (default 1)"},
    {"--dpi", "the resolution of the picture in dots per inch"},
    {"--set", "a field of the block or effect, FIELD=VALUE; repeatable"},
    {"--hue", "the hue of a solid canvas or tint, 0-359"},
    {"--db", "the art database to read instead of the program's own"},
    {"--template", "a label stock, as `templates` lists it"},
    {"--format", "the picture format to write"},
    {"--embed", "keep the bytes of the photos' files in the project"},
    {"--copies", "the number of copies"},
    {"--category", "the art category (first part of a key)"},
    {"--class", "the art class (second part of a key)"},
    {"--verify", "have the disc publisher verify each disc"},
    {"--text", "the text; \\n breaks the line"},
    {"--test-page", "print the outlines, colour bars and corner marks instead"},
    {"--no-colorbars", "leave the colour bars off the test page"},
    {"--symbol", "a clip-art key 11.b.c.d; repeatable"},
    {"--style", "the track-number style, 1 \"1)\" to 7 \"1\""},
    {"--stick", "write a FlexStick job folder"},
    {"--speed", "the disc publisher's print speed, 1-4"},
    {"--size", "the size in points"},
    {"--sheet", "the whole sheet instead of one unit"},
    {"--screen", "draw as the editing view shows it, at ZOOM per cent (10-400)"},
    {"--reset", "put the preferences back to their defaults"},
    {"--recent", "put a project on the recent list; repeatable"},
    {"--purpose", "what the picture is drawn for"},
    {"--prn", "write a FlexLabel PCL raster file"},
    {"--printer", "the CUPS queue (default: the default queue)"},
    {"--pdf", "write a PDF file of the paper's size instead of printing"},
    {"--nudge", "move the print, in tenths of a millimetre (-800 to 800)"},
    {"--nrot", "quarter turns of the canvas, 0-3"},
    {"--ls", "the LightScribe ring, 1-3"},
    {"--layout", "the text layout"},
    {"--layers", "also write the body, mask and shadow layers"},
    {"--lang", "the language code (en, de, ...); English is the fallback"},
    {"--kind", "only stocks of this kind"},
    {"--key", "a canvas key 2.b.c.d"},
    {"--invert", "invert the colours"},
    {"--into", "the design or project whose unit takes what is imported"},
    {"--index", "the K-th canvas of the unit's class"},
    {"--holes", "cut out the centre hole and tape window"},
    {"--grid", "draw the grid"},
    {"--font", "the font family, as `fonts` lists them"},
    {"--flipy", "mirror top to bottom"},
    {"--flipx", "mirror left to right"},
    {"--fit", "size each picture to the unit"},
    {"--fields", "the fields shown (# is the track number)"},
    {"--dist", "the distance from grey of a solid canvas, 0-72"},
    {"--darkness", "the darkness of the canvas, 0-95"},
    {"--cutlines", "draw the red dashed cut lines"},
    {"--columns", "the fields that start a new column"},
    {"--color", "the text colour"},
    {"--burn", "burn the discs as well as print them"},
    {"--brand", "only stocks of this brand"},
    {"--help", "this help"},
    {"--add", "add the sheets of layout files to your own catalogue (replacing those of the same name)"},
    {"--remove", "remove a sheet of your own"},
    {"--name", "the layout's name; its first word is the brand"},
    {"--paper", "A3, A4, A5, A6, Letter, Legal, 11x17, 4x6 or WIDTHxHEIGHT in millimetres"},
    {"--landscape", "the labels are placed on the sheet turned a quarter"},
    {"--inches", "the labels' lengths are in inches (bleeds stay millimetres)"},
    {"--pitch", "between: gaps between labels (default); edge: left edge to left edge"},
    {"--cd-printer", "the sheet is the tray of a disc printer"},
    {"--group", "a group of labels, kind=CD,across=N,down=N,left=..,top=..,w=..,h=..,px=..,py=..; repeatable"},
    {"--export", "write the design as a layout text file"},
};

const char* Option_Text(const std::string& name) {
    for (const a_option_text& t : kOptionTexts)
        if (name == t.name) return t.text;
    return "";
}

std::vector<std::string> Words(const char* text) {
    std::vector<std::string> words;
    std::string w;
    for (const char* p = text;; ++p) {
        if (*p == ' ' || *p == '\0') {
            if (!w.empty()) words.push_back(w);
            w.clear();
            if (*p == '\0') break;
        } else {
            w += *p;
        }
    }
    return words;
}

std::string Strip(std::string w, const char* chars) {
    size_t a = w.find_first_not_of(chars);
    if (a == std::string::npos) return "";
    size_t b = w.find_last_not_of(chars);
    return w.substr(a, b - a + 1);
}

bool Is_Option_Word(const std::string& w) {
    return w.size() >= 2 && w[0] == '-' && std::isalpha(static_cast<unsigned char>(w[w.size() == 2 ? 1 : 2]));
}

// Letters to change, add or drop, two neighbours swapped counting as one.
size_t Distance(const std::string& a, const std::string& b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i)
        for (size_t j = 1; j <= b.size(); ++j) {
            size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

// A value such as "-5,3" or "-20" is not an option.
bool Looks_Like_Option(const std::string& arg) {
    return arg.size() >= 2 && arg[0] == '-' && !std::isdigit(static_cast<unsigned char>(arg[1]));
}

}  // namespace

std::vector<a_cli_option> Cli_Options(const char* usage) {
    std::vector<a_cli_option> options;
    const std::vector<std::string> words = Words(usage);
    for (size_t i = 0; i < words.size(); ++i) {
        // "PROJECT.cd4|DESIGN.json|--template" offers its last part as an option.
        const std::string& word = words[i];
        const size_t bar = word.rfind('|', word.size() - 1 - (word.back() == '|'));
        const std::string w = Strip(bar == std::string::npos ? word : word.substr(bar + 1), "[(");
        if (!Is_Option_Word(w)) continue;
        a_cli_option o;
        o.name = Strip(w, "])|.");
        // "--holes]" ends its group: a switch; "--unit N]" takes a value.
        bool closed = w.find_first_of("])|") != std::string::npos;
        if (!closed && i + 1 < words.size()) {
            const std::string& next = words[i + 1];
            if (next[0] != '[' && next[0] != '(' && next[0] != '|' && next[0] != '-')
                o.value = Strip(next, "])|.");
        }
        bool seen = false;
        for (const a_cli_option& k : options) seen = seen || k.name == o.name;
        if (!seen) options.push_back(o);
    }
    return options;
}

std::string Cli_Nearest(const std::string& word, const std::vector<std::string>& names) {
    std::string best;
    size_t best_d = std::string::npos;
    for (const std::string& n : names) {
        size_t d = Distance(word, n);
        if (d < best_d) best_d = d, best = n;
    }
    const size_t allowed = std::max<size_t>(2, word.size() / 3);
    return best_d <= allowed ? best : "";
}

bool Cli_Is_Help(const std::string& arg) { return arg == "--help" || arg == "-h"; }

const a_cli_command* Cli_Find_Command(const std::string& name) {
    for (const a_cli_command* c = g_cli_commands; c->name; ++c)
        if (name == c->name) return c;
    return nullptr;
}

void Cli_Print_Help(std::FILE* out) {
    // The command and option names stay as typed; the words around them are translated.
    std::fprintf(out, "%s\n       cirquel-cli COMMAND --help   (%s)\n\n",
                 Cli_Text("usage: %1", {"cirquel-cli COMMAND [OPTION]..."}).c_str(),
                 Cli_Text("the command's options").c_str());
    for (const a_cli_command* c = g_cli_commands; c->name; ++c)
        std::fprintf(out, "  %-14s %s\n", c->name, Cli_Text(c->help).c_str());
    std::fprintf(out, "\n");
    for (const a_cli_command* c = g_cli_commands; c->name; ++c) std::fprintf(out, "cirquel-cli %s\n", c->usage);
}

void Cli_Print_Command_Help(std::FILE* out, const a_cli_command& c) {
    std::fprintf(out, "%s\n%s\n", Cli_Text("usage: %1", {std::string("cirquel-cli ") + c.usage}).c_str(),
                 Cli_Text(c.help).c_str());
    std::vector<a_cli_option> options = Cli_Options(c.usage);
    if (options.empty()) return;
    std::fprintf(out, "\n%s\n", Cli_Text("options:").c_str());
    for (const a_cli_option& o : options) {
        std::string left = o.value.empty() ? o.name : o.name + " " + o.value;
        std::fprintf(out, "  %-22s %s\n", left.c_str(), Cli_Text(Option_Text(o.name)).c_str());
    }
}

int Cli_Check_Options(const a_cli_command& c, const a_cli_args& args) {
    const std::vector<a_cli_option> options = Cli_Options(c.usage);
    std::vector<std::string> names;
    for (const a_cli_option& o : options) names.push_back(o.name);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto known = std::find_if(options.begin(), options.end(), [&](const a_cli_option& o) { return o.name == a; });
        if (known != options.end()) {
            if (!known->value.empty()) ++i;  // its value may start with '-'
            continue;
        }
        if (!Looks_Like_Option(a)) continue;
        std::string near = Cli_Nearest(a, names);
        std::string hint = near.empty() ? Cli_Text("see cirquel-cli %1 --help", {c.name})
                                        : Cli_Text("did you mean %1?", {near});
        std::fprintf(stderr, "cirquel-cli %s: %s (%s)\n", c.name, Cli_Text("unknown option %1", {a}).c_str(),
                     hint.c_str());
        return 2;
    }
    return 0;
}
