#include "render/effects_cache.h"

#include <unistd.h>

#include <algorithm>
#include <vector>

#include "artdb/database.h"
#include "artdb/pixt.h"
#include "model/notices.h"
#include "pixels/blit.h"
#include "render/edges.h"
#include "render/effects.h"
#include "base/messages.h"

namespace {

a_listener_token g_replaced_token = 0;  // our subscription to the document being replaced

std::vector<a_cache_item> g_list;  // 1 .. g_highx used; index 0 unused
int g_highx = 0;
uint32_t g_lru = 0;
size_t g_used = 0;
size_t g_limit = CACHE_MIN_LIMIT;
uint16_t g_nextid = 0;

bool Is_Free(const a_cache_item& it) {
    return it.lru == CACHE_FREE;
}

bool Entry_Matches(const a_cache_item& it, bool subsetf, a_cache_purpose purpose,
                   const a_spec& spec) {
    return !Is_Free(it) && (subsetf || !it.discardable) &&
           Purposes_Compatible(purpose, it.purpose) && Equal_Spec(subsetf, it.spec, spec);
}

size_t Machine_MB() {
    long pages = sysconf(_SC_PHYS_PAGES), page = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || page <= 0) return 0;
    return size_t(pages) / 1024 * size_t(page) / 1024;
}

}  // namespace

GWorld* Cache_Load_Art(const a_keyset& key) {
    if (!OP_Exists(key)) return nullptr;
    a_locked_pixt art(key);
    // The picture layer's map already carries the grey, grey-2 or main table.
    const PixMap& view = art.pixmap();
    GWorld* out = nullptr;
    if (view.pixelSize == 8 && key.a == 1) {
        Canvas8_To_32(key, view, out);
    } else {
        New_GWorldF("Cache_Get2", view.bounds, 32, nullptr, out);
        Pix_To_Pix(view, out->pix, view.bounds, view.bounds, srcCopy, nullptr);
    }
    return out;
}

namespace {

// The size of the missing pattern that stands in for an absent art item.
Rect Missing_Bounds(const a_spec& spec) {
    return Rect_IsEmpty(spec.subset) ? Rect{0, 0, 64, 64} : spec.subset;
}

// The input of the pipeline for a spec: the art item, the missing pattern,
// or the pinned source picture (borrowed, not owned: `owned` false). Sizing
// needs only an art item's bounds, which its header gives without decoding.
a_masked_gworld Make_Input(a_cache_purpose purpose, const a_spec& spec, bool& owned) {
    a_masked_gworld in;
    owned = spec.source.kind == SOURCE_DATABASE;
    if (owned && purpose == FOR_SIZING) {
        if (!KPixt_Bounds(spec.source.key, in.bounds)) in.bounds = Missing_Bounds(spec);
        return in;
    }
    if (owned) {
        in.fore = Cache_Load_Art(spec.source.key);
        if (!in.fore) {
            Rect r = Missing_Bounds(spec);
            New_GWorldF("Cache_Get2", r, 32, nullptr, in.fore);
            Fill_Missing_Pattern(in.fore);
        }
        in.bounds = in.fore->pix.bounds;
        return in;
    }
    int ix = 0;
    if (!Find_Basis(spec.source.sid, ix)) InternalError();
    return g_list[size_t(ix)].c.body;
}

void Touch(a_cache_item& it) {
    if (it.lru < CACHE_PINNED) it.lru = ++g_lru;
}

int Pin_Entry(const a_source_desc& source, a_masked_gworld& body, a_raw_bytes*& raw,
              const Rect& bounds) {
    size_t size = MW_Size(body) + (raw ? raw->size() : 0);
    int ix = Find_Unused(size);
    a_cache_item& it = g_list[size_t(ix)];
    Null_Spec(it.spec);
    it.spec.source = source;
    it.spec.subset = bounds;
    Clean_Spec(it.spec);
    it.c = a_cache_result{};
    it.c.body = body;
    it.c.union_ = body.bounds;
    it.c.raw = raw;
    it.size = size;
    it.basis = true;
    it.discardable = false;
    it.purpose = FOR_PRINTING;
    it.lru = g_lru + 0x08000001u;
    ++g_lru;
    Null_MW(body);
    raw = nullptr;
    return ix;
}

}  // namespace

