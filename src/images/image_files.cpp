#include "images/image_files.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <utility>

#include "images/bmp_reader.h"
#include "images/iff_reader.h"
#include "images/pict_writer.h"
#include "images/psd_file.h"
#include "platform/files.h"
#include "platform/image_codec.h"
#include "base/messages.h"
#include "base/string_ids.h"

const char FINDER_TYPES[FMT_COUNT][5] = {"DISC", "PICT", "BMP ", ".BMP", "ILBM", "GIFf",
                                         "GIFf", "JPEG", "TIFF", "8BPS", ".TXT", "PNGf"};

namespace {

a_scan_progress g_progress = nullptr;
// Refusals are made off the main thread too (embedded photos decoded apart).
thread_local std::string g_refusal;

void Replace_All(std::string& s, const std::string& from, const std::string& to) {
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
}

struct a_codec_pair {
    const char* code;
    const char* name;
};
const a_codec_pair kCodecs[] = {
    {"JPEG", "jpeg"}, {"PNGf", "png"}, {"GIFf", "gif"},  {"BMPf", "bmp"},
    {"TIFF", "tiff"}, {"WEBP", "webp"}, {"8BPS", "psd"}, {"TPIC", "tga"},
};

bool Starts_With(const uint8_t* data, size_t size, const char* magic) {
    size_t n = std::strlen(magic);
    return size >= n && std::memcmp(data, magic, n) == 0;
}

// Our own readers by the file's first bytes; -1 when none claims it.
[[nodiscard]] int Scan_Own(bool alerts, const uint8_t* data, size_t size, a_picture_scan_rec& scan) {
    if (Starts_With(data, size, "FORM")) return Scan_ILBM(alerts, data, size, scan);
    if (Starts_With(data, size, "BM")) {
        int err = Scan_BMP_2(alerts, true, data, size, scan);
        if (err == SCAN_OK) std::memcpy(scan.codec, "BMPf", 4);
        return err;
    }
    if (Starts_With(data, size, "8BPS")) {
        int err = Scan_PSD(alerts, data, size, scan);
        if (err == SCAN_OK) std::memcpy(scan.codec, "8BPS", 4);
        return err;
    }
    return -1;
}

// An indexed body gets the table its palette makes.
[[nodiscard]] bool Attach_CTable(a_picture_scan_rec& scan) {
    if (!scan.body.fore || scan.body.fore->pix.pixelSize != 8) return true;
    uint32_t colors[256];
    for (int k = 0; k < 256; ++k) {
        const a_win_pixel32& c = scan.ctable[k];
        colors[k] = uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
    }
    scan.ctab = New_CTable(colors, 256);
    if (!scan.ctab) return false;
    Set_GWorld_CTable(scan.body.fore, scan.ctab);
    return true;
}

}  // namespace

void Image_SetProgress(a_scan_progress progress) { g_progress = progress; }

void Scan_Progress(int total, int done) {
    if (g_progress) g_progress(total, done);
}

void Null_Scan(a_picture_scan_rec& scan) { scan = a_picture_scan_rec{}; }

void Dispose_Scan(a_picture_scan_rec& scan) {
    Dispose_MW(scan.body);
    Dispose_CTable(scan.ctab);
    Null_Scan(scan);
}

void Codec_Code(const std::string& name, char code[4]) {
    for (const a_codec_pair& c : kCodecs)
        if (name == c.name) {
            std::memcpy(code, c.code, 4);
            return;
        }
    std::memset(code, ' ', 4);
    for (size_t i = 0; i < 4 && i < name.size(); ++i)
        code[i] = char(std::toupper(static_cast<unsigned char>(name[i])));
}

std::string Codec_Name(const char code[4]) {
    for (const a_codec_pair& c : kCodecs)
        if (std::memcmp(code, c.code, 4) == 0) return c.name;
    return {};
}

std::string Codec_Text(const char code[4]) {
    if (code[0] == 0) return {};
    return std::string(code, 4);
}

int Scan_Too_Large(bool alerts) {
    if (alerts) OK_Alert(ALERT_IMAGE_TOO_WIDE, false);
    return SCAN_TOO_LARGE;
}

int Scan_Too_Many_Pixels(bool alerts, int64_t width, int64_t height) {
    GetIndString(g_refusal, ALERT_STR_ID, ALERT_IMAGE_TOO_MANY_PIXELS);
    Replace_All(g_refusal, "^0", std::to_string(width));
    Replace_All(g_refusal, "^1", std::to_string(height));
    if (alerts) {  // alerts come on the main thread only
        Param_Text(std::to_string(width), std::to_string(height));
        OK_Alert(ALERT_IMAGE_TOO_MANY_PIXELS, false);
    }
    return SCAN_TOO_LARGE;
}

