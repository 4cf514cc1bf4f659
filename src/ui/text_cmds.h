// What the text panel's controls do to the selected text block: a slider,
// toggle or grid changed, a font or colour chosen from its bar, and the
// colour bars' palette.
// Process-wide state: the interface record gs and the text swatches (reads
// and writes), the document's current unit and selection; sets the pending
// history step.
#pragma once
#include "model/history_ops.h"
#include "platform/pixels.h"
#include "ui/interface.h"
#include "ui/sliders.h"

// The colour bars' palette entry (1-based) equal to `color`, alpha aside;
// 0 when the palette has none (the bar then shows no choice while the
// swatch keeps the colour).
int Find_In_Palette32(a_win_pixel32 color);
a_win_pixel32 Palette_Color(int index);

// The interface state into the first selected text block, laid out and
// drawn again, with `op` as the pending history step; nothing while a block
// is being loaded into the interface or when no text block is selected.
// False when nothing was applied.
bool Delta_Text(int op);
bool Delta_Text_Major();  // a slider released, a toggle or grid changed
bool Delta_Text_Minor();  // while a slider is dragged: no step
// A glow, shadow or outline parameter changed: its toggle goes on first.
bool Delta_Glow();
bool Delta_Shad();
bool Delta_Outl();
// The layout grid changed: straight text goes back to angle 0; the size
// slider takes the layout's limit, with or without a selected block.
bool Delta_Text_Layout();
// The horizontal justification grid changed: the block keeps its place.
bool Delta_Horz_Just();
// Font `fontx` (1-based in the font list) chosen from the font bar; applied
// as one step only when the first selected block uses another font.
bool FontBar_Select(int fontx);
// Palette entry `index` chosen on colour bar `bar` (PAINT_COLORBAR for the
// letters, or an effect's bar): its swatch and the selected block.
bool Text_Color_Select(a_bar_enum bar, int index);
// Any colour on colour bar `bar` (the colour dialog's); the bar marks its
// palette entry when it has one.
bool Text_Color_Set(a_bar_enum bar, a_win_pixel32 colour);

// While characters of the edited block are selected the style controls act
// on them: each change one OP_TEXT_EDIT step. The override sliders and
// toggles loaded from the first selected character; applied to every
// selected one; back to their defaults and applied.
void Set_Style_Sliders();
bool Delta_Text_Override();
void Text_Clear_Overrides();
// A style toggle of the text panel (bold, italic, underline) set: on the
// selected characters while there are any, else on the selected block.
bool Text_Style_Toggle(a_toggle_enum t, bool on);

// The size slider one step up or down, within the layout's size limit; the
// slider's action applies it to the selected block.
void Text_Plus();
void Text_Minus();

// Runs Delta_Text and its kin from the text sliders.
void Text_Sliders_Attach();
