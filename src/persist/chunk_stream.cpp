#include "persist/chunk_stream.h"

#include <algorithm>
#include <cstring>

#include "base/messages.h"
#include "model/document.h"
#include "platform/codepage.h"

a_chunk_stream g_chunk;

namespace {

constexpr int16_t kPixVersion = 2;
constexpr int32_t kPixHeaderV2 = 22;  // version, compression, bounds, subset, pixelsize
constexpr int32_t kPixHeaderV1 = 14;  // version, compression, bounds, pixelsize
// The largest map a chunk may ask for: a letter page at 600 dpi with room to
// spare. A stored subset may be smaller than the bounds, so the rows alone do
// not bound what the bounds make us allocate.
constexpr int64_t kMaxMapPixels = 40'000'000;

void Fail(int16_t err) { g_chunk.err = err; }

// Appends at the end of the file and counts the bytes into the open chunk.
void Put(const uint8_t* p, size_t n) {
    if (!g_chunk.file) return Fail(CHUNK_ERR_IO);
    g_chunk.file->insert(g_chunk.file->end(), p, p + n);
    g_chunk.pos = g_chunk.file->size();
    if (!g_chunk.writing) return;
    if (int64_t(g_chunk.len) + int64_t(n) > INT32_MAX) return Fail(CHUNK_ERR_IO);  // no 32-bit length
    g_chunk.len += int32_t(n);
}

// Up to n bytes at the position; the count read. Nothing left is the
// end-of-file error; fewer than asked is not an error.
size_t Get(uint8_t* p, size_t n) {
    if (!g_chunk.file) {
        Fail(CHUNK_ERR_IO);
        return 0;
    }
    size_t size = g_chunk.file->size();
    if (n == 0) return 0;
    if (g_chunk.pos >= size) {
        Fail(CHUNK_ERR_EOF);
        return 0;
    }
    size_t got = std::min(n, size - g_chunk.pos);
    std::memcpy(p, g_chunk.file->data() + g_chunk.pos, got);
    g_chunk.pos += got;
    return got;
}

size_t Bytes_Left() {
    return g_chunk.file && g_chunk.pos < g_chunk.file->size() ? g_chunk.file->size() - g_chunk.pos
                                                              : 0;
}

// The next n bytes of the file in place, the position moved past them;
// nullptr (and the end-of-file error) when they are not all there.
const uint8_t* Take(size_t n) {
    if (Bytes_Left() < n) {
        Fail(CHUNK_ERR_EOF);
        return nullptr;
    }
    const uint8_t* p = g_chunk.file->data() + g_chunk.pos;
    g_chunk.pos += n;
    return p;
}

// Room for n more bytes at the end of the file, counted into the open chunk.
uint8_t* Put_Space(size_t n) {
    if (!g_chunk.file) {
        Fail(CHUNK_ERR_IO);
        return nullptr;
    }
    std::vector<uint8_t>& f = *g_chunk.file;
    // Growing by doubling, not to the exact size, so that many chunks copy the file few times.
    if (f.capacity() < f.size() + n) f.reserve(std::max(f.size() + n, 2 * f.capacity()));
    f.resize(f.size() + n);
    g_chunk.pos = f.size();
    if (g_chunk.writing) {
        if (int64_t(g_chunk.len) + int64_t(n) > INT32_MAX) Fail(CHUNK_ERR_IO);
        else g_chunk.len += int32_t(n);
    }
    return f.data() + f.size() - n;
}

uint32_t Be32(const uint8_t* b) {
    return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
}

void Put_Be(uint32_t v, int n) {
    uint8_t b[4];
    for (int i = 0; i < n; ++i) b[i] = uint8_t(v >> (8 * (n - 1 - i)));
    Put(b, size_t(n));
}

// A big-endian value of n bytes; false (and v untouched) when it was not all there.
bool Get_Be(uint32_t& v, int n) {
    uint8_t b[4] = {};
    if (Get(b, size_t(n)) != size_t(n)) return false;
    v = 0;
    for (int i = 0; i < n; ++i) v = v << 8 | b[i];
    return true;
}

// ---- pixel rows ---------------------------------------------------------

int64_t Stored_Row_Bytes(int width, int depth) {
    switch (depth) {
        case 1: return (int64_t(width) + 7) / 8;
        case 8: return width;
        case 16: return 2 * int64_t(width);
        case 32: return 4 * int64_t(width);
        default: return 0;
    }
}

// Row y of the map from x0 to x1 - 1 in the stored encoding, into `out`
// (Stored_Row_Bytes of the width).
void Encode_Row(const PixMap& pm, int y, int x0, int x1, uint8_t* out) {
    const uint8_t* row = PixMap_Row(pm, y);
    const int at0 = x0 - pm.bounds.left, n = x1 - x0;
    switch (pm.pixelSize) {
        case 1:
            std::memset(out, 0, size_t(Stored_Row_Bytes(n, 1)));
            for (int i = 0; i < n; ++i) {
                int bit = at0 + i;
                if (row[bit >> 3] & (0x80 >> (bit & 7))) out[i >> 3] |= uint8_t(0x80 >> (i & 7));
            }
            break;
        case 8: std::memcpy(out, row + at0, size_t(n)); break;
        case 16:
            for (int i = 0; i < n; ++i) {
                uint16_t v;
                std::memcpy(&v, row + 2 * (at0 + i), 2);
                out[2 * i] = uint8_t(v >> 8);
                out[2 * i + 1] = uint8_t(v);
            }
            break;
        case 32:
            // Blue, green, red, alpha in memory; red, green, blue, alpha stored.
            for (const uint8_t* p = row + 4 * at0; p < row + 4 * (at0 + n); p += 4, out += 4) {
                out[0] = p[2], out[1] = p[1], out[2] = p[0], out[3] = p[3];
            }
            break;
        default: InternalError();
    }
}

// The stored row `in` into row y of the map from x0 on; 1-bit maps get their
// set bits only.
void Decode_Row(const uint8_t* in, PixMap& pm, int y, int x0, int x1) {
    uint8_t* row = PixMap_Row(pm, y);
    const int at0 = x0 - pm.bounds.left, n = x1 - x0;
    switch (pm.pixelSize) {
        case 1:
            for (int i = 0; i < n; ++i) {
                int at = at0 + i;
                if (in[i >> 3] & (0x80 >> (i & 7))) row[at >> 3] |= uint8_t(0x80 >> (at & 7));
            }
            break;
        case 8: std::memcpy(row + at0, in, size_t(n)); break;
        case 16:
            for (int i = 0; i < n; ++i) {
                uint16_t v = uint16_t(in[2 * i] << 8 | in[2 * i + 1]);
                std::memcpy(row + 2 * (at0 + i), &v, 2);
            }
            break;
        case 32:
            for (uint8_t* p = row + 4 * at0; p < row + 4 * (at0 + n); p += 4, in += 4) {
                p[0] = in[2], p[1] = in[1], p[2] = in[0], p[3] = in[3];
            }
            break;
    }
}

struct a_pix_header {
    int16_t version = 0;
    Rect bounds;
    Rect subset;
    int16_t depth = 0;
    bool rows = false;  // rows follow that can be decoded
};

bool Inside(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom && inner.left <= inner.right && inner.top <= inner.bottom;
}

// The header of the chunk found, checked against its length: false when the
// chunk cannot give a map at all.
bool Read_Pix_Header(a_pix_header& h) {
    int16_t compression = 0;
    if (g_chunk.len < kPixHeaderV1) return false;
    Chunk_ReadInt16(h.version);
    Chunk_ReadInt16(compression);
    Chunk_ReadRect(h.bounds);
    if (h.version == kPixVersion) Chunk_ReadRect(h.subset);
    else h.subset = h.bounds;
    Chunk_ReadInt16(h.depth);
    if (h.version != 1 && h.version != kPixVersion) return false;
    if (h.version == kPixVersion && g_chunk.len < kPixHeaderV2) return false;
    if (Rect_IsEmpty(h.bounds) || !Inside(h.subset, h.bounds) || !PixMap_Fits(h.bounds, h.depth) ||
        int64_t(Rect_Width(h.bounds)) * Rect_Height(h.bounds) > kMaxMapPixels)
        return false;
    int64_t row = h.version == 1 ? Calc_Row_Bytes(Rect_Width(h.bounds), h.depth)
                                 : Stored_Row_Bytes(Rect_Width(h.subset), h.depth);
    int64_t need = (h.version == 1 ? kPixHeaderV1 : kPixHeaderV2) + row * Rect_Height(h.subset);
    h.rows = row > 0 && need <= g_chunk.len;
    // A known depth whose rows are not all there is damage: nothing is made.
    return row == 0 || h.rows;
}

void Read_Rows(const a_pix_header& h, PixMap& pm) {
    if (!h.rows) return;
    bool v1 = h.version == 1;
    int width = Rect_Width(h.subset);
    size_t row = size_t(v1 ? Calc_Row_Bytes(width, h.depth) : Stored_Row_Bytes(width, h.depth));
    for (int y = h.subset.top; y < h.subset.bottom; ++y) {
        // The header checked that every row is inside the chunk: decoded in place.
        const uint8_t* in = Take(row);
        if (!in) return;
        // Version 1 kept its rows bottom first.
        int to = v1 ? h.bounds.bottom - 1 - (y - h.bounds.top) : y;
        Decode_Row(in, pm, to, h.subset.left, h.subset.right);
    }
    if (v1 && h.depth == 8) {  // and 0 and 255 the other way round
        for (int y = pm.bounds.top; y < pm.bounds.bottom; ++y) {
            uint8_t* r = PixMap_Row(pm, y);
            for (int x = 0; x < width; ++x) r[x] = r[x] == 0 ? 255 : r[x] == 255 ? 0 : r[x];
        }
    }
}

CTabHandle Table_For(int depth) {
    return depth == 8 ? gray_ctable : depth == 1 ? mono_ctable : nullptr;
}

}  // namespace

