// The one place where 8-bit text meets UTF-16. The system code page is
// UTF-8; 8-bit input that is not valid UTF-8 is taken as Windows-1252, so
// text from older files and other systems still reads instead of failing.
// Process-wide state: none.
#pragma once
#include <string>
#include <string_view>

bool Is_Valid_Utf8(std::string_view s);
// Whole input as UTF-8 when it is valid UTF-8, else as Windows-1252.
std::u16string Utf8_To_Utf16(std::string_view s);
// Unpaired surrogates become U+FFFD.
std::string Utf16_To_Utf8(std::u16string_view s);
// The longest prefix of at most `max_bytes` bytes that does not end inside a
// UTF-8 sequence (for cutting 8-bit strings to their 255-byte limit).
size_t Utf8_Cut(std::string_view s, size_t max_bytes);
