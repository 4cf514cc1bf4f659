// The chunk stream under project files: a preamble, then a flat run of
// chunks, each a four-character tag, a signed 32-bit number and a signed
// 32-bit payload length, all big-endian. Writing appends a chunk and patches
// its length when it stops; reading finds a chunk by tag and number with a
// scan from the preamble, so chunks may come in any order and unknown ones are
// skipped.
//
// The stream works on the bytes of a whole file held in memory: the project
// reader loads them first (with a size limit), the writer hands them to the
// atomic save when everything is written, so a failed save leaves the old file.
// Readers and writers never stop on an error: the first failure is kept in the
// stream's sticky error and later calls go on; a value that could not be read
// keeps what the caller had in it.
//
// Process-wide state: the one open stream, g_chunk (reads and writes).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "artdb/keyset.h"
#include "pixels/gworld.h"
#include "pixels/pixmap.h"
#include "platform/geometry.h"
#include "platform/pixels.h"

struct a_filespec;

// A chunk's header as it stands in the file.
struct a_chunk_preamble {
    char ctype[4] = {};  // the tag, in reading order
    int32_t cid = 0;     // the chunk's number (a unit index, say)
    int32_t clen = 0;    // payload bytes after these 12
};
constexpr int32_t CHUNK_HEADER_BYTES = 12;

// Sticky errors: a failed or short write, and a read that found no bytes.
constexpr int16_t CHUNK_ERR_IO = -1;
constexpr int16_t CHUNK_ERR_EOF = -255;

struct a_chunk_stream {
    std::vector<uint8_t>* file = nullptr;  // the bytes of the open file
    size_t pos = 0;        // the file position
    int32_t pre = 0;       // preamble bytes before the first chunk
    size_t off = 0;        // position of the current chunk's length field
    int32_t len = 0;       // payload bytes written, or the length of the chunk found
    size_t end = 0;        // end of the payload of the chunk found
    bool writing = false;  // between Chunk_WriteStart and Chunk_WriteStop
    int16_t err = 0;       // the last error since the stream was opened
};
extern a_chunk_stream g_chunk;

// Opens the stream on `file` (read from, or appended to by the writers) with
// a preamble of `preamble_size` bytes; clears the error and the counters.
void Chunk_Init(int32_t preamble_size, std::vector<uint8_t>& file);
void Chunk_Stop();

// Appends a chunk header with length 0 and starts counting its payload;
// Chunk_WriteStop writes the count into the header. Chunks do not nest.
void Chunk_WriteStart(int32_t cid, const char clabel[4]);
void Chunk_WriteStop();

// Positions the stream at the payload of the first chunk with this tag and
// number. An empty chunk counts as missing; a header whose length runs past
// the end of the file ends the scan.
[[nodiscard]] bool Chunk_Find(int32_t id, const char targ_label[4]);

// Typed values, big-endian. Readers read at the current position; writers
// append and add to the chunk's length.
void Chunk_ReadRaw(size_t len, void* ptr);
void Chunk_WriteRaw(size_t len, const void* ptr);
void Chunk_ReadBoolean(bool& v);
void Chunk_WriteBoolean(bool v);
void Chunk_ReadInt16(int16_t& v);
void Chunk_WriteInt16(int16_t v);
void Chunk_ReadCard16(uint16_t& v);
void Chunk_WriteCard16(uint16_t v);
void Chunk_ReadInt32(int32_t& v);
void Chunk_WriteInt32(int32_t v);
void Chunk_ReadCard32(uint32_t& v);
void Chunk_WriteCard32(uint32_t v);
void Chunk_ReadReal(float& v);  // IEEE single, its bits as a Card32
void Chunk_WriteReal(float v);
void Chunk_ReadFRect(a_frect& r);  // left, top, right, bottom
void Chunk_WriteFRect(const a_frect& r);
void Chunk_ReadPoint(Point& p);  // v, then h
void Chunk_WritePoint(const Point& p);
void Chunk_ReadRect(Rect& r);  // top, left, bottom, right
void Chunk_WriteRect(const Rect& r);
void Chunk_ReadPixel32(a_win_pixel32& p);  // stored red, green, blue, alpha
void Chunk_WritePixel32(const a_win_pixel32& p);
void Chunk_ReadPString(std::string& s);  // a length byte and up to 255 bytes
void Chunk_WritePString(const std::string& s);  // longer text is cut to 255 bytes
// Volume (written 0), directory (written 0), then the full path as PString;
// reading keeps the path only.
void Chunk_ReadPath(a_filespec& spec);
void Chunk_WritePath(const a_filespec& spec);
void Chunk_ReadKey(a_keyset& key);
void Chunk_WriteKey(const a_keyset& key);
// UTF-16 code units, `nbytes` bytes (the caller stores the count).
void Chunk_ReadUString(size_t nbytes, char16_t* buf);
void Chunk_WriteUString(size_t nbytes, const char16_t* buf);
// An Int32 count, then the bytes; 0 stands for no handle. A count larger than
// the rest of the file gives no handle and the end-of-file error.
void Chunk_ReadHandle(std::vector<uint8_t>& h);
void Chunk_WriteHandle(const std::vector<uint8_t>& h);

// A pixel map as a chunk of its own: version 2, the map's bounds, then the
// rows of `subset` only. A null or empty map writes nothing.
void Chunk_WritePix(const Rect& subset, const PixMap& pix, int32_t id, const char label[4]);
// The map stays null when the chunk is missing, of an unknown version, or its
// bounds, subset and rows disagree with its length (nothing is decoded from
// a damaged chunk). Pixels outside the stored subset are cleared.
// `out_subset`, when given, receives the rectangle whose pixels were stored.
void Chunk_ReadPix(PixMap& pix, int32_t id, const char label[4], Rect* out_subset = nullptr);
// The stored rows straight into `into` at their places, when the chunk's
// bounds and depth are the map's; other pixels are left as they are. True
// when the chunk was dealt with (read, missing or damaged); false, with
// nothing read, when it would need a map of its own.
[[nodiscard]] bool Chunk_ReadPixInto(PixMap& into, int32_t id, const char label[4]);
// The same for a world; nothing for a null world.
void Chunk_WriteWorld(const Rect& subset, const GWorld* world, int32_t id, const char label[4]);
void Chunk_ReadWorld(Rect& out_bounds, GWorld*& out_world, int32_t id, const char label[4]);
// A masked world as two chunks of the same number: the picture under
// `labelf`, the mask under `labelm`.
void Chunk_WriteMW(const a_masked_gworld& mw, int32_t id, const char labelm[4],
                   const char labelf[4]);
void Chunk_ReadMW(a_masked_gworld& mw, int32_t id, const char labelm[4], const char labelf[4]);

// Bytes of a row of a version-1 pixel chunk: padded to 16-bit words.
int32_t Calc_Row_Bytes(int width, int pixelsize);