void Chunk_Init(int32_t preamble_size, std::vector<uint8_t>& file) {
    g_chunk = a_chunk_stream{};
    g_chunk.file = &file;
    g_chunk.pre = std::max<int32_t>(preamble_size, 0);
}

void Chunk_Stop() { g_chunk = a_chunk_stream{}; }

void Chunk_WriteStart(int32_t cid, const char clabel[4]) {
    if (g_chunk.writing) InternalError();  // chunks do not nest
    Put(reinterpret_cast<const uint8_t*>(clabel), 4);
    Put_Be(uint32_t(cid), 4);
    g_chunk.off = g_chunk.pos;
    Put_Be(0, 4);
    g_chunk.len = 0;
    g_chunk.writing = true;
}

void Chunk_WriteStop() {
    if (!g_chunk.writing) InternalError();
    g_chunk.writing = false;
    if (!g_chunk.file || g_chunk.off + 4 > g_chunk.file->size()) return Fail(CHUNK_ERR_IO);
    uint8_t* p = g_chunk.file->data() + g_chunk.off;
    uint32_t n = uint32_t(g_chunk.len);
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(n >> (24 - 8 * i));
    g_chunk.pos = g_chunk.off + 4;
}

bool Chunk_Find(int32_t id, const char targ_label[4]) {
    if (!g_chunk.file) return false;
    const std::vector<uint8_t>& f = *g_chunk.file;
    size_t pos = size_t(g_chunk.pre);
    while (pos < f.size()) {
        if (f.size() - pos < size_t(CHUNK_HEADER_BYTES)) return false;
        const uint8_t* h = f.data() + pos;
        int32_t cid = int32_t(Be32(h + 4)), clen = int32_t(Be32(h + 8));
        size_t rest = f.size() - pos - CHUNK_HEADER_BYTES;
        if (clen < 0 || size_t(clen) > rest) return false;  // a damaged length ends the scan
        if (std::memcmp(h, targ_label, 4) == 0 && cid == id) {
            if (clen == 0) return false;
            g_chunk.pos = pos + CHUNK_HEADER_BYTES;
            g_chunk.len = clen;
            g_chunk.end = g_chunk.pos + size_t(clen);
            return true;
        }
        pos += CHUNK_HEADER_BYTES + size_t(clen);
    }
    return false;
}

