// The benchmarks' counter of allocations, for work that must allocate nothing per frame.
#pragma once

#include <benchmark/benchmark.h>

#include "tests/allocation_count.h"

// The counter "allocations": the calls made since the count was `before`, per iteration.
inline benchmark::Counter AllocationsPerIteration(long before) {
  return benchmark::Counter(static_cast<double>(AllocationCount() - before), benchmark::Counter::kAvgIterations);
}
