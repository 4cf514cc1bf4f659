// One song table from the files a user names, as the Import menu would read
// them, told apart by content and suffix: an iTunes or Apple Music XML
// export, a tab or bar text export, a CUE sheet, an M3U/M3U8 or XSPF
// playlist, or audio files (folders stand for the audio files in them).
// Process-wide state: none.
#pragma once
#include <string>
#include <vector>

#include "tracks/song_table.h"

// 0 when read; else the alert to show (ALERT_CANNOT_READ, ALERT_NO_MP3_TAGS),
// with the file at fault in `culprit`.
[[nodiscard]] int Tracks_Read_Paths(const std::vector<std::string>& paths, a_song_table& t,
                                    std::string& culprit);