void Chunk_ReadRaw(size_t len, void* ptr) { Get(static_cast<uint8_t*>(ptr), len); }
void Chunk_WriteRaw(size_t len, const void* ptr) { Put(static_cast<const uint8_t*>(ptr), len); }

void Chunk_ReadBoolean(bool& v) {
    uint32_t b;
    if (Get_Be(b, 1)) v = b != 0;
}
void Chunk_WriteBoolean(bool v) { Put_Be(v ? 1 : 0, 1); }

void Chunk_ReadInt16(int16_t& v) {
    uint32_t b;
    if (Get_Be(b, 2)) v = int16_t(uint16_t(b));
}
void Chunk_WriteInt16(int16_t v) { Put_Be(uint16_t(v), 2); }

void Chunk_ReadCard16(uint16_t& v) {
    uint32_t b;
    if (Get_Be(b, 2)) v = uint16_t(b);
}
void Chunk_WriteCard16(uint16_t v) { Put_Be(v, 2); }

void Chunk_ReadInt32(int32_t& v) {
    uint32_t b;
    if (Get_Be(b, 4)) v = int32_t(b);
}
void Chunk_WriteInt32(int32_t v) { Put_Be(uint32_t(v), 4); }

void Chunk_ReadCard32(uint32_t& v) {
    uint32_t b;
    if (Get_Be(b, 4)) v = b;
}
void Chunk_WriteCard32(uint32_t v) { Put_Be(v, 4); }