int Scan_Check_Size(bool alerts, int width, int height) {
    if (width >= SCAN_MAX_WIDTH || height > SCAN_MAX_HEIGHT) return Scan_Too_Large(alerts);
    if (width <= 0 || height <= 0) return SCAN_NO_BOUNDS;
    return SCAN_OK;
}

int Scan_New_Body(bool alerts, int width, int height, int depth, a_picture_scan_rec& scan, bool filled) {
    int err = Scan_Check_Size(alerts, width, height);
    if (err != SCAN_OK) return err;
    // The whole picture is made before it is scaled down.
    if (int64_t(width) * height > SCAN_MAX_FULL_PIXELS) return Scan_Too_Many_Pixels(alerts, width, height);
    Rect bounds{0, 0, int16_t(height), int16_t(width)};
    const int made = filled ? New_GWorld_Unfilled(bounds, depth, nullptr, scan.body.fore)
                            : New_GWorld(bounds, depth, nullptr, scan.body.fore);
    if (made != 0) {
        if (alerts) OK_Alert(ALERT_NO_MEMORY_FOR_THIS, false);
        return SCAN_NO_MEMORY;
    }
    scan.body.bounds = bounds;
    return SCAN_OK;
}

// Only a mask that is all opaque (nothing to hide) or all clear (an alpha
// channel nobody filled in) says nothing; a soft mask without a single fully
// clear or fully opaque pixel is still a mask.
void Scan_Drop_Plain_Mask(a_picture_scan_rec& scan) {
    if (!scan.body.mask) return;
    const PixMap& mask = scan.body.mask->pix;
    bool all_clear = true, all_opaque = true;
    for (int y = mask.bounds.top; y < mask.bounds.bottom && (all_clear || all_opaque); ++y) {
        const uint8_t* m = PixMap_Row(mask, y);
        for (int x = 0; x < Rect_Width(mask.bounds); ++x) {
            all_clear &= m[x] == 0;
            all_opaque &= m[x] == 255;
        }
    }
    if (all_clear || all_opaque) Dispose_GWorld(scan.body.mask);
}

namespace {

// Pixels without coverage show white, whatever colour the file stored under
// them (usually black): scaling blends neighbours into the visible edge, and
// purposes that ignore the mask show the colour itself.
void Whiten_Transparent(a_picture_scan_rec& scan) {
    if (!scan.body.mask) return;
    const PixMap& fore = scan.body.fore->pix;
    const PixMap& mask = scan.body.mask->pix;
    for (int y = fore.bounds.top; y < fore.bounds.bottom; ++y) {
        auto* px = reinterpret_cast<a_win_pixel32*>(PixMap_Row(fore, y));
        const uint8_t* m = PixMap_Row(mask, y);
        for (int x = 0; x < Rect_Width(fore.bounds); ++x)
            if (m[x] == 0) px[x] = a_win_pixel32{255, 255, 255, 0};
    }
}

}  // namespace

void Scan_Alpha_Mask(a_picture_scan_rec& scan) {
    const PixMap& fore = scan.body.fore->pix;
    if (New_GWorld(fore.bounds, 8, gray_ctable, scan.body.mask) != 0) return;
    const PixMap& mask = scan.body.mask->pix;
    for (int y = fore.bounds.top; y < fore.bounds.bottom; ++y) {
        const auto* px = reinterpret_cast<const a_win_pixel32*>(PixMap_Row(fore, y));
        uint8_t* m = PixMap_Row(mask, y);
        for (int x = 0; x < Rect_Width(fore.bounds); ++x) m[x] = px[x].a;
    }
    Scan_Drop_Plain_Mask(scan);
    Whiten_Transparent(scan);
}

