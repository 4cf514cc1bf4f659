// Layout of a text block: characters categorised, measured, broken into
// lines and placed along the paths of the block's layout, with overflow
// marks, the selection frame and the bounding box.
// Process-wide state: the working tables of the layout in progress (reads
// and writes); the font list through measuring.
#pragma once
#include "model/text_rec.h"
#include "text/text_metrics.h"

// One character as measured.
struct a_ow_rec {
    int16_t ow_ascent = 0;
    int16_t ow_descent = 0;  // the vertical layout keeps the character's width here
    float ow_width = 0;
    float ow_left = 0;
    float ow_right = 0;
    float ow_max = 0;
};

struct a_break_rec {
    int32_t firstcx = 0;
    int32_t lastcx = 0;
    float firstcum = 0;
    float lastcum = 0;
};

// The working tables; valid only during one layout.
struct a_layout_tables {
    a_ow_rec ow[MAX_NXYL + 1];
    uint32_t nlines = 0;
    a_break_rec lines[MAX_TEXT_LINES + 1];  // 1 .. nlines
};
const a_layout_tables& Layout_Tables();

enum : int { TREAT_CR_AS_SPACE = 1 };

// The whole layout of block `om` (number omx, the id of its overflow marks)
// on unit `u`.
void OM_Recalc_On(a_om_rec& om, int omx, const a_text_unit& u);
// The same on the document's current unit.
void OM_Recalc(a_om_rec& om, int omx);

// The steps, open to tests.
void Categorize_Chars(a_om_rec& om, int options);
void Scan_Widths(a_om_rec& om);
void Scan_Vert(a_om_rec& om);
void Simple_Line_Breaks(a_om_rec& om, const a_text_unit& u);
void Calc_Line_Extents(float linespacing, float& widest, float& height);
void Apply_To_Path(int flags, uint32_t px, int omx, a_om_rec& om, int firstcx, int lastcx, int just);
void Override_Y(a_xyl_char& c);
void Override_Rotation(a_xyl_char& c, int text_size);
void Post_Overflow(a_om_rec& om, int32_t id, int x, int y);

// Moves only the frame while the block is dragged: by (dh, dv) for straight
// and vertical text, turned by -dangle tenths of a degree about the centre
// for circular text, a line from the centre to `mouse` for spirals and
// spokes, the disc outline below the moved anchor for contour text.
void Text_Preview_Move(a_om_rec& om, const a_text_unit& u, int dh, int dv, int dangle, Point mouse);
