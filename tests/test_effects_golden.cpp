// Golden pictures of effect chains and canvases: outputs a person looks at.
// Inputs are drawn here, so the pictures do not change with the shipped art.
#include <gtest/gtest.h>

#include <cmath>

#include "artdb_fixtures.h"
#include "effects_fixtures.h"
#include "golden_image.h"
#include "model/document.h"
#include "render/canvas.h"
#include "render/effects.h"
#include "render/effects_cache.h"

namespace {

// A photo-like picture: a colour gradient with a dark disc and light bars.
a_masked_gworld Photo(int w, int h) {
    a_masked_gworld mw = Solid_MW(w, h, 0);
    for (int y = 0; y < h; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(PixMap_Row(mw.fore->pix, y));
        for (int x = 0; x < w; ++x) {
            int r = 40 + 200 * x / w, g = 60 + 160 * y / h, b = 200 - 150 * x / w;
            double dx = x - w * 0.35, dy = y - h * 0.5;
            if (dx * dx + dy * dy < (h * 0.3) * (h * 0.3)) r /= 3, g /= 3, b /= 2;
            if ((x / 12) % 5 == 4) r = g = b = 250;  // near-white: knocked out
            row[x] = uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
        }
    }
    return mw;
}

struct a_effect_case {
    const char* golden;
    void (*set)(a_spec& s);
};

const a_effect_case kEffectCases[] = {
    {"effect_scallop_shadow_45",
     [](a_spec& s) {
         s.edge_kind = EDGE_SCALLOP;
         s.edge_bord_color = a_win_pixel32{255, 255, 255, 0};
         s.shadf = true;
         s.shad_radius = 3;
         s.angle = 450;
         s.opacity = 80;
     }},
    {"effect_border_inline_shadow",
     [](a_spec& s) {
         s.edge_kind = EDGE_BORDER;
         s.edge_bord_color = a_win_pixel32{200, 230, 250, 0};
         s.edge_outl_color = a_win_pixel32{40, 40, 40, 0};
         s.shadf = true;
         s.shad_dx = 8;
         s.shad_dy = 6;
     }},
    {"effect_feather_round_tint",
     [](a_spec& s) {
         s.corner = 30;
         s.feather = 12;
         s.color_hue = 30;
         s.color_dist = 50;
         s.darkness = 60;
     }},
    {"effect_rough_flip_knockout",
     [](a_spec& s) {
         s.edge_kind = EDGE_ROUGH;
         s.edge_border = 10;
         s.edge_rough = 14;
         s.edge_outline = 0;
         s.edge_bord_color = a_win_pixel32{40, 140, 240, 0};
         s.flipx = true;
         s.wtransp = true;
         s.angle = -300;
         s.scalingh = 1500;
     }},
};

// Two canvas pictures: rings on a rectangle (class 1), a framed target for
// class 5.
std::vector<uint8_t> Rings(int w, int h) {
    std::vector<uint8_t> px(size_t(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double d = std::hypot(x - w / 2.0, y - h / 3.0);
            uint8_t* p = &px[(size_t(y) * w + x) * 4];
            bool ring = int(d / 24) % 2 == 0;
            p[0] = uint8_t(ring ? 230 : 90);
            p[1] = uint8_t(ring ? 180 : 40 + 100 * y / h);
            p[2] = uint8_t(ring ? 60 : 200 * x / w);
        }
    return px;
}

}  // namespace

TEST(EffectsGolden, Chains) {
    Cache_Clear();
    for (const a_effect_case& c : kEffectCases) {
        a_source_desc src;
        src.kind = SOURCE_CLIPBOARD;
        a_masked_gworld photo = Photo(160, 110);
        a_raw_bytes* raw = nullptr;
        Cache_Insert_External(src, photo, raw);
        a_spec s;
        Null_Spec(s);
        s.source = src;
        s.subset = Rect{0, 0, 110, 160};
        c.set(s);
        a_cache_result r;
        Cache_Get(FOR_SCREEN, s, r);
        GWorld* out = Composite_Result(r.body, r.shad, r.union_, 0x00FFFFFF);
        EXPECT_TRUE(Matches_Golden(c.golden, World_Bits(out))) << c.golden;
        Dispose_GWorld(out);
        Cache_Clear1(src.sid);
    }
}

TEST(CanvasGolden, PicturesOnUnits) {
    std::vector<a_db_entry> e = {
        Entry({2, 0, 311, 1}, Picture_Record(4, 4, 32, Rings(4, 4), a_pixt_codec::RAW)),
        Entry({1, 1, 311, 1},
              Picture_Record(640, 480, 32, Rings(640, 480), a_pixt_codec::PACKBITS)),
        Entry({2, 2, 312, 1}, Picture_Record(4, 4, 32, Rings(4, 4), a_pixt_codec::RAW)),
        Entry({1, 5, 312, 1},
              Picture_Record(1280, 870, 32, Rings(1280, 870), a_pixt_codec::PACKBITS)),
    };
    ASSERT_EQ(Open_Db(Db_Bytes(e)), OPEN_OKAY);
    struct a_case {
        const char* golden;
        int kind;
        Rect bounds;
        a_keyset key;
        int nrot;
        bool flipx;
        int darkness, hue, dist;
    } cases[] = {
        {"canvas_disc_cover", UNIT_CD, Rect{0, 0, 300, 300}, {2, 0, 311, 1}, 0, false, 50, 0, 0},
        {"canvas_disc_turned_tinted", UNIT_CD, Rect{0, 0, 300, 300}, {2, 0, 311, 1}, 1, true, 35,
         200, 60},
        {"canvas_jewel_base_borrowed", UNIT_JEWEL_BASE, Rect{0, 0, 160, 300}, {2, 2, 312, 1}, 0,
         false, 50, 0, 0},
    };
    for (const a_case& c : cases) {
        GWorld* w = New_GWorld(32, c.bounds);
        a_cached_canvas canv;
        Init_CV(canv.cv);
        canv.cv.canvas_key = c.key;
        canv.cv.canvas_nrot = uint16_t(c.nrot);
        canv.cv.canvas_flipx = c.flipx;
        canv.cv.canvas_darkness = int16_t(c.darkness);
        canv.cv.canvas_color_hue = int16_t(c.hue);
        canv.cv.canvas_color_dist = int16_t(c.dist);
        Render_Canvas(c.bounds, w, canv, c.kind, true, true);
        EXPECT_TRUE(Matches_Golden(c.golden, World_Bits(w))) << c.golden;
        Dispose_GWorld(canv.cached_world);
        Dispose_GWorld(w);
    }
    OP_CloseNewest();
    Cache_Clear();
}
