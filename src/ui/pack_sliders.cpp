#include "ui/pack_sliders.h"

#include <algorithm>

#include "images/pack.h"
#include "model/history_ops.h"
#include "model/notices.h"
#include "model/ph_blocks.h"
#include "ui/interface.h"

namespace {

int16_t V(a_slider_enum s) { return gs.slider_vals[s]; }

void Pack_Slider_Changed(a_slider_enum) {
    if (!Pack_Active()) return;
    Sliders_To_Pack();
    History_Set_Pending(OP_PHOTO_ADJUST);
}

void Item_Slider_Changed(a_slider_enum) {
    if (Pack_Active()) Delta_Pack_Item(V(PACK_ITEM_SIZE_SLIDER));
}

}  // namespace

a_pack_spec Sliders_To_Spec() {
    a_pack_spec spec;
    spec.packkind = uint8_t(std::clamp<int>(gs.grid_vals[PACK_KIND_GRID], 0, PACK_NKINDS - 1));
    spec.orient = uint16_t(gs.grid_vals[PACK_ORIENT_GRID] != 0);
    spec.clock_nouter = V(PACK_CLOCK_NOUTER_SLIDER);
    spec.clock_ninner = V(PACK_CLOCK_NINNER_SLIDER);
    spec.clock_totangle = V(PACK_CLOCK_TOTANGLE_SLIDER);
    spec.clock_start = V(PACK_CLOCK_START_SLIDER);
    spec.clock_spacing = V(PACK_CLOCK_SPACING_SLIDER);
    spec.clock_thickness = V(PACK_CLOCK_THICKNESS_SLIDER);
    spec.clock_outerd = V(PACK_CLOCK_OUTERD_SLIDER);
    spec.grid_nx = V(PACK_GRID_NX_SLIDER);
    spec.grid_ny = V(PACK_GRID_NY_SLIDER);
    spec.grid_spacing = V(PACK_GRID_SPACING_SLIDER);
    spec.grid_corner = V(PACK_GRID_CORNER_SLIDER);
    spec.lotus_n = V(PACK_LOTUS_N_SLIDER);
    spec.outline = V(PACK_OUTLINE_SLIDER);
    Clamp_Pack_Spec(spec);
    return spec;
}

void Spec_To_Sliders(const a_pack_spec& in) {
    a_pack_spec spec = in;
    Clamp_Pack_Spec(spec);
    gs.grid_vals[PACK_KIND_GRID] = spec.packkind;
    gs.grid_vals[PACK_ORIENT_GRID] = int16_t(spec.orient != 0);
    Slider_Blast(spec.clock_nouter, PACK_CLOCK_NOUTER_SLIDER);
    Slider_Blast(spec.clock_ninner, PACK_CLOCK_NINNER_SLIDER);
    Slider_Blast(spec.clock_totangle, PACK_CLOCK_TOTANGLE_SLIDER);
    Slider_Blast(spec.clock_start, PACK_CLOCK_START_SLIDER);
    Slider_Blast(spec.clock_spacing, PACK_CLOCK_SPACING_SLIDER);
    Slider_Blast(spec.clock_thickness, PACK_CLOCK_THICKNESS_SLIDER);
    Slider_Blast(spec.clock_outerd, PACK_CLOCK_OUTERD_SLIDER);
    Slider_Blast(spec.grid_nx, PACK_GRID_NX_SLIDER);
    Slider_Blast(spec.grid_ny, PACK_GRID_NY_SLIDER);
    Slider_Blast(spec.grid_spacing, PACK_GRID_SPACING_SLIDER);
    Slider_Blast(spec.grid_corner, PACK_GRID_CORNER_SLIDER);
    Slider_Blast(spec.lotus_n, PACK_LOTUS_N_SLIDER);
    Slider_Blast(spec.outline, PACK_OUTLINE_SLIDER);
}

void Sliders_To_Pack() {
    if (Pack_Active()) Delta_Pack(Sliders_To_Spec());
}

void Pack_Set_Kind(int kind) {
    gs.grid_vals[PACK_KIND_GRID] = int16_t(std::clamp(kind, 0, PACK_NKINDS - 1));
    if (!Pack_Active()) return;
    Sliders_To_Pack();
    History_Set_Pending(OP_PHOTO_ADJUST);
}

void Pack_Set_Orient(int orient) {
    gs.grid_vals[PACK_ORIENT_GRID] = int16_t(orient != 0);
    if (!Pack_Active()) return;
    Sliders_To_Pack();
    History_Set_Pending(OP_PHOTO_ADJUST);
}

void Slot_To_Sliders(int omx) {
    const a_ph_rec* ph = Curr_PH(omx);
    if (ph && ph->spec.source.kind != SOURCE_EMPTYSLOT) Slider_Blast(ph->spec.scalingh, PACK_ITEM_SIZE_SLIDER);
}

void Pack_Sliders_Attach() {
    for (a_slider_enum s :
         {PACK_CLOCK_NINNER_SLIDER, PACK_CLOCK_NOUTER_SLIDER, PACK_CLOCK_TOTANGLE_SLIDER,
          PACK_CLOCK_START_SLIDER, PACK_CLOCK_SPACING_SLIDER, PACK_CLOCK_THICKNESS_SLIDER,
          PACK_CLOCK_OUTERD_SLIDER, PACK_OUTLINE_SLIDER, PACK_GRID_NX_SLIDER, PACK_GRID_NY_SLIDER,
          PACK_GRID_SPACING_SLIDER, PACK_GRID_CORNER_SLIDER, PACK_LOTUS_N_SLIDER})
        Slider_Set_Action(s, Pack_Slider_Changed);
    Slider_Set_Action(PACK_ITEM_SIZE_SLIDER, Item_Slider_Changed);
}
