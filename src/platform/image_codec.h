// The toolkit's image decoders and encoders on plain bytes and pixel buffers.
// Pixels are 32-bit native: bytes blue, green, red, alpha, not premultiplied.
// Process-wide state: none.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct a_codec_info {
    int width = 0;  // natural size, after the file's own orientation is applied;
    int height = 0; // set smaller before Codec_Decode, the size to decode to
    int natural_width = 0;  // as Codec_Probe found it
    int natural_height = 0;
    int depth = 0;       // bits per pixel of the source: 1, 8, 24, 32, ...
    bool alpha = false;  // the source has transparency (an alpha channel or colour)
    std::string format;  // the decoder's lower-case name: "jpeg", "png", "gif", ...
    int dpi_x = 0;       // resolution stated by the file or the decoder's default; 0 when none
    int dpi_y = 0;
    bool incomplete = false;  // the data ended before the picture: the rest is filled in
};

// Size and format of image bytes without decoding the pixels. `hint` (a
// format name or empty) is tried when the content names no decoder.
[[nodiscard]] bool Codec_Probe(const uint8_t* data, size_t size, const std::string& hint, a_codec_info& info);
// Decodes into `dst`: info.height rows of `rowbytes` bytes, the size Codec_Probe
// gave or one Codec_Fit_Decoded chose. Opaque sources get alpha 255. False
// when the data does not decode to exactly that size.
[[nodiscard]] bool Codec_Decode(const uint8_t* data, size_t size, const std::string& hint, uint8_t* dst,
                  int rowbytes, a_codec_info& info);
// The size of a `w` x `h` picture shrunk, proportions kept, until it is at
// most `max_w` wide, `max_h` high and `max_pixels` in all; itself when it fits.
void Codec_Fit(int w, int h, int max_w, int max_h, int64_t max_pixels, int& fw, int& fh);
// The same for the picture Codec_Probe described, as its decoder can make it
// cheaply: a JPEG by eighths of its size, decoded at that size by the
// library itself, so that the whole picture is never held; others exactly.
void Codec_Fit_Decoded(const a_codec_info& info, int max_w, int max_h, int64_t max_pixels, int& fw, int& fh);
// Encodes rows in `format` ("bmp", "jpeg", "tiff", "png") at `quality` (0-100,
// -1 the encoder's default) with `dpi` stored where the format has a field for
// it. The fourth byte is ignored unless `alpha`.
[[nodiscard]] bool Codec_Encode(const uint8_t* pixels, int width, int height, int rowbytes,
                  const std::string& format, int quality, int dpi, std::vector<uint8_t>& out,
                  bool alpha = false);
// The most bytes of pixels the decoders will make for one picture; 0 when
// they set no limit.
size_t Codec_Memory_Limit();
// Whether a picture of this size is within that limit, as 32-bit pixels.
bool Codec_Fits(int width, int height);
// Whether the toolkit can read (or write) `format`.
bool Codec_Can_Read(const std::string& format);
bool Codec_Can_Write(const std::string& format);
