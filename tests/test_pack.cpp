// Collage packs: the slot regions against values worked out by hand, every
// control at its extremes, pouring photos in order, trimming the slot count,
// OK giving one photo of exactly the slots' pictures, Cancel leaving the
// saved project as it was, and a golden of each kind with photos of our own.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "block_fixtures.h"
#include "effects_fixtures.h"
#include "golden_image.h"
#include "image_fixtures.h"
#include "largest_allocation.h"
#include "images/image_files.h"
#include "images/pack.h"
#include "images/photo_blocks.h"
#include "model/history_ops.h"
#include "persist/design_file.h"
#include "persist/disc_write.h"
#include "pixels/blit.h"
#include "pixels/syspix.h"
#include "platform/files.h"
#include "platform/region.h"
#include "render/effects_cache.h"

namespace {

// A little landscape of our own: sky above, a hill, a sun and a red flag
// at the top left, so that a turned or mirrored photo shows it.
a_masked_gworld Landscape(int w, int h, int seed) {
    a_masked_gworld mw = Solid_MW(w, h, 0);
    const int hue = seed * 47 % 256;
    for (int y = 0; y < h; ++y) {
        uint8_t* row = PixMap_Row(mw.fore->pix, y);
        for (int x = 0; x < w; ++x) {
            const double hill = h * (0.62 + 0.08 * std::sin((x + seed * 31) * 6.28 / w));
            uint8_t b = 0, g = 0, r = 0;
            if (y < hill) {
                b = uint8_t(255 - 90 * y / h);
                g = uint8_t(150 + 60 * y / h);
                r = uint8_t(60 + hue / 3);
            } else {
                b = uint8_t(40);
                g = uint8_t(110 + 80 * (h - y) / h);
                r = uint8_t(hue / 2);
            }
            const int sx = w * 3 / 4 - x, sy = h / 4 - y;
            if (sx * sx + sy * sy < (h / 9) * (h / 9)) b = 40, g = 220, r = 255;
            if (x < w / 6 && y < h / 8) b = 30, g = 30, r = 220;
            row[4 * x] = b, row[4 * x + 1] = g, row[4 * x + 2] = r, row[4 * x + 3] = 0;
        }
    }
    return mw;
}

class Pack : public BlockTest {
protected:
    void SetUp() override {
        BlockTest::SetUp();
        g_block_bar = COLLAGE_BAR;
    }
    void TearDown() override {
        if (Pack_Active()) (void)Pack_Cancel();
        BlockTest::TearDown();
        Cache_Clear();
    }
    void Enter(const a_pack_spec& spec) {
        Pack_Enter(TEXT_PHASE);
        Delta_Pack(spec);
    }
    static a_pack_spec Spec(a_pack_kind kind) {
        a_pack_spec s;
        s.packkind = kind;
        return s;
    }
    void Paste_Solid(uint32_t color, int w = 700, int h = 650) {
        a_masked_gworld mw = Solid_MW(w, h, color);
        EXPECT_TRUE(Pack_Paste(mw));
    }
    void Select_Slot(int slot) { Select({Slotx_To_Omx(slot)}); }
    a_ph_rec& Slot_Rec(int slot) { return *Item(Slotx_To_Omx(slot)).ph; }
    std::string Write_Png(const std::string& name, int w, int h, int seed) {
        std::string path = Temp_Folder() + "/cirquel-pack-" + name + ".png";
        a_masked_gworld mw = Landscape(w, h, seed);
        EXPECT_EQ(Export_World(FMT_PNG, 300, path, mw.fore), 0);
        Dispose_MW(mw);
        return path;
    }
    std::vector<uint8_t> Saved() {
        std::vector<uint8_t> out;
        EXPECT_EQ(Write_DISC_Bytes(out), 0);
        return out;
    }
};

const a_slot& S(int i) { return g_pack->slots[i]; }

}  // namespace

