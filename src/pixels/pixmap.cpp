#include "pixels/pixmap.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "pixels/pixcursor.h"
#include "base/messages.h"
#include "platform/memory.h"

a_pix_cursor g_pixa, g_pixb, g_pix16a, g_pix16b, g_pix32a, g_pix32b, g_bita, g_bitb,
    g_genericpixa, g_genericpixb;

a_video_state g_video;

namespace {

a_color_table g_gray, g_gray2, g_mono;

uint32_t Grey32(int k) { return uint32_t(k) << 16 | uint32_t(k) << 8 | uint32_t(k); }
uint32_t RGB_Word(int r, int g, int b) { return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }

// The classic 8-bit system palette: the 6 x 6 x 6 cube from white down
// (without black), ten-step ramps of red, green, blue and grey, then black.
void Build_Main_Palette(a_color_table& t) {
    static const int cube[6] = {0xFF, 0xCC, 0x99, 0x66, 0x33, 0x00};
    static const int ramp[10] = {0xEE, 0xDD, 0xBB, 0xAA, 0x88, 0x77, 0x55, 0x44, 0x22, 0x11};
    int k = 0;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                if (k < 215) t.c[k++] = RGB_Word(cube[r], cube[g], cube[b]);
    for (int v : ramp) t.c[k++] = RGB_Word(v, 0, 0);
    for (int v : ramp) t.c[k++] = RGB_Word(0, v, 0);
    for (int v : ramp) t.c[k++] = RGB_Word(0, 0, v);
    for (int v : ramp) t.c[k++] = Grey32(v);
    t.c[k] = 0;
    t.count = 256;
}

void Set_Depth_Fields(PixMap& pm, int depth) {
    pm.pixelSize = int16_t(depth);
    bool indexed = depth <= 8;
    pm.pixelType = indexed ? 0 : 16;
    pm.cmpCount = indexed ? 1 : 3;
    pm.cmpSize = int16_t(indexed ? depth : depth == 16 ? 5 : 8);
    pm.planeBytes = depth == 16 ? PIXFMT_L555 : depth == 32 ? PIXFMT_BGRA : 0;
}

}  // namespace

CTabHandle gray_ctable = &g_gray;
CTabHandle gray_ctable2 = &g_gray2;
CTabHandle mono_ctable = &g_mono;

a_color_table* New_CTable(const uint32_t* colors, int n) {
    a_checked_allocation checked;
    auto* t = new (std::nothrow) a_color_table;
    if (!t) return nullptr;
    n = std::clamp(n, 0, 256);
    for (int k = 0; k < n; ++k) t->c[k] = colors[k] & 0xFFFFFF;
    t->count = n;
    return t;
}

void Dispose_CTable(a_color_table*& ctab) {
    delete ctab;
    ctab = nullptr;
}

void CTabHandle_To_Map(CTabHandle ctab, uint32_t map[256]) {
    const a_color_table& t = ctab ? *ctab : g_video.main_colors32;
    std::memcpy(map, t.c, sizeof t.c);
}

int CTab_Nearest(CTabHandle ctab, uint32_t color) {
    const a_color_table& t = ctab ? *ctab : g_video.main_colors32;
    int best = 0;
    long bestd = -1;
    for (int k = 0; k < t.count; ++k) {
        long dr = long((t.c[k] >> 16) & 0xFF) - long((color >> 16) & 0xFF);
        long dg = long((t.c[k] >> 8) & 0xFF) - long((color >> 8) & 0xFF);
        long db = long(t.c[k] & 0xFF) - long(color & 0xFF);
        long d = dr * dr + dg * dg + db * db;
        if (bestd < 0 || d < bestd) {
            bestd = d;
            best = k;
        }
    }
    return best;
}

bool PixMap_Fits(const Rect& bounds, int depth) {
    if (!Is_Valid_Depth(depth)) return false;
    int w = Rect_Width(bounds), h = Rect_Height(bounds);
    if (w < 0 || h < 0) return false;
    return Calc_RowBytes(w, depth) <= ROWBYTES_MASK;
}

size_t PixMap_Len(const PixMap& pm) {
    int h = Rect_Height(pm.bounds);
    return h <= 0 ? 0 : size_t(h) * size_t(PixMap_RowBytes(pm));
}

void Null_PixMap(PixMap& pm) { pm = PixMap{}; }

