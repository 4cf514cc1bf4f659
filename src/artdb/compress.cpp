#include "artdb/compress.h"

#include <algorithm>
#include <array>

namespace {

// One piece: literal runs of up to 128 bytes and repeats of 2 to 128 bytes.
void Pack_Piece(const uint8_t* src, size_t n, std::vector<uint8_t>& out) {
    size_t i = 0;
    while (i < n) {
        size_t run = 1;
        while (i + run < n && run < 128 && src[i + run] == src[i]) ++run;
        if (run >= 2) {
            out.push_back(static_cast<uint8_t>(1 - static_cast<int>(run)));
            out.push_back(src[i]);
            i += run;
            continue;
        }
        size_t lit = 1;
        while (i + lit < n && lit < 128 && !(i + lit + 1 < n && src[i + lit] == src[i + lit + 1]))
            ++lit;
        out.push_back(static_cast<uint8_t>(lit - 1));
        out.insert(out.end(), src + i, src + i + lit);
        i += lit;
    }
}

constexpr int kClear = 256;
constexpr int kEnd = 257;
constexpr int kFirstFree = 258;
constexpr int kTableSize = 4096;
constexpr int kNone = 4096;

struct a_bit_writer {
    std::vector<uint8_t>& out;
    uint32_t acc = 0;
    int nbits = 0;
    void Put(int code, int width) {
        acc = (acc << width) | static_cast<uint32_t>(code);
        nbits += width;
        while (nbits >= 8) {
            nbits -= 8;
            out.push_back(static_cast<uint8_t>(acc >> nbits));
        }
    }
    void Flush() {
        if (nbits > 0) out.push_back(static_cast<uint8_t>(acc << (8 - nbits)));
        nbits = 0;
    }
};

// The width the decoder reads at: it grows when the decoder's next free code
// reaches a power of two, one entry behind the encoder.
struct a_width_tracker {
    int next = kFirstFree;
    int width = 9;
    void Added() {
        if (next < kTableSize) ++next;
        if (next == (1 << width) && width < 12) ++width;
    }
    void Reset() {
        next = kFirstFree;
        width = 9;
    }
};

}  // namespace

void PackBits_Pack(const uint8_t* src, size_t n, std::vector<uint8_t>& out) {
    for (size_t off = 0; off < n; off += PACKBITS_PIECE)
        Pack_Piece(src + off, std::min<size_t>(PACKBITS_PIECE, n - off), out);
}

bool PackBits_Unpack(const uint8_t* src, size_t srclen, uint8_t* dst, size_t dstlen, size_t* used) {
    size_t s = 0;
    for (size_t off = 0; off < dstlen; off += PACKBITS_PIECE) {
        size_t piece_end = std::min<size_t>(off + PACKBITS_PIECE, dstlen);
        size_t d = off;
        while (d < piece_end) {
            if (s >= srclen) return false;
            int n = static_cast<int8_t>(src[s++]);
            if (n == -128) continue;
            if (n >= 0) {
                size_t count = static_cast<size_t>(n) + 1;
                if (count > piece_end - d || count > srclen - s) return false;
                std::copy(src + s, src + s + count, dst + d);
                s += count;
                d += count;
            } else {
                size_t count = static_cast<size_t>(1 - n);
                if (count > piece_end - d || s >= srclen) return false;
                std::fill(dst + d, dst + d + count, src[s++]);
                d += count;
            }
        }
    }
    if (used) *used = s;
    return true;
}

bool LZW_Length(const uint8_t* src, size_t srclen, uint32_t& length) {
    if (srclen < 4) return false;
    length = (uint32_t(src[0]) << 24) | (uint32_t(src[1]) << 16) | (uint32_t(src[2]) << 8) | src[3];
    return true;
}

void Compress_LZW(const uint8_t* src, size_t n, std::vector<uint8_t>& out) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(n >> shift));
    // children[code * 256 + byte] = code of string(code) + byte, 0 when absent.
    std::vector<uint16_t> children(static_cast<size_t>(kTableSize) * 256, 0);
    a_bit_writer bits{out};
    a_width_tracker dec;
    int next = kFirstFree;
    bool first = true;  // the code after a clear adds no entry at the decoder
    bits.Put(kClear, dec.width);
    if (n > 0) {
        int w = src[0];
        for (size_t i = 1; i < n; ++i) {
            uint8_t c = src[i];
            uint16_t child = children[static_cast<size_t>(w) * 256 + c];
            if (child != 0) {
                w = child;
                continue;
            }
            bits.Put(w, dec.width);
            if (!first) dec.Added();
            first = false;
            if (next < kTableSize) {
                children[static_cast<size_t>(w) * 256 + c] = static_cast<uint16_t>(next++);
            } else {
                bits.Put(kClear, dec.width);
                std::fill(children.begin(), children.end(), 0);
                next = kFirstFree;
                dec.Reset();
                first = true;
            }
            w = c;
        }
        bits.Put(w, dec.width);
        if (!first) dec.Added();
    }
    bits.Put(kEnd, dec.width);
    bits.Flush();
}

bool Expand_LZW(const uint8_t* src, size_t srclen, uint8_t* dst, size_t dstlen) {
    uint32_t stated = 0;
    if (!LZW_Length(src, srclen, stated) || stated != dstlen) return false;
    std::array<uint16_t, kTableSize> prefix;
    std::array<uint8_t, kTableSize> suffix;
    std::array<uint8_t, LZW_MAX_STRING> stack;
    for (int i = 0; i < 256; ++i) {
        prefix[i] = kNone;
        suffix[i] = static_cast<uint8_t>(i);
    }
    const size_t total_bits = (srclen - 4) * 8;
    size_t bitpos = 0;
    auto read = [&](int width, int& code) {
        if (bitpos + width > total_bits) return false;
        code = 0;
        for (int k = 0; k < width; ++k, ++bitpos)
            code = (code << 1) | ((src[4 + bitpos / 8] >> (7 - bitpos % 8)) & 1);
        return true;
    };
    a_width_tracker tab;
    int prev = kNone;
    size_t d = 0;
    int code = 0;
    while (read(tab.width, code)) {
        if (code == kEnd) break;
        if (code == kClear) {
            tab.Reset();
            prev = kNone;
            continue;
        }
        if (code > tab.next || (code == tab.next && prev == kNone) ||
            (code >= 256 && code < kFirstFree) || (prev == kNone && code >= 256))
            return false;
        // Walk the string backwards onto the stack.
        int c = code == tab.next ? prev : code;
        size_t len = 0;
        while (c != kNone) {
            if (len >= LZW_MAX_STRING) return false;
            stack[len++] = suffix[c];
            c = prefix[c];
        }
        uint8_t first_byte = stack[len - 1];
        size_t strlen = len + (code == tab.next ? 1 : 0);
        if (strlen > LZW_MAX_STRING || strlen > dstlen - d) return false;
        for (size_t k = 0; k < len; ++k) dst[d++] = stack[len - 1 - k];
        if (code == tab.next) dst[d++] = first_byte;
        if (prev != kNone && tab.next < kTableSize) {
            prefix[tab.next] = static_cast<uint16_t>(prev);
            suffix[tab.next] = first_byte;
            tab.Added();
        }
        prev = code;
    }
    return d == dstlen;
}
