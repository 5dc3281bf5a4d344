#include "reduce/nearest_entry.h"

#include <algorithm>
#include <numeric>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define MEVRA_HAVE_AVX2_PATH 1
#endif

namespace mevra {
namespace {

#ifdef MEVRA_HAVE_AVX2_PATH
// Scans blocks of eight luma-sorted entries outwards from the colour's luma.
// Each lane evaluates the distance with the same four subtractions, four
// products and three additions in the same order as palette_distance, so the
// values are bit-identical; a block is skipped only when the luma term alone,
// which the float sum never falls below, already exceeds the best distance.
// Candidates are compared by (distance, index), which is the index-order scan.
__attribute__((target("avx2"))) inline void visit_block(const nearest_blocks& blocks, int block,
                                                        const wxyz& v, float& best, int& found) {
    const size_t k = static_cast<size_t>(block) * 8;
    const __m256 dcr = _mm256_sub_ps(_mm256_set1_ps(v.cr), _mm256_loadu_ps(blocks.cr.data() + k));
    const __m256 dcb = _mm256_sub_ps(_mm256_set1_ps(v.cb), _mm256_loadu_ps(blocks.cb.data() + k));
    const __m256 dy = _mm256_sub_ps(_mm256_set1_ps(v.y), _mm256_loadu_ps(blocks.y.data() + k));
    const __m256 da = _mm256_sub_ps(_mm256_set1_ps(v.a), _mm256_loadu_ps(blocks.a.data() + k));
    __m256 d = _mm256_add_ps(_mm256_mul_ps(dcr, dcr), _mm256_mul_ps(dcb, dcb));
    d = _mm256_add_ps(d, _mm256_mul_ps(dy, dy));
    d = _mm256_add_ps(d, _mm256_mul_ps(da, da));
    int mask = _mm256_movemask_ps(_mm256_cmp_ps(d, _mm256_set1_ps(best), _CMP_LE_OQ));
    if (mask == 0) return;
    alignas(32) float lane[8];
    _mm256_store_ps(lane, d);
    while (mask != 0) {
        const int l = __builtin_ctz(static_cast<unsigned>(mask));
        mask &= mask - 1;
        const int index = blocks.index[k + static_cast<size_t>(l)];
        if (lane[l] < best || (lane[l] == best && found >= 0 && index < found)) {
            best = lane[l];
            found = index;
        }
    }
}

__attribute__((target("avx2"))) int find_in_blocks(const nearest_blocks& blocks, const wxyz& v,
                                                   float best, int found) {
    auto bound = [&](int block) {
        const float lo = blocks.min_y[static_cast<size_t>(block)];
        const float hi = blocks.max_y[static_cast<size_t>(block)];
        float dy = 0.0f;
        if (v.y < lo)
            dy = v.y - lo;
        else if (v.y > hi)
            dy = v.y - hi;
        return dy * dy;
    };
    const int count = static_cast<int>(blocks.min_y.size());
    int up = 0;
    while (up < count && blocks.max_y[static_cast<size_t>(up)] < v.y)
        ++up;
    int down = up - 1;
    bool up_open = up < count, down_open = down >= 0;
    while (up_open || down_open) {
        const float up_bound = up_open ? bound(up) : 0.0f;
        const float down_bound = down_open ? bound(down) : 0.0f;
        if (up_open && up_bound > best) up_open = false;
        if (down_open && down_bound > best) down_open = false;
        if (up_open && (!down_open || up_bound <= down_bound)) {
            visit_block(blocks, up, v, best, found);
            up_open = ++up < count;
        } else if (down_open) {
            visit_block(blocks, down, v, best, found);
            down_open = --down >= 0;
        }
    }
    return found < 0 ? 0 : found;
}
#endif

}  // namespace

nearest_entry_finder::nearest_entry_finder(const std::vector<wxyz>& palette, int count)
    : palette_(palette), count_(std::clamp(count, 0, static_cast<int>(palette.size()))) {
    sorted_index_.resize(static_cast<size_t>(count_));
    std::iota(sorted_index_.begin(), sorted_index_.end(), 0);
    std::stable_sort(sorted_index_.begin(), sorted_index_.end(), [&](int32_t a, int32_t b) {
        return palette_[static_cast<size_t>(a)].y < palette_[static_cast<size_t>(b)].y;
    });
    sorted_y_.resize(static_cast<size_t>(count_));
    for (int k = 0; k < count_; ++k)
        sorted_y_[static_cast<size_t>(k)] =
            palette_[static_cast<size_t>(sorted_index_[static_cast<size_t>(k)])].y;

    // Blocks of eight in luma order; the last is filled with entries whose
    // infinite distance never wins.
    const size_t padded = static_cast<size_t>((count_ + 7) / 8 * 8);
    blocks_.a.assign(padded, 0.0f);
    blocks_.y.assign(padded, 1e30f);
    blocks_.cb.assign(padded, 0.0f);
    blocks_.cr.assign(padded, 0.0f);
    blocks_.index.assign(padded, 0);
    for (size_t k = 0; k < static_cast<size_t>(count_); ++k) {
        const int32_t e = sorted_index_[k];
        const wxyz& entry = palette_[static_cast<size_t>(e)];
        blocks_.a[k] = entry.a;
        blocks_.y[k] = entry.y;
        blocks_.cb[k] = entry.cb;
        blocks_.cr[k] = entry.cr;
        blocks_.index[k] = e;
    }
    for (size_t k = 0; k < static_cast<size_t>(count_); k += 8) {
        const size_t last = std::min(k + 8, static_cast<size_t>(count_)) - 1;
        blocks_.min_y.push_back(blocks_.y[k]);
        blocks_.max_y.push_back(blocks_.y[last]);
    }
#ifdef MEVRA_HAVE_AVX2_PATH
    use_vectors_ = __builtin_cpu_supports("avx2");
#endif
}

int nearest_entry_finder::find(const wxyz& v, float start, int hint) const {
#ifdef MEVRA_HAVE_AVX2_PATH
    if (use_vectors_) {
        float best = start;
        int found = -1;
        if (hint >= 0 && hint < count_) {
            const float d = palette_distance(v, palette_[static_cast<size_t>(hint)]);
            if (d < best) {
                best = d;
                found = hint;
            }
        }
        return find_in_blocks(blocks_, v, best, found);
    }
#endif
    return find_by_luma(v, start, hint);
}

int nearest_entry_finder::find_plain(const wxyz& v, float start) const {
    float best = start;
    int found = 0;
    for (int e = 0; e < count_; ++e) {
        const float d = palette_distance(v, palette_[static_cast<size_t>(e)]);
        if (d < best) {
            best = d;
            found = e;
        }
    }
    return found;
}

int nearest_entry_finder::find_by_luma(const wxyz& v, float start, int hint) const {
    float best = start;
    int found = -1;
    // Ordering by (distance, index) reproduces the index-order scan exactly.
    auto consider = [&](int e) {
        const float d = palette_distance(v, palette_[static_cast<size_t>(e)]);
        if (d < best || (d == best && found >= 0 && e < found)) {
            best = d;
            found = e;
        }
    };
    if (hint >= 0 && hint < count_) consider(hint);

    const float* ys = sorted_y_.data();
    int up = static_cast<int>(std::lower_bound(ys, ys + count_, v.y) - ys);
    int down = up - 1;
    bool up_open = up < count_, down_open = down >= 0;
    while (up_open || down_open) {
        float up_term = 0.0f, down_term = 0.0f;
        if (up_open) {
            const float dy = v.y - ys[up];
            up_term = dy * dy;
            if (up_term > best) up_open = false;
        }
        if (down_open) {
            const float dy = v.y - ys[down];
            down_term = dy * dy;
            if (down_term > best) down_open = false;
        }
        // Visit the nearer side first so the bound tightens as fast as possible.
        if (up_open && (!down_open || up_term <= down_term)) {
            consider(sorted_index_[static_cast<size_t>(up)]);
            up_open = ++up < count_;
        } else if (down_open) {
            consider(sorted_index_[static_cast<size_t>(down)]);
            down_open = --down >= 0;
        }
    }
    return found < 0 ? 0 : found;
}

}  // namespace mevra