int Scan_Quicktime2(bool alerts, const char* hint, const uint8_t* data, size_t size,
                    a_picture_scan_rec& scan) {
    a_codec_info info;
    if (!Codec_Probe(data, size, hint ? hint : "", info)) return SCAN_NO_DECODER;
    int fw = 0, fh = 0;
    Codec_Fit_Decoded(info, SCAN_FIT_WIDTH, SCAN_FIT_HEIGHT, SCAN_FIT_PIXELS, fw, fh);
    // What the decoder holds whole on the way: a JPEG at an eighth at least.
    const int64_t w = info.width, h = info.height;
    const int64_t whole = info.format == "jpeg" ? ((w + 7) / 8) * ((h + 7) / 8) : w * h;
    if (whole > SCAN_MAX_FULL_PIXELS) return Scan_Too_Many_Pixels(alerts, w, h);
    // A picture the decoders would refuse to make is refused before our own copy is made.
    const bool eighths = info.format == "jpeg";
    if (!Codec_Fits(eighths ? fw : int(w), eighths ? fh : int(h))) {
        if (alerts) OK_Alert(ALERT_NO_MEMORY_FOR_THIS, false);
        return SCAN_NO_MEMORY;
    }
    info.width = fw;
    info.height = fh;
    // The decoder writes every pixel of a picture it reads whole.
    int err = Scan_New_Body(alerts, fw, fh, 32, scan, true);
    if (err != SCAN_OK) return err;
    PixMap& fore = scan.body.fore->pix;
    if (!Codec_Decode(data, size, hint ? hint : "", fore.baseAddr, PixMap_RowBytes(fore), info)) {
        Dispose_MW(scan.body);
        return SCAN_NO_BOUNDS;
    }
    scan.depth = int16_t(info.depth);
    scan.dpi_h = info.dpi_x;
    scan.dpi_v = info.dpi_y;
    scan.natural_width = info.natural_width;
    scan.natural_height = info.natural_height;
    scan.incomplete = info.incomplete;
    Codec_Code(info.format, scan.codec);
    if (info.alpha) Scan_Alpha_Mask(scan);
    return SCAN_OK;
}

int Scan_Bytes(bool alerts, const char codec[4], const uint8_t* data, size_t size,
               a_picture_scan_rec& scan) {
    Null_Scan(scan);
    int err = Scan_Own(alerts, data, size, scan);
    // A bitmap variant our reader does not know may still be one the codecs
    // know; a bitmap whose data is short or damaged is refused, not handed on
    // to a decoder that would accept it cut short.
    bool unknown_bmp = (err == BMP_BAD_HEADER || err == BMP_BAD_COMPRESSION) &&
                       Starts_With(data, size, "BM");
    bool retry = err == -1 || unknown_bmp;
    if (retry) {
        Dispose_Scan(scan);
        std::string hint = codec ? Codec_Name(codec) : std::string();
        int qt = Scan_Quicktime2(alerts, hint.c_str(), data, size, scan);
        if (qt == SCAN_OK || err == -1) err = qt;
    }
    if (err == SCAN_OK && scan.natural_width == 0) {
        scan.natural_width = Rect_Width(scan.body.bounds);
        scan.natural_height = Rect_Height(scan.body.bounds);
    }
    if (err == SCAN_OK && !Scan_Fit(scan)) {
        if (alerts) OK_Alert(ALERT_NO_MEMORY_FOR_THIS, false);
        err = SCAN_NO_MEMORY;
    }
    if (err == SCAN_OK && !Attach_CTable(scan)) {
        if (alerts) OK_Alert(ALERT_NO_MEMORY_FOR_THIS, false);
        err = SCAN_NO_MEMORY;
    }
    if (err != SCAN_OK) Dispose_Scan(scan);
    return err;
}

bool Scan_Quicktime_Hdl(const char codec[4], const std::vector<uint8_t>& hdl,
                        a_picture_scan_rec& scan) {
    return Scan_Bytes(false, codec, hdl.data(), hdl.size(), scan) == SCAN_OK;
}

namespace {

int Error_Alert(int code) {
    switch (code) {
        case SCAN_TOO_LARGE: return ALERT_IMAGE_TOO_WIDE;
        case SCAN_NO_MEMORY: return ALERT_NO_MEMORY_FOR_THIS;
        case SCAN_DEEP_IMAGE: return ALERT_DEEP_IMAGE;
        default: return ALERT_CANNOT_READ;
    }
}

}  // namespace

void Photo_Import_Error(int code) {
    if (code == SCAN_OK || code == SCAN_TOO_LARGE || code == SCAN_NO_MEMORY) return;
    OK_Alert(Error_Alert(code), false);
}

std::string Scan_Error_Text(int code) {
    std::string s;
    Get_Translated_String(Error_Alert(code), ALERT_STR_ID, s);
    return s;
}

bool Read_BitMap(bool alerts, const std::string& path, a_picture_scan_rec& scan) {
    return Read_Image_File(alerts, path, scan) == SCAN_OK;
}

std::string Scan_Refusal() { return g_refusal; }

