// The document's current direct-print medium in the preferences, seen in the
// frame of the document's layout.
// Process-wide state: the document g_doc and the preferences (reads).
#pragma once
#include "base/prefs.h"
#include "templates/expand.h"
#include "templates/template.h"

// Entry doc_mediax of the document's direct-print kind; landscape layouts
// see the stored nudge turned a quarter.
void Get_Media_Specs(a_print_media_spec& spec);
void Set_Media_Specs(const a_print_media_spec& spec);

// The unit resized to a direct printer's medium, around the centre of its
// box: a disc becomes a square of the medium's outer diameter, other media
// its width and height, and the hole the medium's. `adjustf` 2 takes the
// fixed sizes of the print preview instead of the medium's.
void Adjust_To_Medium(a_unit& out, a_direct_print_kind dkind, int adjustf,
                      const a_print_media_spec& media);
// Unit ux as the outer mask cuts it, in the frame of its printed picture: on
// a direct printer its box is the selected medium's (the picture is
// stretched over it, bleed included) with the medium's hole and no bleed
// left; any other unit as the template has it.
a_unit Calc_Medium_Unit(uint32_t ux);
