// Image readers and writers over real files: made by the toolkit's encoders,
// by hand (tests/image_fixtures.cpp) and by our own writers.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "image_fixtures.h"
#include "largest_allocation.h"
#include "images/bmp_reader.h"
#include "images/iff_reader.h"
#include "images/image_files.h"
#include "images/psd_file.h"
#include "pixels/gworld.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/image_codec.h"
#include "platform/jpeg.h"
#include "platform/jpeg_direct.h"
#include "base/messages.h"
#include "base/string_ids.h"

namespace {

// Owns a scan for the length of a test.
struct a_scan : a_picture_scan_rec {
    a_scan() = default;
    a_scan(const a_scan&) = delete;
    ~a_scan() { Dispose_Scan(*this); }
};

uint32_t Pixel(const GWorld* w, int x, int y) {
    uint32_t p = 0;
    EXPECT_TRUE(Get_GWorld_Pixel(w, x, y, p)) << x << ", " << y;
    return p;
}
uint32_t RGB(const GWorld* w, int x, int y) { return Pixel(w, x, y) & 0xFFFFFF; }
uint8_t Cover(const GWorld* mask, int x, int y) { return uint8_t(Pixel(mask, x, y)); }

// A 32-bit world filled by f(x, y) = 0x00RRGGBB.
GWorld* Make_World(int w, int h, const std::function<uint32_t(int, int)>& f) {
    GWorld* g = New_GWorld(32, Rect{0, 0, int16_t(h), int16_t(w)});
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(PixMap_Row(g->pix, y));
        for (int x = 0; x < w; ++x) row[x] = f(x, y);
    }
    return g;
}

uint32_t Pattern(int x, int y) {
    return uint32_t(x * 37 % 256) << 16 | uint32_t(y * 59 % 256) << 8 | uint32_t((x + y) * 13 % 256);
}

// `b` with byte `at` set to `v`.
a_bytes Patched(a_bytes b, size_t at, uint8_t v) {
    b[at] = v;
    return b;
}

std::string Alert(int index) {
    std::string s;
    Get_Translated_String(index, ALERT_STR_ID, s);
    return s;
}

int Scan(const a_bytes& bytes, a_picture_scan_rec& scan) {
    return Scan_Bytes(false, nullptr, bytes.data(), bytes.size(), scan);
}

a_bytes Encode(GWorld* w, const char* format, int dpi, bool alpha = false) {
    a_bytes out;
    EXPECT_TRUE(Codec_Encode(w->pix.baseAddr, Rect_Width(w->pix.bounds), Rect_Height(w->pix.bounds),
                             PixMap_RowBytes(w->pix), format, -1, dpi, out, alpha));
    return out;
}

// The pixels and resolution of a PICT written by our writer: the one
// direct-pixels record, unpacked.
struct a_pict_image {
    int w = 0, h = 0, dpi = 0, header_dpi = 0;
    std::vector<uint32_t> px;
};
bool Decode_PICT(const a_bytes& b, a_pict_image& out) {
    size_t p = 512 + 10;
    auto u16 = [&](size_t at) { return unsigned(b.at(at) << 8 | b.at(at + 1)); };
    auto u32 = [&](size_t at) { return uint32_t(u16(at)) << 16 | u16(at + 2); };
    if (u16(p) != 0x0011 || u16(p + 2) != 0x02FF || u16(p + 4) != 0x0C00) return false;
    out.header_dpi = int(u32(p + 10) >> 16);
    p += 6 + 24;
    if (u16(p) != 0x001E || u16(p + 2) != 0x0001) return false;
    p += 4 + u16(p + 4);
    if (u16(p) != 0x009A) return false;
    p += 2;
    unsigned rowbytes = u16(p + 4) & 0x3FFF;
    out.h = int(u16(p + 10));
    out.w = int(u16(p + 12));
    out.dpi = int(u32(p + 22) >> 16);
    p += 50 + 18;  // the pixel map, source and destination, mode
    for (int y = 0; y < out.h; ++y) {
        a_bytes row;
        if (rowbytes < 8) {
            row.assign(b.begin() + long(p), b.begin() + long(p + rowbytes));
            p += rowbytes;
            for (int x = 0; x < out.w; ++x)
                out.px.push_back(uint32_t(row[4 * x + 1]) << 16 | row[4 * x + 2] << 8 | row[4 * x + 3]);
            continue;
        }
        size_t n = rowbytes > 250 ? u16(p) : b.at(p);
        p += rowbytes > 250 ? 2 : 1;
        size_t end = p + n;
        while (p < end) {
            int c = int8_t(b.at(p++));
            if (c >= 0) row.insert(row.end(), b.begin() + long(p), b.begin() + long(p + size_t(c) + 1)), p += size_t(c) + 1;
            else if (c != -128) row.insert(row.end(), size_t(1 - c), b.at(p++));
        }
        if (row.size() != size_t(out.w) * 3) return false;
        for (int x = 0; x < out.w; ++x)
            out.px.push_back(uint32_t(row[size_t(x)]) << 16 | row[size_t(out.w + x)] << 8 | row[size_t(2 * out.w + x)]);
    }
    if (p & 1) ++p;
    return u16(p) == 0x00FF && p + 2 == b.size();
}

class ImageFiles : public ::testing::Test {
  protected:
    void SetUp() override { Dialog_ScriptAnswers({}); }
};

}  // namespace

// --- the image-codec path -------------------------------------------------

TEST_F(ImageFiles, GifTransparentColourBecomesMaskAndWhite) {
    // Index 2 is transparent; index 3 is pure green and must stay opaque.
    std::vector<uint8_t> px = {0, 1, 2, 3, 2, 2, 1, 0, 3, 0, 2, 1};
    std::vector<uint32_t> pal = {0x102030, 0xA0B0C0, 0x123456, 0x00FF00};
    a_scan scan;
    std::string path = Write_Temp("t.gif", Make_GIF(4, 3, px, pal, 2));
    ASSERT_TRUE(Read_BitMap(true, path, scan));
    EXPECT_EQ(Codec_Text(scan.codec), "GIFf");
    EXPECT_LE(scan.depth, 8);
    ASSERT_EQ(scan.body.fore->pix.pixelSize, 32);
    ASSERT_NE(scan.body.mask, nullptr);
    for (int i = 0; i < 12; ++i) {
        int x = i % 4, y = i / 4;
        bool clear = px[size_t(i)] == 2;
        EXPECT_EQ(Cover(scan.body.mask, x, y), clear ? 0 : 255) << i;
        EXPECT_EQ(RGB(scan.body.fore, x, y), clear ? 0xFFFFFFu : pal[px[size_t(i)]]) << i;
    }
}

TEST_F(ImageFiles, PngAlphaIsTheMaskAndOpaqueJpegHasNone) {
    auto alpha = [](int x) { return x == 4 ? 255 : x * 60; };
    GWorld* w = Make_World(5, 4, [&](int x, int y) { return uint32_t(alpha(x)) << 24 | Pattern(x, y); });
    a_scan png;
    ASSERT_EQ(Scan(Encode(w, "png", 150, true), png), SCAN_OK);
    EXPECT_EQ(Codec_Text(png.codec), "PNGf");
    ASSERT_NE(png.body.mask, nullptr);
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(Cover(png.body.mask, x, 2), alpha(x));
        if (x > 0) {
            EXPECT_EQ(RGB(png.body.fore, x, 2), Pattern(x, 2));  // straight colour kept
        }
    }
    EXPECT_EQ(png.dpi_h, 150);

    // A soft mask with no fully clear or fully opaque pixel is kept; an
    // alpha channel of zeros (nobody filled it in) is not.
    for (uint32_t a : {0x80u, 0x00u}) {
        GWorld* soft = Make_World(3, 2, [&](int x, int y) { return a << 24 | Pattern(x, y); });
        a_scan scan;
        ASSERT_EQ(Scan(Encode(soft, "png", 72, true), scan), SCAN_OK);
        if (a) {
            ASSERT_NE(scan.body.mask, nullptr);
            EXPECT_EQ(Cover(scan.body.mask, 1, 1), 0x80);
        } else {
            EXPECT_EQ(scan.body.mask, nullptr);
        }
        Dispose_GWorld(soft);
    }

    a_scan jpeg;
    ASSERT_EQ(Scan(Encode(w, "jpeg", 200), jpeg), SCAN_OK);
    EXPECT_EQ(Codec_Text(jpeg.codec), "JPEG");
    EXPECT_EQ(jpeg.body.mask, nullptr);
    EXPECT_EQ(jpeg.depth, 24);
    EXPECT_EQ(jpeg.dpi_h, 200);
    Dispose_GWorld(w);
}

