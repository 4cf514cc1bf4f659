// New documents from the catalogue, and moving an open document to another
// layout with the design of each old unit carried over to a matching new one.
// Process-wide state: the document g_doc and the working list of templates (reads and writes);
// calls the document services.
#pragma once
#include <cstdint>
#include <vector>

#include "templates/template.h"

enum a_unit_mapping_kind : uint8_t { UMP_EMPTY = 0, UMP_CLONE = 1, UMP_COPY = 2 };

// How one new unit gets its content: parent_ux for UMP_CLONE, src_ux for UMP_COPY.
struct a_unit_mapping {
    uint8_t mapkind = UMP_EMPTY;
    uint32_t ux = 0;
    bool operator==(const a_unit_mapping&) const = default;
};
using a_template_mapping = a_unit_mapping[MAXNUNITS + 1];  // indexed by new unit

// An old master unit with a design, and whether a new unit has taken it.
struct a_sig_source {
    uint32_t src_ux = 0;
    bool used = false;
};
struct a_sig_list {
    uint32_t nsig = 0;
    a_sig_source sig[MAXNUNITS + 1];  // 1 .. nsig
};

// A new document on catalogue record `index` (1-based), noted as recently used.
void Proj_PickLayout2(int index);

// For each new unit of t the old unit it takes: a master of the same kind
// first, else a clone of an earlier new unit, else empty. all_exact when
// every old design went to a new unit and no indexed new unit is left empty.
void Calc_Template_Mapping(const a_template& t, a_template_mapping& map, a_sig_list& sig,
                           bool& all_exact);

// The remap dialog's model: one row per new unit, each showing 0 ("Empty") or
// the old unit it takes.
struct a_remap_rec {
    const a_template* templ = nullptr;
    a_template_mapping map;
    a_sig_list sig;
    std::vector<uint32_t> rows;  // rows[r-1] for new unit r
};
void Remap_Init_Rows(a_remap_rec& rec);
void Remap_From_Dialog(a_remap_rec& rec);

// Replaces the document's layout by t, copying each old unit's design to the
// new units the map names, scaled to the new unit's size; the old unit
// records are freed.
void Do_Remap(const a_template& t, const a_template_mapping& map);

// The Switch Layout command: offers to save, asks for a layout, remaps.
enum a_switch_result { SWITCH_DONE, SWITCH_CANCELLED, SWITCH_SAVE_FAILED };
[[nodiscard]] a_switch_result Switch_Layout();
