// Picture records and the picture cache: every compression through the
// writer and back, byte order, LZW edge cases, damaged records, and eviction
// with transparent reload.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "artdb/art_records.h"
#include "artdb/compress.h"
#include "artdb/pixt.h"
#include "shell/art_startup.h"
#include "artdb_fixtures.h"
#include "largest_allocation.h"
#include "platform/dialogs.h"

namespace {

class Pixt : public testing::Test {
  protected:
    void SetUp() override {
        OP_Init();
        Pixt_Init();
    }
    void TearDown() override {
        Pixt_Stop();
        OP_Init();
    }
};

std::vector<uint8_t> Random_Bytes(size_t n, uint32_t seed, int alphabet = 256) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> v(n);
    for (uint8_t& b : v) b = uint8_t(rng() % alphabet);
    return v;
}

std::vector<uint8_t> LZW_Round_Trip(const std::vector<uint8_t>& in, bool& ok) {
    std::vector<uint8_t> packed;
    Compress_LZW(in.data(), in.size(), packed);
    std::vector<uint8_t> out(in.size());
    ok = Expand_LZW(packed.data(), packed.size(), out.data(), out.size());
    return out;
}

// Writes codes MSB first at the given widths after a big-endian length.
std::vector<uint8_t> LZW_Stream(uint32_t length, const std::vector<std::pair<int, int>>& codes) {
    std::vector<uint8_t> out = {uint8_t(length >> 24), uint8_t(length >> 16), uint8_t(length >> 8),
                                uint8_t(length)};
    uint32_t acc = 0;
    int n = 0;
    for (auto [code, width] : codes) {
        acc = (acc << width) | uint32_t(code);
        n += width;
        while (n >= 8) {
            n -= 8;
            out.push_back(uint8_t(acc >> n));
        }
    }
    if (n > 0) out.push_back(uint8_t(acc << (8 - n)));
    return out;
}

// Loads `key`, locks it and returns the pixels row by row without padding.
std::vector<uint8_t> Loaded_Pixels(a_pixt& p, const a_keyset& key) {
    KPixt_Load(p, key);
    Pixt_Lock(p);
    const PixMap& m = p.pixmap;
    int width = m.bounds.right - m.bounds.left;
    int height = m.bounds.bottom - m.bounds.top;
    size_t row = size_t(width) * (m.pixelSize / 8);
    std::vector<uint8_t> out;
    for (int y = 0; y < height; ++y)
        out.insert(out.end(), m.baseAddr + size_t(y) * m.rowBytes,
                   m.baseAddr + size_t(y) * m.rowBytes + row);
    Pixt_Unlock(p);
    return out;
}

}  // namespace

TEST(PixtCompress, PackBitsRoundTripsAcrossPieceBoundaries) {
    for (size_t n : {size_t(0), size_t(1), size_t(2), size_t(31999), size_t(32000), size_t(32001),
                     size_t(100003)}) {
        for (int alphabet : {1, 3, 256}) {
            std::vector<uint8_t> in = Random_Bytes(n, uint32_t(n), alphabet);
            std::vector<uint8_t> packed;
            PackBits_Pack(in.data(), in.size(), packed);
            std::vector<uint8_t> out(n);
            size_t used = 0;
            ASSERT_TRUE(PackBits_Unpack(packed.data(), packed.size(), out.data(), n, &used)) << n;
            EXPECT_EQ(out, in);
            EXPECT_EQ(used, packed.size());
        }
    }
    // A run reaching over the end of a piece is refused, not written past it.
    std::vector<uint8_t> over;
    for (int i = 0; i < 251; ++i) over.insert(over.end(), {uint8_t(-127), 7});  // 251 × 128 > 32000
    std::vector<uint8_t> out(40000);
    EXPECT_FALSE(PackBits_Unpack(over.data(), over.size(), out.data(), out.size()));
    std::vector<uint8_t> short_data = {5, 1, 2};  // a literal of six bytes with two present
    EXPECT_FALSE(PackBits_Unpack(short_data.data(), short_data.size(), out.data(), 6));
}

