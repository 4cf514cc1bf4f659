// Printing: where units land on the sheet, nudges and adjustments, the PCL
// raster and FlexStick files, and pages painted through the printer layer.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/prefs.h"
#include "images/image_files.h"
#include "model/doc_media.h"
#include "model/document.h"
#include "persist/disc_write.h"
#include "persist/file_cmds.h"
#include "pixels/gworld.h"
#include "pixels/pixmap.h"
#include "pixels/syspix.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/printer.h"
#include "print/flex_jobs.h"
#include "print/pcl.h"
#include "print/print_adjust.h"
#include "print/print_doc.h"
#include "print/print_render.h"
#include "render/canvas.h"
#include "shell/commands.h"
#include "shell/menus.h"
#include "golden_image.h"
#include "platform/png.h"
#include "signals_guard.h"

namespace {

a_unit Unit(uint8_t kind, float left, float top, float w, float h, float hole = 0) {
    a_unit u;
    u.kind = kind;
    u.bbox = {left, top, left + w, top + h};
    u.meas[0] = hole;
    return u;
}

std::unique_ptr<a_template> Sheet(std::vector<a_unit> units, uint32_t tflags = 0,
                                  a_fpoint paper = {210, 297}) {
    auto t = std::make_unique<a_template>();
    std::strcpy(t->label, "Test_Sheet 1");
    t->tflags = tflags;
    t->papersize = paper;
    t->nunits = uint32_t(units.size());
    for (size_t i = 0; i < units.size(); ++i) t->units[i + 1] = units[i];
    return t;
}

// Two 118 mm discs, one above the other, as a common A4 disc sheet has them.
std::unique_ptr<a_template> Two_Discs() {
    return Sheet({Unit(UNIT_CD, 46, 20, 118, 118, 41), Unit(UNIT_CD, 46, 158, 118, 118, 41)});
}

void Colour_Canvas(uint32_t ux, int hue) {
    a_canvas_spec& cv = g_doc.doc_units[ux]->canv.cv;
    Default_Canvas(g_doc.doc_template.Unit(ux).kind, cv);
    cv.canvas_color_sat = 50;
    cv.canvas_color_hue = int16_t(hue);
    cv.canvas_color_dist = 72;
}

struct a_page {
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    uint32_t At(int x, int y) const { return px[size_t(y) * w + x] & 0xFFFFFF; }
    bool White(int x, int y) const { return At(x, y) == 0xFFFFFF; }
};

// The page painted in memory at 300 dpi.
a_page Paint_Page(int purpose) {
    g_print_target = a_print_target{};
    g_print_target.target = VP_IMAGE;
    a_page page;
    EXPECT_TRUE(Print_Doc2(false, purpose));
    EXPECT_TRUE(VP_Page_Image(page.px, page.w, page.h));
    return page;
}

int Dots300(double mm) { return int(mm * 300 / 25.4 + 0.5); }

class Print : public testing::Test {
protected:
    void SetUp() override {
        Dialog_ScriptAnswers({});
        g_print_options = a_print_options{};
        saved_ = g_pref;
    }
    void TearDown() override {
        Doc_Dispose();
        g_pref = saved_;
        g_print_target = a_print_target{};
    }
    a_signals_guard signals_{true};
    a_pref_rec saved_;
};

}  // namespace

// A project named on the command line is read, printed as it was saved, and
// closed again.
TEST_F(Print, AProjectFromTheCommandLineIsPrintedAsSavedAndClosed) {
    Doc_New(*Sheet({Unit(UNIT_RECT, 20, 20, 50, 40), Unit(UNIT_RECT, 20, 80, 50, 40)}));
    Colour_Canvas(1, 200);
    Colour_Canvas(2, 20);
    const std::string path = Temp_Folder() + "/printed_from_command_line.cd4";
    ASSERT_EQ(Write_DISC(path), 0);
    const a_page want = Paint_Page(PURPOSE_PRINT);
    ASSERT_FALSE(want.White(Dots300(45), Dots300(40)));  // the canvas, not a blank page
    Doc_Dispose();
    Do_File_Print(path);
    EXPECT_FALSE(g_doc.doc_open);
    EXPECT_TRUE(Dialog_History().empty());
    a_page got;
    ASSERT_TRUE(VP_Page_Image(got.px, got.w, got.h));
    EXPECT_EQ(got.w, want.w);
    EXPECT_TRUE(got.px == want.px);
    (void)File_Remove(path);
}

