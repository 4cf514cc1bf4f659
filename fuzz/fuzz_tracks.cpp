// Track lists come from files of every origin: the XML and tab exports, CUE
// sheets, M3U and XSPF playlists, WPL playlists and audio files' tags. The
// first byte picks the reader; whatever it reads must keep within the song table's bounds and
// turn into chunks within theirs.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include <sys/mman.h>
#include <unistd.h>

#include "base/prefs.h"
#include "tracks/audio_tags.h"
#include "tracks/cue_sheet.h"
#include "tracks/import.h"
#include "tracks/itunes_xml.h"
#include "tracks/playlists.h"
#include "tracks/tab_text.h"
#include "tracks/wpl.h"

namespace {

void Check(const a_song_table& t) {
    if (t.nfields > SONG_MAX_FIELDS || t.songs.size() > SONG_MAX_SONGS) std::abort();
    for (const a_song& s : t.songs)
        for (const std::u16string& v : s)
            if (v.size() > SONG_MAX_CHARS) std::abort();
    g_songfields_f = ~0u;
    g_songfields_c = 0x5555u;
    g_tracknum_fmt = 3;
    a_chunk_table c;
    SongTable_To_Chunks(t, c);
    if (c.chunks.size() > CHUNK_MAX) std::abort();
    for (const std::u16string& chunk : c.chunks)
        if (chunk.size() > CHUNK_MAX_CHARS) std::abort();
}

// The bytes as an audio file: a file in memory, opened by its path as any.
void Audio_Tags(std::string_view bytes) {
    const int fd = memfd_create("fuzz.mp3", 0);
    if (fd < 0) return;
    if (write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size())) {
        a_track_tags tags;
        (void)Tags_Read("/proc/self/fd/" + std::to_string(fd), tags);
        if (tags.length < -1) std::abort();
    }
    close(fd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    a_song_table t;
    switch (data[0] % 7) {
    case 0: (void)Parse_Tracks_XML(text, t); break;
    case 1: (void)Read_iTunes(text, t); break;
    case 2: (void)Parse_CUE(text, "/nonexistent", nullptr, t); break;
    case 3: (void)Parse_M3U(text, "/nonexistent", nullptr, t); break;
    case 4: (void)Parse_XSPF(text, "/nonexistent", nullptr, t); break;
    case 5:
        for (const std::string& src : WPL_Media_Sources(text)) (void)WPL_Resolve("/nonexistent", src);
        return 0;
    default: Audio_Tags(text); return 0;
    }
    Check(t);
    return 0;
}
