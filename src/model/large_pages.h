// Memory in whole 2 MB pages, where the system offers them.
//
// Every page of fresh memory that a run touches costs a fault, and on some
// machines a fault costs as much as a thousand additions: a run on pages of
// 4 kB would spend more time on them than on the model.  The model record
// and the kept terms of the day loops therefore live in memory of their
// own, aligned to 2 MB and marked for large pages (a hint: without them the
// memory works the same).
#pragma once

#include <cstddef>

inline constexpr std::size_t kLargePage = std::size_t(2) << 20;

// The size rounded up to whole large pages.
constexpr std::size_t largePageBytes(std::size_t bytes) { return (bytes + kLargePage - 1) / kLargePage * kLargePage; }

// largePageBytes(bytes) of zeroed memory aligned to kLargePage; throws
// std::bad_alloc when there is none.
void* allocateLargePages(std::size_t bytes);

// Gives back memory of allocateLargePages(bytes).
void freeLargePages(void* p, std::size_t bytes);

// Memory for values that the calling thread keeps as long as it lives,
// from a large page of its own: `bytes` bytes of zeros, aligned to 64
// bytes.  When the page has no room left the memory comes from the heap;
// without memory at all it throws std::bad_alloc.  The memory is given back
// when the thread ends; what lives in it is not destroyed.
void* threadPageBytes(std::size_t bytes);
