// The exact colour census: ARGB pixels to a colour table with counts and one
// index per pixel.
#include <algorithm>
#include <array>
#include <memory>
#include <unordered_map>

#include "image/color_census.h"
#include "image/image_info.h"

namespace mevra {
namespace {

constexpr int64_t sorted_census_min_pixels = 16384;

}  // namespace

void census_in_order(const std::vector<uint32_t>& argb, std::vector<int32_t>& index,
                     colour_census& out) {
    std::unordered_map<uint32_t, int32_t> found;
    for (size_t p = 0; p < argb.size(); ++p) {
        auto [it, fresh] = found.try_emplace(argb[p], static_cast<int32_t>(out.colours.size()));
        if (fresh) {
            out.colours.push_back(argb[p]);
            out.counts.push_back(1);
        } else {
            ++out.counts[static_cast<size_t>(it->second)];
        }
        index[p] = it->second;
    }
}

// A two-level bucket sort on the high half (alpha, red) and then the low half
// (green, blue), which leaves the table sorted by ARGB value. Pixel positions
// are kept as full 32-bit offsets, so every accepted size works.
void census_by_buckets(const std::vector<uint32_t>& argb, std::vector<int32_t>& index,
                       colour_census& out) {
    constexpr size_t halves = 65536;
    std::vector<uint32_t> start(halves + 1, 0);
    for (uint32_t c : argb)
        ++start[(c >> 16) + 1];
    for (size_t h = 0; h < halves; ++h)
        start[h + 1] += start[h];

    std::vector<uint32_t> by_high(argb.size());
    {
        std::vector<uint32_t> fill(start.begin(), start.end() - 1);
        for (size_t p = 0; p < argb.size(); ++p)
            by_high[fill[argb[p] >> 16]++] = static_cast<uint32_t>(p);
    }

    auto low_count = std::make_unique<int32_t[]>(halves);
    auto low_index = std::make_unique<int32_t[]>(halves);
    std::fill_n(low_count.get(), halves, 0);
    std::vector<uint32_t> lows;
    for (size_t h = 0; h < halves; ++h) {
        const uint32_t begin = start[h], end = start[h + 1];
        if (begin == end) continue;
        lows.clear();
        for (uint32_t k = begin; k < end; ++k) {
            uint32_t low = argb[by_high[k]] & 0xFFFFu;
            if (low_count[low]++ == 0) lows.push_back(low);
        }
        // Ascending low halves: sorting the few present equals scanning all 65536.
        std::sort(lows.begin(), lows.end());
        for (uint32_t low : lows) {
            low_index[low] = static_cast<int32_t>(out.colours.size());
            out.colours.push_back(static_cast<uint32_t>(h << 16) | low);
            out.counts.push_back(low_count[low]);
            low_count[low] = 0;
        }
        for (uint32_t k = begin; k < end; ++k) {
            uint32_t p = by_high[k];
            index[p] = low_index[argb[p] & 0xFFFFu];
        }
    }
}

int image_info::argb_to_color_index() {
    if (image_type != IMGTYP_RGB || argb_buff.empty()) return -1;
    std::vector<int32_t> index(argb_buff.size());
    colour_census census;
    if (pixel_count() < sorted_census_min_pixels)
        census_in_order(argb_buff, index, census);
    else if (!census_by_hashing(argb_buff, index, census))
        census_by_buckets(argb_buff, index, census);

    const size_t n = census.colours.size();
    const size_t room = std::max<size_t>(n, 256);
    census.colours.resize(room, 0);
    census.counts.resize(room, 0);
    index_buff = std::move(index);
    color = std::move(census.colours);
    color_cnt = std::move(census.counts);
    argb_buff = {};
    return static_cast<int>(n);
}

}  // namespace mevra
