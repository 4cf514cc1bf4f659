// Project files, record by record: the preamble, the template and the unit
// headers come back field for field, and each kind of damage is recorded as
// its defect instead of being read as data.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "model/document.h"
#include "persist/chunk_stream.h"
#include "persist/project_file.h"
#include "platform/fonts.h"
#include "pixels/syspix.h"
#include "base/prefs.h"
#include "signals_guard.h"
#include "templates/catalogue.h"
#include "templates/expand.h"

namespace {

class ProjectFile : public testing::Test {
protected:
    void SetUp() override {
        t_ = std::make_unique<a_template>();
        // A sheet of two discs with bleeds, holes and flags worth keeping.
        int index = Find_Template(std::string("A-ONE 29125"));
        ASSERT_GT(index, 0);
        Expand_Template(TList_Get(index), *t_);
        Chunk_Init(DISC_PREAMBLE_BYTES, file_);
        Write_V4_Preamble();
    }
    void TearDown() override {
        Chunk_Stop();
        Doc_Dispose();
    }
    // The offset of the first payload byte of the chunk with this tag.
    size_t Payload_Of(const char tag[4], int32_t id) {
        EXPECT_TRUE(Chunk_Find(id, tag));
        return g_chunk.pos;
    }
    a_defect_set Read_Template_From(std::vector<uint8_t> bytes, a_template& out) {
        Chunk_Init(DISC_PREAMBLE_BYTES, bytes);
        a_defect_set d = 0;
        Read_Template(out, d);
        Chunk_Init(DISC_PREAMBLE_BYTES, file_);
        return d;
    }
    std::vector<uint8_t> file_;
    std::unique_ptr<a_template> t_;
    a_signals_guard signals_{true};
};

void Put_Real(std::vector<uint8_t>& f, size_t at, float v) {
    uint32_t b;
    std::memcpy(&b, &v, 4);
    for (int i = 0; i < 4; ++i) f[at + size_t(i)] = uint8_t(b >> (24 - 8 * i));
}

}  // namespace

// (Another version and another signature are kept project fixtures.)
TEST_F(ProjectFile, PreambleSaysWhatKindOfFileItIs) {
    a_defect_set d = 0;
    EXPECT_TRUE(Read_V4_Preamble(file_, d));
    EXPECT_EQ(file_, (std::vector<uint8_t>{0xCD, 0xCD, 0, 8}));
    EXPECT_FALSE(Read_V4_Preamble({0xCD}, d));
    EXPECT_FALSE(No_Serious_Defects(d));
    EXPECT_TRUE(No_Serious_Defects(a_defect_set(1) << DEFECT_FONT_NOTAVAIL));
}

TEST_F(ProjectFile, TemplateRoundTripsAndItsDamageIsRecorded) {
    Write_Template(*t_);
    auto back = std::make_unique<a_template>();
    EXPECT_EQ(Read_Template_From(file_, *back), 0u);
    EXPECT_EQ(std::string(back->label), std::string(t_->label));
    EXPECT_EQ(back->tflags, t_->tflags);
    EXPECT_EQ(back->papersize, t_->papersize);
    ASSERT_EQ(back->nunits, t_->nunits);
    for (uint32_t ux = 1; ux <= t_->nunits; ++ux) EXPECT_EQ(back->units[ux], t_->units[ux]) << ux;

    size_t p = Payload_Of("TMPL", 1);
    const size_t paper_w = p + 2 + 2 + 4 + 32 + 4, nunits_at = paper_w + 8, kind_at = nunits_at + 4;
    using a_change = std::function<void(std::vector<uint8_t>&)>;
    auto damaged = [&](const a_change& change) {
        std::vector<uint8_t> f = file_;
        change(f);
        auto out = std::make_unique<a_template>();
        a_defect_set d = Read_Template_From(f, *out);
        EXPECT_EQ(out->nunits, 0u) << "nothing is taken from a damaged template";
        return d;
    };
    // Paper too wide or not a number (49.9 mm is a kept project fixture), a
    // count that the chunk cannot hold or more units than a document has, a
    // kind past the last, another version.
    const a_change versions[] = {[&](auto& f) { Put_Real(f, paper_w, 1000.1f); },
                                 [&](auto& f) { Put_Real(f, paper_w, std::nanf("")); },
                                 [&](auto& f) { f[nunits_at + 3] += 1; }, [&](auto& f) { f[nunits_at + 2] = 1; },
                                 [&](auto& f) { f[kind_at] = NUNIT_KINDS; }, [&](auto& f) { f[p + 1] = 4; },
                                 // no units at all, a unit's box not a number
                                 [&](auto& f) { std::fill_n(f.begin() + long(nunits_at), 4, 0); },
                                 [&](auto& f) { Put_Real(f, kind_at + 1 + 4 + 2, std::nanf("")); }};
    for (const a_change& change : versions)
        EXPECT_EQ(damaged(change), a_defect_set(1) << DEFECT_TMPL_VERSION) << &change - versions;
    std::vector<uint8_t> edge = file_;
    Put_Real(edge, paper_w, 50.0f);
    Put_Real(edge, paper_w + 4, 1000.0f);
    EXPECT_EQ(Read_Template_From(edge, *back), 0u);
    EXPECT_EQ(damaged([&](std::vector<uint8_t>& f) { f[p - 9] = 'X'; }),
              a_defect_set(1) << DEFECT_TMPL_MISSING);
}