TEST_F(Print, BleedNudgeAndDiscAdjustmentPlaceTheUnit) {
    auto t = Sheet({Unit(UNIT_CD, 50, 50, 118, 118, 41)});
    a_print_media_spec media;
    a_unit disc = t->units[1];
    disc.bleed = {2, 2, 2, 2};
    a_unit out = Calc_Adjusted_UnitT(disc, NOT_DIRECT, 1, true, true, *t, media, false);
    EXPECT_FLOAT_EQ(out.bbox.right - out.bbox.left, 122);
    EXPECT_FLOAT_EQ(out.bbox.bottom - out.bbox.top, 122);
    EXPECT_FLOAT_EQ(out.meas[0], 37);

    // A CD tray: the measured disc around the unit's centre, whatever the box.
    auto tray = Sheet({Unit(UNIT_CD, 10, 20, 130, 126, 15)}, Flag_Bit(IS_CDPRINTER));
    media.adj[MEDIA_INNERD] = 220;
    media.adj[MEDIA_OUTERD] = 1180;
    out = Calc_Adjusted_UnitT(tray->units[1], CD_DIRECT, 1, false, false, *tray, media, false);
    EXPECT_EQ(out.bbox, (a_frect{16, 24, 134, 142}));
    EXPECT_FLOAT_EQ(out.meas[0], 22);
    out = Calc_Adjusted_UnitT(tray->units[1], CD_DIRECT, 2, false, false, *tray, media, false);
    EXPECT_FLOAT_EQ(out.bbox.right - out.bbox.left, 126);

    // The nudge in tenths of a millimetre, then narrow paper centred in a
    // Letter-wide path, across the paper as fed.
    media.nudge = Point{-15, 30};  // v, h
    auto narrow = Sheet({Unit(UNIT_RECT, 10, 10, 50, 30)}, 0, {100, 150});
    out = Calc_Adjusted_UnitT(narrow->units[1], NOT_DIRECT, 1, true, false, *narrow, media, true);
    EXPECT_FLOAT_EQ(out.bbox.left, 10 + 3 + 57.95f);
    EXPECT_FLOAT_EQ(out.bbox.top, 10 - 1.5f);
    narrow->tflags = Flag_Bit(IS_LANDSCAPE);
    out = Calc_Adjusted_UnitT(narrow->units[1], NOT_DIRECT, 1, true, false, *narrow, media, true);
    EXPECT_FLOAT_EQ(out.bbox.left, 13);
    EXPECT_FLOAT_EQ(out.bbox.top, 10 - 1.5f + 57.95f);
}

TEST_F(Print, NudgeStepsLimitsAndTheLandscapeTurn) {
    Doc_New(*Sheet({Unit(UNIT_RECT, 10, 10, 50, 30)}));
    a_print_media_spec m;
    ASSERT_TRUE(Print_Nudge_0());
    ASSERT_TRUE(Print_Nudge_U(false));
    ASSERT_TRUE(Print_Nudge_R(true));
    Get_Media_Specs(m);
    EXPECT_EQ(m.nudge, (Point{-5, 25}));
    // At the limit a step is refused rather than wrapping round.
    ASSERT_TRUE(Set_Nudge(790, -800));
    EXPECT_FALSE(Print_Nudge_R(true));
    EXPECT_FALSE(Print_Nudge_U(false));
    Get_Media_Specs(m);
    EXPECT_EQ(m.nudge, (Point{-800, 790}));
    EXPECT_FALSE(Set_Nudge(32767 + 26, 0));
    Doc_Dispose();

    Doc_New(*Sheet({Unit(UNIT_CD, 10, 10, 118, 118, 41)}, Flag_Bit(IS_CDPRINTER)));
    EXPECT_EQ(Nudge(false), 1);
    EXPECT_EQ(Nudge(true), 10);
    Doc_Dispose();

    // Landscape: stored (v, h) = (3, 5) shows as horizontal 3, vertical -5.
    Doc_New(*Sheet({Unit(UNIT_RECT, 10, 10, 50, 30)}, Flag_Bit(IS_LANDSCAPE)));
    ASSERT_TRUE(Set_Nudge(3, -5));
    a_print_media_spec stored;
    Media_Spec_Get(NOT_DIRECT, g_doc.doc_mediax, false, stored);
    EXPECT_EQ(stored.nudge, (Point{3, 5}));
}

