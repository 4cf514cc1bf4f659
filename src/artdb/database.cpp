#include "artdb/database.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "artdb/art_records.h"
#include "base/messages.h"
#include "platform/input_file.h"
#include "platform/memory.h"

namespace {

struct a_op_file {
    std::FILE* f = nullptr;
    std::vector<uint8_t> memory;  // the bytes behind `f` for databases held in memory
    std::vector<a_map_item> map;  // native order, index 0 is entry 1
};

struct a_cache_item {
    int filex = 0;
    int mapx = 0;
    uint8_t* block = nullptr;
};

std::unique_ptr<a_op_file> g_files[OP_MAX_FILES];
int nfiles = 0;
a_cache_item g_locks[OP_MAX_LOCKS];

[[nodiscard]] bool Read_At(a_op_file& file, long pos, size_t len, uint8_t* dst) {
    if (std::fseek(file.f, pos, SEEK_SET) != 0) return false;
    return std::fread(dst, 1, len, file.f) == len;
}

a_map_item Parse_Item(const uint8_t* p) {
    a_map_item m;
    m.key = a_keyset{static_cast<int16_t>(Get_BE16(p)), static_cast<int16_t>(Get_BE16(p + 2)),
                     static_cast<int16_t>(Get_BE16(p + 4)), static_cast<int16_t>(Get_BE16(p + 6))};
    m.pos = static_cast<int32_t>(Get_BE32(p + 8));
    m.len = static_cast<int32_t>(Get_BE32(p + 12));
    m.cachex = Get_BE16(p + 16);
    m.priority = p[18];
    m.flags = p[19];
    return m;
}

// Header, size and a map in strict key order whose records follow the map
// one after another, as the writer lays them out, and end with the file: a
// wrong key count or a moved record shows as a gap or an overlap.
[[nodiscard]] bool Read_Map(a_op_file& file) {
    if (std::fseek(file.f, 0, SEEK_END) != 0) return false;
    long length = std::ftell(file.f);
    uint8_t header[OP_HEADER_SIZE];
    if (length < OP_HEADER_SIZE || !Read_At(file, 0, OP_HEADER_SIZE, header)) return false;
    if (std::memcmp(header, "[ED]", 4) != 0 || Get_BE32(header + 4) != OP_VERSION ||
        Get_BE32(header + 8) != static_cast<uint64_t>(length))
        return false;
    size_t nkeys = Get_BE16(header + 12);
    int64_t map_end = OP_HEADER_SIZE + int64_t(nkeys) * OP_MAP_ITEM_SIZE;
    if (map_end > length) return false;
    std::vector<uint8_t> raw(nkeys * OP_MAP_ITEM_SIZE);
    if (!Read_At(file, OP_HEADER_SIZE, raw.size(), raw.data())) return false;
    file.map.resize(nkeys);
    int64_t next = map_end;  // where the next record must start
    for (size_t i = 0; i < nkeys; ++i) {
        a_map_item& m = file.map[i];
        m = Parse_Item(raw.data() + i * OP_MAP_ITEM_SIZE);
        if (m.pos != next || m.len < 0 || int64_t(m.pos) + m.len > length) return false;
        if (i > 0 && Compare_Keys(file.map[i - 1].key, m.key) >= 0) return false;
        next = int64_t(m.pos) + m.len;
    }
    return next == length;
}

[[nodiscard]] a_openfile_result Open_Stream(std::unique_ptr<a_op_file> file) {
    if (!Read_Map(*file)) {
        std::fclose(file->f);
        return OPEN_INVALID;
    }
    g_files[nfiles++] = std::move(file);
    return OPEN_OKAY;
}

a_op_file& File(int filex) {
    return *g_files[filex - 1];
}

}  // namespace

void OP_Init() {
    OP_Stop();
    for (a_cache_item& c : g_locks) c = a_cache_item{};
}

void OP_Stop() {
    while (nfiles > 0) OP_CloseNewest();
}

a_openfile_result OP_OpenFile(const std::string& path, std::string* why) {
    if (nfiles >= OP_MAX_FILES) return OPEN_TOOMANY;
    auto file = std::make_unique<a_op_file>();
    a_input_file input;
    if (input.Open(path, why) != a_input_open::OK) return OPEN_NOTFOUND;
    file->f = input.Release_Stream();
    if (!file->f) {
        if (why) *why = path + ": " + std::strerror(errno);
        return OPEN_NOTFOUND;
    }
    return Open_Stream(std::move(file));
}

a_openfile_result OP_OpenMemory(const uint8_t* data, size_t size) {
    if (nfiles >= OP_MAX_FILES) return OPEN_TOOMANY;
    auto file = std::make_unique<a_op_file>();
    // fmemopen refuses an empty buffer; one spare byte stays outside the stream.
    file->memory.assign(data, data + size);
    file->memory.push_back(0);
    file->f = fmemopen(file->memory.data(), size == 0 ? 1 : size, "rb");
    if (!file->f) return OPEN_NOTFOUND;
    if (size == 0) {
        std::fclose(file->f);
        return OPEN_INVALID;
    }
    return Open_Stream(std::move(file));
}

void OP_CloseNewest() {
    if (nfiles == 0) return;
    for (a_cache_item& c : g_locks) {
        if (c.block && c.filex == nfiles) {
            delete[] c.block;
            c = a_cache_item{};
        }
    }
    std::fclose(g_files[nfiles - 1]->f);
    g_files[--nfiles].reset();
}

int OP_Count() {
    return nfiles;
}

