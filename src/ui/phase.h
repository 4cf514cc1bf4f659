// The interface's phase: which menu bar, tools and palettes are shown and
// which part of the program a click in the editing area goes to.
// Process-wide state: none.
#pragma once

enum a_phase : int {
    PREVIEW_PHASE = 0,
    PAINT_PHASE = 1,
    CANVAS_PHASE = 2,
    SYMBOL_PHASE = 3,
    PHOTO_PHASE = 4,
    GRID_PHASE = 5,
    TEXT_PHASE = 6,
    COLLAGE_PHASE = 7,
    PAPER_PHASE = 8,
    NODOC_PHASE = 9,
    NULL_PHASE = 10
};