// Pixels an alpha channel clears entirely show white whatever the file
// stored under them, in every format with alpha, as the transparent colour
// of indexed pictures always did; partly covered pixels keep their colour.
TEST_F(ImageFiles, ClearPixelsOfAlphaPicturesAreWhite) {
    // Blue on the left half, clear black on the right, one half-covered column.
    GWorld* w = Make_World(6, 3, [](int x, int) {
        return x < 3 ? 0xFF0000FFu : x == 3 ? 0x800000FFu : 0x00000000u;
    });
    for (const char* format : {"png", "webp", "tiff"}) {
        a_bytes bytes;
        ASSERT_TRUE(Codec_Encode(w->pix.baseAddr, 6, 3, PixMap_RowBytes(w->pix), format, 100, 72, bytes, true));
        a_scan scan;
        ASSERT_EQ(Scan(bytes, scan), SCAN_OK) << format;
        ASSERT_NE(scan.body.mask, nullptr) << format;
        EXPECT_EQ(RGB(scan.body.fore, 5, 1), 0xFFFFFFu) << format;
        EXPECT_EQ(RGB(scan.body.fore, 3, 1) & 0xFF, 0xFFu) << format;
        EXPECT_EQ(RGB(scan.body.fore, 0, 1), 0x0000FFu) << format;
    }
    Dispose_GWorld(w);
}

// Where the displayed pixel (x, y) of an orientation comes from in a stored
// picture w wide and h high, as the EXIF tag defines the eight values.
void Stored_Source(int o, int w, int h, int x, int y, int& sx, int& sy) {
    switch (o) {
        case 2: sx = w - 1 - x, sy = y; break;
        case 3: sx = w - 1 - x, sy = h - 1 - y; break;
        case 4: sx = x, sy = h - 1 - y; break;
        case 5: sx = y, sy = x; break;
        case 6: sx = y, sy = h - 1 - x; break;
        case 7: sx = w - 1 - y, sy = h - 1 - x; break;
        case 8: sx = w - 1 - y, sy = x; break;
        default: sx = x, sy = y; break;
    }
}

void Expect_Oriented(const a_bytes& bytes, int o, int w, int h, const char* what) {
    SCOPED_TRACE(std::string(what) + " orientation " + std::to_string(o));
    a_codec_info info;
    ASSERT_TRUE(Codec_Probe(bytes.data(), bytes.size(), "", info));
    int dw = o >= 5 ? h : w, dh = o >= 5 ? w : h;
    EXPECT_EQ(info.width, dw);
    EXPECT_EQ(info.height, dh);
    a_scan scan;
    ASSERT_EQ(Scan(bytes, scan), SCAN_OK);
    ASSERT_EQ(Rect_Width(scan.body.bounds), dw);
    ASSERT_EQ(Rect_Height(scan.body.bounds), dh);
    for (int y = 0; y < dh; ++y)
        for (int x = 0; x < dw; ++x) {
            int sx, sy;
            Stored_Source(o, w, h, x, y, sx, sy);
            ASSERT_EQ(RGB(scan.body.fore, x, y), Pattern(sx * 3, sy * 3)) << x << "," << y;
        }
}

// A picture that is not symmetric comes in turned and mirrored as its
// orientation tag says, in TIFF, WebP and PNG files alike.
TEST_F(ImageFiles, OrientationTagsTurnThePicture) {
    const int w = 3, h = 2;
    std::vector<uint32_t> px;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) px.push_back(Pattern(x * 3, y * 3));
    for (int o = 1; o <= 8; ++o) Expect_Oriented(Make_TIFF(w, h, px, o, o % 2 == 0), o, w, h, "tiff");

    GWorld* world = Make_World(w, h, [](int x, int y) { return Pattern(x * 3, y * 3); });
    a_bytes webp, png;
    ASSERT_TRUE(Codec_Encode(world->pix.baseAddr, w, h, PixMap_RowBytes(world->pix), "webp", 100, 72, webp));
    ASSERT_TRUE(Codec_Encode(world->pix.baseAddr, w, h, PixMap_RowBytes(world->pix), "png", -1, 72, png));
    Dispose_GWorld(world);
    for (int o : {1, 3, 6, 8}) {
        Expect_Oriented(Webp_With_Exif(webp, w, h, Exif_Block(o)), o, w, h, "webp");
        Expect_Oriented(Png_With_Exif(png, Exif_Block(o)), o, w, h, "png");
    }
    // A tag whose directory runs past the data is no tag.
    a_bytes cut = Exif_Block(6);
    cut.resize(12);
    Expect_Oriented(Png_With_Exif(png, cut), 1, w, h, "png, cut block");
}

TEST_F(ImageFiles, WidthLimitAndFailuresShowOneAlert) {
    // Wider than any world can be, so the pixels come from a plain buffer:
    // the codecs' pictures are scaled to the row limit (so a picture of the
    // limit's own width is taken as it is), ours are refused.
    std::vector<uint32_t> row(4096, 0x336699);
    a_bytes wide_png;
    ASSERT_TRUE(Codec_Encode(reinterpret_cast<uint8_t*>(row.data()), 4096, 1, 4096 * 4, "png", -1, 72, wide_png));
    a_scan scaled;
    ASSERT_TRUE(Read_BitMap(true, Write_Temp("wide.png", wide_png), scaled));
    EXPECT_EQ(Rect_Width(scaled.body.bounds), 4095);
    EXPECT_EQ(RGB(scaled.body.fore, 4094, 0), 0x336699u);
    EXPECT_EQ(scaled.natural_width, 4096);
    a_bmp_spec wide_bmp;
    wide_bmp.w = 4096, wide_bmp.h = 1;
    wide_bmp.pixels.assign(4096, 0x336699);
    std::string path = Write_Temp("wide.bmp", Make_BMP(wide_bmp));
    a_scan scan;
    EXPECT_FALSE(Read_BitMap(true, path, scan));
    EXPECT_EQ(scan.body.fore, nullptr);
    ASSERT_EQ(Dialog_History().size(), 1u);  // the size alert, not a second one
    EXPECT_EQ(Dialog_History()[0].message, Alert(ALERT_IMAGE_TOO_WIDE));

    Dialog_ScriptAnswers({});
    a_scan junk;
    EXPECT_FALSE(Read_BitMap(true, Write_Temp("junk.jpg", a_bytes(100, 'x')), junk));
    EXPECT_FALSE(Read_BitMap(true, Write_Temp("gone", {}) + ".missing", junk));
    ASSERT_EQ(Dialog_History().size(), 2u);
    EXPECT_EQ(Dialog_History()[1].message, Alert(ALERT_CANNOT_READ));
    Dialog_ScriptAnswers({});
    EXPECT_FALSE(Read_BitMap(false, Write_Temp("junk.jpg", a_bytes(100, 'x')), junk));
    EXPECT_TRUE(Dialog_History().empty());
}

TEST_F(ImageFiles, HugePictureIsRefusedBeforeAnythingIsMade) {
    // A PNG header claiming 4000 x 20000 pixels, more than is decoded whole.
    a_bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, ihdr;
    Add32BE(ihdr, 4000);
    Add32BE(ihdr, 20000);
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    for (const a_bytes& c : {Png_Chunk("IHDR", ihdr), Png_Chunk("IDAT", {0x78, 0x9C, 0x03, 0, 0, 0, 0, 0x01}),
                             Png_Chunk("IEND", {})})
        png.insert(png.end(), c.begin(), c.end());
    a_scan scan;
    EXPECT_EQ(Scan_Bytes(true, nullptr, png.data(), png.size(), scan), SCAN_TOO_LARGE);
    EXPECT_EQ(scan.body.fore, nullptr);
    ASSERT_EQ(Dialog_History().size(), 1u);
    EXPECT_NE(Dialog_History()[0].message.find("4000 by 20000 pixels"), std::string::npos);
}