TEST(PixtCompress, LZWRoundTripsThroughTableResets) {
    bool ok = false;
    // Random bytes fill the table several times; a long run grows strings to
    // thousands of bytes; 4-letter text exercises the not-yet-defined code.
    for (const std::vector<uint8_t>& in :
         {std::vector<uint8_t>{}, std::vector<uint8_t>{42}, Random_Bytes(200000, 3),
          std::vector<uint8_t>(3000000, 0xAB), Random_Bytes(150000, 5, 4)}) {
        EXPECT_EQ(LZW_Round_Trip(in, ok), in) << in.size();
        EXPECT_TRUE(ok) << in.size();
    }
}

// The code stream of 256 different bytes worked out by hand: each byte is
// its own code and each adds a string, so the table reaches 512 entries
// (and codes 10 bits) after the decoder has read code 254; the last byte and
// the end code go at 10 bits. Encoder and decoder share the width rule, so
// only a stream made without them can tell whether that rule is right.
TEST(PixtCompress, LZWCodeWidthsAgainstAHandMadeStream) {
    std::vector<uint8_t> bytes(256);
    std::vector<std::pair<int, int>> codes = {{256, 9}};
    for (int b = 0; b < 256; ++b) {
        bytes[size_t(b)] = uint8_t(b);
        codes.push_back({b, b < 255 ? 9 : 10});
    }
    codes.push_back({257, 10});
    std::vector<uint8_t> want = LZW_Stream(256, codes);
    std::vector<uint8_t> packed;
    Compress_LZW(bytes.data(), bytes.size(), packed);
    EXPECT_EQ(packed, want);
    std::vector<uint8_t> out(256);
    ASSERT_TRUE(Expand_LZW(want.data(), want.size(), out.data(), out.size()));
    EXPECT_EQ(out, bytes);
}

TEST(PixtCompress, LZWEdgeCases) {
    const struct {
        const char* what;
        uint32_t length;
        std::vector<std::pair<int, int>> codes;
        size_t buffer;
        std::vector<uint8_t> want;  // empty: refused
    } cases[] = {
        {"clear, then end at once", 2, {{256, 9}, {'a', 9}, {'b', 9}, {256, 9}, {257, 9}}, 2, {'a', 'b'}},
        {"the code not yet in the table", 3, {{256, 9}, {'a', 9}, {258, 9}, {257, 9}}, 3, {'a', 'a', 'a'}},
        {"a code beyond the next free one", 3, {{256, 9}, {'a', 9}, {300, 9}, {257, 9}}, 3, {}},
        {"fewer bytes than stated", 3, {{256, 9}, {'a', 9}, {257, 9}}, 3, {}},
        {"more bytes than stated", 1, {{256, 9}, {'a', 9}, {'b', 9}, {257, 9}}, 1, {}},
        {"length disagreeing with the buffer", 3, {{256, 9}, {'a', 9}, {'b', 9}, {257, 9}}, 2, {}},
        {"a string code right after a clear", 1, {{256, 9}, {258, 9}, {257, 9}}, 1, {}},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> s = LZW_Stream(c.length, c.codes), out(c.buffer);
        bool ok = Expand_LZW(s.data(), s.size(), out.data(), c.buffer);
        EXPECT_EQ(ok, !c.want.empty()) << c.what;
        EXPECT_TRUE(!ok || out == c.want) << c.what;
    }
    std::vector<uint8_t> s = LZW_Stream(3, {{256, 9}, {'a', 9}, {'b', 9}, {257, 9}}), out(2);
    EXPECT_FALSE(Expand_LZW(s.data(), 3, out.data(), 2)) << "a stream cut short";
}

