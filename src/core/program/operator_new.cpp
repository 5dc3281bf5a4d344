// The programs' operator new: the C library's malloc, with every large
// allocation advised onto transparent huge pages before anything is written
// to it (see platform/huge_pages.h). Linked into mevra and mevra-cli only, and
// left out of sanitizer builds, whose own operator new checks every allocation.
#include <cstdlib>
#include <new>

#include "platform/huge_pages.h"

#if !defined(__SANITIZE_ADDRESS__)

void* operator new(std::size_t bytes) {
    for (;;) {
        if (void* p = std::malloc(bytes != 0 ? bytes : 1)) {
            mevra::advise_huge_pages(p, bytes);
            return p;
        }
        std::new_handler handler = std::get_new_handler();
        if (handler == nullptr) throw std::bad_alloc();
        handler();
    }
}

// The library's own array, nothrow and deleting forms call the ones above and
// free(), which pair with malloc.
void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

#endif