// ---- sizes and results ------------------------------------------------------

size_t PixMap_Size(const PixMap* pm) {
    return pm && !Is_Null_PixMap(*pm)
               ? size_t(Rect_Height(pm->bounds)) * size_t(PixMap_RowBytes(*pm))
               : 0;
}
size_t GWorld_Size(const GWorld* w) {
    return w ? PixMap_Size(&w->pix) : 0;
}
size_t MW_Size(const a_masked_gworld& mw) {
    return GWorld_Size(mw.fore) + GWorld_Size(mw.mask);
}

void Null_Cache_Result(a_cache_result& c) {
    c = a_cache_result{};
}

void Dispose_Cache_Result(a_cache_result& c) {
    Dispose_MW(c.body);
    Dispose_MW(c.shad);
    delete c.raw;
    c = a_cache_result{};
}

// ---- life -------------------------------------------------------------------

void Cache_Init() {
    Cache_Init_For(Machine_MB());
    g_replaced_token = g_doc_notices.replaced.Subscribe(Cache_Clear);
}

void Cache_Init_For(size_t physical_mb) {
    Cache_Clear();
    g_list.assign(CACHE_NENTRIES + 1, a_cache_item{});
    g_highx = 0;
    g_lru = 0;
    g_used = 0;
    g_nextid = 0;
    g_limit = std::max(CACHE_MIN_LIMIT, physical_mb / 2 * 1000000);
}

void Cache_Stop() {
    g_doc_notices.replaced.Unsubscribe(g_replaced_token);
    Cache_Clear();
    g_list.clear();
    g_list.shrink_to_fit();
    Edges_Stop();
}

uint16_t Calc_Next_SID() {
    return ++g_nextid;
}

bool Purposes_Compatible(a_cache_purpose targ, a_cache_purpose cached) {
    return (targ == FOR_COLLAGE) == (cached == FOR_COLLAGE);
}

// ---- lookup -----------------------------------------------------------------

bool Find_Basis(uint16_t targid, int& ix) {
    for (int i = 1; i <= g_highx; ++i) {
        const a_cache_item& it = g_list[size_t(i)];
        if (!Is_Free(it) && it.basis && it.spec.source.sid == targid) {
            ix = i;
            return true;
        }
    }
    return false;
}

bool Cache_Find(bool subsetf, a_cache_purpose purpose, a_spec& spec, int& ix) {
    Clean_Spec(spec);
    int hint = spec.hintx;
    if (hint >= 1 && hint <= g_highx &&
        Entry_Matches(g_list[size_t(hint)], subsetf, purpose, spec)) {
        ix = hint;
        return true;
    }
    for (int i = 1; i <= g_highx; ++i) {
        if (!Entry_Matches(g_list[size_t(i)], subsetf, purpose, spec)) continue;
        ix = i;
        spec.hintx = i;
        return true;
    }
    return false;
}

void Cache_Get(a_cache_purpose purpose, a_spec& targspec, a_cache_result& c) {
    if (purpose == FOR_SAVING) {
        int ix = 0;
        if (!Find_Basis(targspec.source.sid, ix)) InternalError();
        c = g_list[size_t(ix)].c;
        return;
    }
    if (purpose == FOR_PRINTING) {
        a_spec copy = targspec;
        Cache_Get2(purpose, copy, c);
        return;
    }
    Cache_Get2(purpose, targspec, c);
}

