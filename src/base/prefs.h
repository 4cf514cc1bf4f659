// The preferences record, kept for the whole run and stored between runs.
// A leaf module: it includes only the platform layer (and the other leaves).
// Process-wide state: the preferences record g_pref and the start-choice service (reads and
// writes); the configuration folder.
#pragma once
#include <cstdint>
#include <string>

#include "base/notice.h"
#include "platform/clock.h"
#include "platform/geometry.h"
#include "platform/pixels.h"
#include "base/string_ids.h"

enum : int {
    PREFS_VERSION = 28,
    MAX_LAYOUTUSAGE = 20,
    MAX_RECENT_DOCS = 21,
    NDIRECT_KINDS = 5,  // indexed by a_direct_print_kind
    NMEDIA_ENTRIES = 3,
    NQUICK_COLORS = 7,
    RECENT_PATH_BYTES = 1024,
    // Default of the grid-line dash; equals the dash slider's default.
    PREFS_GRIDLINES_DASH = 10,
};

// Indices of a_print_media_spec::adj.
enum : int {
    MEDIA_INNERD = 0,   // hole diameter, tenths of a millimetre
    MEDIA_OUTERD = 1,   // outer diameter, or width of rectangular media
    MEDIA_SIDE = 2,     // flat-side height of hockey media, height of rectangular media
    MEDIA_DENSITY = 3,  // ink density level
    MEDIA_QUALITY = 4,  // print quality level
    NMEDIA_ADJ = 5
};

// One recently used layout.
struct a_layout_usage_rec {
    uint32_t count = 0;  // use count; 0 marks a free slot
    DateTimeRec when;    // time of last use
    char label[32] = {}; // template name as in the catalogue record
    uint32_t tx = 0;     // cached working-list index; 0 when not found
};

// One recent document: its path (UTF-8, NUL-terminated) and when it was used.
struct a_recent_doc {
    char doc_path[RECENT_PATH_BYTES] = {};
    DateTimeRec doc_time;
};

struct a_print_media_spec {
    char16_t label[64] = {};  // NUL-terminated, at most 63 units
    Point nudge;              // tenths of a millimetre, in the sheet's portrait frame
    int16_t adj[NMEDIA_ADJ] = {};
    bool operator==(const a_print_media_spec&) const = default;
};

struct a_print_media_array {
    uint16_t listx = 0;  // selected entry
    a_print_media_spec list[NMEDIA_ENTRIES];
};

struct a_pref_rec {
    uint16_t version = 0;
    int16_t language_offset = 0;  // interface language index, 0 = English
    a_print_media_array print_media[NDIRECT_KINDS];
    int16_t last_agex = 0;  // the start screen's last choice
    Rect tot_window;        // main-window bounds; empty: compute a default
    bool print_autopos = false;
    bool sound_option = false;
    bool sound2_option = false;
    bool scroll_option = false;
    bool echo_option = false;
    bool history_option = false;
    bool status_option = false;
    bool cutlines_option = false;
    bool showframes_option = false;
    bool tinycurs_option = false;
    bool exportb_option = false;
    bool embed_option = false;
    bool ruler_option = false;
    char addon_folder[64] = {};
    char16_t base_font[128] = {};  // default text font by name
    int16_t base_fontx = 0;        // its font number in this run
    a_recent_doc recent[MAX_RECENT_DOCS];
    a_layout_usage_rec recentlay[MAX_LAYOUTUSAGE];
    a_pixel24 colors[NQUICK_COLORS];
    a_win_pixel32 ruler_color;
    a_win_pixel32 gridlines_color;
    a_win_pixel32 cutlines_color;
    int16_t gridlines_dash = 0;
};

extern a_pref_rec g_pref;

// The track-list import's field choice, kept from one import to the next
// while the program runs (not stored in the file): bit f of the first set
// shows field f (0 is the track number), bit f of the second starts a new
// column with it; the track-number style is 1..7.
extern uint32_t g_songfields_f;
extern uint32_t g_songfields_c;
extern int16_t g_tracknum_fmt;

// Size of the preferences file: the fields of a_pref_rec in order, each at its
// natural width in host byte order, with no padding and no header.
extern const size_t PREFS_FILE_SIZE;

// Full path of the preferences file.
std::string Prefs_Path();

// Defaults, then the file over them when it holds a whole record of this
// version; `new_pref` is true when it did not. Then the read fix-ups.
bool Prefs_Read(bool& new_pref);
// Write fix-ups, then an atomic save; false when the file could not be written
// (the previous file is then left as it was), with "path: reason" in `error`.
[[nodiscard]] bool Prefs_Write(std::string* error = nullptr);
void Prefs_SetToDefault();
void Prefs_Fixup_Read();
void Prefs_Fixup_Write();

// The record as file bytes and back; From_Bytes refuses anything but a whole
// record of this version and leaves `pref` untouched then.
void Prefs_To_Bytes(const a_pref_rec& pref, uint8_t* out);
[[nodiscard]] bool Prefs_From_Bytes(const uint8_t* data, size_t size, a_pref_rec& pref);

// Names the three entries of a media list in the current language. With
// `allf` false an entry keeps its name unless it is still the default name
// of language `oldl`.
void Init_Media_Names(a_print_media_array& array, int oldl, bool allf);
void Fix_Direct_Print_Media_Names(a_print_media_array (&array)[NDIRECT_KINDS], int old, bool allf);
// The default name of media entry `entry` (0..2) in language `lang`.
std::u16string Media_Default_Name(int lang, int entry);

// Switches the interface language (one this build offers), renaming
// untouched media entries.
void Prefs_Set_Language(int lang);

// Entry `mediax` of kind `kind`, its nudge turned a quarter for landscape layouts.
void Media_Spec_Get(int kind, int mediax, bool landscape, a_print_media_spec& spec);
void Media_Spec_Set(int kind, int mediax, bool landscape, const a_print_media_spec& spec);

// Where the write fix-up finds the start screen's current choice; the
// interface installs it (none: last_agex stays).
extern a_service<int()> g_prefs_start_choice;

void Prefs_Init();
void Prefs_Stop();
