// The document's keys, asked in the key chain after the text editor: arrows
// nudge the selected blocks, "+" and "-" step a size, Tab cycles the
// selection, Backspace and Delete remove the selected blocks.
// Process-wide state: gs, the current unit's selection, the key chain.
#pragma once
#include "shell/keys.h"

// True when the key was one of the document's.
bool Doc_KeyDown(const a_keystroke& key);

void Doc_Keys_Init();
void Doc_Keys_Stop();
