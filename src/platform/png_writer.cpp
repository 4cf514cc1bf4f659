#include "platform/png_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/files.h"

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Compressed data is cut into IDAT chunks of this size, each checksummed
// while it is still in the cache.
constexpr size_t kChunkData = size_t(256) << 10;
constexpr size_t kChunkFrame = 12;  // length, type, CRC
constexpr int kLevel = 1;
// Matches only of the byte before: after the Up filter a picture's repeats
// are runs of zeros, and this finds them in less time than a search of the
// window, in files no larger (measured on photos, effects and sheets).
constexpr int kStrategy = Z_RLE;
constexpr int kWindowBits = 15;
constexpr int kMemLevel = 8;
constexpr uint8_t kFilterUp = 2;

// Output bytes that are never zeroed first: only what is written is touched.
class a_out_buffer {
public:
    explicit a_out_buffer(size_t capacity) : data_(new uint8_t[capacity]), cap_(capacity) {}
    uint8_t* at(size_t offset) { return data_.get() + offset; }
    size_t size() const { return size_; }
    size_t room() const { return cap_ - size_; }
    void grow(size_t need) {
        if (room() >= need) return;
        size_t cap = std::max(cap_ * 2, size_ + need);
        std::unique_ptr<uint8_t[]> bigger(new uint8_t[cap]);
        std::memcpy(bigger.get(), data_.get(), size_);
        data_ = std::move(bigger);
        cap_ = cap;
    }
    void advance(size_t n) { size_ += n; }
    void put(const void* p, size_t n) {
        grow(n);
        std::memcpy(at(size_), p, n);
        size_ += n;
    }
    void put32(uint32_t v) {
        const uint8_t b[4] = {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
        put(b, 4);
    }

private:
    std::unique_ptr<uint8_t[]> data_;
    size_t cap_ = 0;
    size_t size_ = 0;
};

void Store32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}

// A whole chunk: length, type, data, CRC of type and data.
void Put_Chunk(a_out_buffer& out, const char type[4], const uint8_t* data, uint32_t size) {
    out.put32(size);
    out.put(type, 4);
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
    if (size) {
        out.put(data, size);
        crc = crc32(crc, data, size);  // crc32 of a null buffer is the initial value, not a sum
    }
    out.put32(uint32_t(crc));
}

void Put_Header(a_out_buffer& out, const a_png_rows& rows) {
    out.put(kSignature, sizeof kSignature);
    uint8_t ihdr[13];
    Store32(ihdr, uint32_t(rows.width));
    Store32(ihdr + 4, uint32_t(rows.height));
    ihdr[8] = 8;                     // bits per sample
    ihdr[9] = rows.alpha ? 6 : 2;    // RGBA or RGB
    ihdr[10] = ihdr[11] = ihdr[12] = 0;  // deflate, adaptive filtering, no interlace
    Put_Chunk(out, "IHDR", ihdr, sizeof ihdr);
}

// Deflate's output, framed as IDAT chunks as it comes.
class a_idat_stream {
public:
    explicit a_idat_stream(a_out_buffer& out) : out_(out) {}

    // Runs deflate until it has taken all its input (or, finishing, has
    // written the end of the stream).
    bool pump(z_stream& z, int flush) {
        for (;;) {
            if (!open_) open_chunk();
            if (out_.size() - data_at_ == kChunkData) {
                close_chunk();
                continue;
            }
            out_.grow(kChunkFrame + 1);
            size_t space = std::min(kChunkData - (out_.size() - data_at_), out_.room() - kChunkFrame);
            z.next_out = out_.at(out_.size());
            z.avail_out = uInt(space);
            int rc = deflate(&z, flush);
            out_.advance(space - z.avail_out);
            if (rc == Z_STREAM_END) return true;
            if (rc != Z_OK && rc != Z_BUF_ERROR) return false;
            // Space left over: all input taken (finishing ends in Z_STREAM_END).
            if (z.avail_out > 0) return flush != Z_FINISH;
        }
    }
    void finish() {
        if (open_) close_chunk();
    }

private:
    void open_chunk() {
        out_.put32(0);  // the length, known when the chunk closes
        out_.put("IDAT", 4);
        data_at_ = out_.size();
        open_ = true;
    }
    void close_chunk() {
        uint32_t size = uint32_t(out_.size() - data_at_);
        Store32(out_.at(data_at_ - 8), size);
        uLong crc = crc32(0, out_.at(data_at_ - 4), uInt(size + 4));
        out_.put32(uint32_t(crc));
        open_ = false;
    }

