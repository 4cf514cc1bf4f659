// The hot pixel loops are compiled twice on x86-64, for AVX2 and for the
// baseline, and the machine picks one at load time (not under the sanitizers).
#pragma once

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_ADDRESS__)
#define CIRQUEL_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define CIRQUEL_CLONES
#endif