// One ring of 6 over the whole circle, no spacing: six 60-degree wedges from
// the top, clockwise. R = 570, r = 285; slot 1 runs 90..30 degrees, its
// middle is 60 degrees (turn -300) and its centre 440.45 out: (820, 219).
TEST_F(Pack, OneRingWedgesMatchTheFormula) {
    a_pack_spec spec = Spec(PACK_CLOCK1);
    spec.clock_spacing = 0;
    Enter(spec);
    EXPECT_EQ(g_pack->composite_bounds, Box_At(0, 0, 1200, 1200));
    EXPECT_EQ(U().paintbounds, g_pack->composite_bounds);
    ASSERT_EQ(g_pack->totnslots, 6);
    EXPECT_EQ(Pack_Slot_Blocks(), 6);
    const a_clock_radii r = Calc_Clock_Radii(spec);
    EXPECT_DOUBLE_EQ(r.outer, 570.0);
    EXPECT_DOUBLE_EQ(r.inner, 285.0);
    EXPECT_EQ(S(0).slot_base_angle, -300);
    EXPECT_EQ(S(0).slot_rgn_center, (Point{219, 820}));
    EXPECT_EQ(S(1).slot_base_angle, -900);  // 30 .. -30 degrees: straight right
    EXPECT_EQ(S(3).slot_base_angle, -2100);  // the slot straight down, as m - 900
    const double wedge = 3.14159265 * (570.0 * 570 - 285.0 * 285) / 6;
    int64_t total = 0;
    for (int i = 0; i < 6; ++i) {
        const int64_t area = Rgn_Area(S(i).slot_rgn.get());
        EXPECT_NEAR(double(area), wedge, wedge * 0.01) << i;
        EXPECT_TRUE(Rgn_ContainsPoint(S(i).slot_rgn.get(), S(i).slot_rgn_center)) << i;
        total += area;
    }
    // Together they tile the ring: no overlaps, no gaps beyond the edges.
    a_region_ptr all = Make_Region();
    for (int i = 0; i < 6; ++i) Rgn_Union(all.get(), S(i).slot_rgn.get(), all.get());
    EXPECT_NEAR(double(Rgn_Area(all.get())), double(total), total * 0.003);
    // Just right of twelve o'clock is the first slot, just left the last.
    EXPECT_TRUE(Rgn_ContainsPoint(S(0).slot_rgn.get(), Point{180, 620}));
    EXPECT_TRUE(Rgn_ContainsPoint(S(5).slot_rgn.get(), Point{180, 580}));
    // Upright photos keep no turn.
    spec.orient = 1;
    Delta_Pack(spec);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(S(i).slot_base_angle, 0);
}

// The spacing pulls each end back by g = radians(1.08) * 570 = 10.744 px:
// 1.08 degrees at the outer radius, 2.16 at the inner, so slot 1 ends at
// 31.1 and 32.2 degrees and its middle is 60.8 (turn -292), centre (815, 216).
// Two rings: mid = 427.5, the outer ring from 432.33, the inner to 422.67;
// the first inner slot (of 4) runs 90 .. 1.5/2.2 degrees: middle 45.9.
TEST_F(Pack, SpacingAndTwoRingsMatchTheFormula) {
    Enter(Spec(PACK_CLOCK1));
    EXPECT_NEAR(Calc_Clock_Radii(g_pack->packspec).gap, 10.7442, 1e-3);
    EXPECT_EQ(S(0).slot_base_angle, -292);
    EXPECT_EQ(S(0).slot_rgn_center, (Point{216, 815}));
    // Nothing at twelve o'clock between the last slot and the first.
    EXPECT_FALSE(Rgn_ContainsPoint(S(5).slot_rgn.get(), Point{160, 598}));
    EXPECT_FALSE(Rgn_ContainsPoint(S(0).slot_rgn.get(), Point{160, 598}));

    Delta_Pack(Spec(PACK_CLOCK2));
    ASSERT_EQ(g_pack->totnslots, 10);
    EXPECT_EQ(Pack_Slot_Blocks(), 10);
    EXPECT_EQ(S(0).slot_base_angle, -294);
    EXPECT_EQ(S(0).slot_rgn_center, (Point{158, 849}));
    EXPECT_EQ(S(6).slot_base_angle, -441);
    EXPECT_EQ(S(6).slot_rgn_center, (Point{341, 851}));
    // The outer ring lies outside 432, the inner inside 423, nothing between.
    const Point c{600, 600};
    EXPECT_TRUE(Rgn_ContainsPoint(S(0).slot_rgn.get(), Cyl_To_XY(c, 436, 600)));
    EXPECT_TRUE(Rgn_ContainsPoint(S(6).slot_rgn.get(), Cyl_To_XY(c, 419, 450)));
    for (int i = 0; i < 10; ++i) EXPECT_FALSE(Rgn_ContainsPoint(S(i).slot_rgn.get(), Cyl_To_XY(c, 427, 600)));
    EXPECT_EQ(600 - Rgn_Bounds(S(0).slot_rgn.get()).top, 570);
    for (int i = 0; i < 6; ++i)
        for (int j = 6; j < 10; ++j) {
            a_region_ptr both = Make_Region();
            Rgn_Sect(S(i).slot_rgn.get(), S(j).slot_rgn.get(), both.get());
            EXPECT_TRUE(Rgn_IsEmpty(both.get())) << i << " " << j;
        }
}

