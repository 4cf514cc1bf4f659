// The paint tools' one-level backup of a layer of the current unit: taken
// when a stroke starts, put back in part while the stroke is tracked.
// Process-wide state: the backup g_undo_layer and g_undo_layerx (reads and writes); the current
// unit's layer (writes).
#pragma once
#include "model/document.h"

extern a_doc_layer g_undo_layer;
extern a_static_layer g_undo_layerx;

// Copies the current unit's layer (world and mask) into the backup.
void Undo_SaveLayer(a_static_layer layerx);
// Puts the backup back into the layer inside `bounds` (unit cells).
void Undo_RestoreRect(const Rect& bounds);
// The same, but only where the 8-bit `mask` (on its own bounds) is 0.
void Undo_PaintNotMask(const Rect& bounds, const GWorld& mask);
void Undo_Dispose();
