// The picture cache: every drawing of art goes through an a_pixt, which holds
// the decoded pixels of one picture record in a block that can be pinned,
// made purgeable and emptied under memory pressure. An emptied block stays
// with its owner and is refilled on the next lock.
// Process-wide state: the picture cache and its limit (reads and writes); reads the open art files.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "artdb/keyset.h"
#include "pixels/pixmap.h"

// A relocatable block: its bytes, a pin count and whether it was emptied.
struct a_pixt_block {
    std::vector<uint8_t> data;
    int locks = 0;
    bool purged = false;
};

enum : int16_t { PIXT_MODE_COPY = 0, PIXT_MODE_TRANSPARENT = 36 };

struct a_pixt {
    a_keyset key;
    int16_t mode = PIXT_MODE_COPY;
    a_pixt_block* bits = nullptr;
    a_pixt* next = nullptr;
    a_pixt* prev = nullptr;
    uint32_t ref = 0;  // stamp in the discard list; 0 when not listed
    int32_t len = 0;
    PixMap pixmap;  // the decoded pixels; `baseAddr` is valid while locked
};

enum : int {
    PIXT_INTERFACE_CATEGORY = 12,
    PIXT_ABOUT_BOX = 128,  // the about-box picture, which start-up requires
};

// Cache limit in bytes of purgeable pictures; starts at 500,000.
extern size_t pixt_cache_limit;
// Recomputes the limit from the free heap: half of it, at least 700,000.
void Pixt_Set_Memory_Budget(size_t free_heap);
// The same from the memory the machine has free now; start-up runs it.
void Pixt_Recalc_Memory_Budget();

void Pixt_Init();
void Pixt_Stop();

void Null_Pixt(a_pixt& p);
// Loads any picture record. A missing or damaged record shows the
// missing-data alert and ends the program.
void KPixt_Load(a_pixt& p, const a_keyset& key);
void Pixt_Load(a_pixt& p, int id);  // interface picture (12, id, 0, 0)
// A picture record's bounds (0, 0, height, width) from its header alone,
// without decoding it: false when the key is absent or the header damaged.
[[nodiscard]] bool KPixt_Bounds(const a_keyset& key, Rect& bounds);
bool Pixt_Exists(int id);

// Pins the pixels (reloading them if they were discarded) and releases them.
void Pixt_Lock(a_pixt& p);
void Pixt_Unlock(a_pixt& p);
// Lets the pixels be discarded under the cache limit, and forbids it again.
void Pixt_Purge(a_pixt& p);
void Pixt_NoPurge(a_pixt& p);
void Pixt_Unload(a_pixt& p);

// An art picture loaded and pinned for as long as this stands.
class a_locked_pixt {
public:
    explicit a_locked_pixt(const a_keyset& key) {
        Null_Pixt(p_);
        KPixt_Load(p_, key);
        Pixt_Lock(p_);
    }
    ~a_locked_pixt() {
        Pixt_Unlock(p_);
        Pixt_Unload(p_);
    }
    a_locked_pixt(const a_locked_pixt&) = delete;
    a_locked_pixt& operator=(const a_locked_pixt&) = delete;
    const a_pixt& pixt() const { return p_; }
    const PixMap& pixmap() const { return p_.pixmap; }

private:
    a_pixt p_;
};

// The discard list, for tests and the memory budget: total bytes listed and
// the number of pictures in it.
size_t Discard_Total();
int Discard_Count();