// A label sheet's width shares the disc's outer-diameter slot; the labels
// of distances in either unit.
TEST_F(Print, AdjustmentSlidersAndDistanceLabels) {
    a_print_media_spec spec;
    spec.adj[MEDIA_OUTERD] = 850;
    spec.adj[MEDIA_SIDE] = 590;
    a_print_adjust v = Load_Print_Adjust(spec, RECT_DIRECT);
    EXPECT_EQ(v.width, 850);
    EXPECT_EQ(v.outerd, 0);
    v.width = 820;
    Delta_Print_Adjust(v, RECT_DIRECT, spec);
    EXPECT_EQ(spec.adj[MEDIA_OUTERD], 820);
    std::string s;
    To_IN_Str(s, 254, ',');
    EXPECT_EQ(s, "1 in");
    To_IN_Str(s, 127, ',');
    EXPECT_EQ(s, "0,50 in");
    To_MM_Str(s, 125);
    EXPECT_EQ(s, "12.5 mm");
    To_MM_Str(s, 200);
    EXPECT_EQ(s, "20 mm");
}

namespace {

// Decodes one row of runs back to (count, colour) pairs: the encoder's inverse.
std::vector<std::pair<int64_t, uint32_t>> Decode_Row(const std::vector<uint8_t>& row) {
    std::vector<std::pair<int64_t, uint32_t>> runs;
    for (size_t i = 0; i < row.size();) {
        uint8_t op = row[i];
        uint32_t c = uint32_t(row[i + 1]) << 16 | uint32_t(row[i + 2]) << 8 | row[i + 3];
        i += 4;
        int64_t n = op == 0 ? 1 : op < 0x87 ? op - 0x80 + 2 : 9;
        if (op == 0x87) {
            while (row[i] == 255) n += 255, ++i;
            n += row[i++];
        }
        runs.push_back({n, c});
    }
    return runs;
}

}  // namespace

TEST_F(Print, RunEncodingOfLongRowsAndTheFileFrame) {
    // 1394 white pixels after a left edge of 20: one run of 1414.
    a_gworld_ptr w = Make_GWorld(32, Rect{0, 0, 1, 1394});
    {
        a_port_scope scope(w.get());
        RGBBackColor(kWhiteColor);
        EraseRect(Rect{0, 0, 1, 1394});
    }
    std::vector<uint8_t> out;
    Emit_Pix(Rect{7, 20, 8, 1414}, w->pix, a_pcl_settings{4, false}, out);
    std::string text(out.begin(), out.end());
    std::string row = "10w";
    row += std::string("\x87\x7F\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x82", 10);
    EXPECT_NE(text.find("\x1B*b7y" + row + "0Y\x1B*rC"), std::string::npos);
    EXPECT_EQ(text.substr(0, 10), std::string("\x1B*o5W\x0B\x09\x00\x00\x04", 10));

    // A left edge past what 16 bits count, with colours changing: the decoder
    // gets back every pixel.
    a_run_stack runs;
    runs.Start(0xFFFFFF, 30000);
    for (int i = 0; i < 4000; ++i) runs.Stak_Pixel(i < 3000 ? 0xFFFFFF : (i % 3 ? 0x102030 : 0x405060));
    runs.Stak_Op();
    auto decoded = Decode_Row(runs.Row());
    int64_t total = 0;
    for (auto& r : decoded) total += r.first;
    EXPECT_EQ(total, 34000);
    EXPECT_EQ(decoded[0].first, 33000);

    EXPECT_EQ(PCL_Header().size(), 90u);
    EXPECT_EQ(PCL_Header().substr(0, 11), std::string("\x1B" "E\x1B%-12345X"));
    EXPECT_EQ(PCL_Trailer(), std::string("\x1B" "E\x1B%-12345X"));
}