void New_Empty_PixMap(PixMap& pm, const Rect& bounds, int depth, CTabHandle ctab) {
    pm = PixMap{};
    pm.bounds = bounds;
    int w = std::max(0, Rect_Width(bounds));
    pm.rowBytes = int16_t(std::min<int32_t>(Calc_RowBytes(w, depth), ROWBYTES_MASK));
    Set_Depth_Fields(pm, depth);
    pm.pmTable = depth == 8 ? ctab : depth == 1 ? (ctab ? ctab : mono_ctable) : nullptr;
}

bool New_PixMap_Try(PixMap& pm, const Rect& bounds, int depth, CTabHandle ctab) {
    Null_PixMap(pm);
    if (!PixMap_Fits(bounds, depth)) return false;
    PixMap h;
    New_Empty_PixMap(h, bounds, depth, ctab);
    // Always a buffer, even for an empty map, so that a made map is never null.
    size_t len = std::max<size_t>(PixMap_Len(h), 1);
    a_checked_allocation checked;
    h.baseAddr = new (std::nothrow) uint8_t[len]();
    if (!h.baseAddr) return false;
    pm = h;
    return true;
}

void New_PixMap(PixMap& pm, const Rect& bounds, int depth, CTabHandle ctab) {
    if (!PixMap_Fits(bounds, depth)) InternalError();
    if (!New_PixMap_Try(pm, bounds, depth, ctab)) {
        OutOfMemory(size_t(Rect_Height(bounds)) * size_t(Calc_RowBytes(Rect_Width(bounds), depth)));
    }
}

void Dispose_PixMap(PixMap& pm) {
    delete[] pm.baseAddr;
    Null_PixMap(pm);
}

void PixMap_Resize(PixMap& pm, const Rect& bounds) {
    int depth = pm.pixelSize;
    CTabHandle ctab = pm.pmTable;
    Dispose_PixMap(pm);
    New_PixMap(pm, bounds, depth, ctab);
}

void PixMap_Copy(const PixMap& src, PixMap& dst) {
    New_PixMap(dst, src.bounds, src.pixelSize, src.pmTable);
    if (!src.baseAddr) return;
    int32_t n = std::min(PixMap_RowBytes(src), PixMap_RowBytes(dst));
    for (int y = src.bounds.top; y < src.bounds.bottom; ++y)
        std::memcpy(PixMap_Row(dst, y), PixMap_Row(src, y), size_t(n));
}

void PixMap_Zero(PixMap& pm) {
    if (pm.baseAddr) std::memset(pm.baseAddr, 0, PixMap_Len(pm));
}

void PixMap_Ones(PixMap& pm) {
    if (pm.baseAddr) std::memset(pm.baseAddr, 0xFF, PixMap_Len(pm));
}

void PixMap_Invert(PixMap& pm) {
    uint8_t* p = pm.baseAddr;
    size_t n = p ? PixMap_Len(pm) : 0;
    for (size_t i = 0; i < n; ++i) p[i] = uint8_t(~p[i]);
}

void BitMap_As_PixMap(const BitMap& bm, PixMap& pm) {
    New_Empty_PixMap(pm, bm.bounds, 1, mono_ctable);
    pm.baseAddr = bm.baseAddr;
    pm.rowBytes = bm.rowBytes;
}

void PixMap_As_BitMap(const PixMap& pm, BitMap& bm) {
    bm.baseAddr = pm.baseAddr;
    bm.rowBytes = pm.rowBytes;
    bm.bounds = pm.bounds;
}

void RGB24_To_RGB32(const a_pixel24& pix24, a_win_pixel32& pix32) {
    pix32 = a_win_pixel32{pix24.b, pix24.g, pix24.r, 0};
}

void RGB32_To_RGB24(const a_win_pixel32& pix32, a_pixel24& pix24) {
    pix24 = a_pixel24{pix32.r, pix32.g, pix32.b};
}

void RGB32_To_RGB16(const a_win_pixel32& p, uint16_t& pix16) {
    pix16 = uint16_t((p.r >> 3) << 10 | (p.g >> 3) << 5 | (p.b >> 3));
}

void RGB16_To_RGB32(uint16_t pix16, a_win_pixel32& rgb) {
    rgb.r = uint8_t(((pix16 >> 10) & 0x1F) << 3);
    rgb.g = uint8_t(((pix16 >> 5) & 0x1F) << 3);
    rgb.b = uint8_t((pix16 & 0x1F) << 3);
}

void RGB32_To_Gray(a_win_pixel32& p) {
    unsigned g = (77u * p.r + 151u * p.g + 28u * p.b) >> 8;
    uint8_t v = uint8_t(std::min(g, 255u));
    p.r = p.g = p.b = v;
}

