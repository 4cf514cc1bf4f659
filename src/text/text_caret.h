// Where the caret and the mouse meet the edited block's characters: the
// position nearest a point on any layout, the tracking of a press into a
// selection (drag, double click a word, triple click a line), and the caret
// itself, an I-beam at the caret's character that blinks on the tick clock.
// Process-wide state: the edit record g_ed through text/text_edit.h, and
// the caret g_caret (reads and writes).
#pragma once
#include <cstdint>

#include "model/text_rec.h"

// The caret spot before character pos: its origin in unit pixels and the
// line's angle there (tenths of a degree, counter-clockwise on screen).
struct a_caret_spot {
    float x = 0, y = 0;
    int16_t t = 0;
};
a_caret_spot Caret_Spot(const a_om_rec& om, int pos);
// The position whose spot is nearest `cell` (squared distance, the first on a tie).
int Text_Pos_At(const a_om_rec& om, float x, float y);

// A press in the edited block: `clicks` 1 places the caret (with shift
// extends the selection), 2 selects the word, 3 the line through its
// break. Tracking then runs the selection from the press to the mouse.
void Track_Text_Range(float x, float y, int clicks, bool shift);
void Track_Text_Drag(float x, float y);
void Select_Current_Word(int pos);
void Select_Current_Para(int pos);

// The caret: shown while editing with an empty selection; drawn in turns of
// 60 ticks on and 15 off. Ticks are milliseconds / 16.
struct a_caret {
    bool shown = false;
    bool drawn = false;
    uint32_t next_blink = 0;
    int pos = 0;         // the position it was drawn at
    uint32_t objid = 0;  // its block
};
extern a_caret g_caret;
enum : uint32_t { CARET_ON_TICKS = 60, CARET_OFF_TICKS = 15 };
// The caret appears at once, drawn, its blink starting again (after a key or click).
void Caret_Set(uint32_t now);
// One idle step; true when what is drawn changed.
bool Caret_Tick(uint32_t now);
// The I-beam as 9 points relative to the spot, in screen pixels for a
// block whose font is `size` screen pixels, turned by the spot's angle.
void Caret_Shape(const a_caret_spot& spot, float size, float out_x[9], float out_y[9]);
// The edited block's font size in unit pixels.
float Caret_Size(const a_om_rec& om);
