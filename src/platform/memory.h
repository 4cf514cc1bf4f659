// What the machine can say about memory, for the out-of-memory report, a
// hint for large pixel buffers, and the mark of an allocation whose failure
// its caller handles.
// Process-wide state: reads the machine's memory figures; one count per thread.
#pragma once
#include <cstddef>
#include <cstdint>

uint64_t Memory_Free_Heap();         // bytes free inside the process heap
uint64_t Memory_System_Available();  // bytes the system can still hand out
// Asks for huge pages behind the whole 2 MB spans of [p, p + len) that are
// not touched yet: the first pass over them then takes one page fault for
// every 2 MB instead of 512. Only a hint; nothing when the system declines.
void Memory_Prefer_Huge_Pages(void* p, size_t len);

// Stands around an allocation whose caller handles a refusal (a picture's
// pixels, a file's bytes): on this thread, meanwhile, a refused allocation
// fails as the language says (nullptr from a nothrow new, std::bad_alloc
// otherwise) instead of ending the program with the out-of-memory report.
class a_checked_allocation {
public:
    a_checked_allocation();
    ~a_checked_allocation();
    a_checked_allocation(const a_checked_allocation&) = delete;
    a_checked_allocation& operator=(const a_checked_allocation&) = delete;
};
bool Allocation_Checked();  // whether one stands on this thread