void Chunk_ReadReal(float& v) {
    uint32_t b;
    if (Get_Be(b, 4)) std::memcpy(&v, &b, 4);
}
void Chunk_WriteReal(float v) {
    uint32_t b;
    std::memcpy(&b, &v, 4);
    Put_Be(b, 4);
}

void Chunk_ReadFRect(a_frect& r) {
    Chunk_ReadReal(r.left);
    Chunk_ReadReal(r.top);
    Chunk_ReadReal(r.right);
    Chunk_ReadReal(r.bottom);
}
void Chunk_WriteFRect(const a_frect& r) {
    Chunk_WriteReal(r.left);
    Chunk_WriteReal(r.top);
    Chunk_WriteReal(r.right);
    Chunk_WriteReal(r.bottom);
}

void Chunk_ReadPoint(Point& p) {
    Chunk_ReadInt16(p.v);
    Chunk_ReadInt16(p.h);
}
void Chunk_WritePoint(const Point& p) {
    Chunk_WriteInt16(p.v);
    Chunk_WriteInt16(p.h);
}

void Chunk_ReadRect(Rect& r) {
    Chunk_ReadInt16(r.top);
    Chunk_ReadInt16(r.left);
    Chunk_ReadInt16(r.bottom);
    Chunk_ReadInt16(r.right);
}
void Chunk_WriteRect(const Rect& r) {
    Chunk_WriteInt16(r.top);
    Chunk_WriteInt16(r.left);
    Chunk_WriteInt16(r.bottom);
    Chunk_WriteInt16(r.right);
}

void Chunk_ReadPixel32(a_win_pixel32& p) {
    uint8_t b[4];
    if (Get(b, 4) == 4) p = a_win_pixel32{b[2], b[1], b[0], b[3]};
}
void Chunk_WritePixel32(const a_win_pixel32& p) {
    const uint8_t b[4] = {p.r, p.g, p.b, p.a};
    Put(b, 4);
}

void Chunk_ReadPString(std::string& s) {
    uint8_t n = 0;
    if (Get(&n, 1) != 1) return;
    std::string text(n, '\0');
    text.resize(Get(reinterpret_cast<uint8_t*>(text.data()), n));
    s = std::move(text);
}
void Chunk_WritePString(const std::string& s) {
    size_t n = Utf8_Cut(s, 255);  // never half a character
    uint8_t len = uint8_t(n);
    Put(&len, 1);
    Put(reinterpret_cast<const uint8_t*>(s.data()), n);
}

void Chunk_ReadPath(a_filespec& spec) {
    int16_t vol = 0;
    int32_t dir = 0;
    Chunk_ReadInt16(vol);
    Chunk_ReadInt32(dir);
    Chunk_ReadPString(spec.name);
}
void Chunk_WritePath(const a_filespec& spec) {
    Chunk_WriteInt16(0);
    Chunk_WriteInt32(0);
    Chunk_WritePString(spec.name);
}

void Chunk_ReadKey(a_keyset& key) {
    Chunk_ReadInt16(key.a);
    Chunk_ReadInt16(key.b);
    Chunk_ReadInt16(key.c);
    Chunk_ReadInt16(key.d);
}
void Chunk_WriteKey(const a_keyset& key) {
    Chunk_WriteInt16(key.a);
    Chunk_WriteInt16(key.b);
    Chunk_WriteInt16(key.c);
    Chunk_WriteInt16(key.d);
}

void Chunk_ReadUString(size_t nbytes, char16_t* buf) {
    for (size_t i = 0; i < nbytes / 2; ++i) {
        uint32_t u;
        if (Get_Be(u, 2)) buf[i] = char16_t(u);
    }
    uint8_t odd;
    if (nbytes % 2) Get(&odd, 1);  // an odd last byte belongs to no code unit
}
void Chunk_WriteUString(size_t nbytes, const char16_t* buf) {
    for (size_t i = 0; i + 1 < nbytes; i += 2) Put_Be(buf[i / 2], 2);
}