TEST(PixtRecords, EveryCodecRoundTripsThroughTheCache) {
    const int w = 37, h = 29;  // odd sizes: padded rows for 8 and 16 bits
    std::vector<uint8_t> px32 = Pattern32(w, h);
    std::vector<uint8_t> px8 = Random_Bytes(size_t(w) * h, 8, 5);
    std::vector<uint8_t> px16 = Random_Bytes(size_t(w) * h * 2, 16, 3);
    std::vector<a_db_entry> entries;
    int16_t id = 1;
    for (a_pixt_codec codec : {a_pixt_codec::RAW, a_pixt_codec::PACKBITS, a_pixt_codec::LZW}) {
        entries.push_back(Entry({11, 0, 0, id++}, Picture_Record(w, h, 32, px32, codec)));
        entries.push_back(Entry({11, 0, 0, id++}, Picture_Record(w, h, 8, px8, codec, PIXT_GRAY)));
        entries.push_back(
            Entry({11, 0, 0, id++}, Picture_Record(w, h, 16, px16, codec, PIXT_TRANSPARENT)));
    }
    ASSERT_EQ(Open_Db(Db_Bytes(entries)), OPEN_OKAY);
    a_pixt p;
    for (int16_t i = 1; i < id; i += 3) {
        EXPECT_EQ(Loaded_Pixels(p, {11, 0, 0, i}), px32) << i;
        EXPECT_EQ(p.pixmap.pmTable, nullptr);
        EXPECT_EQ(p.pixmap.planeBytes, PIXFMT_BGRA);
        EXPECT_EQ(p.mode, PIXT_MODE_COPY);
        EXPECT_EQ(Loaded_Pixels(p, {11, 0, 0, int16_t(i + 1)}), px8) << i;
        EXPECT_EQ(p.pixmap.pmTable, gray_ctable);
        EXPECT_EQ(p.pixmap.rowBytes, 40);
        EXPECT_EQ(Loaded_Pixels(p, {11, 0, 0, int16_t(i + 2)}), px16) << i;
        EXPECT_EQ(p.mode, PIXT_MODE_TRANSPARENT);
        EXPECT_EQ(p.pixmap.bounds, (Rect{0, 0, h, w}));
    }
    Pixt_Unload(p);
}

TEST(PixtRecords, JpegDecodesCloseToTheSource) {
    const int w = 64, h = 48;
    std::vector<uint8_t> px = Pattern32(w, h);
    std::vector<uint8_t> rec = Picture_Record(w, h, 32, px, a_pixt_codec::JPEG);
    a_kpixt_header hd;
    ASSERT_EQ(KPixt_Read_Header(rec.data(), rec.size(), hd), a_record_status::OKAY);
    EXPECT_TRUE(hd.flags & PIXT_JPEG);
    std::vector<uint8_t> out;
    ASSERT_EQ(KPixt_Decode(rec.data(), rec.size(), hd, out), a_record_status::OKAY);
    ASSERT_EQ(out.size(), px.size());
    double err = 0;
    for (size_t i = 0; i < px.size(); i += 4)
        for (int c = 0; c < 3; ++c) err += std::abs(int(out[i + c]) - int(px[i + c]));
    EXPECT_LT(err / (w * h * 3), 6.0);
    // A JPEG of another size than the header states is damaged.
    rec[3] = uint8_t(w - 1);
    ASSERT_EQ(KPixt_Read_Header(rec.data(), rec.size(), hd), a_record_status::OKAY);
    EXPECT_EQ(KPixt_Decode(rec.data(), rec.size(), hd, out), a_record_status::DAMAGED);
    rec.resize(rec.size() / 2);
    rec[3] = uint8_t(w);
    EXPECT_NE(KPixt_Decode(rec.data(), rec.size(), hd, out), a_record_status::OKAY);
}

