// A global operator new that counts its calls, for the checks that per-frame work allocates nothing.
#include "tests/allocation_count.h"

#include <atomic>
#include <cstdlib>
#include <new>

#include "core/allocate.h"

namespace {

std::atomic<long> g_allocations{0};

void* Counted(size_t size) noexcept {
  ++g_allocations;
  return std::malloc(size ? size : 1);
}

// Out of line, so that the compiler does not pair the replaced operator new with free.
[[gnu::noinline]] void FreeBlock(void* p) noexcept { std::free(p); }

}  // namespace

// Every form that a plain delete frees is replaced, so that each block is counted and freed alike under any runtime.
void* operator new(size_t size) {
  if (void* p = Counted(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return Counted(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return Counted(size); }
void operator delete(void* p) noexcept { FreeBlock(p); }
void operator delete(void* p, size_t) noexcept { FreeBlock(p); }
void operator delete[](void* p) noexcept { FreeBlock(p); }
void operator delete[](void* p, size_t) noexcept { FreeBlock(p); }

long AllocationCount() { return g_allocations + static_cast<long>(AllocateCalls()); }
