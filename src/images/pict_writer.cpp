#include "images/pict_writer.h"

#include "artdb/compress.h"
#include "images/byte_reader.h"
#include "pixels/pixmap.h"

namespace {

enum : uint16_t {
    OP_CLIP = 0x0001,
    OP_VERSION = 0x0011,
    OP_DEF_HILITE = 0x001E,
    OP_DIRECT_BITS_RECT = 0x009A,
    OP_END = 0x00FF,
    OP_HEADER = 0x0C00,
};
constexpr int kLeader = 512;

void Put_Rect(std::vector<uint8_t>& out, int h, int w) {
    Put_U16BE(out, 0);
    Put_U16BE(out, 0);
    Put_U16BE(out, unsigned(h));
    Put_U16BE(out, unsigned(w));
}

void Put_Header(std::vector<uint8_t>& out, int h, int w, uint32_t res) {
    Put_U16BE(out, 0);  // picture size, filled in at the end
    Put_Rect(out, h, w);
    Put_U16BE(out, OP_VERSION);
    Put_U16BE(out, 0x02FF);
    Put_U16BE(out, OP_HEADER);
    Put_U16BE(out, 0xFFFE);  // extended version 2 header: the resolution follows
    Put_U16BE(out, 0);
    Put_U32BE(out, res);
    Put_U32BE(out, res);
    Put_Rect(out, h, w);
    Put_U32BE(out, 0);
    Put_U16BE(out, OP_DEF_HILITE);
    Put_U16BE(out, OP_CLIP);
    Put_U16BE(out, 10);
    Put_Rect(out, h, w);
}

void Put_PixMap(std::vector<uint8_t>& out, int h, int w, uint32_t res) {
    Put_U32BE(out, 0x000000FF);  // base address placeholder of direct pixels
    Put_U16BE(out, 0x8000 | unsigned(w * 4));
    Put_Rect(out, h, w);
    Put_U16BE(out, 0);  // pmVersion
    Put_U16BE(out, 4);  // packType: components packed apart
    Put_U32BE(out, 0);
    Put_U32BE(out, res);
    Put_U32BE(out, res);
    Put_U16BE(out, 16);  // pixelType: direct
    Put_U16BE(out, 32);
    Put_U16BE(out, 3);
    Put_U16BE(out, 8);
    Put_U32BE(out, 0);  // planeBytes
    Put_U32BE(out, 0);  // pmTable
    Put_U32BE(out, 0);  // pmReserved
    Put_Rect(out, h, w);  // source
    Put_Rect(out, h, w);  // destination
    Put_U16BE(out, 0);    // srcCopy
}

// Rows of fewer than 8 bytes are stored as they are (pad, red, green, blue);
// longer ones as the packed red, green and blue runs with a byte count.
void Put_Rows(std::vector<uint8_t>& out, const PixMap& pm, int h, int w) {
    int rowbytes = w * 4;
    std::vector<uint8_t> line(size_t(w) * 3), packed;
    for (int y = 0; y < h; ++y) {
        const auto* px = reinterpret_cast<const a_win_pixel32*>(PixMap_Row(pm, pm.bounds.top + y));
        if (rowbytes < 8) {
            for (int x = 0; x < w; ++x) out.insert(out.end(), {0, px[x].r, px[x].g, px[x].b});
            continue;
        }
        for (int x = 0; x < w; ++x) {
            line[x] = px[x].r;
            line[w + x] = px[x].g;
            line[2 * w + x] = px[x].b;
        }
        packed.clear();
        PackBits_Pack(line.data(), line.size(), packed);
        if (rowbytes > 250) Put_U16BE(out, unsigned(packed.size()));
        else Put_U8(out, unsigned(packed.size()));
        out.insert(out.end(), packed.begin(), packed.end());
    }
}

}  // namespace

bool Write_PICT(const PixMap& pm, int dpi, std::vector<uint8_t>& out) {
    int w = Rect_Width(pm.bounds), h = Rect_Height(pm.bounds);
    if (pm.pixelSize != 32 || w <= 0 || h <= 0 || w * 4 > 0x3FFF || dpi <= 0 || dpi > 0x7FFF)
        return false;
    uint32_t res = uint32_t(dpi) << 16;
    size_t start = out.size();
    Put_Zeros(out, kLeader);
    Put_Header(out, h, w, res);
    Put_U16BE(out, OP_DIRECT_BITS_RECT);
    Put_PixMap(out, h, w, res);
    Put_Rows(out, pm, h, w);
    if ((out.size() - start) & 1) Put_U8(out, 0);  // opcodes start on even bytes
    Put_U16BE(out, OP_END);
    size_t size = out.size() - start - kLeader;
    out[start + kLeader] = uint8_t(size >> 8);
    out[start + kLeader + 1] = uint8_t(size);
    return true;
}
