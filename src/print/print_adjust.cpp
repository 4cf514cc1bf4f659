#include "print/print_adjust.h"

#include <cmath>
#include <cstdlib>

#include "model/doc_media.h"
#include "model/document.h"
#include "model/notices.h"
#include "platform/sound.h"
#include "templates/mapping.h"
#include "templates/shapes.h"

a_print_options g_print_options;
a_notice<> g_print_nudged;

namespace {

constexpr float kLetterWidth = 215.9f;
constexpr float kA4Width = 210.0f;


a_print_media_spec Selected_Medium() {
    a_print_media_spec spec;
    Get_Media_Specs(spec);
    return spec;
}

bool Nudge_By(int dh, int dv) {
    a_print_media_spec spec = Selected_Medium();
    return Set_Nudge(spec.nudge.h + dh, spec.nudge.v + dv);
}

}  // namespace

int MMT_To_Dots(int mmt, int dpi) { return int(int64_t(mmt) * dpi / 254); }

bool Is_Direct_Print(const a_template& t) { return Has_Flag(t.tflags, IS_CDPRINTER); }
bool Is_Landscape(const a_template& t) { return Has_Flag(t.tflags, IS_LANDSCAPE); }
bool Is_Small_Paper(const a_template& t) { return t.papersize.x < kA4Width; }

bool Is_Unit_Bled(const a_unit& spec) {
    return spec.bleed.left != 0 || spec.bleed.top != 0 || spec.bleed.right != 0 ||
           spec.bleed.bottom != 0;
}

bool Is_LaserJet_Shifted(const a_template& t, bool laserjet) {
    return laserjet && Is_Small_Paper(t) && !Is_Direct_Print(t);
}

a_unit Calc_Adjusted_UnitT(const a_unit& in, a_direct_print_kind dkind, int adjustf, bool nudgef,
                           bool bleedf, const a_template& t, const a_print_media_spec& media,
                           bool laserjet) {
    a_unit out = Calc_Print_Unit(in, bleedf);
    if (nudgef) {
        float dx = media.nudge.h / 10.0f, dy = media.nudge.v / 10.0f;
        if (Is_LaserJet_Shifted(t, laserjet)) {
            float shift = (kLetterWidth - t.papersize.x) / 2;
            (Is_Landscape(t) ? dy : dx) += shift;
        }
        out.bbox = a_frect{out.bbox.left + dx, out.bbox.top + dy, out.bbox.right + dx,
                           out.bbox.bottom + dy};
    }
    if (adjustf && dkind != NOT_DIRECT) Adjust_To_Medium(out, dkind, adjustf, media);
    return out;
}

void Calc_Adjusted_Unit(a_unit& out, const a_unit& in, a_direct_print_kind dkind, int adjustf,
                        bool nudgef, bool bleedf) {
    out = Calc_Adjusted_UnitT(in, dkind, adjustf, nudgef, bleedf, g_doc.doc_template,
                              Selected_Medium(), g_print_options.laserjet);
}

void Calc_Paper_SizeT(const a_template& t, a_fpoint& paper_eff, a_fpoint& paper_fed,
                      bool& landscapef) {
    landscapef = Is_Landscape(t);
    paper_fed = a_fpoint{t.papersize.x, t.papersize.y};
    paper_eff = landscapef ? a_fpoint{paper_fed.y, paper_fed.x} : paper_fed;
}

void Calc_Paper_Size(a_fpoint& paper_eff, a_fpoint& paper_fed, bool& landscapef) {
    Calc_Paper_SizeT(g_doc.doc_template, paper_eff, paper_fed, landscapef);
}

// The sum is taken in full width before the check, so a nudge at the limit
// never wraps round to the other side.
bool Set_Nudge(int x, int y) {
    if (std::abs(x) > NUDGE_LIMIT || std::abs(y) > NUDGE_LIMIT) {
        Sound_Play(SND_LIMIT);
        return false;
    }
    a_print_media_spec spec = Selected_Medium();
    spec.nudge.h = int16_t(x);
    spec.nudge.v = int16_t(y);
    Set_Media_Specs(spec);
    g_print_nudged.Emit();
    return true;
}

int Nudge(bool shift) {
    if (Is_Direct_Print(g_doc.doc_template)) return shift ? 10 : 1;
    return shift ? 25 : 5;
}

bool Print_Nudge_U(bool shift) { return Nudge_By(0, -Nudge(shift)); }
bool Print_Nudge_D(bool shift) { return Nudge_By(0, Nudge(shift)); }
bool Print_Nudge_L(bool shift) { return Nudge_By(-Nudge(shift), 0); }
bool Print_Nudge_R(bool shift) { return Nudge_By(Nudge(shift), 0); }
bool Print_Nudge_0() { return Set_Nudge(0, 0); }

