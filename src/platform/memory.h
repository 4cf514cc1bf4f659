// What the machine can say about memory, for the out-of-memory report, and
// a hint for large pixel buffers.
// Process-wide state: reads the machine's memory figures.
#pragma once
#include <cstddef>
#include <cstdint>

uint64_t Memory_Free_Heap();         // bytes free inside the process heap
uint64_t Memory_System_Available();  // bytes the system can still hand out
// Asks for huge pages behind the whole 2 MB spans of [p, p + len) that are
// not touched yet: the first pass over them then takes one page fault for
// every 2 MB instead of 512. Only a hint; nothing when the system declines.
void Memory_Prefer_Huge_Pages(void* p, size_t len);
