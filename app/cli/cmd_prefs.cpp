// cirquel-cli prefs: prints the preferences record (the file's, or the
// defaults when there is no valid file); --reset writes the defaults.
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "commands.h"
#include "json.h"
#include "base/prefs.h"
#include "ui/interface.h"

namespace {

using a_fields = std::vector<std::pair<std::string, std::string>>;  // name, JSON value

std::string Bool(bool b) { return b ? "true" : "false"; }

std::string Ints(std::initializer_list<int> v) {
    std::string out = "[";
    for (int x : v) out += (out.size() > 1 ? ", " : "") + std::to_string(x);
    return out + "]";
}

template <size_t N>
std::string Text16(const char16_t (&s)[N]) {
    size_t n = 0;
    while (n < N && s[n]) ++n;
    return Json_String(Utf16_To_Utf8(std::u16string(s, n)));
}

template <size_t N>
std::string Text8(const char (&s)[N]) {
    return Json_String(std::string(s, strnlen(s, N)));
}

std::string Date(const DateTimeRec& d) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day, d.hour,
                  d.minute, d.second);
    return Json_String(buf);
}

std::string List(const std::vector<std::string>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + items[i];
    return out + "]";
}

std::string Media(const a_print_media_array& m) {
    std::vector<std::string> entries;
    for (const a_print_media_spec& e : m.list)
        entries.push_back("{\"label\": " + Text16(e.label) + ", \"nudge\": " +
                          Ints({e.nudge.v, e.nudge.h}) + ", \"adj\": " +
                          Ints({e.adj[0], e.adj[1], e.adj[2], e.adj[3], e.adj[4]}) + "}");
    return "{\"listx\": " + std::to_string(m.listx) + ", \"list\": " + List(entries) + "}";
}

std::string Color(const a_win_pixel32& c) { return Ints({c.r, c.g, c.b, c.a}); }

a_fields Fields(const a_pref_rec& p) {
    static const char* const kKinds[NDIRECT_KINDS] = {"NOT_DIRECT", "CD_DIRECT", "MINICD_DIRECT",
                                                      "HOCKEY_DIRECT", "RECT_DIRECT"};
    std::vector<std::string> media, recent, recentlay, colors;
    for (int k = 0; k < NDIRECT_KINDS; ++k)
        media.push_back("{\"kind\": \"" + std::string(kKinds[k]) + "\", \"media\": " +
                        Media(p.print_media[k]) + "}");
    for (const a_recent_doc& r : p.recent)
        if (r.doc_path[0])
            recent.push_back("{\"path\": " + Text8(r.doc_path) + ", \"time\": " +
                             Date(r.doc_time) + "}");
    for (const a_layout_usage_rec& r : p.recentlay)
        if (r.count)
            recentlay.push_back("{\"label\": " + Text8(r.label) + ", \"count\": " +
                                std::to_string(r.count) + ", \"when\": " + Date(r.when) + "}");
    for (const a_pixel24& c : p.colors) colors.push_back(Ints({c.r, c.g, c.b}));
    const Rect& w = p.tot_window;
    return {
        {"version", std::to_string(p.version)},
        {"language_offset", std::to_string(p.language_offset)},
        {"print_media", List(media)},
        {"last_agex", std::to_string(p.last_agex)},
        {"tot_window", Ints({w.top, w.left, w.bottom, w.right})},
        {"print_autopos", Bool(p.print_autopos)},
        {"sound_option", Bool(p.sound_option)},
        {"sound2_option", Bool(p.sound2_option)},
        {"scroll_option", Bool(p.scroll_option)},
        {"echo_option", Bool(p.echo_option)},
        {"history_option", Bool(p.history_option)},
        {"status_option", Bool(p.status_option)},
        {"cutlines_option", Bool(p.cutlines_option)},
        {"showframes_option", Bool(p.showframes_option)},
        {"tinycurs_option", Bool(p.tinycurs_option)},
        {"exportb_option", Bool(p.exportb_option)},
        {"embed_option", Bool(p.embed_option)},
        {"ruler_option", Bool(p.ruler_option)},
        {"addon_folder", Text8(p.addon_folder)},
        {"base_font", Text16(p.base_font)},
        {"base_fontx", std::to_string(p.base_fontx)},
        {"recent", List(recent)},
        {"recentlay", List(recentlay)},
        {"colors", List(colors)},
        {"ruler_color", Color(p.ruler_color)},
        {"gridlines_color", Color(p.gridlines_color)},
        {"cutlines_color", Color(p.cutlines_color)},
        {"gridlines_dash", std::to_string(p.gridlines_dash)},
    };
}

}  // namespace

int Cmd_Prefs(const a_cli_args& args) {
    bool json = false, reset = false;
    for (const std::string& a : args) {
        if (a == "--json") json = true;
        else if (a == "--reset") reset = true;
        else {
            std::fprintf(stderr, "cirquel-cli: prefs: unknown argument \"%s\"\n", a.c_str());
            return 2;
        }
    }
    if (reset) {
        Prefs_SetToDefault();
        Prefs_Fixup_Read();
        gs.grid_vals[START_GRID] = g_pref.last_agex;  // else the write fix-up brings it back
        if (!Prefs_Write()) {
            std::fprintf(stderr, "cirquel-cli: could not write %s\n", Prefs_Path().c_str());
            return 1;
        }
        std::fprintf(stderr, "cirquel-cli: wrote the default preferences to %s\n",
                     Prefs_Path().c_str());
        if (!json) return 0;
    }
    bool new_pref = true;
    Prefs_Read(new_pref);
    a_fields fields = Fields(g_pref);
    fields.insert(fields.begin(),
                  {{"file", Json_String(Prefs_Path())}, {"from_file", Bool(!new_pref)}});
    if (json) {
        std::printf("{\n");
        for (size_t i = 0; i < fields.size(); ++i)
            std::printf("  \"%s\": %s%s\n", fields[i].first.c_str(), fields[i].second.c_str(),
                        i + 1 < fields.size() ? "," : "");
        std::printf("}\n");
    } else {
        for (const auto& [name, value] : fields)
            std::printf("%-18s %s\n", name.c_str(), value.c_str());
    }
    return 0;
}