TEST_F(ImageFiles, EmbeddedBytesDecodeByTheirCodec) {
    GWorld* w = Make_World(6, 3, Pattern);
    std::vector<uint8_t> png = Encode(w, "png", 72);
    a_scan scan;
    ASSERT_TRUE(Scan_Quicktime_Hdl("PNGf", png, scan));
    EXPECT_EQ(RGB(scan.body.fore, 5, 2), Pattern(5, 2));
    // A bitmap comes back through our own reader with the codec kept for embedding.
    a_bmp_spec bmp;
    bmp.pixels = {1, 2, 3, 4, 5, 6};
    a_scan scan2;
    ASSERT_TRUE(Scan_Quicktime_Hdl("BMPf", Make_BMP(bmp), scan2));
    EXPECT_EQ(Codec_Text(scan2.codec), "BMPf");
    a_scan scan3;
    EXPECT_FALSE(Scan_Quicktime_Hdl("JPEG", {1, 2, 3}, scan3));
    Dispose_GWorld(w);
}

// Portable pixmaps and greymaps, which the decoder fills in our own layout
// (colour) or hands out for conversion (grey): every pixel exact and opaque
// whatever the buffer held before, and a short file refused.
TEST_F(ImageFiles, PortableMapsDecodeEveryPixelOpaque) {
    const int w = 7, h = 5;
    auto grey = [](int x, int y) { return uint8_t(x * 31 + y * 17); };
    for (bool colour : {true, false}) {
        SCOPED_TRACE(colour ? "P6" : "P5");
        std::string head = std::string(colour ? "P6" : "P5") + "\n# made here\n7 5\n255\n";
        a_bytes ppm(head.begin(), head.end());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint32_t p = Pattern(x, y);
                if (colour) ppm.insert(ppm.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
                else ppm.push_back(grey(x, y));
            }
        a_codec_info info;
        ASSERT_TRUE(Codec_Probe(ppm.data(), ppm.size(), "", info));
        ASSERT_EQ(info.width, w);
        for (uint8_t fill : {0x00, 0x5A}) {
            std::vector<uint8_t> px(size_t(w + 3) * 4 * h, fill);  // rows longer than the picture
            ASSERT_TRUE(Codec_Decode(ppm.data(), ppm.size(), "", px.data(), (w + 3) * 4, info));
            EXPECT_FALSE(info.alpha);
            long bad = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const uint8_t* b = px.data() + size_t(y) * (w + 3) * 4 + size_t(x) * 4;
                    uint32_t want = colour ? Pattern(x, y) : grey(x, y) * 0x010101u;
                    bad += (uint32_t(b[2]) << 16 | b[1] << 8 | b[0]) != want || b[3] != 255;
                }
            EXPECT_EQ(bad, 0) << "buffer filled with " << int(fill);
        }
        a_scan scan;
        ASSERT_EQ(Scan(ppm, scan), SCAN_OK);
        EXPECT_EQ(scan.body.mask, nullptr);
        EXPECT_EQ(RGB(scan.body.fore, 6, 4), colour ? Pattern(6, 4) : grey(6, 4) * 0x010101u);
        ppm.resize(ppm.size() - 4);
        a_scan cut;
        EXPECT_NE(Scan(ppm, cut), SCAN_OK);
        EXPECT_EQ(cut.body.fore, nullptr);
    }
}

// --- writers ----------------------------------------------------------------

TEST_F(ImageFiles, EveryWriterRoundTripsPixelsAndResolution) {
    // Smooth, so that JPEG can be held to a small error; every channel differs.
    auto smooth = [](int x, int y) { return uint32_t(x * 6) << 16 | uint32_t(y * 10) << 8 | uint32_t((x + y) * 3); };
    GWorld* w = Make_World(37, 23, smooth);
    struct a_case {
        a_file_format format;
        int tolerance;
    };
    for (a_case c : {a_case{FMT_BMP, 0}, {FMT_TIFF, 0}, {FMT_PNG, 0}, {FMT_PSD, 0}, {FMT_JPEG, 12}}) {
        SCOPED_TRACE(FINDER_TYPES[c.format]);
        std::string path = Write_Temp("round", {});
        ASSERT_EQ(Export_World(c.format, 240, path, w), 0);
        a_scan scan;
        ASSERT_TRUE(Read_BitMap(false, path, scan));
        EXPECT_EQ(scan.body.bounds, (Rect{0, 0, 23, 37}));
        EXPECT_EQ(scan.dpi_h, 240);
        EXPECT_EQ(scan.dpi_v, 240);
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 37; ++x)
                for (int k = 0; k < 24; k += 8)
                    ASSERT_NEAR(int(RGB(scan.body.fore, x, y) >> k & 0xFF), int(smooth(x, y) >> k & 0xFF),
                                c.tolerance) << x << "," << y;
    }
    Dispose_GWorld(w);
}

TEST_F(ImageFiles, PictHoldsPixelsAndResolutionForEveryRowForm) {
    for (int width : {1, 20, 70}) {  // unpacked rows, byte counts, word counts
        SCOPED_TRACE(width);
        GWorld* w = Make_World(width, 5, Pattern);
        a_bytes bytes;
        ASSERT_EQ(Export_World_Bytes(FMT_PICT, 600, w, bytes), 0);
        a_pict_image pict;
        ASSERT_TRUE(Decode_PICT(bytes, pict));
        EXPECT_EQ(pict.w, width);
        EXPECT_EQ(pict.h, 5);
        EXPECT_EQ(pict.dpi, 600);
        EXPECT_EQ(pict.header_dpi, 600);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < width; ++x) ASSERT_EQ(pict.px[size_t(y * width + x)], Pattern(x, y));
        Dispose_GWorld(w);
    }
}