TEST(PixtRecords, JpegBeyondTheDecoderLimitIsDamagedBeforeAnythingIsMade) {
    // A small JPEG whose record and frame header both claim 4095 x 32767.
    std::vector<uint8_t> rec = Picture_Record(64, 48, 32, Pattern32(64, 48), a_pixt_codec::JPEG);
    size_t sof = 0;
    for (size_t i = KPIXT_HEADER_SIZE; i + 9 < rec.size() && !sof; ++i)
        if (rec[i] == 0xFF && rec[i + 1] == 0xC0) sof = i;
    ASSERT_NE(sof, 0u);
    const uint8_t size[4] = {0x7F, 0xFF, 0x0F, 0xFF};  // height, width
    std::memcpy(&rec[sof + 5], size, 4);
    const uint8_t header[6] = {0x3F, 0xFC, 0x0F, 0xFF, 0x7F, 0xFF};  // rowbytes, width, height
    std::memcpy(rec.data(), header, 6);
    a_kpixt_header hd;
    ASSERT_EQ(KPixt_Read_Header(rec.data(), rec.size(), hd), a_record_status::OKAY);
    std::vector<uint8_t> out;
    a_largest_allocation watch;
    EXPECT_EQ(KPixt_Decode(rec.data(), rec.size(), hd, out), a_record_status::DAMAGED);
    if (watch.Available()) {
        EXPECT_LT(watch.Bytes(), size_t(16) << 20);
    }
}

TEST(PixtRecords, FilePixelsAreBigEndianAndConvertedToNative) {
    std::vector<uint8_t> px32 = {1, 2, 3, 4};  // native bytes blue, green, red, alpha
    std::vector<uint8_t> rec = Picture_Record(1, 1, 32, px32, a_pixt_codec::RAW);
    ASSERT_EQ(rec.size(), 12u);
    EXPECT_EQ(std::vector<uint8_t>(rec.begin() + 8, rec.end()), (std::vector<uint8_t>{4, 3, 2, 1}));
    std::vector<uint8_t> px16 = {0x34, 0x12};  // little-endian 0x1234
    rec = Picture_Record(1, 1, 16, px16, a_pixt_codec::RAW);
    EXPECT_EQ(rec[8], 0x12);
    EXPECT_EQ(rec[9], 0x34);
    std::vector<uint8_t> px8 = {9};
    rec = Picture_Record(1, 1, 8, px8, a_pixt_codec::RAW);
    EXPECT_EQ(rec[8], 9);  // 8-bit pictures are not converted; rows padded to four bytes
    EXPECT_EQ(rec.size(), 12u);
}

TEST(PixtRecords, DecodedSizeMustAgreeWithTheHeader) {
    std::vector<uint8_t> px = Pattern32(10, 10);
    a_kpixt_header h;
    std::vector<uint8_t> out;
    for (a_pixt_codec codec : {a_pixt_codec::RAW, a_pixt_codec::PACKBITS, a_pixt_codec::LZW}) {
        std::vector<uint8_t> rec = Picture_Record(10, 10, 32, px, codec);
        std::vector<uint8_t> taller = rec;
        taller[5] = 11;  // one row more than the data holds
        ASSERT_EQ(KPixt_Read_Header(taller.data(), taller.size(), h), a_record_status::OKAY);
        EXPECT_EQ(KPixt_Decode(taller.data(), taller.size(), h, out), a_record_status::DAMAGED);
        EXPECT_TRUE(out.empty());
        std::vector<uint8_t> shorter(rec.begin(), rec.end() - 4);  // the end code alone may go unnoticed
        ASSERT_EQ(KPixt_Read_Header(shorter.data(), shorter.size(), h), a_record_status::OKAY);
        EXPECT_EQ(KPixt_Decode(shorter.data(), shorter.size(), h, out), a_record_status::DAMAGED);
    }
    std::vector<uint8_t> rec = Picture_Record(10, 10, 32, px, a_pixt_codec::RAW);
    auto header = [&](int rowbytes, int width, int height, int depth) {
        std::vector<uint8_t> r = rec;
        r[0] = uint8_t(rowbytes >> 8), r[1] = uint8_t(rowbytes);
        r[2] = uint8_t(width >> 8), r[3] = uint8_t(width);
        r[4] = uint8_t(height >> 8), r[5] = uint8_t(height);
        r[7] = uint8_t(depth);
        return KPixt_Read_Header(r.data(), r.size(), h);
    };
    EXPECT_EQ(header(40, 10, 10, 32), a_record_status::OKAY);
    EXPECT_EQ(header(39, 10, 10, 32), a_record_status::DAMAGED);  // rows too short for the width
    EXPECT_EQ(header(40, 0, 10, 32), a_record_status::DAMAGED);
    EXPECT_EQ(header(40, 10, -1, 32), a_record_status::DAMAGED);
    EXPECT_EQ(header(0x4000, 10, 10, 32), a_record_status::DAMAGED);
    EXPECT_EQ(header(40, 10, 10, 24), a_record_status::BAD_DEPTH);
    EXPECT_EQ(KPixt_Read_Header(rec.data(), 7, h), a_record_status::DAMAGED);
}

