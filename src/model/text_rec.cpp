#include "model/text_rec.h"

#include "pixels/gworld.h"

void OM_Clear_Caches(a_om_rec& om) {
    om.cache_progress = 0;
    Dispose_GWorld(om.cached_text);
    Dispose_GWorld(om.cached_shadow);
    om.cached_path = nullptr;
}

void OM_Forget_Caches(a_om_rec& om) {
    om.cache_progress = 0;
    om.cached_text = nullptr;
    om.cached_shadow = nullptr;
    om.cached_path = nullptr;
}
