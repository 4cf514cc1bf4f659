// Camera-sized JPEG files for the reader tests, written a row at a time by
// the JPEG library so that the test never holds the whole picture.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include "image_fixtures.h"

a_bytes Make_JPEG(int w, int h, int orientation, uint32_t (*colour)(int x, int y), int quality) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(w);
    c.image_height = JDIMENSION(h);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    jpeg_start_compress(&c, TRUE);
    if (orientation > 0) {
        a_bytes app1 = {'E', 'x', 'i', 'f', 0, 0};
        a_bytes exif = Exif_Block(orientation);
        app1.insert(app1.end(), exif.begin(), exif.end());
        jpeg_write_marker(&c, JPEG_APP0 + 1, app1.data(), unsigned(app1.size()));
    }
    std::vector<JSAMPLE> row(size_t(w) * 3);
    while (c.next_scanline < c.image_height) {
        const int y = int(c.next_scanline);
        for (int x = 0; x < w; ++x) {
            uint32_t p = colour(x, y);
            row[size_t(x) * 3] = JSAMPLE(p >> 16);
            row[size_t(x) * 3 + 1] = JSAMPLE(p >> 8);
            row[size_t(x) * 3 + 2] = JSAMPLE(p);
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    a_bytes bytes(out, out + size);
    std::free(out);
    return bytes;
}
