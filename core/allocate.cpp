// Memory for the program's own records, tagged with what it holds ("Patch", "TexBits", ...).
#include "core/allocate.h"

#include <atomic>
#include <cstdlib>

namespace {

std::atomic<size_t> g_calls{0};

}  // namespace

void* Allocate(size_t size, const char*) {
  g_calls.fetch_add(1, std::memory_order_relaxed);
  return std::malloc(size == 0 ? 1 : size);
}

void Release(void* memory) { std::free(memory); }

size_t AllocateCalls() { return g_calls.load(std::memory_order_relaxed); }
