#include "artdb/pixt.h"

#include <limits>

#include "artdb/art_records.h"
#include "artdb/database.h"
#include "platform/memory.h"
#include "base/messages.h"

size_t pixt_cache_limit = 500000;

namespace {

struct a_discard {
    uint32_t stamp = 1;
    a_pixt* head = nullptr;
    size_t total = 0;
};

a_discard g_discard;

uint32_t Next_Stamp() {
    uint32_t s = g_discard.stamp;
    g_discard.stamp = s == std::numeric_limits<uint32_t>::max() ? 1 : s + 1;
    return s;
}

void Discard_Del(a_pixt& p) {
    if (p.ref == 0) return;
    if (p.next == &p) {
        g_discard.head = nullptr;
    } else {
        p.prev->next = p.next;
        p.next->prev = p.prev;
        if (g_discard.head == &p) g_discard.head = p.next;
    }
    p.next = p.prev = nullptr;
    g_discard.total -= static_cast<size_t>(p.len);
    p.ref = 0;
}

// The listed picture with the smallest stamp whose pixels are not pinned.
a_pixt* Pick_Victim() {
    a_pixt* victim = nullptr;
    a_pixt* q = g_discard.head;
    if (!q) return nullptr;
    do {
        if (q->bits && q->bits->locks == 0 && (!victim || q->ref < victim->ref)) victim = q;
        q = q->next;
    } while (q != g_discard.head);
    return victim;
}

void Discard_Add(a_pixt& p) {
    p.len = static_cast<int32_t>(p.bits->data.size());
    g_discard.total += static_cast<size_t>(p.len);
    while (g_discard.total > pixt_cache_limit) {
        a_pixt* victim = Pick_Victim();
        if (!victim) break;
        Discard_Del(*victim);
        victim->bits->data.clear();
        victim->bits->data.shrink_to_fit();
        victim->bits->purged = true;
        victim->pixmap.baseAddr = nullptr;
    }
    if (!g_discard.head) {
        p.next = p.prev = &p;
        g_discard.head = &p;
    } else {
        a_pixt* tail = g_discard.head->prev;
        p.prev = tail;
        p.next = g_discard.head;
        tail->next = &p;
        g_discard.head->prev = &p;
    }
    p.ref = Next_Stamp();
}

CTabHandle Table_For(const a_kpixt_header& h) {
    if (h.pixelsize > 8) return nullptr;
    if (h.flags & PIXT_GRAY) return gray_ctable;
    if (h.flags & PIXT_GRAY2) return gray_ctable2;
    return &g_video.main_colors32;
}

[[noreturn]] void Missing(const a_keyset& k) {
    MissingKey(k.a, k.b, k.c, k.d, "PIXT");
}

void KPixt_Reload(a_pixt& p) {
    if (p.bits && !p.bits->purged) {
        Pixt_NoPurge(p);
        return;
    }
    int locks = p.bits ? p.bits->locks : 0;
    delete p.bits;
    p.bits = nullptr;
    int32_t len = 0;
    uint8_t* rec = OP_Lock(p.key, &len);
    if (!rec) Missing(p.key);
    a_kpixt_header h;
    auto block = new a_pixt_block;
    a_record_status st = KPixt_Read_Header(rec, static_cast<size_t>(len), h);
    if (st == a_record_status::OKAY)
        st = KPixt_Decode(rec, static_cast<size_t>(len), h, block->data);
    OP_Unlock(rec);
    if (st != a_record_status::OKAY) {
        delete block;
        if (st == a_record_status::BAD_DEPTH) InternalError();
        if (st == a_record_status::NO_MEMORY) OutOfMemory(size_t(h.rowbytes) * size_t(h.height));
        Missing(p.key);
    }
    block->locks = locks;
    p.bits = block;
    p.len = static_cast<int32_t>(block->data.size());
    p.mode = (h.flags & PIXT_TRANSPARENT) ? PIXT_MODE_TRANSPARENT : PIXT_MODE_COPY;
    New_Empty_PixMap(p.pixmap, Rect{0, 0, h.height, h.width}, h.pixelsize, Table_For(h));
    p.pixmap.baseAddr = block->data.data();
    p.pixmap.rowBytes = h.rowbytes;
}

}  // namespace

void Pixt_Set_Memory_Budget(size_t free_heap) {
    pixt_cache_limit = free_heap / 2 < 700000 ? 700000 : free_heap / 2;
}

// The heap grows into whatever the machine can still hand out, so that is
// the free heap the budget is half of.
void Pixt_Recalc_Memory_Budget() { Pixt_Set_Memory_Budget(size_t(Memory_System_Available())); }

void Pixt_Init() {
    g_discard = a_discard{};
    pixt_cache_limit = 500000;
}

void Pixt_Stop() {
    while (g_discard.head) Discard_Del(*g_discard.head);
}

void Null_Pixt(a_pixt& p) {
    p = a_pixt{};
}

void KPixt_Load(a_pixt& p, const a_keyset& key) {
    if (p.bits && !Equal_Keys(p.key, key)) Pixt_Unload(p);
    p.key = key;
    KPixt_Reload(p);
}

void Pixt_Load(a_pixt& p, int id) {
    KPixt_Load(p, a_keyset{PIXT_INTERFACE_CATEGORY, static_cast<int16_t>(id), 0, 0});
}

bool KPixt_Bounds(const a_keyset& key, Rect& bounds) {
    uint8_t head[KPIXT_HEADER_SIZE];
    int32_t n = OP_Read_Head(key, head, KPIXT_HEADER_SIZE);
    a_kpixt_header h;
    if (n != KPIXT_HEADER_SIZE || KPixt_Read_Header(head, size_t(n), h) != a_record_status::OKAY)
        return false;
    bounds = Rect{0, 0, h.height, h.width};
    return true;
}

bool Pixt_Exists(int id) {
    return OP_Exists(a_keyset{PIXT_INTERFACE_CATEGORY, static_cast<int16_t>(id), 0, 0});
}

void Pixt_Lock(a_pixt& p) {
    // Discarded pixels come back from the database; an emptied block is never listed.
    if (!p.bits || p.bits->purged) KPixt_Reload(p);
    ++p.bits->locks;
    if (p.ref != 0) p.ref = Next_Stamp();
}

void Pixt_Unlock(a_pixt& p) {
    if (p.bits && p.bits->locks > 0) --p.bits->locks;
}

void Pixt_Purge(a_pixt& p) {
    if (p.bits && !p.bits->purged && p.ref == 0) Discard_Add(p);
}

void Pixt_NoPurge(a_pixt& p) {
    Discard_Del(p);
}

void Pixt_Unload(a_pixt& p) {
    Discard_Del(p);
    delete p.bits;
    p.bits = nullptr;
    p.pixmap.baseAddr = nullptr;
}

size_t Discard_Total() {
    return g_discard.total;
}

int Discard_Count() {
    int n = 0;
    if (a_pixt* q = g_discard.head) {
        do {
            ++n;
            q = q->next;
        } while (q != g_discard.head);
    }
    return n;
}
