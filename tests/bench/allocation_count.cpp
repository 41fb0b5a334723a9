// The benchmarks' operator new, which counts its calls.
#include "tests/bench/allocation_count.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> g_allocations{0};

// Out of line, so that the compiler does not pair the replaced operator new with free.
[[gnu::noinline]] void FreeBlock(void* p) noexcept { std::free(p); }

}  // namespace

void* operator new(size_t size) {
  ++g_allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { FreeBlock(p); }
void operator delete(void* p, size_t) noexcept { FreeBlock(p); }

long AllocationCount() { return g_allocations; }
