// Counts allocations, for the checks that per-frame work allocates nothing: linking allocation_count.cpp replaces
// the global operator new with one that counts its calls.
#pragma once

// The operator new and Allocate calls of this process so far.
long AllocationCount();
