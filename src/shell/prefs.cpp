#include "shell/prefs.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <type_traits>
#include <vector>

#include "platform/app.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "platform/sound.h"
#include "shell/messages.h"
#include "shell/string_ids.h"

a_pref_rec g_pref;

namespace {

// The file layout, in one place: every field of a_pref_rec in declaration
// order at its natural width (bool as one byte, char16_t as two), host byte
// order, nothing between fields. The same walk counts, writes and reads.
template <class IO, class P>
constexpr void Walk(IO& io, P& p) {
    auto date = [&io](auto& d) {
        io.Num(d.year), io.Num(d.month), io.Num(d.day), io.Num(d.hour), io.Num(d.minute);
        io.Num(d.second), io.Num(d.dayOfWeek);
    };
    io.Num(p.version);
    io.Num(p.language_offset);
    for (auto& m : p.print_media) {
        io.Num(m.listx);
        for (auto& e : m.list) {
            for (auto& c : e.label) io.Num(c);
            io.Num(e.nudge.v), io.Num(e.nudge.h);
            for (auto& a : e.adj) io.Num(a);
        }
    }
    io.Num(p.last_agex);
    io.Num(p.tot_window.top), io.Num(p.tot_window.left);
    io.Num(p.tot_window.bottom), io.Num(p.tot_window.right);
    io.Num(p.print_autopos), io.Num(p.sound_option), io.Num(p.sound2_option);
    io.Num(p.scroll_option), io.Num(p.echo_option), io.Num(p.history_option);
    io.Num(p.status_option), io.Num(p.cutlines_option), io.Num(p.showframes_option);
    io.Num(p.tinycurs_option), io.Num(p.exportb_option), io.Num(p.embed_option);
    io.Num(p.ruler_option);
    io.Bytes(p.addon_folder, sizeof p.addon_folder);
    for (auto& c : p.base_font) io.Num(c);
    io.Num(p.base_fontx);
    for (auto& r : p.recent) {
        io.Bytes(r.doc_path, sizeof r.doc_path);
        date(r.doc_time);
    }
    for (auto& r : p.recentlay) {
        io.Num(r.count);
        date(r.when);
        io.Bytes(r.label, sizeof r.label);
        io.Num(r.tx);
    }
    for (auto& c : p.colors) io.Num(c.r), io.Num(c.g), io.Num(c.b);
    for (auto* c : {&p.ruler_color, &p.gridlines_color, &p.cutlines_color})
        io.Num(c->b), io.Num(c->g), io.Num(c->r), io.Num(c->a);
    io.Num(p.gridlines_dash);
}

struct a_counter {
    size_t n = 0;
    template <class T>
    constexpr void Num(const T&) { n += sizeof(T); }
    constexpr void Bytes(const char*, size_t size) { n += size; }
};

struct a_writer {
    uint8_t* out;
    template <class T>
    void Num(const T& v) {
        if constexpr (std::is_same_v<T, bool>) {
            *out++ = v ? 1 : 0;
        } else {
            std::memcpy(out, &v, sizeof v);
            out += sizeof v;
        }
    }
    void Bytes(const char* s, size_t size) {
        std::memcpy(out, s, size);
        out += size;
    }
};

struct a_reader {
    const uint8_t* in;
    template <class T>
    void Num(T& v) {
        if constexpr (std::is_same_v<T, bool>) {
            v = *in++ != 0;  // any byte other than 0 is "on"; never a stray bool value
        } else {
            std::memcpy(&v, in, sizeof v);
            in += sizeof v;
        }
    }
    void Bytes(char* s, size_t size) {
        std::memcpy(s, in, size);
        in += size;
    }
};

constexpr size_t Count_File_Size() {
    a_counter c;
    const a_pref_rec p{};
    Walk(c, p);
    return c.n;
}

static_assert(Count_File_Size() == 25402, "the preferences file layout changed: raise PREFS_VERSION");

template <size_t N, class C>
void Terminate(C (&s)[N]) {
    s[N - 1] = 0;
}

// Makes a record read from outside safe to use: strings end inside their
// fields and indices stay in range.
void Sanitize(a_pref_rec& p) {
    for (auto& m : p.print_media) {
        if (m.listx >= NMEDIA_ENTRIES) m.listx = 0;
        for (auto& e : m.list) Terminate(e.label);
    }
    Terminate(p.addon_folder);
    Terminate(p.base_font);
    for (auto& r : p.recent) Terminate(r.doc_path);
    if (p.gridlines_dash < 1 || p.gridlines_dash > PREFS_GRIDLINES_DASH) p.gridlines_dash = PREFS_GRIDLINES_DASH;
}

int (*g_start_choice)() = nullptr;

std::u16string Utf8_To_Utf16(const std::string& s) {
    std::u16string out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        uint32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        bool ok = len > 0 && i + static_cast<size_t>(len) <= s.size();
        for (int k = 1; ok && k < len; ++k) {
            unsigned char cc = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
            ok = (cc & 0xC0) == 0x80;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!ok) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        i += static_cast<size_t>(len);
    }
    return out;
}

