// The collage being built: a pack of up to 144 slot blocks at the end of the
// current unit's block list, each a photo clipped to its slot's region.
// Photos are poured into empty slots, turned, sized, duplicated, cleared and
// swapped; OK composites the slots into one photo block, Cancel drops them.
// The phase itself belongs to the interface: Pack_Enter is told the phase to
// return to, and Pack_Leave answers with the phase to show next.
// Process-wide state: g_pack (reads and writes), the document g_doc (the current unit's blocks and
// paint bounds), the effects cache (reads and writes); records history steps and plays sounds
// through the document services; installs the compositor's slot drawing.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "images/pack_regions.h"
#include "model/effect_spec.h"
#include "model/photo_rec.h"
#include "render/effects_cache.h"

struct a_doc_unit;
#include "pixels/gworld.h"

struct a_pack {
    a_pack_spec packspec;
    Rect composite_bounds;
    a_masked_gworld compositemw;  // the slots as painted so far (screen)
    Rect save_doc_bounds;         // the unit's paint bounds before entry
    int save_phase = 0;           // the phase to go back to on Cancel
    uint32_t ux = 0;              // the unit the pack was made on
    int first_slot_omx = 0;       // block index of slot 10000
    int totnslots = 0;            // slots in use
    int hist_slot = -1;           // the history step before the collage
    a_slot slots[PACK_MAX_SLOTS];
    // What compositemw shows of each slot: the photo record as painted
    // (with its turn), so that any change to it repaints the slot.
    a_ph_rec painted[PACK_MAX_SLOTS];
    bool painted_valid[PACK_MAX_SLOTS] = {};
};
extern a_pack* g_pack;  // nullptr outside the collage

constexpr int PACK_SLOT_SIDE = 600;      // pictures above this both ways are reduced
constexpr int PACK_MAX_FILES = 50;       // files taken from one import
constexpr int PHOTO_PHASE_AFTER_OK = 4;  // PHOTO_PHASE: where OK leads

// Makes the pack on the current unit: the 144 regions, the phase and paint
// bounds to return to, the first slot index, paint bounds 10 x 10.
void Pack_Enter(int curr_phase);
// A new spec (clamped): composite bounds become the unit's paint bounds, the
// regions are rebuilt and the slot blocks follow the kind's count.
void Delta_Pack(const a_pack_spec& spec);
bool Pack_Active();

// Slot numbers (10000 ..) and block indices.
int Slotx_To_Omx(int slot);
int Omx_To_Slotx(int omx);  // -1 for a block that is not one of the pack's slots
int Pack_Slot_Blocks();     // slot blocks the unit holds
const a_slot& Pack_Slot(int slot);  // slot 10000 .. 10143 of the open pack
bool Is_Slot_Empty(int slot);

// totnslots = n; new empty slot blocks up to n (while the unit has room);
// trailing empty ones above n are deleted, a filled one stays.
void Set_Number_Of_Slots(int n);
// The first empty slot from the first selected slot (else 10000) onwards,
// cyclically over totnslots; -1 when none.
int Find_Slot_To_Fill();
bool Is_Pack_Full();
bool Is_Pack_Empty();

// Takes `picture`: reduced to a shorter side of 600 when both sides exceed
// it, registered with the cache as the slot photo's source, scaled to cover
// its slot. The slot becomes pending, visible and dirty.
void Inject_In_Slot(int slot, a_masked_gworld& picture, const std::string& path, a_source_kind kind);
// One file into the next empty slot; `full` when there was none. False when
// the file could not be read or there was no slot.
[[nodiscard]] bool Pack_Add_Photo(bool& full, const std::string& path);

struct a_pack_get_result {
    int placed = 0;
    std::vector<std::string> unplaced;  // no empty slot was left for these
    std::vector<std::string> failed;    // could not be read
    bool refused = false;               // the unit or the pack was full at the start
};
// The import: at most 50 files, each into the next empty slot; the progress
// bar runs for more than one; one "Collage insert" step; the refusal sound
// once at the end when a file found no slot.
a_pack_get_result Pack_Get(const std::vector<std::string>& paths);
// The clipboard's picture into the next empty slot (taken); with none, the
// refusal sound and the picture is freed.
[[nodiscard]] bool Pack_Paste(a_masked_gworld& picture);
// Each selected filled slot copied into the next empty one.
void Pack_DupSlot();
// Each selected filled slot emptied.
void Pack_ClearSlot();
// The photos of two slots trade places (a drag from one onto another).
[[nodiscard]] bool Pack_Swap_Slots(int slot_a, int slot_b);

// The user's own turn of block omx's slot, kept within -1800 .. 1800.
void Slot_Rotate(int delta, int omx);
// Every selected filled slot turned by delta as one "Photo angle" step.
void Pack_Rotate_Selected(int delta);
// Both scalings of every selected slot's photo (the item-size control).
void Delta_Pack_Item(int size);

// The slot's processed picture for `purpose` and where it lands; false for
// an empty slot.
[[nodiscard]] bool Calc_Slot_Dest_Rect(a_cache_result& result, Rect& dst, int omx, int slot,
                                       a_cache_purpose purpose);
// Slot `slot` into `target` (composite coordinates): the photo clipped to the
// region into the colour and the mask, and the outline over it.
void Paint_Slot(int slot, a_masked_gworld& target, a_cache_purpose purpose);
// Every slot into a cleared `target` of composite_bounds.
void Pack_Paint(a_masked_gworld& target, a_cache_purpose purpose);
// Every slot dirty and the whole unit posted.
void Pack_Inval();

// OK: with every slot empty, as Cancel; otherwise the composite becomes one
// SOURCE_COLLAGE photo block. Both return the phase to show next.
int Pack_OK();
int Pack_Cancel();
// Deletes the slot blocks, frees the pack and puts the paint bounds back.
int Pack_Leave(bool ok);
void Pack_RestoreBounds();

// The paint bounds a project stores for unit u: those from before the
// collage while one is being built on it.
Rect Pack_Unit_Bounds(const a_doc_unit& u);

void Pack_Init();
void Pack_Stop();
