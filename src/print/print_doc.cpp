#include "print/print_doc.h"

#include <algorithm>
#include <cstdlib>
#include <cmath>
#include <memory>

#include "base/messages.h"
#include "base/string_ids.h"
#include "images/image_files.h"
#include "model/doc_media.h"
#include "model/document.h"
#include "model/photo_rec.h"
#include "persist/file_cmds.h"
#include "platform/region.h"
#include "print/flex_jobs.h"
#include "print/print_adjust.h"
#include "print/print_render.h"
#include "templates/catalogue.h"
#include "templates/mapping.h"
#include "templates/outline.h"
#include "templates/shapes.h"

a_print_target g_print_target;
a_service<void(int page, int pages)> g_printing_dialog;

namespace {

// The page being printed, for the printing dialog; pages 0 between jobs.
struct a_print_progress {
    int page = 0, pages = 0;
};
a_print_progress g_progress;

// The printing dialog shows where the job is and takes the stop button.
void Printing_Step() {
    if (g_progress.pages > 0) g_printing_dialog.Call_Or([] {}, g_progress.page, g_progress.pages);
}


// Lines and marks of the page, drawn in dots on a world over the sheet and
// laid over the page at its end (white stays transparent).
a_gworld_ptr g_overlay;
bool g_overlay_failed = false;

GWorld* Page_Overlay() {
    if (!g_overlay && !g_overlay_failed) {
        g_overlay = Make_GWorld(32, VP_PaperBox());
        g_overlay_failed = !g_overlay;
        if (g_overlay) {
            a_port_scope scope(g_overlay.get());
            RGBBackColor(kWhiteColor);
            EraseRect(VP_PaperBox());
        }
    }
    return g_overlay.get();
}

void Flush_Overlay() {
    if (g_overlay) VP_Blt_Overlay(VP_PaperBox(), World_Bits(g_overlay.get()));
    g_overlay.reset();
    g_overlay_failed = false;
}

int Dots(int mmt) { return MMT_To_Dots(mmt, VP_Resolution()); }

const a_unit& Spec(uint32_t ux) { return g_doc.doc_template.Unit(ux); }

bool Has_Photo(uint32_t ux) {
    const a_doc_unit* u = g_doc.doc_units[ux];
    if (!u) return false;
    for (int i = 1; i <= u->oj.nlist; ++i)
        if (u->oj.list[i].ph) return true;
    return false;
}

Rect Adjusted_Rect(uint32_t ux, bool nudgef, bool bleedf) {
    a_unit u;
    Calc_Adjusted_Unit(u, Spec(ux), Calc_Direct_Print_Kind(), 1, nudgef, bleedf);
    a_iunit iu;
    Map_Unit(iu, u);
    return iu.bbox;
}

// A filled bar of `t` dots centred on the line from (h0, v0) to (h1, v1),
// which runs straight across or down.
void Bar(int h0, int v0, int h1, int v1, int t) {
    int lo = t / 2;
    if (h0 == h1) PaintRect(Rect{int16_t(std::min(v0, v1)), int16_t(h0 - lo), int16_t(std::max(v0, v1)), int16_t(h0 - lo + t)});
    else PaintRect(Rect{int16_t(v0 - lo), int16_t(std::min(h0, h1)), int16_t(v0 - lo + t), int16_t(std::max(h0, h1))});
}

bool Has_Crop_Shape(int kind) {
    switch (Unit_Shape(kind)) {
        case SHAPE_RECT: case SHAPE_ROUNDRECT: case SHAPE_BOOKLET: case SHAPE_MULTIPART:
        case SHAPE_SLIMLINE: case SHAPE_JEWELBASE: return true;
        default: return false;
    }
}

// The unit moved by the nudge, its bleeds kept for the dashed outline.
a_unit Nudged_Unit(uint32_t ux) {
    a_unit u = Spec(ux), moved;
    Calc_Adjusted_Unit(moved, u, Calc_Direct_Print_Kind(), 0, true, false);
    u.bbox = moved.bbox;
    return u;
}

// A layout's test pattern also numbers its labels and rules the sheet, so
// that the user can measure the print against the real sheet.
bool g_pattern = false;

// Millimetre rulers along the top and left of the sheet, 5 mm in from the
// edges (where any printer reaches), reading the sheet's own places: a long
// tick and a number every 10 mm. Not nudged: they measure the printer's
// scale and placement, not the labels'.
void Draw_Pattern_Rulers() {
    a_fpoint frame = g_doc.doc_template.papersize;
    if (Has_Flag(g_doc.doc_template.tflags, IS_LANDSCAPE)) frame = a_fpoint{frame.y, frame.x};
    constexpr int kIn = 5;
    auto tick = [](int mm) { return mm % 10 == 0 ? 3.0f : mm % 5 == 0 ? 2.0f : 1.0f; };
    {
        a_port_scope scope(g_overlay.get());
        RGBForeColor(kBlackColor);
        PenSize(std::max(Dots(1), 1), std::max(Dots(1), 1));
        for (int mm = kIn; mm <= frame.x - kIn; ++mm) {
            Point a = Map_FPoint({float(mm), kIn}), b = Map_FPoint({float(mm), kIn + tick(mm)});
            MoveTo(a.h, a.v);
            LineTo(b.h, b.v);
        }
        for (int mm = kIn; mm <= frame.y - kIn; ++mm) {
            Point a = Map_FPoint({kIn, float(mm)}), b = Map_FPoint({kIn + tick(mm), float(mm)});
            MoveTo(a.h, a.v);
            LineTo(b.h, b.v);
        }
        PenNormal();
    }
    for (int mm = 10; mm <= frame.x - kIn; mm += 10) {
        Point p = Map_FPoint({float(mm), kIn + 6.0f});
        VP_Text(p.h, p.v, std::to_string(mm), 6, kBlackColor, true);
    }
    for (int mm = 20; mm <= frame.y - kIn; mm += 10) {  // 10 is the top ruler's
        Point p = Map_FPoint({kIn + 4.0f, float(mm) + 1});
        VP_Text(p.h, p.v, std::to_string(mm), 6, kBlackColor, false);
    }
}

void Draw_Pattern_Numbers() {
    for (uint32_t ux = 1; ux <= g_doc.doc_template.nunits; ++ux) {
        const a_frect& b = Nudged_Unit(ux).bbox;
        Point p = Map_FPoint({(b.left + b.right) / 2, b.top + (b.bottom - b.top) * 0.35f});
        VP_Text(p.h, p.v, std::to_string(ux), 14, kBlackColor, true);
    }
}

}  // namespace

