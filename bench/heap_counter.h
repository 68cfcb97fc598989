// Counts the bytes that operator new hands out in this program, so that a
// benchmark can report how much memory a phase took at its peak, on top of
// what was already allocated when it started.  Deterministic, unlike the
// resident set size, which depends on the allocator's pages and on what
// else the machine does.
#pragma once

#include <cstddef>

namespace bench {

// Bytes allocated and not yet freed (as the allocator sizes the blocks).
std::size_t LiveHeapBytes();
// The most that LiveHeapBytes() has been since the last ResetPeakHeap().
std::size_t PeakHeapBytes();
// Starts a new peak from the bytes live now.
void ResetPeakHeap();

}  // namespace bench
