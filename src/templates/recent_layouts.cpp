#include "templates/recent_layouts.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/clock.h"
#include "base/prefs.h"
#include "templates/catalogue.h"

int recent_layouts[RECENTLAY_NBOX_TOT + 1];

namespace {

using a_key = std::array<uint32_t, 8>;

a_layout_usage_rec& Slot(int s) { return g_pref.recentlay[s - 1]; }

// Sorts slots descending by their eight-number keys.
void Sort_Slots(int (&slots)[21], bool by_when) {
    std::array<a_key, MAX_LAYOUTUSAGE> keys;
    for (int s = 1; s <= MAX_LAYOUTUSAGE; ++s) {
        const a_layout_usage_rec& r = Slot(s);
        a_key k{};
        if (by_when) {
            const DateTimeRec& w = r.when;
            k = {uint32_t(uint16_t(w.year)), uint32_t(uint16_t(w.month)), uint32_t(uint16_t(w.day)),
                 uint32_t(uint16_t(w.hour)), uint32_t(uint16_t(w.minute)),
                 uint32_t(uint16_t(w.second)), r.count, uint32_t(s)};
        } else {
            k = {0, 0, 0, 0, 0, 0, r.count, uint32_t(s)};
        }
        keys[s - 1] = k;
    }
    std::sort(keys.begin(), keys.end(), [](const a_key& a, const a_key& b) { return a > b; });
    slots[0] = 0;
    for (int i = 0; i < MAX_LAYOUTUSAGE; ++i) slots[i + 1] = static_cast<int>(keys[i][7]);
}

bool Label_Equals(const a_layout_usage_rec& r, const std::string& label) {
    char l[32];
    Label_Set(l, label);
    return std::memcmp(r.label, l, 32) == 0;
}

}  // namespace

int RecentLay_Find(const std::string& label) {
    for (int s = 1; s <= MAX_LAYOUTUSAGE; ++s)
        if (Slot(s).count != 0 && Label_Equals(Slot(s), label)) return s;
    return 0;
}

int RecentLay_FindEmpty() {
    for (int s = 1; s <= MAX_LAYOUTUSAGE; ++s)
        if (Slot(s).count == 0) return s;
    return 0;
}

void RecentLay_SortByWhen(int (&slots)[21]) { Sort_Slots(slots, true); }
void RecentLay_SortByCount(int (&slots)[21]) { Sort_Slots(slots, false); }

int RecentLay_FindLeast() {
    int slots[21];
    RecentLay_SortByCount(slots);
    // The last ten positions hold the lowest counts; scanning from the end and
    // replacing only on a strictly lower count picks the lowest slot among ties.
    int best = slots[MAX_LAYOUTUSAGE];
    for (int i = MAX_LAYOUTUSAGE; i > MAX_LAYOUTUSAGE - 10; --i)
        if (Slot(slots[i]).count < Slot(best).count) best = slots[i];
    return best;
}

void RecentLay_Add(const std::string& label) {
    DateTimeRec now = GetDateTime();
    int s = RecentLay_Find(label);
    if (s == 0) s = RecentLay_FindEmpty();
    if (s == 0) {
        s = RecentLay_FindLeast();
        Slot(s).count = 0;
    }
    a_layout_usage_rec& r = Slot(s);
    r.when = now;
    Label_Set(r.label, label);
    r.count += 1;
    if (r.count == 1) r.count = 2;
    r.tx = 0;
}

void RecentLay_Clean() {
    for (int s = 1; s <= MAX_LAYOUTUSAGE; ++s) {
        a_layout_usage_rec& r = Slot(s);
        if (r.count == 0) continue;
        r.tx = static_cast<uint32_t>(Find_Template(r.label));
        if (r.tx == 0) r.count = 0;
    }
}

void RecentLay_BuildList() {
    RecentLay_Clean();
    int slots[21];
    RecentLay_SortByCount(slots);
    std::fill(std::begin(recent_layouts), std::end(recent_layouts), 0);
    int n = 0;
    for (int i = 1; i <= MAX_LAYOUTUSAGE && n < 3; ++i)
        if (Slot(slots[i]).count != 0) recent_layouts[++n] = static_cast<int>(Slot(slots[i]).tx);
    RecentLay_SortByWhen(slots);
    for (int i = 1; i <= MAX_LAYOUTUSAGE && n < RECENTLAY_NBOX_TOT; ++i) {
        const a_layout_usage_rec& r = Slot(slots[i]);
        if (r.count == 0) continue;
        int tx = static_cast<int>(r.tx);
        if (tx == recent_layouts[1] || tx == recent_layouts[2] || tx == recent_layouts[3]) continue;
        recent_layouts[++n] = tx;
    }
}

int RecentLay_Count() {
    int n = 0;
    while (n < RECENTLAY_NBOX_TOT && recent_layouts[n + 1] != 0) ++n;
    return n;
}

bool Is_In_MostOften(int index) {
    return index != 0 && (recent_layouts[1] == index || recent_layouts[2] == index ||
                          recent_layouts[3] == index);
}

void Remove_Recent_Layout(int index) {
    for (int s = 1; s <= MAX_LAYOUTUSAGE; ++s)
        if (Slot(s).count != 0 && static_cast<int>(Slot(s).tx) == index) Slot(s).count = 0;
    RecentLay_BuildList();
}
