#include "pixels/pixcolor.h"

#include <algorithm>
#include <cstring>

#include "base/messages.h"

namespace {

// Applies f to every 32-bit pixel, reusing the result for runs of equal pixels.
template <typename F>
void Each_Pixel32(PixMap& pm, F f) {
    int w = Rect_Width(pm.bounds);
    bool have = false;
    uint32_t last_in = 0, last_out = 0;
    for (int y = pm.bounds.top; y < pm.bounds.bottom; ++y) {
        uint32_t* p = reinterpret_cast<uint32_t*>(PixMap_Row(pm, y));
        for (int x = 0; x < w; ++x) {
            if (!have || p[x] != last_in) {
                last_in = p[x];
                last_out = f(p[x]);
                have = true;
            }
            p[x] = last_out;
        }
    }
}

template <typename F>
void Each_Pixel16(PixMap& pm, F f) {
    int w = Rect_Width(pm.bounds);
    bool have = false;
    uint16_t last_in = 0, last_out = 0;
    for (int y = pm.bounds.top; y < pm.bounds.bottom; ++y) {
        uint8_t* row = PixMap_Row(pm, y);
        for (int x = 0; x < w; ++x) {
            uint16_t v = uint16_t(row[2 * x] | row[2 * x + 1] << 8);
            if (!have || v != last_in) {
                last_in = v;
                last_out = f(v);
                have = true;
            }
            row[2 * x] = uint8_t(last_out);
            row[2 * x + 1] = uint8_t(last_out >> 8);
        }
    }
}

void Remap8(PixMap& pm, const uint8_t remap[256]) {
    int w = Rect_Width(pm.bounds);
    for (int y = pm.bounds.top; y < pm.bounds.bottom; ++y) {
        uint8_t* p = PixMap_Row(pm, y);
        for (int x = 0; x < w; ++x) p[x] = remap[p[x]];
    }
}

a_pixel24 Word_To_24(uint32_t v) {
    return a_pixel24{uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}
uint32_t P24_To_Word(const a_pixel24& p) { return uint32_t(p.r) << 16 | uint32_t(p.g) << 8 | p.b; }

uint32_t Shift_Hue(uint32_t color, int val) {
    a_hsv_color hsv;
    RGB_To_HSV(Word_To_24(color), hsv);
    hsv.h = int16_t(((hsv.h + val) % 360 + 360) % 360);
    a_pixel24 rgb;
    HSV_To_RGB(hsv, rgb);
    return P24_To_Word(rgb);
}

}  // namespace

uint32_t Color_Shift_Hue(uint32_t color, int val) { return Shift_Hue(color, val); }

void Calc_Darkness_Map(int val, int maxval, uint8_t* map) {
    for (int i = 0; i <= maxval; ++i) {
        int v = val < 50 ? i * val / 50 : ((val - 50) * maxval + i * (100 - val)) / 50;
        map[i] = uint8_t(std::clamp(v, 0, maxval));
    }
}

void PixMap_Darkness(PixMap& pm, int val) {
    val = std::clamp(val, 0, 100);
    if (pm.pixelSize == 32 || pm.pixelSize == 16) {
        if (val == 50) return;
        if (val == 0) {
            PixMap_Zero(pm);
            return;
        }
    }
    switch (pm.pixelSize) {
        case 32: {
            uint8_t m[256];
            Calc_Darkness_Map(val, 255, m);
            Each_Pixel32(pm, [&](uint32_t p) {
                return (p & 0xFF000000) | uint32_t(m[(p >> 16) & 0xFF]) << 16 |
                       uint32_t(m[(p >> 8) & 0xFF]) << 8 | m[p & 0xFF];
            });
            return;
        }
        case 16: {
            uint8_t m[32];
            Calc_Darkness_Map(val, 31, m);
            Each_Pixel16(pm, [&](uint16_t p) {
                return uint16_t(m[(p >> 10) & 0x1F] << 10 | m[(p >> 5) & 0x1F] << 5 | m[p & 0x1F]);
            });
            return;
        }
        case 8: {
            if (val == 100) return;
            uint32_t pal[256];
            CTabHandle_To_Map(pm.pmTable, pal);
            uint8_t remap[256];
            for (int k = 0; k < 256; ++k) {
                uint32_t c = pal[k], d = 0;
                for (int sh = 0; sh <= 16; sh += 8)
                    d |= uint32_t(std::min(255u, ((c >> sh) & 0xFF) * unsigned(val) / 100)) << sh;
                remap[k] = uint8_t(CTab_Nearest(pm.pmTable, d));
            }
            // With 0 every colour becomes black, whichever index black has.
            Remap8(pm, remap);
            return;
        }
        default: InternalError();
    }
}

void PixMap_ColorShift(PixMap& pm, int val) {
    if (pm.pixelSize != 8 && pm.pixelSize != 16) InternalError();
    if (val % 360 == 0) return;
    if (pm.pixelSize == 16) {
        Each_Pixel16(pm, [&](uint16_t p) { return Pix32_To_16(Shift_Hue(Pix16_To_32(p), val)); });
        return;
    }
    uint32_t pal[256];
    CTabHandle_To_Map(pm.pmTable, pal);
    uint8_t remap[256];
    for (int k = 0; k < 256; ++k) remap[k] = uint8_t(CTab_Nearest(pm.pmTable, Shift_Hue(pal[k], val)));
    Remap8(pm, remap);
}

void PixMap32_HSV(PixMap& pm, int targ_hue, int targ_dist, int targ_dark, int /*targ_sat*/) {
    if (pm.pixelSize != 32) InternalError();
    int16_t hue[361];
    for (int h = 0; h <= 360; ++h) {
        int d = targ_hue - h;
        if (d > 180) d -= 360;
        if (d < -180) d += 360;
        int nh = h + d * targ_dist / 72;
        hue[h] = int16_t((nh % 360 + 360) % 360);
    }
    int16_t val[257];
    for (int v = 0; v <= 256; ++v) {
        int nv = targ_dark <= 50 ? v * targ_dark / 50 : (256 - v) * (targ_dark - 50) / 50 + v;
        val[v] = int16_t(std::clamp(nv, 0, 255));
    }
    Each_Pixel32(pm, [&](uint32_t p) {
        a_hsv_color hsv;
        RGB_To_HSV(Word_To_24(p), hsv);
        hsv.h = hue[hsv.h];
        hsv.v = val[hsv.v];
        a_pixel24 rgb;
        HSV_To_RGB(hsv, rgb);
        return (p & 0xFF000000) | P24_To_Word(rgb);
    });
}

void PixMap_Gray(const PixMap& pm, PixMap& gray) {
    if (pm.pixelSize != 16 && pm.pixelSize != 32) InternalError();
    New_PixMap(gray, pm.bounds, 8, gray_ctable);
    int w = Rect_Width(pm.bounds);
    for (int y = pm.bounds.top; y < pm.bounds.bottom; ++y) {
        const uint8_t* s = PixMap_Row(pm, y);
        uint8_t* d = PixMap_Row(gray, y);
        for (int x = 0; x < w; ++x) {
            uint32_t v;
            if (pm.pixelSize == 32)
                std::memcpy(&v, s + 4 * x, 4);
            else
                v = Pix16_To_32(uint16_t(s[2 * x] | s[2 * x + 1] << 8));
            d[x] = uint8_t(255 - Pix32_Gray(v));
        }
    }
}

void Pix32_To_Alpha(PixMap& pm) {
    if (pm.pixelSize != 32) InternalError();
    Each_Pixel32(pm, [](uint32_t p) { return (p & 0xFFFFFF) | uint32_t(255 - Pix32_Gray(p)) << 24; });
}

void PixMap8_To_8(PixMap& pm, CTabHandle ctab) {
    if (pm.pixelSize != 8) InternalError();
    uint32_t pal[256];
    CTabHandle_To_Map(pm.pmTable, pal);
    uint8_t remap[256];
    for (int k = 0; k < 256; ++k) remap[k] = uint8_t(CTab_Nearest(ctab, pal[k]));
    Remap8(pm, remap);
    pm.pmTable = ctab;
}