bool Is_Null_Print() {
    for (uint32_t ux = 1; ux <= g_doc.doc_template.nunits; ++ux)
        if (g_doc.doc_units[ux] && g_doc.doc_units[ux]->printf) return false;
    return true;
}

bool Print_Doc() { return Print_Doc1(true); }
bool Print1_Doc() { return Print_Doc1(false); }
bool Print_Test() { return Print_Doc2(true, PURPOSE_TEST_BARS); }

bool Print_Template(const a_template& targ_template) {
    // The page reads the sheet from the document; lend it the other one.
    struct a_lent_template {
        a_template saved;
        explicit a_lent_template(const a_template& t) : saved(g_doc.doc_template) { g_doc.doc_template = t; }
        ~a_lent_template() { g_doc.doc_template = saved; }
    };
    auto lent = std::make_unique<a_lent_template>(targ_template);
    g_pattern = true;
    bool done = Print_Doc2(true, PURPOSE_TEST);
    g_pattern = false;
    return done;
}

bool Print_Doc1(bool askjob) {
    if (Is_Null_Print()) {
        OK_Alert(ALERT_NOTHING_TO_PRINT, false);
        return false;
    }
    const a_template& t = g_doc.doc_template;
    if (t.nunits >= 1 && t.units[1].kind == UNIT_DVDBOX_WRAP &&
        Is_Equal_PaperSize(t.papersize, a_fpoint{215.9f, 279.4f}) &&
        Ask_YesNoCancel(DLOG_TWO_BUTTONS, STR_LETTER_DVD_WRAP, STR_OK, STR_CANCEL) != 0)
        return false;
    return Print_Doc2(askjob, PURPOSE_PRINT);
}