// A 3 x 2 grid is 1200 x 800 of 400-pixel cells, numbered row by row, the
// spacing to the right and below; 1 x 1 without spacing covers everything;
// full rounding makes each slot the ellipse in its cell.
TEST_F(Pack, GridCellsAndTheLotusPetals) {
    a_pack_spec spec = Spec(PACK_GRID);
    spec.grid_nx = 3, spec.grid_ny = 2, spec.grid_spacing = 3;
    Enter(spec);
    EXPECT_EQ(g_pack->composite_bounds, Box_At(0, 0, 1200, 800));
    ASSERT_EQ(g_pack->totnslots, 6);
    EXPECT_EQ(Rgn_Bounds(S(1).slot_rgn.get()), Box_At(400, 0, 388, 388));
    EXPECT_EQ(Rgn_Bounds(S(3).slot_rgn.get()), Box_At(0, 400, 388, 388));
    EXPECT_EQ(S(5).slot_rgn_center, (Point{594, 994}));
    EXPECT_EQ(S(5).slot_base_angle, 0);
    spec.grid_nx = 2, spec.grid_ny = 3;
    Delta_Pack(spec);
    EXPECT_EQ(g_pack->composite_bounds, Box_At(0, 0, 800, 1200));
    spec.grid_nx = spec.grid_ny = 1, spec.grid_spacing = 0;
    Delta_Pack(spec);
    EXPECT_EQ(g_pack->totnslots, 1);
    EXPECT_EQ(Pack_Slot_Blocks(), 1);  // the five empty ones went
    EXPECT_EQ(Rgn_Area(S(0).slot_rgn.get()), 1200 * 1200);
    spec.grid_nx = spec.grid_ny = 4, spec.grid_corner = 100;
    Delta_Pack(spec);
    EXPECT_NEAR(double(Rgn_Area(S(0).slot_rgn.get())), 3.14159 / 4 * 300 * 300, 300 * 300 * 0.01);

    // The lotus: 2 x 6 petals 30 degrees apart, the front ones first; the
    // back petals are what the front ones leave of them.
    Delta_Pack(Spec(PACK_LOTUS));
    ASSERT_EQ(g_pack->totnslots, 12);
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(S(k).slot_base_angle, -k * 600) << k;
        EXPECT_EQ(S(6 + k).slot_base_angle, -k * 600 - 300) << k;
        EXPECT_TRUE(Rgn_ContainsPoint(S(k).slot_rgn.get(), S(k).slot_rgn_center)) << k;
        EXPECT_FALSE(Rgn_IsEmpty(S(6 + k).slot_rgn.get())) << k;
        for (int j = 0; j < 6; ++j) {
            a_region_ptr both = Make_Region();
            Rgn_Sect(S(j).slot_rgn.get(), S(6 + k).slot_rgn.get(), both.get());
            EXPECT_TRUE(Rgn_IsEmpty(both.get()));
        }
    }
    // The top petal points up and reaches the outer radius.
    EXPECT_NEAR(Rgn_Bounds(S(0).slot_rgn.get()).top, 600 - 570, 1);
    // The square keeps the ring's count and turns, pushed out to a square.
    Delta_Pack(Spec(PACK_CLOCKSQ));
    EXPECT_EQ(g_pack->totnslots, 6);
    a_region_ptr all = Make_Region();
    for (int i = 0; i < 6; ++i) Rgn_Union(all.get(), S(i).slot_rgn.get(), all.get());
    const Rect sq = Rgn_Bounds(all.get());
    EXPECT_NEAR(sq.left, 30, 1);
    EXPECT_NEAR(sq.top, 30, 1);
    EXPECT_NEAR(sq.right, 1170, 1);
    EXPECT_NEAR(sq.bottom, 1170, 1);
}

