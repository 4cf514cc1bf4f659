#include "model/snapshot.h"

#include <cstring>

#include "base/messages.h"
#include "model/document.h"
#include "model/text_rec.h"
#include "model/undo_records.h"
#include "pixels/gworld.h"
#include "pixels/pixmap.h"

a_ram_rec ram;

namespace {

a_cached_gworld& Paint(a_doc_unit& u) { return u.static_[PAINT1_LAYER]; }

bool Has_Paint(const a_doc_unit& u) {
    const a_cached_gworld& p = u.static_[PAINT1_LAYER];
    return u.paintinuse && p.world && p.mask;
}

uint32_t Count_Items() {
    uint32_t n = 0;
    for (uint32_t ux = 1; ux <= g_doc.doc_template.nunits; ++ux) {
        const a_doc_unit& u = *g_doc.doc_units[ux];
        n += 1;
        if (!u.clonef) n += uint32_t(u.oj.nlist) + 1 + (Has_Paint(u) ? 2 : 0);
    }
    return n;
}

// Appends one data block and its descriptor.
template <typename F>
void Save_Data(a_undo_writer& w, a_ram_field field, uint32_t ux, int subx, F&& save) {
    a_ram_item& d = ram.desc[ram.nlist++];
    d.field = field;
    d.unitx = int32_t(ux);
    d.subx = subx;
    d.offset = int32_t(w.Size());
    save();
    d.len = uint32_t(w.Size() - size_t(d.offset));
    ram.totlen += d.len;
}

// What a freshly made paint world holds in every cell.
uint32_t Blank_World_Pixel() {
    static const uint32_t blank = [] {
        a_gworld_ptr g = Make_GWorldF("Blank world", Rect{0, 0, 1, 1}, 32, nullptr);
        {
            a_port_scope port(g.get());
            EraseRect(g->pix.bounds);
        }
        uint32_t v;
        std::memcpy(&v, g->pix.baseAddr, 4);
        return v;
    }();
    return blank;
}

void Save_Unit(a_undo_writer& w, uint32_t ux) {
    const a_doc_unit& u = *g_doc.doc_units[ux];
    Save_Data(w, RAM_UNITD, ux, 0, [&] { Save_UNITD(w, g_doc.doc_template.units[ux], u); });
    if (u.clonef) return;
    for (int i = 1; i <= u.oj.nlist; ++i)
        Save_Data(w, RAM_OJ, ux, i, [&] { OJ_To_Buf(w, u.oj.list[i]); });
    Save_Data(w, RAM_PAINT1_INUSE, ux, 0, [&] { w.Bool(u.paintinuse); });
    if (!Has_Paint(u)) return;
    const a_cached_gworld& p = u.static_[PAINT1_LAYER];
    Save_Data(w, RAM_PAINT1, ux, 0, [&] { GWorld_To_Buf(w, *p.world, Blank_World_Pixel()); });
    Save_Data(w, RAM_PAINT1M, ux, 0, [&] { GWorld_To_Buf(w, *p.mask, 0); });
}

void Put_Descriptor(uint8_t* p, const a_ram_item& d) {
    p[0] = d.field, p[1] = d.pad;
    std::memcpy(p + 2, &d.unitx, 4);
    std::memcpy(p + 6, &d.subx, 4);
    std::memcpy(p + 10, &d.len, 4);
    std::memcpy(p + 14, &d.offset, 4);
}

void Get_Descriptor(const uint8_t* p, a_ram_item& d) {
    d.field = p[0], d.pad = p[1];
    std::memcpy(&d.unitx, p + 2, 4);
    std::memcpy(&d.subx, p + 6, 4);
    std::memcpy(&d.len, p + 10, 4);
    std::memcpy(&d.offset, p + 14, 4);
}

// Where the checker is in the document while it walks the descriptors.
struct a_check_state {
    uint32_t ux = 0;  // the unit of the last header
    bool clonef = false;
    int next_subx = 1;
    int inuse = -1;  // the unit's paintinuse byte; -1 not yet seen
    bool world = false, mask = false;
};

bool Fail(std::string* why, const char* what, uint32_t i) {
    if (why) *why = std::string(what) + " (descriptor " + std::to_string(i) + ")";
    return false;
}

bool Check_UNITD(a_undo_reader& r, const a_ram_item& d, a_check_state& s) {
    a_ram_unitd u;
    if (uint32_t(d.unitx) != s.ux + 1 || s.ux + 1 > g_doc.doc_template.nunits || !Read_UNITD(r, u))
        return false;
    const a_doc_unit* now = g_doc.doc_units[d.unitx];
    // The ring starts again when the layout changes, so the areas stay the same.
    if (!now || u.bounds != now->paintbounds || (d.unitx == 1 && u.clonef)) return false;
    s = a_check_state{};
    s.ux = uint32_t(d.unitx);
    s.clonef = u.clonef;
    return true;
}

bool Check_OJ(a_undo_reader& r, const a_ram_item& d, a_check_state& s) {
    if (s.clonef || s.inuse >= 0 || d.subx != s.next_subx || d.subx > MAXNOBJECTS) return false;
    a_oj_item item;
    if (!Buf_To_OJ(r, item)) return false;
    delete item.ph;
    delete item.om;  // a fresh record has no caches
    ++s.next_subx;
    return true;
}

bool Check_World(a_undo_reader& r, const a_ram_item& d, a_check_state& s) {
    bool is_mask = d.field == RAM_PAINT1M;
    bool& seen = is_mask ? s.mask : s.world;
    a_ram_gworld h;
    if (s.clonef || s.inuse != 1 || seen || !Read_GWorld_Header(r, h)) return false;
    const Rect& b = g_doc.doc_units[s.ux]->paintbounds;
    if (!PixMap_Fits(b, 32) || !GWorld_Fits(h, b, is_mask ? 8 : 32, is_mask) ||
        !Check_GWorld_Tiles(r, h))
        return false;
    seen = true;
    return true;
}

bool Check_Item(const uint8_t* p, const a_ram_item& d, a_check_state& s) {
    a_undo_reader r(p + d.offset, d.len);
    if (d.field != RAM_UNITD && (s.ux == 0 || uint32_t(d.unitx) != s.ux)) return false;
    switch (d.field) {
        case RAM_UNITD: return Check_UNITD(r, d, s);
        case RAM_OJ: return Check_OJ(r, d, s);
        case RAM_PAINT1:
        case RAM_PAINT1M: return Check_World(r, d, s);
        case RAM_PAINT1_INUSE: {
            bool on = r.Bool();
            if (s.clonef || s.inuse >= 0 || !r.Done()) return false;
            s.inuse = on ? 1 : 0;
            return true;
        }
        case RAM_DEAD: return true;
        default: return false;
    }
}

void Restore_Prep() {
    for (uint32_t ux = 1; ux <= g_doc.doc_template.nunits; ++ux) {
        a_doc_unit* u = g_doc.doc_units[ux];
        if (u && !u->clonef) OMast_Dispose(u->oj);
    }
}

void Restore_UNITD(a_undo_reader& r, uint32_t ux) {
    a_ram_unitd d;
    if (!Read_UNITD(r, d)) InternalError();
    a_doc_unit& u = *g_doc.doc_units[ux];
    g_doc.doc_template.units[ux] = d.spec;
    u.paintbounds = d.bounds;
    u.clonef = d.clonef, u.printf = d.printf, u.groupx = d.groupx;
    u.symmetry_center = d.symmetry_center;
    u.ruler_origin = d.ruler_origin;
    u.edit_focus = d.edit_focus;
    u.canv.cv = d.cv;
    if (u.clonef) Dispose_Unit_Content(u);
    for (a_static_layer lx : {TOTAL_LAYER, MINUS_LAYER})
        u.static_[lx].targ_seq = u.static_[lx].curr_seq + 1;  // compose it again
}

void Restore_World(a_undo_reader& r, a_doc_unit& u, bool is_mask) {
    a_ram_gworld h;
    if (!Read_GWorld_Header(r, h)) InternalError();
    u.paintinuse = true;
    Sync_Existence(PAINT1_LAYER, u, true);
    GWorld* w = is_mask ? Paint(u).mask : Paint(u).world;
    if (!GWorld_Fits(h, w->pix.bounds, w->pix.pixelSize, is_mask)) InternalError();
    Buf_To_GWorld(r, h, *w);
}

// Applies one checked descriptor.
void Buf_To_Doc(const a_ram_item& d, const uint8_t* data) {
    a_undo_reader r(data, d.len);
    uint32_t ux = uint32_t(d.unitx);
    a_doc_unit& u = *g_doc.doc_units[ux];
    switch (d.field) {
        case RAM_UNITD: return Restore_UNITD(r, ux);
        case RAM_OJ: {
            if (d.subx == 1) OMast_Dispose(u.oj);  // a clone before may have held its paint block
            a_oj_item item;
            if (!Buf_To_OJ(r, item)) InternalError();
            u.oj.list[d.subx] = item;
            u.oj.nlist = d.subx;
            ++u.oj.seq;
            return;
        }
        case RAM_PAINT1: return Restore_World(r, u, false);
        case RAM_PAINT1M: return Restore_World(r, u, true);
        case RAM_PAINT1_INUSE:
            u.paintinuse = r.Bool();
            Sync_Existence(PAINT1_LAYER, u, u.paintinuse);
            return;
        case RAM_DEAD: return;
        default: InternalError();
    }
}

}  // namespace

