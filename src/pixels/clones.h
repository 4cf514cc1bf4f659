// The hot pixel loops are compiled three times on x86-64 (AVX-512, AVX2 and
// the baseline) and the machine picks one at load time; not under the
// sanitizers.
// Process-wide state: none (the choice is made once, at load time).
#pragma once

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_ADDRESS__)
#define CIRQUEL_CLONES __attribute__((target_clones("arch=x86-64-v4", "avx2", "default")))
#else
#define CIRQUEL_CLONES
#endif
