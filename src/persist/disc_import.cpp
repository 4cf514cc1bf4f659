#include "persist/disc_import.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "model/document.h"
#include "model/notices.h"
#include "model/photo_rec.h"
#include "model/text_rec.h"
#include "model/unit_scale.h"
#include "persist/disc_read.h"
#include "pixels/pixmap.h"
#include "render/compositor.h"

namespace {

// The imported unit and the open document's record its design goes onto,
// with the scaling between the two units' sizes.
struct a_pairing {
    a_doc_unit* from = nullptr;
    a_doc_unit* onto = nullptr;
    a_unit_scaling scaling;
};

// Frees the units of a document read apart, without the notices and the
// history flush that closing the open document sends.
void Free_Units(a_doc_rec& doc) {
    for (a_doc_unit*& u : doc.doc_units) {
        if (!u) continue;
        Dispose_Unit_Content(*u);
        delete u;
        u = nullptr;
    }
}

int Blocks_Added(const a_doc_unit& from) {
    int n = 0;
    for (int i = 1; i <= from.oj.nlist; ++i) n += from.oj.list[i].kind != PAINT_BLOCK;
    return n;
}

// Every imported design that has a place, each destination record once.
std::vector<a_pairing> Pair_Units(a_doc_rec& imported, int& left_out) {
    std::vector<a_pairing> out;
    left_out = 0;
    for (uint32_t ux = 1; ux <= imported.doc_template.nunits; ++ux) {
        a_doc_unit* from = imported.doc_units[ux];
        if (!from || from->clonef) continue;
        a_doc_unit* onto = ux <= g_doc.doc_template.nunits ? Design_Unit(ux) : nullptr;
        const bool taken = std::any_of(out.begin(), out.end(), [&](const a_pairing& p) { return p.onto == onto; });
        if (!onto || taken) {
            left_out += Blocks_Added(*from) > 0 || from->paintinuse;
            continue;
        }
        const uint32_t onto_x = Find_Clone_Master(ux);
        out.push_back({from, onto,
                       Unit_Scaling(imported.doc_template.Unit(ux), from->paintbounds,
                                    g_doc.doc_template.Unit(onto_x), onto->paintbounds)});
    }
    return out;
}

// The imported unit of the same number as `into` (its first when it has
// fewer), or the master it shows, onto the design of unit `into`.
std::vector<a_pairing> Pair_One(a_doc_rec& imported, uint32_t into) {
    uint32_t ux = into <= imported.doc_template.nunits ? into : 1;
    while (ux > 1 && imported.doc_units[ux] && imported.doc_units[ux]->clonef) --ux;
    a_doc_unit* from = ux <= imported.doc_template.nunits ? imported.doc_units[ux] : nullptr;
    a_doc_unit* onto = Design_Unit(into);
    if (!from || !onto) return {};
    return {{from, onto,
             Unit_Scaling(imported.doc_template.Unit(ux), from->paintbounds,
                          g_doc.doc_template.Unit(Find_Clone_Master(into)), onto->paintbounds)}};
}

// One paint pixel of `from` over one of `onto`: colour and coverage
// composited, so paint already there shows through thin new paint.
void Paint_Over(uint32_t& onto_px, uint8_t& onto_m, uint32_t from_px, uint8_t from_m) {
    if (from_m == 0) return;
    const int a = from_m, b = onto_m * (255 - a) / 255, sum = a + b;
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int c = (int((from_px >> shift) & 0xFF) * a + int((onto_px >> shift) & 0xFF) * b) / sum;
        out |= uint32_t(c) << shift;
    }
    onto_px = out;
    onto_m = uint8_t(sum);
}

// The imported paint layer, already on the destination's scale, over the
// destination's.
void Merge_Paint(const a_doc_unit& from, a_doc_unit& onto) {
    const a_cached_gworld& src = from.static_[PAINT1_LAYER];
    if (!from.paintinuse || !src.world || !src.mask) return;
    Merge_Paint_Layer(src.world->pix, src.mask->pix, onto);
}

