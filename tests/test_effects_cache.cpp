// The rules of the effects cache: sharing, misses, eviction order, pinning
// and the budget floor.
#include <gtest/gtest.h>

#include "effects_fixtures.h"
#include "render/effects_cache.h"

namespace {

class EffectsCache : public testing::Test {
  protected:
    void SetUp() override { Cache_Init_For(0); }
    void TearDown() override { Cache_Init(); }

    // A pinned clipboard picture; returns its spec.
    a_spec Source(int w = 8, int h = 6, uint32_t color = 0x336699) {
        a_source_desc src;
        src.kind = SOURCE_CLIPBOARD;
        a_masked_gworld body = Solid_MW(w, h, color);
        a_raw_bytes* raw = nullptr;
        Cache_Insert_External(src, body, raw);
        a_spec s;
        Null_Spec(s);
        s.source = src;
        s.subset = Rect{0, 0, int16_t(h), int16_t(w)};
        return s;
    }
};

}  // namespace

TEST_F(EffectsCache, EqualSpecsShareOneEntryAndSavingGetsTheSource) {
    a_spec a = Source();
    a.darkness = 30;
    a_spec b = a;
    b.constrainf = true;
    b.hintx = 0;
    a_cache_result ca, cb;
    Cache_Get(FOR_SCREEN, a, ca);
    Cache_Get(FOR_SCREEN, b, cb);
    EXPECT_EQ(ca.body.fore, cb.body.fore);
    EXPECT_EQ(a.hintx, b.hintx);
    EXPECT_EQ(Cache_HighX(), 2);  // the source and one derived entry
    a_spec print = a;
    print.hintx = 0;
    Cache_Get(FOR_PRINTING, print, cb);  // screen and print share
    EXPECT_EQ(ca.body.fore, cb.body.fore);
    EXPECT_EQ(print.hintx, 0);  // printing writes no hint back
    a_spec collage = a;
    Cache_Get(FOR_COLLAGE, collage, cb);  // collage results are kept apart
    EXPECT_NE(ca.body.fore, cb.body.fore);
    a_spec crop = a;
    crop.subset = Rect{0, 0, 3, 3};
    Cache_Get(FOR_SCREEN, crop, cb);
    EXPECT_EQ(cb.body.bounds, (Rect{0, 0, 3, 3}));
    EXPECT_EQ(Cache_HighX(), 4);
    // Saving gives the unprocessed source, which also serves an unadjusted request.
    a_spec plain;
    Null_Spec(plain);
    plain.source = a.source;
    plain.subset = a.subset;
    a_spec big = plain;
    big.scalingh = big.scalingv = 2000;
    Cache_Get(FOR_SAVING, big, cb);
    EXPECT_EQ(cb.body.bounds, (Rect{0, 0, 6, 8}));
    Cache_Get(FOR_SCREEN, plain, ca);
    EXPECT_EQ(ca.body.fore, cb.body.fore);
}

TEST_F(EffectsCache, SizingIsNotStoredAndAgreesWithTheScreen) {
    a_spec s = Source(40, 20);
    s.shadf = true;
    s.angle = 450;
    a_cache_result sized, shown;
    Cache_Get(FOR_SIZING, s, sized);
    EXPECT_EQ(sized.body.fore, nullptr);
    EXPECT_EQ(Cache_HighX(), 1);
    Cache_Get(FOR_SCREEN, s, shown);
    EXPECT_EQ(sized.union_, shown.union_);
    ASSERT_NE(shown.body.fore, nullptr);
}

TEST_F(EffectsCache, EvictionDropsTheLeastRecentlyUsedAndNeverAPinnedSource) {
    a_spec s = Source();
    a_spec v[3];
    a_cache_result c;
    for (int i = 0; i < 3; ++i) {
        v[i] = s;
        v[i].darkness = int16_t(10 + i);
        Cache_Get(FOR_SCREEN, v[i], c);
    }
    Cache_Get(FOR_SCREEN, v[0], c);  // touch the oldest
    size_t used = Cache_Used();
    Make_Room(Cache_Limit() - used + 1);  // room for one entry less than held
    EXPECT_EQ(Cache_Item(v[1].hintx).lru, CACHE_FREE);
    EXPECT_NE(Cache_Item(v[0].hintx).lru, CACHE_FREE);
    EXPECT_NE(Cache_Item(v[2].hintx).lru, CACHE_FREE);
    Flush_Discardable();
    int ix = 0;
    EXPECT_TRUE(Find_Basis(s.source.sid, ix));
    EXPECT_EQ(Cache_Item(v[0].hintx).lru, CACHE_FREE);
    Cache_Get(FOR_SCREEN, v[2], c);  // a miss remakes it
    EXPECT_NE(c.body.fore, nullptr);
    Cache_Clear1(s.source.sid);
    EXPECT_FALSE(Find_Basis(s.source.sid, ix));
    EXPECT_EQ(Cache_Used(), 0u);
}

