// Numbers of the string lists, of the strings the program uses by name, and
// of the interface languages. This is the one table of those numbers: a
// string named here must exist in data/strings/en.txt (a test checks it).
// Process-wide state: none.
#pragma once

enum : int {
    MAIN_STR_ID = 200,      // dialog texts, buttons, prompts, questions, tool names
    INSTALL_STR_ID = 300,   // installation texts
    ALERT_STR_ID = 400,     // alert messages
    ADJUST_STR_ID = 500,    // slider names, indexed by slider number
    UNITKIND_STR_ID = 600,  // unit-kind names, kind + 1
    UNDO_STR_ID = 800,      // undo labels, indexed by the undo operation
    DESIGN_STR_ID = 900,    // export and template-designer dialogs
    IDENTITY_STR_ID = 1000  // program identity, never shifted by language
};

// Interface languages: the list read is base id + language index.
enum : int {
    LANG_ENGLISH = 0,
    LANG_GERMAN = 3,
    NLANGUAGES = 20,
};
// Language codes by index (help files, string files, the command line).
inline constexpr const char* kLanguageCodes[NLANGUAGES] = {
    "en", "cs", "da", "de", "es", "fr", "it", "hu", "nl", "no",
    "pl", "pt", "fi", "sv", "tr", "zh-CHT", "zh-CHS", "ja", "el", "ko"};

// Strings of the identity list.
enum : int {
    ID_PROGRAM_NAME = 1,
    ID_PREFS_FOLDER = 2,
    ID_PREFS_FILE = 3,
    ID_ART_FILE = 4,
    ID_MAKER_NAME = 6,
    ID_MAKER_URL = 7,
    ID_PROGRAM_TITLE = 8,  // descriptive name: window title, @P
    ID_PROGRAM_SHORT = 10,
    ID_USER_MANUAL = 12,
    ID_TEMPLATES_FOLDER = 13,
    ID_HELP_FOLDER = 16,
};

// Strings of the main list.
enum : int {
    STR_SAVE_BEFORE_OPEN = 1,     // "Save changes to "^0" before opening a new file?"
    STR_SAVE_BEFORE_CLOSE = 3,
    STR_SAVE_BEFORE_QUIT = 4,
    STR_REVERT_QUESTION = 5,
    STR_SAVE_AS = 6,
    STR_OK = 8,
    STR_REVERT = 29,
    STR_DONT_REVERT = 30,
    STR_SAVE_BEFORE_SWITCH = 31,  // "Save changes to "^0" before switching layouts?"
    STR_DONT_SAVE = 33,
    STR_SAVE = 34,
    STR_UNTITLED = 48,
    STR_TOOL_NAME = 51,           // + tool number, 16 tools
    STR_GRADIENT_KIND = 69,       // + gradient kind: Linear .. Wavy (6)
    STR_SPRAY_SPREAD = 78,        // + spread: uniform, loose, normal, tight
    STR_CANCEL = 105,
    STR_LETTER_DVD_WRAP = 256,
    STR_EMPTY = 260,
    STR_LIGHTSCRIBE_FIRST = 347,  // LightScribe messages 347 .. 356
    STR_LIGHTSCRIBE_LAST = 356,
    STR_ALL_KINDS = 380,
    STR_ALL_BRANDS = 381,
    STR_PLAIN_PAPER = 385,
    STR_CORNER = 386,
    STR_LANDSCAPE = 387,
    STR_PORTRAIT = 388,
    STR_MEDIA_HUB = 399,          // default media names "Hub printable", "Standard", "Custom"
    STR_MEDIA_STANDARD = 400,
    STR_MEDIA_CUSTOM = 401,
    STR_NO_FLEXSTIX = 408,
    STR_CHOOSE_FOLDER = 409,
    // Ours, beyond the numbers of the original lists.
    STR_CLONE_QUESTION = 1001,    // asked before a designed unit becomes a clone
    STR_BLURAY_WRAP = 1002,       // name of the Blu-ray wrap kind, which the kind list lacks
    STR_UNDO = 1003,              // Edit menu, followed by the undo label
    STR_REDO = 1004,
    STR_CMD_NO_SLASH = 1005,      // command-line message boxes
    STR_CMD_NOT_NUMERIC = 1006,
    STR_CMD_BAD_PARAM = 1007,
    STR_CMD_NO_INPUT = 1008,
    STR_FILETYPE_PROJECT = 1009,  // " Label", after the program name
    STR_FILETYPE_ART = 1010,      // " Art Database"
    STR_PRINT_JOB = 1011,         // " Job", after the program name
    STR_FONT_SUBST = 1012,
    STR_CHOOSE_IMPORT_FILES = 1013,
    STR_SELECT_FIELDS = 1014,
    STR_START_COLUMN = 1015,
    STR_TRACK_NUMBER = 1016,
    STR_TRACK_STYLE = 1017,       // + style - 1: "1)", "1]", "(1)", "[1]", "1:", "1.", "1"
    STR_MEDIA_NAME = 1024,
    STR_LS_REGION = 1025,         // + coverage - 1: Title, Content, Full
    STR_MARK_20MM = 1028,
    STR_MARK_1INCH = 1029,
    STR_PROGRESS_TITLE = 1030,
    STR_CHOOSE_PROJECT = 1031,    // open dialog title
    STR_REMAP_PROMPT = 1032,      // the remap dialog
    STR_REMAP_ROW = 1033,         // "Label ^0", ^0 the new unit's number
    STR_FILTER_PROJECTS = 1034,   // names of file-dialog filters
    STR_FILTER_LAYOUTS = 1035,
    STR_FILTER_TEXT = 1036,
    STR_FILTER_IMAGES = 1037,
    STR_FILTER_MP3 = 1038,
    STR_FILTER_ALL = 1039,
};

