// The template designer: its checks, its units, its export, and the user's
// own catalogue the export is added to.
#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <memory>
#include <cstring>
#include <string>
#include <vector>

#include "base/prefs.h"
#include "model/document.h"
#include "persist/disc_read.h"
#include "persist/disc_write.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/png.h"
#include "platform/printer.h"
#include "print/print_adjust.h"
#include "print/print_doc.h"
#include "templates/catalogue.h"
#include "templates/designer.h"
#include "templates/expand.h"
#include "templates/layout_text.h"
#include "templates/user_catalogue.h"

namespace {

// The 2-up disc sheet the tests design: A4, two 118 mm discs one above the other.
a_askdesign_rec Two_Up(const char* name = "Mine 2-up CD") {
    a_askdesign_rec d;
    AskDes_Init(d);
    std::strcpy(d.ctemplate.label, name);
    AskDes_SetPaper(d, 6);  // A4
    a_cunit g{};
    g.kind = UNIT_CD;
    g.nx = 1;
    g.ny = 2;
    g.bboxleft = 46;
    g.bboxtop = 20;
    g.bboxwidth = g.bboxheight = 118;
    g.pitchy = 20;  // space between
    g.meas1 = 41;
    g.bleedleft = g.bleedright = 1.5f;
    AskDes_StoreSection(d, g);
    AskDes_Store(d);
    return d;
}

std::vector<int> Problem_Items(const a_askdesign_rec& d) {
    std::vector<int> items;
    for (const a_design_problem& p : Design_Problems(d.ctemplate)) items.push_back(p.item);
    return items;
}

class UserCatalogue : public testing::Test {
protected:
    void SetUp() override {
        folder_ = Temp_Folder() + "/cirquel-user-layouts-" + testing::UnitTest::GetInstance()->current_test_info()->name();
        (void)File_Remove_Tree(folder_);
        saved_ = User_Catalogue_Folder();
        User_Catalogue_Folder_Set(folder_);
    }
    void TearDown() override {
        (void)File_Remove_Tree(folder_);
        User_Catalogue_Folder_Set(saved_);
        Build_Template_List();
    }
    std::string folder_, saved_;
};

}  // namespace

// Each check of the designer, with the field it is shown beside; the
// defaults (no name, nothing filled in) and a sound design.
TEST(Designer, ChecksAreTheFieldsThatFailed) {
    struct a_case {
        const char* what;
        void (*change)(a_askdesign_rec&);
        std::vector<int> items;
    };
    const a_case cases[] = {
        {"sound", [](a_askdesign_rec&) {}, {}},
        {"no name", [](a_askdesign_rec& d) { d.ctemplate.label[0] = 0; }, {DES_NAME}},
        {"paper too narrow", [](a_askdesign_rec& d) { d.ctemplate.papersize.x = 40; }, {DES_WIDTH}},
        {"paper too tall", [](a_askdesign_rec& d) { d.ctemplate.papersize.y = 1200; }, {DES_HEIGHT}},
        {"no width", [](a_askdesign_rec& d) { d.ctemplate.units[0].bboxwidth = 0; }, {DES_UWIDTH, DES_SECTION}},
        {"negative height", [](a_askdesign_rec& d) { d.ctemplate.units[0].bboxheight = -5; }, {DES_UHEIGHT, DES_SECTION}},
        {"no count down", [](a_askdesign_rec& d) { d.ctemplate.units[0].ny = 0; }, {DES_NY, DES_SECTION}},
        {"off the sheet", [](a_askdesign_rec& d) { d.ctemplate.units[0].bboxtop = 60; }, {DES_LEFT}},
        {"too many", [](a_askdesign_rec& d) {
             a_cunit& g = d.ctemplate.units[0];
             g.nx = 16, g.ny = 16, g.bboxwidth = g.bboxheight = 5, g.pitchy = 0, g.bboxleft = g.bboxtop = 5;
         }, {DES_NX}},
        // A second group empty by its kind is allowed, whatever it holds.
        {"empty kind", [](a_askdesign_rec& d) { d.ctemplate.units[3].nx = 4; }, {}},
        // A second group of a real kind left blank is allowed too.
        {"blank group", [](a_askdesign_rec& d) { d.ctemplate.units[2].kind = UNIT_RECT; }, {}},
    };
    for (const a_case& c : cases) {
        a_askdesign_rec d = Two_Up();
        c.change(d);
        AskDes_Store(d);
        EXPECT_EQ(Problem_Items(d), c.items) << c.what;
        EXPECT_EQ(d.valid, c.items.empty()) << c.what;
        EXPECT_EQ(d.xavail, d.valid) << c.what;
        if (!c.items.empty()) {
            EXPECT_FALSE(Design_Problems(d.ctemplate)[0].text.empty()) << c.what;
        }
    }
    a_askdesign_rec fresh;
    AskDes_Init(fresh);
    EXPECT_EQ(fresh.paper_popx, 1);
    EXPECT_EQ(CTemplate_Paper(fresh.ctemplate), (a_fpoint{215.9f, 279.4f}));
    EXPECT_TRUE(Has_Flag(fresh.ctemplate.tflags, IS_PITCHBETWEEN));
    EXPECT_EQ(Problem_Items(fresh), (std::vector<int>{DES_NAME, DES_SECTION}));
    EXPECT_FALSE(fresh.valid);
}

