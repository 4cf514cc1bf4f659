// What the machine can say about memory, for the out-of-memory report.
// Process-wide state: reads the machine's memory figures.
#pragma once
#include <cstdint>

uint64_t Memory_Free_Heap();         // bytes free inside the process heap
uint64_t Memory_System_Available();  // bytes the system can still hand out
