// Photo and symbol blocks with their pictures: imports, pastes, default
// sizes, turning, fitting, resizing by a handle, missing sources, the
// controls they load, and how they draw onto a disc.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "artdb_fixtures.h"
#include "block_fixtures.h"
#include "effects_fixtures.h"
#include "golden_image.h"
#include "images/image_files.h"
#include "images/photo_blocks.h"
#include "images/photo_crop.h"
#include "images/photo_draw.h"
#include "model/history_ops.h"
#include "platform/dialogs.h"
#include "platform/region.h"
#include "render/effects_cache.h"
#include "templates/catalogue.h"
#include "templates/expand.h"
#include "templates/shapes.h"
#include "ui/photo_cmds.h"
#include "ui/photo_sliders.h"

namespace {

class PhotoBlocks : public BlockTest {
protected:
    void TearDown() override {
        BlockTest::TearDown();
        Cache_Clear();
    }
    // A picture of w x h pasted as a new block; returns its index.
    int Paste(int w, int h, uint32_t color = 0x3060C0) {
        a_masked_gworld mw = Solid_MW(w, h, color);
        EXPECT_TRUE(Photo_Paste(SOURCE_CLIPBOARD, mw));
        int omx = OMX_NONE;
        EXPECT_TRUE(Is_One_Selected(omx));
        return omx;
    }
    a_ph_rec& PH(int omx) { return *Item(omx).ph; }
    static std::string Png_File() {
        std::string path = Temp_Folder() + "/cirquel-photo-test.png";
        a_masked_gworld mw = Solid_MW(64, 32, 0x20A040);
        EXPECT_EQ(Export_World(FMT_PNG, 300, path, mw.fore), 0);
        Dispose_MW(mw);
        return path;
    }
};

}  // namespace

TEST_F(PhotoBlocks, DefaultScalingFitsLargePicturesAndLeavesSmallOnes) {
    const Rect& u = U().paintbounds;
    const int uw = Rect_Width(u);
    int16_t s = 0;
    Calc_Default_Scaling(Box_At(0, 0, uw - 1, 10), s);
    EXPECT_EQ(s, 1000);
    Calc_Default_Scaling(Box_At(0, 0, 2 * uw, 10), s);
    EXPECT_EQ(s, 500);
    Calc_Default_Scaling(Box_At(0, 0, 32000, 32000), s);
    EXPECT_EQ(s, PHOTO_MIN_SCALING);
    // Through a real paste, the box follows the scaled picture.
    int omx = Paste(2 * uw, 100);
    EXPECT_EQ(PH(omx).spec.scalingh, 500);
    EXPECT_EQ(PH(omx).spec.scalingv, 500);
    EXPECT_EQ(Rect_Width(PH(omx).dst_box), uw);
    EXPECT_EQ(PH(omx).dst_center, Rect_Centre(u));
    EXPECT_EQ(history, std::vector<int>{OP_PHOTO_PASTE});
    EXPECT_TRUE(Posted(PH(omx).dst_box));
    // The next one from the same place cascades.
    int next = Paste(10, 10);
    EXPECT_EQ(PH(next).dst_center.h, Rect_Centre(u).h + 40);
    EXPECT_EQ(PH(next).dst_center.v, Rect_Centre(u).v + 40);
    // Imports go on down the diagonal, each from the last.
    const std::string file = Png_File();
    for (int k = 2; k <= 4; ++k) {
        ASSERT_TRUE(Photo_NewP(false, file, nullptr));
        const a_ph_rec& last = PH(U().oj.nlist);
        EXPECT_EQ(last.dst_center.h, Rect_Centre(u).h + 40 * k) << k;
        EXPECT_EQ(last.dst_center.v, Rect_Centre(u).v + 40 * k) << k;
    }
    // A block moved off the diagonal starts the cascade again.
    Photo_Set_Center(U().oj.nlist, Point{int16_t(u.top + 20), int16_t(u.left + 30)});
    ASSERT_TRUE(Photo_NewP(false, file, nullptr));
    EXPECT_EQ(PH(U().oj.nlist).dst_center, Rect_Centre(u));
}