// A label nudged past the top-left corner of a FlexLabel's sheet is cut at
// the edges: rows start at the sheet's top and left, none is written whole.
TEST_F(Print, PclCropsALabelNudgedPastTheEdges) {
    Doc_New(*Sheet({Unit(UNIT_CD, 4.6f, 2.7f, 118, 118, 41)},
                   Flag_Bit(IS_CDPRINTER) | Flag_Bit(IS_FLEXLABEL) | Flag_Bit(IS_SHOWNOPAPER), {120, 120}));
    Colour_Canvas(1, 0);
    ASSERT_TRUE(Set_Nudge(-100, -50));  // 10 mm left, 5 mm up
    const Rect dest = Flex_Dest(1);
    ASSERT_LT(dest.left, 0);
    ASSERT_LT(dest.top, 0);
    std::vector<uint8_t> pcl;
    ASSERT_TRUE(Emit_PCL(pcl));
    const std::string s(pcl.begin(), pcl.end());
    const std::string start = "\x1B*r1A\x1B*b";
    size_t at = s.find(start);
    ASSERT_NE(at, std::string::npos);
    at += start.size();
    size_t y_end = s.find('y', at);
    EXPECT_EQ(s.substr(at, y_end - at), "0");
    // Each row: its length in digits, "w", its runs; then "0Y".
    int rows = 0;
    bool all_cropped = true;
    for (size_t i = y_end + 1; s.compare(i, 2, "0Y") != 0;) {
        size_t w_at = s.find('w', i);
        ASSERT_NE(w_at, std::string::npos);
        size_t n = std::stoul(s.substr(i, w_at - i));
        std::vector<uint8_t> row(s.begin() + std::ptrdiff_t(w_at + 1), s.begin() + std::ptrdiff_t(w_at + 1 + n));
        int64_t width = 0;
        for (auto& run : Decode_Row(row)) width += run.first;
        all_cropped = all_cropped && width == dest.right;
        ++rows;
        i = w_at + 1 + n;
    }
    EXPECT_EQ(rows, dest.bottom);
    EXPECT_TRUE(all_cropped);
}

TEST_F(Print, TicketAndDiscPainterRecord) {
    for (auto [t, want] : {std::pair{a_flex_ticket{3, 2, true, true, true}, "<024,01,A,0003,0003,M,1>"},
                           {a_flex_ticket{12345, 9, false, true, false}, "<024,01,P,9999,9999,M,0>"},
                           {a_flex_ticket{1, 4, true, false, false}, "<024,01,B,0001,0001,D,0>"}})
        EXPECT_EQ(Flex_Ticket_Text(t), want);

    std::vector<uint8_t> extra(100, 0);
    std::memcpy(extra.data() + 12, "DYMO", 4);
    a_print_media_spec media;
    media.adj[MEDIA_INNERD] = 225;
    media.adj[MEDIA_OUTERD] = 1171;
    media.adj[MEDIA_DENSITY] = 12;  // out of range: the default 5
    media.adj[MEDIA_QUALITY] = 4;
    ASSERT_TRUE(Fill_Monet_Private(extra.data(), extra.size(), media, true));
    a_monet_private rec;
    std::memcpy(&rec, extra.data() + 12, sizeof rec);
    EXPECT_EQ(rec.print_quality, 4);
    EXPECT_EQ(rec.ink_density[3], 5);
    EXPECT_EQ(rec.media_size, 3);
    EXPECT_EQ(rec.full_120_inner, 22);
    EXPECT_EQ(rec.full_120_outer, 118);
    EXPECT_EQ(rec.full_80_outer, 0);
    EXPECT_FALSE(Fill_Monet_Private(extra.data(), 40, media, true));

    // As job options, only those the queue's PPD offers with that value go.
    auto names = [](const std::vector<a_job_option>& list) {
        std::string s;
        for (const a_job_option& o : list) s += o.name + "=" + o.value + " ";
        return s;
    };
    const std::string ppd = CIRQUEL_TEST_DATA "/print/discpainter.ppd";
    EXPECT_EQ(names(Ppd_Offered_Options(ppd, Monet_Job_Options(media, true))),
              "PageSize=Disc120 PrintQuality=4 InkDensity=5 Full120Inner=22 Full120Outer=118 ");
    media.adj[MEDIA_INNERD] = 300;  // 30 mm: not among the PPD's hole sizes
    EXPECT_EQ(names(Ppd_Offered_Options(ppd, Monet_Job_Options(media, false))),
              "PageSize=Disc80 PrintQuality=4 InkDensity=5 ");
    EXPECT_TRUE(Ppd_Offered_Options("/nonexistent.ppd", Monet_Job_Options(media, true)).empty());
    EXPECT_EQ(Find_FlexStix({"/media/user/DISK", "/run/media/ann/FlexStix"}), "/run/media/ann/FlexStix");
}

