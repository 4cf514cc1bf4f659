#include "platform/jpeg_direct.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

namespace {

struct a_jpeg_error {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    bool incomplete;
};

[[noreturn]] void On_Error(j_common_ptr c) { std::longjmp(reinterpret_cast<a_jpeg_error*>(c->err)->jump, 1); }
// Warnings are not printed; a file cut short or broken off decodes with the
// rest filled in grey, and says so.
void On_Message(j_common_ptr c, int level) {
    if (level >= 0) return;
    const int code = c->err->msg_code;
    if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER || code == JWRN_MUST_RESYNC)
        reinterpret_cast<a_jpeg_error*>(c->err)->incomplete = true;
}

bool Plain_Colour(const jpeg_decompress_struct& c) {
    return c.num_components == 3 && (c.jpeg_color_space == JCS_YCbCr || c.jpeg_color_space == JCS_RGB);
}

// Only plain C objects live in this frame: the library's errors jump out of it.
bool Decode(jpeg_decompress_struct& c, a_jpeg_error& err, const uint8_t* data, size_t size, int width,
            int height, int eighths, uint8_t* dst, int rowbytes) {
    if (setjmp(err.jump)) return false;
    jpeg_create_decompress(&c);
    jpeg_mem_src(&c, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&c, TRUE) != JPEG_HEADER_OK || !Plain_Colour(c)) return false;
    c.out_color_space = JCS_EXT_BGRX;
    c.scale_num = unsigned(eighths);
    c.scale_denom = 8;
    jpeg_calc_output_dimensions(&c);
    if (int(c.output_width) != width || int(c.output_height) != height) return false;
    if (!jpeg_start_decompress(&c) || int(c.output_width) != width || c.output_components != 4) return false;
    while (c.output_scanline < c.output_height) {
        JSAMPROW row = dst + size_t(c.output_scanline) * size_t(rowbytes);
        if (jpeg_read_scanlines(&c, &row, 1) != 1) return false;
    }
    return jpeg_finish_decompress(&c) != 0;
}

}  // namespace

bool Jpeg_Decode_Direct(const uint8_t* data, size_t size, int width, int height, uint8_t* dst, int rowbytes,
                        a_jpeg_density& density, int eighths) {
    if (!data || size < 4 || width <= 0 || height <= 0 || rowbytes < width * 4) return false;
    if (eighths < 1 || eighths > 8) return false;
    jpeg_decompress_struct c{};
    a_jpeg_error err{};
    c.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = On_Error;
    err.mgr.emit_message = On_Message;
    const bool ok = Decode(c, err, data, size, width, height, eighths, dst, rowbytes);
    if (ok) density = a_jpeg_density{c.density_unit, c.X_density, c.Y_density, err.incomplete};
    jpeg_destroy_decompress(&c);  // also after a failed start: it frees what was made
    return ok;
}
