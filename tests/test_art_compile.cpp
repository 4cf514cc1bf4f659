// The art compiler on the test generator's items, the start-up opening of
// the databases with its alerts, and the contact sheet a person looks at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "art/mini_gen.h"
#include "art_encode.h"
#include "artdb/art_survey.h"
#include "artdb/pixt.h"
#include "artdb_fixtures.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/image_out.h"
#include "shell/art_startup.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Mini_Database() {
    std::vector<a_art_item> items;
    Art_Generate_Mini(items);
    std::string error;
    std::vector<uint8_t> file;
    EXPECT_TRUE(Art_Compile(items, file, error)) << error;
    return file;
}

fs::path Temp_Dir(const char* name) {
    fs::path p = fs::path(Temp_Folder()) / name;
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}

void Write(const fs::path& path, const std::vector<uint8_t>& bytes) {
    ASSERT_TRUE(File_SaveAtomic(path.string(), bytes.data(), bytes.size()));
}

class ArtCompile : public testing::Test {
  protected:
    void SetUp() override {
        OP_Init();
        Pixt_Init();
        Dialog_ScriptAnswers({});
    }
    void TearDown() override {
        Pixt_Stop();
        OP_Init();
    }
};

}  // namespace

TEST_F(ArtCompile, SameItemsGiveTheSameBytesAndEveryRecordDecodes) {
    std::vector<uint8_t> first = Mini_Database();
    EXPECT_EQ(Mini_Database(), first);
    ASSERT_EQ(Open_Db(first), OPEN_OKAY);
    std::vector<a_record_info> all = Art_Survey(-1);
    ASSERT_EQ(all.size(), 11u);
    for (const a_record_info& r : all) EXPECT_FALSE(r.damaged) << Key_To_String(r.key) << r.problem;
    a_pixt p;
    KPixt_Load(p, {2, 0, 1, 1});
    Pixt_Lock(p);
    EXPECT_EQ(p.pixmap.baseAddr[0], 255);
    EXPECT_EQ(p.pixmap.baseAddr[64 * 64 * 4 - 2], 255);
    Pixt_Unlock(p);
    Pixt_Unload(p);
}

TEST_F(ArtCompile, BadItemsAreNamedInTheError) {
    std::vector<a_art_item> items;
    std::string error;
    Art_Generate_Mini(items);
    items[2].picture.pixels.pop_back();
    std::vector<uint8_t> file;
    EXPECT_FALSE(Art_Compile(items, file, error));
    EXPECT_NE(error.find("8.0.0.1 (checks)"), std::string::npos) << error;
    Art_Generate_Mini(items);
    items.push_back(items[0]);
    EXPECT_FALSE(Art_Compile(items, file, error));
    EXPECT_NE(error.find("duplicate key 2.0.1.1"), std::string::npos) << error;
}

TEST_F(ArtCompile, StartUpOpensMainAndPatchOrRefuses) {
    fs::path dir = Temp_Dir("cirquel-art-start");
    std::vector<std::string> folders = {(dir / "empty").string(), dir.string()};

    EXPECT_FALSE(Art_Start(folders));
    EXPECT_EQ(g_art_result, OPEN_NOTFOUND);
    ASSERT_EQ(Dialog_History().size(), 1u);
    EXPECT_NE(Dialog_History()[0].message.find("art file (Cirquel.ART4) was not found"),
              std::string::npos);

    std::vector<uint8_t> good = Mini_Database();
    std::vector<uint8_t> cut(good.begin(), good.end() - 1);
    Write(dir / "Cirquel.ART4", cut);
    EXPECT_FALSE(Art_Start(folders));
    EXPECT_EQ(g_art_result, OPEN_INVALID);
    EXPECT_EQ(OP_Count(), 0);
    EXPECT_NE(Dialog_History().back().message.find("partial copy"), std::string::npos);

    // A good copy further down the list wins over a damaged one.
    fs::create_directories(dir / "empty");
    Write(dir / "empty" / "Cirquel.ART4", good);
    EXPECT_TRUE(Art_Start(folders));
    OP_Init();
    fs::remove(dir / "empty" / "Cirquel.ART4");

    // Without the about-box picture the database is out of date.
    Write(dir / "Cirquel.ART4", Db_Bytes({Entry({12, 1, 0, 0}, {})}));
    Dialog_ScriptAnswers({});
    EXPECT_FALSE(Art_Start(folders));
    EXPECT_EQ(g_art_result, OPEN_OKAY);
    ASSERT_EQ(Dialog_History().size(), 1u);
    EXPECT_NE(Dialog_History()[0].message.find("out of date"), std::string::npos);
    OP_Init();

    // The patch beside the main database is opened and overrides it.
    Write(dir / "Cirquel.ART4", good);
    Write(dir / "CIRQUEL_PATCH.ART4",
          Db_Bytes({Entry({3, 1, 0, 0}, Encode_Gradient({0xFF000000}))}));
    Dialog_ScriptAnswers({});
    EXPECT_TRUE(Art_Start(folders));
    EXPECT_TRUE(Dialog_History().empty());
    EXPECT_EQ(OP_Count(), 2);
    EXPECT_EQ(OP_Size({3, 1, 0, 0}), 6);
    fs::remove_all(dir);
}

TEST_F(ArtCompile, ContactSheetMatchesGolden) {
    ASSERT_EQ(Open_Db(Mini_Database()), OPEN_OKAY);
    int count = 0;
    a_rgb_image sheet = Art_Sheet(-1, -1, count);
    EXPECT_EQ(count, 8);
    std::string golden = std::string(CIRQUEL_SOURCE_DIR) + "/tests/golden/art_sheet_mini.png";
    std::string error;
    if (std::getenv("CIRQUEL_UPDATE_GOLDEN")) {
        ASSERT_TRUE(Image_Save_PNG(golden, sheet, error)) << error;
    }
    a_rgb_image want;
    ASSERT_TRUE(Image_Load_PNG(golden, want))
        << "no golden " << golden << " (run with CIRQUEL_UPDATE_GOLDEN=1 to write it)";
    ASSERT_EQ(want.width, sheet.width);
    ASSERT_EQ(want.height, sheet.height);
    // Text rendering may differ by a few levels between font builds.
    size_t off = 0;
    for (size_t i = 0; i < want.bgra.size(); ++i)
        if (std::abs(int(want.bgra[i]) - int(sheet.bgra[i])) > 24) ++off;
    EXPECT_LT(off, want.bgra.size() / 200) << "differs from " << golden;
}
