#include "base/recent_projects.h"

#include <algorithm>
#include <cstring>
#include <tuple>

#include "platform/clock.h"

namespace {

auto Time_Key(const DateTimeRec& t) {
    return std::make_tuple(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

bool Used(const a_recent_doc& r) { return r.doc_path[0] != 0; }

// Most recent first, then by slot, so that equal times keep their order.
std::vector<int> Slots_By_Time() {
    std::vector<int> slots;
    for (int i = 0; i < MAX_RECENT_DOCS; ++i)
        if (Used(g_pref.recent[i])) slots.push_back(i);
    std::stable_sort(slots.begin(), slots.end(), [](int a, int b) {
        return Time_Key(g_pref.recent[a].doc_time) > Time_Key(g_pref.recent[b].doc_time);
    });
    return slots;
}

}  // namespace

void Recent_Project_Add(const std::string& path) {
    if (path.empty() || path.size() >= RECENT_PATH_BYTES || path.find('\0') != std::string::npos) return;
    std::vector<a_recent_doc> kept;
    for (int i : Slots_By_Time())
        if (path != g_pref.recent[i].doc_path) kept.push_back(g_pref.recent[i]);
    a_recent_doc first;
    std::memcpy(first.doc_path, path.data(), path.size());
    first.doc_time = GetDateTime();
    kept.insert(kept.begin(), first);
    kept.resize(std::min<size_t>(kept.size(), MAX_RECENT_DOCS));
    for (int i = 0; i < MAX_RECENT_DOCS; ++i)
        g_pref.recent[i] = size_t(i) < kept.size() ? kept[size_t(i)] : a_recent_doc{};
}

std::vector<a_recent_doc> Recent_Projects() {
    std::vector<a_recent_doc> list;
    for (int i : Slots_By_Time()) list.push_back(g_pref.recent[i]);
    return list;
}
