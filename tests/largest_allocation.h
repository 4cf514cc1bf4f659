// The largest single allocation made while a watch lives, through the
// sanitizer's allocation hook: a reader that refuses a file "before anything
// is made" must be caught making it. Without the address sanitizer there is
// no hook; Available() says so and the tests that need it skip.
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
#endif

class a_largest_allocation {
public:
    a_largest_allocation() {
        Largest() = 0;
        Watching() = true;
#ifdef CIRQUEL_ALLOC_HOOK
        static const bool installed = __sanitizer_install_malloc_and_free_hooks(On_Malloc, On_Free) != 0;
        available_ = installed;
#endif
    }
    ~a_largest_allocation() { Watching() = false; }
    a_largest_allocation(const a_largest_allocation&) = delete;
    a_largest_allocation& operator=(const a_largest_allocation&) = delete;

    bool Available() const { return available_; }
    size_t Bytes() const { return Largest(); }

private:
    static std::atomic<size_t>& Largest() {
        static std::atomic<size_t> n{0};
        return n;
    }
    static std::atomic<bool>& Watching() {
        static std::atomic<bool> on{false};
        return on;
    }
    static void On_Malloc(const volatile void*, size_t size) {
        if (!Watching()) return;
        size_t seen = Largest();
        while (size > seen && !Largest().compare_exchange_weak(seen, size)) {
        }
    }
    static void On_Free(const volatile void*) {}  // the sanitizer takes both hooks or neither
    bool available_ = false;
};