// Millimetres to inches and back give the very values typed; a value typed
// in inches meanwhile is converted, and bleeds and paper never change.
TEST(Designer, UnitsRoundTripWithoutLoss) {
    a_askdesign_rec d = Two_Up();
    d.ctemplate.units[0].bboxleft = 46.3f;
    d.ctemplate.units[0].meas1 = 41.1f;
    const a_ctemplate mm = d.ctemplate;
    for (int trip = 0; trip < 3; ++trip) {
        AskDes_SetUnits(d, 2);
        EXPECT_TRUE(Has_Flag(d.ctemplate.tflags, IS_INCHES));
        EXPECT_NEAR(+d.ctemplate.units[0].bboxwidth, 118 / 25.4, 1e-5);
        EXPECT_EQ(+d.ctemplate.units[0].bleedleft, 1.5f);
        AskDes_SetUnits(d, 1);
        EXPECT_EQ(std::memcmp(&d.ctemplate, &mm, sizeof mm), 0) << "trip " << trip;
    }
    AskDes_SetUnits(d, 2);
    d.ctemplate.units[0].bboxtop = 1;  // typed in inches
    AskDes_SetUnits(d, 1);
    EXPECT_FLOAT_EQ(+d.ctemplate.units[0].bboxtop, 25.4f);
    EXPECT_EQ(+d.ctemplate.units[0].bboxleft, 46.3f);
    // The fields: the shortest text that reads back as the value.
    for (float v : {118 / 25.4f, 0.1f, 46.3f, -1.05f, 215.9f}) EXPECT_EQ(Get_EntryF(Set_EntryF(v)), v);
    EXPECT_EQ(Get_EntryF("12,5"), 12.5f);
    EXPECT_EQ(Get_EntryF("twelve"), 0.0f);
    EXPECT_EQ(Get_EntryC(" 3 "), 3u);
    EXPECT_EQ(Get_EntryC("-3"), 0u);
}

// The export is the catalogue's line form; groups behind empty ones move to
// the front so that none falls outside the count; flags the dialog does not
// offer are dropped.
TEST(Designer, ExportsInTheCatalogueLineForm) {
    a_askdesign_rec d;
    AskDes_Init(d);
    std::strcpy(d.ctemplate.label, "Test");
    AskDes_SetPaper(d, DESIGN_PAPER_CUSTOM);
    d.ctemplate.papersize = {148, 296};
    d.sectionx = 3;
    a_cunit g{};
    g.kind = UNIT_CD;
    g.nx = 1, g.ny = 2;
    g.bboxleft = g.bboxtop = 15;
    g.bboxwidth = g.bboxheight = 118;
    g.pitchy = 30;
    g.bleedleft = g.bleedtop = g.bleedright = g.bleedbottom = 2;
    g.meas1 = 41;
    g.uflags = Flag_Bit(UNIT_FLIPX) | Flag_Bit(UNIT_PERIMETERBLEED);
    AskDes_StoreSection(d, g);
    AskDes_Store(d);
    ASSERT_TRUE(d.valid);
    EXPECT_EQ(AskDes_Save2(d),
              "(* LAYOUT Version 4.00 *)\r\n"
              "{ \"SORT________\", \"Test\", BOTH, a_template_flag_set { IS_PITCHBETWEEN },  (* paper *) { "
              "148.0000, 296.0000 }, 1, \r\n"
              "{{ UNIT_CD, a_unit_flag_set {  }, 1, 2, (* BBOX *) 15.0000, 15.0000, 118.0000, 118.0000, "
              "(* PITCH *) 0.0000, 30.0000, (* BLEED *) 2.0000, 2.0000, 2.0000, 2.0000, (* MEAS *) 41.0000, "
              "0.0000, 0.0000, 0.0000 }, \r\n"
              "EMPTY_UNIT, EMPTY_UNIT, EMPTY_UNIT, EMPTY_UNIT, EMPTY_UNIT }},\r\n");
    // The preview's sheet is the compacted one.
    ASSERT_EQ(d.xtemplate.nunits, 2u);
    EXPECT_EQ(d.xtemplate.units[2].bbox, (a_frect{15, 163, 133, 281}));
    std::string first = AskDes_Export_Name(), second = AskDes_Export_Name();
    EXPECT_EQ(first.substr(0, 6), "LAYOUT");
    EXPECT_EQ(std::stoi(second.substr(6)), std::stoi(first.substr(6)) + 1);
}

