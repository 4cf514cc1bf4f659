// File helpers. Saving always writes a temporary file in the target's folder,
// flushes it to disk and renames it over the target, so a failed save leaves
// the previous file intact.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Whole-file read; false (and an empty result) when the file cannot be read.
bool File_ReadAll(const std::string& path, std::vector<uint8_t>& data, std::string* error = nullptr);

// Atomic whole-file write; false with a message in `error` on failure.
bool File_SaveAtomic(const std::string& path, const void* data, size_t size,
                     std::string* error = nullptr);

bool File_Exists(const std::string& path);
bool File_Remove(const std::string& path);
std::string Temp_Folder();