TEST_F(ImageFiles, ExportRefusesWithoutTouchingTheFile) {
    std::string path = Write_Temp("keep.bin", {1, 2, 3});
    GWorld* w = Make_World(4, 4, Pattern);
    EXPECT_EQ(Export_World(FMT_TEXT, 300, path, w), -1);
    GWorld* grey = New_GWorld(8, Rect{0, 0, 4, 4});
    EXPECT_EQ(Export_World(FMT_PNG, 300, path, grey), -2);
    std::vector<uint8_t> after;
    ASSERT_TRUE(File_ReadAll(path, after));
    EXPECT_EQ(after, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(Export_World(FMT_PNG, 300, "/nonexistent-dir/x.png", w), -3);
    Dispose_GWorld(w);
    Dispose_GWorld(grey);
}

// --- IFF ----------------------------------------------------------------------

namespace {
a_iff_spec Iff(int w, int h, int planes) {
    a_iff_spec s;
    s.w = w, s.h = h, s.planes = planes;
    for (int i = 0; i < w * h; ++i) s.pixels.push_back(uint8_t((i * 7 + i / w) % (1 << std::min(planes, 8))));
    for (int k = 0; k < (1 << std::min(planes, 8)); ++k) s.cmap.insert(s.cmap.end(), {uint8_t(k), uint8_t(255 - k), uint8_t(k * 3)});
    return s;
}
void Expect_Indices(const a_picture_scan_rec& scan, const a_iff_spec& s) {
    ASSERT_EQ(scan.body.fore->pix.pixelSize, 8);
    for (int y = 0; y < s.h; ++y)
        for (int x = 0; x < s.w; ++x)
            ASSERT_EQ(Pixel(scan.body.fore, x, y), s.pixels[size_t(y * s.w + x)]) << x << "," << y;
}
}  // namespace

TEST(IffReader, PlanarAndChunkyBodiesPlainAndPacked) {
    for (bool pbm : {false, true})
        for (bool packed : {false, true}) {
            SCOPED_TRACE(std::string(pbm ? "PBM " : "ILBM") + (packed ? " packed" : " plain"));
            a_iff_spec s = Iff(19, 5, pbm ? 8 : 5);  // odd width: padded rows
            s.pbm = pbm, s.packed = packed, s.odd_chunk = true;
            a_scan scan;
            ASSERT_EQ(Scan(Make_IFF(s), scan), SCAN_OK);
            Expect_Indices(scan, s);
            EXPECT_EQ(Codec_Text(scan.codec), "");
            EXPECT_EQ(scan.body.mask, nullptr);
            // The palette, and the colour table made from it.
            EXPECT_EQ(scan.ctable[3], (a_win_pixel32{9, 252, 3, 0}));
            uint32_t idx = Pixel(scan.body.fore, 2, 1);
            uint32_t map[256];
            CTabHandle_To_Map(scan.body.fore->pix.pmTable, map);
            EXPECT_EQ(map[idx] & 0xFFFFFF, uint32_t(idx) << 16 | (255 - idx) << 8 | (idx * 3 & 0xFF));
        }
}

TEST(IffReader, MaskPlaneAndTransparentColour) {
    a_iff_spec s = Iff(10, 3, 3);
    s.mask.assign(30, 1);
    s.mask[4] = s.mask[25] = 0;
    a_scan scan;
    ASSERT_EQ(Scan(Make_IFF(s), scan), SCAN_OK);
    Expect_Indices(scan, s);
    ASSERT_NE(scan.body.mask, nullptr);
    EXPECT_EQ(Cover(scan.body.mask, 4, 0), 0);
    EXPECT_EQ(Cover(scan.body.mask, 5, 2), 0);
    EXPECT_EQ(Cover(scan.body.mask, 6, 2), 255);

    a_iff_spec t = Iff(4, 2, 2);
    t.masking = MASK_HASTRANS, t.transparent = 3;
    t.cmap.clear();  // without a palette: a grey ramp
    a_scan scan2;
    ASSERT_EQ(Scan(Make_IFF(t), scan2), SCAN_OK);
    EXPECT_TRUE(scan2.transp);
    EXPECT_EQ(scan2.transpx, 3);
    EXPECT_EQ(scan2.ctable[3], (a_win_pixel32{255, 255, 255, 0}));
    EXPECT_EQ(scan2.ctable[1], (a_win_pixel32{85, 85, 85, 0}));
}

TEST(IffReader, HalfBrightAndHoldAndModify) {
    a_iff_spec ehb = Iff(4, 1, 6);
    ehb.cmap.resize(32 * 3);  // 32 colours and no CAMG: extra half-bright
    a_scan scan;
    ASSERT_EQ(Scan(Make_IFF(ehb), scan), SCAN_OK);
    EXPECT_EQ(scan.ctable[8 + 32], (a_win_pixel32{12, 247 / 2, 4, 0}));

    // HAM6 works in 4-bit channels: a palette of 4-bit values (stored in the
    // high nibble) and the modified channels meet on one scale, so holding
    // a colour and setting a channel to the value it already has changes
    // nothing.
    a_iff_spec ham = Iff(6, 1, 6);
    ham.camg = 0x800;
    ham.cmap.assign(16 * 3, 0);
    ham.cmap[3] = 0xF0, ham.cmap[4] = 0x70, ham.cmap[5] = 0x00;   // colour 1
    ham.cmap[6] = 0x12, ham.cmap[7] = 0xAB, ham.cmap[8] = 0xFF;   // colour 2: low nibbles dropped
    ham.pixels = {1, 0x2F, 0x37, 0x13, 0x30, 2};  // colour 1, red 15, green 7, blue 3, green 0, colour 2
    a_scan hs;
    ASSERT_EQ(Scan(Make_IFF(ham), hs), SCAN_OK);
    ASSERT_EQ(hs.body.fore->pix.pixelSize, 32);
    std::vector<uint32_t> want = {0xFF7700, 0xFF7700, 0xFF7700, 0xFF7733, 0xFF0033, 0x11AAFF};
    for (int x = 0; x < 6; ++x) EXPECT_EQ(RGB(hs.body.fore, x, 0), want[size_t(x)]) << x;
}

TEST(IffReader, RefusesDeepWideAndDamagedFiles) {
    auto expect_fail = [&](a_bytes bytes, int code, const char* what) {
        a_scan sc;
        EXPECT_EQ(Scan_ILBM(false, bytes.data(), bytes.size(), sc), code) << what;
        EXPECT_EQ(sc.body.fore, nullptr) << what;
        EXPECT_EQ(sc.body.mask, nullptr) << what;
    };
    expect_fail(Make_IFF(Iff(4, 2, 24)), ILBM_TOO_DEEP, "24 planes");
    expect_fail(Make_IFF(Iff(3073, 1, 1)), ILBM_BAD_HEADER, "3073 wide");
    a_bytes widest = Make_IFF(Iff(3072, 1, 1));
    a_scan scan;
    EXPECT_EQ(Scan_ILBM(false, widest.data(), widest.size(), scan), SCAN_OK);
    a_iff_spec s = Iff(9, 4, 4);
    s.packed = true;
    a_bytes file = Make_IFF(s);
    expect_fail(a_bytes(file.begin(), file.end() - 5), ILBM_BAD_BODY, "body cut short");
    a_bytes not_ilbm = file;
    std::memcpy(not_ilbm.data() + 8, "ACBM", 4);
    expect_fail(not_ilbm, ILBM_NOT_IFF, "form type");
    expect_fail(a_bytes(file.begin(), file.begin() + 11), ILBM_SHORT, "12 bytes");
    // More rows claimed than the body holds: refused before anything is made.
    expect_fail(Patched(file, 20 + 2, 0x7F), ILBM_BAD_BODY, "rows claimed");  // BMHD h
    // A body longer than its rows (beyond one pad byte).
    a_iff_spec plain = Iff(16, 2, 1);
    a_bytes longer = Make_IFF(plain);
    longer.insert(longer.end(), {0, 0, 0, 0});
    size_t body = longer.size() - 4 - 8 - 4;  // the BODY chunk's length field
    longer[body + 7] = uint8_t(longer[body + 7] + 4);
    longer[7] = uint8_t(longer[7] + 4);
    expect_fail(longer, ILBM_BAD_BODY, "body too long");
    // A BODY before any BMHD.
    a_bytes no_header = {'F', 'O', 'R', 'M', 0, 0, 0, 14, 'I', 'L', 'B', 'M', 'B', 'O', 'D', 'Y', 0, 0, 0, 2, 0, 0};
    expect_fail(no_header, ILBM_BAD_BODY, "no BMHD");
    expect_fail(Patched(file, 16, 0x7F), ILBM_BAD_CHUNK, "chunk length");  // BMHD length past the form
}

TEST(IffReader, ReportsProgressAroundTheRead) {
    static std::vector<std::pair<int, int>> calls;
    calls.clear();
    Image_SetProgress([](int total, int done) { calls.emplace_back(total, done); });
    a_scan scan;
    EXPECT_TRUE(Read_BitMap(false, Write_Temp("p.iff", Make_IFF(Iff(5, 3, 2))), scan));
    Image_SetProgress(nullptr);
    std::vector<std::pair<int, int>> want = {{-1, -1}, {3, 0}, {3, 1}, {3, 2}, {-2, -2}};
    EXPECT_EQ(calls, want);
}

// --- Windows bitmaps ------------------------------------------------------------

namespace {
a_bmp_spec Bmp(int w, int h, int bpp) {
    a_bmp_spec s;
    s.w = w, s.h = h, s.bpp = bpp;
    for (int i = 0; i < w * h; ++i)
        s.pixels.push_back(bpp <= 8 ? uint32_t(i * 5 % (1 << bpp)) : Pattern(i % w, i / w));
    if (bpp <= 8)
        for (int k = 0; k < (1 << bpp); ++k) s.palette.push_back(uint32_t(k) << 16 | uint32_t(k * 2 % 256) << 8 | 7);
    return s;
}
void Expect_Pixels(const a_picture_scan_rec& scan, const a_bmp_spec& s) {
    for (int y = 0; y < s.h; ++y)
        for (int x = 0; x < s.w; ++x) {
            uint32_t want = s.pixels[size_t(y * s.w + x)];
            uint32_t got = s.bpp <= 8 ? Pixel(scan.body.fore, x, y) : RGB(scan.body.fore, x, y);
            ASSERT_EQ(got, s.bpp <= 8 ? want : want & 0xFFFFFF) << x << "," << y;
        }
}
int Scan_Bmp(const a_bmp_spec& s, a_picture_scan_rec& scan) {
    a_bytes b = Make_BMP(s);
    return Scan_BMP_2(false, s.file, b.data(), b.size(), scan);
}
}  // namespace

TEST(BmpReader, DepthsHeadersAndRowOrders) {
    struct a_case {
        int bpp, header;
        bool top_down, file;
    };
    for (a_case c : {a_case{24, 40, false, true}, {24, 108, true, true}, {32, 124, false, false},
                     {8, 40, false, true}, {4, 40, true, false}, {1, 40, false, true},
                     {8, 12, false, true}, {24, 12, false, false}, {8, 64, false, true}}) {
        SCOPED_TRACE(std::to_string(c.bpp) + " bits, header " + std::to_string(c.header));
        a_bmp_spec s = Bmp(13, 4, c.bpp);  // 13 wide: padded rows at every depth
        s.header = c.header, s.top_down = c.top_down && c.header != 12, s.file = c.file;
        a_scan scan;
        ASSERT_EQ(Scan_Bmp(s, scan), 0);
        EXPECT_EQ(scan.body.fore->pix.pixelSize, c.bpp <= 8 ? 8 : 32);
        EXPECT_EQ(scan.depth, c.bpp);
        Expect_Pixels(scan, s);
        EXPECT_EQ(scan.body.mask, nullptr);
        if (c.bpp <= 8) {  // and through the palette into colour
            EXPECT_EQ(scan.ctable[1], (a_win_pixel32{7, 2, 1, 0}));
            a_gworld_ptr deep(Scan_Colour_World(scan));
            ASSERT_NE(deep, nullptr);
            for (int i = 0; i < 13 * 4; ++i)
                ASSERT_EQ(Pixel(deep.get(), i % 13, i / 13), 0xFF000000u | s.palette[s.pixels[size_t(i)]]) << i;
        }
        if (c.header != 12) {
            EXPECT_EQ(scan.dpi_h, 300);
            EXPECT_EQ(scan.dpi_v, 72);
        }
    }
}

TEST(BmpReader, BitFieldsAndAlpha) {
    a_bmp_spec s = Bmp(5, 2, 32);
    s.header = 124, s.alpha = true;
    for (size_t i = 0; i < s.pixels.size(); ++i) s.pixels[i] |= uint32_t(i * 25) << 24;
    s.pixels[9] |= 0xFF000000;
    a_scan scan;
    ASSERT_EQ(Scan_Bmp(s, scan), 0);
    a_bmp_spec shown = s;  // entirely clear pixels show white
    for (uint32_t& p : shown.pixels)
        if ((p >> 24) == 0) p = 0xFFFFFF;
    Expect_Pixels(scan, shown);
    ASSERT_NE(scan.body.mask, nullptr);
    EXPECT_EQ(Cover(scan.body.mask, 0, 0), 0);
    EXPECT_EQ(Cover(scan.body.mask, 3, 1), 8 * 25);

    // 16 bits: 5-5-5 by default, 5-6-5 by bit fields.
    a_bmp_spec p = Bmp(2, 1, 16);
    p.pixels = {0x07E0, 0x001F};
    a_scan s555;
    ASSERT_EQ(Scan_Bmp(p, s555), 0);
    EXPECT_EQ(RGB(s555.body.fore, 0, 0), 0x08FF00u);
    EXPECT_EQ(RGB(s555.body.fore, 1, 0), 0x0000FFu);
    a_bytes b565 = Make_BMP(p);
    b565[30] = 3;  // compression: bit fields follow the header
    const uint32_t masks[3] = {0xF800, 0x07E0, 0x001F};
    a_bytes fields;
    for (uint32_t m : masks) Add32LE(fields, m);
    b565.insert(b565.begin() + 54, fields.begin(), fields.end());
    b565[10] = 54 + 12;
    a_scan s565;
    ASSERT_EQ(Scan_BMP_2(false, true, b565.data(), b565.size(), s565), 0);
    EXPECT_EQ(RGB(s565.body.fore, 0, 0), 0x00FF00u);  // six bits of green, no red
}

TEST(BmpReader, RunLengths) {
    // 8-bit: a run, an odd absolute run, end of line, a delta, end of bitmap.
    a_bmp_spec s = Bmp(6, 3, 8);
    s.compression = 1;
    s.rle = {3, 9, 0, 3, 1, 2, 4, 0, 0, 0, 0, 2, 2, 1, 2, 7, 0, 1};
    a_scan scan;
    ASSERT_EQ(Scan_Bmp(s, scan), 0);
    std::vector<uint32_t> want = {0, 0, 7, 7, 0, 0,  // top row: reached by the delta
                                  0, 0, 0, 0, 0, 0,
                                  9, 9, 9, 1, 2, 4};
    for (int i = 0; i < 18; ++i) EXPECT_EQ(Pixel(scan.body.fore, i % 6, i / 6), want[size_t(i)]) << i;

    a_bmp_spec f = Bmp(5, 1, 4);
    f.compression = 2;
    f.rle = {3, 0x12, 0, 3, 0xAB, 0xC0, 0, 1};  // runs alternate nibbles; 5 > width is clipped
    a_scan scan4;
    ASSERT_EQ(Scan_Bmp(f, scan4), 0);
    std::vector<uint32_t> want4 = {1, 2, 1, 10, 11};
    for (int x = 0; x < 5; ++x) EXPECT_EQ(Pixel(scan4.body.fore, x, 0), want4[size_t(x)]) << x;

    a_bmp_spec cut = s;
    cut.rle = {0, 5, 1, 2};  // an absolute run past the end of the data
    a_scan bad;
    EXPECT_EQ(Scan_Bmp(cut, bad), BMP_BAD_PIXELS);
    EXPECT_EQ(bad.body.fore, nullptr);
}

TEST(BmpReader, RefusesUnknownAndDamagedFiles) {
    auto expect_fail = [](const a_bytes& b, bool file, int code, const char* what) {
        a_scan sc;
        EXPECT_EQ(Scan_BMP_2(false, file, b.data(), b.size(), sc), code) << what;
        EXPECT_EQ(sc.body.fore, nullptr) << what;
    };
    for (uint32_t comp : {4u, 5u}) {  // JPEG and PNG in a clipboard bitmap
        a_bmp_spec s = Bmp(4, 2, 24);
        s.file = false, s.compression = comp;
        expect_fail(Make_BMP(s), false, BMP_BAD_COMPRESSION, "compression 4/5");
    }
    a_bytes b = Make_BMP(Bmp(7, 3, 8));
    expect_fail(a_bytes(b.begin(), b.end() - 10), true, BMP_BAD_PIXELS, "rows claimed");
    expect_fail(Patched(b, 0, 'P'), true, BMP_NOT_BMP, "no BM");
    expect_fail(a_bytes(b.begin(), b.begin() + 20), true, BMP_SHORT, "header cut");
    expect_fail(Patched(b, 14, 60), true, BMP_BAD_HEADER, "header size");
    ASSERT_EQ(b[47], 1);
    expect_fail(Patched(b, 46, 0x2C), true, BMP_BAD_PALETTE, "palette of 300 colours");
    expect_fail(Patched(b, 13, 0x10), true, BMP_BAD_PIXELS, "pixels past the end");
    ASSERT_EQ(b[19], 0);
    expect_fail(Patched(b, 18, 0), true, BMP_BAD_FORMAT, "width 0");
    // A clipboard bitmap whose palette runs past the data.
    a_bmp_spec clip = Bmp(2, 2, 8);
    clip.file = false;
    a_bytes cb = Make_BMP(clip);
    expect_fail(a_bytes(cb.begin(), cb.begin() + 300), false, BMP_BAD_PALETTE, "clipboard palette");
}

// --- Photoshop ------------------------------------------------------------------

namespace {
a_psd_spec Psd(int w, int h, int nchannels) {
    a_psd_spec s;
    s.w = w, s.h = h;
    for (int c = 0; c < nchannels; ++c) {
        a_bytes plane;
        for (int i = 0; i < w * h; ++i) plane.push_back(uint8_t(i * (c + 3) + c * 40));
        s.channels.push_back(plane);
    }
    return s;
}
uint32_t Psd_RGB(const a_psd_spec& s, int i) {
    if (s.mode == 1) return uint32_t(s.channels[0][size_t(i)]) * 0x010101u;
    return uint32_t(s.channels[0][size_t(i)]) << 16 | s.channels[1][size_t(i)] << 8 | s.channels[2][size_t(i)];
}
}  // namespace

TEST(PsdFile, CompositeOfRgbAndGrey) {
    for (bool rle : {false, true})
        for (int mode : {3, 1}) {
            SCOPED_TRACE(std::string(mode == 3 ? "RGB" : "grey") + (rle ? " RLE" : " raw"));
            a_psd_spec s = Psd(150, 3, mode == 3 ? 4 : 2);  // an extra channel that is not transparency
            s.mode = mode, s.rle = rle, s.dpi = 254;
            a_scan scan;
            a_bytes b = Make_PSD(s);
            ASSERT_EQ(Scan(b, scan), SCAN_OK);
            EXPECT_EQ(Codec_Text(scan.codec), "8BPS");
            EXPECT_EQ(scan.dpi_h, 254);
            EXPECT_EQ(scan.body.mask, nullptr);
            for (int i = 0; i < 450; ++i) ASSERT_EQ(RGB(scan.body.fore, i % 150, i / 150), Psd_RGB(s, i)) << i;
        }
}

TEST(PsdFile, IndexedCompositeKeepsItsPalette) {
    a_psd_spec s = Psd(5, 2, 1);
    s.mode = 2, s.rle = true;
    for (int c = 0; c < 3; ++c)
        for (int k = 0; k < 256; ++k) s.colour_data.push_back(uint8_t(k * (c + 1)));
    a_scan scan;
    ASSERT_EQ(Scan(Make_PSD(s), scan), SCAN_OK);
    ASSERT_EQ(scan.body.fore->pix.pixelSize, 8);
    EXPECT_EQ(scan.ctable[10], (a_win_pixel32{30, 20, 10, 0}));
    for (int i = 0; i < 10; ++i) EXPECT_EQ(Pixel(scan.body.fore, i % 5, i / 5), s.channels[0][size_t(i)]) << i;
}

// The merged transparency is the mask; entirely clear pixels show white,
// as in every format with alpha.
TEST(PsdFile, MergedTransparencyBecomesTheMask) {
    a_psd_spec s = Psd(4, 2, 4);
    s.merged_alpha = true;
    s.channels[3] = {0, 255, 255, 255, 128, 255, 255, 0};
    a_scan scan;
    ASSERT_EQ(Scan(Make_PSD(s), scan), SCAN_OK);
    ASSERT_NE(scan.body.mask, nullptr);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(Cover(scan.body.mask, i % 4, i / 4), s.channels[3][size_t(i)]) << i;
        EXPECT_EQ(RGB(scan.body.fore, i % 4, i / 4), s.channels[3][size_t(i)] ? Psd_RGB(s, i) : 0xFFFFFFu) << i;
    }
}