TEST_F(PhotoBlocks, QuarterTurnsWrapAroundAndPostBothAreas) {
    int omx = Paste(200, 50);
    PH(omx).spec.angle = -1800;
    Photo_Calc_DstBox(omx);
    const Rect wide = PH(omx).dst_box;
    Clear_Record();
    Photo_Rotate_CW();
    EXPECT_EQ(PH(omx).spec.angle, 900);
    EXPECT_EQ(Rect_Height(PH(omx).dst_box), 200);
    EXPECT_TRUE(Posted(wide));
    EXPECT_TRUE(Posted(PH(omx).dst_box));
    PH(omx).spec.angle = 1800;
    Photo_Rotate_CCW();
    EXPECT_EQ(PH(omx).spec.angle, -900);
    Photo_FlipX();
    Photo_Invert();
    EXPECT_TRUE(PH(omx).spec.flipx);
    EXPECT_TRUE(PH(omx).spec.invert);
    EXPECT_EQ(history, (std::vector<int>{OP_PHOTO_ANGLE, OP_PHOTO_ANGLE, OP_PHOTO_FLIP,
                                         OP_PHOTO_INVERT}));
}

TEST_F(PhotoBlocks, FittingAndCoveringTheUnit) {
    const Rect& u = U().paintbounds;
    int omx = Paste(Rect_Width(u) / 2, Rect_Height(u) / 4);
    Photo_Cover_P();
    EXPECT_EQ(PH(omx).spec.scalingh, 4000);
    EXPECT_TRUE(PH(omx).spec.constrainf);
    Photo_Cover_D();
    EXPECT_EQ(PH(omx).spec.scalingh, 2000);
    EXPECT_EQ(PH(omx).spec.scalingv, 4000);
    EXPECT_EQ(PH(omx).dst_box, u);
    // A sliver would need more than 16 bits of scaling: it stops at the slider's end.
    int thin = Paste(1, 1);
    Photo_Fit_H();
    EXPECT_EQ(PH(thin).spec.scalingh, PHOTO_MAX_SCALING);
    EXPECT_EQ(PH(thin).dst_center.h, Rect_Centre(u).h);
}

TEST_F(PhotoBlocks, CornerDragScalesFromTheOppositeCorner) {
    int omx = Paste(200, 100);
    const a_ph_rec start = PH(omx);
    const Rect b = start.dst_box;
    Clear_Record();
    Track_Photo_Scaling(TRACK_MOVE, omx, 3, start, Point{int16_t(b.top + 200), int16_t(b.left + 400)},
                        false);
    EXPECT_EQ(PH(omx).spec.scalingh, 2000);
    EXPECT_EQ(PH(omx).spec.scalingv, 2000);
    EXPECT_EQ(PH(omx).dst_box, Box_At(b.left, b.top, 400, 200));
    EXPECT_TRUE(history.empty());
    // Constrained, the larger change wins; the top-right handle keeps the bottom left.
    Track_Photo_Scaling(TRACK_STOP, omx, 2, start, Point{int16_t(b.bottom - 50), int16_t(b.left + 600)},
                        true);
    EXPECT_EQ(PH(omx).spec.scalingh, 3000);
    EXPECT_EQ(PH(omx).spec.scalingv, 3000);
    EXPECT_EQ(PH(omx).dst_box.left, b.left);
    EXPECT_EQ(PH(omx).dst_box.bottom, b.bottom);
    EXPECT_EQ(history, std::vector<int>{OP_PHOTO_SIZE});
    EXPECT_TRUE(Posted(b));
}