bool Has_Canvas(const a_doc_unit& u) {
    return !g_doc_services.is_no_canvas.Call_Or([&] { return u.canv.cv == a_canvas_spec{}; }, u.canv.cv);
}

// Moves the imported blocks (all but the paint block) onto the destination,
// scaled from their own unit's size to the destination's; an imported
// canvas replaces the destination's. The imported unit keeps the rest.
void Merge_Unit(const a_pairing& p) {
    a_doc_unit &from = *p.from, &onto = *p.onto;
    Scale_Unit_Design(from, p.scaling);
    if (Has_Canvas(from)) onto.canv.cv = from.canv.cv;
    for (int i = 1; i <= from.oj.nlist; ++i) {
        a_oj_item& it = from.oj.list[i];
        if (it.kind == PAINT_BLOCK) continue;
        it.flags &= uint8_t(~(1u << SELECTED_FLAG));
        (void)OMast_Append(onto.oj, it);  // room was checked
        it.ph = nullptr;  // owned by the destination now
        it.om = nullptr;
    }
    Merge_Paint(from, onto);
    Unit_PostRender(onto);
}

}  // namespace

void Merge_Paint_Layer(const PixMap& sp, const PixMap& sm, a_doc_unit& onto) {
    if (sp.pixelSize != 32 || sm.pixelSize != 8) return;
    if (Rect_IsEmpty(Rect_Sect(sp.bounds, onto.paintbounds))) return;
    onto.paintinuse = true;
    Sync_Existence(PAINT1_LAYER, onto, true);
    a_cached_gworld& dst = onto.static_[PAINT1_LAYER];
    if (!dst.world || !dst.mask) return;
    const PixMap &dp = dst.world->pix, &dm = dst.mask->pix;
    // Only where all four maps have pixels.
    const Rect area = Rect_Sect(Rect_Sect(sp.bounds, sm.bounds), Rect_Sect(dp.bounds, dm.bounds));
    for (int y = area.top; y < area.bottom; ++y) {
        const auto* s = reinterpret_cast<const uint32_t*>(PixMap_Row(sp, y)) - sp.bounds.left;
        const uint8_t* s_m = PixMap_Row(sm, y) - sm.bounds.left;
        auto* d = reinterpret_cast<uint32_t*>(PixMap_Row(dp, y)) - dp.bounds.left;
        uint8_t* d_m = PixMap_Row(dm, y) - dm.bounds.left;
        for (int x = area.left; x < area.right; ++x) Paint_Over(d[x], d_m[x], s[x], s_m[x]);
    }
}

bool Import_DISC_Bytes(std::vector<uint8_t>& bytes, const std::string& path, uint32_t into) {
    if (!g_doc.doc_open) {
        Disc_Report_Clear();
        Disc_Report_Note("no project is open to import into");
        return false;
    }
    auto imported = std::make_unique<a_doc_rec>();
    std::swap(*imported, g_doc);
    bool replaced = false;
    bool ok = Read_Project(bytes, path, replaced);
    std::swap(*imported, g_doc);
    int left_out = 0;
    std::vector<a_pairing> pairs;
    if (ok && into >= 1 && into <= g_doc.doc_template.nunits) pairs = Pair_One(*imported, into);
    else if (ok) pairs = Pair_Units(*imported, left_out);
    for (const a_pairing& p : pairs)
        if (p.onto->oj.nlist + Blocks_Added(*p.from) > MAXNOBJECTS) ok = false;
    if (ok) {
        for (const a_pairing& p : pairs) Merge_Unit(p);
        if (left_out > 0)
            Disc_Report_Note(std::to_string(left_out) + " unit(s) of the project have no place in this document: left out");
    } else if (!pairs.empty()) {
        Disc_Report_Note("a unit would hold more than " + std::to_string(MAXNOBJECTS) + " blocks: nothing imported");
    }
    Free_Units(*imported);
    return ok;
}
