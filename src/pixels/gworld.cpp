#include "pixels/gworld.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "pixels/pixcursor.h"
#include "platform/memory.h"
#include "platform/port.h"
#include "base/messages.h"

namespace {

enum : int { GWORLD_ERR_SIZE = 1, GWORLD_ERR_MEMORY = 2 };
// Worlds of a picture's size; smaller ones would gain no whole huge page.
constexpr size_t kHugeWorldBytes = size_t(4) << 20;

struct a_stack_entry {
    a_port_stack_kind kind = GWORLD_PORT;
    a_gstate saved;
};

a_port_bits Bits_Of(const PixMap& pm) {
    a_port_bits bits;
    bits.base = pm.baseAddr;
    bits.rowbytes = PixMap_RowBytes(pm);
    bits.depth = pm.pixelSize;
    bits.bounds = pm.bounds;
    if (pm.pixelSize == 8) {
        // An 8-bit map without a table shows through the main palette.
        const a_color_table& t = pm.pmTable ? *pm.pmTable : g_video.main_colors32;
        bits.ctable = t.c;
        bits.nctable = t.count;
    }
    return bits;
}

a_gstate g_curr;
a_stack_entry g_stack[MAX_PORT_STACK];
int g_nstack = 0;

void Make_Current(const a_gstate& s) {
    g_curr = s;
    Port_Set(s.port);
}

void Push_State(a_port_stack_kind kind, const a_gstate& next) {
    if (g_nstack >= MAX_PORT_STACK) InternalError();
    g_stack[g_nstack++] = a_stack_entry{kind, g_curr};
    Make_Current(next);
}

void Pop_State(a_port_stack_kind kind) {
    if (g_nstack <= 0 || g_stack[g_nstack - 1].kind != kind) InternalError();
    Make_Current(g_stack[--g_nstack].saved);
}

}  // namespace

namespace {

// Each row's bytes past its last pixel, which no writer of pixels touches.
void Clear_Row_Tails(const PixMap& pm) {
    const size_t used = (size_t(Rect_Width(pm.bounds)) * size_t(pm.pixelSize) + 7) / 8;
    const size_t rb = size_t(PixMap_RowBytes(pm));
    if (used >= rb) return;
    for (int y = pm.bounds.top; y < pm.bounds.bottom; ++y) std::memset(PixMap_Row(pm, y) + used, 0, rb - used);
}

int Make_GWorld_Pixels(const Rect& bounds, int depth, CTabHandle colortab, bool clear, GWorld*& gworld) {
    gworld = nullptr;
    if (!PixMap_Fits(bounds, depth)) return GWORLD_ERR_SIZE;
    a_checked_allocation checked;
    auto* w = new (std::nothrow) GWorld;
    if (!w) return GWORLD_ERR_MEMORY;
    New_Empty_PixMap(w->pix, bounds, depth, colortab);
    // Never a zero-byte buffer: an empty world still has an address.
    size_t len = std::max<size_t>(PixMap_Len(w->pix), 4);
    w->hdl = new (std::nothrow) uint8_t[len];
    if (!w->hdl) {
        delete w;
        return GWORLD_ERR_MEMORY;
    }
    if (len >= kHugeWorldBytes) Memory_Prefer_Huge_Pages(w->hdl, len);
    w->pix.baseAddr = w->hdl;
    if (clear) std::memset(w->hdl, 0, len);  // black at every depth
    else Clear_Row_Tails(w->pix);
    w->port = Port_New(Bits_Of(w->pix));
    gworld = w;
    return 0;
}

}  // namespace

int New_GWorld(const Rect& bounds, int depth, CTabHandle colortab, GWorld*& gworld) {
    return Make_GWorld_Pixels(bounds, depth, colortab, true, gworld);
}

int New_GWorld_Unfilled(const Rect& bounds, int depth, CTabHandle colortab, GWorld*& gworld) {
    return Make_GWorld_Pixels(bounds, depth, colortab, false, gworld);
}

void New_GWorldF(const char* label, const Rect& bounds, int depth, CTabHandle colortab,
                 GWorld*& gworld) {
    if (!PixMap_Fits(bounds, depth)) InternalError();
    if (New_GWorld(bounds, depth, colortab, gworld) != 0)
        OutOfMemory(size_t(Rect_Height(bounds)) * size_t(Calc_RowBytes(Rect_Width(bounds), depth)),
                    label);
}

GWorld* New_GWorld(int depth, const Rect& bounds) {
    GWorld* w = nullptr;
    (void)New_GWorld(bounds, depth, nullptr, w);  // on failure w stays null: this form's answer
    return w;
}

void Dispose_GWorld(GWorld*& gworld) {
    if (!gworld) return;
    // No saved or current state may keep pointing at the freed port.
    if (g_curr.gworld == gworld) Make_Current(a_gstate{});
    for (int i = 0; i < g_nstack; ++i)
        if (g_stack[i].saved.gworld == gworld) g_stack[i].saved = a_gstate{};
    Port_Dispose(gworld->port);
    delete[] gworld->hdl;
    delete gworld;
    gworld = nullptr;
}