TEST(PsdFile, RefusesOtherModesAndDamage) {
    a_psd_spec cmyk = Psd(3, 2, 4);
    cmyk.mode = 4;
    a_psd_spec deep = Psd(3, 2, 3);
    deep.depth = 16;
    for (const a_psd_spec& s : {cmyk, deep}) {
        a_scan scan;
        EXPECT_EQ(Scan(Make_PSD(s), scan), SCAN_DEEP_IMAGE);
    }
    Dialog_ScriptAnswers({});
    a_scan scan;
    EXPECT_FALSE(Read_BitMap(true, Write_Temp("cmyk.psd", Make_PSD(cmyk)), scan));
    ASSERT_EQ(Dialog_History().size(), 1u);
    EXPECT_EQ(Dialog_History()[0].message, Alert(ALERT_DEEP_IMAGE));

    auto expect_fail = [](const a_bytes& b, int code, const char* what) {
        a_scan sc;
        EXPECT_EQ(Scan_PSD(false, b.data(), b.size(), sc), code) << what;
        EXPECT_EQ(sc.body.fore, nullptr) << what;
    };
    a_psd_spec s = Psd(40, 6, 3);
    a_bytes raw = Make_PSD(s);
    expect_fail(a_bytes(raw.begin(), raw.end() - 1), PSD_BAD_PIXELS, "raw cut");
    s.rle = true;
    a_bytes rle = Make_PSD(s);
    expect_fail(a_bytes(rle.begin(), rle.end() - 3), PSD_BAD_PIXELS, "rle cut");
    // Height 0x10000006: refused for its size before its data.
    expect_fail(Patched(raw, 14, 0x10), SCAN_TOO_LARGE, "taller than a picture can be");
    expect_fail(Patched(raw, 5, 2), PSD_BAD_HEADER, "version 2");
    expect_fail(Patched(raw, 26 + 12 + 1, 2), PSD_BAD_COMPRESSION, "zip after three empty sections");
    expect_fail(a_bytes(raw.begin(), raw.begin() + 20), PSD_SHORT, "header cut");
    expect_fail(Patched(rle, 26 + 12 + 2 + 1, 0xFF), PSD_BAD_PIXELS, "a row count past the data");
}