TEST_F(Print, FlexStickFolderHoldsTicketPreviewAndRaster) {
    Doc_New(*Sheet({Unit(UNIT_CD, 5, 5, 118, 118, 41)}, Flag_Bit(IS_CDPRINTER) | Flag_Bit(IS_FLEXSTICK)));
    Colour_Canvas(1, 0);
    std::string dir = Temp_Folder() + "/flexstick_test";
    ASSERT_TRUE(Folder_Create(dir));
    ASSERT_TRUE(FlexStick_Write_Folder(dir, false, a_flex_ticket{3, 2, true, true, true}));
    EXPECT_EQ(File_Size(dir + "/flexset.txt"), 24);
    EXPECT_GT(File_Size(dir + "/flexlabl.jpg"), 100);
    std::vector<uint8_t> pcl;
    ASSERT_TRUE(File_ReadAll(dir + "/flexlabl.pcl", pcl));
    std::string s(pcl.begin(), pcl.end());
    EXPECT_EQ(s.substr(0, 90), PCL_Header());
    EXPECT_EQ(s.substr(s.size() - 11), PCL_Trailer());
    ASSERT_TRUE(FlexLabel_Write_Job(dir));
    EXPECT_TRUE(File_Exists(dir + "/FlexWare Files/Print Files/Output.prn"));

    // On a stick the volume is ejected and then announced; a stick that
    // cannot be ejected keeps the job but is not announced.
    const std::string bin = dir + "/bin", log = dir + "/eject.log";
    ASSERT_TRUE(Folder_Create(bin));
    auto tool = [&](const std::string& name, int status) {
        std::string script = "#!/bin/sh\necho \"" + name + " $*\" >> '" + log + "'\nexit " +
                             std::to_string(status) + "\n";
        ASSERT_TRUE(File_SaveAtomic(bin + "/" + name, script.data(), script.size()));
        std::filesystem::permissions(bin + "/" + name, std::filesystem::perms::owner_all);
    };
    struct a_path_guard {
        std::string saved = std::getenv("PATH") ? std::getenv("PATH") : "";
        ~a_path_guard() { setenv("PATH", saved.c_str(), 1); }
    } path;
    setenv("PATH", (bin + ":" + path.saved).c_str(), 1);
    for (int status : {0, 1}) {
        tool("gio", status);
        tool("eject", status);
        (void)File_Remove(log);
        Dialog_ScriptAnswers({});
        EXPECT_TRUE(FlexStick_Write_Folder(dir, true, a_flex_ticket{3, 2, true, true, true}));
        std::vector<uint8_t> calls;
        ASSERT_TRUE(File_ReadAll(log, calls));
        std::string want = "gio mount --eject " + dir + "\n";
        if (status != 0) want += "eject " + dir + "\n";
        EXPECT_EQ(std::string(calls.begin(), calls.end()), want);
        bool announced = !Dialog_History().empty() &&
                         Dialog_History().back().message.find("ready to be removed") != std::string::npos;
        EXPECT_EQ(announced, status == 0);
    }
    ASSERT_TRUE(File_Remove_Tree(dir));
}

// An empty master and its clone print nothing; once coloured, the clone
// prints its master's picture; with every unit off, printing asks.
TEST_F(Print, TwoDiscSheetLandsWhereTheStockPutsIt) {
    Doc_New(*Two_Discs());
    a_page page = Paint_Page(PURPOSE_PRINT);
    EXPECT_TRUE(page.White(Dots300(105), Dots300(79)));
    EXPECT_TRUE(page.White(Dots300(105), Dots300(217)));
    Colour_Canvas(1, 0);
    page = Paint_Page(PURPOSE_PRINT);
    ASSERT_EQ(page.w, Dots300(210));
    ASSERT_EQ(page.h, Dots300(297));
    EXPECT_EQ(page.At(Dots300(105), Dots300(40)), 0xFF0000u);
    EXPECT_EQ(page.At(Dots300(105), Dots300(260)), 0xFF0000u);  // the clone
    EXPECT_TRUE(page.White(Dots300(105), Dots300(148)));  // between the discs
    EXPECT_TRUE(page.White(Dots300(40), Dots300(79)));    // left of the first
    EXPECT_FALSE(page.White(Dots300(47), Dots300(79)));   // its left edge
    g_doc.doc_units[1]->printf = g_doc.doc_units[2]->printf = false;
    EXPECT_FALSE(Print1_Doc());
    ASSERT_FALSE(Dialog_History().empty());
    EXPECT_NE(Dialog_History().back().message.find("turn on printing"), std::string::npos);
}

