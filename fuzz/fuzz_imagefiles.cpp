// Our own image readers take files from anywhere: IFF, Windows bitmaps (file
// and clipboard forms) and Photoshop. No input may crash them, and what they
// accept must be a whole picture.
#include <cstdint>
#include <cstdlib>

#include "images/bmp_reader.h"
#include "images/iff_reader.h"
#include "images/image_files.h"
#include "images/psd_file.h"
#include "pixels/pixmap.h"

namespace {

// Runs one reader on a fresh record and checks what it leaves; the owner
// frees it on every path.
template <typename F>
void Check(F read) {
    a_scan_owner owner;
    a_picture_scan_rec& scan = *owner;
    int err = read(scan);
    if (err != 0) {
        if (scan.body.fore || scan.body.mask) std::abort();  // failures leave nothing behind
        return;
    }
    const PixMap& pm = scan.body.fore->pix;
    if (pm.bounds != scan.body.bounds || Rect_Width(pm.bounds) >= SCAN_MAX_WIDTH) std::abort();
    if (scan.body.mask && scan.body.mask->pix.bounds != pm.bounds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = (PixMap_Init(), true);
    (void)started;
    Check([&](a_picture_scan_rec& scan) { return Scan_ILBM(false, data, size, scan); });
    Check([&](a_picture_scan_rec& scan) { return Scan_BMP_2(false, true, data, size, scan); });
    Check([&](a_picture_scan_rec& scan) { return Scan_BMP_2(false, false, data, size, scan); });
    Check([&](a_picture_scan_rec& scan) { return Scan_PSD(false, data, size, scan); });
    return 0;
}