// Every control at either end, alone and all together: the regions stay
// within the composite, their count is the kind's, none crashes the region
// code; turns wrap into -180 .. 180 degrees.
TEST_F(Pack, ControlsAtTheirExtremesGiveValidRegions) {
    Enter(Spec(PACK_CLOCK1));
    struct a_field {
        int16_t a_pack_spec::*f;
        int lo, hi;
    };
    const a_field fields[] = {
        {&a_pack_spec::clock_nouter, 2, 16},     {&a_pack_spec::clock_ninner, 2, 16},
        {&a_pack_spec::clock_totangle, 45, 360}, {&a_pack_spec::clock_start, -180, 180},
        {&a_pack_spec::clock_spacing, 0, 10},    {&a_pack_spec::clock_thickness, 20, 100},
        {&a_pack_spec::clock_outerd, 50, 100},   {&a_pack_spec::grid_nx, 1, 12},
        {&a_pack_spec::grid_ny, 1, 12},          {&a_pack_spec::grid_spacing, 0, 10},
        {&a_pack_spec::grid_corner, 0, 100},     {&a_pack_spec::lotus_n, 4, 16},
        {&a_pack_spec::outline, 0, 20}};
    std::vector<a_pack_spec> specs;
    for (int kind = 0; kind < PACK_NKINDS; ++kind) {
        a_pack_spec lo = Spec(a_pack_kind(kind)), hi = lo;
        for (const a_field& f : fields) {
            a_pack_spec one = Spec(a_pack_kind(kind));
            one.*f.f = int16_t(f.lo);
            specs.push_back(one);
            one.*f.f = int16_t(f.hi);
            specs.push_back(one);
            lo.*f.f = int16_t(f.lo);
            hi.*f.f = int16_t(f.hi);
        }
        specs.push_back(lo);
        specs.push_back(hi);
        a_pack_spec wild = hi;
        wild.clock_thickness = 20, wild.clock_totangle = 45;  // gaps wider than slots
        specs.push_back(wild);
        a_pack_spec outside = Spec(a_pack_kind(kind));
        outside.grid_nx = 0, outside.clock_nouter = -5, outside.lotus_n = 999, outside.packkind = uint8_t(kind + 10 * (kind == 4));
        specs.push_back(outside);  // out of range: clamped first
    }
    for (const a_pack_spec& spec : specs) {
        Delta_Pack(spec);
        a_pack_spec c = spec;
        Clamp_Pack_Spec(c);
        EXPECT_EQ(g_pack->totnslots, Pack_Slot_Count(c));
        for (int i = 0; i < g_pack->totnslots; ++i) {
            const Rect b = Rgn_Bounds(S(i).slot_rgn.get());
            if (!Rgn_IsEmpty(S(i).slot_rgn.get())) {
                EXPECT_EQ(Rect_Sect(b, g_pack->composite_bounds), b) << int(c.packkind) << " slot " << i;
            }
        }
        if (c.packkind == PACK_GRID || c.clock_spacing == 0) {
            for (int i = 0; i < g_pack->totnslots; ++i) EXPECT_FALSE(Rgn_IsEmpty(S(i).slot_rgn.get())) << i;
        }
    }
    int16_t a = 1800 + 2000;
    Normalize_180(a);
    EXPECT_EQ(a, 200);
    a = 1800 + 200;
    Normalize_180(a);
    EXPECT_EQ(a, -1600);
    a = -1700 - 900;
    Normalize_180(a);
    EXPECT_EQ(a, 1000);
}