bool Print_Doc2(bool askjob, int purpose) {
    a_fpoint eff, fed;
    bool landscape = false;
    Calc_Paper_Size(eff, fed, landscape);
    a_vp_job job;
    job.name = "Cirquel Job";
    job.title = Doc_Name();
    if (job.title.empty()) GetIndString(job.title, MAIN_STR_ID, STR_UNTITLED);
    job.flags = Has_Flag(g_doc.doc_template.tflags, IS_DYMO_MONET) ? 1 : 0;
    job.paper_fed = fed;
    job.landscape = landscape;
    job.ask = askjob && !g_print_options.from_command_line;
    job.copies = g_print_options.copies;
    job.target = g_print_target.target;
    job.queue = g_print_target.queue;
    job.pdf_path = g_print_target.pdf_path;
    job.dpi = g_print_target.dpi;
    if (job.flags & 1) {
        const a_template& t = g_doc.doc_template;
        a_print_media_spec media;
        Get_Media_Specs(media);
        job.options = Monet_Job_Options(media, t.nunits >= 1 && t.units[1].kind == UNIT_CD);
    }
    // A PDF file has no copy count: each copy is a page of its own.
    const int pages = job.target == VP_PDF ? std::max(1, job.copies) : 1;
    if (job.target == VP_PDF) job.copies = 1;
    a_vp_result r = VP_Init(job);
    if (r == VP_NO_PRINTER) OK_Alert(ALERT_NO_PRINTER, false);
    if (r != VP_OK) return false;  // also a print dialog cancelled: no job
    bool done = false;
    g_progress = {0, pages};
    Printing_Step();
    if (VP_OpenDoc()) {
        for (int page = 1; page <= pages; ++page) {
            g_progress.page = page;
            Printing_Step();
            if (VP_Stopped()) break;
            done = VP_OpenPage();
            if (!done) break;
            Print_Doc3(purpose);
            VP_ClosePage();
        }
        // A stop pressed while the last page was drawn still stops the job.
        Printing_Step();
        VP_CloseDoc();
    }
    g_progress.page = PRINTING_ENDED;
    Printing_Step();
    g_progress = {};
    r = VP_Stop(job.flags);
    if (r == VP_CANCELLED) {
        OK_Alert(ALERT_PRINT_CANCELLED, false);
        return false;
    }
    if (!done || r != VP_OK) {
        OK_Alert(job.target == VP_PDF ? ALERT_CANNOT_SAVE : ALERT_PRINT_FAILED, false);
        return false;
    }
    return true;
}

void Print_Doc3(int purpose) {
    a_coord_mapping m;
    float k = float(VP_Resolution() / 25.4);
    m.multx = m.multy = k;
    m.originx = VP_PaperBox().left;
    m.originy = VP_PaperBox().top;
    Push_Mapping(m);
    for (uint32_t ux = 1; ux <= g_doc.doc_template.nunits && !VP_Stopped(); ++ux) {
        // A test page draws the sheet alone, so it needs no unit records.
        if (purpose == PURPOSE_PRINT && (!g_doc.doc_units[ux] || !g_doc.doc_units[ux]->printf)) continue;
        Print_Unit(ux, purpose);
        Printing_Step();
    }
    if (g_pattern && Page_Overlay() && !VP_Stopped()) {
        Draw_Pattern_Rulers();
        Draw_Pattern_Numbers();
    }
    Flush_Overlay();
    UnitCache_Stop();
    Pop_Mapping();
}

void Print_Unit(uint32_t ux, int purpose) {
    if (purpose == PURPOSE_PRINT) Print_Unit2(ux);
    else if (Is_Direct_Print(g_doc.doc_template)) Print_Direct_Test(ux, purpose == PURPOSE_TEST_BARS);
    else Print_Paper_Test(ux, purpose == PURPOSE_TEST_BARS);
}

