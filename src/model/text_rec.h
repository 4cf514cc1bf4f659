// A text block's record: its characters, layout settings and render caches.
// Process-wide state: none.
#pragma once
#include <cstdint>

struct GWorld;

// Owned by its block. Owns its cached worlds, so a copy made by assignment
// shares them until OM_Forget_Caches is called on it.
struct a_om_rec {
    uint32_t nchars = 0;
    // Derived caches, rebuilt on demand and never copied between blocks.
    uint32_t cache_progress = 0;
    GWorld* cached_text = nullptr;
    GWorld* cached_shadow = nullptr;
    void* cached_path = nullptr;
};

// Empties the render caches (disposing their worlds).
void OM_Clear_Caches(a_om_rec& om);
// Forgets the caches without disposing them (for a fresh copy that shares
// the source's pointers).
void OM_Forget_Caches(a_om_rec& om);
