#include "cli_render.h"

#include "cli_args.h"
#include "pixels/pixmap.h"
#include "platform/png.h"
#include "render/compositor.h"

int Cli_Write_Png(const char* name, const GWorld* world, const std::string& out) {
    std::string error;
    if (!Png_Write(out, World_Bits(world), &error, a_png_effort::FAST)) return Cli_Fail(name, error);
    return 0;
}

bool Cli_Fits(const Rect& r) { return !Rect_IsEmpty(r) && PixMap_Fits(r, 32); }

int Cli_Write_Unit_Print(const char* name, uint32_t ux, int dpi, const std::string& out) {
    const Rect total = Unit_Print_Bounds(ux, dpi);
    if (!Cli_Fits(total))
        return Cli_Fail(name, Cli_Text("the unit does not fit a picture at %1 dpi", {std::to_string(dpi)}));
    GWorld* w = nullptr;
    Render_Unit_Print(ux, *Design_Unit(ux), total, w);
    a_gworld_ptr world(w);
    return Cli_Write_Png(name, world.get(), out);
}
