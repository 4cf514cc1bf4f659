// A text block on the clipboard: the whole record in the program's private
// block format, and its text as Unicode text.
// Process-wide state: the system clipboard (writes).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/text_rec.h"

// The private format's name, and its bytes: "CTXT", a 16-bit version, then
// the record as an undo snapshot holds it (never a pointer or a cache).
extern const char* const TEXT_BLOCK_CLIP_FORMAT;
enum : uint16_t { TEXT_BLOCK_CLIP_VERSION = 1 };
std::vector<uint8_t> Text_Block_Clip_Bytes(const a_om_rec& om);

// The record back from the private format's bytes (outside data: another
// copy of the program, or anything that named our format). False, with a
// one-line reason, when anything about them is wrong; `om` is then untouched.
[[nodiscard]] bool Text_Block_From_Clip(const std::vector<uint8_t>& bytes, a_om_rec& om, std::string& why);

// Puts the block on the clipboard unless it is empty; false when it is
// empty or there is no clipboard.
bool Scrap_Add_OM(const a_om_rec& om);
