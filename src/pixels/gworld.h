// Offscreen worlds: a pixel map of our own memory that can also be drawn into
// through the platform's drawing port, and masked worlds (a 32-bit colour
// world with an 8-bit coverage mask). A world's pixels never move.
// Process-wide state: the current port and the port stack (reads and writes),
// the display palette (reads).
#pragma once
#include <cstdint>
#include <memory>

#include "platform/geometry.h"
#include "platform/port.h"
#include "pixels/pixmap.h"

struct a_port;  // the platform's drawing port (platform/port.h)

struct GWorld {
    PixMap pix;              // baseAddr points into hdl
    a_port* port = nullptr;  // drawing state over pix: pen, colours, clip, opacity
    uint8_t* hdl = nullptr;  // the pixel memory the world owns
};

// A 32-bit colour world and its 8-bit coverage mask (gray_ctable: 0
// transparent, 255 opaque), both on `bounds`. No fore: nothing to draw; no
// mask: fully opaque.
struct a_masked_gworld {
    Rect bounds;
    GWorld* fore = nullptr;
    GWorld* mask = nullptr;
};

// What the port stack saves.
enum a_port_stack_kind : uint8_t { WINDOW_PORT, GWORLD_PORT };
struct a_gstate {
    a_port* port = nullptr;      // the current drawing port; nullptr is the screen
    GWorld* gworld = nullptr;    // the world that port belongs to, or nullptr for a window
};
constexpr int MAX_PORT_STACK = 5;

// 0 on success, else a non-zero error with `gworld` left nullptr. Depths up
// to 16 start black (all bits 0), deeper ones zeroed.
[[nodiscard]] int New_GWorld(const Rect& bounds, int depth, CTabHandle colortab, GWorld*& gworld);
// The same without blackening the pixels (rows' padding is cleared): only
// for a world its maker fills whole before anything reads it, such as a
// decoder's target, where clearing would write every byte twice.
[[nodiscard]] int New_GWorld_Unfilled(const Rect& bounds, int depth, CTabHandle colortab, GWorld*& gworld);
// The same as New_GWorld; failure is fatal and reported with `label`.
void New_GWorldF(const char* label, const Rect& bounds, int depth, CTabHandle colortab,
                 GWorld*& gworld);
// Short form: a world without a colour table; nullptr when memory is short.
GWorld* New_GWorld(int depth, const Rect& bounds);
// Nothing for nullptr; sets the variable to nullptr.
void Dispose_GWorld(GWorld*& gworld);

struct a_gworld_deleter {
    void operator()(GWorld* gworld) const { Dispose_GWorld(gworld); }
};
// A world with one owner, for locals and members that are never saved.
using a_gworld_ptr = std::unique_ptr<GWorld, a_gworld_deleter>;
// The short New_GWorld into an owner: null when memory is short.
inline a_gworld_ptr Make_GWorld(int depth, const Rect& bounds) {
    return a_gworld_ptr(New_GWorld(depth, bounds));
}
// New_GWorldF into an owner: failure is fatal.
inline a_gworld_ptr Make_GWorldF(const char* label, const Rect& bounds, int depth,
                                 CTabHandle colortab) {
    GWorld* w = nullptr;
    New_GWorldF(label, bounds, depth, colortab, w);
    return a_gworld_ptr(w);
}
// src nullptr disposes dst; else dst is made or resized to src's bounds,
// depth and table (fatal on failure) and takes a copy of src's pixels.
void Copy_GWorld(const GWorld* src, GWorld*& dst);
// Short form: a new copy, or nullptr for nullptr or when memory is short.
GWorld* Copy_GWorld(const GWorld* world);
// The world's pixels as a drawing port or an image writer sees them.
a_port_bits World_Bits(const GWorld* world);
// Remakes the world on newbox with its depth and table (fatal on failure);
// the contents are not kept. Nothing when the bounds already match.
void Resize_GWorld(GWorld*& gworld, const Rect& newbox);
// A new bare map of the world's bounds and depth (8-bit ones get
// gray_ctable) holding its pixels; the world is disposed.
void GWorld_To_PixMap(GWorld*& gworld, PixMap& pix);

PixMap* Get_GWorld_PixMap(GWorld* gworld);
uint8_t* Get_GWorld_BaseAddr(const GWorld* gworld);
Rect Get_GWorld_Bounds(const GWorld* gworld);
int Get_GWorld_PixelSize(const GWorld* gworld);
void Set_GWorld_CTable(GWorld* gworld, CTabHandle ctab);
// Pixels never move: locking does nothing and a world never reads as locked.
inline void Lock_GWorld(GWorld*) {}
inline void Unlock_GWorld(GWorld*) {}
inline bool Is_GWorld_Locked(const GWorld*) { return false; }

// The current port: a world, or a window (gworld nullptr).
GWorld* Get_GWorld();
void Set_GWorld(GWorld* gworld);  // nullptr makes the screen current
a_gstate Get_GState();
void Set_GState(const a_gstate& state);
// Save the current port and make `gworld` (or a window's port) current; at
// most five deep. Nesting deeper or popping an empty stack is an internal error.
void Push_GWorld(GWorld* gworld);
void Pop_GWorld();
void Push_Window(a_port* window_port);
void Pop_Window();
int GWorld_Stack_Depth();

// The current port made `gworld` (or a window's port) for one scope, and the
// previous one made current again when it ends, on every return path.
class a_port_scope {
public:
    explicit a_port_scope(GWorld* gworld) : window_(false) { Push_GWorld(gworld); }
    explicit a_port_scope(a_port* window_port) : window_(true) { Push_Window(window_port); }
    ~a_port_scope() { window_ ? Pop_Window() : Pop_GWorld(); }
    a_port_scope(const a_port_scope&) = delete;
    a_port_scope& operator=(const a_port_scope&) = delete;

private:
    bool window_;
};

// One pixel widened to 32 bits (16-bit as 5-5-5 word, 8-bit as the index);
// false outside the bounds.
[[nodiscard]] bool Get_GWorld_Pixel(const GWorld* port, int x, int y, uint32_t& pixel);
void GWorld_Zero(GWorld* gworld);  // every pixel byte 0

// Masked worlds.
void Null_MW(a_masked_gworld& mw);
// fore 32-bit without a table, mask 8-bit with gray_ctable; fatal on failure.
void New_MW(const char* label, const Rect& bounds, a_masked_gworld& mw);
void Dispose_MW(a_masked_gworld& mw);
using a_masked_gworld_owner = a_record_owner<a_masked_gworld, Null_MW, Dispose_MW>;
// New_MW into an owner: fatal on failure.
inline a_masked_gworld_owner Make_MW(const char* label, const Rect& bounds) {
    a_masked_gworld_owner o;
    New_MW(label, bounds, o.get());
    return o;
}
// out on `bounds` with the depth and table of `in`; nullptr in gives nullptr.
void Imitate_GWorld(const Rect& bounds, const GWorld* in, GWorld*& out);
// A fore without a mask gets a fully opaque one on `bounds`; fatal on failure.
void Force_Mask_To_Exist(const Rect& bounds, a_masked_gworld& mw);

void GWorld_Init();
void GWorld_Stop();
