// The art database layer: keys, lookups across databases, subsets, locks and
// the checks that refuse damaged files.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "artdb/keyset.h"
#include "artdb_fixtures.h"
#include "platform/dialogs.h"
#include "platform/files.h"

namespace {

class ArtDb : public testing::Test {
  protected:
    void SetUp() override { OP_Init(); }
    void TearDown() override { OP_Init(); }
};

std::vector<uint8_t> Bytes(std::initializer_list<uint8_t> b) {
    return b;
}

std::vector<uint8_t> Locked_Bytes(a_keyset key) {
    int32_t len = 0;
    uint8_t* p = OP_Lock(key, &len);
    if (!p) return {};
    std::vector<uint8_t> out(p, p + len);
    OP_Unlock(p);
    return out;
}

void Put32(std::vector<uint8_t>& f, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = uint8_t(v >> (24 - 8 * i));
}

std::vector<uint8_t> Three_Records() {
    return Db_Bytes({Entry({2, 0, 1, 1}, Bytes({1})), Entry({2, 5, 0, 0}, Bytes({2, 2})),
                     Entry({3, 1, 0, 0}, Bytes({3, 3, 3}))});
}

}  // namespace

TEST(ArtDbKeys, SignedLexicographicOrderAndWildcards) {
    EXPECT_LT(Compare_Keys({1, 9, 9, 9}, {2, 0, 0, 0}), 0);
    EXPECT_LT(Compare_Keys({2, -1, 0, 0}, {2, 0, 0, 0}), 0);  // signed, not unsigned
    EXPECT_GT(Compare_Keys({2, 0, 0, 1}, {2, 0, 0, -1}), 0);
    EXPECT_EQ(Compare_Keys({7, 6, 5, 4}, {7, 6, 5, 4}), 0);
    EXPECT_TRUE(Is_Null_Key({}));
    EXPECT_FALSE(Is_Null_Key({0, 0, 0, 1}));
    EXPECT_TRUE(Is_Multiple_Key({8, 32000, 0, 0}));
    EXPECT_FALSE(Is_Multiple_Key({8, 31999, 0, 0}));
    a_keyset k;
    ASSERT_TRUE(Key_From_String("2.-3.1.32000", k));
    EXPECT_EQ(k, (a_keyset{2, -3, 1, 32000}));
    EXPECT_EQ(Key_To_String(k), "2.-3.1.32000");
    for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "1.2.3.x", "1.2.3.40000", "1..2.3"})
        EXPECT_FALSE(Key_From_String(bad, k)) << bad;
}

TEST_F(ArtDb, SingleSearchNamesFirstEntryNotSmaller) {
    ASSERT_EQ(Open_Db(Three_Records()), OPEN_OKAY);
    int index = 0;
    EXPECT_TRUE(Map_Find1(index, 1, {2, 5, 0, 0}));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(Map_Find1(index, 1, {2, 3, 0, 0}));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(Map_Find1(index, 1, {1, 0, 0, 0}));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(Map_Find1(index, 1, {9, 0, 0, 0}));
    EXPECT_EQ(index, 3);  // stays on the last entry
    ASSERT_EQ(Open_Db(Db_Bytes({})), OPEN_OKAY);
    EXPECT_FALSE(Map_Find1(index, 2, {2, 5, 0, 0}));
    EXPECT_EQ(OP_Size({3, 1, 0, 0}), 3);
    EXPECT_EQ(OP_Size({3, 2, 0, 0}), 0);
    EXPECT_EQ(OP_Lock({3, 2, 0, 0}), nullptr);
}

