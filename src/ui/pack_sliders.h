// The collage controls: the kind and orientation choices and the pack
// sliders make the pack's spec; the item-size slider sizes the selected
// slots' photos. Each change leaves one step pending for the end of the action.
// Process-wide state: the interface record gs (reads and writes), the pack g_pack (through its
// module).
#pragma once
#include "images/pack_regions.h"

// The spec the controls describe (clamped).
a_pack_spec Sliders_To_Spec();
// A spec into the controls, stored without running their actions.
void Spec_To_Sliders(const a_pack_spec& spec);
// The controls' spec into the pack (Delta_Pack); nothing outside the collage.
void Sliders_To_Pack();
// The kind (a_pack_kind) and orientation (0 follow the ring, 1 upright) choices.
void Pack_Set_Kind(int kind);
void Pack_Set_Orient(int orient);
// The item-size slider shows the slot photo of block omx.
void Slot_To_Sliders(int omx);
// The pack sliders run Sliders_To_Pack, the item size Delta_Pack_Item.
void Pack_Sliders_Attach();