// Pasting fills the slots in order from the first selected one; a full pack
// refuses with the sound; lowering the count drops only trailing empty slots.
TEST_F(Pack, FillOrderAndTrimming) {
    const int before = U().oj.nlist;
    Enter(Spec(PACK_CLOCK1));
    EXPECT_EQ(g_pack->first_slot_omx, before + 1);
    EXPECT_TRUE(Is_Pack_Empty());
    for (int k = 0; k < 6; ++k) Paste_Solid(0x100000u * uint32_t(k + 1));
    EXPECT_TRUE(Is_Pack_Full());
    EXPECT_EQ(history, std::vector<int>(6, OP_COLLAGE_INSERT));
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(Slot_Rec(FIRST_SLOT + k).spec.source.kind, SOURCE_CLIPBOARD);
        // 700 x 650 is reduced to a shorter side of 600.
        EXPECT_EQ(Slot_Rec(FIRST_SLOT + k).spec.subset, Box_At(0, 0, 646, 600));
    }
    a_masked_gworld extra = Solid_MW(10, 10, 0);
    EXPECT_FALSE(Pack_Paste(extra));
    EXPECT_EQ(sounds, std::vector<int>{SND_BLOCK_WARNING});

    // Empty 10001 and 10004; from the selected 10003 the next to fill is 10004.
    Select({Slotx_To_Omx(10001), Slotx_To_Omx(10004)});
    Pack_ClearSlot();
    EXPECT_TRUE(Is_Slot_Empty(10001) && Is_Slot_Empty(10004));
    Select_Slot(10003);
    EXPECT_EQ(Find_Slot_To_Fill(), 10004);
    Select_Slot(10005);
    EXPECT_EQ(Find_Slot_To_Fill(), 10001);  // on round from the end
    Select({});
    EXPECT_EQ(Find_Slot_To_Fill(), 10001);

    // Duplicating 10002 fills the next empty slot from it, 10004, with the
    // same photo and the user's turn (200 degrees past 180: -160).
    Select_Slot(10002);
    Slot_Rotate(2000, Slotx_To_Omx(10002));
    EXPECT_EQ(S(2).slot_extra_angle, -1600);
    Pack_DupSlot();
    EXPECT_EQ(Slot_Rec(10004).spec.source, Slot_Rec(10002).spec.source);
    EXPECT_EQ(S(4).slot_extra_angle, -1600);
    EXPECT_TRUE(Is_Slot_Empty(10001));

    // Down to 3: 10005 is filled and stays, so does everything below it;
    // with 10004 and 10005 cleared, both go.
    Set_Number_Of_Slots(3);
    EXPECT_EQ(Pack_Slot_Blocks(), 6);
    Select({Slotx_To_Omx(10004), Slotx_To_Omx(10005)});
    Pack_ClearSlot();
    Set_Number_Of_Slots(3);
    EXPECT_EQ(Pack_Slot_Blocks(), 4);
    EXPECT_EQ(g_pack->totnslots, 3);
    Set_Number_Of_Slots(8);
    EXPECT_EQ(Pack_Slot_Blocks(), 8);
    EXPECT_TRUE(Is_Slot_Empty(10007));

    // Two slots trade photos.
    const a_source_desc a = Slot_Rec(10000).spec.source, b = Slot_Rec(10003).spec.source;
    ASSERT_TRUE(Pack_Swap_Slots(10000, 10003));
    EXPECT_EQ(Slot_Rec(10000).spec.source, b);
    EXPECT_EQ(Slot_Rec(10003).spec.source, a);
}

