// Image files in and out. Every reader fills the same picture scan record, so
// the photo code does not care where a picture came from. The program reads
// IFF (ILBM and PBM), Windows bitmaps and Photoshop files itself; every other
// format goes to the platform's image codecs. Writers: Photoshop and PICT of
// our own, BMP, JPEG, TIFF and PNG through the codecs.
// Pictures are decoded at most as large as printing can use: at most
// SCAN_FIT_WIDTH wide (the row limit of pixel maps) and SCAN_FIT_PIXELS in
// all, which at the design resolution of 300 dpi is more than the longest
// side and the area of any unit; larger ones are decoded scaled down,
// proportions kept (a JPEG by its decoder's own eighths, without ever being
// whole in memory). A picture that is decoded whole before it is scaled down
// may have SCAN_MAX_FULL_PIXELS; a larger one is refused with its size.
// Process-wide state: the scan progress display (reads and writes), the
// reason the last read was refused; alerts go through the messages module.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "artdb/keyset.h"
#include "pixels/gworld.h"

// The result of every reader.
struct a_picture_scan_rec {
    // bounds (0, 0, height, width); fore 8-bit for indexed pictures, else
    // 32-bit; mask 8-bit coverage or nullptr.
    a_masked_gworld body;
    a_win_pixel32 ctable[256] = {};  // palette of an indexed picture, the rest zero
    a_keyset canvas_key;
    bool canvas_flipx = false;
    bool canvas_flipy = false;
    int16_t canvas_nrot = 0;
    bool transp = false;  // the picture has a transparent palette index
    uint8_t transpx = 0;  // and which
    char codec[4] = {};   // format code of the decoder; empty for IFF and clipboard bitmaps
    int16_t depth = 0;    // bits per pixel of the source
    int16_t ncolors = 0;  // entries of ctable the file gave
    int dpi_h = 0;        // resolution stated by the file, 0 when none
    int dpi_v = 0;
    int natural_width = 0;    // the file's own size, before any scaling down
    int natural_height = 0;
    bool incomplete = false;  // the file ended before the picture did: the rest is filled in
    // The table attached to an 8-bit fore by Read_BitMap, owned by the record:
    // it must outlive every world that shares it (Dispose_Scan frees it).
    a_color_table* ctab = nullptr;
};

enum a_file_format : int16_t {
    FMT_CIRQUEL = 0,
    FMT_PICT = 1,
    FMT_BMP = 2,
    FMT_BMP2 = 3,
    FMT_ILBM = 4,
    FMT_GIF_INT = 5,
    FMT_GIF = 6,
    FMT_JPEG = 7,
    FMT_TIFF = 8,
    FMT_PSD = 9,
    FMT_TEXT = 10,
    FMT_PNG = 11,
    FMT_COUNT
};
// The four-character file type of each format, in the order above.
extern const char FINDER_TYPES[FMT_COUNT][5];

// Reader results. Positive codes come from our own readers (the step that
// failed); the image-codec path uses negative ones.
enum : int {
    SCAN_OK = 0,
    SCAN_NO_DECODER = -2,
    SCAN_NO_BOUNDS = -3,
    SCAN_DEEP_IMAGE = -100,  // more than 8 bits per channel, or not RGB or grey
    SCAN_NO_MEMORY = -108,   // the memory alert was shown already
    SCAN_TOO_LARGE = -110,   // the size alert was shown already
};
constexpr int SCAN_MAX_WIDTH = 4096;     // widths from this up are refused
constexpr int SCAN_MAX_HEIGHT = INT16_MAX;  // heights above this are refused
// Image files larger than this are refused before they are read: the largest
// picture there is room for, 4095 x 32767 in 24-bit rows, takes 403 MB.
constexpr size_t IMAGE_FILE_MAX_BYTES = size_t(512) << 20;
constexpr int ILBM_MAX_WIDTH = 3072;
constexpr int SCAN_FIT_WIDTH = SCAN_MAX_WIDTH - 1;
constexpr int SCAN_FIT_HEIGHT = SCAN_MAX_HEIGHT;
constexpr int64_t SCAN_FIT_PIXELS = int64_t(4095) * 4096;  // 64 MB as 32-bit pixels
constexpr int64_t SCAN_MAX_FULL_PIXELS = int64_t(32) << 20;  // 128 MB as 32-bit pixels

// Called with (-1, -1) when a read starts, (rows, row) per row, (-2, -2) at
// the end. The shell installs the progress display; nullptr shows nothing.
using a_scan_progress = void (*)(int total, int done);
void Image_SetProgress(a_scan_progress progress);
void Scan_Progress(int total, int done);

// Zeroes a record (releasing nothing); Dispose_Scan releases its worlds.
void Null_Scan(a_picture_scan_rec& scan);
void Dispose_Scan(a_picture_scan_rec& scan);
using a_scan_owner = a_record_owner<a_picture_scan_rec, Null_Scan, Dispose_Scan>;