    a_out_buffer& out_;
    size_t data_at_ = 0;
    bool open_ = false;
};

// One row as PNG samples: red, green, blue (and alpha).
void Row_Samples(const uint8_t* src, int width, bool alpha, uint8_t* dst) {
    if (alpha) {
        for (int x = 0; x < width; ++x, src += 4, dst += 4) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
            dst[3] = src[3];
        }
        return;
    }
    for (int x = 0; x < width; ++x, src += 4, dst += 3) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
    }
}

// The Up filter: each byte less the one above it (zeros above the first row).
// One subtraction a byte; it compresses photos better than Sub does.
void Filter_Up(const uint8_t* cur, const uint8_t* prev, size_t n, uint8_t* out) {
    out[0] = kFilterUp;
    for (size_t i = 0; i < n; ++i) out[1 + i] = uint8_t(cur[i] - prev[i]);
}

bool Valid(const a_png_rows& rows, std::string* error) {
    bool ok = rows.base && rows.width > 0 && rows.height > 0 &&
              rows.rowbytes >= size_t(rows.width) * 4;
    if (!ok && error) *error = "only 32-bit pictures with pixels can be written";
    return ok;
}

bool Deflate_Rows(const a_png_rows& rows, z_stream& z, a_idat_stream& idat) {
    size_t n = size_t(rows.width) * (rows.alpha ? 4 : 3);
    std::vector<uint8_t> prev(n, 0), cur(n), filtered(n + 1);
    for (int y = 0; y < rows.height; ++y) {
        Row_Samples(rows.base + size_t(y) * rows.rowbytes, rows.width, rows.alpha, cur.data());
        Filter_Up(cur.data(), prev.data(), n, filtered.data());
        cur.swap(prev);
        z.next_in = filtered.data();
        z.avail_in = uInt(filtered.size());
        if (!idat.pump(z, Z_NO_FLUSH)) return false;
    }
    return idat.pump(z, Z_FINISH);
}

// The whole file, or nothing with a message.
std::unique_ptr<a_out_buffer> Encode(const a_png_rows& rows, std::string* error) {
    if (!Valid(rows, error)) return nullptr;
    z_stream z{};
    if (deflateInit2(&z, kLevel, Z_DEFLATED, kWindowBits, kMemLevel, kStrategy) != Z_OK) {
        if (error) *error = "the compressor could not start";
        return nullptr;
    }
    uLong raw = uLong(rows.height) * (uLong(rows.width) * (rows.alpha ? 4 : 3) + 1);
    uLong bound = deflateBound(&z, raw);
    auto out = std::make_unique<a_out_buffer>(64 + bound + kChunkFrame * (bound / kChunkData + 2));
    Put_Header(*out, rows);
    a_idat_stream idat(*out);
    bool ok = Deflate_Rows(rows, z, idat);
    deflateEnd(&z);
    if (!ok) {
        if (error) *error = "the picture could not be compressed";
        return nullptr;
    }
    idat.finish();
    Put_Chunk(*out, "IEND", nullptr, 0);
    return out;
}

}  // namespace

bool Png_Encode_Fast(const a_png_rows& rows, std::vector<uint8_t>& out, std::string* error) {
    std::unique_ptr<a_out_buffer> bytes = Encode(rows, error);
    if (!bytes) return false;
    out.assign(bytes->at(0), bytes->at(0) + bytes->size());
    return true;
}

bool Png_Save_Fast(const std::string& path, const a_png_rows& rows, std::string* error) {
    std::unique_ptr<a_out_buffer> bytes = Encode(rows, error);
    return bytes && File_SaveAtomic(path, bytes->at(0), bytes->size(), error);
}
