// Where the main window goes and whether the screen is large enough.
// Process-wide state: none.
#pragma once
#include <vector>

#include "platform/geometry.h"

enum : int {
    MIN_SCREEN_WIDTH = 700,
    MIN_SCREEN_HEIGHT = 570,
    MIN_WINDOW_WIDTH = 808,
    MIN_WINDOW_HEIGHT = 620,
    MAX_WINDOW_SIZE = 2000,
};

// The default bounds in the `available` area of the screen (without panels):
// at most 1024 x 750, centred across, its top at most 45 pixels down.
Rect Calc_Default_WindowPos(const Rect& available);
// The screen check of start-up (alert 2 when it fails).
bool Screen_Large_Enough(int width, int height);
// True when `window` lies wholly within `screen` and is not empty.
bool Window_Fully_Visible(const Rect& window, const Rect& screen);

// Room kept above a window's inside for the window manager's title bar.
enum : int { TITLE_BAR_ROOM = 32 };
// Where the window (its inside) goes at start: the `saved` bounds, grown to
// the smallest window, when they lie with their title bar wholly in the
// available area of one of the current `screens` (the primary first);
// otherwise the default place on the primary screen.
Rect Restored_WindowPos(const Rect& saved, const std::vector<Rect>& screens);
