// Where the injection puts the text blocks of a track list: inside the
// unit's printable area (for a disc the ring between its hole and its edge),
// the columns of a page side by side, long lists split into pages at the
// same lines, at the largest size from 10 points down that fits.
// Process-wide state: none.
#pragma once
#include <vector>

#include "platform/geometry.h"

enum : int {
    INJECT_SIZE = 10,      // points, the size tried first
    INJECT_SPACING = 20,   // pixels between the columns of a page
    INJECT_PAGE_GAP = 40,  // and between pages
    INJECT_MAX_PAGES = 8,
    INJECT_CLEAR_COST = 2,  // points of size given up to keep a list clear of other blocks
};

// The area a list is placed in: the unit's box kept clear of its edges and,
// on a disc, the ring between the two radii about `centre`.
struct a_inject_area {
    Rect box;
    Point centre;
    int outer = 0;  // a disc: the radius the list stays within (0: the box is the area)
    int hole = 0;   // a disc: the radius it keeps clear of
    int first_line = 0;  // a rectangle: where a list begins when it has room, a fifth down
    std::vector<Rect> taken;  // boxes of blocks already there, which a list keeps clear of when it can
};
// The area of a unit on `bounds`; `disc` and `hole` are a round unit's
// diameters in pixels (0 for other shapes).
a_inject_area Inject_Area(const Rect& bounds, int disc, int hole);

// A page: its blocks side by side, width and height in pixels.
struct a_inject_page {
    int w = 0, h = 0;
};

// The top-left corner of each page placed in the area: on a rectangle the
// pages in a row, centred, a fifth down when there is room; on a disc in a
// row above the hole, else below it, else half of them above and half below
// it, else half on either side of it; on a rectangle also below each block
// already there. The first place clear of `taken` wins, else the one that
// covers least of it; `clear` tells which. False when they do not fit; with `force` they are
// placed by the first rule whatever the fit (the list then runs past the
// area) and the answer is true.
bool Inject_Place(const a_inject_area& a, const std::vector<a_inject_page>& pages, bool force,
                  std::vector<Point>& at, bool* clear = nullptr);

// The lines of page `page` of `pages` of a list of `nlines` lines: the
// first and one past the last.
void Inject_Page_Lines(int nlines, int pages, int page, int& first, int& end);
