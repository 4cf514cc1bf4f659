// Pictures come from anywhere. Every input goes the whole way a photo import
// goes: our own readers by the first bytes, the image codecs for the rest and
// for bitmaps our reader refuses, the colour table of indexed results, the
// mask and the whitening of transparent pixels; and the clipboard's bitmap
// reader on its own. No input may crash it, and what it accepts must be a
// whole picture that can be shown.
#include <cstdint>
#include <cstdlib>

#include "images/bmp_reader.h"
#include "images/image_files.h"
#include "pixels/pixmap.h"
#include "platform/app.h"

namespace {

// `imported`: the result of the whole import, with its colour table.
void Check_Picture(const a_picture_scan_rec& scan, bool imported) {
    if (!scan.body.fore) std::abort();
    const PixMap& pm = scan.body.fore->pix;
    if (pm.bounds != scan.body.bounds || Rect_Width(pm.bounds) >= SCAN_MAX_WIDTH) std::abort();
    if (scan.body.mask && scan.body.mask->pix.bounds != pm.bounds) std::abort();
    if (!imported) return;
    // An import is never larger than printing can use.
    if (int64_t(Rect_Width(pm.bounds)) * Rect_Height(pm.bounds) > SCAN_FIT_PIXELS) std::abort();
    if (pm.pixelSize == 8 && scan.ctab == nullptr) std::abort();
    // Indexed bodies through their palette, 32-bit ones as they are.
    a_gworld_ptr colour(Scan_Colour_World(scan));
    if (!colour || colour->pix.bounds != pm.bounds) std::abort();
}

template <typename F>
void Check(F read, bool imported) {
    a_scan_owner owner;
    a_picture_scan_rec& scan = *owner;
    if (read(scan) == SCAN_OK) {
        Check_Picture(scan, imported);
    } else if (scan.body.fore || scan.body.mask) {
        std::abort();  // failures leave nothing behind
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The codecs need the toolkit; it must go before Qt's own globals do.
    static bool started = (PixMap_Init(), Platform_Init(true)) && std::atexit(Platform_Stop) == 0;
    if (!started) std::abort();
    Check([&](a_picture_scan_rec& scan) { return Scan_Bytes(false, nullptr, data, size, scan); }, true);
    Check([&](a_picture_scan_rec& scan) { return Scan_BMP_2(false, false, data, size, scan); }, false);
    return 0;
}
