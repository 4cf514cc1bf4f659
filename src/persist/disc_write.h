// Writing the whole document as a project: the preview, the template, the
// font table with its samples, the media settings, every unit with its
// blocks and paint, and the embedded pictures. The bytes are made in memory
// and saved atomically, so a failed save leaves the previous file as it was.
// Process-wide state: the document g_doc (reads); the open chunk stream
// g_chunk (writes); the effects cache (reads); the progress bar.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/document.h"
#include "persist/disc_read.h"
#include "pixels/gworld.h"

// Results of Write_DISC besides 0 (success) and the stream's errors.
constexpr int16_t DISC_WRITE_NOT_OPENED = 1;
constexpr int16_t DISC_WRITE_NOT_CREATED = 2;  // the folder does not exist

constexpr int THUMB_WIDTH = 140;
constexpr int THUMB_HEIGHT = 190;

constexpr int16_t DISC_WRITE_TOO_LARGE = 3;  // more than a project may have

// 0 when the project was saved; otherwise the file at `path` is unchanged
// and `error` (when given) says why. A project larger than the reader takes
// (`max_bytes`, the reader's limit) is refused, so that what is saved can
// always be opened again.
[[nodiscard]] int16_t Write_DISC(const std::string& path, std::string* error = nullptr,
                                 size_t max_bytes = DISC_MAX_BYTES);
// What the last Write_DISC_Bytes has to tell the user besides success or
// failure (photo paths too long for their field), one line each.
const std::vector<std::string>& Disc_Write_Notes();
// The project's bytes; 0 or the stream's error.
[[nodiscard]] int16_t Write_DISC_Bytes(std::vector<uint8_t>& out);

// The sheet fitted into 140 x 190 on mid-grey, each unit at its place.
a_gworld_ptr Gen_Thumbnail();
void Write_Unit(uint32_t ux);
void Write_Object_Table(const a_doc_unit& u, uint32_t ux);
void Write_OJ(const a_oj_item& item);
// The main fonts of the text blocks, each once, in order of first use, at
// most 400.
std::vector<uint32_t> Document_Fonts();
void Write_Font_Samples(const std::vector<uint32_t>& fontxs);
