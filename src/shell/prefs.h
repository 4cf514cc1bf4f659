// The preferences record, kept for the whole run and stored between runs.
// A leaf module: it includes only the platform layer.
#pragma once
#include <cstdint>

#include "platform/clock.h"
#include "platform/geometry.h"

enum : int { MAX_LAYOUTUSAGE = 20, NDIRECT_KINDS = 5, NMEDIA_ENTRIES = 3 };

// One recently used layout.
struct a_layout_usage_rec {
    uint32_t count = 0;  // use count; 0 marks a free slot
    DateTimeRec when;    // time of last use
    char label[32] = {}; // template name as in the catalogue record
    uint32_t tx = 0;     // cached working-list index; 0 when not found
};

struct a_print_media_spec {
    char16_t label[64] = {};
    Point nudge;
    int16_t adj[5] = {};
};

struct a_print_media_array {
    uint16_t listx = 0;  // selected entry
    a_print_media_spec list[NMEDIA_ENTRIES];
};

struct a_pref_rec {
    a_print_media_array print_media[NDIRECT_KINDS];  // indexed by direct-print kind
    a_layout_usage_rec recentlay[MAX_LAYOUTUSAGE];
};

extern a_pref_rec g_pref;

void Prefs_Init();
void Prefs_Stop();
