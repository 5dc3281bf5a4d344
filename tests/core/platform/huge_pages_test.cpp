// Only the whole huge pages inside a buffer are advised, never memory around it.
#include <gtest/gtest.h>

#include <utility>

#include "platform/huge_pages.h"

namespace mevra {
namespace {

TEST(HugePages, OnlyWholePagesInsideTheBufferAreAdvised) {
    constexpr uintptr_t page = huge_page_bytes;
    auto pages = [](uintptr_t begin, size_t bytes) {
        const address_range r = whole_huge_pages(begin, bytes);
        return std::pair{r.begin, r.end};
    };
    EXPECT_EQ(pages(4 * page, 3 * page), std::pair(4 * page, 7 * page));
    EXPECT_EQ(pages(4 * page + 16, 3 * page), std::pair(5 * page, 7 * page));
    // No whole page inside, or a range that would wrap: nothing.
    EXPECT_EQ(pages(4 * page + 16, page + 100), std::pair(4 * page + 16, 4 * page + 16));
    EXPECT_EQ(pages(UINTPTR_MAX - page, 2 * page), std::pair(UINTPTR_MAX - page, UINTPTR_MAX - page));
}

}  // namespace
}  // namespace mevra
