// Art database files: up to five open at once, searched newest first, so a
// later database (the patch) hides the same key in an earlier one. The map of
// each is read and checked once at open time; records are read on demand.
// Process-wide state: the table of open art files and their locks (reads and writes).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "artdb/keyset.h"

enum a_openfile_result {
    OPEN_INVALID = 0,
    OPEN_NOTFOUND = 1,
    OPEN_TOOMANY = 2,
    OPEN_TOOSMALL = 3,
    OPEN_OKAY = 4,
};

enum : int {
    OP_MAX_FILES = 5,
    OP_MAX_LOCKS = 3,
    OP_VERSION = 3,
    OP_HEADER_SIZE = 14,
    OP_MAP_ITEM_SIZE = 20,
};

struct a_map_item {
    a_keyset key;
    int32_t pos = 0;
    int32_t len = 0;
    uint16_t cachex = 0;
    uint8_t priority = 0;
    uint8_t flags = 0;
};

// A run of consecutive map entries of one database sharing the leading
// components of `basis`; `filex` 0 when no database holds any member.
struct a_subset {
    a_keyset basis;
    int filex = 0;
    int firstx = 0;
};

void OP_Init();
void OP_Stop();  // closes every database

// Opens a database read-only and appends it as the newest. Besides a bad
// header, size or version, a map out of key order, or records that do not
// follow the map back to back up to the end of the file, is OPEN_INVALID.
// A file that cannot be opened, or is not a regular file, is OPEN_NOTFOUND
// with "path: reason" in `why`.
[[nodiscard]] a_openfile_result OP_OpenFile(const std::string& path, std::string* why = nullptr);
// The same for database bytes held in memory (copied).
[[nodiscard]] a_openfile_result OP_OpenMemory(const uint8_t* data, size_t size);
// Closes the newest database (tests and tools that open one for a while).
void OP_CloseNewest();
int OP_Count();

bool OP_Exists(const a_keyset& key);
int32_t OP_Size(const a_keyset& key);  // 0 when absent

// The record's bytes in a new block held in one of three lock slots; nullptr
// when the key is absent. A fourth lock, or a record that cannot be read, is
// an internal error.
uint8_t* OP_Lock(const a_keyset& key, int32_t* len = nullptr);
void OP_Unlock(uint8_t*& block);
// The first bytes of a record, at most `n`, without reading the rest: what a
// question about a record's header needs. The count read, or -1 when the key
// is absent or the bytes cannot be read.
[[nodiscard]] int32_t OP_Read_Head(const a_keyset& key, uint8_t* dst, int32_t n);

// Reads entry `index` of database `filex` without a lock slot; false when it
// cannot be read (for listing and verifying).
[[nodiscard]] bool OP_Read(int filex, int index, std::vector<uint8_t>& data);
int Map_Count(int filex);
const a_map_item& Map_Item(int filex, int index);  // 1-based

// Binary search of one database: true on a hit; otherwise `index` names the
// first entry not smaller than the key (or the last entry).
[[nodiscard]] bool Map_Find1(int& index, int filex, const a_keyset& key);
// Search from the newest database to the oldest; the first hit wins.
[[nodiscard]] bool Map_Find(int& index, int& filex, const a_keyset& key);

// A basis without a wildcard is an internal error.
void Subset_Init(const a_keyset& basis, a_subset& subset);
int Subset_Count(const a_subset& subset);
void Subset_GetKey(a_keyset& key, int i, const a_subset& subset);  // i from 1