bool OP_Exists(const a_keyset& key) {
    int index = 0, filex = 0;
    return Map_Find(index, filex, key);
}

int32_t OP_Size(const a_keyset& key) {
    int index = 0, filex = 0;
    if (!Map_Find(index, filex, key)) return 0;
    return Map_Item(filex, index).len;
}

int32_t OP_Read_Head(const a_keyset& key, uint8_t* dst, int32_t n) {
    int index = 0, filex = 0;
    if (n < 0 || !Map_Find(index, filex, key)) return -1;
    const a_map_item& m = Map_Item(filex, index);
    int32_t count = std::min(n, m.len);
    if (!Read_At(File(filex), m.pos, static_cast<size_t>(count), dst)) return -1;
    return count;
}

uint8_t* OP_Lock(const a_keyset& key, int32_t* len) {
    int index = 0, filex = 0;
    if (!Map_Find(index, filex, key)) return nullptr;
    const a_map_item& m = Map_Item(filex, index);
    a_cache_item* slot = nullptr;
    for (a_cache_item& c : g_locks) {
        if (!c.block) {
            slot = &c;
            break;
        }
    }
    if (!slot) InternalError();
    uint8_t* block = new (std::nothrow) uint8_t[m.len > 0 ? m.len : 1];
    if (!block) OutOfMemory(static_cast<size_t>(m.len));
    if (!Read_At(File(filex), m.pos, static_cast<size_t>(m.len), block)) {
        delete[] block;
        InternalError();
    }
    *slot = a_cache_item{filex, index, block};
    if (len) *len = m.len;
    return block;
}

void OP_Unlock(uint8_t*& block) {
    for (a_cache_item& c : g_locks) {
        if (block && c.block == block) {
            delete[] c.block;
            c = a_cache_item{};
            block = nullptr;
            return;
        }
    }
    InternalError();
}

bool OP_Read(int filex, int index, std::vector<uint8_t>& data) {
    data.clear();
    if (filex < 1 || filex > nfiles || index < 1 || index > Map_Count(filex)) return false;
    const a_map_item& m = Map_Item(filex, index);
    try {
        a_checked_allocation checked;
        data.resize(static_cast<size_t>(m.len));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return Read_At(File(filex), m.pos, data.size(), data.data());
}

int Map_Count(int filex) {
    if (filex < 1 || filex > nfiles) return 0;
    return static_cast<int>(File(filex).map.size());
}

const a_map_item& Map_Item(int filex, int index) {
    return File(filex).map[index - 1];
}

bool Map_Find1(int& index, int filex, const a_keyset& key) {
    index = 0;
    int nkeys = Map_Count(filex);
    if (nkeys == 0) return false;
    int lo = 1, hi = nkeys, last = 0;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        index = mid;
        last = Compare_Keys(key, Map_Item(filex, mid).key);
        if (last == 0) return true;
        if (last > 0)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    if (last > 0 && index < nkeys) ++index;
    return false;
}

bool Map_Find(int& index, int& filex, const a_keyset& key) {
    for (filex = nfiles; filex >= 1; --filex) {
        if (Map_Find1(index, filex, key)) return true;
    }
    filex = 0;
    index = 0;
    return false;
}

namespace {

int Subset_Level(const a_keyset& k) {
    if (k.a == KEY_WILDCARD) return 0;
    if (k.b == KEY_WILDCARD) return 1;
    if (k.c == KEY_WILDCARD) return 2;
    if (k.d == KEY_WILDCARD) return 3;
    return 4;
}

bool Same_Leading(const a_keyset& x, const a_keyset& y, int level) {
    const int16_t xs[4] = {x.a, x.b, x.c, x.d};
    const int16_t ys[4] = {y.a, y.b, y.c, y.d};
    for (int i = 0; i < level; ++i) {
        if (xs[i] != ys[i]) return false;
    }
    return true;
}

}  // namespace

void Subset_Init(const a_keyset& basis, a_subset& subset) {
    int level = Subset_Level(basis);
    if (level == 4) InternalError();
    int16_t ks[4] = {basis.a, basis.b, basis.c, basis.d};
    for (int i = level; i < 4; ++i) ks[i] = 0;
    a_keyset start{ks[0], ks[1], ks[2], ks[3]};
    subset = a_subset{basis, 0, 0};
    for (int filex = nfiles; filex >= 1; --filex) {
        int index = 0;
        (void)Map_Find1(index, filex, start);  // hit or not, `index` is where the subset starts
        if (index == 0) continue;
        // The last entry may be smaller than the start key; it is no member then.
        const a_keyset& k = Map_Item(filex, index).key;
        if (Same_Leading(k, start, level) && Compare_Keys(k, start) >= 0) {
            subset.filex = filex;
            subset.firstx = index;
            return;
        }
    }
}

int Subset_Count(const a_subset& subset) {
    if (subset.filex < 1 || subset.filex > nfiles) return 0;
    int level = Subset_Level(subset.basis);
    int n = 0;
    int nkeys = Map_Count(subset.filex);
    for (int i = subset.firstx; i <= nkeys; ++i, ++n) {
        if (!Same_Leading(Map_Item(subset.filex, i).key, subset.basis, level)) break;
    }
    return n;
}

void Subset_GetKey(a_keyset& key, int i, const a_subset& subset) {
    Null_Key(key);
    if (subset.filex < 1 || subset.filex > nfiles || i < 1) return;
    int index = subset.firstx + i - 1;
    if (index > Map_Count(subset.filex)) return;
    key = Map_Item(subset.filex, index).key;
}
