// Import of a project into the open document: the project is read apart,
// by the same reader as an opening, and each unit's design (or one unit's)
// is then added to the unit of the same number, on top of what it holds, scaled from its own
// unit's size to that unit's; a unit with a canvas brings it along. The open
// document keeps its template, its name and every block it had; nothing of
// it changes unless the whole import succeeds.
// Process-wide state: the document g_doc (reads and writes; set aside while
// the project is read); the effects cache (writes); the last report.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/document.h"
#include "pixels/pixmap.h"

// False (the open document untouched, the reason in the report) when no
// document is open, the project cannot be read, or a unit would hold more
// blocks than a unit may. Units the open document lacks, and further units
// that would land on the same design (clones), are left out with a note.
// With `into` (a unit of the open document) only the project's unit of that
// number (its first when it has fewer; the master a clone shows) comes,
// onto that unit's design.
[[nodiscard]] bool Import_DISC_Bytes(std::vector<uint8_t>& bytes, const std::string& path, uint32_t into = 0);

// A paint picture (32-bit) and its coverage (8-bit), on the unit's own
// pixels, composited over the unit's paint layer, which is made when the
// unit has none: paint already there shows through thin new paint.
void Merge_Paint_Layer(const PixMap& world, const PixMap& mask, a_doc_unit& onto);
