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

void Check(int err, a_picture_scan_rec& scan) {
    if (err != 0) {
        if (scan.body.fore || scan.body.mask) std::abort();  // failures leave nothing behind
        return;
    }
    const PixMap& pm = scan.body.fore->pix;
    if (pm.bounds != scan.body.bounds || Rect_Width(pm.bounds) >= SCAN_MAX_WIDTH) std::abort();
    if (scan.body.mask && scan.body.mask->pix.bounds != pm.bounds) std::abort();
    Dispose_Scan(scan);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = (PixMap_Init(), true);
    (void)started;
    a_picture_scan_rec scan;
    Check(Scan_ILBM(false, data, size, scan), scan);
    Check(Scan_BMP_2(false, true, data, size, scan), scan);
    Check(Scan_BMP_2(false, false, data, size, scan), scan);
    Check(Scan_PSD(false, data, size, scan), scan);
    return 0;
}
