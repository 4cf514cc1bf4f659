#include "thumbnail.h"

#include <algorithm>

#include "pixels/pixmap.h"
#include "persist/disc_read.h"
#include "persist/file_cmds.h"
#include "persist/project_file.h"
#include "platform/input_file.h"
#include "platform/dialogs.h"
#include "platform/png.h"
#include "print/print_render.h"
#include "model/document.h"
#include "shell/art_startup.h"
#include "artdb/database.h"
#include "shell/startup.h"

namespace {

a_port_bits Bits_Of(const PixMap& pm) {
    a_port_bits b;
    b.base = pm.baseAddr;
    b.rowbytes = PixMap_RowBytes(pm);
    b.depth = 32;
    b.bounds = pm.bounds;
    return b;
}

// The stored preview needs nothing but the project's own bytes.
bool From_Preview(const std::string& project, int size, a_thumb_image& out) {
    PixMap pm;
    if (!Scan_DISC_Preview(pm, project)) return false;
    a_pixmap_owner owned(pm);
    out = Thumb_Scale(Bits_Of(*owned), size);
    return out.width > 0;
}

// The first unit as it prints at about the resolution the size asks for;
// this opens the catalogue, the art and the fonts, so it comes second.
bool From_Render(const std::string& project, int size, a_thumb_image& out, std::string& error) {
    a_startup_options full;
    if (!Shell_Start(full)) {
        error = "could not start";
        return false;
    }
    Dialog_SetQuiet(true);
    if (OP_Count() == 0) (void)Art_Start(Art_Search_Folders());
    if (!Doc_Read(project)) {
        error = "not a readable project";
        return false;
    }
    a_gworld_ptr world = Print_Render_Unit(1, 0);
    bool ok = world != nullptr;
    if (ok) out = Thumb_Scale(World_Bits(world.get()), size);
    world.reset();
    Doc_Dispose();
    if (!ok) error = "the first unit could not be drawn";
    return ok;
}

// A stored preview smaller than asked: bilinear, the corners of the
// picture kept on the corners of the thumbnail.
a_thumb_image Enlarge(const a_port_bits& bits, int w, int h, int size) {
    a_thumb_image out;
    const int longer = std::max(w, h);
    out.width = std::max(1, int(int64_t(w) * size / longer));
    out.height = std::max(1, int(int64_t(h) * size / longer));
    out.bytes.resize(size_t(out.width) * out.height * 4);
    auto at = [&](int x, int y, int c) { return int(bits.base[ptrdiff_t(y) * bits.rowbytes + ptrdiff_t(x) * 4 + c]); };
    for (int ty = 0; ty < out.height; ++ty) {
        const double fy = out.height > 1 ? double(ty) * (h - 1) / (out.height - 1) : 0;
        const int y0 = int(fy), y1 = std::min(y0 + 1, h - 1);
        const double dy = fy - y0;
        for (int tx = 0; tx < out.width; ++tx) {
            const double fx = out.width > 1 ? double(tx) * (w - 1) / (out.width - 1) : 0;
            const int x0 = int(fx), x1 = std::min(x0 + 1, w - 1);
            const double dx = fx - x0;
            uint8_t* q = &out.bytes[(size_t(ty) * out.width + tx) * 4];
            for (int c = 0; c < 4; ++c) {
                double top = at(x0, y0, c) + (at(x1, y0, c) - at(x0, y0, c)) * dx;
                double bottom = at(x0, y1, c) + (at(x1, y1, c) - at(x0, y1, c)) * dx;
                q[c] = uint8_t(top + (bottom - top) * dy + 0.5);
            }
        }
    }
    return out;
}

}  // namespace

a_thumb_image Thumb_Scale(const a_port_bits& bits, int size) {
    a_thumb_image out;
    const int w = bits.bounds.right - bits.bounds.left, h = bits.bounds.bottom - bits.bounds.top;
    if (w <= 0 || h <= 0 || size <= 0) return out;
    const int longer = std::max(w, h);
    if (longer < size) return Enlarge(bits, w, h, size);
    const int tw = std::max(1, int(int64_t(w) * size / longer));
    const int th = std::max(1, int(int64_t(h) * size / longer));
    out.width = tw;
    out.height = th;
    out.bytes.assign(size_t(tw) * th * 4, 0);
    for (int ty = 0; ty < th; ++ty) {
        const int y0 = int(int64_t(ty) * h / th), y1 = std::max(y0 + 1, int(int64_t(ty + 1) * h / th));
        for (int tx = 0; tx < tw; ++tx) {
            const int x0 = int(int64_t(tx) * w / tw), x1 = std::max(x0 + 1, int(int64_t(tx + 1) * w / tw));
            uint32_t sum[4] = {};
            for (int y = y0; y < y1; ++y) {
                const uint8_t* p = bits.base + ptrdiff_t(y) * bits.rowbytes + ptrdiff_t(x0) * 4;
                for (int x = x0; x < x1; ++x, p += 4)
                    for (int c = 0; c < 4; ++c) sum[c] += p[c];
            }
            const uint32_t n = uint32_t(y1 - y0) * uint32_t(x1 - x0);
            uint8_t* q = &out.bytes[(size_t(ty) * tw + tx) * 4];
            for (int c = 0; c < 4; ++c) q[c] = uint8_t((sum[c] + n / 2) / n);
        }
    }
    return out;
}

bool Thumb_Make(const std::string& project, int size, a_thumb_image& out, std::string& error) {
    a_input_file file;
    const a_input_open opened = file.Open(project);
    if (opened != a_input_open::OK) {
        error = opened == a_input_open::NOT_REGULAR ? "not a regular file" : "cannot be opened";
        return false;
    }
    uint8_t head[2] = {};
    if (!file.Read_At(0, head, 2) || (head[0] << 8 | head[1]) != DISC_SIGNATURE) {
        error = "not a project";
        return false;
    }
    if (From_Preview(project, size, out)) return true;
    return From_Render(project, size, out, error);
}

bool Thumb_Write(const std::string& path, a_thumb_image& image, std::string& error) {
    a_port_bits bits;
    bits.base = image.bytes.data();
    bits.rowbytes = image.width * 4;
    bits.depth = 32;
    bits.bounds = Rect{0, 0, int16_t(image.height), int16_t(image.width)};
    return Png_Write(path, bits, &error, a_png_effort::FAST);
}
