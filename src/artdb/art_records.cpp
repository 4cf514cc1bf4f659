#include "artdb/art_records.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "artdb/compress.h"
#include "platform/image_codec.h"
#include "platform/jpeg.h"
#include "platform/memory.h"

namespace {

uint32_t Get_LE32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
uint16_t Get_LE16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

// Allocates the whole output; false when memory is short.
[[nodiscard]] bool Allocate(std::vector<uint8_t>& pixels, size_t n) {
    try {
        a_checked_allocation checked;
        pixels.assign(n, 0);
        return true;
    } catch (const std::bad_alloc&) {
        pixels.clear();
        return false;
    }
}

[[nodiscard]] a_record_status Decode_Jpeg(const uint8_t* data, size_t n, const a_kpixt_header& h,
                            std::vector<uint8_t>& pixels) {
    int w = 0, ht = 0;
    if (h.pixelsize != 32 || !Jpeg_Size(data, n, w, ht) || w != h.width || ht != h.height)
        return a_record_status::DAMAGED;
    // The decoder refuses a picture beyond its memory limit, but only after our
    // buffer for it was made: such a record can never be shown.
    if (!Codec_Fits(w, ht)) return a_record_status::DAMAGED;
    if (!Allocate(pixels, size_t(h.rowbytes) * h.height)) return a_record_status::NO_MEMORY;
    if (!Jpeg_Decode(data, n, h.width, h.height, pixels.data(), h.rowbytes))
        return a_record_status::DAMAGED;
    return a_record_status::OKAY;
}

[[nodiscard]] a_record_status Decode_PackBits(const uint8_t* data, size_t n, size_t want,
                                std::vector<uint8_t>& pixels) {
    if (n < 4 || Get_LE32(data) != want) return a_record_status::DAMAGED;
    // A run byte yields at most 128 bytes: a shorter stream cannot fill the picture.
    if (want / 128 > n) return a_record_status::DAMAGED;
    if (!Allocate(pixels, want)) return a_record_status::NO_MEMORY;
    if (!PackBits_Unpack(data + 4, n - 4, pixels.data(), want)) return a_record_status::DAMAGED;
    return a_record_status::OKAY;
}

[[nodiscard]] a_record_status Decode_LZW(const uint8_t* data, size_t n, size_t want,
                           std::vector<uint8_t>& pixels) {
    uint32_t stated = 0;
    if (!LZW_Length(data, n, stated) || stated != want) return a_record_status::DAMAGED;
    // Each code of at least 9 bits yields at most one string of 4,000 bytes.
    if (want / LZW_MAX_STRING > (n - 4) * 8 / 9) return a_record_status::DAMAGED;
    if (!Allocate(pixels, want)) return a_record_status::NO_MEMORY;
    if (!Expand_LZW(data, n, pixels.data(), want)) return a_record_status::DAMAGED;
    return a_record_status::OKAY;
}

}  // namespace

a_record_status KPixt_Read_Header(const uint8_t* rec, size_t len, a_kpixt_header& h) {
    if (len < KPIXT_HEADER_SIZE) return a_record_status::DAMAGED;
    h.rowbytes = static_cast<int16_t>(Get_BE16(rec));
    h.width = static_cast<int16_t>(Get_BE16(rec + 2));
    h.height = static_cast<int16_t>(Get_BE16(rec + 4));
    h.flags = rec[6];
    h.pixelsize = rec[7];
    if (h.pixelsize != 8 && h.pixelsize != 16 && h.pixelsize != 32)
        return a_record_status::BAD_DEPTH;
    if (h.width <= 0 || h.height <= 0 || h.rowbytes <= 0 || h.rowbytes > KPIXT_MAX_ROWBYTES)
        return a_record_status::DAMAGED;
    if (int(h.rowbytes) < int(h.width) * (h.pixelsize / 8)) return a_record_status::DAMAGED;
    return a_record_status::OKAY;
}