TEST_F(PhotoBlocks, ImportsStopWhenTheUnitIsFull) {
    const std::string png = Png_File();
    while (U().oj.nlist < MAXNOBJECTS - 1) Add(Box_At(0, 0, 4, 4));
    EXPECT_EQ(Photo_New(std::vector<std::string>(5, png)), 1);
    EXPECT_EQ(U().oj.nlist, MAXNOBJECTS);
    EXPECT_EQ(sounds, std::vector<int>{SND_BLOCK_WARNING});
    const a_ph_rec& ph = PH(U().oj.nlist);
    EXPECT_EQ(ph.spec.source.kind, SOURCE_EXTFILE);
    EXPECT_EQ(ph.spec.subset, Box_At(0, 0, 64, 32));
    EXPECT_EQ(Codec_Name(ph.codec), "png");
    // A file that is no picture makes no block, and says so.
    Doc_New(*One_Unit_Template(true));
    Dialog_ScriptAnswers({});
    EXPECT_FALSE(Photo_NewP(true, Temp_Folder() + "/no-such-picture.png"));
    EXPECT_EQ(U().oj.nlist, 1);
    ASSERT_EQ(Dialog_History().size(), 1u);
    EXPECT_NE(Dialog_History()[0].message.find("could not read the file"), std::string::npos);
    // Quietly, the reader's code names the reason instead.
    Dialog_ScriptAnswers({});
    int code = SCAN_OK;
    EXPECT_FALSE(Photo_NewP(false, Temp_Folder() + "/no-such-picture.png", &code));
    EXPECT_EQ(code, SCAN_NO_DECODER);
    EXPECT_TRUE(Dialog_History().empty());
    EXPECT_TRUE(Photo_NewP(false, png, &code));
    EXPECT_EQ(code, SCAN_OK);
    EXPECT_EQ(U().oj.nlist, 2);
    Dialog_ScriptAnswers({});
}

TEST_F(PhotoBlocks, MissingSourcesPasteNothingDrawThePatternAndCanBeRepaired) {
    int omx = Paste(40, 40);
    a_pasted_ph_rec copy{PHOTO_BLOCK, PH(omx)};
    EXPECT_TRUE(Do_Paste_PH(copy));
    EXPECT_EQ(U().oj.nlist, 3);
    copy.ojkind = PAINT_BLOCK;  // not a picture kind: refused
    EXPECT_FALSE(Do_Paste_PH(copy));
    copy.ojkind = PHOTO_BLOCK;

    Cache_Clear1(PH(omx).spec.source.sid);
    Clear_Record();
    EXPECT_FALSE(Do_Paste_PH(copy));
    EXPECT_EQ(U().oj.nlist, 3);
    EXPECT_TRUE(history.empty());
    EXPECT_TRUE(Is_Photo_Missing(omx));
    EXPECT_FALSE(Is_Photo_Missing(OMX_NONE));
    Selection_Set1(omx);
    EXPECT_TRUE(Calc_Hilite_PhFix());

    const Rect box = PH(omx).dst_box;
    GWorld* w = New_GWorld(32, U().paintbounds);
    PixMap32_Fill(w->pix, U().paintbounds, 0xFFFFFF);
    PH_Draw(PH(omx), Rect{}, w, true);  // print: nothing
    EXPECT_EQ(Pixel32(w, box.left + 1, box.top + 1), 0xFFFFFFu);
    PH_Draw(PH(omx), Rect{}, w, false);  // screen: the pattern over its box
    int marked = 0;
    for (int x = box.left; x < box.right; ++x) marked += Pixel32(w, x, box.top + 2) != 0xFFFFFF;
    EXPECT_GT(marked, 0);
    EXPECT_EQ(Pixel32(w, box.right + 2, box.top + 2), 0xFFFFFFu);
    Dispose_GWorld(w);

    EXPECT_TRUE(Photo_Fix2(omx, Png_File()));
    EXPECT_FALSE(Is_Photo_Missing(omx));
    EXPECT_FALSE(Calc_Hilite_PhFix());
    EXPECT_EQ(Rect_Width(PH(omx).dst_box), 64);
    EXPECT_EQ(history, std::vector<int>{OP_PHOTO_FIXLINK});
}

