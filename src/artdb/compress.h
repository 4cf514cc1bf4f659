// The two lossless compressions of art pictures: PackBits, packed in pieces
// of at most 32,000 bytes, and the database's LZW variant (9- to 12-bit codes,
// most significant bit first, clear 256, end 257, length first).
// Process-wide state: none.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

enum : int { PACKBITS_PIECE = 32000, LZW_MAX_STRING = 4000 };

// Appends the packed form of `n` bytes; no run crosses a piece boundary.
void PackBits_Pack(const uint8_t* src, size_t n, std::vector<uint8_t>& out);
// Unpacks exactly `dstlen` bytes, piece by piece. False when the data ends
// early or a run would cross the end of a piece; `dst` is never overrun.
// `used` receives the number of source bytes consumed.
[[nodiscard]] bool PackBits_Unpack(const uint8_t* src, size_t srclen, uint8_t* dst, size_t dstlen,
                     size_t* used = nullptr);

// The uncompressed length stated at the start of an LZW stream.
[[nodiscard]] bool LZW_Length(const uint8_t* src, size_t srclen, uint32_t& length);
// Appends the LZW stream of `n` bytes (length, clear code, codes, end code).
void Compress_LZW(const uint8_t* src, size_t n, std::vector<uint8_t>& out);
// Expands a stream into `dst`, which holds exactly the stated length. False
// when the stream is damaged: a code beyond the table, a string over 4,000
// bytes, more or fewer bytes than stated. `dst` is never overrun.
[[nodiscard]] bool Expand_LZW(const uint8_t* src, size_t srclen, uint8_t* dst, size_t dstlen);
