#include "model/large_pages.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include <sys/mman.h>

void* allocateLargePages(std::size_t bytes) {
    const std::size_t n = largePageBytes(bytes);
    // A mapping one large page longer than needed holds an aligned block;
    // the parts before and after it are given back.
    void* raw = mmap(nullptr, n + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kLargePage - 1) / kLargePage * kLargePage;
    if (aligned > start) munmap(raw, aligned - start);
    const std::uintptr_t end = start + n + kLargePage;
    if (end > aligned + n) munmap(reinterpret_cast<void*>(aligned + n), end - aligned - n);
    void* mem = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
    madvise(mem, n, MADV_HUGEPAGE);
#endif
    return mem;
}

void freeLargePages(void* p, std::size_t bytes) { munmap(p, largePageBytes(bytes)); }

namespace {

struct ThreadPage {
    char* page = nullptr;
    std::size_t used = 0;
    std::vector<void*> heap;  // what did not fit into the page
    ~ThreadPage() {
        if (page) freeLargePages(page, kLargePage);
        for (void* p : heap) std::free(p);
    }
};

thread_local ThreadPage threadPage;

}  // namespace

void* threadPageBytes(std::size_t bytes) {
    ThreadPage& t = threadPage;
    if (!t.page) t.page = static_cast<char*>(allocateLargePages(kLargePage));
    const std::size_t at = (t.used + 63) / 64 * 64;
    if (at + bytes <= kLargePage) {
        t.used = at + bytes;
        return t.page + at;
    }
    const std::size_t n = (bytes + 63) / 64 * 64;
    t.heap.reserve(t.heap.size() + 1);
    void* p = std::aligned_alloc(64, n);
    if (!p) throw std::bad_alloc();
    std::memset(p, 0, n);
    t.heap.push_back(p);
    return p;
}