// The controls give back every adjustable field they were loaded with; one
// slider at a time gives the record the whole set gives, for photos and
// symbols, kept in proportion or not; on the document a control changes its
// own field of every selected block, as the same block changed by hand.
TEST_F(PhotoBlocks, ControlsRoundTripAgreeSliderBySliderAndActOnEverySelectedBlock) {
    for (bool symbol : {false, true})
        for (bool constrain : {false, true}) {
            SCOPED_TRACE(testing::Message() << "symbol " << symbol << " constrain " << constrain);
            a_ph_rec one;  // the fields no slider holds
            one.spec.is_symbol = symbol, one.spec.constrainf = constrain, one.spec.shadf = true;
            one.spec.wtransp = true, one.spec.edge_kind = EDGE_SCALLOP;
            one.spec.edge_bord_color = a_win_pixel32{1, 2, 3, 0};
            one.spec.edge_outl_color = a_win_pixel32{4, 5, 6, 0};
            a_ph_rec shown = one;
            a_spec& s = shown.spec;
            s.scalingh = 1500, s.scalingv = constrain || symbol ? 1500 : 800, s.angle = -450;
            s.darkness = 30, s.opacity = 70, s.corner = 20, s.feather = 5, s.edge_border = 12;
            s.edge_outline = 3, s.edge_scallop = 40, s.edge_rough = 7, s.color_sat = 60, s.color_hue = 200;
            s.color_dist = 30, s.shad_dx = -6, s.shad_dy = 9, s.shad_opacity = 50, s.shad_radius = 4;
            PH_To_Sliders(shown);
            if (!symbol) {
                a_ph_rec back;
                Sliders_To_PH(back);
                EXPECT_TRUE(Equal_Spec(true, back.spec, shown.spec));
                EXPECT_EQ(back.spec.constrainf, constrain);
            }
            a_ph_rec all = one;
            Sliders_To_PH(all);
            for (int k = NULL_SLIDER + 1; k < NSLIDERS; ++k) (void)Slider_To_PH(a_slider_enum(k), one);
            EXPECT_TRUE(Equal_Spec(true, one.spec, all.spec));
            EXPECT_TRUE(Equal_Spec(true, one.spec, shown.spec));
        }

    Photo_Sliders_Attach();
    std::vector<int> pending;
    (void)g_doc_services.history_pending.Install([&](int op) { pending.push_back(op); });
    int a = Paste(120, 80), b = Paste(300, 200, 0xC04030);
    PH(b).spec.scalingh = PH(b).spec.scalingv = 700;
    Photo_Recalc(b);
    Select({a, b});
    Clear_Record();
    Slider_SetVal(40, PHOTO_DARKNESS_SLIDER);
    EXPECT_EQ(PH(a).spec.darkness, 40);
    EXPECT_EQ(PH(b).spec.darkness, 40);
    EXPECT_EQ(PH(a).spec.scalingh, 1000);  // each keeps its own size
    EXPECT_EQ(PH(b).spec.scalingh, 700);
    EXPECT_TRUE(Photo_Set_Edge_Style(EDGE_SCALLOP));
    EXPECT_TRUE(Photo_Set_Toggle(PHOTO_SHADOW_TOGGLE, true));
    EXPECT_TRUE(Photo_Set_Edge_Color(false, a_win_pixel32{10, 20, 30, 0}));
    EXPECT_EQ(pending, (std::vector<int>{OP_PHOTO_ADJUST, OP_PHOTO_ADJUST, OP_PHOTO_ADJUST, OP_PHOTO_ADJUST}));
    EXPECT_FALSE(Symbol_Set_Color(a_win_pixel32{0, 0, 255, 0}));  // no symbol among them
    EXPECT_EQ(pending.size(), 4u);
    EXPECT_TRUE(history.empty());  // recorded when the action ends

    // The same changes by hand on a block of a's picture size give a's box.
    int c = Paste(120, 80);
    a_spec& h = PH(c).spec;
    h.darkness = 40, h.edge_kind = EDGE_SCALLOP, h.shadf = true, h.edge_bord_color = a_win_pixel32{10, 20, 30, 0};
    Photo_Recalc(c);
    EXPECT_TRUE(Equal_Spec(true, [&] { a_spec x = PH(a).spec; x.source = h.source; return x; }(), h));
    EXPECT_EQ(Rect_Width(Box(a)), Rect_Width(Box(c)));
    EXPECT_EQ(Rect_Height(Box(a)), Rect_Height(Box(c)));
    EXPECT_GT(Rect_Width(Box(a)), 120);  // the edge and the shadow take room
    // Proportions kept again: the height takes the width's scaling.
    Select({b});
    PH(b).spec.scalingv = 900;
    EXPECT_TRUE(Photo_Set_Toggle(PHOTO_CONSTRAIN_TOGGLE, true));
    EXPECT_EQ(PH(b).spec.scalingv, 700);
}

