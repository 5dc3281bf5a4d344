// Only the whole huge pages inside a buffer are advised, never memory around it.
#include <gtest/gtest.h>

#include <vector>

#include "platform/huge_pages.h"

namespace mevra {
namespace {

TEST(HugePages, OnlyWholePagesInsideTheBufferAreAdvised) {
    constexpr uintptr_t page = huge_page_bytes;
    const auto pages = [](uintptr_t begin, size_t bytes) {
        const address_range r = whole_huge_pages(begin, bytes);
        return std::vector<uintptr_t>{r.begin, r.end};
    };
    EXPECT_EQ(pages(4 * page, 3 * page), (std::vector<uintptr_t>{4 * page, 7 * page}));
    EXPECT_EQ(pages(4 * page + 16, 3 * page), (std::vector<uintptr_t>{5 * page, 7 * page}));
    EXPECT_EQ(pages(4 * page + 16, 2 * page), (std::vector<uintptr_t>{5 * page, 6 * page}));
    // No whole page inside, or a range that would wrap: nothing.
    EXPECT_EQ(pages(4 * page + 16, page + 100), (std::vector<uintptr_t>{4 * page + 16, 4 * page + 16}));
    EXPECT_EQ(pages(4 * page, page - 1), (std::vector<uintptr_t>{4 * page, 4 * page}));
    EXPECT_EQ(pages(UINTPTR_MAX - page, 2 * page),
              (std::vector<uintptr_t>{UINTPTR_MAX - page, UINTPTR_MAX - page}));
    // Advising works on real memory and leaves it usable.
    std::vector<uint8_t> buffer(huge_page_advice_bytes + page, 0);
    advise_huge_pages(buffer.data(), buffer.size());
    buffer.back() = 7;
    EXPECT_EQ(buffer.back(), 7);
}

}  // namespace
}  // namespace mevra
