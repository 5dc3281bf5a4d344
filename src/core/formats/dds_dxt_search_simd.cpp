// The vector endpoint searches. A vector holds the pairs (i, j) of one first
// endpoint i and up to 16 (or 8) second endpoints j, one per lane; every lane
// adds its per-pixel terms in pixel order with the same single-precision
// operations as the reference loop, so each lane's sum is bit-identical to
// the reference error of its pair. Lanes are then read in ascending (i, j),
// which keeps the reference's first-wins tie rule.
//
// Four such vectors are worked on together: a single running sum per vector
// would leave the processor waiting on each addition.
//
// Sums only grow, so every few pixels the group stops when no lane can still
// win: a lane is out once its sum reaches the best so far (ties keep the
// earlier pair) or exceeds the bound, the error of a pair that exists.
#include "formats/dds_dxt_search.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

namespace mevra::dds {
namespace {

constexpr int group = 4;

// One vector of pairs: first endpoint i, the lanes that hold candidate
// second endpoints, and which half of the 16 pixels the lanes stand for.
struct pair_vector {
    int i;
    uint32_t lanes;
    int half;
};

// The vectors in pair order; returns how many.
int pair_vectors(uint32_t candidates, int width, pair_vector* out) {
    int n = 0;
    for (int i = 0; i < 15; ++i) {
        if (!(candidates >> i & 1)) continue;
        const uint32_t later = candidates & ~((2u << i) - 1) & 0xFFFFu;
        for (int half = 0; half < 16 / width; ++half) {
            const uint32_t lanes = (later >> (width * half)) & ((1u << width) - 1);
            if (lanes) out[n++] = {i, lanes, half};
        }
    }
    return n;
}

}  // namespace

__attribute__((target("avx2"))) endpoint_pair search_endpoints_avx2(const dxt_block& b) {
    const __m256 y[2] = {_mm256_loadu_ps(b.y), _mm256_loadu_ps(b.y + 8)};
    const __m256 cb[2] = {_mm256_loadu_ps(b.cb), _mm256_loadu_ps(b.cb + 8)};
    const __m256 cr[2] = {_mm256_loadu_ps(b.cr), _mm256_loadu_ps(b.cr + 8)};

    // dist[p][q] between the block's pixels (symmetric to the bit).
    alignas(32) float dist[16][16];
    for (int p = 0; p < 16; ++p) {
        const __m256 py = _mm256_set1_ps(b.y[p]);
        const __m256 pcb = _mm256_set1_ps(b.cb[p]);
        const __m256 pcr = _mm256_set1_ps(b.cr[p]);
        for (int h = 0; h < 2; ++h) {
            const __m256 dy = _mm256_sub_ps(py, y[h]);
            const __m256 dcb = _mm256_sub_ps(pcb, cb[h]);
            const __m256 dcr = _mm256_sub_ps(pcr, cr[h]);
            _mm256_store_ps(dist[p] + 8 * h, _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(dy, dy),
                                                                         _mm256_mul_ps(dcb, dcb)),
                                                           _mm256_mul_ps(dcr, dcr)));
        }
    }

    pair_vector vectors[30 + group];
    const int count = pair_vectors(b.candidates, 8, vectors);
    for (int k = count; k < count + group; ++k)
        vectors[k] = {0, 0, 0};  // idle padding

    const __m256 half = _mm256_set1_ps(0.5f);
    const __m256 bound = _mm256_set1_ps(winning_error_bound(b));
    float best = 100000000.0f;
    endpoint_pair pair{0, 1};
    for (int first = 0; first < count; first += group) {
        const pair_vector* v = vectors + first;
        __m256 my[group], mcb[group], mcr[group], sum[group];
        for (int r = 0; r < group; ++r) {
            const int h = v[r].half;
            my[r] = _mm256_mul_ps(_mm256_add_ps(_mm256_set1_ps(b.y[v[r].i]), y[h]), half);
            mcb[r] = _mm256_mul_ps(_mm256_add_ps(_mm256_set1_ps(b.cb[v[r].i]), cb[h]), half);
            mcr[r] = _mm256_mul_ps(_mm256_add_ps(_mm256_set1_ps(b.cr[v[r].i]), cr[h]), half);
            sum[r] = _mm256_setzero_ps();
        }
        bool hopeless = false;
        for (int p = 0; p < 16; ++p) {
            const __m256 py = _mm256_set1_ps(b.y[p]);
            const __m256 pcb = _mm256_set1_ps(b.cb[p]);
            const __m256 pcr = _mm256_set1_ps(b.cr[p]);
            for (int r = 0; r < group; ++r) {
                const __m256 dy = _mm256_sub_ps(py, my[r]);
                const __m256 dcb = _mm256_sub_ps(pcb, mcb[r]);
                const __m256 dcr = _mm256_sub_ps(pcr, mcr[r]);
                const __m256 dm =
                    _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(dy, dy), _mm256_mul_ps(dcb, dcb)),
                                  _mm256_mul_ps(dcr, dcr));
                const __m256 ends = _mm256_min_ps(_mm256_set1_ps(dist[p][v[r].i]),
                                                  _mm256_load_ps(dist[p] + 8 * v[r].half));
                sum[r] = _mm256_add_ps(sum[r], _mm256_min_ps(ends, dm));
            }
            if ((p & 3) == 3) {
                const __m256 best_v = _mm256_set1_ps(best);
                uint32_t alive = 0;
                for (int r = 0; r < group; ++r) {
                    const __m256 in = _mm256_and_ps(_mm256_cmp_ps(sum[r], best_v, _CMP_LT_OQ),
                                                    _mm256_cmp_ps(sum[r], bound, _CMP_LE_OQ));
                    alive |= static_cast<uint32_t>(_mm256_movemask_ps(in)) & v[r].lanes;
                }
                if (!alive) {
                    hopeless = true;
                    break;
                }
            }
        }
        if (hopeless) continue;
        for (int r = 0; r < group; ++r) {
            alignas(32) float sums[8];
            _mm256_store_ps(sums, sum[r]);
            for (int k = 0; k < 8; ++k) {
                if ((v[r].lanes >> k & 1) && sums[k] < best) {
                    best = sums[k];
                    pair = {v[r].i, 8 * v[r].half + k};
                }
            }
        }
    }
    return pair;
}