// The Export menu writes the current unit as it prints: a unit mirrored for
// a clear label is mirrored in the picture; a failed export says its error
// number.
TEST_F(Print, ExportMenuWritesTheUnitAsItPrints) {
    a_unit card = Unit(UNIT_RECT, 20, 20, 60, 40);
    card.uflags = Flag_Bit(UNIT_FLIPX);
    Doc_New(*Sheet({card}));
    a_doc_unit& u = *g_doc.doc_units[1];
    u.paintinuse = true;
    Sync_Existence(PAINT1_LAYER, u, true);
    const Rect pb = u.paintbounds;
    const int w = Rect_Width(pb);
    const Rect stroke{pb.top, pb.left, pb.bottom, int16_t(pb.left + w / 4)};  // the left quarter
    PixMap32_Fill(u.static_[PAINT1_LAYER].world->pix, stroke, 0x00FF0000);
    PixMap8_Fill(u.static_[PAINT1_LAYER].mask->pix, stroke, 255);

    const a_file_services saved = g_file_services;
    std::string path = Temp_Folder() + "/export_mirrored.bmp";
    (void)g_file_services.choose_save.Install(
        [&](const std::string&, const std::string&, int16_t format) {
            EXPECT_EQ(format, FMT_BMP);
            return path;
        });
    ASSERT_TRUE(DoMenuEvent(false, false, 3, MENU_EXPORT));  // "BMP..."
    a_scan_owner scan;
    ASSERT_TRUE(Read_BitMap(false, path, scan.get()));
    a_gworld_ptr got(Scan_Colour_World(scan.get()));
    ASSERT_TRUE(got);
    ASSERT_EQ(Rect_Width(got->pix.bounds), w);
    auto at = [&](int x) {
        return reinterpret_cast<const uint32_t*>(PixMap_Row(got->pix, got->pix.bounds.top + 10))[x] & 0xFFFFFF;
    };
    EXPECT_EQ(at(w - 5), 0xFF0000u);  // the stroke, mirrored to the right
    EXPECT_EQ(at(5), 0xFFFFFFu);
    (void)File_Remove(path);

    path = Temp_Folder() + "/no/such/folder/export.bmp";
    Dialog_ScriptAnswers({});
    ASSERT_TRUE(DoMenuEvent(false, false, 3, MENU_EXPORT));
    ASSERT_EQ(Dialog_History().size(), 1u);
    const std::string& told = Dialog_History()[0].message;
    EXPECT_NE(told.find("export failed"), std::string::npos) << told;
    EXPECT_EQ(told.find('^'), std::string::npos) << told;
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(told.back()))) << told;
    g_file_services = saved;
}

TEST_F(Print, UnitFlipsTurnThenMirror) {
    a_gworld_ptr w = Make_GWorld(32, Rect{0, 0, 2, 3});
    uint32_t* p = reinterpret_cast<uint32_t*>(w->pix.baseAddr);
    int stride = (w->pix.rowBytes & 0x3FFF) / 4;
    for (int i = 0; i < 6; ++i) p[(i / 3) * stride + i % 3] = uint32_t(i);
    Apply_Unit_Flips(w.get(), Flag_Bit(UNIT_ROTATE180) | Flag_Bit(UNIT_FLIPX));
    // Turning then mirroring left-right leaves the rows swapped only.
    EXPECT_EQ(p[0], 3u);
    EXPECT_EQ(p[2], 5u);
    EXPECT_EQ(p[stride], 0u);
}