TEST_F(ProjectFile, UnitHeadersRoundTripAndTheirDamageIsRecorded) {
    Doc_New(*t_);
    a_doc_unit& u = *g_doc.doc_units[2];
    u.printf = false;
    u.symmetry_center = Point{11, 12};
    u.ruler_origin = Point{-3, 4};
    u.edit_focus = Point{7, 8};
    u.canv.cv.canvas_key = a_keyset{2, 0, 401, 1};
    u.canv.cv.canvas_nrot = 3;
    u.canv.cv.canvas_color_dist = -17;
    u.canv.cv.canvas_invert = true;
    for (uint32_t ux = 1; ux <= g_doc.doc_template.nunits; ++ux)
        Write_UnitHeader(*g_doc.doc_units[ux], ux);
    // Each header read back and written again gives the same bytes.
    std::vector<uint8_t> again;
    for (uint32_t ux = 1; ux <= g_doc.doc_template.nunits; ++ux) {
        a_doc_unit back;
        a_defect_set d = 0;
        Read_UnitHeader(back, ux, d);
        EXPECT_EQ(d, 0u) << ux;
        Chunk_Init(DISC_PREAMBLE_BYTES, again);
        if (ux == 1) Write_V4_Preamble();
        Write_UnitHeader(back, ux);
        Chunk_Init(DISC_PREAMBLE_BYTES, file_);
    }
    EXPECT_EQ(again, file_);
    auto read = [&](std::vector<uint8_t> f, uint32_t ux) {
        Chunk_Init(DISC_PREAMBLE_BYTES, f);
        a_doc_unit back;
        a_defect_set d = 0;
        Read_UnitHeader(back, ux, d);
        Chunk_Init(DISC_PREAMBLE_BYTES, file_);
        return d;
    };
    EXPECT_EQ(read(file_, 3), a_defect_set(1) << DEFECT_UHDR_MISSING);
    // (A wrong sentinel is a kept project fixture.)
    const size_t p1 = Payload_Of("UNIT", 1);
    struct a_damage {
        size_t at;
        uint8_t value;
        a_defect defect;
    } const damages[] = {
        {1, 4, DEFECT_UHDR_VERSION},
        {10, 1, DEFECT_UHDR_VERSION},    // unit 1 as a clone: it is always a master
        {8, 0x13, DEFECT_UHDR_VERSION},  // paintbounds.right = 0x13xx: wider than a world's 32-bit rows allow
    };
    for (const a_damage& dmg : damages) {
        std::vector<uint8_t> f = file_;
        f[p1 + dmg.at] = dmg.value;
        EXPECT_EQ(read(f, 1), a_defect_set(1) << dmg.defect) << "byte " << dmg.at;
    }
}