TEST_F(EffectsCache, FullOfPinnedSourcesTheTableGrows) {
    for (int i = 0; i < CACHE_NENTRIES + 1; ++i) Source(1, 1);
    EXPECT_EQ(Cache_HighX(), CACHE_NENTRIES + 1);
    int ix = 0;
    EXPECT_TRUE(Find_Basis(1, ix));
    EXPECT_TRUE(Find_Basis(CACHE_NENTRIES + 1, ix));
    Cache_Clear();
    EXPECT_EQ(Cache_HighX(), 0);
}

TEST_F(EffectsCache, BudgetNeverBelowItsFloor) {
    EXPECT_EQ(Cache_Limit(), CACHE_MIN_LIMIT);
    Cache_Init_For(4096);
    EXPECT_EQ(Cache_Limit(), 2048u * 1000000u);
    Cache_Set_Limit(5);
    EXPECT_EQ(Cache_Limit(), CACHE_MIN_LIMIT);
}

TEST_F(EffectsCache, MissingSourcesRenderAsMissing) {
    a_source_desc src;
    src.kind = SOURCE_EXTFILE;
    src.path.name = "/nowhere/picture.png";
    Cache_Insert_Missing(src, Rect{0, 0, 10, 10});
    a_spec s;
    Null_Spec(s);
    s.source = src;
    a_cache_result c;
    Cache_Get(FOR_SCREEN, s, c);
    EXPECT_EQ(c.body.fore, nullptr);
    // An art item the databases lack shows the missing pattern at the crop's size.
    a_spec art;
    Null_Spec(art);
    art.source.kind = SOURCE_DATABASE;
    art.source.key = a_keyset{11, 0, 31999, 7};
    art.subset = Rect{0, 0, 16, 24};
    Cache_Get(FOR_SCREEN, art, c);
    ASSERT_NE(c.body.fore, nullptr);
    EXPECT_EQ(c.body.bounds, (Rect{0, 0, 16, 24}));
    EXPECT_NE(Pixel32(c.body.fore, 0, 0), Pixel32(c.body.fore, 8, 0));
}

// A hint is only a place to look first: one copied from another block, one
// naming an entry freed and given to another spec, or one past the table
// never serves the wrong picture, and the right entry's index replaces it.
TEST_F(EffectsCache, StaleHintsFindTheRightEntry) {
    a_spec dark = Source();
    dark.darkness = 20;
    a_cache_result cd;
    Cache_Get(FOR_SCREEN, dark, cd);
    const int dark_ix = dark.hintx;
    a_spec light = dark;  // a copied block, then changed: the hint is another spec's
    light.darkness = 80;
    a_cache_result cl;
    Cache_Get(FOR_SCREEN, light, cl);
    EXPECT_NE(cl.body.fore, cd.body.fore);
    EXPECT_NE(light.hintx, dark_ix);
    const uint32_t dark_px = Pixel32(cd.body.fore, 1, 1);
    EXPECT_GT(Pixel32(cl.body.fore, 1, 1), dark_px);
    // The dark entry goes (and its result with it); a third spec takes its slot.
    Cache_Del(dark_ix);
    a_spec third = dark;
    third.darkness = 50;
    third.invert = true;
    third.hintx = 0;
    a_cache_result ct;
    Cache_Get(FOR_SCREEN, third, ct);
    ASSERT_EQ(Cache_Item(dark_ix).spec.invert, true);
    a_spec again = dark;  // still hints at the reused slot
    a_cache_result ca;
    Cache_Get(FOR_SCREEN, again, ca);
    EXPECT_NE(ca.body.fore, ct.body.fore);
    EXPECT_EQ(Pixel32(ca.body.fore, 1, 1), dark_px);
    EXPECT_EQ(Cache_Item(again.hintx).spec.darkness, 20);
    for (int32_t wild : {0, -3, 499, 100000}) {
        a_spec l = light;
        l.hintx = wild;
        a_cache_result c;
        Cache_Get(FOR_SCREEN, l, c);
        EXPECT_EQ(c.body.fore, cl.body.fore) << wild;
    }
}