// What the designer exports, added to the user's catalogue, is in the
// working list under its brand, and expands to the designed labels, in
// inches as in millimetres; it survives a new start and can be removed.
TEST_F(UserCatalogue, ExportImportExpandGivesTheDesignedUnits) {
    a_askdesign_rec mm = Two_Up("Mine 2-up CD"), in = Two_Up("Mine 2-up CD inches");
    AskDes_SetUnits(in, 2);
    AskDes_Store(in);
    std::string error;
    std::vector<std::string> added;
    ASSERT_TRUE(User_Catalogue_Add_Text(AskDes_Save2(mm) + AskDes_Save2(in), "two.layout", error, &added)) << error;
    EXPECT_EQ(added, (std::vector<std::string>{"Mine 2-up CD", "Mine 2-up CD inches"}));
    ASSERT_TRUE(User_Catalogue_Load(error)) << error;  // read back from the file, as at start
    Build_Template_List();
    for (const char* name : {"Mine 2-up CD", "Mine 2-up CD inches"}) {
        int index = Find_Template(std::string(name));
        ASSERT_NE(index, 0) << name;
        a_template x;
        Expand_Template(TList_Get(index), x);
        ASSERT_EQ(x.nunits, 2u) << name;
        const a_frect want[] = {{46, 20, 164, 138}, {46, 158, 164, 276}};
        for (int i = 0; i < 2; ++i) {
            const a_frect& b = x.units[i + 1].bbox;
            EXPECT_NEAR(b.left, want[i].left, 0.01) << name;
            EXPECT_NEAR(b.top, want[i].top, 0.01) << name;
            EXPECT_NEAR(b.right, want[i].right, 0.01) << name;
            EXPECT_NEAR(b.bottom, want[i].bottom, 0.01) << name;
            EXPECT_EQ(x.units[i + 1].bleed.left, 1.5f);
            EXPECT_NEAR(x.units[i + 1].meas[0], 41, 0.01);
        }
    }
    // Edited and added again: replaced, not doubled.
    a_askdesign_rec edited;
    AskDes_Load(edited, *User_Template(mm.ctemplate.label));
    EXPECT_EQ(edited.paper_popx, 6);
    edited.ctemplate.units[0].bboxleft = 40;
    AskDes_Store(edited);
    ASSERT_TRUE(User_Catalogue_Add_Text(AskDes_Save2(edited), "edited.layout", error)) << error;
    ASSERT_EQ(User_Catalogue().size(), 2u);
    EXPECT_EQ(+User_Template(mm.ctemplate.label)->units[0].bboxleft, 40.0f);
    ASSERT_TRUE(User_Catalogue_Remove("Mine 2-up CD", error)) << error;
    EXPECT_FALSE(User_Catalogue_Remove("Mine 2-up CD", error));
    ASSERT_TRUE(User_Catalogue_Load(error));
    ASSERT_EQ(User_Catalogue().size(), 1u);
    Build_Template_List();
    EXPECT_EQ(Find_Template(std::string("Mine 2-up CD")), 0);
}

