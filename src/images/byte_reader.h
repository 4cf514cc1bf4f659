// A cursor over bytes from outside: every read is checked against the end,
// and a failed read leaves the cursor failed so a reader tests once at the end
// of a header rather than after every field.
// Process-wide state: none.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

struct a_byte_reader {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t pos = 0;
    bool failed = false;

    size_t Left() const { return pos <= size ? size - pos : 0; }
    bool Has(size_t n) const { return !failed && n <= Left(); }
    // The next n bytes, or nullptr (and failed) when fewer remain.
    const uint8_t* Take(size_t n) {
        if (!Has(n)) {
            failed = true;
            return nullptr;
        }
        const uint8_t* p = data + pos;
        pos += n;
        return p;
    }
    [[nodiscard]] bool Skip(size_t n) { return Take(n) != nullptr || n == 0; }
    [[nodiscard]] bool Seek(size_t to) {
        if (failed || to > size) return !(failed = true);
        pos = to;
        return true;
    }
    bool Tag(const char* four) {
        const uint8_t* p = Take(4);
        return p && std::memcmp(p, four, 4) == 0;
    }
    uint8_t U8() {
        const uint8_t* p = Take(1);
        return p ? p[0] : 0;
    }
    uint16_t U16BE() {
        const uint8_t* p = Take(2);
        return p ? uint16_t(p[0] << 8 | p[1]) : 0;
    }
    uint32_t U32BE() {
        const uint8_t* p = Take(4);
        return p ? uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3] : 0;
    }
    uint16_t U16LE() {
        const uint8_t* p = Take(2);
        return p ? uint16_t(p[1] << 8 | p[0]) : 0;
    }
    uint32_t U32LE() {
        const uint8_t* p = Take(4);
        return p ? uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0] : 0;
    }
};

// The matching writers, appending to a byte vector.
inline void Put_U8(std::vector<uint8_t>& out, unsigned v) { out.push_back(uint8_t(v)); }
inline void Put_U16BE(std::vector<uint8_t>& out, unsigned v) {
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}
inline void Put_U32BE(std::vector<uint8_t>& out, uint32_t v) {
    Put_U16BE(out, v >> 16);
    Put_U16BE(out, v & 0xFFFF);
}
inline void Put_Tag(std::vector<uint8_t>& out, const char* four) { out.insert(out.end(), four, four + 4); }
inline void Put_Zeros(std::vector<uint8_t>& out, size_t n) { out.insert(out.end(), n, 0); }