// The media settings of a direct disc printer: a label the preferences know
// selects their entry; an unknown one becomes the third entry.
TEST_F(ProjectFile, MediaSettingsFindTheirEntryOrBecomeTheThird) {
    a_pref_rec saved = g_pref;
    t_->tflags |= 1u << IS_CDPRINTER;
    t_->units[1].kind = UNIT_CD;
    Doc_New(*t_);
    ASSERT_EQ(Calc_Direct_Print_Kind(), CD_DIRECT);
    auto label = [](a_print_media_spec& m, const std::u16string& s) {
        std::fill(std::begin(m.label), std::end(m.label), u'\0');
        s.copy(m.label, 63);
    };
    a_print_media_spec mine;
    label(mine, u"Glossy 120");
    mine.nudge = Point{-4, 9};
    mine.adj[MEDIA_INNERD] = 180;
    Media_Spec_Set(CD_DIRECT, 1, false, mine);
    g_doc.doc_mediax = 1;
    Write_Media_Specs();
    std::vector<uint8_t> written = file_;

    g_doc.doc_mediax = 0;
    Chunk_Init(DISC_PREAMBLE_BYTES, written);
    Read_Media_Specs();
    EXPECT_EQ(g_doc.doc_mediax, 1) << "the known label selects its entry";

    a_print_media_spec other;
    label(other, u"Matte 118");
    Media_Spec_Set(CD_DIRECT, 1, false, other);
    Chunk_Init(DISC_PREAMBLE_BYTES, written);
    Read_Media_Specs();
    EXPECT_EQ(g_doc.doc_mediax, 2);
    a_print_media_spec third;
    Media_Spec_Get(CD_DIRECT, 2, false, third);
    EXPECT_EQ(third, mine) << "an unknown label becomes the third entry, nudge and all";
    Chunk_Init(DISC_PREAMBLE_BYTES, file_);
    g_pref = saved;
}

// A painted stroke comes back pixel for pixel, world and mask; a unit
// without paint writes nothing and reads back without a paint layer.
TEST_F(ProjectFile, PaintLayersComeBackPixelForPixel) {
    Doc_New(*t_);
    a_doc_unit& u = *g_doc.doc_units[1];
    u.paintinuse = true;
    Sync_Existence(PAINT1_LAYER, u, true);
    a_cached_gworld& layer = u.static_[PAINT1_LAYER];
    const Rect stroke{int16_t(u.paintbounds.top + 40), int16_t(u.paintbounds.left + 30),
                      int16_t(u.paintbounds.top + 52), int16_t(u.paintbounds.left + 90)};
    PixMap32_Fill(layer.world->pix, stroke, 0x00336699);
    PixMap8_Fill(layer.mask->pix, stroke, 200);
    Write_Paint_Layer(u, 1);
    Write_Paint_Layer(*g_doc.doc_units[2], 2);
    EXPECT_FALSE(Chunk_Find(2, "PAI1"));

    a_doc_unit back;
    back.paintbounds = u.paintbounds;
    Read_Paint_Layer(back, 1);
    ASSERT_TRUE(back.paintinuse);
    const a_cached_gworld& got = back.static_[PAINT1_LAYER];
    ASSERT_TRUE(got.world && got.mask);
    EXPECT_EQ(got.world->pix.bounds, u.paintbounds);
    EXPECT_EQ(std::memcmp(got.world->pix.baseAddr, layer.world->pix.baseAddr,
                          PixMap_Len(layer.world->pix)), 0);
    EXPECT_EQ(std::memcmp(got.mask->pix.baseAddr, layer.mask->pix.baseAddr,
                          PixMap_Len(layer.mask->pix)), 0);
    // Only the stroke's box was stored.
    ASSERT_TRUE(Chunk_Find(1, "MSK1"));
    EXPECT_EQ(g_chunk.len, 22 + Rect_Width(stroke) * Rect_Height(stroke));
    Dispose_Unit_Content(back);

    // A paint area that is not the stored one (read through a map of its own)
    // gets the same pixels where the two overlap, the stroke cut at its edge.
    a_doc_unit moved;
    moved.paintbounds = u.paintbounds;
    moved.paintbounds.left = int16_t(stroke.left + 35);
    Read_Paint_Layer(moved, 1);
    ASSERT_TRUE(moved.paintinuse);
    const a_cached_gworld& cut = moved.static_[PAINT1_LAYER];
    const int dx = moved.paintbounds.left - u.paintbounds.left, w = Rect_Width(moved.paintbounds);
    for (int y = u.paintbounds.top; y < u.paintbounds.bottom; ++y) {
        ASSERT_EQ(std::memcmp(PixMap_Row(cut.world->pix, y), PixMap_Row(layer.world->pix, y) + 4 * dx,
                              size_t(w) * 4), 0) << "row " << y;
        ASSERT_EQ(std::memcmp(PixMap_Row(cut.mask->pix, y), PixMap_Row(layer.mask->pix, y) + dx, size_t(w)), 0)
            << "row " << y;
    }
    Dispose_Unit_Content(moved);

    a_doc_unit none;
    none.paintbounds = g_doc.doc_units[2]->paintbounds;
    Read_Paint_Layer(none, 2);
    EXPECT_FALSE(none.paintinuse);
    EXPECT_EQ(none.static_[PAINT1_LAYER].world, nullptr);
}