// _mm512_min_ps trips a false "maybe uninitialized" warning in some GCC
// headers; the zero-masked form with every lane selected is the same operation.
__attribute__((target("avx512f"))) inline __m512 min16(__m512 a, __m512 b) {
    return _mm512_maskz_min_ps(0xFFFF, a, b);
}

__attribute__((target("avx512f"))) endpoint_pair search_endpoints_avx512(const dxt_block& b) {
    const __m512 y = _mm512_loadu_ps(b.y);
    const __m512 cb = _mm512_loadu_ps(b.cb);
    const __m512 cr = _mm512_loadu_ps(b.cr);

    alignas(64) float dist[16][16];
    for (int p = 0; p < 16; ++p) {
        const __m512 dy = _mm512_sub_ps(_mm512_set1_ps(b.y[p]), y);
        const __m512 dcb = _mm512_sub_ps(_mm512_set1_ps(b.cb[p]), cb);
        const __m512 dcr = _mm512_sub_ps(_mm512_set1_ps(b.cr[p]), cr);
        _mm512_store_ps(dist[p],
                        _mm512_add_ps(_mm512_add_ps(_mm512_mul_ps(dy, dy), _mm512_mul_ps(dcb, dcb)),
                                      _mm512_mul_ps(dcr, dcr)));
    }

    pair_vector vectors[15 + group];
    const int count = pair_vectors(b.candidates, 16, vectors);
    for (int k = count; k < count + group; ++k)
        vectors[k] = {0, 0, 0};  // idle padding

    const __m512 half = _mm512_set1_ps(0.5f);
    const __m512 bound = _mm512_set1_ps(winning_error_bound(b));
    float best = 100000000.0f;
    endpoint_pair pair{0, 1};
    for (int first = 0; first < count; first += group) {
        const pair_vector* v = vectors + first;
        __m512 my[group], mcb[group], mcr[group], sum[group];
        for (int r = 0; r < group; ++r) {
            my[r] = _mm512_mul_ps(_mm512_add_ps(_mm512_set1_ps(b.y[v[r].i]), y), half);
            mcb[r] = _mm512_mul_ps(_mm512_add_ps(_mm512_set1_ps(b.cb[v[r].i]), cb), half);
            mcr[r] = _mm512_mul_ps(_mm512_add_ps(_mm512_set1_ps(b.cr[v[r].i]), cr), half);
            sum[r] = _mm512_setzero_ps();
        }
        bool hopeless = false;
        for (int p = 0; p < 16; ++p) {
            const __m512 py = _mm512_set1_ps(b.y[p]);
            const __m512 pcb = _mm512_set1_ps(b.cb[p]);
            const __m512 pcr = _mm512_set1_ps(b.cr[p]);
            const __m512 row = _mm512_load_ps(dist[p]);
            for (int r = 0; r < group; ++r) {
                const __m512 dy = _mm512_sub_ps(py, my[r]);
                const __m512 dcb = _mm512_sub_ps(pcb, mcb[r]);
                const __m512 dcr = _mm512_sub_ps(pcr, mcr[r]);
                const __m512 dm =
                    _mm512_add_ps(_mm512_add_ps(_mm512_mul_ps(dy, dy), _mm512_mul_ps(dcb, dcb)),
                                  _mm512_mul_ps(dcr, dcr));
                const __m512 ends = min16(_mm512_set1_ps(dist[p][v[r].i]), row);
                sum[r] = _mm512_add_ps(sum[r], min16(ends, dm));
            }
            if ((p & 3) == 3) {
                const __m512 best_v = _mm512_set1_ps(best);
                uint32_t alive = 0;
                for (int r = 0; r < group; ++r)
                    alive |= _mm512_cmp_ps_mask(sum[r], best_v, _CMP_LT_OQ) &
                             _mm512_cmp_ps_mask(sum[r], bound, _CMP_LE_OQ) & v[r].lanes;
                if (!alive) {
                    hopeless = true;
                    break;
                }
            }
        }
        if (hopeless) continue;
        for (int r = 0; r < group; ++r) {
            alignas(64) float sums[16];
            _mm512_store_ps(sums, sum[r]);
            for (int j = 0; j < 16; ++j) {
                if ((v[r].lanes >> j & 1) && sums[j] < best) {
                    best = sums[j];
                    pair = {v[r].i, j};
                }
            }
        }
    }
    return pair;
}

}  // namespace mevra::dds

#else

namespace mevra::dds {

// Without x86 vectors these are never selected; they fall back to the scalar search.
endpoint_pair search_endpoints_avx2(const dxt_block& b) {
    return search_endpoints_pruned(b);
}
endpoint_pair search_endpoints_avx512(const dxt_block& b) {
    return search_endpoints_pruned(b);
}

}  // namespace mevra::dds

#endif
