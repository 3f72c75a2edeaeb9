#pragma once
// The benchmarks' main: the programs' allocator settings first (both programs make
// them at start), then Google Benchmark as BENCHMARK_MAIN runs it.

#include <benchmark/benchmark.h>

#include "base/heap_settings.h"

#define KADREL_BENCHMARK_MAIN()                                   \
  int main(int argc, char** argv) {                               \
    kadrel::KeepFreedHeapForReuse();                              \
    ::benchmark::Initialize(&argc, argv);                         \
    if (::benchmark::ReportUnrecognizedArguments(argc, argv)) return 1; \
    ::benchmark::RunSpecifiedBenchmarks();                        \
    ::benchmark::Shutdown();                                      \
    return 0;                                                     \
  }
