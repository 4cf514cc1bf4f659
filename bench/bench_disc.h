// The benchmarks' disc: a 120 mm CD with its 41 mm hole on a document of its
// own, over the canvas database the benchmark opened.
#pragma once
#include <cstdint>
#include <memory>

#include "model/document.h"
#include "templates/template.h"

inline void Bench_New_Disc(int16_t canvas_item) {
    auto t = std::make_unique<a_template>();
    t->nunits = 1;
    t->units[1].kind = UNIT_CD;
    t->units[1].bbox = {0, 0, 120, 120};
    t->units[1].meas[0] = 41;
    Doc_New(*t);
    g_doc.up->canv.cv.canvas_key = a_keyset{2, 0, canvas_item, 1};
}