// --- files that claim more than their data holds ---------------------------

TEST_F(ImageFiles, ShortDataCannotClaimAHugePicture) {
    // Run-length bitmaps of 4095 x 32767: one that ends at once, one that
    // reaches its top row by jumps of 255 rows alone.
    a_bmp_spec ends = Bmp(1, 1, 8);
    ends.w = 4095, ends.h = 32767, ends.compression = 1;
    ends.palette.resize(2);
    ends.rle = {0, 0, 0, 1};
    a_bmp_spec jumps = ends;
    jumps.rle.clear();
    for (int k = 0; k < 130; ++k) jumps.rle.insert(jumps.rle.end(), {0, 2, 0, 255});
    // A Photoshop grey run-length file of the same size: its table of row
    // lengths and nothing after it, the rows too short to fill a row ...
    a_psd_spec grey = Psd(1, 1, 1);
    grey.mode = 1, grey.rle = true;
    a_bytes psd = Make_PSD(grey);
    const size_t image_data = 26 + 3 * 4 + 2;  // header, three empty sections, compression
    ASSERT_EQ(psd[image_data - 1], 1);
    psd.resize(image_data);
    const uint8_t size[8] = {0, 0, 0x7F, 0xFF, 0, 0, 0x0F, 0xFF};
    std::memcpy(&psd[14], size, 8);
    a_bytes zero_rows = psd, long_rows = psd;
    zero_rows.resize(psd.size() + 2 * 32767, 0);
    // ... and one whose lengths would each do but add up past the end.
    for (int y = 0; y < 32767; ++y) Add16BE(long_rows, 64);
    long_rows.resize(long_rows.size() + 64 * 32766);
    // The platform decoder would take a bitmap cut short and fill the rest.
    a_bytes half = Make_BMP(Bmp(64, 64, 24));
    half.resize(half.size() / 2);

    struct a_case {
        const char* what;
        a_bytes bytes;
        int code;
    };
    const a_case cases[] = {{"bitmap that ends at once", Make_BMP(ends), BMP_BAD_PIXELS},
                            {"bitmap of jumps", Make_BMP(jumps), BMP_BAD_PIXELS},
                            {"photoshop rows too short", zero_rows, PSD_BAD_PIXELS},
                            {"photoshop rows past the end", long_rows, PSD_BAD_PIXELS},
                            {"bitmap cut in half", half, BMP_BAD_PIXELS}};
    for (const a_case& c : cases) {
        a_largest_allocation watch;
        a_scan scan;
        EXPECT_EQ(Scan(c.bytes, scan), c.code) << c.what;
        EXPECT_EQ(scan.body.fore, nullptr) << c.what;
        if (watch.Available()) {
            EXPECT_LT(watch.Bytes(), c.bytes.size() + (size_t(1) << 20)) << c.what;
        }
    }
    // The same run lengths, complete, still read.
    a_bmp_spec small = ends;
    small.w = 3, small.h = 2, small.rle = {3, 1, 0, 0, 3, 1, 0, 1};
    a_scan scan;
    EXPECT_EQ(Scan(Make_BMP(small), scan), SCAN_OK);
}

