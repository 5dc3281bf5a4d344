#pragma once
// The nearest palette entry of a colour in (A, Y, Cb, Cr): smallest squared
// distance summed dCr² + dCb² + dY² + dA² (each difference the colour minus the
// entry), the lowest index among equal distances, and only entries strictly
// closer than a start distance count (entry 0 when none is).
#include <cstdint>
#include <vector>

#include "reduce/color_space.h"

namespace mevra {

inline float palette_distance(const wxyz& v, const wxyz& e) {
    const float dcr = v.cr - e.cr;
    const float dcb = v.cb - e.cb;
    const float dy = v.y - e.y;
    const float da = v.a - e.a;
    return dcr * dcr + dcb * dcb + dy * dy + da * da;
}

// Palette entries in luma order as four component arrays, in blocks of eight.
struct nearest_blocks {
    std::vector<float> a, y, cb, cr;
    std::vector<int32_t> index;       // palette index of each slot
    std::vector<float> min_y, max_y;  // luma range of each block
};

class nearest_entry_finder {
  public:
    // Searches entries 0 .. count - 1 of `palette` (kept by reference).
    nearest_entry_finder(const std::vector<wxyz>& palette, int count);

    // Every entry in index order: the definition itself.
    int find_plain(const wxyz& v, float start) const;
    // The same answer, fast: luma-ordered blocks of eight entries with vector
    // instructions where the processor has them, else find_by_luma. `hint` is
    // an entry tried first to tighten the bound early (-1 for none).
    int find(const wxyz& v, float start, int hint = -1) const;
    // The same answer from the entries ordered by luma, walking outwards from
    // the colour's luma and stopping on a side once the luma term alone exceeds
    // the best distance (the float sum never falls below any of its terms).
    // `hint` is an entry tried first to tighten the bound early (-1 for none).
    int find_by_luma(const wxyz& v, float start, int hint = -1) const;

    int count() const { return count_; }

  private:
    const std::vector<wxyz>& palette_;
    int count_;
    std::vector<float> sorted_y_;
    std::vector<int32_t> sorted_index_;
    nearest_blocks blocks_;
    bool use_vectors_ = false;
};

}  // namespace mevra
