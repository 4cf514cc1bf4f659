// Numbers of the string lists and of the strings the program uses by name.
#pragma once

enum : int {
    MAIN_STR_ID = 200,      // dialog texts, buttons, prompts, questions
    ALERT_STR_ID = 400,     // alert messages
    ADJUST_STR_ID = 500,    // slider names
    UNITKIND_STR_ID = 600,  // unit-kind names, kind + 1
    UNDO_STR_ID = 800,      // undo labels
    DESIGN_STR_ID = 900,    // export and template dialogs
    IDENTITY_STR_ID = 1000  // program identity, never shifted by language
};

// Strings of the main list.
enum : int {
    STR_SAVE_BEFORE_SWITCH = 31,  // "Save changes to "^0" before switching layouts?"
    STR_DONT_SAVE = 33,
    STR_SAVE = 34,
    STR_UNTITLED = 48,
    STR_OK = 8,
    STR_CANCEL = 105,
    STR_EMPTY = 260,
    STR_ALL_KINDS = 380,
    STR_ALL_BRANDS = 381,
    STR_PLAIN_PAPER = 385,
    STR_CORNER = 386,
    STR_LANDSCAPE = 387,
    STR_PORTRAIT = 388,
    STR_CLONE_QUESTION = 1001,  // asked before a designed unit becomes a clone
    STR_BLURAY_WRAP = 1002,     // name of the Blu-ray wrap kind, which the kind list lacks
};

// Alerts.
enum : int {
    ALERT_INTERNAL_ERROR = 4,
    ALERT_OUT_OF_MEMORY = 5,
    ALERT_MISSING_DATA = 6,
    ALERT_CANNOT_READ = 10,
    ALERT_PREFS_NOT_WRITTEN = 13,
    ALERT_NOT_ENOUGH_MEMORY = 16,  // memory for one action (an image, a file's bytes)
    ALERT_CANVAS_MISSING = 19,   // a canvas picture is missing: a white one is used
    ALERT_ART_OUT_OF_DATE = 40,  // the art database lacks the about-box picture
    ALERT_ART_NOT_FOUND = 44,    // ^0 the art file's name
    ALERT_ART_DAMAGED = 52,      // a partial copy or corrupted art database
    ALERT_IMAGE_TOO_LARGE = 61,  // an image 4096 or more pixels wide
    ALERT_DEEP_IMAGE = 62,       // more than 8 bits per channel, or not RGB
};

// Strings of the identity list.
enum : int {
    IDENT_ART_FILE = 4,  // "Cirquel.ART4"
};
