#pragma once
// The separable resampler behind image scaling: linear interpolation between
// the two nearest source pixel centres when a line grows, area averaging when
// it shrinks, a plain copy when it keeps its length. Every channel (blue,
// green, red, alpha) is resampled on its own in single precision; the rows are
// resampled first, then the columns of that intermediate result.
#include <cstdint>
#include <vector>

namespace mevra {

// Resamples a w × h ARGB picture to new_w × new_h. The caller has checked both
// sizes. Columns are worked row by row with the same per-channel arithmetic, so
// only a few intermediate rows are ever held.
std::vector<uint32_t> resample_argb(const std::vector<uint32_t>& src, int w, int h, int new_w,
                                    int new_h);

}  // namespace mevra