// A stamp goes on as a photo of its own pixels: drawn, it covers where its
// alpha is and lets the background show where it is clear. A key without a
// 32-bit picture makes nothing.
TEST_F(PhotoBlocks, AStampIsAPhotoClearWhereItsAlphaIsClear) {
    std::vector<uint8_t> px(size_t(40) * 40 * 4, 0);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 20; ++x) {
            uint8_t* p = &px[(size_t(y) * 40 + x) * 4];
            p[2] = 200, p[3] = 255;  // blue, green, red, alpha: opaque red on the left
        }
    std::vector<uint8_t> grey(size_t(16) * 16, 255);
    ASSERT_EQ(Open_Db(Db_Bytes({Entry({8, 0, 1, 1}, Picture_Record(40, 40, 32, px, a_pixt_codec::RAW, PIXT_TRANSPARENT)),
                                Entry({11, 0, 1, 1}, Picture_Record(16, 16, 8, grey, a_pixt_codec::RAW))})),
              OPEN_OKAY);
    const int blocks = U().oj.nlist;
    EXPECT_FALSE(Stamp_New(a_keyset{8, 0, 1, 2}));
    EXPECT_FALSE(Stamp_New(a_keyset{11, 0, 1, 1}));
    EXPECT_EQ(U().oj.nlist, blocks);
    ASSERT_TRUE(Stamp_New(a_keyset{8, 0, 1, 1}));
    int omx = OMX_NONE;
    ASSERT_TRUE(Is_One_Selected(omx));
    EXPECT_EQ(Item(omx).kind, PHOTO_BLOCK);
    EXPECT_EQ(PH(omx).spec.source.kind, SOURCE_CLIPBOARD);  // kept with the project
    EXPECT_EQ(history, std::vector<int>{OP_PHOTO_PASTE});
    const Rect box = Box(omx);
    EXPECT_EQ(Rect_Width(box), 40);

    const Rect u = U().paintbounds;
    GWorld* w = New_GWorld(32, u);
    PixMap32_Fill(w->pix, u, 0x20A040);
    PH_Draw(PH(omx), Rect{}, w, true);
    auto at = [&](int h, int v) {
        return reinterpret_cast<const uint32_t*>(PixMap_Row(w->pix, v))[h - u.left] & 0xFFFFFF;
    };
    const int mid = (box.top + box.bottom) / 2;
    EXPECT_EQ(at(box.left + 10, mid), 0xC80000u);
    EXPECT_EQ(at(box.right - 10, mid), 0x20A040u);
    Dispose_GWorld(w);
    OP_CloseNewest();
}