// Alerts.
enum : int {
    ALERT_NO_CODECS = 1,
    ALERT_SMALL_SCREEN = 2,
    ALERT_INTERNAL_ERROR = 4,
    ALERT_OUT_OF_MEMORY = 5,
    ALERT_MISSING_DATA = 6,
    ALERT_CANNOT_READ = 10,
    ALERT_NO_PRINTER = 11,
    ALERT_PREFS_WRITE = 13,
    ALERT_CANNOT_SAVE = 15,
    ALERT_CANVAS_MISSING = 19,
    ALERT_PRINT_CANCELLED = 20,
    ALERT_MEMORY_LIMITED = 24,
    ALERT_PRESS_ESC = 26,
    ALERT_NO_BROWSER = 35,
    ALERT_ART_OUT_OF_DATE = 40,
    ALERT_ART_NOT_FOUND = 44,
    ALERT_NOTHING_TO_PRINT = 48,
    ALERT_EXPORT_FAILED = 49,
    ALERT_NO_HELP = 50,
    ALERT_ART_CORRUPT = 52,
    ALERT_OLD_PROJECT = 53,
    ALERT_STICK_READY = 59,
    ALERT_PRINT_FILE_WRITTEN = 60,
    // Ours.
    ALERT_DEEP_IMAGE = 101,
    ALERT_NO_MEMORY_FOR_THIS = 102,
    ALERT_IMAGE_TOO_WIDE = 103,
    ALERT_NO_MP3_TAGS = 104,
    ALERT_PLAYLIST_SUMMARY = 105,
    ALERT_PRINT_FAILED = 106,
    ALERT_UNDO_IN_MEMORY = 121,
    ALERT_SAVED_WITH_NOTE = 122,
    ALERT_RECOVERY_ELSEWHERE = 123,
    ALERT_RECOVERY_FAILED = 124,
    ALERT_IMAGE_TOO_MANY_PIXELS = 109,
    ALERT_IMAGE_INCOMPLETE = 107,
    ALERT_TRACKS_CUT = 108,
    ALERT_LIST_TOO_LONG = 110,
};

// Sizes of the lists indexed by an enumeration.
enum : int {
    NSLIDER_NAMES = 102,  // list 500: one name per slider 1 .. 102
    NUNITKIND_NAMES = 69, // list 600: kinds 0 .. 68
    NUNDO_LABELS = 61,    // list 800: operations 1 .. 61 (0 is never recorded)
    NTOOL_NAMES = 16,
};

// Strings of the designer list: dialog items keep their item numbers.
enum : int {
    DES_PAPER_MENU = 61,        // + paper item - 1 (9 items, the last "Custom")
    DES_ORIENTATION_MENU = 70,  // Portrait, Landscape
    DES_UNITS_MENU = 72,        // Millimeters, Inches
    DES_PITCH_MENU = 74,        // Space between labels, Left edge to left edge
    DES_EXPORT_NAME = 76,       // "LAYOUT", followed by a number
    DES_TITLE = 77,
};
