// What a mouse-down in the editing area does in the paint phase: it picks a
// tracker by the tool, and the tracker follows the mouse until the stroke
// ends. The window (or a test, or a design) feeds the events; nothing here
// knows the window. Every stroke that paints is one history step.
// Process-wide state: g_paint (reads; the eyedropper writes the colour), the
// tracker g_track, the current unit's layer; records history steps and plays sounds.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "paint/paint_state.h"

struct a_paint_event {
    Point cell;           // the mouse in the unit's cells
    Point screen;         // the mouse in the window's pixels (the grabber)
    bool option = false;  // Alt: the eyedropper for tools that allow it
    bool shift = false;   // squares, circles and 45° lines
    bool command = false; // Ctrl: shapes from their centre
    bool double_click = false;
    uint32_t ticks = 0;   // of 16 ms
};

enum a_tracker_kind : int {
    NO_TRACK = 0, TRACK_1, TRACK_4, TRACK_POLYGON, TRACK_FURTER, TRACK_GRABBER, TRACK_DROPPER
};

enum : int { SAMPLE_QUEUE = 4096 };

// Track_1's samples: a ring of cell points, so a stroke of any length keeps
// the same memory.
struct a_sample_queue {
    Point pts[SAMPLE_QUEUE];
    int head = 0, count = 0;
    bool Push(Point p);  // false when full
    Point Pop();
};

// The scroll of the view the grabber asks for, in window pixels.
extern std::function<void(int dh, int dv)> g_paint_scroll;

// Every paint mouse-down goes here; another mouse-down while a polygon is
// being made adds its next corner.
void Paint_MouseDown(const a_paint_event& e);
// The mouse moved (with the button down, or while a polygon is open).
void Paint_MouseMove(const a_paint_event& e);
void Paint_MouseUp(const a_paint_event& e);
// Time passes with the mouse still: the spray keeps spraying.
void Paint_Tick(uint32_t ticks);
// Escape: the stroke ends at once, its cells go back (sound 167).
void Paint_Escape();
// Return: an open polygon is closed and painted.
void Paint_Finish();

bool Paint_Tracking();
int Paint_Tracker();          // a_tracker_kind
int Paint_Queue_Length();     // samples waiting; the watch cursor above 10
const std::vector<Point>& Paint_Polygon_Corners();