int Read_Image_File(bool alerts, const std::string& path, a_picture_scan_rec& scan) {
    Null_Scan(scan);
    g_refusal.clear();
    std::vector<uint8_t> bytes;
    int err = SCAN_NO_DECODER;
    Scan_Progress(-1, -1);
    std::string why;
    a_file_read read = File_Read_Limited(path, IMAGE_FILE_MAX_BYTES, bytes, &why);
    if (read == a_file_read::TOO_LARGE) err = Scan_Too_Large(alerts);
    else if (read == a_file_read::OK && !bytes.empty())
        err = Scan_Bytes(alerts, nullptr, bytes.data(), bytes.size(), scan);
    if (read != a_file_read::OK) g_refusal = why;
    else if (!g_refusal.empty()) g_refusal = path + ": " + g_refusal;
    Scan_Progress(-2, -2);
    if (err != SCAN_OK && alerts) Photo_Import_Error(err);
    return err;
}

int Export_World_Bytes(a_file_format format, int dpi, const GWorld* world,
                       std::vector<uint8_t>& out) {
    if (!world || world->pix.pixelSize != 32 || dpi <= 0) return -2;
    const PixMap& pm = world->pix;
    int w = Rect_Width(pm.bounds), h = Rect_Height(pm.bounds), rb = PixMap_RowBytes(pm);
    out.clear();
    switch (format) {
        case FMT_PSD: return Write_PSD(pm, dpi, out) ? 0 : -2;
        case FMT_PICT: return Write_PICT(pm, dpi, out) ? 0 : -2;
        case FMT_BMP: return Codec_Encode(pm.baseAddr, w, h, rb, "bmp", -1, dpi, out) ? 0 : -2;
        case FMT_JPEG: return Codec_Encode(pm.baseAddr, w, h, rb, "jpeg", 90, dpi, out) ? 0 : -2;
        case FMT_TIFF: return Codec_Encode(pm.baseAddr, w, h, rb, "tiff", -1, dpi, out) ? 0 : -2;
        case FMT_PNG: return Codec_Encode(pm.baseAddr, w, h, rb, "png", -1, dpi, out) ? 0 : -2;
        default: return -1;
    }
}

int Export_World(a_file_format format, int dpi, const std::string& path, const GWorld* world,
                 std::string* error) {
    std::vector<uint8_t> bytes;
    int err = Export_World_Bytes(format, dpi, world, bytes);
    if (err != 0) return err;
    return File_SaveAtomic(path, bytes.data(), bytes.size(), error) ? 0 : -3;
}

GWorld* Expand_JPEG(int width, int height, const uint8_t* buf, size_t len) {
    a_codec_info info;
    if (!Codec_Probe(buf, len, "jpeg", info) || info.format != "jpeg" || info.width != width ||
        info.height != height || width >= SCAN_MAX_WIDTH || height > SCAN_MAX_HEIGHT ||
        !Codec_Fits(width, height))
        return nullptr;
    a_gworld_ptr world = Make_GWorld(32, Rect{0, 0, int16_t(height), int16_t(width)});
    if (!world) return nullptr;
    if (!Codec_Decode(buf, len, "jpeg", world->pix.baseAddr, PixMap_RowBytes(world->pix), info))
        return nullptr;
    return world.release();
}

bool Scan_To_MW(a_picture_scan_rec& scan, a_masked_gworld& mw) {
    const bool deep = scan.body.fore && scan.body.fore->pix.pixelSize == 32;
    GWorld* fore = deep ? std::exchange(scan.body.fore, nullptr) : Scan_Colour_World(scan);
    if (!fore) return false;
    mw.bounds = scan.body.bounds;
    mw.fore = fore;
    mw.mask = std::exchange(scan.body.mask, nullptr);
    return true;
}

GWorld* Scan_Colour_World(const a_picture_scan_rec& scan) {
    const GWorld* fore = scan.body.fore;
    if (!fore) return nullptr;
    if (fore->pix.pixelSize == 32) return Copy_GWorld(fore);
    GWorld* deep = New_GWorld(32, fore->pix.bounds);
    if (!deep) return nullptr;
    const Rect& b = fore->pix.bounds;
    for (int y = b.top; y < b.bottom; ++y) {
        const uint8_t* src = PixMap_Row(fore->pix, y);
        auto* dst = reinterpret_cast<a_win_pixel32*>(PixMap_Row(deep->pix, y));
        for (int x = 0; x < Rect_Width(b); ++x) {
            dst[x] = scan.ctable[src[x]];
            dst[x].a = 255;
        }
    }
    return deep;
}
