// A photo, clip-art or collage-slot block on the clipboard: the whole record
// in the program's private block format. Its picture stays in this copy's
// picture cache, so a paste works while the picture is known here.
// Process-wide state: the system clipboard (writes).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/photo_rec.h"

// The private format's name, and its bytes: "CPHB", a 16-bit version, the
// block's kind, then the record as an undo snapshot holds it.
extern const char* const PHOTO_BLOCK_CLIP_FORMAT;
enum : uint16_t { PHOTO_BLOCK_CLIP_VERSION = 1 };
std::vector<uint8_t> Photo_Block_Clip_Bytes(const a_pasted_ph_rec& pasted);
// The record back from those bytes (outside data). False, with a one-line
// reason, when anything about them is wrong; `pasted` is then untouched.
[[nodiscard]] bool Photo_Block_From_Clip(const std::vector<uint8_t>& bytes, a_pasted_ph_rec& pasted,
                                         std::string& why);

// Puts the block on the clipboard; false when there is no clipboard.
bool Scrap_Add_PH(const a_pasted_ph_rec& pasted);