void Copy_GWorld(const GWorld* src, GWorld*& dst) {
    if (!src) {
        Dispose_GWorld(dst);
        return;
    }
    // A destination of another depth would be too small for the bytes copied.
    if (dst && (dst->pix.pixelSize != src->pix.pixelSize || dst->pix.pmTable != src->pix.pmTable))
        Dispose_GWorld(dst);
    if (!dst)
        New_GWorldF("Copy world", src->pix.bounds, src->pix.pixelSize, src->pix.pmTable, dst);
    else
        Resize_GWorld(dst, src->pix.bounds);
    std::memcpy(dst->pix.baseAddr, src->pix.baseAddr, PixMap_Len(src->pix));
}

a_port_bits World_Bits(const GWorld* world) { return Bits_Of(world->pix); }

GWorld* Copy_GWorld(const GWorld* world) {
    if (!world) return nullptr;
    GWorld* w = nullptr;
    if (New_GWorld(world->pix.bounds, world->pix.pixelSize, world->pix.pmTable, w) != 0)
        return nullptr;
    std::memcpy(w->pix.baseAddr, world->pix.baseAddr, PixMap_Len(world->pix));
    return w;
}

void Resize_GWorld(GWorld*& gworld, const Rect& newbox) {
    if (!gworld) InternalError();
    if (gworld->pix.bounds == newbox) return;
    int depth = gworld->pix.pixelSize;
    CTabHandle ctab = gworld->pix.pmTable;
    Dispose_GWorld(gworld);
    New_GWorldF("Resize world", newbox, depth, ctab, gworld);
}

void GWorld_To_PixMap(GWorld*& gworld, PixMap& pix) {
    if (!gworld) {
        Null_PixMap(pix);
        return;
    }
    const PixMap& src = gworld->pix;
    CTabHandle ctab = src.pixelSize == 8 ? gray_ctable : src.pmTable;
    New_PixMap(pix, src.bounds, src.pixelSize, ctab);
    std::memcpy(pix.baseAddr, src.baseAddr, PixMap_Len(src));
    Dispose_GWorld(gworld);
}

PixMap* Get_GWorld_PixMap(GWorld* gworld) { return gworld ? &gworld->pix : nullptr; }
uint8_t* Get_GWorld_BaseAddr(const GWorld* gworld) { return gworld ? gworld->pix.baseAddr : nullptr; }
Rect Get_GWorld_Bounds(const GWorld* gworld) { return gworld ? gworld->pix.bounds : Rect{}; }
int Get_GWorld_PixelSize(const GWorld* gworld) { return gworld ? gworld->pix.pixelSize : 0; }

void Set_GWorld_CTable(GWorld* gworld, CTabHandle ctab) {
    if (!gworld) return;
    gworld->pix.pmTable = ctab;
    Port_SetBits(gworld->port, Bits_Of(gworld->pix));
}

GWorld* Get_GWorld() { return g_curr.gworld; }

void Set_GWorld(GWorld* gworld) { Make_Current(a_gstate{gworld ? gworld->port : nullptr, gworld}); }

a_gstate Get_GState() { return g_curr; }
void Set_GState(const a_gstate& state) { Make_Current(state); }

void Push_GWorld(GWorld* gworld) {
    if (!gworld) InternalError();
    Push_State(GWORLD_PORT, a_gstate{gworld->port, gworld});
}

void Pop_GWorld() { Pop_State(GWORLD_PORT); }

void Push_Window(a_port* window_port) { Push_State(WINDOW_PORT, a_gstate{window_port, nullptr}); }
void Pop_Window() { Pop_State(WINDOW_PORT); }
int GWorld_Stack_Depth() { return g_nstack; }

bool Get_GWorld_Pixel(const GWorld* port, int x, int y, uint32_t& pixel) {
    if (!port) return false;
    const Rect& b = port->pix.bounds;
    if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) return false;
    a_pix_cursor c;
    a_pixel_cursor_kind<0>::Init(c, port->pix);
    pixel = a_pixel_cursor_kind<0>::Get(c, x, y);
    return true;
}

void GWorld_Zero(GWorld* gworld) {
    if (gworld) PixMap_Zero(gworld->pix);
}

void Null_MW(a_masked_gworld& mw) { mw = a_masked_gworld{}; }

void New_MW(const char* label, const Rect& bounds, a_masked_gworld& mw) {
    Null_MW(mw);
    mw.bounds = bounds;
    New_GWorldF(label, bounds, 32, nullptr, mw.fore);
    New_GWorldF(label, bounds, 8, gray_ctable, mw.mask);
}

void Dispose_MW(a_masked_gworld& mw) {
    Dispose_GWorld(mw.fore);
    Dispose_GWorld(mw.mask);
    Null_MW(mw);
}

void Force_Mask_To_Exist(const Rect& bounds, a_masked_gworld& mw) {
    if (mw.mask || !mw.fore) return;
    New_GWorldF("Apply_Effects", bounds, 8, gray_ctable, mw.mask);
    std::memset(mw.mask->pix.baseAddr, 255, PixMap_Len(mw.mask->pix));
}

void Imitate_GWorld(const Rect& bounds, const GWorld* in, GWorld*& out) {
    out = nullptr;
    if (!in) return;
    New_GWorldF("Imitate world", bounds, in->pix.pixelSize, in->pix.pmTable, out);
}

void GWorld_Init() {
    g_curr = a_gstate{};
    g_nstack = 0;
}

void GWorld_Stop() {
    g_curr = a_gstate{};
    g_nstack = 0;
}
