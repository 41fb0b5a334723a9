// Memory for the program's own records, tagged with what it holds ("Patch", "TexBits", ...).
#include "core/allocate.h"

#include <cstdlib>

void* Allocate(size_t size, const char*) { return std::malloc(size == 0 ? 1 : size); }

void Release(void* memory) { std::free(memory); }
