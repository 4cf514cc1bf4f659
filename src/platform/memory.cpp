#include "platform/memory.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

thread_local int g_checked = 0;

}  // namespace

a_checked_allocation::a_checked_allocation() { ++g_checked; }
a_checked_allocation::~a_checked_allocation() { --g_checked; }
bool Allocation_Checked() { return g_checked > 0; }

uint64_t Memory_Free_Heap() {
    struct mallinfo2 mi = mallinfo2();
    return mi.fordblks;
}

uint64_t Memory_System_Available() {
    long pages = sysconf(_SC_AVPHYS_PAGES);
    long size = sysconf(_SC_PAGESIZE);
    if (pages < 0 || size < 0) return 0;
    return static_cast<uint64_t>(pages) * static_cast<uint64_t>(size);
}

void Memory_Prefer_Huge_Pages(void* p, size_t len) {
    constexpr uintptr_t kHuge = uintptr_t(2) << 20;
    uintptr_t from = (reinterpret_cast<uintptr_t>(p) + kHuge - 1) & ~(kHuge - 1);
    uintptr_t to = (reinterpret_cast<uintptr_t>(p) + len) & ~(kHuge - 1);
    if (to > from) (void)madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}
