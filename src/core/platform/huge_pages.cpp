#include "platform/huge_pages.h"

#include <sys/mman.h>

namespace mevra {

address_range whole_huge_pages(uintptr_t begin, size_t bytes) {
    const uintptr_t mask = huge_page_bytes - 1;
    if (bytes < huge_page_bytes || begin > UINTPTR_MAX - bytes) return {begin, begin};
    const uintptr_t first = (begin + mask) & ~mask;
    const uintptr_t last = (begin + bytes) & ~mask;
    return first < last ? address_range{first, last} : address_range{begin, begin};
}

void advise_huge_pages(void* buffer, size_t bytes) {
    if (buffer == nullptr || bytes < huge_page_advice_bytes) return;
    const address_range pages = whole_huge_pages(reinterpret_cast<uintptr_t>(buffer), bytes);
    if (pages.end == pages.begin) return;
    // Only advice: where the kernel has no huge pages the buffer works as before.
    madvise(reinterpret_cast<void*>(pages.begin), pages.end - pages.begin, MADV_HUGEPAGE);
}

}  // namespace mevra