void Cache_Get2(a_cache_purpose targpurpose, a_spec& targspec, a_cache_result& outc) {
    int ix = 0;
    if (Cache_Find(true, targpurpose, targspec, ix)) {
        outc = g_list[size_t(ix)].c;
        Touch(g_list[size_t(ix)]);
        return;
    }
    bool owned = false;
    a_masked_gworld in = Make_Input(targpurpose, targspec, owned);
    a_cache_result c;
    Apply_Effects(targpurpose, targspec, in, c.body, c.shad);
    if (owned) Dispose_MW(in);
    c.union_ = Rect_Union(c.body.bounds, c.shad.bounds);
    if (targpurpose == FOR_SIZING) {
        outc = c;  // bounds only: nothing to own
        return;
    }
    size_t size = MW_Size(c.body) + MW_Size(c.shad);
    ix = Find_Unused(size);
    targspec.hintx = ix;
    a_cache_item& it = g_list[size_t(ix)];
    it.lru = 0;
    it.size = size;
    it.spec = targspec;
    it.c = c;
    it.discardable = true;
    it.basis = false;
    it.purpose = targpurpose;
    outc = c;
    Touch(it);
}

void Cache_Insert_External(a_source_desc& new_source, a_masked_gworld& new_body,
                           a_raw_bytes*& new_raw) {
    new_source.sid = Calc_Next_SID();
    Pin_Entry(new_source, new_body, new_raw, new_body.bounds);
}

void Cache_Insert_Missing(a_source_desc& new_source, const Rect& bounds) {
    new_source.sid = Calc_Next_SID();
    a_masked_gworld empty;
    a_raw_bytes* raw = nullptr;
    Pin_Entry(new_source, empty, raw, bounds);
}

// ---- eviction ---------------------------------------------------------------

void Cache_Del(int ix) {
    if (ix < 1 || ix > g_highx) return;
    a_cache_item& it = g_list[size_t(ix)];
    if (Is_Free(it)) return;
    g_used -= std::min(g_used, it.size);
    Dispose_Cache_Result(it.c);
    it.lru = CACHE_FREE;
    it.size = 0;
    it.discardable = false;
    it.basis = false;
    it.spec.source.kind = SOURCE_NULL;
    it.spec.source.sid = 0;
}

int Drop_LRU() {
    int best = 0;
    for (int i = 1; i <= g_highx; ++i) {
        const a_cache_item& it = g_list[size_t(i)];
        if (Is_Free(it) || !it.discardable) continue;
        if (best == 0 || it.lru < g_list[size_t(best)].lru) best = i;
    }
    if (best) Cache_Del(best);
    return best;
}

void Make_Room(size_t needed) {
    if (g_used + needed <= g_limit) return;
    size_t target = g_limit > needed ? g_limit - needed : 0;
    while (g_used > target && Drop_LRU() != 0) {
    }
}

int Find_Unused(size_t newsize) {
    Make_Room(newsize);
    g_used += newsize;
    for (int i = 1; i <= g_highx; ++i)
        if (Is_Free(g_list[size_t(i)])) return i;
    if (g_highx < CACHE_NENTRIES) return ++g_highx;
    int ix = Drop_LRU();
    if (ix) return ix;
    // Every entry is pinned: grow rather than fail.
    g_list.emplace_back();
    return ++g_highx;
}

void Flush_Discardable() {
    Make_Room(500000000);
}

void Cache_Clear1(uint16_t targsid) {
    for (int i = 1; i <= g_highx; ++i)
        if (!Is_Free(g_list[size_t(i)]) && g_list[size_t(i)].spec.source.sid == targsid)
            Cache_Del(i);
}

void Cache_Clear() {
    for (int i = 1; i <= g_highx; ++i) Cache_Del(i);
    g_highx = 0;
    g_used = 0;
}

// ---- state ------------------------------------------------------------------

size_t Cache_Used() {
    return g_used;
}
size_t Cache_Limit() {
    return g_limit;
}
void Cache_Set_Limit(size_t limit) {
    g_limit = std::max(limit, CACHE_MIN_LIMIT);
}
int Cache_HighX() {
    return g_highx;
}
const a_cache_item& Cache_Item(int ix) {
    return g_list[size_t(ix)];
}
