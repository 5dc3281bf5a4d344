#include "reduce/nearest_cells.h"

#include <algorithm>
#include <limits>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define MEVRA_HAVE_AVX2_PATH 1
#endif

namespace mevra {
namespace {

// Cells are 8 units wide on each axis: Y 0 .. 256, Cb and Cr -128 .. 128. A
// power of two keeps the cell of a colour an exact product.
constexpr int cells_per_axis = 32;
constexpr int cell_count = cells_per_axis * cells_per_axis * cells_per_axis;
constexpr float cell_size = 8.0f;
constexpr float inverse_cell_size = 0.125f;
// A cell's box is widened by this much on every side, far more than the
// rounding of the chroma offset can move a colour across a cell border.
constexpr float box_margin = 0.015625f;
// Alpha values with a grid of their own; further ones use the general search.
constexpr size_t max_grids = 4;
// Candidate blocks kept at most (10 MiB); cells met after that use the general
// search, so a picture whose colours wander through many cells far from the
// palette cannot make the cache grow without end.
constexpr size_t max_blocks = size_t{1} << 16;

// Filler lanes of the last block: a luma so far off that their distance (about
// 1e38, still finite) never beats a real entry or the start distance.
constexpr float filler_y = 1e19f;
constexpr int32_t filler_index = std::numeric_limits<int32_t>::max();

constexpr int lanes = 8;
constexpr size_t block_floats = 4 * lanes;

struct interval {
    float lo, hi;
};

// Squared distances from v to the nearest and the farthest point of a box.
struct box_distance {
    float nearest, farthest;
};

inline void add_axis(box_distance& d, float value, const interval& box) {
    float near = 0.0f;
    if (value < box.lo)
        near = box.lo - value;
    else if (value > box.hi)
        near = value - box.hi;
    const float far = std::max(value - box.lo, box.hi - value);
    d.nearest = d.nearest + near * near;
    d.farthest = d.farthest + far * far;
}

// Lane-wise the same subtractions, products and sums in the same order as
// palette_distance, so every distance is the bit-identical float; each lane
// keeps its first smallest distance, and lanes hold ascending indices.
#ifdef MEVRA_HAVE_AVX2_PATH
__attribute__((target("avx2"))) int scan_blocks_avx2(const float* values, const int32_t* index,
                                                     int blocks, const wxyz& v, float start) {
    const __m256 vcr = _mm256_set1_ps(v.cr), vcb = _mm256_set1_ps(v.cb);
    const __m256 vy = _mm256_set1_ps(v.y), va = _mm256_set1_ps(v.a);
    __m256 best = _mm256_set1_ps(start);
    __m256i found = _mm256_set1_epi32(filler_index);
    for (int b = 0; b < blocks; ++b) {
        const float* block = values + static_cast<size_t>(b) * block_floats;
        const __m256 dcr = _mm256_sub_ps(vcr, _mm256_loadu_ps(block));
        const __m256 dcb = _mm256_sub_ps(vcb, _mm256_loadu_ps(block + lanes));
        const __m256 dy = _mm256_sub_ps(vy, _mm256_loadu_ps(block + 2 * lanes));
        const __m256 da = _mm256_sub_ps(va, _mm256_loadu_ps(block + 3 * lanes));
        __m256 d = _mm256_add_ps(_mm256_mul_ps(dcr, dcr), _mm256_mul_ps(dcb, dcb));
        d = _mm256_add_ps(d, _mm256_mul_ps(dy, dy));
        d = _mm256_add_ps(d, _mm256_mul_ps(da, da));
        const __m256 closer = _mm256_cmp_ps(d, best, _CMP_LT_OQ);
        best = _mm256_blendv_ps(best, d, closer);
        const __m256i lane_index =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(index + b * lanes));
        found = _mm256_blendv_epi8(found, lane_index, _mm256_castps_si256(closer));
    }
    // The smallest distance over the lanes, then the lowest index among the
    // lanes that hold it; without a branch per lane.
    __m256 smallest = _mm256_min_ps(best, _mm256_permute2f128_ps(best, best, 1));
    smallest = _mm256_min_ps(smallest, _mm256_shuffle_ps(smallest, smallest, 0x4E));
    smallest = _mm256_min_ps(smallest, _mm256_shuffle_ps(smallest, smallest, 0xB1));
    const __m256i holds = _mm256_castps_si256(_mm256_cmp_ps(best, smallest, _CMP_EQ_OQ));
    __m256i lowest = _mm256_blendv_epi8(_mm256_set1_epi32(filler_index), found, holds);
    lowest = _mm256_min_epi32(lowest, _mm256_permute2x128_si256(lowest, lowest, 1));
    lowest = _mm256_min_epi32(lowest, _mm256_shuffle_epi32(lowest, 0x4E));
    lowest = _mm256_min_epi32(lowest, _mm256_shuffle_epi32(lowest, 0xB1));
    const int32_t winner = _mm256_cvtsi256_si32(lowest);
    // No lane closer than the start distance: entry 0, as the plain search.
    return winner == filler_index ? 0 : winner;
}
#endif

int scan_blocks_plain(const float* values, const int32_t* index, int blocks, const wxyz& v,
                      float start) {
    float best = start;
    int found = 0;
    for (size_t k = 0; k < static_cast<size_t>(blocks) * lanes; ++k) {
        if (index[k] == filler_index) continue;
        const float* block = values + k / lanes * block_floats;
        const size_t l = k % lanes;
        const wxyz entry{block[3 * lanes + l], block[2 * lanes + l], block[lanes + l], block[l]};
        const float d = palette_distance(v, entry);
        if (d < best) {
            best = d;
            found = index[k];
        }
    }
    return found;
}

}  // namespace

