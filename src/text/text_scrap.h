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

// A run of characters with their overrides, as copied from a block being
// edited: "CRUN", a 16-bit version, then a block record (as above) whose
// characters are the run.
extern const char* const TEXT_RUN_CLIP_FORMAT;
enum : uint16_t { TEXT_RUN_CLIP_VERSION = 1 };
// Characters lo .. hi - 1 of `om`.
std::vector<uint8_t> Text_Run_Clip_Bytes(const a_om_rec& om, int lo, int hi);
// The run back (layout places cleared); false, with a one-line reason and
// `run` untouched, when the bytes are wrong.
[[nodiscard]] bool Text_Run_From_Clip(const std::vector<uint8_t>& bytes, std::vector<a_xyl_char>& run,
                                      std::string& why);
// The run on the clipboard in our format and as plain text; false for an
// empty run or no clipboard.
bool Scrap_Add_Run(const a_om_rec& om, int lo, int hi);

// Puts the block on the clipboard unless it is empty; false when it is
// empty or there is no clipboard.
bool Scrap_Add_OM(const a_om_rec& om);
