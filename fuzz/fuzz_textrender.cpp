// Text reaches rendering from users and from project files: any characters
// (lone surrogates, controls, unassigned code points), any positions, sizes
// and angles, and any effect values a damaged record may hold. None may
// crash the renderer, and what it makes must lie on the worlds it says.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/messages.h"
#include "pixels/gworld.h"
#include "pixels/pixmap.h"
#include "platform/app.h"
#include "platform/fonts.h"
#include "text/text_draw.h"

namespace {

// Reads the input front to back; past its end everything reads as 0.
struct a_bytes {
    const uint8_t* p;
    size_t n;
    uint8_t U8() { return n ? (--n, *p++) : 0; }
    int16_t I16() { return int16_t(U8() | U8() << 8); }
    a_win_pixel32 Color() { return a_win_pixel32{U8(), U8(), U8(), U8()}; }
};

// Sizes and effects mostly within the sliders, sometimes anything at all.
int Value(a_bytes& in, int lo, int hi) {
    int16_t raw = in.I16();
    if (in.U8() < 16) return raw;
    return lo + (raw & 0x7FFF) % (hi - lo + 1);
}

void Check_World(const a_masked_gworld& mw) {
    if (!mw.fore) {
        if (mw.mask) std::abort();
        return;
    }
    if (!mw.mask || Rect_IsEmpty(mw.bounds)) std::abort();
    if (Rect_Sect(mw.bounds, mw.fore->pix.bounds) != mw.bounds) std::abort();
}

// The toolkit's font fallback makes process-wide objects the first time it
// runs; drawing once before registering the stop makes them outlive it, so
// that the toolkit ends in order at exit.
bool Start() {
    PixMap_Init();
    if (!Platform_Init(true)) return false;
    a_placed_char grin;
    grin.units[0] = 0xD83D;
    grin.units[1] = 0xDE00;
    grin.nunits = 2;
    grin.x = grin.y = 20;
    a_masked_gworld_owner text, shad;
    Render_Placed_Text({grin}, Rect{0, 0, 40, 40}, a_text_look{}, a_coord_mapping{}, text.get(),
                       shad.get());
    return std::atexit(Platform_Stop) == 0 &&
           g_message_services.recovery.Install([] { std::abort(); }) != 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = Start();
    if (!started) return 0;
    a_bytes in{data, size};
    a_text_look look;
    look.base_color = in.Color();
    look.opacity = Value(in, 6, 100);
    look.outlf = in.U8() & 1;
    look.outl_color = in.Color();
    look.outl_radius = Value(in, 1, 30);
    look.glowf = in.U8() & 1;
    look.glow_color = in.Color();
    look.glow_radius = Value(in, 1, 30);
    look.glow_opacity = Value(in, 6, 100);
    look.shadf = in.U8() & 1;
    look.shad.color = in.Color();
    look.shad.dx = Value(in, -100, 100);
    look.shad.dy = Value(in, -100, 100);
    look.shad.opacity = Value(in, 10, 100);
    look.shad.radius = Value(in, 0, 8);
    a_coord_mapping mapping;
    mapping.multx = 0.25f + float(in.U8() % 16) / 8;
    mapping.multy = in.U8() < 240 ? mapping.multx : float(in.I16()) / 64;
    Rect bbox{0, 0, int16_t(Value(in, 1, 300)), int16_t(Value(in, 1, 400))};
    std::vector<a_placed_char> chars(in.U8() % 24);
    for (a_placed_char& c : chars) {
        c.units[0] = char16_t(in.I16());
        c.units[1] = char16_t(in.I16());
        c.nunits = uint8_t(1 + (in.U8() & 1));
        c.fontx = in.U8() % 4;
        if (c.fontx == 3) c.family = u"No Such Family";
        c.size = float(Value(in, 2, 96));
        c.bold = in.U8() & 1;
        c.italic = in.U8() & 1;
        c.x = int16_t(Value(in, -20, 420));
        c.y = int16_t(Value(in, -20, 320));
        c.t = in.I16();
        c.width = int16_t(Value(in, 0, 60));
        c.drawn = in.U8() != 0;
    }
    a_masked_gworld_owner text, shad;
    Render_Placed_Text(chars, bbox, look, mapping, text.get(), shad.get());
    Check_World(text.get());
    Check_World(shad.get());
    if (shad->fore && !text->fore) std::abort();  // a shadow needs letters
    return 0;
}
