// The process-wide effects cache: rendered photo and symbol blocks keyed by
// their whole effect specification, and the decoded source pictures of every
// block that does not come from the art database, pinned while referred to.
// Results are shared: callers draw from them and never dispose them.
// Process-wide state: the effects cache and its limit (reads and writes); listens for the document
// being replaced.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/effect_spec.h"
#include "pixels/gworld.h"

using a_raw_bytes = std::vector<uint8_t>;

struct a_cache_result {
    a_masked_gworld body;
    a_masked_gworld shad;        // empty when there is no separate shadow
    Rect union_;                 // union of the bounds of body and shad
    a_raw_bytes* raw = nullptr;  // the imported file's bytes, or nullptr
};

constexpr uint32_t CACHE_FREE = 0xFFFFFFFF;
constexpr uint32_t CACHE_PINNED = 0x08000000;  // stamps from here up are never touched
constexpr int CACHE_NENTRIES = 500;
constexpr size_t CACHE_MIN_LIMIT = 100000000;

struct a_cache_item {
    uint32_t lru = CACHE_FREE;
    size_t size = 0;
    a_spec spec;
    a_cache_result c;
    bool discardable = false;
    bool basis = false;
    a_cache_purpose purpose = FOR_SCREEN;
};

// The budget is half the machine's memory, at least CACHE_MIN_LIMIT.
void Cache_Init();
// The same for a machine of `physical_mb` megabytes.
void Cache_Init_For(size_t physical_mb);
void Cache_Stop();

// The one entry point for pictures. FOR_SAVING gives the pinned source entry
// of targspec.source.sid; FOR_PRINTING works on a copy (no hint written
// back); the other purposes write the serving entry into targspec.hintx.
void Cache_Get(a_cache_purpose purpose, a_spec& targspec, a_cache_result& c);
void Cache_Get2(a_cache_purpose targpurpose, a_spec& targspec, a_cache_result& outc);
// Stores a decoded source picture under a new sid (written into new_source)
// and takes ownership of new_body and new_raw.
void Cache_Insert_External(a_source_desc& new_source, a_masked_gworld& new_body,
                           a_raw_bytes*& new_raw);
// A source picture that could not be found: kept as a pinned entry with an
// empty body, which renders as missing.
void Cache_Insert_Missing(a_source_desc& new_source, const Rect& bounds);
[[nodiscard]] bool Find_Basis(uint16_t targid, int& ix);
[[nodiscard]] bool Cache_Find(bool subsetf, a_cache_purpose purpose, a_spec& spec, int& ix);
bool Purposes_Compatible(a_cache_purpose targ_purpose, a_cache_purpose cache_purpose);
uint16_t Calc_Next_SID();

// Eviction: the budget is soft; pinned entries are never dropped and the
// table grows past 500 entries when every one of them is pinned.
int Find_Unused(size_t newsize);
void Make_Room(size_t needed);
int Drop_LRU();
void Flush_Discardable();
void Cache_Del(int ix);
void Cache_Clear1(uint16_t targsid);
void Cache_Clear();

// State, for tests and tools.
size_t Cache_Used();
size_t Cache_Limit();
void Cache_Set_Limit(size_t limit);  // never below CACHE_MIN_LIMIT
int Cache_HighX();
const a_cache_item& Cache_Item(int ix);  // 1 .. Cache_HighX()

// An art-database picture as a new 32-bit world; nullptr when no database
// holds the key.
GWorld* Cache_Load_Art(const a_keyset& key);

// Bytes of pixels held: height * row bytes; 0 for nullptr.
size_t PixMap_Size(const PixMap* pm);
size_t GWorld_Size(const GWorld* w);
size_t MW_Size(const a_masked_gworld& mw);
void Null_Cache_Result(a_cache_result& c);
void Dispose_Cache_Result(a_cache_result& c);
