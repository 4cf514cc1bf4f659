// Large JPEG photographs a project carries, decoded on other threads while
// the rest of the project is read: decoding them is most of what opening a
// project with photos costs.
// Process-wide state: the decodes under way, owned here; reads the open
// chunk stream g_chunk when starting.
#pragma once
#include <cstdint>
#include <vector>

#include "pixels/gworld.h"

// Starts decoding every "EMBD" chunk of the open stream that holds a large
// JPEG. The stream's bytes must stay as they are until Early_Decode_Stop.
void Early_Decode_Start();
// The picture of source `sid`, when its stored bytes are `bytes` and it was
// decoded early: moved into `mw`, true. Waits for the decodes still under
// way, taking part in them.
[[nodiscard]] bool Early_Decode_Take(int32_t sid, const std::vector<uint8_t>& bytes, a_masked_gworld& mw);
// Waits for the decodes and frees every picture nobody took.
void Early_Decode_Stop();

// Decoding early for as long as a project is read.
struct a_early_decode_scope {
    a_early_decode_scope() { Early_Decode_Start(); }
    ~a_early_decode_scope() { Early_Decode_Stop(); }
    a_early_decode_scope(const a_early_decode_scope&) = delete;
    a_early_decode_scope& operator=(const a_early_decode_scope&) = delete;
};