TEST_F(ImageFiles, TallPicturesGetTheSizeAlertAndOnlyRegularFilesAreRead) {
    a_bmp_spec tall = Bmp(2, 1, 24);
    tall.h = 40000;
    tall.pixels.assign(size_t(2 * 40000), 0x123456);
    std::string path = Write_Temp("tall.bmp", Make_BMP(tall));
    a_scan scan;
    EXPECT_EQ(Read_Image_File(true, path, scan), SCAN_TOO_LARGE);
    ASSERT_EQ(Dialog_History().size(), 1u);
    EXPECT_EQ(Dialog_History()[0].message, Alert(ALERT_IMAGE_TOO_WIDE));

    // A file beyond the limit is refused by its size, unread (this one is sparse).
    std::string big = Write_Temp("big.bmp", Make_BMP(Bmp(4, 2, 24)));
    ASSERT_EQ(truncate(big.c_str(), off_t(IMAGE_FILE_MAX_BYTES) + 1), 0);
    Dialog_ScriptAnswers({});
    EXPECT_EQ(Read_Image_File(true, big, scan), SCAN_TOO_LARGE);
    ASSERT_EQ(Dialog_History().size(), 1u);
    EXPECT_EQ(Dialog_History()[0].message, Alert(ALERT_IMAGE_TOO_WIDE));
    (void)File_Remove(big);  // a cleanup; the next run writes it again

    // Devices and pipes never end; they are refused, not read.
    std::string fifo = Write_Temp("pipe", {});
    (void)File_Remove(fifo);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& p : {std::string("/dev/zero"), fifo}) {
        std::vector<uint8_t> data;
        std::string error;
        EXPECT_EQ(File_Read_Limited(p, 1 << 20, data, &error), a_file_read::NOT_REGULAR) << p;
        EXPECT_EQ(error, p + (p == fifo ? ": not a regular file (a FIFO)" : ": not a regular file (a device)"));
        EXPECT_EQ(Read_Image_File(false, p, scan), SCAN_NO_DECODER) << p;
        EXPECT_EQ(Scan_Refusal(), error);
    }
    (void)File_Remove(fifo);
}

// Writes the command-line check's bitmap; run on purpose with
// --gtest_also_run_disabled_tests --gtest_filter='*WriteFixtures'. (The fuzz
// seeds are written at build time by fuzz/seeds.cpp.)
TEST(ImageFixtures, DISABLED_WriteFixtures) {
    a_bytes check = Make_BMP(Bmp(9, 5, 24));
    EXPECT_TRUE(File_SaveAtomic(std::string(CIRQUEL_TEST_DATA) + "/images/check.bmp", check.data(),
                                check.size()));
}

// Plain colour JPEG goes straight from the JPEG library into our rows; the
// toolkit's own reading of the same bytes must give every byte the same
// (the fourth one 255), whole or cut short, and the same resolution. An
// embedded JPEG expanded into a world of its stated size reads the same.
TEST_F(ImageFiles, JpegDecodedDirectlyMatchesTheToolkit) {
    GWorld* w = Make_World(37, 23, [](int x, int y) { return Pattern(x * 7, y * 5) ^ uint32_t(x * y * 2654435761u); });
    const a_bytes whole = Encode(w, "jpeg", 200), png = Encode(w, "png", 72);
    Dispose_GWorld(w);
    const a_bytes cut(whole.begin(), whole.begin() + long(whole.size() * 2 / 3));
    for (const a_bytes* bytes : {&whole, &cut}) {
        const int rowbytes = 37 * 4 + 8;  // padded: nothing may be written past a row's pixels
        std::vector<uint8_t> direct(size_t(rowbytes) * 23, 0x5A), toolkit(direct.size(), 0x5A);
        a_codec_info info;
        ASSERT_TRUE(Codec_Probe(bytes->data(), bytes->size(), "jpeg", info));
        const bool read = Codec_Decode(bytes->data(), bytes->size(), "jpeg", direct.data(), rowbytes, info);
        ASSERT_EQ(read, Jpeg_Decode(bytes->data(), bytes->size(), 37, 23, toolkit.data(), rowbytes));
        if (!read) continue;
        EXPECT_EQ(direct, toolkit) << (bytes == &cut ? "cut" : "whole");
        std::vector<uint8_t> library(direct.size(), 0x5A);
        a_jpeg_density d;
        ASSERT_TRUE(Jpeg_Decode_Direct(bytes->data(), bytes->size(), 37, 23, library.data(), rowbytes, d));
        EXPECT_EQ(library, toolkit) << (bytes == &cut ? "cut" : "whole");
        for (int y = 0; y < 23; ++y) {
            EXPECT_EQ(direct[size_t(y * rowbytes + 3)], 255);
            EXPECT_EQ(direct[size_t(y * rowbytes + 37 * 4)], 0x5A);
        }
        EXPECT_EQ(info.depth, 24);
        EXPECT_FALSE(info.alpha);
        EXPECT_EQ(info.dpi_x, 200);
        if (bytes == &cut) continue;
        GWorld* expanded = Expand_JPEG(37, 23, bytes->data(), bytes->size());
        ASSERT_NE(expanded, nullptr);
        for (int y = 0; y < 23; ++y)
            EXPECT_EQ(std::memcmp(PixMap_Row(expanded->pix, y), &direct[size_t(y * rowbytes)], 37 * 4), 0) << y;
        Dispose_GWorld(expanded);
    }
    EXPECT_EQ(Expand_JPEG(37, 24, whole.data(), whole.size()), nullptr);
    EXPECT_EQ(Expand_JPEG(37, 23, png.data(), png.size()), nullptr);
    // Not a JPEG of that size: refused, left to the toolkit.
    std::vector<uint8_t> rows(size_t(40 * 4) * 23);
    a_jpeg_density d;
    EXPECT_FALSE(Jpeg_Decode_Direct(whole.data(), whole.size(), 40, 23, rows.data(), 40 * 4, d));
    EXPECT_FALSE(Jpeg_Decode_Direct(whole.data(), 3, 37, 23, rows.data(), 40 * 4, d));
    EXPECT_TRUE(Jpeg_Decode_Direct(whole.data(), whole.size(), 37, 23, rows.data(), 40 * 4, d));
    EXPECT_EQ(d.unit, 1);
    EXPECT_EQ(d.x, 200);
}

namespace {

uint32_t Gradient(int x, int y) { return uint32_t(x / 16 % 256) << 16 | uint32_t(y / 16 % 256) << 8 | 0x40u; }

}  // namespace

// A JPEG's orientation is applied by our own turn of the library's pixels:
// each of the eight gives the stored picture's pixels exactly, moved.
TEST_F(ImageFiles, JpegOrientationTurnsTheLibrarysPixels) {
    const int w = 37, h = 23;
    auto colour = [](int x, int y) { return Pattern(x * 7, y * 5); };
    a_scan plain;
    ASSERT_EQ(Scan(Make_JPEG(w, h, 0, colour, 90), plain), SCAN_OK);
    for (int o = 1; o <= 8; ++o) {
        SCOPED_TRACE("orientation " + std::to_string(o));
        a_scan turned;
        ASSERT_EQ(Scan(Make_JPEG(w, h, o, colour, 90), turned), SCAN_OK);
        const int dw = o >= 5 ? h : w, dh = o >= 5 ? w : h;
        ASSERT_EQ(Rect_Width(turned.body.bounds), dw);
        ASSERT_EQ(Rect_Height(turned.body.bounds), dh);
        for (int y = 0; y < dh; ++y)
            for (int x = 0; x < dw; ++x) {
                int sx, sy;
                Stored_Source(o, w, h, x, y, sx, sy);
                ASSERT_EQ(RGB(turned.body.fore, x, y), RGB(plain.body.fore, sx, sy)) << x << "," << y;
            }
    }
}