TEST_F(Pixt, DamagedOrMissingRecordsShowTheMissingDataAlert) {
    std::vector<uint8_t> rec = Picture_Record(4, 4, 32, Pattern32(4, 4), a_pixt_codec::LZW);
    rec[5] = 5;
    std::vector<uint8_t> deep = Picture_Record(4, 4, 32, Pattern32(4, 4), a_pixt_codec::RAW);
    deep[7] = 24;
    ASSERT_EQ(Open_Db(Db_Bytes({Entry({8, 0, 0, 1}, rec), Entry({8, 0, 0, 2}, deep)})), OPEN_OKAY);
    a_pixt p;
    for (auto [d, says] : {std::pair{int16_t(1), "missing a piece of data.*PIXT  8.0.0.1"},
                           std::pair{int16_t(9), "PIXT  8.0.0.9"}, std::pair{int16_t(2), "Internal Error"}})
        EXPECT_EXIT(Loud([&] { KPixt_Load(p, {8, 0, 0, d}); }), testing::ExitedWithCode(70), says);
}

TEST_F(Pixt, EvictionEmptiesTheOldestUnlockedAndReloadsOnLock) {
    const int w = 100, h = 100;  // 40,000 bytes each
    std::vector<a_db_entry> entries;
    for (int16_t i = 1; i <= 4; ++i)
        entries.push_back(Entry(
            {8, 0, 0, i}, Picture_Record(w, h, 32, Pattern32(w, h, i), a_pixt_codec::PACKBITS)));
    ASSERT_EQ(Open_Db(Db_Bytes(entries)), OPEN_OKAY);
    pixt_cache_limit = 100000;  // room for two
    a_pixt p[4];
    for (int i = 0; i < 4; ++i) KPixt_Load(p[i], {8, 0, 0, int16_t(i + 1)});
    Pixt_Lock(p[0]);  // pinned pictures are never evicted
    for (a_pixt& q : p) Pixt_Purge(q);
    EXPECT_EQ(Discard_Count(), 2);
    EXPECT_LE(Discard_Total(), pixt_cache_limit);
    EXPECT_FALSE(p[0].bits->purged);
    EXPECT_TRUE(p[1].bits->purged);
    EXPECT_TRUE(p[1].bits->data.empty());
    EXPECT_EQ(p[1].ref, 0u);
    EXPECT_TRUE(p[2].bits->purged);
    EXPECT_FALSE(p[3].bits->purged);

    // Evicted pictures reload on their next lock; once unpinned, p[0] is the oldest.
    Pixt_Unlock(p[0]);
    Pixt_Lock(p[2]);
    Pixt_Unlock(p[2]);
    Pixt_NoPurge(p[1]);  // not listed: nothing happens
    Pixt_Lock(p[1]);     // reload of the evicted picture
    EXPECT_FALSE(p[1].bits->purged);
    std::vector<uint8_t> want = Pattern32(w, h, 2);
    EXPECT_EQ(0, std::memcmp(p[1].pixmap.baseAddr, want.data(), want.size()));
    Pixt_Unlock(p[1]);
    Pixt_Purge(p[1]);  // over the limit again: p[0] has the smallest stamp
    EXPECT_TRUE(p[0].bits->purged);
    EXPECT_FALSE(p[2].bits->purged);
    EXPECT_EQ(Discard_Count(), 2);

    // Loading a listed picture takes it out of the list.
    KPixt_Load(p[3], {8, 0, 0, 4});
    EXPECT_EQ(p[3].ref, 0u);
    EXPECT_EQ(Discard_Count(), 1);
    for (a_pixt& q : p) Pixt_Unload(q);
    EXPECT_EQ(Discard_Count(), 0);
    EXPECT_EQ(Discard_Total(), 0u);
}

