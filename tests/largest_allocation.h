// The largest single allocation made while a watch lives, through the
// sanitizer's allocation hook: a reader that refuses a file "before anything
// is made" must be caught making it. Also the most heap in use at once, over
// what was in use when the watch started: what a reading costs at its peak.
// Without the address sanitizer there is no hook; Available() says so and
// the tests that need it skip.
#pragma once
#include <atomic>
#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define CIRQUEL_ALLOC_HOOK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CIRQUEL_ALLOC_HOOK 1
#endif
#endif

#ifdef CIRQUEL_ALLOC_HOOK
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, size_t),
                                                         void (*free_hook)(const volatile void*));
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

class a_largest_allocation {
public:
    a_largest_allocation() {
        Largest() = 0;
#ifdef CIRQUEL_ALLOC_HOOK
        static const bool installed = __sanitizer_install_malloc_and_free_hooks(On_Malloc, On_Free) != 0;
        available_ = installed;
        Base() = __sanitizer_get_current_allocated_bytes();
        Peak() = Base().load();
#endif
        Watching() = true;
    }
    ~a_largest_allocation() { Watching() = false; }
    a_largest_allocation(const a_largest_allocation&) = delete;
    a_largest_allocation& operator=(const a_largest_allocation&) = delete;

    bool Available() const { return available_; }
    size_t Bytes() const { return Largest(); }
    size_t Peak_Bytes() const { return Peak() - Base(); }

private:
    static std::atomic<size_t>& Largest() {
        static std::atomic<size_t> n{0};
        return n;
    }
    static std::atomic<bool>& Watching() {
        static std::atomic<bool> on{false};
        return on;
    }
    static std::atomic<size_t>& Base() {
        static std::atomic<size_t> n{0};
        return n;
    }
    static std::atomic<size_t>& Peak() {
        static std::atomic<size_t> n{0};
        return n;
    }
    static void Raise(std::atomic<size_t>& to, size_t value) {
        size_t seen = to;
        while (value > seen && !to.compare_exchange_weak(seen, value)) {
        }
    }
    static void On_Malloc(const volatile void*, size_t size) {
        if (!Watching()) return;
        Raise(Largest(), size);
#ifdef CIRQUEL_ALLOC_HOOK
        Raise(Peak(), __sanitizer_get_current_allocated_bytes());
#endif
    }
    static void On_Free(const volatile void*) {}  // the sanitizer takes both hooks or neither
    bool available_ = false;
};