TEST_F(ArtDb, LaterDatabaseOverridesAndServesWholeCategories) {
    ASSERT_EQ(Open_Db(Db_Bytes({Entry({8, 0, 0, 1}, Bytes({1})), Entry({8, 0, 0, 2}, Bytes({2})),
                                Entry({8, 0, 0, 3}, Bytes({3})), Entry({10, 0, 0, 1}, Bytes({4})),
                                Entry({12, 128, 0, 0}, Bytes({5}))})),
              OPEN_OKAY);
    a_subset s;
    Subset_Init({8, 32000, 0, 0}, s);
    EXPECT_EQ(Subset_Count(s), 3);
    Subset_Init({9, 32000, 0, 0}, s);
    EXPECT_EQ(Subset_Count(s), 0);
    a_keyset k;
    Subset_GetKey(k, 1, s);
    EXPECT_TRUE(Is_Null_Key(k));

    // The patch holds one stamp and a replacement picture.
    ASSERT_EQ(
        Open_Db(Db_Bytes({Entry({8, 0, 0, 7}, Bytes({70})), Entry({12, 128, 0, 0}, Bytes({50}))})),
        OPEN_OKAY);
    EXPECT_EQ(Locked_Bytes({12, 128, 0, 0}), Bytes({50}));
    EXPECT_EQ(Locked_Bytes({10, 0, 0, 1}), Bytes({4}));
    int index = 0, filex = 0;
    ASSERT_TRUE(Map_Find(index, filex, {8, 0, 0, 2}));
    EXPECT_EQ(filex, 1);
    Subset_Init({8, 32000, 0, 0}, s);
    EXPECT_EQ(s.filex, 2);
    ASSERT_EQ(Subset_Count(s), 1);
    Subset_GetKey(k, 1, s);
    EXPECT_EQ(k, (a_keyset{8, 0, 0, 7}));
    Subset_Init({10, 32000, 0, 0}, s);
    EXPECT_EQ(s.filex, 1);
    EXPECT_EQ(Subset_Count(s), 1);
    Subset_Init({32000, 0, 0, 0}, s);  // level 0: everything of the newest database
    EXPECT_EQ(Subset_Count(s), 2);
}

TEST_F(ArtDb, SubsetLevelsCompareOnlyLeadingComponents) {
    ASSERT_EQ(Open_Db(Db_Bytes({Entry({2, 6, -1, 1}, {}), Entry({2, 6, 1, 1}, {}),
                                Entry({2, 6, 1, 2}, {}), Entry({2, 6, 2, 1}, {}),
                                Entry({2, 7, 1, 1}, {})})),
              OPEN_OKAY);
    a_subset s;
    Subset_Init({2, 6, 32000, 0}, s);
    EXPECT_EQ(Subset_Count(s), 3);  // members start at the zeroed key: c = -1 stays out
    Subset_Init({2, 6, 1, 32000}, s);
    EXPECT_EQ(Subset_Count(s), 2);
    Subset_Init({2, 32000, 0, 0}, s);
    EXPECT_EQ(Subset_Count(s), 5);
    EXPECT_EXIT(Loud([&] {
                    Subset_Init({2, 6, 1, 1}, s);
                }),
                testing::ExitedWithCode(70), "Internal Error");
}

// Damaged headers and maps are refused whole: nothing stays open.
TEST_F(ArtDb, RefusesBadHeadersAndMapsOutOfOrderOrPointingOutsideTheFile) {
    const std::vector<uint8_t> good = Three_Records();
    ASSERT_EQ(Open_Db(good), OPEN_OKAY);
    OP_CloseNewest();
    const size_t item2 = OP_HEADER_SIZE + OP_MAP_ITEM_SIZE;  // second map entry
    const size_t item3 = item2 + OP_MAP_ITEM_SIZE;
    auto len = [](const std::vector<uint8_t>& f, size_t item) { return uint32_t(Get_BE32(&f[item + 12])); };
    const std::pair<const char*, std::function<void(std::vector<uint8_t>&)>> damage[] = {
        {"signature", [](auto& f) { f[0] = '('; }},
        {"version 2", [](auto& f) { Put32(f, 4, 2); }},
        {"size one more", [](auto& f) { Put32(f, 8, uint32_t(f.size() + 1)); }},
        {"size one less", [](auto& f) { Put32(f, 8, uint32_t(f.size() - 1)); }},
        {"short header", [](auto& f) { f.resize(10), Put32(f, 8, 10); }},
        {"map longer than the file", [](auto& f) { f[13] = 200; }},
        {"a duplicate of entry 1",
         [&](auto& f) {
             const uint8_t k[8] = {0, 2, 0, 0, 0, 1, 0, 1};
             std::memcpy(&f[item2], k, 8);
         }},
        {"(1,...) after (2,...)", [&](auto& f) { f[item2 + 1] = 1; }},
        {"record at the end", [&](auto& f) { Put32(f, item2 + 8, uint32_t(f.size())); }},
        {"record past the end", [&](auto& f) { Put32(f, item2 + 12, 1000); }},
        {"negative length", [&](auto& f) { Put32(f, item2 + 12, 0xFFFFFFFF); }},
        {"pos + len overflows", [&](auto& f) { Put32(f, item2 + 8, 0x7FFFFFFF); }},
        {"inside the header", [&](auto& f) { Put32(f, item2 + 8, 2); }},
        // Records lie back to back after the map up to the end of the file: a
        // key count one short, a gap or an overlap is damage, not fewer records.
        {"key count one short", [](auto& f) { f[13] -= 1; }},
        {"a gap", [&](auto& f) { Put32(f, item2 + 12, len(f, item2) - 1); }},
        {"last record ends early", [&](auto& f) { Put32(f, item3 + 12, len(f, item3) - 1); }},
    };
    for (const auto& [what, change] : damage) {
        std::vector<uint8_t> f = good;
        change(f);
        EXPECT_EQ(Open_Db(f), OPEN_INVALID) << what;
    }
    // Truncation at every length leaves a size mismatch.
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_EQ(Open_Db(std::vector<uint8_t>(good.begin(), good.begin() + n)), OPEN_INVALID) << n;
    EXPECT_EQ(OP_Count(), 0);
    EXPECT_EQ(OP_OpenFile("/nonexistent/Cirquel.ART4"), OPEN_NOTFOUND);
}