Rect Print_Dest_Rect(uint32_t ux, bool bleedf) { return Adjusted_Rect(ux, true, bleedf); }

void Print_Unit2(uint32_t ux) {
    const a_doc_unit* u = g_doc.doc_units[ux];
    uint32_t master = u->clonef ? Find_Clone_Master(ux) : ux;
    if (master < 1 || !g_doc.doc_units[master] || Is_Unit_Empty(*g_doc.doc_units[master])) return;
    if (UnitCache_Unit() != master) UnitCache_Init(master, VP_Resolution());
    GWorld* w = UnitCache_World();
    if (w) {
        Rect dest = Print_Dest_Rect(ux, true);
        a_region_ptr clip = Make_Region();
        Calc_Unit_Clipping(clip.get(), dest, ux);
        VP_Blt(clip.get(), dest, World_Bits(w), Has_Photo(master), UnitCache_Generation());
    }
    if (Has_Flag(Spec(ux).uflags, UNIT_CROPMARKS)) Print_CropMarks(ux);
}

void Print_CropMarks(uint32_t ux) {
    const a_unit& spec = Spec(ux);
    if (!Has_Crop_Shape(spec.kind) || !Page_Overlay()) return;
    Rect r = Adjusted_Rect(ux, true, false);
    int t = std::max(Dots(2), 2), len = Dots(40), gap = Dots(10);
    a_port_scope scope(g_overlay.get());
    RGBForeColor(kBlackColor);
    auto vmarks = [&](int h, int length) {
        Bar(h, r.top - gap - length, h, r.top - gap, t);
        Bar(h, r.bottom + gap, h, r.bottom + gap + length, t);
    };
    for (int h : {int(r.left), int(r.right)}) vmarks(h, len);
    for (int v : {int(r.top), int(r.bottom)}) {
        Bar(r.left - gap - len, v, r.left - gap, v, t);
        Bar(r.right + gap, v, r.right + gap + len, v, t);
    }
    a_shape shape = Unit_Shape(spec.kind);
    if (shape == SHAPE_BOOKLET) vmarks((r.left + r.right) / 2, Dots(30));
    if (shape == SHAPE_JEWELBASE) {
        int spine = int(std::lround(spec.meas[0] * VP_Resolution() / 25.4));
        vmarks(r.left + spine, len);
        vmarks(r.right - spine, len);
    }
    RGBForeColor(Port_RGB(200, 200, 200));
    PenSize(1, 1);
    FrameRect(Rect_Inset(r, -(2 + t)));
}

uint32_t Calc_Color_Bar_Unit() {
    // Sizes that differ by float noise (a height taken as bottom − top at
    // another place on the sheet) count as equal, so that the last wins.
    constexpr double kSameArea = 1e-4;  // relative
    uint32_t best = 0;
    double best_area = -1;
    for (uint32_t ux = 1; ux <= g_doc.doc_template.nunits; ++ux) {
        const a_frect& b = Spec(ux).bbox;
        double area = (double(b.right) - b.left) * (double(b.bottom) - b.top);
        if (area >= best_area - kSameArea * std::max(best_area, 0.0)) {
            best = ux;
            best_area = std::max(area, best_area);
        }
    }
    return best;
}

std::string Get_Template_Name() {
    std::u16string name;
    Filter_Template_Name(name, g_doc.doc_template.label);
    std::string out;
    for (char16_t c : name) out += c < 0x80 ? char(c) : '?';
    return out;
}