// A faulty file adds nothing, and says where it is wrong; a damaged
// catalogue file is never overwritten.
TEST_F(UserCatalogue, FaultsAddNothingAndNameTheLine) {
    std::string good = AskDes_Save2(Two_Up("Mine A"));
    std::string error;
    ASSERT_TRUE(User_Catalogue_Add_Text(good, "a.layout", error)) << error;
    a_askdesign_rec bad = Two_Up("Mine B");
    bad.ctemplate.units[0].bboxtop = 100;  // off the sheet
    std::string builtin = AskDes_Save2(Two_Up("Avery 2160"));
    struct a_case {
        std::string text, want;
    };
    const a_case cases[] = {
        {AskDes_Save2(Two_Up("Mine C")) + AskDes_Save2(bad), "f.layout:6: " + Design_Problems(bad.ctemplate)[0].text},
        {AskDes_Save2(Two_Up("Mine C")) + builtin, "f.layout:6: \"Avery 2160\" is the name of a built-in layout"},
        {AskDes_Save2(Two_Up("Mine C")) + AskDes_Save2(Two_Up("Mine C")), "f.layout:6: \"Mine C\" is named twice in the file"},
        {good.substr(0, 37), "f.layout:2: unterminated string"},
        {"(* nothing *)", "f.layout:1: no layout in the file"},
    };
    for (const a_case& c : cases) {
        EXPECT_FALSE(User_Catalogue_Add_Text(c.text, "f.layout", error));
        EXPECT_EQ(error, c.want);
        EXPECT_EQ(User_Catalogue().size(), 1u);
    }
    // The file itself damaged by hand: it stays as it is.
    std::string damaged = good + "{ broken";
    ASSERT_TRUE(File_SaveAtomic(User_Catalogue_Path(), damaged.data(), damaged.size()));
    EXPECT_FALSE(User_Catalogue_Load(error));
    EXPECT_EQ(error.rfind(User_Catalogue_Path() + ":5: ", 0), 0u) << error;
    EXPECT_TRUE(User_Catalogue().empty());
    EXPECT_FALSE(User_Catalogue_Add_Text(AskDes_Save2(Two_Up("Mine D")), "d.layout", error));
    std::vector<uint8_t> kept;
    ASSERT_TRUE(File_ReadAll(User_Catalogue_Path(), kept));
    EXPECT_EQ(std::string(kept.begin(), kept.end()), damaged);
}

// A project on a sheet of the user's own carries the sheet: on a machine
// whose catalogue lacks it the project opens and the sheet is offered in the
// chooser; a damaged copy of it refuses the project and keeps the document.
TEST_F(UserCatalogue, ProjectsCarryTheirSheet) {
    std::string error;
    ASSERT_TRUE(User_Catalogue_Add_Text(AskDes_Save2(Two_Up("Mine carried")), "c.layout", error)) << error;
    Build_Template_List();
    int tx = Find_Template(std::string("Mine carried"));
    ASSERT_NE(tx, 0);
    auto t = std::make_unique<a_template>();
    Expand_Template(TList_Get(tx), *t);
    Doc_New(*t);
    const std::string path = folder_ + "-carried.cd4";
    ASSERT_EQ(Write_DISC(path), 0);
    Doc_Dispose();

    User_Catalogue_Folder_Set(folder_ + "-elsewhere");  // another machine's empty catalogue
    Build_Template_List();
    ASSERT_EQ(Find_Template(std::string("Mine carried")), 0);
    ASSERT_TRUE(Read_DISC(false, path));
    EXPECT_STREQ(g_doc.doc_template.label, "Mine carried");
    EXPECT_EQ(g_doc.doc_template.nunits, 2u);
    Build_Template_List();
    EXPECT_NE(Find_Template(std::string("Mine carried")), 0);
    // Saved again there, it still carries the sheet.
    std::vector<uint8_t> again;
    ASSERT_EQ(Write_DISC_Bytes(again), 0);
    EXPECT_NE(std::string(again.begin(), again.end()).find("\"Mine carried\", BOTH"), std::string::npos);
    Doc_Dispose();

    std::vector<uint8_t> bytes;
    ASSERT_TRUE(File_ReadAll(path, bytes));
    std::string file(bytes.begin(), bytes.end());
    const size_t layt = file.find("LAYT");
    ASSERT_NE(layt, std::string::npos);
    Doc_New(Two_Up("Kept open").xtemplate);
    for (const char* bad : {"UNIT_XX", "\"Other", "2000.000"}) {
        std::string damaged = file;
        size_t at = damaged.find(bad[0] == 'U' ? "UNIT_CD" : bad[0] == '"' ? "\"Mine " : "210.0000", layt);
        ASSERT_NE(at, std::string::npos) << bad;
        damaged.replace(at, std::strlen(bad), bad);
        const std::string damaged_path = folder_ + "-damaged.cd4";
        ASSERT_TRUE(File_SaveAtomic(damaged_path, damaged.data(), damaged.size()));
        Dialog_ScriptAnswers({});
        EXPECT_FALSE(Read_DISC(false, damaged_path)) << bad;
        EXPECT_STREQ(g_doc.doc_template.label, "Kept open") << bad;
        (void)File_Remove(damaged_path);
    }
    Doc_Dispose();
    (void)File_Remove(path);
    (void)File_Remove_Tree(folder_ + "-elsewhere");
}

