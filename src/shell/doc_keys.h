// The document's keys, asked in the key chain after the text editor: arrows
// nudge the selected blocks, "+" and "-" step a size, Tab cycles the
// selection, Backspace and Delete remove the selected blocks.
// Process-wide state: gs, the current unit's selection, the key chain.
#pragma once
#include "shell/keys.h"

// The text editor's keys, asked first: while a block is edited, and a
// character typed on the one selected text block, which begins editing it.
bool Text_Editor_KeyDown(const a_keystroke& key);
// True when the key was one of the document's.
bool Doc_KeyDown(const a_keystroke& key);

void Doc_Keys_Init();
void Doc_Keys_Stop();
