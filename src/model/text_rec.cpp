#include "model/text_rec.h"

a_om_rec::a_om_rec() {
    xyl[1].cc_char = CHAR_EOS;
    xyl[1].mm_cat = CC_EOS;
}

void Set_XYL_Defaults(a_xyl_char& c) {
    c = a_xyl_char{};
    c.cc_color = a_win_pixel32{};
    c.cc_size = 100;
}

void Flush_Path_Cache(a_path_cache& pc) { pc = a_path_cache{}; }

void OM_Clear_Caches(a_om_rec& om) {
    om.cache.progress = 0;
    Dispose_GWorld(om.cache.text.fore);
    Dispose_GWorld(om.cache.text.mask);
    Dispose_GWorld(om.cache.shad.fore);
    Dispose_GWorld(om.cache.shad.mask);
    Flush_Path_Cache(om.cache.path);
}

void OM_Forget_Caches(a_om_rec& om) {
    om.cache.progress = 0;
    om.cache.text = a_masked_gworld{};
    om.cache.shad = a_masked_gworld{};
    Flush_Path_Cache(om.cache.path);
}
