// The chunk stream: the bytes of every typed value, finding chunks, pixel
// maps of every depth through a subset, the old row-flipped version, and
// damaged or cut files that must never be trusted.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "model/document.h"
#include "persist/chunk_stream.h"
#include "pixels/gworld.h"
#include "pixels/pixmap.h"

namespace {

constexpr int32_t kPre = 8;

class ChunkStream : public testing::Test {
protected:
    void SetUp() override {
        file_.assign(kPre, 0xCD);
        Chunk_Init(kPre, file_);
    }
    void TearDown() override { Chunk_Stop(); }
    // The payload bytes of the only chunk written so far.
    std::vector<uint8_t> Payload() const {
        return std::vector<uint8_t>(file_.begin() + kPre + CHUNK_HEADER_BYTES, file_.end());
    }
    std::vector<uint8_t> file_;
};

a_pixmap_owner Random_Map(const Rect& bounds, int depth, uint32_t seed) {
    CTabHandle t = depth == 8 ? gray_ctable : depth == 1 ? mono_ctable : nullptr;
    a_pixmap_owner m = Make_PixMap(bounds, depth, t);
    std::mt19937 rng(seed);
    for (size_t i = 0; i < PixMap_Len(*m); ++i) m->baseAddr[i] = uint8_t(rng());
    return m;
}

// The next value of the chunk found, read by `reader`.
template <class T>
T Read(void (*reader)(T&)) {
    T v{};
    reader(v);
    return v;
}

// Pixel (x, y) of a map of any depth, as an integer.
uint32_t Pixel(const PixMap& pm, int x, int y) {
    const uint8_t* row = PixMap_Row(pm, y);
    int i = x - pm.bounds.left;
    switch (pm.pixelSize) {
        case 1: return (row[i >> 3] >> (7 - (i & 7))) & 1;
        case 8: return row[i];
        case 16: {
            uint16_t v;
            std::memcpy(&v, row + 2 * i, 2);
            return v;
        }
        default: {
            uint32_t v;
            std::memcpy(&v, row + 4 * i, 4);
            return v;
        }
    }
}

}  // namespace

TEST_F(ChunkStream, TypedValuesHaveTheirBigEndianBytes) {
    Chunk_WriteStart(7, "TEST");
    Chunk_WriteReal(1.0f);
    Chunk_WritePixel32(a_win_pixel32{0x33, 0x22, 0x11, 0xFF});  // blue, green, red, alpha
    Chunk_WriteRect(Rect{1, 2, 3, 4});
    Chunk_WritePoint(Point{5, 6});
    Chunk_WriteInt16(-2);
    Chunk_WriteCard32(0xA1B2C3D4);
    Chunk_WritePString("hi");
    Chunk_WritePath(a_filespec{3, 4, "/x"});
    const char16_t u[] = u"Ab";
    Chunk_WriteUString(4, u);
    Chunk_WriteHandle({9, 8});
    Chunk_WriteStop();
    std::vector<uint8_t> want = {0x3F, 0x80, 0, 0, 0x11, 0x22, 0x33, 0xFF, 0, 1, 0, 2, 0, 3, 0, 4,
                                 0, 5, 0, 6, 0xFF, 0xFE, 0xA1, 0xB2, 0xC3, 0xD4, 2, 'h', 'i',
                                 0, 0, 0, 0, 0, 0, 2, '/', 'x', 0, 'A', 0, 'b', 0, 0, 0, 2, 9, 8};
    EXPECT_EQ(Payload(), want);
    // The header: tag, number, and the patched length.
    const uint8_t* h = file_.data() + kPre;
    EXPECT_EQ(std::memcmp(h, "TEST\0\0\0\7", 8), 0);
    EXPECT_EQ(h[11], want.size());

    // Everything reads back, in order; the position then sits at the end of the file.
    ASSERT_TRUE(Chunk_Find(7, "TEST"));
    EXPECT_EQ(Read(Chunk_ReadReal), 1.0f);
    EXPECT_EQ(Read(Chunk_ReadPixel32), (a_win_pixel32{0x33, 0x22, 0x11, 0xFF}));
    EXPECT_EQ(Read(Chunk_ReadRect), (Rect{1, 2, 3, 4}));
    EXPECT_EQ(Read(Chunk_ReadPoint), (Point{5, 6}));
    EXPECT_EQ(Read(Chunk_ReadInt16), -2);
    EXPECT_EQ(Read(Chunk_ReadCard32), 0xA1B2C3D4u);
    EXPECT_EQ(Read(Chunk_ReadPString), "hi");
    EXPECT_EQ(Read(Chunk_ReadPath).name, "/x");
    char16_t back[2] = {};
    Chunk_ReadUString(4, back);
    EXPECT_EQ(std::u16string(back, 2), u"Ab");
    EXPECT_EQ(Read(Chunk_ReadHandle), (std::vector<uint8_t>{9, 8}));
    EXPECT_EQ(g_chunk.err, 0);
    // Reading past the end keeps the value and sets the end-of-file error.
    int32_t kept = 42;
    Chunk_ReadInt32(kept);
    EXPECT_EQ(kept, 42);
    EXPECT_EQ(g_chunk.err, CHUNK_ERR_EOF);
}

