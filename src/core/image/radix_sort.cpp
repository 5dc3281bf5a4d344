#include "image/radix_sort.h"

#include <array>
#include <cstddef>

namespace mevra {

void sort_by_high_half(std::vector<uint64_t>& keys, std::vector<uint64_t>& scratch) {
    scratch.resize(keys.size());
    for (int shift = 32; shift < 64; shift += 8) {
        std::array<size_t, 257> start{};
        for (uint64_t k : keys)
            ++start[((k >> shift) & 0xFF) + 1];
        // A byte that all keys share leaves the order as it is.
        bool shared = false;
        for (size_t b = 1; b <= 256; ++b)
            shared = shared || start[b] == keys.size();
        if (shared) continue;
        for (size_t b = 1; b <= 256; ++b)
            start[b] += start[b - 1];
        for (uint64_t k : keys)
            scratch[start[(k >> shift) & 0xFF]++] = k;
        keys.swap(scratch);
    }
}

}  // namespace mevra
