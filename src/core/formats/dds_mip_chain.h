#pragma once
// The smaller levels of a mipmap chain, each half the size of the one above
// (a side stops at 1), down to 1 × 1.
//
// Colour is filtered in linear light (sRGB decoded, filtered, encoded again)
// and weighted by alpha, so that the colour of transparent pixels does not
// bleed into visible ones. A side that halves exactly is filtered with a
// 2-tap box; an odd side (7 -> 3, say) with a Lanczos filter of radius 2
// stretched to the ratio of the sizes, which keeps the level sharp without
// shifting it. Each level is filtered from the one above.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace mevra::dds {

struct mip_level {
    int width = 0, height = 0;
    std::vector<uint32_t> argb;  // row by row, 0xAARRGGBB
};

// The number of levels of a chain whose top level is width × height.
int mip_level_count(int width, int height);

// Levels 1 .. mip_level_count - 1 below the top level `top` (width × height
// pixels). With alpha_reference in 0..255, each level's alpha is scaled so
// that the share of pixels with alpha >= alpha_reference (those an alpha test
// keeps) is as close as it can be to the top level's; -1 leaves alpha as filtered.
std::vector<mip_level> build_mip_chain(const uint32_t* top, int width, int height,
                                       int alpha_reference);

// The share of pixels with alpha >= reference.
float alpha_coverage(const uint32_t* argb, size_t count, int reference);

}  // namespace mevra::dds