// Fonts are matched by name in whatever order this run numbers them; a
// missing one is not serious, a name stored byte-swapped is repaired, and
// numbers the table does not list fall back to the base font.
TEST_F(ProjectFile, FontTableMapsNamesToThisRunsNumbers) {
    Fonts_Use_List({u"Alpha Sans", u"Beta Serif", u"Gamma Mono"});
    Write_Font_Table({2, 3, 1});
    Fonts_Use_List({u"Gamma Mono", u"Alpha Sans"});  // another machine: no Beta Serif
    // The third entry's name stored with its bytes the other way round.
    std::vector<uint8_t> swapped = file_;
    ASSERT_TRUE(Chunk_Find(1, "FONT"));
    size_t third = g_chunk.pos + 6 + 2 * 260 + 4;
    for (size_t i = 0; i < 256; i += 2) std::swap(swapped[third + i], swapped[third + i + 1]);
    for (const std::vector<uint8_t>* f : {&file_, &swapped}) {
        std::vector<uint8_t> bytes = *f;
        Chunk_Init(DISC_PREAMBLE_BYTES, bytes);
        std::vector<a_font_map_entry> table;
        a_defect_set d = 0;
        Read_Font_Table(table, d);
        EXPECT_EQ(d, a_defect_set(1) << DEFECT_FONT_NOTAVAIL);
        EXPECT_TRUE(No_Serious_Defects(d));
        ASSERT_EQ(table.size(), 3u);
        EXPECT_EQ(table[2].name, u"Alpha Sans");
        EXPECT_EQ(Find_In_Mapping_Table(table, 1), 2u);  // Alpha Sans is now number 2
        EXPECT_EQ(Find_In_Mapping_Table(table, 3), 1u);  // Gamma Mono is now number 1
        EXPECT_EQ(Find_In_Mapping_Table(table, 2), 1u) << "still missing: font 1";
        EXPECT_EQ(Find_In_Mapping_Table(table, 99), uint32_t(Font_Base_Proportional()));
    }
    // A count beyond what a document holds, or than the chunk carries.
    std::vector<uint8_t> bad = file_;
    Chunk_Init(DISC_PREAMBLE_BYTES, file_);
    ASSERT_TRUE(Chunk_Find(1, "FONT"));
    bad[g_chunk.pos + 5] = 4;
    Chunk_Init(DISC_PREAMBLE_BYTES, bad);
    std::vector<a_font_map_entry> table;
    a_defect_set d = 0;
    Read_Font_Table(table, d);
    EXPECT_EQ(d, a_defect_set(1) << DEFECT_FONTTABLE_VERSION);
    EXPECT_TRUE(table.empty());
    Chunk_Init(DISC_PREAMBLE_BYTES, file_);
    Fonts_Use_List({});
}