TEST_F(Print, CropMarksAndTestPageMarksAreWhereTheyAreMeasured) {
    a_unit booklet = Unit(UNIT_JEWEL_LID1, 40, 60, 120, 120);
    booklet.uflags = Flag_Bit(UNIT_CROPMARKS);
    Doc_New(*Sheet({booklet}));
    Colour_Canvas(1, 60);
    a_page page = Paint_Page(PURPOSE_PRINT);
    int left = Dots300(40), top = Dots300(60);
    // The vertical mark above the top-left corner: from 5 mm to 1 mm above.
    EXPECT_FALSE(page.White(left, top - Dots300(3)));
    EXPECT_TRUE(page.White(left, top - Dots300(0.5)));
    EXPECT_TRUE(page.White(left, top - Dots300(5.5)));
    // The horizontal mark left of it, in line with the top edge.
    EXPECT_FALSE(page.White(left - Dots300(3), top));
    EXPECT_TRUE(page.White(left - Dots300(3), top + Dots300(1)));

    Doc_Dispose();
    Doc_New(*Two_Discs());
    page = Paint_Page(PURPOSE_TEST_BARS);
    // The "20 mm" cross.
    EXPECT_FALSE(page.White(Dots300(20) + Dots300(3), Dots300(20)));
    EXPECT_FALSE(page.White(Dots300(20), Dots300(20) + Dots300(3)));
    // The red bar of the last disc (the colour-bar unit): 80 % down, first of seven.
    int bars_left = Dots300(105) - Dots300(54) / 2, bars_top = Dots300(158) + Dots300(118) * 80 / 100;
    EXPECT_EQ(page.At(bars_left + Dots300(3), bars_top + Dots300(3)), 0xFF0000u);
    EXPECT_EQ(page.At(bars_left + Dots300(6 * 8 + 3), bars_top + Dots300(3)), 0x000000u);
    EXPECT_TRUE(page.White(bars_left - Dots300(1), bars_top + Dots300(3)));

    // Heights equal but for float noise (276.3 − 158.3 is a little under
    // 118 in floats): still the last disc.
    Doc_Dispose();
    Doc_New(*Sheet({Unit(UNIT_CD, 46, 20, 118, 118, 41), Unit(UNIT_CD, 46, 158.3f, 118, 118, 41)}));
    const a_frect& b2 = g_doc.doc_template.units[2].bbox;
    ASSERT_LT(b2.bottom - b2.top, 118.0f);
    EXPECT_EQ(Calc_Color_Bar_Unit(), 2u);
    page = Paint_Page(PURPOSE_TEST_BARS);
    bars_top = Dots300(158.3) + Dots300(118) * 80 / 100;
    EXPECT_EQ(page.At(bars_left + Dots300(3), bars_top + Dots300(3)), 0xFF0000u);
    EXPECT_TRUE(page.White(bars_left + Dots300(3), Dots300(20) + Dots300(118) * 80 / 100 + Dots300(3)));
}

// A layout being designed prints its own sheet (outlines, no colour bars),
// with or without a document open, and the document keeps its own.
TEST_F(Print, TemplateTestPageIsTheOtherSheetAndLeavesTheDocument) {
    auto layout = Sheet({Unit(UNIT_RECT, 20, 30, 50, 40), Unit(UNIT_RECT, 80, 30, 50, 40)}, 0, {148, 210});
    for (bool open : {true, false}) {
        if (open) Doc_New(*Two_Discs());
        g_print_target = a_print_target{};
        g_print_target.target = VP_IMAGE;
        ASSERT_TRUE(Print_Template(*layout));
        a_page page;
        ASSERT_TRUE(VP_Page_Image(page.px, page.w, page.h));
        EXPECT_EQ(page.w, Dots300(148));
        EXPECT_EQ(page.h, Dots300(210));
        // The outline of each rectangle, on its left edge, and nothing inside.
        EXPECT_FALSE(page.White(Dots300(20), Dots300(50)));
        EXPECT_FALSE(page.White(Dots300(80), Dots300(50)));
        EXPECT_TRUE(page.White(Dots300(25), Dots300(50)));
        // No colour bars on the colour-bar unit (the last one), 70 % down.
        int bars_left = Dots300(105) - Dots300(54) / 2, bars_top = Dots300(30) + Dots300(40) * 70 / 100;
        EXPECT_TRUE(page.White(bars_left + Dots300(3), bars_top + Dots300(3)));
        // No disc of the document's own sheet.
        EXPECT_TRUE(page.White(Dots300(47), Dots300(79)));
        EXPECT_EQ(g_doc.doc_open, open);
        if (open) {
            EXPECT_EQ(g_doc.doc_template.nunits, 2u);
            EXPECT_EQ(g_doc.doc_template.units[1].kind, UNIT_CD);
            EXPECT_EQ(g_doc.doc_template.papersize.x, 210.0f);
            Doc_Dispose();
        }
    }
}

namespace {

// The page written as a PDF by the printer layer, rendered by pdftoppm at
// 50 dpi and compared with tests/golden/NAME.png.
void Expect_Pdf_Golden(const std::string& name, int purpose) {
    std::string pdf = Temp_Folder() + "/" + name + ".pdf", png = Temp_Folder() + "/" + name;
    g_print_target = a_print_target{};
    g_print_target.target = VP_PDF;
    g_print_target.pdf_path = pdf;
    ASSERT_TRUE(Print_Doc2(false, purpose));
    std::string cmd = "pdftoppm -r 50 -png -singlefile '" + pdf + "' '" + png + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    a_png_image img;
    std::string error;
    ASSERT_TRUE(Png_Read(png + ".png", img, &error)) << error;
    a_port_bits bits;
    bits.base = reinterpret_cast<uint8_t*>(img.pixels.data());
    bits.rowbytes = img.width * 4;
    bits.bounds = Rect{0, 0, int16_t(img.height), int16_t(img.width)};
    EXPECT_TRUE(Matches_Golden(name, bits));
}

}  // namespace