// Decodes an image file. Indexed results get a colour table made from
// ctable. On failure nothing is left allocated and, with `alerts`, the
// reason is shown (Photo_Import_Error).
[[nodiscard]] bool Read_BitMap(bool alerts, const std::string& path, a_picture_scan_rec& scan);
// The same, returning the reader's code.
[[nodiscard]] int Read_Image_File(bool alerts, const std::string& path, a_picture_scan_rec& scan);
// The same over bytes in memory; `codec` (a four-character code, may be
// empty) is the decoder to try when the content names none. Returns a code.
[[nodiscard]] int Scan_Bytes(bool alerts, const char codec[4], const uint8_t* data, size_t size,
               a_picture_scan_rec& scan);
// Image bytes kept with a photo in a project, decoded by their codec.
[[nodiscard]] bool Scan_Quicktime_Hdl(const char codec[4], const std::vector<uint8_t>& hdl,
                        a_picture_scan_rec& scan);
// The image-codec path: natural bounds, the width refusal, then the mask: for
// sources of 8 bits or fewer exactly the transparent pixels are clear and
// shown white (the green key, without losing pixels that really are green);
// for deeper ones the alpha channel.
[[nodiscard]] int Scan_Quicktime2(bool alerts, const char* hint, const uint8_t* data, size_t size,
                    a_picture_scan_rec& scan);
// The reason the last read of a file was refused, in one line, when there is
// more to say than its code's alert ("name: not a regular file (a FIFO)",
// the size of a picture too large); empty otherwise.
std::string Scan_Refusal();
// Shows the message for a reader's failure code (nothing for codes whose own
// alert was shown already).
void Photo_Import_Error(int code);
// The text of the alert that stands for a failure code.
std::string Scan_Error_Text(int code);

// Writes a 32-bit world as `format` (FMT_BMP, FMT_JPEG, FMT_TIFF, FMT_PSD,
// FMT_PICT or FMT_PNG) at `dpi`, replacing `path` atomically. 0 on success,
// -1 for a format without a writer, -2 when encoding fails, -3 when the file
// cannot be written ("path: reason" in `error`).
[[nodiscard]] int Export_World(a_file_format format, int dpi, const std::string& path, const GWorld* world,
                               std::string* error = nullptr);
// The bytes Export_World would write.
[[nodiscard]] int Export_World_Bytes(a_file_format format, int dpi, const GWorld* world,
                       std::vector<uint8_t>& out);

// JPEG data of an art-database item decoded into a new 32-bit world of
// width x height; nullptr when the data is not a JPEG of that size.
GWorld* Expand_JPEG(int width, int height, const uint8_t* buf, size_t len);

// The picture's colour as a new 32-bit world (indexed bodies through ctable,
// fourth byte 255); nullptr without a body or memory.
GWorld* Scan_Colour_World(const a_picture_scan_rec& scan);
// The scan's picture as a masked 32-bit world: a 32-bit body and the mask are
// taken from the scan, not copied; false without a body or memory.
bool Scan_To_MW(a_picture_scan_rec& scan, a_masked_gworld& mw);

// The format code a codec name stands for ("jpeg" -> "JPEG") and back.
void Codec_Code(const std::string& name, char code[4]);
std::string Codec_Name(const char code[4]);
std::string Codec_Text(const char code[4]);  // the code as text, trailing blanks kept

// Shared by the readers: Scan_Check_Size refuses a picture too wide or too
// tall (with its alert) before the data is checked against the size;
// Scan_New_Body checks the same and makes body.fore at `depth` (the memory
// alert on failure), black unless the caller fills every pixel itself
// (`filled`). Both return SCAN_OK or the failure code.
[[nodiscard]] int Scan_Too_Large(bool alerts);  // the size refusal: its alert, SCAN_TOO_LARGE
// The refusal of a picture of `width` x `height` that cannot be decoded
// whole: its alert naming the size, SCAN_TOO_LARGE.
[[nodiscard]] int Scan_Too_Many_Pixels(bool alerts, int64_t width, int64_t height);
// Scales a decoded picture larger than the fit down to it (colour and mask
// box-averaged; an indexed body becomes 32-bit); false without memory, the
// scan untouched then.
[[nodiscard]] bool Scan_Fit(a_picture_scan_rec& scan);
[[nodiscard]] int Scan_Check_Size(bool alerts, int width, int height);
[[nodiscard]] int Scan_New_Body(bool alerts, int width, int height, int depth, a_picture_scan_rec& scan,
                                bool filled = false);
// Masks: a new 8-bit mask from the fourth byte of a 32-bit body, dropped
// again when it is all opaque or all clear; pixels the kept mask clears
// entirely turn white.
void Scan_Alpha_Mask(a_picture_scan_rec& scan);
void Scan_Drop_Plain_Mask(a_picture_scan_rec& scan);
