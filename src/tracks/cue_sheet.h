// CUE sheets: the album's TITLE and PERFORMER, each TRACK's TITLE,
// PERFORMER and SONGWRITER, and lengths from one INDEX 01 to the next (the
// last track of a FILE up to that file's end, where its length is known).
// UTF-8 or the system code page.
// Process-wide state: none.
#pragma once
#include <string>
#include <string_view>

#include "tracks/song_table.h"

// The length in seconds of a file a sheet names; -1 when unknown.
using a_length_lookup = int (*)(const std::string& path);

// Fields "Track", "Name", "Artist", "Composer", "Album", "Time". `folder`
// is where the sheet lies, for the FILE names; `length` may be null. False
// when the sheet holds no track.
[[nodiscard]] bool Parse_CUE(std::string_view text, const std::string& folder, a_length_lookup length,
                             a_song_table& t);

// The Import menu's command: the sheet's tracks through the field dialog.
void Do_Import_CUE(const std::string& path);
