// Image files made by hand for the reader tests and the fuzz seeds: IFF,
// Windows bitmaps, Photoshop and GIF, each written from first principles so
// that a reader is checked against the format, not against itself.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

using a_bytes = std::vector<uint8_t>;

// Big- and little-endian appends.
void Add16BE(a_bytes& b, unsigned v);
void Add32BE(a_bytes& b, uint32_t v);
void Add16LE(a_bytes& b, unsigned v);
void Add32LE(a_bytes& b, uint32_t v);
void AddTag(a_bytes& b, const char* four);
// PackBits of one row: literal runs only, or a repeat when all bytes agree.
a_bytes Pack_Row(const a_bytes& row);

// An IFF picture of w x h indices (row-major). ILBM when !pbm, with `planes`
// bit planes (more than 8 gives a header that claims them); `packed` uses
// PackBits rows; `mask` (w x h of 0/1) adds a mask plane; `odd_chunk` puts an
// odd-length unknown chunk with its pad byte before the body.
struct a_iff_spec {
    int w = 4, h = 2;
    int planes = 8;
    bool pbm = false;
    bool packed = false;
    std::vector<uint8_t> pixels;
    std::vector<uint8_t> cmap;  // r, g, b triplets
    std::vector<uint8_t> mask;
    int masking = 0;
    int transparent = 0;
    bool odd_chunk = false;
    uint32_t camg = 0;  // a CAMG chunk with these display modes when non-zero
};
a_bytes Make_IFF(const a_iff_spec& s);

// A Windows bitmap. `pixels` are indices (bpp <= 8) or 0xAARRGGBB words.
struct a_bmp_spec {
    int w = 3, h = 2;
    int bpp = 24;
    int header = 40;        // 12, 40, 108, 124
    uint32_t compression = 0;
    bool file = true;       // the 14-byte file header first
    bool top_down = false;
    bool alpha = false;     // 32-bit with an alpha bit field (compression 3)
    std::vector<uint32_t> palette;  // 0x00RRGGBB
    std::vector<uint32_t> pixels;
    a_bytes rle;            // pixel data as given, for compressions 1 and 2
};
a_bytes Make_BMP(const a_bmp_spec& s);

// A Photoshop file of 8-bit channels: `channels` planes of w x h bytes each.
struct a_psd_spec {
    int w = 3, h = 2;
    int mode = 3;   // 1 grey, 2 indexed, 3 RGB, 4 CMYK
    int depth = 8;
    bool rle = false;
    bool merged_alpha = false;  // a negative layer count: the extra channel is transparency
    int dpi = 0;                // a resolution record when non-zero
    a_bytes colour_data;        // the colour mode section (the palette of indexed files)
    std::vector<a_bytes> channels;
};
a_bytes Make_PSD(const a_psd_spec& s);

// A GIF89a of w x h indices with a global palette of 256 entries and an
// optional transparent index (-1 none); LZW codes are written without
// compression.
a_bytes Make_GIF(int w, int h, const std::vector<uint8_t>& pixels,
                 const std::vector<uint32_t>& palette, int transparent);

// An uncompressed RGB TIFF of w x h pixels (0x00RRGGBB, row-major) with an
// orientation tag (none when 0), in either byte order.
a_bytes Make_TIFF(int w, int h, const std::vector<uint32_t>& pixels, int orientation,
                  bool big_endian = false);
// An EXIF block (a TIFF structure) holding only an orientation tag.
a_bytes Exif_Block(int orientation);
// A simple WebP file ("VP8 " or "VP8L" chunk) turned into the extended form
// with a VP8X header and an EXIF chunk after the image.
a_bytes Webp_With_Exif(const a_bytes& simple, int w, int h, const a_bytes& exif);
// A PNG chunk: length, type, data and CRC.
a_bytes Png_Chunk(const char* type, const a_bytes& data);
// A PNG file with an eXIf chunk inserted after its header chunk.
a_bytes Png_With_Exif(const a_bytes& png, const a_bytes& exif);

// A baseline colour JPEG of w x h pixels of colour(x, y) = 0x00RRGGBB, with
// an EXIF orientation tag unless `orientation` is 0 (tests/jpeg_fixtures.cpp).
a_bytes Make_JPEG(int w, int h, int orientation, uint32_t (*colour)(int x, int y), int quality = 75);

// Writes bytes to a file under the test's temporary folder; returns the path.
std::string Write_Temp(const std::string& name, const a_bytes& bytes);