a_record_status KPixt_Decode(const uint8_t* rec, size_t len, const a_kpixt_header& h,
                             std::vector<uint8_t>& pixels) {
    pixels.clear();
    const uint8_t* data = rec + KPIXT_HEADER_SIZE;
    size_t n = len - KPIXT_HEADER_SIZE;
    size_t want = size_t(h.rowbytes) * size_t(h.height);
    if (h.flags & PIXT_JPEG) return Decode_Jpeg(data, n, h, pixels);
    a_record_status st;
    if (h.flags & PIXT_PACKBITS) {
        st = Decode_PackBits(data, n, want, pixels);
    } else if (h.flags & PIXT_LZW) {
        st = Decode_LZW(data, n, want, pixels);
    } else {
        if (n != want) return a_record_status::DAMAGED;
        if (!Allocate(pixels, want)) return a_record_status::NO_MEMORY;
        std::memcpy(pixels.data(), data, want);
        st = a_record_status::OKAY;
    }
    if (st != a_record_status::OKAY) {
        pixels.clear();
        return st;
    }
    if (h.pixelsize == 16) Mac_Win_PixMap16(pixels.data(), pixels.size());
    if (h.pixelsize == 32) Mac_Win_PixMap32(pixels.data(), pixels.size());
    return a_record_status::OKAY;
}

void Mac_Win_PixMap16(uint8_t* p, size_t len) {
    for (size_t i = 0; i + 1 < len; i += 2) std::swap(p[i], p[i + 1]);
}

void Mac_Win_PixMap32(uint8_t* p, size_t len) {
    for (size_t i = 0; i + 3 < len; i += 4) {
        std::swap(p[i], p[i + 3]);
        std::swap(p[i + 1], p[i + 2]);
    }
}

const char* KPixt_Codec_Name(uint8_t flags) {
    if (flags & PIXT_JPEG) return "jpeg";
    if (flags & PIXT_PACKBITS) return "packbits";
    if (flags & PIXT_LZW) return "lzw";
    return "raw";
}

bool Grad_Decode(const uint8_t* rec, size_t len, std::vector<uint32_t>& bands) {
    bands.clear();
    if (len < 2) return false;
    size_t n = Get_BE16(rec);
    if (len != 2 + 4 * n) return false;
    bands.reserve(n);
    for (size_t i = 0; i < n; ++i) bands.push_back(Get_BE32(rec + 2 + 4 * i));
    return true;
}

bool Bord_Decode(const uint8_t* rec, size_t len, a_bord_res& res) {
    res = a_bord_res{};
    if (len < 4) return false;
    res.version = static_cast<int16_t>(Get_BE16(rec));
    int16_t n = static_cast<int16_t>(Get_BE16(rec + 2));
    if (n < 0 || len != 4 + size_t(n) * BORD_SPEC_SIZE) return false;
    auto s16 = [](const uint8_t* p) { return static_cast<int16_t>(Get_BE16(p)); };
    auto rect = [&](const uint8_t* p) { return Rect{s16(p), s16(p + 2), s16(p + 4), s16(p + 6)}; };
    for (int i = 0; i < n; ++i) {
        const uint8_t* p = rec + 4 + size_t(i) * BORD_SPEC_SIZE;
        a_bord_spec b;
        b.key = a_keyset{s16(p), s16(p + 2), s16(p + 4), s16(p + 6)};
        b.klass = s16(p + 8);
        b.corn_piece = rect(p + 10);
        b.side_piece = rect(p + 18);
        b.sliv_piece = rect(p + 26);
        res.bords.push_back(b);
    }
    return true;
}

bool Sound_Decode(const uint8_t* rec, size_t len, a_sound& sound) {
    sound = a_sound{};
    if (len < 12 || std::memcmp(rec, "RIFF", 4) != 0 || std::memcmp(rec + 8, "WAVE", 4) != 0)
        return false;
    bool have_fmt = false;
    size_t pos = 12;
    while (pos + 8 <= len) {
        const uint8_t* chunk = rec + pos;
        size_t size = Get_LE32(chunk + 4);
        if (size > len - pos - 8) return false;
        const uint8_t* body = chunk + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || Get_LE16(body) != 1 || Get_LE16(body + 2) != 1 ||
                Get_LE16(body + 14) != 16)
                return false;
            sound.rate = static_cast<int>(Get_LE32(body + 4));
            have_fmt = sound.rate > 0;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!have_fmt || size % 2 != 0) return false;
            sound.samples.resize(size / 2);
            for (size_t i = 0; i < size / 2; ++i)
                sound.samples[i] = static_cast<int16_t>(Get_LE16(body + 2 * i));
            return true;
        }
        pos += 8 + size + (size & 1);
    }
    return false;
}
