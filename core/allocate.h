// Memory for the program's own records, tagged with what it holds ("Patch", "TexBits", ...).
#pragma once

#include <cstddef>

// Null when the memory cannot be had; the tag names the allocation for diagnostics only.
void* Allocate(size_t size, const char* tag);
void Release(void* memory);
// The Allocate calls so far, for the check that a frame allocates nothing.
size_t AllocateCalls();
