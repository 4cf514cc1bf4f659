#include "base/prefs.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <type_traits>
#include <vector>

#include "platform/app.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "platform/sound.h"
#include "base/messages.h"
#include "base/string_ids.h"

a_pref_rec g_pref;
uint32_t g_songfields_f = 0;
uint32_t g_songfields_c = 0;
int16_t g_tracknum_fmt = 1;

a_service<int()> g_prefs_start_choice;

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

static_assert(Count_File_Size() == 25402,
              "the preferences file layout changed: raise PREFS_VERSION");

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
    if (p.gridlines_dash < 1 || p.gridlines_dash > PREFS_GRIDLINES_DASH)
        p.gridlines_dash = PREFS_GRIDLINES_DASH;
}


// The text of a NUL-terminated UTF-16 field, and a text stored into one (cut
// to leave room for the terminator).
template <size_t N>
std::u16string Text_Of(const char16_t (&field)[N]) {
    size_t n = 0;
    while (n < N && field[n]) ++n;
    return std::u16string(field, n);
}

template <size_t N>
void Set_Text(char16_t (&field)[N], const std::u16string& text) {
    size_t n = std::min(text.size(), N - 1);
    std::fill(std::begin(field), std::end(field), u'\0');
    std::copy_n(text.begin(), n, field);
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
    GetIndString(folder, IDENTITY_STR_ID, ID_PREFS_FOLDER);
    GetIndString(file, IDENTITY_STR_ID, ID_PREFS_FILE);
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
    p.language_offset = static_cast<int16_t>(Desktop_Language());
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
    if (!Language_Offered(g_pref.language_offset)) g_pref.language_offset = LANG_ENGLISH;
    Messages_SetLanguage(g_pref.language_offset);
    int fontx = Font_Find(Text_Of(g_pref.base_font));
    if (fontx == 0) fontx = Font_Base_Proportional();
    g_pref.base_fontx = static_cast<int16_t>(fontx);
}

void Prefs_Fixup_Write() {
    if (g_prefs_start_choice.Installed())
        g_pref.last_agex = static_cast<int16_t>(g_prefs_start_choice.Call_Or([] { return 0; }));
    std::u16string name = Font_Name(g_pref.base_fontx);
    if (!name.empty()) Set_Text(g_pref.base_font, name);
}

bool Prefs_Write(std::string* error) {
    Prefs_Fixup_Write();
    std::vector<uint8_t> bytes(PREFS_FILE_SIZE);
    Prefs_To_Bytes(g_pref, bytes.data());
    std::string path = Prefs_Path();
    std::string folder = path.substr(0, path.rfind('/'));
    if (!Folder_Create(folder)) {  // nothing saved
        if (error) *error = folder + ": the folder cannot be made";
        return false;
    }
    return File_SaveAtomic(path, bytes.data(), bytes.size(), error);
}

std::u16string Media_Default_Name(int lang, int entry) {
    std::string s;
    Get_Lang_String(STR_MEDIA_HUB + entry, MAIN_STR_ID, lang, s);
    return Utf8_To_Utf16(s);
}

void Init_Media_Names(a_print_media_array& array, int oldl, bool allf) {
    for (int e = 0; e < NMEDIA_ENTRIES; ++e) {
        a_print_media_spec& m = array.list[e];
        if (allf || Text_Of(m.label) == Media_Default_Name(oldl, e))
            Set_Text(m.label, Media_Default_Name(g_pref.language_offset, e));
    }
}

void Fix_Direct_Print_Media_Names(a_print_media_array (&array)[NDIRECT_KINDS], int old, bool allf) {
    for (a_print_media_array& a : array) Init_Media_Names(a, old, allf);
}

void Prefs_Set_Language(int lang) {
    if (!Language_Offered(lang)) return;
    int old = g_pref.language_offset;
    g_pref.language_offset = static_cast<int16_t>(lang);
    Messages_SetLanguage(lang);
    Fix_Direct_Print_Media_Names(g_pref.print_media, old, false);
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


void Prefs_Init() {
    bool new_pref = false;
    Prefs_Read(new_pref);
    Sound_Enable(g_pref.sound_option);
}

void Prefs_Stop() {}