// Files: ten into six empty slots fill the six, the other four are named and
// the refusal sounds once; a file that cannot be read is named alone and the
// rest are placed. One history step for the lot.
TEST_F(Pack, FilesPouredIntoTheSlots) {
    Enter(Spec(PACK_CLOCK1));
    std::vector<std::string> files;
    for (int k = 0; k < 10; ++k) files.push_back(Write_Png("f" + std::to_string(k), 240, 180, k));
    const std::string bad = Temp_Folder() + "/cirquel-pack-bad.png";
    const char junk[] = "not a picture";
    ASSERT_TRUE(File_SaveAtomic(bad, junk, sizeof junk));
    files.insert(files.begin() + 2, bad);
    const a_pack_get_result r = Pack_Get(files);
    EXPECT_EQ(r.placed, 6);
    EXPECT_EQ(r.failed, std::vector<std::string>{bad});
    EXPECT_EQ(r.unplaced, std::vector<std::string>(files.begin() + 7, files.end()));
    EXPECT_EQ(sounds, std::vector<int>{SND_BLOCK_WARNING});
    EXPECT_EQ(history, std::vector<int>{OP_COLLAGE_INSERT});
    EXPECT_EQ(Slot_Rec(10000).spec.source.path.name, files[0]);
    EXPECT_EQ(Slot_Rec(10002).spec.source.path.name, files[3]);
    EXPECT_EQ(Slot_Rec(10002).spec.subset, Box_At(0, 0, 240, 180));  // small: as it is
    // A full pack refuses the import before reading anything.
    sounds.clear();
    const a_pack_get_result again = Pack_Get({files[0]});
    EXPECT_TRUE(again.refused);
    EXPECT_EQ(sounds, std::vector<int>{SND_BLOCK_WARNING});
    for (const std::string& f : files) (void)File_Remove(f);
}

// OK: one SOURCE_COLLAGE photo whose picture is, pixel for pixel, each
// slot's colour inside its region and clear outside every region.
TEST_F(Pack, OkMakesOnePhotoOfTheSlots) {
    const int before = U().oj.nlist;
    const Rect bounds = U().paintbounds;
    a_pack_spec spec = Spec(PACK_GRID);
    spec.grid_nx = 3, spec.grid_ny = 2, spec.grid_corner = 40;
    Enter(spec);
    const uint32_t colors[6] = {0xC02020, 0x20C020, 0x2020C0, 0xC0C020, 0x20C0C0, 0xC020C0};
    for (uint32_t c : colors) Paste_Solid(c, 300, 200);
    Select_Slot(10001);
    Pack_Rotate_Selected(900);
    std::vector<a_region_ptr> rgns;
    for (int i = 0; i < 6; ++i) {
        rgns.push_back(Make_Region());
        Rgn_Copy(S(i).slot_rgn.get(), rgns.back().get());
    }
    history.clear();
    EXPECT_EQ(Pack_OK(), PHOTO_PHASE_AFTER_OK);
    EXPECT_FALSE(Pack_Active());
    EXPECT_EQ(U().paintbounds, bounds);
    ASSERT_EQ(U().oj.nlist, before + 1);
    EXPECT_EQ(history, std::vector<int>{OP_PHOTO_PASTE});
    const a_ph_rec& ph = *Item(before + 1).ph;
    EXPECT_EQ(Item(before + 1).kind, PHOTO_BLOCK);
    EXPECT_EQ(ph.spec.source.kind, SOURCE_COLLAGE);
    int ix = 0;
    ASSERT_TRUE(Find_Basis(ph.spec.source.sid, ix));
    const a_masked_gworld& pic = Cache_Item(ix).c.body;
    ASSERT_EQ(pic.bounds, Box_At(0, 0, 1200, 800));
    ASSERT_TRUE(pic.mask);
    int wrong = 0;
    for (int y = 0; y < 800; y += 3)
        for (int x = 0; x < 1200; x += 3) {
            int in = -1;
            for (int i = 0; i < 6; ++i)
                if (Rgn_ContainsPoint(rgns[size_t(i)].get(), Point{int16_t(y), int16_t(x)})) in = i;
            const int m = Mask8(pic.mask, x, y);
            if (in < 0) wrong += m != 0;
            else wrong += m != 255 || Pixel32(pic.fore, x, y) != colors[in];
        }
    EXPECT_EQ(wrong, 0);
    // No slot block is left behind.
    for (int i = 1; i <= U().oj.nlist; ++i) EXPECT_NE(Item(i).kind, SLOT_BLOCK);
}

