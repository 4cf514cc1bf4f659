// Text layout takes any string and any setting of the sliders: random text
// (UTF-16, unpaired surrogates, breaks) and random field values within and
// beyond the sliders' ranges must lay out without a crash and leave every
// placed character and mark inside the record's limits.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "fuzz_start.h"
#include "base/messages.h"
#include "pixels/pixmap.h"
#include "platform/app.h"
#include "platform/fonts.h"
#include "text/text_blocks.h"
#include "text/text_layout.h"

namespace {

constexpr size_t kHeader = 32;

int16_t Field(const uint8_t* h, int i) { return int16_t(h[2 * i] | (h[2 * i + 1] << 8)); }

void Check(const a_om_rec& om) {
    if (om.nxyl < 1 || om.nxyl > MAX_NXYL || om.noverflows > MAX_OVERFLOWS) std::abort();
    if (om.xyl[om.nxyl].mm_cat != CC_EOS) std::abort();
    if (om.cache.frame.npoints > MAX_FRAME_POINTS) std::abort();
    if (om.cache.path.npaths > MAX_PATH_SEGS) std::abort();
    for (int i = 1; i < om.nxyl; ++i)
        if (om.xyl[i].mm_cat > CC_IGNORE) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = Fuzz_Start();
    if (!started || size < kHeader) return 0;
    static auto om = std::make_unique<a_om_rec>();
    *om = a_om_rec{};
    const uint8_t* h = data;
    om->layout = uint8_t(h[0] % NLAYOUTS);
    om->justify = uint8_t(h[1] % 3);
    om->fontx = uint32_t(std::max(1, Font_Base_Proportional()));
    // In range most of the time, anything now and then.
    bool wild = (h[2] & 7) == 0;
    auto pick = [&](int i, int lo, int hi) {
        int v = Field(h, i);
        return int16_t(wild ? v : lo + std::abs(v % (hi - lo + 1)));
    };
    om->size = pick(2, 5, 288);
    om->hspacing = pick(3, 80, 200);
    om->vspacing = pick(4, 20, 300);
    om->radius = pick(5, 20, 180);
    om->lineangle = pick(6, -1800, 1800);
    om->polarangle = pick(7, -180, 180);
    om->spoke_outerd = pick(8, 50, 100);
    om->spoke_thickness = pick(9, 20, 100);
    om->spoke_totangle = pick(10, 45, 360);
    om->spoke_twist = pick(11, 0, 45);
    om->contour_margin = pick(12, 0, 30);
    om->anchor = Point{pick(13, -200, 1400), pick(14, -200, 1400)};
    om->rotcenter = Point{pick(15, 0, 1200), 600};
    std::vector<char16_t> text((size - kHeader) / 2 + 1, 0);
    std::memcpy(text.data(), data + kHeader, (size - kHeader) / 2 * 2);
    UniStr_To_OM(*om, text.data());
    for (int i = 1; i < om->nxyl; ++i) {  // a few overrides from the text's own bits
        char16_t c = om->xyl[i].cc_char;
        if ((c & 0x0F00) == 0x0100) om->xyl[i].cc_nudgex = int16_t(c & 0xFF) - 128;
        if ((c & 0x0F00) == 0x0200) om->xyl[i].cc_nudget = int16_t((c & 0xFF) * 14);
        if ((c & 0x0F00) == 0x0300) om->xyl[i].cc_size = int16_t(c & 0xFF);
    }
    a_text_unit u;
    u.bounds = Rect{0, 0, 1200, 1200};
    u.px_per_pt = 1200 / 120.0f * 25.4f / 72;
    OM_Recalc_On(*om, 1, u);
    Check(*om);
    return 0;
}
