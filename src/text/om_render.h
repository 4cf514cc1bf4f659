// A text block drawn: its laid-out characters turned into placed
// characters and its style into a look, rendered into masked worlds; the
// compositor's text drawing services (screen cache, merge, print).
// Process-wide state: the document (finds a block's unit), the edit state
// g_ed, the compositor's draw services (installed by Text_Draw_Init).
#pragma once
#include <vector>

#include "model/text_rec.h"
#include "text/text_draw.h"
#include "text/text_metrics.h"

// xyl[1 .. nxyl - 1] as placed characters, entry i - 1 for xyl[i]; sizes by
// the current text-size mapping (the caller pushes the unit's). The second
// half of a surrogate pair is an undrawn entry of width 0, its first half
// carries both units.
std::vector<a_placed_char> OM_Placed_Chars(const a_om_rec& om);
a_text_look OM_Text_Look(const a_om_rec& om);

// The unit holding the block in the open document (the current unit when
// no unit holds it).
a_text_unit Block_Text_Unit(const a_om_rec& om);

// Lays the block out on its unit unless its layout is current.
void OM_Ensure_Layout(a_om_rec& om);

// The block's letters into `text` and, with a shadow, its shadow into
// `shad`, in unit pixels scaled by the mapping's multx and multy.
void OM_Render(const a_om_rec& om, const a_coord_mapping& mapping, a_masked_gworld& text,
               a_masked_gworld& shad);

// The overflow marks of every visible text block of unit `u` over `world`
// (the unit's picture through m), each OVERFLOW_MARK_SIZE output pixels
// across whatever the zoom. The compositor draws them on the current unit's
// screen picture.
void Draw_Overflow_Marks(const a_doc_unit& u, GWorld* world, const a_coord_mapping& m);

// Installs (removes) the compositor's text draw services.
void Text_Draw_Init();
void Text_Draw_Stop();
