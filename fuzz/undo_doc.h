// The document the undo-file target checks its inputs against, also used to
// write its seeds: two discs (the second a clone) and a rectangle, small
// paint areas, so that each run stays quick.
#pragma once
#include <memory>

#include "model/document.h"
#include "model/photo_rec.h"
#include "model/text_rec.h"
#include "pixels/gworld.h"
#include "pixels/pixmap.h"
#include "pixels/syspix.h"

inline void Undo_Fuzz_Document() {
    auto t = std::make_unique<a_template>();
    t->nunits = 3;
    for (uint32_t ux = 1; ux <= 3; ++ux) {
        t->units[ux].kind = ux < 3 ? UNIT_CD : UNIT_RECT;
        t->units[ux].bbox = {0, float(ux * 10), 8, float(ux * 10 + 8)};
    }
    Doc_New(*t);
    for (uint32_t ux = 1; ux <= 3; ++ux) g_doc.doc_units[ux]->paintbounds = Rect{0, 0, 12, 16};
}

// The first unit gets a photo, a text block and paint.
inline void Undo_Fuzz_Design() {
    a_doc_unit& u = *g_doc.doc_units[1];
    a_oj_item photo;
    photo.objid = NextUniqueID();
    photo.kind = PHOTO_BLOCK;
    photo.ph = New_PH_Rec();
    photo.ph->spec.source.kind = SOURCE_EXTFILE;
    photo.ph->spec.source.path.name = "/home/someone/photo.jpg";
    photo.ph->dst_box = Rect{1, 2, 9, 12};
    (void)OMast_Append(u.oj, photo);
    a_oj_item text;
    text.objid = NextUniqueID();
    text.kind = TEXT_BLOCK;
    text.om = New_OM_Rec();
    text.om->nxyl = 6;
    for (int32_t c = 1; c < 6; ++c) text.om->xyl[c].cc_char = char16_t('a' + c);
    (void)OMast_Append(u.oj, text);
    u.paintinuse = true;
    Sync_Existence(PAINT1_LAYER, u, true);
    PixMap32_Fill(u.static_[PAINT1_LAYER].world->pix, Rect{2, 2, 5, 9}, 0x00AA3311);
    PixMap8_Fill(u.static_[PAINT1_LAYER].mask->pix, Rect{2, 2, 5, 9}, 255);
}