a_slider_range Print_OuterD_Range(a_direct_print_kind dkind) {
    if (dkind == CD_DIRECT) return {1000, 1200, 1180};
    if (dkind == NOT_DIRECT) return {};
    return {740, 800, 780};
}

a_slider_range Print_Adjust_Range(int adj_index, a_direct_print_kind dkind) {
    bool rect = dkind == RECT_DIRECT;
    switch (adj_index) {
        case MEDIA_INNERD: return {150, 550, 410};
        case MEDIA_OUTERD: return rect ? a_slider_range{800, 900, 850} : Print_OuterD_Range(dkind);
        case MEDIA_SIDE: return rect ? a_slider_range{400, 750, 590} : a_slider_range{520, 660, 590};
        case MEDIA_DENSITY: return {1, 9, 5};
        case MEDIA_QUALITY: return {2, 4, 3};
        default: return {};
    }
}

a_print_adjust Load_Print_Adjust(const a_print_media_spec& spec, a_direct_print_kind dkind) {
    a_print_adjust v;
    v.outerd_range = Print_OuterD_Range(dkind);
    // Every kind has a hole, and Delta_Print_Adjust writes it back.
    v.innerd = spec.adj[MEDIA_INNERD];
    if (dkind == RECT_DIRECT) {
        v.width = spec.adj[MEDIA_OUTERD];
        v.height = spec.adj[MEDIA_SIDE];
        return v;
    }
    v.outerd = spec.adj[MEDIA_OUTERD];
    v.side = spec.adj[MEDIA_SIDE];
    v.density = spec.adj[MEDIA_DENSITY];
    v.quality = spec.adj[MEDIA_QUALITY];
    return v;
}

void Delta_Print_Adjust(const a_print_adjust& v, a_direct_print_kind dkind,
                        a_print_media_spec& spec) {
    spec.adj[MEDIA_INNERD] = v.innerd;
    bool rect = dkind == RECT_DIRECT;
    spec.adj[MEDIA_OUTERD] = rect ? v.width : v.outerd;
    spec.adj[MEDIA_SIDE] = rect ? v.height : v.side;
}

void Final_Print_Adjust(const a_print_adjust& values) {
    a_print_media_spec spec = Selected_Medium();
    Delta_Print_Adjust(values, Calc_Direct_Print_Kind(), spec);
    Set_Media_Specs(spec);
    a_doc_unit* up = g_doc.up;
    if (!up) return;
    up->static_[OUTERMASK_LAYER].targ_seq = up->static_[OUTERMASK_LAYER].curr_seq + 1;
    Notice_Unit_Dirty(g_doc.upx);
}

void To_MM_Str(std::string& ss, int v, char decimal_mark) {
    std::string sign = v < 0 ? "-" : "";
    int a = std::abs(v);
    ss = sign + std::to_string(a / 10);
    if (a % 10) ss += std::string(1, decimal_mark) + std::to_string(a % 10);
    ss += " mm";
}

void To_IN_Str(std::string& ss, int v, char decimal_mark) {
    std::string sign = v < 0 ? "-" : "";
    int t = std::abs(v) * 1000 / 254 + 5;
    ss = sign + std::to_string(t / 1000);
    int frac = t % 1000;
    if (frac >= 10) {
        ss += decimal_mark;
        ss += char('0' + frac / 100);
        ss += char('0' + frac / 10 % 10);
    }
    ss += " in";
}

void PrintPreview_Calc_Mapping(a_frect& fused, a_coord_mapping& mapping, bool is_thumb,
                               const Rect& avail, const a_template& t,
                               const a_print_media_spec& media, bool laserjet) {
    a_direct_print_kind dkind = Calc_Direct_Print_KindT(t);
    bool skip = Has_Flag(t.tflags, IS_SHOWNOPAPER) ||
                (is_thumb && Is_Direct_Print(t) && t.nunits == 1);
    if (!skip || t.nunits == 0) {
        Calc_Paper_Rect(fused, t);
        Calc_Fit_Mapping(fused, avail, mapping);
        return;
    }
    a_unit u = Calc_Adjusted_UnitT(t.units[1], dkind, is_thumb ? 2 : 1, !is_thumb, !is_thumb, t,
                                   media, laserjet);
    fused = u.bbox;
    Calc_Fit_Mapping(fused, Rect_Inset(avail, 2), mapping);
}

void PaperEcho_Calc_Mapping(a_frect& fused, a_coord_mapping& mapping, const Rect& avail,
                            const a_template& t) {
    bool skip = Has_Flag(t.tflags, IS_SHOWNOPAPER) || (Is_Direct_Print(t) && t.nunits == 1);
    if (!skip || t.nunits == 0) {
        Calc_Paper_Rect(fused, t);
        Calc_Fit_Mapping(fused, avail, mapping);
        return;
    }
    fused = t.units[1].bbox;
    Calc_Fit_Mapping(fused, Rect_Inset(avail, 2), mapping);
}
