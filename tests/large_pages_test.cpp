// Memory in large pages: the model record's and each thread's own.
#include "model/large_pages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

namespace {

bool zeroed(const void* p, std::size_t n) {
    const auto* b = static_cast<const unsigned char*>(p);
    for (std::size_t i = 0; i < n; ++i)
        if (b[i] != 0) return false;
    return true;
}

}  // namespace

TEST(LargePages, AlignedZeroedAndWholePages) {
    EXPECT_EQ(largePageBytes(1), kLargePage);
    EXPECT_EQ(largePageBytes(kLargePage), kLargePage);
    EXPECT_EQ(largePageBytes(kLargePage + 1), 2 * kLargePage);
    const std::size_t n = kLargePage + 12345;
    void* p = allocateLargePages(n);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % kLargePage, 0u);
    EXPECT_TRUE(zeroed(p, largePageBytes(n)));
    freeLargePages(p, n);
}

// A thread's memory: zeroed, aligned, apart from what it gave before, and
// still there when the page is full; each thread has its own.
TEST(LargePages, ThreadMemoryOutlastsAFullPage) {
    std::thread([] {
        std::vector<unsigned char*> parts;
        for (int i = 0; i < 40; ++i) {  // 40 x 100 kB: more than one page
            auto* p = static_cast<unsigned char*>(threadPageBytes(100000));
            ASSERT_EQ(reinterpret_cast<std::uintptr_t>(p) % 64, 0u);
            ASSERT_TRUE(zeroed(p, 100000));
            p[0] = p[99999] = static_cast<unsigned char>(i + 1);
            parts.push_back(p);
        }
        for (std::size_t i = 0; i < parts.size(); ++i) {
            EXPECT_EQ(parts[i][0], i + 1);
            EXPECT_EQ(parts[i][99999], i + 1);
        }
        unsigned char* mine = parts[0];
        std::thread([mine] {
            auto* other = static_cast<unsigned char*>(threadPageBytes(64));
            EXPECT_NE(other, mine);
            EXPECT_TRUE(zeroed(other, 64));
        }).join();
    }).join();
}
