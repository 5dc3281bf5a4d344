#pragma once
// The dithered pixel mappings of a reduction: each replaces every pixel's old
// colour index by the index of a palette entry.
#include <vector>

#include "reduce/color_space.h"
#include "reduce/nearest_entry.h"

namespace mevra {

class image_info;

// The starting distance of a dithered pixel's nearest-entry search: larger
// than any distance, so the first candidate always wins.
inline constexpr float dithered_start = 1099511627776.0f;  // 2^40

struct dither_settings {
    int type;   // 1 error diffusion A, 2 error diffusion B, 3 pattern
    int level;  // strength 1 .. 10
};

// Ordered dither: the Bayer matrix offsets the luma of every pixel.
void map_pattern_dither(image_info& img, const std::vector<wxyz>& old_values,
                        const nearest_entry_finder& finder, const dither_settings& dither,
                        bool reference);
// Error diffusion with a three-row ring of working values.
void map_error_diffusion(image_info& img, const std::vector<wxyz>& old_values,
                         const std::vector<wxyz>& float_palette, const nearest_entry_finder& finder,
                         const dither_settings& dither, bool reference);

}  // namespace mevra
