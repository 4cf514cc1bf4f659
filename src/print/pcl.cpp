#include "print/pcl.h"

#include <algorithm>
#include <cmath>

#include "model/document.h"
#include "pixels/blit.h"
#include "platform/files.h"
#include "print/print_adjust.h"
#include "print/print_render.h"

namespace {

const char ESC = '\x1B';

int Round_Away(double v) { return int(std::lround(v)); }

void Push_Colour(std::vector<uint8_t>& row, uint32_t rgb) {
    uint32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    uint32_t v = r * 32768 + g * 128 + b / 2;
    row.push_back(uint8_t(v >> 16));
    row.push_back(uint8_t(v >> 8));
    row.push_back(uint8_t(v));
}

}  // namespace

void a_run_stack::Start(uint32_t colour, int64_t length) {
    colour_ = colour & 0xFFFFFF;
    length_ = length;
}

void a_run_stack::Stak_Pixel(uint32_t pixel) {
    uint32_t rgb = pixel & 0xFFFFFF;  // memory B, G, R read little-endian
    if (rgb == colour_) {
        ++length_;
        return;
    }
    Stak_Op();
    Start(rgb, 1);
}

void a_run_stack::Stak_Op() {
    int64_t n = length_;
    length_ = 0;
    if (n <= 0) return;
    if (n == 1) {
        row_.push_back(0x00);
        Push_Colour(row_, colour_);
        return;
    }
    if (n <= 8) {
        row_.push_back(uint8_t(0x80 + (n - 2)));
        Push_Colour(row_, colour_);
        return;
    }
    row_.push_back(0x87);
    Push_Colour(row_, colour_);
    int64_t rest = n - 9;
    for (; rest >= 255; rest -= 255) row_.push_back(255);
    row_.push_back(uint8_t(rest));
}

void Emit_SS(const std::string& ss, std::vector<uint8_t>& out) { out.insert(out.end(), ss.begin(), ss.end()); }

std::string PCL_Header() {
    std::string s;
    s += ESC; s += "E";
    s += ESC; s += "%-12345X";
    s += "@PJL ENTER LANGUAGE=PCL3GUI\n";
    for (const char* cmd : {"&l1H", "&l3M", "&l2A", "*o1M", "&l-2H", "&u300D", "*r1500S", "&l0E",
                            "&l0L"}) {
        s += ESC;
        s += cmd;
    }
    return s;
}

std::string PCL_Trailer() {
    std::string s;
    s += ESC; s += "E";
    s += ESC; s += "%-12345X";
    return s;
}

void Emit_Pix(const Rect& dest, const PixMap& pix, const a_pcl_settings& s,
              std::vector<uint8_t>& out) {
    std::string head;
    head += ESC; head += "*o5W";
    head += std::string("\x0B\x09\x00\x00", 4);
    head += char(uint8_t(s.density & 0xFF));
    if (s.gray) {
        head += ESC; head += "*o5W";
        head += std::string("\x0B\x01\x00\x00\x02", 5);
    }
    head += ESC; head += "*g12W";
    head += std::string("\x06\x07\x00\x01\x01\x2C\x01\x2C\x0A\x01\x20\x01", 12);
    head += ESC; head += "*r1A";
    // What lies above or left of the sheet is cropped: the raster starts at
    // the sheet's edge, never at a negative place.
    const int skip_x = std::max(0, -int(dest.left)), skip_y = std::max(0, -int(dest.top));
    head += ESC; head += "*b" + std::to_string(std::max(0, int(dest.top))) + "y";
    Emit_SS(head, out);
    int w = Rect_Width(pix.bounds), h = Rect_Height(pix.bounds);
    int rowbytes = pix.rowBytes & 0x3FFF;
    a_run_stack runs;
    for (int y = skip_y; y < h && pix.pixelSize == 32; ++y) {
        const uint8_t* p = pix.baseAddr + std::ptrdiff_t(y) * rowbytes + std::ptrdiff_t(skip_x) * 4;
        runs.Row().clear();
        runs.Start(0xFFFFFF, std::max(0, int(dest.left)));
        for (int x = skip_x; x < w; ++x, p += 4) runs.Stak_Pixel(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16);
        runs.Stak_Op();
        Emit_SS(std::to_string(runs.Row().size()) + "w", out);
        out.insert(out.end(), runs.Row().begin(), runs.Row().end());
    }
    std::string tail = "0Y";
    tail += ESC;
    tail += "*rC";
    Emit_SS(tail, out);
}

bool Emit_GWorld(const Rect& dst_bounds, const Rect& src_bounds, const GWorld* src_world,
                 const a_pcl_settings& s, std::vector<uint8_t>& out) {
    if (!src_world || Rect_IsEmpty(dst_bounds)) return false;
    Rect local{0, 0, int16_t(Rect_Height(dst_bounds)), int16_t(Rect_Width(dst_bounds))};
    a_gworld_ptr scaled = Make_GWorld(32, local);
    if (!scaled) return false;
    Bicubic_Blt(src_world->pix, scaled->pix, src_bounds, local);
    Emit_Pix(dst_bounds, scaled->pix, s, out);
    return true;
}

Rect Flex_Dest(uint32_t ux) {
    const a_unit& in = g_doc.doc_template.Unit(ux);
    a_unit u;
    Calc_Adjusted_Unit(u, in, Calc_Direct_Print_Kind(), 1, true, true);
    double k = FLEX_DOTS_PER_MM;
    int left = Round_Away(u.bbox.left * k), top = Round_Away(u.bbox.top * k);
    int right = left + Round_Away((u.bbox.right - u.bbox.left) * k);
    int bottom = top + Round_Away((u.bbox.bottom - u.bbox.top) * k);
    auto fits = [](int v) { return v >= -32768 && v <= 32767; };
    if (!fits(left) || !fits(top) || !fits(right) || !fits(bottom)) return Rect{};
    return Rect{int16_t(top), int16_t(left), int16_t(bottom), int16_t(right)};
}

bool Emit_PCL(std::vector<uint8_t>& out) {
    if (g_doc.doc_template.nunits < 1) return false;
    Rect dest = Flex_Dest(1);
    if (Rect_IsEmpty(dest)) return false;
    UnitCache_Init(1);
    GWorld* w = UnitCache_World();
    a_pcl_settings s{g_print_options.flex_density, g_print_options.flex_gray};
    std::vector<uint8_t> body;
    Emit_SS(PCL_Header(), body);
    bool ok = w && Emit_GWorld(dest, w->pix.bounds, w, s, body);
    UnitCache_Stop();
    if (!ok) return false;
    Emit_SS(PCL_Trailer(), body);
    out.insert(out.end(), body.begin(), body.end());
    return true;
}

bool Flex_Write_PRN(const std::string& path, std::string* error) {
    std::vector<uint8_t> bytes;
    if (!Emit_PCL(bytes)) {
        if (error) *error = path + ": the label could not be rendered";
        return false;
    }
    return File_SaveAtomic(path, bytes.data(), bytes.size(), error);
}