void RGB32_To_RGB48(const a_win_pixel32& p, a_pixel48& out) {
    out = a_pixel48{uint16_t(p.r * 0x0101), uint16_t(p.g * 0x0101), uint16_t(p.b * 0x0101)};
}

void RGB48_To_RGB32(const a_pixel48& in, a_win_pixel32& p) {
    p.r = uint8_t(in.r >> 8);
    p.g = uint8_t(in.g >> 8);
    p.b = uint8_t(in.b >> 8);
}

void RGB16_To_RGB48(uint16_t pix16, a_pixel48& out) {
    a_win_pixel32 p;
    RGB16_To_RGB32(pix16, p);
    RGB32_To_RGB48(p, out);
}

bool Equal_RGB24(const a_pixel24& a, const a_pixel24& b) { return a == b; }

void RGB_To_HSV(const a_pixel24& c, a_hsv_color& hsv) {
    int r = c.r, g = c.g, b = c.b;
    int mx = std::max({r, g, b}), mn = std::min({r, g, b});
    hsv.v = int16_t(mx);
    hsv.s = int16_t(mx == 0 ? 0 : (mx - mn) * 255 / mx);
    if (hsv.s == 0) {
        hsv.h = 0;
        return;
    }
    int d = mx - mn, h;
    if (r == mx)
        h = (g - b) * 60 / d;
    else if (g == mx)
        h = (b - r) * 60 / d + 120;
    else
        h = (r - g) * 60 / d + 240;
    if (h < 0) h += 360;
    hsv.h = int16_t(h);
}

void HSV_To_RGB(const a_hsv_color& hsv, a_pixel24& rgb) {
    int v = hsv.v, s = hsv.s;
    if (s == 0) {
        rgb = a_pixel24{uint8_t(v), uint8_t(v), uint8_t(v)};
        return;
    }
    int h = ((hsv.h % 360) + 360) % 360;
    int f = h % 60;
    int p = v * (255 - s) / 255;
    int q = v * (15045 - s * f) / 15045;
    int t = v * (15045 - (59 - f) * s) / 15045;
    int r, g, b;
    switch (h / 60) {
        case 0: r = v, g = t, b = p; break;
        case 1: r = q, g = v, b = p; break;
        case 2: r = p, g = v, b = t; break;
        case 3: r = p, g = q, b = v; break;
        case 4: r = t, g = p, b = v; break;
        default: r = v, g = p, b = q; break;
    }
    rgb = a_pixel24{uint8_t(r), uint8_t(g), uint8_t(b)};
}

void RGBA_To_Colortable(const a_canonic_pixel32 in[256], a_color_table& out) {
    for (int k = 0; k < 256; ++k) out.c[k] = RGB_Word(in[k].r, in[k].g, in[k].b);
    out.count = 256;
}

void Colortable48_To_32(const a_pixel48 in[256], uint32_t out[256]) {
    for (int k = 0; k < 256; ++k) out[k] = RGB_Word(in[k].r >> 8, in[k].g >> 8, in[k].b >> 8);
}

void Colortable48_To_16(const a_pixel48 in[256], uint16_t out[256]) {
    for (int k = 0; k < 256; ++k) out[k] = Pix32_To_16(RGB_Word(in[k].r >> 8, in[k].g >> 8, in[k].b >> 8));
}

void Mac_Win_PixMap32(uint8_t* base, int width, int height, int32_t rowb) {
    for (int y = 0; y < height; ++y) {
        uint8_t* p = base + ptrdiff_t(y) * rowb;
        for (int x = 0; x < width; ++x, p += 4) {
            std::swap(p[0], p[3]);
            std::swap(p[1], p[2]);
        }
    }
}

void Mac_Win_PixMap16(uint8_t* base, int width, int height, int32_t rowb) {
    for (int y = 0; y < height; ++y) {
        uint8_t* p = base + ptrdiff_t(y) * rowb;
        for (int x = 0; x < width; ++x, p += 2) std::swap(p[0], p[1]);
    }
}

void PixMap_Init() {
    for (int k = 0; k < 256; ++k) {
        g_gray.c[k] = Grey32(255 - k);
        g_gray2.c[k] = Grey32(k);
    }
    g_mono = a_color_table{};
    g_mono.c[0] = 0xFFFFFF;
    g_mono.c[1] = 0;
    g_mono.count = 2;
    Build_Main_Palette(g_video.main_colors32);
}

void PixMap_Stop() {}