TEST_F(ChunkStream, FindTakesTheFirstNonEmptyMatchAndStopsAtDamage) {
    Chunk_WriteStart(1, "EMPT");
    Chunk_WriteStop();
    Chunk_WriteStart(2, "UNIT");
    Chunk_WriteInt16(10);
    Chunk_WriteStop();
    Chunk_WriteStart(2, "UNIT");
    Chunk_WriteInt16(20);
    Chunk_WriteStop();
    EXPECT_FALSE(Chunk_Find(1, "EMPT")) << "an empty chunk counts as missing";
    EXPECT_FALSE(Chunk_Find(3, "UNIT"));
    ASSERT_TRUE(Chunk_Find(2, "UNIT"));
    int16_t v = 0;
    Chunk_ReadInt16(v);
    EXPECT_EQ(v, 10) << "the earlier of two equal chunks wins";

    // A length running past the end ends the scan; a negative one too.
    std::vector<uint8_t> damaged = file_;
    damaged[kPre + 8 + 3] = 0x7F;  // the empty chunk now claims 127 bytes
    Chunk_Init(kPre, damaged);
    EXPECT_FALSE(Chunk_Find(2, "UNIT"));
    damaged[kPre + 8] = 0x80;
    EXPECT_FALSE(Chunk_Find(2, "UNIT"));
}

TEST_F(ChunkStream, HandleLongerThanTheFileIsRefused) {
    Chunk_WriteStart(0, "HAND");
    Chunk_WriteInt32(0x7FFFFFF0);  // a count no file of this size can hold
    Chunk_WriteRaw(3, "abc");
    Chunk_WriteStop();
    ASSERT_TRUE(Chunk_Find(0, "HAND"));
    std::vector<uint8_t> h = {1};
    Chunk_ReadHandle(h);
    EXPECT_TRUE(h.empty());
    EXPECT_EQ(g_chunk.err, CHUNK_ERR_EOF);
}

// Every depth through a subset: the bounds come back, the subset's pixels
// are the same, the rest is cleared.
TEST_F(ChunkStream, PixelMapsOfEveryDepthRoundTripThroughASubset) {
    const Rect bounds{10, 20, 27, 41};  // 21 wide: 1-bit rows end mid-byte
    const Rect subset{12, 23, 25, 32};  // 9 wide: the ninth bit is the top of a second byte
    int n = 0;
    for (int depth : {1, 8, 16, 32}) {
        a_pixmap_owner src = Random_Map(bounds, depth, uint32_t(depth));
        Chunk_WritePix(subset, *src, n, "PIXM");
        PixMap back;
        Chunk_ReadPix(back, n, "PIXM");
        a_pixmap_owner owned(back);
        ASSERT_FALSE(Is_Null_PixMap(*owned)) << depth;
        EXPECT_EQ(owned->bounds, bounds);
        EXPECT_EQ(owned->pixelSize, depth);
        for (int y = bounds.top; y < bounds.bottom; ++y)
            for (int x = bounds.left; x < bounds.right; ++x) {
                bool in = y >= subset.top && y < subset.bottom && x >= subset.left && x < subset.right;
                ASSERT_EQ(Pixel(*owned, x, y), in ? Pixel(*src, x, y) : 0u)
                    << "depth " << depth << " at " << x << "," << y;
            }
        ++n;
    }
    // Worlds and masked worlds go the same way.
    a_masked_gworld_owner mw = Make_MW("test", Rect{0, 0, 5, 7});
    mw->fore->pix.baseAddr[3] = 0x5A;
    mw->mask->pix.baseAddr[6] = 0x77;
    Chunk_WriteMW(*mw, 9, "MSK1", "PAI1");
    a_masked_gworld back;
    Null_MW(back);
    Chunk_ReadMW(back, 9, "MSK1", "PAI1");
    a_masked_gworld_owner owned(back);
    ASSERT_TRUE(owned->fore && owned->mask);
    EXPECT_EQ(owned->bounds, (Rect{0, 0, 5, 7}));
    EXPECT_EQ(owned->fore->pix.baseAddr[3], 0x5A);
    EXPECT_EQ(owned->mask->pix.baseAddr[6], 0x77);
    EXPECT_EQ(owned->mask->pix.pmTable, gray_ctable);
}

