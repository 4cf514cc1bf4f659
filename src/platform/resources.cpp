#include "platform/resources.h"

#include <algorithm>

bool Resource_Get(uint32_t type, int id, a_resource& r) {
    r = a_resource{};
    const a_resource_entry* end = g_resource_index + g_resource_count;
    const a_resource_entry* e =
        std::lower_bound(g_resource_index, end, std::pair<uint32_t, int>(type, id),
                         [](const a_resource_entry& a, const std::pair<uint32_t, int>& k) {
                             return a.type < k.first || (a.type == k.first && a.id < k.second);
                         });
    if (e == end || e->type != type || e->id != id) return false;
    if (e->offset > g_resource_bytes_size || e->size > g_resource_bytes_size - e->offset)
        return false;
    r.data = g_resource_bytes + e->offset;
    r.size = e->size;
    return true;
}
