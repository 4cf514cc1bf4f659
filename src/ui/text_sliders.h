// Which slider, toggle, grid and swatch shows each field of a text block,
// both ways, and the text services the interface owns.
// Process-wide state: the interface record gs and the text swatches (reads
// and writes); installs the text services of new blocks and the imports'
// plain-text service.
#pragma once
#include "model/text_rec.h"
#include "platform/pixels.h"

// The colours of letters, outline, shadow and glow that new blocks take.
enum a_text_swatch : int { SWATCH_BASE, SWATCH_OUTL, SWATCH_SHAD, SWATCH_GLOW, NTEXT_SWATCHES };
extern a_win_pixel32 g_text_swatches[NTEXT_SWATCHES];

// The interface state into a block: style, colours, layout and justification;
// the size is clamped to the layout's limit and the size slider follows.
void Sliders_To_OM(a_om_rec& om);
// The block into the interface, without running the sliders' actions.
void OM_To_Sliders(const a_om_rec& om);
// True while OM_To_Sliders runs: change handlers must not write back.
bool Text_Sliders_Loading();
// The settings an import gives its blocks: horizontal, left, angle 0, size
// 10; nothing runs the sliders' actions.
void Text_Sliders_Plain();

void Text_Sliders_Init();
void Text_Sliders_Stop();
