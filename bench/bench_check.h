// Set-up steps of a benchmark must work: a measurement over a failed set-up
// would be a number about nothing.
#pragma once
#include <cstdio>
#include <cstdlib>

inline void Bench_Must(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "bench: %s failed\n", what);
    std::exit(1);
}
