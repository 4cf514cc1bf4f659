// The system clipboard: one set of formats put at once (a private format of
// ours and Unicode text), and reading them back. No toolkit types appear here.
// Process-wide state: the system clipboard (needs the toolkit started).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A private format of the program, named like "application/x-cirquel-text".
struct a_clip_format {
    std::string name;
    std::vector<uint8_t> bytes;
};

// Replaces the clipboard's contents by `text` (when not empty) and the
// private formats; false when there is no clipboard.
bool Clipboard_Put(const std::u16string& text, const std::vector<a_clip_format>& formats);
// Empties the clipboard; false when there is none.
bool Clipboard_Clear();
// The clipboard's Unicode text (empty when none).
std::u16string Clipboard_Text();
// The bytes of a private format; false when the clipboard holds none, or
// more than `max_bytes` (outside data: the reader checks it further).
bool Clipboard_Get(const std::string& name, size_t max_bytes, std::vector<uint8_t>& bytes);
