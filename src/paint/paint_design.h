// Described strokes played back through the trackers, as the mouse would
// draw them, so a design paints exactly what the window would. Paint_Init
// offers this to the design reader as the document's paint service.
// Process-wide state: g_paint (set per stroke, put back afterwards), the
// current unit's layer; installs g_doc_services.paint_strokes.
#pragma once
#include <string>
#include <vector>

#include "model/paint_desc.h"

// False with a message (nothing recorded in the history either way).
[[nodiscard]] bool Paint_Play_Strokes(const std::vector<a_paint_stroke_desc>& strokes, std::string& error);

void Paint_Init();
void Paint_Stop();
