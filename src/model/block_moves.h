// Finding blocks under the mouse and moving them: the hit test with its
// area-plus-depth score, what a mouse-down on the editing area does, the
// drag as a sequence of steps, and the arrow-key nudge. The window turns its
// events into these calls; nothing here waits for the mouse.
// Process-wide state: the document g_doc (reads and writes the current unit), the selection state
// of model/selection.h.
#pragma once
#include <cstdint>

#include "platform/geometry.h"

// The block under `cell` (the lowest area + 100 x depth from the top wins,
// the higher block on a tie) and the handle part hit; OMX_NONE for nothing.
int Obj_Find(Point cell, int& part);

// One mouse-down on the editing area as the window saw it.
struct a_block_click {
    Point cell;
    bool button_down = true;  // false: only the cursor is wanted
    bool shift = false;
    bool option = false;
    bool moved = false;       // the mouse moved before it was released
    uint32_t ticks = 0;       // when
    uint32_t double_ticks = 30;  // the system's double-click time
};
enum a_click_action : uint8_t {
    CLICK_NOTHING,      // nothing under the point and nothing selected
    CLICK_DESELECT,     // everything deselected
    CLICK_NEW_TEXT,     // a new text block wanted at the point
    CLICK_SELECTED,     // the selection changed
    CLICK_DOUBLE,       // the block is to be opened (crop dialog, text editing)
    CLICK_TRACK_MOVE,   // drag from here: Track_Step with the block
    CLICK_TRACK_SCALE,  // resize from the corner `part`
    CLICK_TRACK_RANGE,  // a text range handle
    CLICK_CURSOR_HAND,  // button up over a selected block or a handle
};
struct a_click_result {
    a_click_action action = CLICK_NOTHING;
    int omx = -20001;
    int part = 0;
};
a_click_result Obj_MouseDown(const a_block_click& click);

enum a_track_mode : uint8_t { TRACK_INIT, TRACK_MOVE, TRACK_STOP };
// One step of a drag of the selection grabbed at block masterx: INIT keeps
// copies of the selected blocks (after dropping those that move unlike the
// grabbed one); MOVE puts them back and moves them from startcell to newcell
// without history; STOP does the same with the history step and forgets the
// copies.
void Track_Step(a_track_mode mode, int masterx, bool constrainf, Point startcell, Point newcell);
// Every selected block by (newcell - startcell); `constrainf` keeps the larger
// axis. With `renderf` the old and new areas are posted and one step recorded.
// With `dragf` (the mouse drags) text that turns about a centre follows the
// mouse around it.
void Apply_Move(bool renderf, bool constrainf, Point startcell, Point newcell, bool dragf = false);
// One block by (dx, dy), without constraint.
void Obj_Move_XY(int omx, int dx, int dy);
// 1 cell, 10 with shift, in screen pixels turned into cells by the view's
// `cells_per_pixel`, times the signs.
void Signs_To_DXY(bool is_shift, int signx, int signy, a_ratio cells_per_pixel, int& dx, int& dy);
void Obj_Nudge(bool is_shift, int signx, int signy, a_ratio cells_per_pixel = a_ratio{});