TEST_F(Print, GoldenTwoDiscSheetFromPdf) {
    Doc_New(*Two_Discs());
    Colour_Canvas(1, 200);
    Expect_Pdf_Golden("print_two_discs", PURPOSE_PRINT);
    // Each disc is a picture of at least the page's 300 dots per inch, and
    // the clone's picture is its master's, held once.
    const std::string list = Temp_Folder() + "/print_two_discs.txt";
    std::string cmd = "pdfimages -list '" + Temp_Folder() + "/print_two_discs.pdf' > '" + list + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(File_ReadAll(list, bytes));
    std::istringstream rows(std::string(bytes.begin(), bytes.end()));
    std::string row;
    int pictures = 0;
    std::set<std::string> objects;
    while (std::getline(rows, row)) {
        std::istringstream f(row);
        std::string page, num, type, w, h, color, comp, bpc, enc, interp, object, id, xppi, yppi;
        if (!(f >> page >> num >> type >> w >> h >> color >> comp >> bpc >> enc >> interp >> object >> id >>
              xppi >> yppi) || type != "image")
            continue;
        ++pictures;
        objects.insert(object);
        EXPECT_GE(std::stoi(w), 1394) << row;
        EXPECT_GE(std::stoi(xppi), 300) << row;
        EXPECT_GE(std::stoi(yppi), 300) << row;
    }
    EXPECT_EQ(pictures, 2);
    EXPECT_EQ(objects.size(), 1u);
    (void)File_Remove(list);
}

TEST_F(Print, GoldenTestPageFromPdf) {
    a_unit disc = Unit(UNIT_CD, 46, 20, 118, 118, 41);
    disc.bleed = {2, 2, 2, 2};
    Doc_New(*Sheet({disc, Unit(UNIT_CD, 46, 158, 118, 118, 41)}));
    Expect_Pdf_Golden("print_test_page", PURPOSE_TEST_BARS);
}

TEST_F(Print, GoldenBookletWithCropMarksFromPdf) {
    a_unit lid = Unit(UNIT_JEWEL_LID1, 45, 20, 120, 120), base = Unit(UNIT_JEWEL_BASE, 30, 160, 151, 118);
    lid.uflags = base.uflags = Flag_Bit(UNIT_CROPMARKS);
    base.meas[0] = 6.5f;
    Doc_New(*Sheet({lid, base}));
    Colour_Canvas(1, 30);
    Colour_Canvas(2, 180);
    Expect_Pdf_Golden("print_booklet_cropmarks", PURPOSE_PRINT);
}

// A direct printer prints onto the medium in its tray: its 45 mm hub takes
// the place of the layout's 18 mm hole and gets no ink, on the page and in
// the picture a person looks at.
TEST_F(Print, DirectDiscPrintsTheMediumsHole) {
    Doc_New(*Sheet({Unit(UNIT_CD, 1, 1, 118, 118, 18)}, Flag_Bit(IS_CDPRINTER) | Flag_Bit(IS_SHOWNOPAPER),
                   {120, 120}));
    a_print_media_spec media;
    Get_Media_Specs(media);
    media.adj[MEDIA_INNERD] = 450;
    media.adj[MEDIA_OUTERD] = 1160;
    Set_Media_Specs(media);
    Colour_Canvas(1, 0);
    const a_page page = Paint_Page(PURPOSE_PRINT);
    // Along a radius from the centre (60, 60) mm, across and down.
    for (double r : {8.0, 21.5, 23.5, 40.0, 57.0, 59.0}) {
        const bool inked = r > 22.5 && r < 58;
        EXPECT_EQ(!page.White(Dots300(60 + r), Dots300(60)), inked) << r << " mm across";
        EXPECT_EQ(!page.White(Dots300(60), Dots300(60 - r)), inked) << r << " mm up";
    }
    Expect_Pdf_Golden("print_direct_disc_hub", PURPOSE_PRINT);
}
