#include "model/blocks.h"

#include <new>

#include "model/photo_rec.h"
#include "base/messages.h"
#include "model/text_rec.h"

uint32_t g_uniqueid = 0;

uint32_t NextUniqueID() { return ++g_uniqueid; }

a_ph_rec* New_PH_Rec() {
    auto* p = new (std::nothrow) a_ph_rec;
    if (!p) OutOfMemory(sizeof(a_ph_rec));
    return p;
}

a_om_rec* New_OM_Rec() {
    auto* p = new (std::nothrow) a_om_rec;
    if (!p) OutOfMemory(sizeof(a_om_rec));
    return p;
}

namespace {

bool Has_Photo_Record(uint8_t kind) {
    return kind == PHOTO_BLOCK || kind == SYMBOL_BLOCK || kind == SLOT_BLOCK;
}

void Dispose_Item(a_oj_item& item) {
    if (item.om) OM_Clear_Caches(*item.om);
    delete item.ph;
    delete item.om;
    item.ph = nullptr;
    item.om = nullptr;
}

}  // namespace

void OJ_Copy(a_oj_item& dst, const a_oj_item& src, bool allocflag) {
    a_ph_rec* own_ph = allocflag ? nullptr : dst.ph;  // without allocflag, copy into dst's record
    dst.objid = src.objid;
    dst.flags = src.flags;
    dst.kind = src.kind;
    dst.ph = nullptr;
    dst.om = nullptr;
    if (Has_Photo_Record(src.kind) && src.ph) {
        dst.ph = allocflag ? New_PH_Rec() : own_ph;
        if (dst.ph) *dst.ph = *src.ph;
    } else if (src.kind == TEXT_BLOCK && src.om) {
        dst.om = New_OM_Rec();
        *dst.om = *src.om;
        OM_Forget_Caches(*dst.om);  // the copy is laid out and rendered afresh
    }
}

void OMast_Copy(a_oj_master& dst, const a_oj_master& src) {
    dst.seq = src.seq;
    dst.nlist = src.nlist;
    for (int i = 1; i <= src.nlist; ++i) OJ_Copy(dst.list[i], src.list[i], true);
}

void OMast_Dispose(a_oj_master& oj) {
    oj.seq = 0;
    while (oj.nlist > 0) Obj_Dispose(oj, oj.nlist);
}

void Obj_Dispose(a_oj_master& oj, int ojx) {
    if (ojx < 1 || ojx > oj.nlist) InternalError();
    Dispose_Item(oj.list[ojx]);
    for (int i = ojx; i < oj.nlist; ++i) oj.list[i] = oj.list[i + 1];
    oj.list[oj.nlist] = a_oj_item{};
    --oj.nlist;
}

bool OMast_Append(a_oj_master& oj, const a_oj_item& item) {
    if (oj.nlist >= MAXNOBJECTS) return false;
    oj.list[++oj.nlist] = item;
    return true;
}
