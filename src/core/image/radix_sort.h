#pragma once
// Sorting many 64-bit keys by their high 32 bits (a colour, with a number in
// the low half): a least-significant-digit radix sort, a byte at a time, that
// skips the bytes every key shares (alpha, on an opaque picture). Stable, so
// keys of one colour keep their order. Several times quicker than std::sort on
// the hundreds of thousands of colours of a photograph.
#include <cstdint>
#include <vector>

namespace mevra {

// Sorts `keys` by (key >> 32); `scratch` is working room of any content.
void sort_by_high_half(std::vector<uint64_t>& keys, std::vector<uint64_t>& scratch);

}  // namespace mevra