namespace {

// The PDF rendered at 300 dpi by pdftoppm, as grey levels.
struct a_pdf_page {
    a_png_image img;
    bool Dark(double x_mm, double y_mm) const {
        int x = int(x_mm * 300 / 25.4), y = int(y_mm * 300 / 25.4);
        if (x < 0 || y < 0 || x >= img.width || y >= img.height) return false;
        return (img.pixels[size_t(y) * img.width + x] & 0xFF) < 200;
    }
    // The first dark place along a line, in millimetres; -1 when none.
    double First_Dark(double x_mm, double y_mm, double dx, double dy, double limit_mm) const {
        for (double t = 0; t <= limit_mm; t += 0.02)
            if (Dark(x_mm + dx * t, y_mm + dy * t)) return dx ? x_mm + dx * t : y_mm + dy * t;
        return -1;
    }
};

bool Render_Pdf(const std::string& pdf, a_pdf_page& page) {
    const std::string png = pdf.substr(0, pdf.size() - 4);
    const std::string cmd = "pdftoppm -r 300 -gray -png -singlefile '" + pdf + "' '" + png + "'";
    return std::system(cmd.c_str()) == 0 && Png_Read(png + ".png", page.img);
}

}  // namespace

// The test pattern as a PDF: each label's outline where it was designed,
// then moved by the alignment nudge; the rulers at 100 %.
TEST(Designer, TestPatternPdfHasTheOutlinesAtTheDesignedPlaces) {
    const a_pref_rec saved = g_pref;
    a_askdesign_rec d = Two_Up();
    d.ctemplate.units[0].bleedleft = d.ctemplate.units[0].bleedright = 0;
    AskDes_Store(d);
    ASSERT_TRUE(d.valid);
    const std::string pdf = Temp_Folder() + "/design-pattern.pdf";
    for (int nudge : {0, 1}) {
        Doc_New(d.xtemplate);
        ASSERT_TRUE(Set_Nudge(nudge * 20, nudge * -10));  // 2 mm right, 1 mm up
        Doc_Dispose();
        g_print_target = a_print_target{};
        g_print_target.target = VP_PDF;
        g_print_target.pdf_path = pdf;
        ASSERT_TRUE(Print_Template(d.xtemplate));
        a_pdf_page page;
        ASSERT_TRUE(Render_Pdf(pdf, page));
        ASSERT_NEAR(page.img.width, 2480, 1);  // A4 at 300 dpi
        const double dx = nudge * 2.0, dy = nudge * -1.0;
        for (int ux = 0; ux < 2; ++ux) {
            const double top = 20 + ux * 138 + dy, middle = top + 59;
            // Left and right edges on the disc's middle row, from outside.
            EXPECT_NEAR(page.First_Dark(30, middle, 1, 0, 40), 46 + dx, 0.15) << ux;
            EXPECT_NEAR(page.First_Dark(190, middle, -1, 0, 40), 164 + dx, 0.15) << ux;
            // The top edge on the disc's middle column.
            EXPECT_NEAR(page.First_Dark(105 + dx, top - 8, 0, 1, 16), top, 0.15) << ux;
        }
        // The rulers are not nudged: their long ticks 10 cm apart, at the
        // sheet's own places.
        for (double at : {10.0, 110.0}) {
            EXPECT_NEAR(page.First_Dark(at - 0.6, 7, 1, 0, 1.2), at, 0.15) << at;
            EXPECT_NEAR(page.First_Dark(7, at + 100 - 0.6, 0, 1, 1.2), at + 100, 0.15) << at;
        }
    }
    g_pref = saved;
    g_print_target = a_print_target{};
    (void)File_Remove(pdf);
}