// The earlier version: every row of the bounds, padded to 16-bit words,
// bottom row first, with 8-bit 0 and 255 the other way round.
TEST_F(ChunkStream, VersionOneRowsAreFlippedAndEightBitEndsExchanged) {
    Chunk_WriteStart(4, "OLDP");
    Chunk_WriteInt16(1);
    Chunk_WriteInt16(0);
    Chunk_WriteRect(Rect{0, 0, 2, 3});
    Chunk_WriteInt16(8);
    const uint8_t rows[] = {0, 7, 255, 0xEE, 1, 2, 3, 0xEE};  // 3 pixels + 1 pad byte per row
    Chunk_WriteRaw(sizeof rows, rows);
    Chunk_WriteStop();
    EXPECT_EQ(Calc_Row_Bytes(3, 8), 4);
    EXPECT_EQ(Calc_Row_Bytes(9, 1), 2);
    PixMap pm;
    Chunk_ReadPix(pm, 4, "OLDP");
    a_pixmap_owner owned(pm);
    ASSERT_FALSE(Is_Null_PixMap(*owned));
    EXPECT_EQ((std::vector<uint32_t>{Pixel(*owned, 0, 0), Pixel(*owned, 1, 0), Pixel(*owned, 2, 0)}),
              (std::vector<uint32_t>{1, 2, 3}));
    EXPECT_EQ((std::vector<uint32_t>{Pixel(*owned, 0, 1), Pixel(*owned, 1, 1), Pixel(*owned, 2, 1)}),
              (std::vector<uint32_t>{255, 7, 0}));
}

// A file cut at every byte, and every byte of a pixel chunk's header made
// wrong in turn: nothing crashes, nothing is read from a damaged pixel chunk,
// and no map larger than the chunk could describe is made.
TEST_F(ChunkStream, CutAndDamagedFilesAreNeverTrusted) {
    a_pixmap_owner src = Random_Map(Rect{0, 0, 6, 9}, 32, 3);
    Chunk_WriteStart(1, "UNIT");
    Chunk_WritePString("unit one");
    Chunk_WriteStop();
    Chunk_WritePix(src->bounds, *src, 1, "PAI1");
    const std::vector<uint8_t> whole = file_;
    for (size_t cut = 0; cut <= whole.size(); ++cut) {
        std::vector<uint8_t> part(whole.begin(), whole.begin() + ptrdiff_t(cut));
        Chunk_Init(kPre, part);
        PixMap pm;
        Chunk_ReadPix(pm, 1, "PAI1");
        a_pixmap_owner owned(pm);
        EXPECT_EQ(Is_Null_PixMap(*owned), cut < whole.size()) << cut;
    }
    size_t pix_header = whole.size() - (22 + 6 * 9 * 4);
    for (size_t at = pix_header; at < pix_header + 22; ++at)
        for (uint8_t v : {0x00, 0x7F, 0xFF}) {
            std::vector<uint8_t> bad = whole;
            bad[at] = v;
            Chunk_Init(kPre, bad);
            PixMap pm;
            Chunk_ReadPix(pm, 1, "PAI1");
            a_pixmap_owner owned(pm);
            if (Is_Null_PixMap(*owned)) continue;
            // What was accepted must fit the 216 stored pixels' chunk.
            EXPECT_LE(Rect_Width(owned->bounds) * Rect_Height(owned->bounds) * owned->pixelSize / 8,
                      int(1u << 24))
                << at;
        }
}