// A disc with a scalloped, shadowed photo, a turned half-transparent one and
// a clip-art symbol, inside the disc's shape with its hole.
TEST_F(PhotoBlocks, GoldenDiscWithTwoPhotosAndASymbol) {
    // The disc of a real stock, with its hole.
    int tx = Find_Template(std::string("A-ONE 29125"));
    ASSERT_GT(tx, 0);
    auto t = std::make_unique<a_template>();
    Expand_Template(TList_Get(tx), *t);
    Doc_New(*t);
    // A symbol's coverage: a ring, inked where dark.
    std::vector<uint8_t> ring(size_t(64) * 64 * 4, 0);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            double d = std::hypot(x - 31.5, y - 31.5);
            uint8_t v = d > 18 && d < 30 ? 0 : 255;
            for (int k = 0; k < 3; ++k) ring[(size_t(y) * 64 + x) * 4 + size_t(k)] = v;
        }
    ASSERT_EQ(Open_Db(Db_Bytes({Entry({11, 0, 1, 1}, Picture_Record(64, 64, 32, ring, a_pixt_codec::RAW))})),
              OPEN_OKAY);
    const Rect u = U().paintbounds;
    const Point c = Rect_Centre(u);

    int a = Paste(Rect_Width(u) / 2, Rect_Height(u) / 3, 0x2080D0);
    PH(a).spec.edge_kind = EDGE_SCALLOP;
    PH(a).spec.edge_border = 16;
    PH(a).spec.shadf = true;
    PH(a).spec.shad_dx = PH(a).spec.shad_dy = 12;
    PH(a).spec.shad_radius = 4;
    PH(a).spec.edge_bord_color = a_win_pixel32{255, 255, 255, 0};
    Photo_Set_Center(a, Point{int16_t(c.v - Rect_Height(u) / 5), c.h});
    Photo_Recalc(a);

    int b = Paste(Rect_Width(u) / 3, Rect_Height(u) / 4, 0xD04020);
    PH(b).spec.angle = 300;
    PH(b).spec.opacity = 50;
    Photo_Set_Center(b, Point{int16_t(c.v + Rect_Height(u) / 5), int16_t(c.h - Rect_Width(u) / 6)});
    Photo_Recalc(b);

    ASSERT_TRUE(Symbol_New(a_keyset{11, 0, 1, 1}, a_win_pixel32{0x20, 0xA0, 0x20, 0}));
    int s = OMX_NONE;
    ASSERT_TRUE(Is_One_Selected(s));
    EXPECT_EQ(Item(s).kind, SYMBOL_BLOCK);
    PH(s).spec.scalingh = PH(s).spec.scalingv = 3000;
    Photo_Set_Center(s, Point{int16_t(c.v + Rect_Height(u) / 5), int16_t(c.h + Rect_Width(u) / 5)});
    Photo_Recalc(s);

    GWorld* w = New_GWorld(32, u);
    PixMap32_Fill(w->pix, u, 0xF4F0E0);
    for (int omx : {a, b, s}) PH_Draw(PH(omx), Rect{}, w, true);
    a_region_ptr outside = Make_Region(), shape = Make_Region();
    Calc_Hole_Rgns(outside.get(), shape.get(), u, g_doc.doc_template.units[1], true);
    {
        a_port_scope port(w);
        RGBForeColor(kWhiteColor);
        PaintRgn(outside.get());
    }
    EXPECT_TRUE(Matches_Golden("photo_disc_blocks", World_Bits(w)));
    Dispose_GWorld(w);
    OP_CloseNewest();
}

TEST(PhotoCrop, ScaleFollowsTheScreenAndDraggedSidesStayOnThePicture) {
    const Rect screen{0, 0, 1000, 1600};
    a_crop_rec cr;
    Crop_Layout(Box_At(0, 0, 300, 200), Rect{}, screen, cr);  // twice its size fits
    EXPECT_EQ(cr.reduction, (a_ratio{2, 1}));
    EXPECT_EQ(cr.crop_s, Box_At(CROP_MARGIN, CROP_MARGIN, 600, 400));
    EXPECT_EQ(cr.bb_l, Box_At(CROP_MARGIN - 12, CROP_MARGIN - 24, 12, 448));
    Crop_Layout(Box_At(0, 0, 3000, 400), Rect{}, screen, cr);  // reduced to the width
    EXPECT_EQ(cr.reduction, (a_ratio{int16_t(1520 - 96), 3000}));
    EXPECT_LE(Rect_Width(cr.bb_pix), 1520 - 96);
    // A side dragged past the opposite one keeps the crop a pixel wide; past
    // the picture it stops at the picture's edge.
    Crop_Layout(Box_At(0, 0, 300, 200), Box_At(50, 50, 100, 100), screen, cr);
    Crop_Drag_Side(cr, Box_At(0, 0, 300, 200), 1, Point{0, 2000});
    EXPECT_EQ(cr.crop, Box_At(149, 50, 1, 100));
    Crop_Drag_Side(cr, Box_At(0, 0, 300, 200), 4, Point{2000, 0});
    EXPECT_EQ(cr.crop.bottom, 200);
    Crop_Drag_Side(cr, Box_At(0, 0, 300, 200), 1, Point{0, int16_t(CROP_MARGIN + 2 * 20)});
    EXPECT_EQ(cr.crop.left, 20);
}
