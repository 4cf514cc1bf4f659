#include "model/undo_text.h"

void Save_OM(a_undo_writer& w, const a_om_rec& om) { w.Num(om.nchars); }

bool Read_OM(a_undo_reader& r, a_om_rec& om) {
    om = a_om_rec{};
    om.nchars = r.Num<uint32_t>();
    return r.Ok();
}