std::u16string Label_Of(const a_print_media_spec& e) {
    size_t n = 0;
    while (n < std::size(e.label) && e.label[n]) ++n;
    return std::u16string(e.label, n);
}

void Set_Label(a_print_media_spec& e, const std::u16string& name) {
    size_t n = std::min(name.size(), std::size(e.label) - 1);
    std::fill(std::begin(e.label), std::end(e.label), u'\0');
    std::copy_n(name.begin(), n, e.label);
}

// The stored media defaults: per direct kind and entry, adj 0..2.
constexpr int16_t kMediaAdj[NDIRECT_KINDS][NMEDIA_ENTRIES][3] = {
    {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
    {{180, 1180, 0}, {410, 1180, 0}, {450, 1180, 0}},
    {{180, 780, 0}, {220, 780, 0}, {240, 780, 0}},
    {{180, 780, 590}, {180, 790, 560}, {180, 790, 620}},
    {{180, 850, 590}, {180, 840, 590}, {180, 850, 590}},
};

constexpr a_pixel24 kQuickColors[NQUICK_COLORS] = {
    {255, 0, 0},     {255, 155, 194}, {0, 0, 255},     {155, 196, 254},
    {116, 77, 113}, {213, 174, 180}, {127, 213, 196},
};

// Locale language prefixes by language index.
const char* const kLocales[NLANGUAGES] = {"en", "cs", "da", "de", "es", "fr", "it",
                                          "hu", "nl", "nb", "pl", "pt", "fi", "sv",
                                          "tr", "zh_TW", "zh_CN", "ja", "el", "ko"};

int16_t Negate(int16_t v) { return v == INT16_MIN ? INT16_MAX : static_cast<int16_t>(-v); }

a_print_media_spec& Media_Entry(int kind, int mediax) {
    if (kind < 0 || kind >= NDIRECT_KINDS) kind = 0;
    if (mediax < 0 || mediax >= NMEDIA_ENTRIES) mediax = 0;
    return g_pref.print_media[kind].list[mediax];
}

}  // namespace

const size_t PREFS_FILE_SIZE = Count_File_Size();

std::string Prefs_Path() {
    std::string folder, file;
    GetIndString(folder, IDENTITY_STR_ID, 2);
    GetIndString(file, IDENTITY_STR_ID, 3);
    if (folder.empty()) folder = "Cirquel";
    if (file.empty()) file = "Cirquel 4 Prefs.ini";
    return Config_Folder() + "/" + folder + "/" + file;
}

void Prefs_To_Bytes(const a_pref_rec& pref, uint8_t* out) {
    a_writer w{out};
    Walk(w, pref);
}

bool Prefs_From_Bytes(const uint8_t* data, size_t size, a_pref_rec& pref) {
    uint16_t version = 0;
    if (size != PREFS_FILE_SIZE) return false;
    std::memcpy(&version, data, sizeof version);
    if (version != PREFS_VERSION) return false;
    a_reader r{data};
    Walk(r, pref);
    Sanitize(pref);
    return true;
}

void Prefs_SetToDefault() {
    a_pref_rec& p = g_pref;
    p = a_pref_rec{};
    p.version = PREFS_VERSION;
    p.language_offset = static_cast<int16_t>(Language_From_Locale(Platform_Locale_Name()));
    Fix_Direct_Print_Media_Names(p.print_media, p.language_offset, true);
    for (int k = 0; k < NDIRECT_KINDS; ++k) {
        for (int e = 0; e < NMEDIA_ENTRIES; ++e) {
            a_print_media_spec& m = p.print_media[k].list[e];
            for (int a = 0; a < 3; ++a) m.adj[a] = kMediaAdj[k][e][a];
            m.adj[MEDIA_DENSITY] = 5;
            m.adj[MEDIA_QUALITY] = 3;
        }
    }
    p.sound_option = true;
    p.scroll_option = true;
    p.cutlines_option = true;
    p.showframes_option = true;
    p.embed_option = true;
    p.base_fontx = static_cast<int16_t>(Font_Base_Proportional());
    std::copy(std::begin(kQuickColors), std::end(kQuickColors), p.colors);
    p.ruler_color = a_win_pixel32{};
    p.gridlines_color = a_win_pixel32{220, 30, 30, 0};
    p.cutlines_color = a_win_pixel32{0, 0, 255, 0};
    p.gridlines_dash = PREFS_GRIDLINES_DASH;
}

bool Prefs_Read(bool& new_pref) {
    Prefs_SetToDefault();
    new_pref = true;
    std::string path = Prefs_Path();
    std::vector<uint8_t> data;
    // Anything but a file of exactly the record's size is not ours: never read it whole.
    if (File_Size(path) == static_cast<int64_t>(PREFS_FILE_SIZE) && File_ReadAll(path, data)) {
        a_pref_rec stored;
        if (Prefs_From_Bytes(data.data(), data.size(), stored)) {
            g_pref = stored;
            new_pref = false;
        }
    }
    Prefs_Fixup_Read();
    return true;
}