TEST_F(ArtDb, SixthDatabaseIsRefusedAndFiveStayOpen) {
    for (int i = 1; i <= 5; ++i) {
        ASSERT_EQ(Open_Db(Db_Bytes({Entry({6, int16_t(i), 0, 0}, Bytes({uint8_t(i)}))})),
                  OPEN_OKAY);
    }
    EXPECT_EQ(Open_Db(Three_Records()), OPEN_TOOMANY);
    EXPECT_EQ(OP_OpenFile("/nonexistent"), OPEN_TOOMANY);
    EXPECT_EQ(OP_Count(), 5);
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(Locked_Bytes({6, int16_t(i), 0, 0}), Bytes({uint8_t(i)}));
}

TEST_F(ArtDb, ThreeLocksWorkTheFourthIsAnInternalError) {
    ASSERT_EQ(Open_Db(Three_Records()), OPEN_OKAY);
    uint8_t* a = OP_Lock({2, 0, 1, 1});
    uint8_t* b = OP_Lock({2, 5, 0, 0});
    uint8_t* c = OP_Lock({3, 1, 0, 0});
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(c[2], 3);
    EXPECT_EXIT(Loud([&] {
                    OP_Lock({2, 0, 1, 1});
                }),
                testing::ExitedWithCode(70), "Internal Error");
    OP_Unlock(b);
    EXPECT_EQ(b, nullptr);
    uint8_t* d = OP_Lock({2, 5, 0, 0});  // the freed slot is reused
    EXPECT_EQ(d[1], 2);
    uint8_t* stray = a + 1;
    EXPECT_EXIT(Loud([&] { OP_Unlock(stray); }), testing::ExitedWithCode(70), "Internal Error");
    OP_Unlock(a);
    OP_Unlock(c);
    OP_Unlock(d);
}

TEST_F(ArtDb, WriterRefusesDuplicatesAndSavesAtomically) {
    std::vector<uint8_t> f;
    std::string error;
    EXPECT_FALSE(Build_Database({Entry({1, 0, 0, 0}, {}), Entry({1, 0, 0, 0}, {})}, f, error));
    EXPECT_NE(error.find("1.0.0.0"), std::string::npos);
    std::filesystem::path path = std::filesystem::path(Temp_Folder()) / "cirquel-artdb-test.ART4";
    ASSERT_TRUE(Save_Database(path.string(), {Entry({3, 1, 0, 0}, Bytes({9}))}, error)) << error;
    EXPECT_EQ(OP_OpenFile(path.string()), OPEN_OKAY);
    EXPECT_EQ(Locked_Bytes({3, 1, 0, 0}), Bytes({9}));
    OP_Init();
    std::filesystem::remove(path);
}