// Cancel, and OK with nothing in the slots, leave the project byte for byte
// as it was saved before; both go back to the phase the pack came from.
TEST_F(Pack, CancelLeavesTheDocumentAsItWas) {
    a_masked_gworld photo = Solid_MW(90, 60, 0x335577);
    ASSERT_TRUE(Photo_Paste(SOURCE_CLIPBOARD, photo));
    const std::vector<uint8_t> before = Saved();
    const Rect bounds = U().paintbounds;
    Enter(Spec(PACK_CLOCK2));
    for (int k = 0; k < 4; ++k) Paste_Solid(0x224466u + uint32_t(k));
    const uint16_t sid = Slot_Rec(10000).spec.source.sid;
    EXPECT_EQ(Pack_Cancel(), TEXT_PHASE);
    int ix = 0;
    EXPECT_FALSE(Find_Basis(sid, ix));
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(U().paintbounds, bounds);

    Enter(Spec(PACK_LOTUS));
    history.clear();
    EXPECT_EQ(Pack_OK(), TEXT_PHASE);
    EXPECT_TRUE(history.empty());
    EXPECT_EQ(Saved(), before);
}

// Each kind with photos of our own, as OK makes it (shown over white,
// at a third of its size): looked at by a person, then kept as goldens.
TEST_F(Pack, GoldenOfEachKind) {
    struct a_case {
        const char* name;
        a_pack_spec spec;
    };
    std::vector<a_case> cases;
    a_pack_spec grid = Spec(PACK_GRID);
    grid.grid_nx = 4, grid.grid_ny = 3, grid.grid_corner = 25, grid.outline = 3;
    cases.push_back({"pack_grid", grid});
    a_pack_spec ring = Spec(PACK_CLOCK1);
    ring.clock_nouter = 8;
    cases.push_back({"pack_ring", ring});
    a_pack_spec ring2 = Spec(PACK_CLOCK2);
    ring2.clock_thickness = 70, ring2.outline = 2;
    cases.push_back({"pack_ring2", ring2});
    a_pack_spec square = Spec(PACK_CLOCKSQ);
    square.clock_nouter = 8, square.orient = 1;
    cases.push_back({"pack_square", square});
    a_pack_spec lotus = Spec(PACK_LOTUS);
    lotus.clock_thickness = 75;
    cases.push_back({"pack_lotus", lotus});
    for (const a_case& c : cases) {
        Enter(c.spec);
        for (int k = 0; k < g_pack->totnslots; ++k) {
            a_masked_gworld photo = Landscape(720, 540, k);
            ASSERT_TRUE(Pack_Paste(photo));
        }
        a_masked_gworld mw;
        New_MW("golden", g_pack->composite_bounds, mw);
        Pack_Paint(mw, FOR_COLLAGE);
        const Rect& b = mw.bounds;
        a_masked_gworld_owner flat = Make_MW("golden", b);
        PixMap32_Fill(flat->fore->pix, b, 0xFFFFFF);
        Pix_To_PixM(mw.fore->pix, mw.mask->pix, flat->fore->pix, b, b, b, nullptr);
        const Rect small{0, 0, int16_t(Rect_Height(b) / 3), int16_t(Rect_Width(b) / 3)};
        a_gworld_ptr shown = Make_GWorld(32, small);
        Bicubic_Blt(flat->fore->pix, shown->pix, b, small);
        EXPECT_TRUE(Matches_Golden(c.name, World_Bits(shown.get())));
        Dispose_MW(mw);
        (void)Pack_Cancel();
    }
}

// A 100-megapixel camera file comes in reduced (a shorter side of 600), and
// a 12 x 12 grid of large photos stays well under 1 GB at its peak, its OK
// included; the peak is printed for the record.
TEST_F(Pack, LargePhotosStayWithinMemory) {
    const std::string big = Write_Temp("cirquel-pack-100mp.jpg", Make_JPEG(12000, 8400, 0, [](int x, int y) {
        return uint32_t((x / 40) & 0xFF) << 16 | uint32_t((y / 30) & 0xFF) << 8 | 0x40;
    }));
    a_pack_spec spec = Spec(PACK_GRID);
    spec.grid_nx = spec.grid_ny = 12;
    a_largest_allocation watch;
    Enter(spec);
    ASSERT_EQ(g_pack->totnslots, 144);
    const a_pack_get_result r = Pack_Get({big});
    ASSERT_EQ(r.placed, 1);
    EXPECT_EQ(Rect_Height(Slot_Rec(10000).spec.subset), 600);
    EXPECT_NEAR(Rect_Width(Slot_Rec(10000).spec.subset), 857, 1);
    for (int k = 1; k < 144; ++k) Paste_Solid(0x102030u * uint32_t(k % 7 + 1), 1400, 1000);
    EXPECT_TRUE(Is_Pack_Full());
    EXPECT_EQ(Pack_OK(), PHOTO_PHASE_AFTER_OK);
    if (watch.Available()) {
        std::printf("144 slots: peak %.0f MB over the start, largest block %.0f MB\n",
                    watch.Peak_Bytes() / 1e6, watch.Bytes() / 1e6);
        EXPECT_LT(watch.Peak_Bytes(), size_t(1) << 30);
    }
    (void)File_Remove(big);
}