void Prefs_Fixup_Read() {
    if (!Language_Is_Offered(g_pref.language_offset)) g_pref.language_offset = 0;
    size_t n = 0;
    while (n < std::size(g_pref.base_font) && g_pref.base_font[n]) ++n;
    int fontx = Font_Find(std::u16string(g_pref.base_font, n));
    if (fontx == 0) fontx = Font_Base_Proportional();
    g_pref.base_fontx = static_cast<int16_t>(fontx);
}

void Prefs_Fixup_Write() {
    if (g_start_choice) g_pref.last_agex = static_cast<int16_t>(g_start_choice());
    std::u16string name = Font_Name(g_pref.base_fontx);
    if (name.empty()) return;
    size_t n = std::min(name.size(), std::size(g_pref.base_font) - 1);
    std::fill(std::begin(g_pref.base_font), std::end(g_pref.base_font), u'\0');
    std::copy_n(name.begin(), n, g_pref.base_font);
}

bool Prefs_Write() {
    Prefs_Fixup_Write();
    std::vector<uint8_t> bytes(PREFS_FILE_SIZE);
    Prefs_To_Bytes(g_pref, bytes.data());
    std::string path = Prefs_Path();
    Folder_Create(path.substr(0, path.rfind('/')));
    return File_SaveAtomic(path, bytes.data(), bytes.size());
}

std::u16string Media_Default_Name(int lang, int entry) {
    std::string s;
    int index = 399 + entry;
    if (lang > 0 && lang < NLANGUAGES) GetIndString(s, MAIN_STR_ID + lang, index);
    if (s.empty()) GetIndString(s, MAIN_STR_ID, index);
    return Utf8_To_Utf16(s);
}

void Init_Media_Names(a_print_media_array& array, int oldl, bool allf) {
    for (int e = 0; e < NMEDIA_ENTRIES; ++e) {
        a_print_media_spec& m = array.list[e];
        if (allf || Label_Of(m) == Media_Default_Name(oldl, e))
            Set_Label(m, Media_Default_Name(g_pref.language_offset, e));
    }
}

void Fix_Direct_Print_Media_Names(a_print_media_array (&array)[NDIRECT_KINDS], int old, bool allf) {
    for (a_print_media_array& a : array) Init_Media_Names(a, old, allf);
}

void Prefs_Set_Language(int lang) {
    if (!Language_Is_Offered(lang)) return;
    int old = g_pref.language_offset;
    g_pref.language_offset = static_cast<int16_t>(lang);
    Fix_Direct_Print_Media_Names(g_pref.print_media, old, false);
}

bool Language_Is_Offered(int lang) {
    if (lang == 0) return true;
    if (lang < 0 || lang >= NLANGUAGES) return false;
    // A language is offered when it has its own alert list.
    std::string s;
    GetIndString(s, ALERT_STR_ID + lang, ALERT_INTERNAL_ERROR);
    return !s.empty();
}

int Language_From_Locale(const std::string& locale) {
    // Chinese needs the territory to tell the scripts apart; the others do not.
    for (int lang = NLANGUAGES - 1; lang > 0; --lang) {
        std::string code = kLocales[lang];
        if (locale.compare(0, code.size(), code) != 0) continue;
        if (locale.size() == code.size() || locale[code.size()] == '_' ||
            locale[code.size()] == '.' || locale[code.size()] == '@')
            return lang;
    }
    if (locale.rfind("no", 0) == 0 || locale.rfind("nn", 0) == 0) return 9;
    if (locale == "zh_HK" || locale == "zh_MO") return 15;
    if (locale.rfind("zh", 0) == 0) return 16;
    return 0;
}

void Media_Spec_Get(int kind, int mediax, bool landscape, a_print_media_spec& spec) {
    spec = Media_Entry(kind, mediax);
    if (landscape) {
        Point stored = spec.nudge;
        spec.nudge.h = stored.v;
        spec.nudge.v = Negate(stored.h);
    }
}

void Media_Spec_Set(int kind, int mediax, bool landscape, const a_print_media_spec& spec) {
    a_print_media_spec& m = Media_Entry(kind, mediax);
    m = spec;
    Terminate(m.label);
    if (landscape) {
        m.nudge.v = spec.nudge.h;
        m.nudge.h = Negate(spec.nudge.v);
    }
}

void Prefs_SetStartChoiceProc(int (*proc)()) { g_start_choice = proc; }

void Prefs_Init() {
    bool new_pref = false;
    Prefs_Read(new_pref);
    Sound_Enable(g_pref.sound_option);
}

void Prefs_Stop() { g_start_choice = nullptr; }
