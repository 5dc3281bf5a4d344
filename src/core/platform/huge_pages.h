#pragma once
// Large buffers on transparent huge pages. A whole picture, its indices and
// its decoded rows are tens or hundreds of megabytes, written once from end to
// end: on 4 KiB pages the first touch of every page is a fault of its own, and
// on a virtual machine those faults cost more than the work on the pixels.
// Asking the kernel for 2 MiB pages where it offers them on request
// (transparent_hugepage "madvise") takes 512 times fewer faults.
#include <cstddef>
#include <cstdint>

namespace mevra {

// Allocations from this size up are advised (smaller ones would gain little).
inline constexpr size_t huge_page_advice_bytes = size_t{4} << 20;
inline constexpr size_t huge_page_bytes = size_t{2} << 20;

struct address_range {
    uintptr_t begin = 0, end = 0;  // end == begin: empty
};

// The whole huge pages inside [begin, begin + bytes): only those can be
// advised without touching memory outside the buffer.
address_range whole_huge_pages(uintptr_t begin, size_t bytes);

// Advises the whole huge pages of a buffer not yet written; a kernel without
// transparent huge pages ignores it. Buffers under huge_page_advice_bytes are
// left alone.
void advise_huge_pages(void* buffer, size_t bytes);

}  // namespace mevra