TEST(PixtCache, MemoryBudgetHasAFloorAndIsSetAtStart) {
    size_t saved = pixt_cache_limit;
    Pixt_Set_Memory_Budget(100000);
    EXPECT_EQ(pixt_cache_limit, 700000u);
    Pixt_Set_Memory_Budget(8000000);
    EXPECT_EQ(pixt_cache_limit, 4000000u);
    // Starting the art module leaves the budget computed, never at the
    // first 500,000 bytes (less than one canvas picture).
    OP_Init();
    ASSERT_TRUE(Art_Init(false));
    EXPECT_GE(pixt_cache_limit, 700000u);
    Art_Stop();
    pixt_cache_limit = saved;
}

TEST(ArtRecords, GradientBorderAndSoundRoundTrip) {
    std::vector<uint32_t> bands = {0xFF102030, 0x00A0B0C0, 0x80FFFFFF};
    std::vector<uint8_t> g = Encode_Gradient(bands);
    EXPECT_EQ(g[2], 0xFF);  // alpha first in the file
    EXPECT_EQ(g[3], 0x10);
    std::vector<uint32_t> back;
    ASSERT_TRUE(Grad_Decode(g.data(), g.size(), back));
    EXPECT_EQ(back, bands);
    EXPECT_FALSE(Grad_Decode(g.data(), g.size() - 1, back));
    g[1] = 200;
    EXPECT_FALSE(Grad_Decode(g.data(), g.size(), back));

    a_bord_res res;
    res.bords.push_back({{7, 1, 0, 0}, 2, {0, 0, 16, 16}, {0, 16, 16, 48}, {0, 48, 16, 52}});
    res.bords.push_back({{7, 2, 0, 0}, -1, {1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}});
    std::vector<uint8_t> b = Encode_Border_Directory(res);
    EXPECT_EQ(b.size(), 4u + 2 * BORD_SPEC_SIZE);
    a_bord_res rb;
    ASSERT_TRUE(Bord_Decode(b.data(), b.size(), rb));
    ASSERT_EQ(rb.bords.size(), 2u);
    EXPECT_EQ(rb.bords[1].key, (a_keyset{7, 2, 0, 0}));
    EXPECT_EQ(rb.bords[1].klass, -1);
    EXPECT_EQ(rb.bords[0].side_piece, (Rect{0, 16, 16, 48}));
    EXPECT_EQ(rb.bords[1].sliv_piece, (Rect{9, 10, 11, 12}));
    EXPECT_FALSE(Bord_Decode(b.data(), b.size() - 1, rb));

    std::vector<int16_t> samples = {0, 1000, -32768, 32767, -5};
    std::vector<uint8_t> s = Encode_Sound(22050, samples);
    a_sound snd;
    ASSERT_TRUE(Sound_Decode(s.data(), s.size(), snd));
    EXPECT_EQ(snd.rate, 22050);
    EXPECT_EQ(snd.samples, samples);
    for (size_t n = 0; n < s.size(); ++n) EXPECT_FALSE(Sound_Decode(s.data(), n, snd)) << n;
    s[40] = 0xFF;  // data chunk size past the end
    EXPECT_FALSE(Sound_Decode(s.data(), s.size(), snd));
}
