#include "model/undo_text.h"

namespace {

// The style members in one list, so writing and reading cannot drift apart.
template <typename F>
void Style_Fields(a_om_rec& om, F&& f) {
    f(om.fontx), f(om.size), f(om.lineangle), f(om.polarangle), f(om.radius);
    f(om.hspacing), f(om.vspacing), f(om.stretch_h), f(om.stretch_v), f(om.skew_h), f(om.skew_v);
    f(om.glow_radius), f(om.glow_opacity), f(om.glow_style);
    f(om.shad_dx), f(om.shad_dy), f(om.shad_opacity), f(om.shad_radius), f(om.outl_radius);
    f(om.spoke_outerd), f(om.spoke_thickness), f(om.spoke_totangle), f(om.spoke_twist);
    f(om.contour_margin), f(om.targwidth), f(om.opacity);
}

template <typename F>
void Char_Fields(a_xyl_char& c, F&& f) {
    f(c.cc_fontx), f(c.cc_nudgex), f(c.cc_nudgey), f(c.cc_nudget), f(c.cc_size);
    f(c.mm_x), f(c.mm_y), f(c.mm_t), f(c.mm_width), f(c.mm_ud);
}

void Save_Color(a_undo_writer& w, a_win_pixel32 p) { w.Bytes(&p, sizeof p); }
a_win_pixel32 Read_Color(a_undo_reader& r) {
    a_win_pixel32 p{};
    r.Take(&p, sizeof p);
    return p;
}

}  // namespace

void Save_OM(a_undo_writer& w, const a_om_rec& rec) {
    a_om_rec& om = const_cast<a_om_rec&>(rec);  // the field lists only read here
    w.Box(om.bbox), w.Pt(om.anchor), w.Pt(om.rotcenter);
    for (bool b : {om.boldf, om.italf, om.outlf, om.glowf, om.shadf, om.undf}) w.Bool(b);
    w.Num(om.layout), w.Num(om.justify);
    Style_Fields(om, [&w](auto& v) { w.Num(v); });
    for (auto c : {om.base_color, om.glow_color, om.shad_color, om.outl_color}) Save_Color(w, c);
    w.Num(om.nxyl);
    for (int32_t i = 1; i <= om.nxyl; ++i) {
        a_xyl_char& c = om.xyl[i];
        w.Num(static_cast<uint16_t>(c.cc_char));
        Save_Color(w, c.cc_color);
        Char_Fields(c, [&w](auto& v) { w.Num(v); });
        for (bool b : {c.cc_boldf, c.cc_italf, c.cc_undf, c.cc_pad}) w.Bool(b);
        w.Num(c.mm_cat);
    }
    w.Num(om.noverflows);
    for (uint32_t i = 1; i <= om.noverflows; ++i) w.Num(om.overflows[i].id), w.Pt(om.overflows[i].pos);
}

bool Read_OM(a_undo_reader& r, a_om_rec& om) {
    OM_Clear_Caches(om);
    om.bbox = r.Box(), om.anchor = r.Pt(), om.rotcenter = r.Pt();
    for (bool* b : {&om.boldf, &om.italf, &om.outlf, &om.glowf, &om.shadf, &om.undf}) *b = r.Bool();
    om.layout = r.Num<uint8_t>(), om.justify = r.Num<uint8_t>();
    if (om.layout >= NLAYOUTS || om.justify > JUST_RIGHT) r.Fail();
    Style_Fields(om, [&r](auto& v) { v = r.Num<std::remove_reference_t<decltype(v)>>(); });
    for (a_win_pixel32* c : {&om.base_color, &om.glow_color, &om.shad_color, &om.outl_color}) *c = Read_Color(r);
    int32_t n = r.Num<int32_t>();
    if (!r.Ok() || n < 1 || n > MAX_NXYL) return r.Fail(), false;
    om.nxyl = n;
    for (int32_t i = 1; i <= n && r.Ok(); ++i) {
        a_xyl_char& c = om.xyl[i];
        c.cc_char = static_cast<char16_t>(r.Num<uint16_t>());
        c.cc_color = Read_Color(r);
        Char_Fields(c, [&r](auto& v) { v = r.Num<std::remove_reference_t<decltype(v)>>(); });
        for (bool* b : {&c.cc_boldf, &c.cc_italf, &c.cc_undf, &c.cc_pad}) *b = r.Bool();
        c.mm_cat = r.Num<uint8_t>();
        if (c.mm_cat > CC_IGNORE) r.Fail();
    }
    uint32_t nov = r.Num<uint32_t>();
    if (!r.Ok() || nov > MAX_OVERFLOWS) return r.Fail(), false;
    om.noverflows = nov;
    for (uint32_t i = 1; i <= nov; ++i) om.overflows[i].id = r.Num<int32_t>(), om.overflows[i].pos = r.Pt();
    om.cache.progress = 0;
    return r.Ok();
}
