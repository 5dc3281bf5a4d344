#pragma once
// The ways of taking the exact colour census of ARGB pixels: a colour table
// with a pixel count per entry and the table index of every pixel.
#include <cstdint>
#include <vector>

namespace mevra {

struct colour_census {
    std::vector<uint32_t> colours;
    std::vector<int32_t> counts;
};

// Colours in order of first appearance (the rule below 16384 pixels).
void census_in_order(const std::vector<uint32_t>& argb, std::vector<int32_t>& index,
                     colour_census& out);

// Colours in ascending ARGB order (the rule from 16384 pixels), two ways with
// identical results: a two-level bucket sort, the plain way, and per-thread
// hash tables over parts of the picture, merged by sorting their colours.
// The hashing gives up and returns false, leaving `out` empty and `index`
// undefined, on pictures of so many colours that its tables would cost more
// memory than the buckets.
void census_by_buckets(const std::vector<uint32_t>& argb, std::vector<int32_t>& index,
                       colour_census& out);
bool census_by_hashing(const std::vector<uint32_t>& argb, std::vector<int32_t>& index,
                       colour_census& out);

}  // namespace mevra