bool Doc_To_RAM(int id) {
    RAM_Dispose();
    uint32_t count = Count_Items();
    if (count > MAXNRAMITEMS) return false;
    // Paint layers keep only their painted tiles: the image grows as it needs.
    size_t reserve = RAM_HEADER_BYTES + count * RAM_ITEM_BYTES + count * 256;
    ram.image.reserve(reserve);
    ram.image.assign(RAM_HEADER_BYTES + count * RAM_ITEM_BYTES, 0);
    a_undo_writer w(ram.image);
    for (uint32_t ux = 1; ux <= g_doc.doc_template.nunits; ++ux) Save_Unit(w, ux);
    if (ram.nlist != count) InternalError();
    std::memcpy(ram.image.data(), &count, 4);
    for (uint32_t i = 0; i < count; ++i)
        Put_Descriptor(ram.image.data() + RAM_HEADER_BYTES + i * RAM_ITEM_BYTES, ram.desc[i]);
    ram.slot = id;
    ram.nwrit = ram.nlist;  // nothing to write until Background_Start
    return true;
}

void RAM_Dispose() {
    ram.slot = -1;
    ram.totlen = ram.nwrit = ram.nlist = 0;
    ram.image.clear();
    ram.image.shrink_to_fit();
}

bool Read_Descriptors(const uint8_t* p, size_t n, uint32_t& count, a_ram_item* desc) {
    if (n < RAM_HEADER_BYTES) return false;
    std::memcpy(&count, p, 4);
    if (count > MAXNRAMITEMS) return false;
    size_t data_start = RAM_HEADER_BYTES + size_t(count) * RAM_ITEM_BYTES;
    if (data_start > n) return false;
    for (uint32_t i = 0; i < count; ++i) {
        a_ram_item& d = desc[i];
        Get_Descriptor(p + RAM_HEADER_BYTES + i * RAM_ITEM_BYTES, d);
        if (d.offset < 0 || size_t(d.offset) < data_start || size_t(d.offset) > n ||
            d.len > n - size_t(d.offset))
            return false;
    }
    return true;
}

bool Check_Image(const uint8_t* p, size_t n, std::string* why) {
    uint32_t count = 0;
    static a_ram_item desc[MAXNRAMITEMS];
    if (!Read_Descriptors(p, n, count, desc))
        return Fail(why, "descriptor count, length or offset outside the file", 0);
    a_check_state s;
    for (uint32_t i = 0; i < count; ++i)
        if (!Check_Item(p, desc[i], s)) return Fail(why, "bad data block", i);
    if (s.ux != g_doc.doc_template.nunits) return Fail(why, "units missing", count);
    return true;
}

void Image_To_Doc(const uint8_t* p, size_t n) {
    uint32_t count = 0;
    static a_ram_item desc[MAXNRAMITEMS];
    if (!Read_Descriptors(p, n, count, desc)) InternalError();
    Restore_Prep();
    for (uint32_t i = 0; i < count; ++i) Buf_To_Doc(desc[i], p + desc[i].offset);
}

void RAM_To_Doc() { Image_To_Doc(ram.image.data(), ram.image.size()); }