// A design file's collage block and the pack made by hand from the same
// files agree pixel for pixel; too many photos, an unknown field and an
// unreadable picture are refused in one line, the open document untouched.
TEST_F(Pack, DesignCollageIsThePackMadeByHand) {
    std::vector<std::string> files;
    for (int k = 0; k < 3; ++k) files.push_back(Write_Png("d" + std::to_string(k), 640, 480, k + 3));
    a_pack_spec spec = Spec(PACK_CLOCK2);
    spec.clock_nouter = 5, spec.clock_ninner = 3, spec.outline = 2;
    Enter(spec);
    ASSERT_EQ(Pack_Get(files).placed, 3);
    Slot_Rotate(150, Slotx_To_Omx(10001));
    a_masked_gworld_owner by_hand = Make_MW("hand", g_pack->composite_bounds);
    Pack_Paint(by_hand.get(), FOR_COLLAGE);
    (void)Pack_Cancel();

    const std::string text = "{\"template\": \"A-ONE 29125\", \"units\": [{\"collage\": {\"kind\": \"ring2\",\n"
                             "  \"clock_nouter\": 5, \"clock_ninner\": 3, \"outline\": 2, \"photos\": [\"" +
                             files[0] + "\", {\"photo\": \"" + files[1] + "\", \"turn\": 150}, \"" + files[2] +
                             "\"]}}]}";
    std::string error;
    ASSERT_TRUE(Design_Read(text, a_design_options{}, error)) << error;
    const a_oj_master& oj = g_doc.doc_units[1]->oj;
    ASSERT_EQ(oj.nlist, 2);  // the paint block and the collage
    const a_ph_rec& ph = *oj.list[2].ph;
    EXPECT_EQ(ph.spec.source.kind, SOURCE_COLLAGE);
    int ix = 0;
    ASSERT_TRUE(Find_Basis(ph.spec.source.sid, ix));
    const a_masked_gworld& made = Cache_Item(ix).c.body;
    ASSERT_EQ(made.bounds, by_hand->bounds);
    int differ = 0;
    for (int y = 0; y < 1200; y += 2)
        for (int x = 0; x < 1200; x += 2)
            differ += Mask8(made.mask, x, y) != Mask8(by_hand->mask, x, y) ||
                      (Mask8(made.mask, x, y) && Pixel32(made.fore, x, y) != Pixel32(by_hand->fore, x, y));
    EXPECT_EQ(differ, 0);

    const auto refusal = [](const std::string& collage) {
        std::string why;
        EXPECT_FALSE(Design_Read("{\"template\": \"A-ONE 29125\", \"units\": [{\"collage\": " + collage + "}]}",
                                 a_design_options{}, why));
        EXPECT_EQ(why.find('\n'), std::string::npos);
        return why;
    };
    EXPECT_EQ(refusal("{\"kind\": \"grid\", \"grid_nx\": 1, \"grid_ny\": 1, \"photos\": [\"a\", \"b\"]}"),
              "line 1: units[1].collage.photos: lists 2 photos; this grid collage has 1 slots");
    EXPECT_EQ(refusal("{\"kind\": \"ring\", \"petals\": 3}"), "line 1: units[1].collage.petals: is not a known field");
    EXPECT_EQ(refusal("{\"photos\": [\"" + files[0] + "\", \"/nowhere.png\"]}"),
              "line 1: units[1].collage.photos[2]: cannot read the picture /nowhere.png");
    EXPECT_FALSE(Pack_Active());
    // The document read first is still the one open.
    EXPECT_EQ(g_doc.doc_units[1]->oj.nlist, 2);
    for (const std::string& f : files) (void)File_Remove(f);
}
