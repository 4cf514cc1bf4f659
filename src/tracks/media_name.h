// The media-name dialog's model: the name of the current direct-print
// medium, edited in a field of up to 63 characters that may not be left empty.
// Process-wide state: the preferences' media lists (reads and writes through
// the document's media specs); asks through the dialog service.
#pragma once
#include <string>

enum : int {
    MEDIA_NAME_MAX = 63,
    DLOG_MEDIA_NAME = 1211,
};

struct a_medianame_rec {
    std::u16string name;
    bool valid = false;  // confirmed by OK
};

// The edit field's rule: typing past 63 characters is refused.
void MediaName_Set(a_medianame_rec& rec, const std::u16string& typed);
bool MediaName_Can_OK(const a_medianame_rec& rec);

enum a_medianame_key : int { MEDIANAME_NONE, MEDIANAME_ACCEPT, MEDIANAME_CANCEL, MEDIANAME_BEEP };
// Return accepts (a beep while the field is empty), Escape cancels.
a_medianame_key MediaName_Key(const a_medianame_rec& rec, int key);

// The dialog over `rec`; `edit` stands for the user's typing headless.
// True with rec.valid when confirmed.
[[nodiscard]] bool Ask_Media_Name(a_medianame_rec& rec, void (*edit)(a_medianame_rec&) = nullptr);

// The current medium's name, as the dialog starts with it.
a_medianame_rec Media_Name_Current();
// A name into the current medium's settings (cut to 63 characters; an empty
// name is refused). False when nothing was stored.
bool Media_Name_Store(const std::u16string& name);

// Reads the current medium's name, asks, and stores it back when confirmed.
// True when it changed; the caller redraws the media grid.
bool Edit_Media_Name(void (*edit)(a_medianame_rec&) = nullptr);
