#include "artdb/art_writer.h"

#include <algorithm>
#include <cstring>

#include "artdb/compress.h"
#include "artdb/database.h"
#include "platform/files.h"
#include "platform/jpeg.h"

namespace {

void Put_BE16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}
void Put_BE32(std::vector<uint8_t>& out, uint32_t v) {
    Put_BE16(out, static_cast<uint16_t>(v >> 16));
    Put_BE16(out, static_cast<uint16_t>(v));
}
void Put_LE16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put_LE32(std::vector<uint8_t>& out, uint32_t v) {
    Put_LE16(out, static_cast<uint16_t>(v));
    Put_LE16(out, static_cast<uint16_t>(v >> 16));
}
// Four-character tags; push_back rather than an initializer-list insert,
// which GCC 12 at -O3 misreports as an overflow.
void Put_Tag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}
void Put_Rect(std::vector<uint8_t>& out, const Rect& r) {
    for (int16_t v : {r.top, r.left, r.bottom, r.right}) Put_BE16(out, static_cast<uint16_t>(v));
}

// The picture in file order with padded rows: 16-bit swapped, 32-bit reversed.
std::vector<uint8_t> File_Order(const a_pixt_source& src, int rowbytes) {
    std::vector<uint8_t> rows(size_t(rowbytes) * src.height, 0);
    size_t n = size_t(src.width) * (src.depth / 8);
    for (int y = 0; y < src.height; ++y)
        std::memcpy(rows.data() + size_t(y) * rowbytes, src.pixels + size_t(y) * src.stride, n);
    if (src.depth == 16) Mac_Win_PixMap16(rows.data(), rows.size());
    if (src.depth == 32) Mac_Win_PixMap32(rows.data(), rows.size());
    return rows;
}

}  // namespace

int KPixt_RowBytes(int width, int depth) {
    return ((width * depth + 31) / 32) * 4;
}

bool Encode_Picture(const a_pixt_source& src, a_pixt_codec codec, int jpeg_quality,
                    std::vector<uint8_t>& out, std::string& error) {
    out.clear();
    if (src.depth != 8 && src.depth != 16 && src.depth != 32) {
        error = "depth must be 8, 16 or 32";
        return false;
    }
    int rowbytes = KPixt_RowBytes(src.width, src.depth);
    if (src.width <= 0 || src.height <= 0 || src.height > 32767 || rowbytes > KPIXT_MAX_ROWBYTES ||
        src.stride < size_t(src.width) * (src.depth / 8) || !src.pixels) {
        error = "picture size out of range";
        return false;
    }
    if (codec == a_pixt_codec::JPEG && src.depth != 32) {
        error = "JPEG pictures must be 32-bit";
        return false;
    }
    uint8_t flags = src.flags & (PIXT_TRANSPARENT | PIXT_GRAY | PIXT_GRAY2 | PIXT_CYCLE);
    if (codec == a_pixt_codec::PACKBITS) flags |= PIXT_PACKBITS;
    if (codec == a_pixt_codec::LZW) flags |= PIXT_LZW;
    if (codec == a_pixt_codec::JPEG) flags |= PIXT_JPEG;
    Put_BE16(out, static_cast<uint16_t>(rowbytes));
    Put_BE16(out, static_cast<uint16_t>(src.width));
    Put_BE16(out, static_cast<uint16_t>(src.height));
    out.push_back(flags);
    out.push_back(static_cast<uint8_t>(src.depth));
    if (codec == a_pixt_codec::JPEG) {
        std::vector<uint8_t> jpeg;
        if (!Jpeg_Encode(src.pixels, src.width, src.height, static_cast<int>(src.stride),
                         jpeg_quality, jpeg)) {
            error = "JPEG encoding failed";
            return false;
        }
        out.insert(out.end(), jpeg.begin(), jpeg.end());
        return true;
    }
    std::vector<uint8_t> rows = File_Order(src, rowbytes);
    if (codec == a_pixt_codec::PACKBITS) {
        Put_LE32(out, static_cast<uint32_t>(rows.size()));
        PackBits_Pack(rows.data(), rows.size(), out);
    } else if (codec == a_pixt_codec::LZW) {
        Compress_LZW(rows.data(), rows.size(), out);
    } else {
        out.insert(out.end(), rows.begin(), rows.end());
    }
    return true;
}