void Draw_Color_Bars(const Rect& box, int kind, bool colorbarf) {
    int h = Rect_Height(box);
    if (colorbarf && Page_Overlay()) {
        int pct = kind == UNIT_CD || kind == UNIT_MINICD_HOCKEY || kind == UNIT_MINICD_RECT ? 80
                  : kind == UNIT_AUDIO_FACE ? 85 : 70;
        int side = Dots(60), step = Dots(80), total = Dots(540);
        int left = (box.left + box.right) / 2 - total / 2, top = box.top + h * pct / 100;
        static const uint32_t kColours[7] = {Port_RGB(255, 0, 0), Port_RGB(0, 255, 0), Port_RGB(0, 0, 255),
                                             Port_RGB(0, 255, 255), Port_RGB(255, 0, 255),
                                             Port_RGB(255, 255, 0), Port_RGB(0, 0, 0)};
        static const char* kNames[7] = {"R", "G", "B", "C", "M", "Y", "K"};
        {
            a_port_scope scope(g_overlay.get());
            for (int i = 0; i < 7; ++i) {
                RGBForeColor(kColours[i]);
                int l = left + i * step;
                PaintRect(Rect{int16_t(top), int16_t(l), int16_t(top + side), int16_t(l + side)});
            }
        }
        for (int i = 0; i < 7; ++i)
            VP_Text(left + i * step + side / 2, top + side + Dots(50), kNames[i], 12, kBlackColor, true);
    }
    VP_Text((box.left + box.right) / 2, box.top + h * 22 / 100, Get_Template_Name(), 10, kBlackColor,
            true);
}

void Draw_Corner_Mark(const std::string& msg, int cornerx, int cornery) {
    if (Is_LaserJet_Shifted(g_doc.doc_template, g_print_options.laserjet) || !Page_Overlay()) return;
    int arm = Dots(40);
    {
        a_port_scope scope(g_overlay.get());
        RGBForeColor(kBlackColor);
        PenSize(2, 2);
        MoveTo(cornerx - arm, cornery);
        LineTo(cornerx + arm, cornery);
        MoveTo(cornerx, cornery - arm);
        LineTo(cornerx, cornery + arm);
        PenNormal();
    }
    VP_Text(cornerx + Dots(10), cornery - Dots(10), msg, 10, kBlackColor, false);
}

void Print_Paper_Test(uint32_t ux, bool colorbarf) {
    if (!Page_Overlay()) return;
    a_unit u = Nudged_Unit(ux);
    Rect used;
    {
        a_port_scope scope(g_overlay.get());
        RGBForeColor(kBlackColor);
        RGBBackColor(kWhiteColor);
        int thick = std::max(Dots(1), 1);
        if (Is_Unit_Bled(u)) Outline_Shape(used, 2, false, Dots(13), thick, 0, true, u);
        Outline_Shape(used, 0, true, Dots(13), thick, 1, true, u);
    }
    if (ux != Calc_Color_Bar_Unit()) return;
    Draw_Color_Bars(used, u.kind, colorbarf);
    Point p20 = Map_FPoint(a_fpoint{20, 20}), p1in = Map_FPoint(a_fpoint{25.4f, 25.4f});
    Draw_Corner_Mark("20 mm", p20.h, p20.v);
    Draw_Corner_Mark("1 inch", p1in.h, p1in.v);
}

void Print_Direct_Test(uint32_t ux, bool colorbarf) {
    Rect r = Adjusted_Rect(ux, true, false);
    if (Spec(ux).kind == UNIT_CD && Page_Overlay()) {
        a_port_scope scope(g_overlay.get());
        RGBForeColor(kBlackColor);
        PenNormal();
        FrameOval(Centred_Circle_Box(r, Dots(1100)));
    }
    if (ux == Calc_Color_Bar_Unit()) Draw_Color_Bars(r, Spec(ux).kind, colorbarf);
}

int g_export_dpi = 300;

namespace {

// The design surface itself (0) when it already is the unit at `dpi` to a
// pixel, as a rectangle's is at 300: drawing it again a pixel larger would
// only soften it. Else `dpi`: the unit drawn again at its printed size.
int Export_Cache_Dpi(uint32_t ux, int dpi) {
    const Rect want = Print_Unit_Bounds(ux, dpi), have = g_doc.doc_units[ux]->paintbounds;
    const bool same = std::abs(Rect_Width(want) - Rect_Width(have)) <= 1 &&
                      std::abs(Rect_Height(want) - Rect_Height(have)) <= 1;
    return same ? 0 : dpi;
}

}  // namespace