nearest_cell_cache::nearest_cell_cache(const std::vector<wxyz>& palette, int count,
                                       const nearest_entry_finder& general)
    : palette_(palette),
      count_(std::clamp(count, 0, static_cast<int>(palette.size()))),
      general_(general) {
    grids_.reserve(max_grids);
#ifdef MEVRA_HAVE_AVX2_PATH
    use_vectors_ = __builtin_cpu_supports("avx2");
#endif
}

nearest_cell_cache::alpha_grid* nearest_cell_cache::grid_for(float alpha) {
    for (alpha_grid& g : grids_)
        if (g.alpha == alpha) return &g;
    if (grids_.size() >= max_grids || count_ == 0) return nullptr;
    grids_.push_back({alpha, std::vector<cell_span>(cell_count)});
    return &grids_.back();
}

// Keeps every entry that can be the nearest of some colour in the cell: an
// entry whose nearest point of the box is farther than the farthest point of
// the best entry always loses there. The bounds are in float too, so the test
// keeps a wide margin over their rounding and over that of the distances
// themselves (a few parts in ten million); a spare candidate costs only time.
const nearest_cell_cache::cell_span& nearest_cell_cache::fill_cell(alpha_grid& grid, int cell) {
    const int iy = cell / (cells_per_axis * cells_per_axis);
    const int icb = cell / cells_per_axis % cells_per_axis;
    const int icr = cell % cells_per_axis;
    auto box = [](int i, float offset) {
        const float lo = static_cast<float>(i) * cell_size - offset;
        return interval{lo - box_margin, lo + cell_size + box_margin};
    };
    const interval y_box = box(iy, 0.0f), cb_box = box(icb, chroma_offset),
                   cr_box = box(icr, chroma_offset);

    std::vector<box_distance> bounds(static_cast<size_t>(count_));
    float best_farthest = std::numeric_limits<float>::max();
    for (int e = 0; e < count_; ++e) {
        const wxyz& entry = palette_[static_cast<size_t>(e)];
        const float da = grid.alpha - entry.a;
        box_distance d{da * da, da * da};
        add_axis(d, entry.y, y_box);
        add_axis(d, entry.cb, cb_box);
        add_axis(d, entry.cr, cr_box);
        bounds[static_cast<size_t>(e)] = d;
        best_farthest = std::min(best_farthest, d.farthest);
    }
    const float limit = best_farthest * 1.0001f + 0.001f;

    cell_span& span = grid.cells[static_cast<size_t>(cell)];
    span.first_block = static_cast<int32_t>(block_index_.size() / lanes);
    int lane = lanes;
    for (int e = 0; e < count_; ++e) {
        if (bounds[static_cast<size_t>(e)].nearest > limit) continue;
        if (lane == lanes) {
            block_values_.resize(block_values_.size() + block_floats, 0.0f);
            block_index_.resize(block_index_.size() + lanes, filler_index);
            float* filler = &block_values_[block_values_.size() - block_floats];
            std::fill_n(filler + 2 * lanes, lanes, filler_y);
            ++span.blocks;
            lane = 0;
        }
        const wxyz& entry = palette_[static_cast<size_t>(e)];
        float* block = &block_values_[block_values_.size() - block_floats];
        block[lane] = entry.cr;
        block[lanes + lane] = entry.cb;
        block[2 * lanes + lane] = entry.y;
        block[3 * lanes + lane] = entry.a;
        block_index_[block_index_.size() - lanes + static_cast<size_t>(lane)] = e;
        ++lane;
    }
    return span;
}

int nearest_cell_cache::find(const wxyz& v, float start, int hint) {
    // Only colours whose cell is certain: inside the grid and not NaN.
    const bool inside = v.y >= 0.0f && v.y < 256.0f && v.cb >= -chroma_offset &&
                        v.cb < chroma_offset && v.cr >= -chroma_offset && v.cr < chroma_offset;
    alpha_grid* grid = inside ? grid_for(v.a) : nullptr;
    if (grid == nullptr) return general_.find(v, start, hint);

    auto axis_cell = [](float value) {
        return std::min(static_cast<int>(value * inverse_cell_size), cells_per_axis - 1);
    };
    const int cell =
        (axis_cell(v.y) * cells_per_axis + axis_cell(v.cb + chroma_offset)) * cells_per_axis +
        axis_cell(v.cr + chroma_offset);
    const cell_span* span = &grid->cells[static_cast<size_t>(cell)];
    if (span->first_block < 0) {
        const size_t worst = static_cast<size_t>(count_ + lanes - 1) / lanes;
        if (block_index_.size() / lanes + worst > max_blocks) return general_.find(v, start, hint);
        span = &fill_cell(*grid, cell);
    }

    const float* values =
        block_values_.data() + static_cast<size_t>(span->first_block) * block_floats;
    const int32_t* index = block_index_.data() + static_cast<size_t>(span->first_block) * lanes;
#ifdef MEVRA_HAVE_AVX2_PATH
    if (use_vectors_) return scan_blocks_avx2(values, index, span->blocks, v, start);
#endif
    return scan_blocks_plain(values, index, span->blocks, v, start);
}

}  // namespace mevra