std::vector<uint8_t> Encode_Gradient(const std::vector<uint32_t>& bands) {
    std::vector<uint8_t> out;
    size_t n = std::min<size_t>(bands.size(), 0xFFFF);
    Put_BE16(out, static_cast<uint16_t>(n));
    for (size_t i = 0; i < n; ++i) Put_BE32(out, bands[i]);
    return out;
}

std::vector<uint8_t> Encode_Border_Directory(const a_bord_res& res) {
    std::vector<uint8_t> out;
    size_t n = std::min<size_t>(res.bords.size(), 0x7FFF);
    Put_BE16(out, static_cast<uint16_t>(res.version));
    Put_BE16(out, static_cast<uint16_t>(n));
    for (size_t i = 0; i < n; ++i) {
        const a_bord_spec& b = res.bords[i];
        for (int16_t v : {b.key.a, b.key.b, b.key.c, b.key.d, b.klass})
            Put_BE16(out, static_cast<uint16_t>(v));
        Put_Rect(out, b.corn_piece);
        Put_Rect(out, b.side_piece);
        Put_Rect(out, b.sliv_piece);
    }
    return out;
}

std::vector<uint8_t> Encode_Sound(int rate, const std::vector<int16_t>& samples) {
    uint32_t data_size = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + size_t(data_size));
    Put_Tag(out, "RIFF");
    Put_LE32(out, 36 + data_size);
    Put_Tag(out, "WAVE");
    Put_Tag(out, "fmt ");
    Put_LE32(out, 16);
    Put_LE16(out, 1);  // PCM
    Put_LE16(out, 1);  // mono
    Put_LE32(out, static_cast<uint32_t>(rate));
    Put_LE32(out, static_cast<uint32_t>(rate) * 2);
    Put_LE16(out, 2);
    Put_LE16(out, 16);
    Put_Tag(out, "data");
    Put_LE32(out, data_size);
    for (int16_t s : samples) Put_LE16(out, static_cast<uint16_t>(s));
    return out;
}

bool Build_Database(std::vector<a_db_entry> entries, std::vector<uint8_t>& file,
                    std::string& error) {
    file.clear();
    std::stable_sort(entries.begin(), entries.end(), [](const a_db_entry& x, const a_db_entry& y) {
        return Compare_Keys(x.key, y.key) < 0;
    });
    for (size_t i = 1; i < entries.size(); ++i) {
        if (Equal_Keys(entries[i - 1].key, entries[i].key)) {
            error = "duplicate key " + Key_To_String(entries[i].key);
            return false;
        }
    }
    if (entries.size() > 0xFFFF) {
        error = "more than 65535 records";
        return false;
    }
    uint64_t total = OP_HEADER_SIZE + uint64_t(entries.size()) * OP_MAP_ITEM_SIZE;
    for (const a_db_entry& e : entries) total += e.data.size();
    if (total > 0x7FFFFFFF) {
        error = "database over 2 GB";
        return false;
    }
    file.reserve(total);
    Put_Tag(file, "[ED]");
    Put_BE32(file, OP_VERSION);
    Put_BE32(file, static_cast<uint32_t>(total));
    Put_BE16(file, static_cast<uint16_t>(entries.size()));
    uint32_t pos = OP_HEADER_SIZE + static_cast<uint32_t>(entries.size()) * OP_MAP_ITEM_SIZE;
    for (const a_db_entry& e : entries) {
        for (int16_t v : {e.key.a, e.key.b, e.key.c, e.key.d})
            Put_BE16(file, static_cast<uint16_t>(v));
        Put_BE32(file, pos);
        Put_BE32(file, static_cast<uint32_t>(e.data.size()));
        Put_BE16(file, e.cachex);
        file.push_back(e.priority);
        file.push_back(e.flags);
        pos += static_cast<uint32_t>(e.data.size());
    }
    for (const a_db_entry& e : entries) file.insert(file.end(), e.data.begin(), e.data.end());
    return true;
}

bool Save_Database(const std::string& path, std::vector<a_db_entry> entries, std::string& error) {
    std::vector<uint8_t> file;
    if (!Build_Database(std::move(entries), file, error)) return false;
    return File_SaveAtomic(path, file.data(), file.size(), &error);
}
