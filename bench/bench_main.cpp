// The one entry point of quorvane_bench: every bench/*.cpp registers its
// benchmarks and none defines main.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