// Camera photos come in scaled down by the JPEG library's own eighths, to
// the fit: never whole in memory, turned as their tag says, the file's own
// size kept for what is shown and relinked.
TEST_F(ImageFiles, CameraPhotosAreDecodedScaledDownWithoutBeingWhole) {
    struct a_case {
        int w, h, o, want_w, want_h;
    };
    // 24 MP at 5/8, 48 MP at 4/8, and the 48 MP photo of a phone held upright.
    const a_case cases[] = {{6000, 4000, 0, 3750, 2500}, {8000, 6000, 0, 4000, 3000}, {8000, 6000, 6, 3000, 4000}};
    a_scan upright_source;
    for (const a_case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h) + " orientation " + std::to_string(c.o));
        const a_bytes jpeg = Make_JPEG(c.w, c.h, c.o, Gradient, 50);
        a_largest_allocation watch;
        a_scan fresh;
        a_scan& scan = c.o == 0 && c.w == 8000 ? upright_source : fresh;
        ASSERT_EQ(Scan(jpeg, scan), SCAN_OK);
        const size_t peak = watch.Peak_Bytes();
        ASSERT_EQ(Rect_Width(scan.body.bounds), c.want_w);
        ASSERT_EQ(Rect_Height(scan.body.bounds), c.want_h);
        EXPECT_EQ(scan.natural_width, c.o >= 5 ? c.h : c.w);
        EXPECT_EQ(scan.natural_height, c.o >= 5 ? c.w : c.h);
        EXPECT_LE(int64_t(c.want_w) * c.want_h, SCAN_FIT_PIXELS);
        EXPECT_LT(c.want_w, SCAN_MAX_WIDTH);
        EXPECT_FALSE(scan.incomplete);
        // The picture at the scale: a gradient of 16-pixel steps of the original.
        const double f = double(c.want_w) / (c.o >= 5 ? c.h : c.w);
        if (c.o == 0) {
            const uint32_t got = RGB(scan.body.fore, 1000, 700), want = Gradient(int(1000 / f), int(700 / f));
            EXPECT_NEAR(int(got >> 16), int(want >> 16), 3);
            EXPECT_NEAR(int(got >> 8 & 0xFF), int(want >> 8 & 0xFF), 3);
        }
        if (watch.Available()) {
            const size_t picture = size_t(c.want_w) * size_t(c.want_h) * 4;
            EXPECT_LT(peak, 3 * picture + (16u << 20)) << "peak " << (peak >> 20) << " MB";
            std::printf("%d x %d (orientation %d): peak %zu MB\n", c.w, c.h, c.o, peak >> 20);
        }
        if (c.o == 6)  // the same stored pixels as the unturned photo, moved
            for (int y = 0; y < c.want_h; y += 397)
                for (int x = 0; x < c.want_w; x += 331) {
                    int sx, sy;
                    Stored_Source(6, c.want_h, c.want_w, x, y, sx, sy);
                    ASSERT_EQ(RGB(scan.body.fore, x, y), RGB(upright_source.body.fore, sx, sy)) << x << "," << y;
                }
    }
}

// Small files that claim large pictures: those that are decoded whole
// before they can be scaled are refused beyond 32 Mi pixels, with their size
// and before their pixels are made; those within come in scaled to the fit.
// The examples are the fault hunt's: a 197 KB IFF of 3072 x 32767, an RLE
// bitmap of 4095 x 27000 and a GIF of 4095 x 8000.
TEST_F(ImageFiles, LargePicturesStaySmallInMemory) {
    a_iff_spec iff = Iff(3072, 32767, 8);
    iff.pbm = true;
    iff.packed = true;
    iff.pixels.assign(size_t(3072) * 32767, 7);
    a_bmp_spec bmp = Bmp(4095, 27000, 8);
    bmp.compression = 1;
    bmp.palette.assign(256, 0x336699);
    for (int y = 0; y < 27000; ++y) {
        for (int n = 0; n < 16; ++n) bmp.rle.insert(bmp.rle.end(), {255, 3});
        bmp.rle.insert(bmp.rle.end(), {15, 3, 0, 0});
    }
    bmp.rle.insert(bmp.rle.end(), {0, 1});
    struct a_case {
        const char* what;
        a_bytes bytes;
        int w, h;
    };
    const a_case refused[] = {{"iff", Make_IFF(iff), 3072, 32767}, {"bmp", Make_BMP(bmp), 4095, 27000}};
    iff.pixels.clear();
    for (const a_case& c : refused) {
        SCOPED_TRACE(c.what);
        std::string path = Write_Temp(std::string("large.") + c.what, c.bytes);
        Dialog_ScriptAnswers({});
        a_largest_allocation watch;
        a_scan scan;
        EXPECT_EQ(Read_Image_File(true, path, scan), SCAN_TOO_LARGE);
        if (watch.Available()) {
            EXPECT_LT(watch.Peak_Bytes(), c.bytes.size() + (8u << 20));
        }
        ASSERT_EQ(Dialog_History().size(), 1u);
        const std::string size = std::to_string(c.w) + " by " + std::to_string(c.h) + " pixels";
        EXPECT_NE(Dialog_History()[0].message.find(size), std::string::npos) << Dialog_History()[0].message;
        EXPECT_EQ(Scan_Refusal().find(path + ": "), 0u) << Scan_Refusal();
        EXPECT_NE(Scan_Refusal().find(size), std::string::npos) << Scan_Refusal();
    }

    std::vector<uint32_t> palette(256);
    for (int k = 0; k < 256; ++k) palette[size_t(k)] = uint32_t(k) << 16 | 0x8040;
    std::vector<uint8_t> px(size_t(4095) * 8000);
    for (size_t i = 0; i < px.size(); ++i) px[i] = uint8_t(i / 4095 / 64);
    const a_bytes gif = Make_GIF(4095, 8000, px, palette, -1);
    px = {};
    a_largest_allocation watch;
    a_scan scan;
    ASSERT_EQ(Scan(gif, scan), SCAN_OK);
    const size_t peak = watch.Peak_Bytes();
    int fw = 0, fh = 0;
    Codec_Fit(4095, 8000, SCAN_FIT_WIDTH, SCAN_FIT_HEIGHT, SCAN_FIT_PIXELS, fw, fh);
    EXPECT_EQ(Rect_Width(scan.body.bounds), fw);
    EXPECT_EQ(Rect_Height(scan.body.bounds), fh);
    EXPECT_LE(int64_t(fw) * fh, SCAN_FIT_PIXELS);
    EXPECT_EQ(RGB(scan.body.fore, 10, fh / 2) >> 16, uint32_t(4000 / 64));  // row 4000 of the original
    if (watch.Available()) {
        EXPECT_LT(peak, size_t(300) << 20) << "peak " << (peak >> 20) << " MB";
    }
}

// Our own readers' pictures beyond the fit (an 8-bit bitmap 4000 x 8000)
// are box-averaged down to it, through their palette, mask and all.
TEST_F(ImageFiles, OwnReadersPicturesAreScaledToTheFit) {
    a_bmp_spec bmp = Bmp(4000, 8000, 8);
    bmp.palette.clear();
    for (uint32_t k = 0; k < 256; ++k) bmp.palette.push_back(k * 0x010101u);  // greys
    bmp.pixels.resize(size_t(4000) * 8000);
    for (size_t i = 0; i < bmp.pixels.size(); ++i) bmp.pixels[i] = uint32_t(i % 4000 * 256 / 4000);  // a ramp
    a_scan scan;
    ASSERT_EQ(Scan(Make_BMP(bmp), scan), SCAN_OK);
    int fw = 0, fh = 0;
    Codec_Fit(4000, 8000, SCAN_FIT_WIDTH, SCAN_FIT_HEIGHT, SCAN_FIT_PIXELS, fw, fh);
    ASSERT_EQ(Rect_Width(scan.body.bounds), fw);
    ASSERT_EQ(Rect_Height(scan.body.bounds), fh);
    EXPECT_EQ(scan.body.fore->pix.pixelSize, 32);
    EXPECT_EQ(scan.natural_width, 4000);
    EXPECT_EQ(scan.natural_height, 8000);
    // The ramp where the result's columns fall in the original.
    for (int x = 0; x < fw; x += 97) {
        const uint32_t grey = RGB(scan.body.fore, x, fh / 3) & 0xFF;
        EXPECT_NEAR(int(grey), int(int64_t(x) * 4000 / fw * 256 / 4000), 2) << x;
    }
}

// A JPEG cut short still shows, grey where it ends, and says so.
TEST_F(ImageFiles, TruncatedJpegIsMarkedIncomplete) {
    const a_bytes whole = Make_JPEG(640, 480, 0, Pattern, 90);
    const a_bytes cut(whole.begin(), whole.begin() + long(whole.size() * 3 / 5));
    a_scan full, half;
    ASSERT_EQ(Scan(whole, full), SCAN_OK);
    ASSERT_EQ(Scan(cut, half), SCAN_OK);
    EXPECT_FALSE(full.incomplete);
    EXPECT_TRUE(half.incomplete);
}

