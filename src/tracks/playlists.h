// Playlists of today's players: M3U/M3U8 (with #EXTINF lengths and titles)
// and XSPF. An entry without a title reads the tags of the file it names,
// when that file is here, else shows the file's name.
// Process-wide state: none.
#pragma once
#include <string>
#include <string_view>

#include "tracks/audio_tags.h"
#include "tracks/song_table.h"

// The tags of an entry's file; false when it has none (or is not here).
using a_tag_lookup = bool (*)(const std::string& path, a_track_tags& tags);

// Both fill the tags table's fields (see Tags_Table_Init). `folder` is the
// playlist's, for relative entries; `lookup` may be null. False when the
// playlist names no song.
[[nodiscard]] bool Parse_M3U(std::string_view text, const std::string& folder, a_tag_lookup lookup,
                             a_song_table& t);
[[nodiscard]] bool Parse_XSPF(std::string_view text, const std::string& folder, a_tag_lookup lookup,
                              a_song_table& t);
bool Is_XSPF(std::string_view head);
// Whether bytes can be a playlist's text: no NUL and no control character
// but tabs and line ends (random bytes named ".m3u" are not a playlist).
bool Is_Playlist_Text(std::string_view text);
bool Is_M3U(std::string_view head);

// A playlist entry (a path, relative or absolute, or a file: URL) as a
// path here; empty for other URLs.
std::string Playlist_Entry_Path(const std::string& folder, const std::string& entry);

// The Import menu's command for either kind.
void Do_Import_Playlist(const std::string& path);
