// Album art for a Windows Media Player playlist (WPL): for each folder its
// songs lie in, the first "..._LARGE.JPG" picture there becomes a photo block.
// Process-wide state: the document (through the photo blocks); shows the
// counts as an alert.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// The `src` attributes of the playlist's `media` elements, in document
// order, entities decoded.
std::vector<std::string> WPL_Media_Sources(std::string_view text);

// A `src` as a path on this machine: '\' is a separator, and a relative
// path is taken from the playlist's folder. A Windows drive path keeps its
// letter (it names nothing here).
std::string WPL_Resolve(const std::string& playlist_folder, const std::string& src);

// The first file of `folder` (by name) whose name is longer than and ends
// with "_LARGE.JPG", letter case ignored; empty when none.
std::string WPL_Folder_Art(const std::string& folder);

struct a_wpl_counts {
    int songs = 0;
    int folders = 0;
    int images = 0;
};
using a_wpl_place = bool (*)(const std::string& image_path);

// Counts the songs and their folders and places one picture per folder with
// `place` (a photo block when null). False when the playlist cannot be read.
[[nodiscard]] bool WPL_Import(const std::string& path, a_wpl_counts& counts, a_wpl_place place = nullptr);

// IMPORT_WPL_ART: the import, then "^0 songs in playlist ..." with the counts.
void Do_Import_WPL(const std::string& path);
