// The ID3v1 tag: the last 128 bytes of an MP3 file, fixed 8-bit fields.
// Process-wide state: none.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

constexpr size_t ID3V1_SIZE = 128;

struct a_id3v1_rec {
    char sig[3];
    char song[30];
    char artist[30];
    char album[30];
    char year[4];
    char comment[30];
    uint8_t genre;
};
static_assert(sizeof(a_id3v1_rec) == ID3V1_SIZE);

// The tag at the end of `file_tail` (the file's last 128 bytes) when the file
// is longer than 128 bytes and they begin with "TAG".
[[nodiscard]] bool ID3v1_From_Tail(std::string_view file_tail, uint64_t file_size, a_id3v1_rec& tag);
// The file's tag, reading only its last 128 bytes.
[[nodiscard]] bool ID3v1_Read(const std::string& path, a_id3v1_rec& tag);
// A field as text: each byte one Latin-1 character, up to the first NUL,
// trailing spaces dropped; in UTF-8.
std::string ID3v1_Field(const char* field, size_t size);
