// Counts operator new calls, for the benchmarks of work that must allocate nothing per frame.
#pragma once

#include <benchmark/benchmark.h>

// The operator new calls of this process so far.
long AllocationCount();

// The counter "allocations": the calls made since the count was `before`, per iteration.
inline benchmark::Counter AllocationsPerIteration(long before) {
  return benchmark::Counter(static_cast<double>(AllocationCount() - before), benchmark::Counter::kAvgIterations);
}