bool Export_Unit(const std::string& path, int format, uint32_t ux, std::string* error, int dpi) {
    if (ux < 1 || ux > g_doc.doc_template.nunits || !g_doc.doc_units[ux]) return false;
    if (std::find(std::begin(EXPORT_DPIS), std::end(EXPORT_DPIS), dpi) == std::end(EXPORT_DPIS)) dpi = 300;
    uint32_t master = g_doc.doc_units[ux]->clonef ? Find_Clone_Master(ux) : ux;
    UnitCache_Init(master, Export_Cache_Dpi(master, dpi));
    int err = UnitCache_World() ? Export_World(a_file_format(format), dpi, path, UnitCache_World(), error)
                                : -1;
    UnitCache_Stop();
    if (err == 0) return true;
    if (error && error->empty()) *error = path + ": the label could not be rendered";
    Param_Text(std::to_string(err));
    OK_Alert(ALERT_EXPORT_FAILED, false);
    return false;
}

namespace {

// The rendered unit as the one page of a PDF the unit's own size.
bool Write_Unit_Page(const std::string& path, const GWorld* world, int dpi, bool photo) {
    const a_port_bits bits = World_Bits(world);
    const int w = Rect_Width(bits.bounds), h = Rect_Height(bits.bounds);
    if (w <= 0 || h <= 0) return false;
    a_vp_job job;
    job.name = "Cirquel Export";
    job.title = Doc_Name();
    job.target = VP_PDF;
    job.pdf_path = path;
    job.dpi = dpi;
    job.paper_fed = a_fpoint{float(w * 25.4 / dpi), float(h * 25.4 / dpi)};
    if (VP_Init(job) != VP_OK) return false;
    bool done = false;
    if (VP_OpenDoc()) {
        done = VP_OpenPage();
        if (done) {
            const Rect paper = VP_PaperBox();
            VP_Blt(nullptr, Rect{paper.top, paper.left, int16_t(paper.top + h), int16_t(paper.left + w)}, bits,
                   photo);
            VP_ClosePage();
        }
        VP_CloseDoc();
    }
    return VP_Stop(0) == VP_OK && done;
}

}  // namespace

bool Export_Unit_PDF(const std::string& path, uint32_t ux, int dpi, std::string* error) {
    if (ux < 1 || ux > g_doc.doc_template.nunits || !g_doc.doc_units[ux]) return false;
    if (std::find(std::begin(EXPORT_DPIS), std::end(EXPORT_DPIS), dpi) == std::end(EXPORT_DPIS)) dpi = 300;
    uint32_t master = g_doc.doc_units[ux]->clonef ? Find_Clone_Master(ux) : ux;
    UnitCache_Init(master, Export_Cache_Dpi(master, dpi));
    const bool ok = UnitCache_World() && Write_Unit_Page(path, UnitCache_World(), dpi, Has_Photo(master));
    UnitCache_Stop();
    if (ok) return true;
    const std::string why = VP_Error().empty() ? path + ": the label could not be rendered" : VP_Error();
    if (error) *error = why;
    OK_Alert_Detail(ALERT_CANNOT_SAVE, why);
    return false;
}

void Export_Project_PDF() {
    std::string title;
    Get_DLOG_String(STR_SAVE_AS, title);
    std::string name = Doc_Name();
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    std::string path = g_file_services.choose_save.Call_Or([] { return std::string(); }, title, name + ".pdf",
                                                           FMT_PDF_EXPORT);
    if (path.empty() || !g_doc.doc_open) return;
    (void)Export_Unit_PDF(path, g_doc.upx, g_export_dpi, nullptr);
}

void Export_Project(int16_t format) {
    std::string title;
    Get_DLOG_String(STR_SAVE_AS, title);
    std::string path = g_file_services.choose_save.Call_Or([] { return std::string(); }, title,
                                                           Export_Name(format), format);
    if (path.empty() || !g_doc.doc_open) return;
    (void)Export_Unit(path, format, g_doc.upx, nullptr, g_export_dpi);
}