void Chunk_ReadHandle(std::vector<uint8_t>& h) {
    int32_t n = 0;
    uint32_t b;
    if (!Get_Be(b, 4)) return;
    n = int32_t(b);
    h.clear();
    if (n <= 0) return;
    if (size_t(n) > Bytes_Left()) return Fail(CHUNK_ERR_EOF);  // never allocate what is not there
    h.resize(size_t(n));
    Get(h.data(), h.size());
}
void Chunk_WriteHandle(const std::vector<uint8_t>& h) {
    if (h.size() > size_t(INT32_MAX)) return Fail(CHUNK_ERR_IO);
    Chunk_WriteInt32(int32_t(h.size()));
    Put(h.data(), h.size());
}

// ---- pixel maps -----------------------------------------------------------

void Chunk_WritePix(const Rect& subset, const PixMap& pix, int32_t id, const char label[4]) {
    if (Is_Null_PixMap(pix) || Rect_IsEmpty(pix.bounds)) return;
    int depth = pix.pixelSize;
    if (depth != 1 && depth != 8 && depth != 16 && depth != 32) InternalError();
    Rect s = Rect_Sect(subset, pix.bounds);
    if (Rect_IsEmpty(s)) s = Rect{pix.bounds.top, pix.bounds.left, pix.bounds.top, pix.bounds.left};
    Chunk_WriteStart(id, label);
    Chunk_WriteInt16(kPixVersion);
    Chunk_WriteInt16(0);  // no compression
    Chunk_WriteRect(pix.bounds);
    Chunk_WriteRect(s);
    Chunk_WriteInt16(int16_t(depth));
    const size_t row = size_t(Stored_Row_Bytes(Rect_Width(s), depth));
    uint8_t* out = Put_Space(row * size_t(Rect_Height(s)));
    for (int y = s.top; out && y < s.bottom; ++y, out += row) Encode_Row(pix, y, s.left, s.right, out);
    Chunk_WriteStop();
}

void Chunk_ReadPix(PixMap& pix, int32_t id, const char label[4], Rect* out_subset) {
    Null_PixMap(pix);
    a_pix_header h;
    if (!Chunk_Find(id, label) || !Read_Pix_Header(h)) return;
    if (!New_PixMap_Try(pix, h.bounds, h.depth, Table_For(h.depth))) return;
    Read_Rows(h, pix);
    if (out_subset) *out_subset = h.rows ? h.subset : Rect{};
}

bool Chunk_ReadPixInto(PixMap& into, int32_t id, const char label[4]) {
    a_pix_header h;
    if (!Chunk_Find(id, label) || !Read_Pix_Header(h)) return true;
    if (h.bounds != into.bounds || h.depth != into.pixelSize) return false;
    Read_Rows(h, into);
    return true;
}

void Chunk_WriteWorld(const Rect& subset, const GWorld* world, int32_t id, const char label[4]) {
    if (world) Chunk_WritePix(subset, world->pix, id, label);
}

void Chunk_ReadWorld(Rect& out_bounds, GWorld*& out_world, int32_t id, const char label[4]) {
    Dispose_GWorld(out_world);
    a_pix_header h;
    if (!Chunk_Find(id, label) || !Read_Pix_Header(h)) return;
    if (New_GWorld(h.bounds, h.depth, Table_For(h.depth), out_world) != 0) return;
    Read_Rows(h, out_world->pix);
    out_bounds = h.bounds;
}

void Chunk_WriteMW(const a_masked_gworld& mw, int32_t id, const char labelm[4],
                   const char labelf[4]) {
    // The mask first: a file cut between the two then loses the picture,
    // which shows as missing, rather than its mask, which nothing would tell.
    Chunk_WriteWorld(mw.bounds, mw.mask, id, labelm);
    Chunk_WriteWorld(mw.bounds, mw.fore, id, labelf);
}

void Chunk_ReadMW(a_masked_gworld& mw, int32_t id, const char labelm[4], const char labelf[4]) {
    Rect fore_bounds, mask_bounds;
    Chunk_ReadWorld(fore_bounds, mw.fore, id, labelf);
    if (mw.fore) mw.bounds = fore_bounds;
    Chunk_ReadWorld(mask_bounds, mw.mask, id, labelm);
}

int32_t Calc_Row_Bytes(int width, int pixelsize) {
    return int32_t(((int64_t(width) * pixelsize + 15) / 16) * 2);
}
