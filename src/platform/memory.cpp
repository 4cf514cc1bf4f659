#include "platform/memory.h"

#include <malloc.h>
#include <unistd.h>

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
