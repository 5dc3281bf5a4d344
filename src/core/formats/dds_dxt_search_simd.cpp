// The vector endpoint searches. Lanes hold the second endpoint j for one
// first endpoint i; every lane adds its per-pixel terms in pixel order with
// the same single-precision operations as the reference loop, so each lane's
// sum is bit-identical to the reference error of its pair. Lanes are then
// read in ascending j, which keeps the reference's first-wins tie rule.
#include "formats/dds_dxt_search.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

namespace mevra::dds {

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
            const __m256 d =
                _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(dy, dy), _mm256_mul_ps(dcb, dcb)),
                              _mm256_mul_ps(dcr, dcr));
            _mm256_store_ps(dist[p] + 8 * h, d);
        }
    }

    const __m256 half = _mm256_set1_ps(0.5f);
    float best = 100000000.0f;
    endpoint_pair pair{0, 1};
    for (int i = 0; i < 15; ++i) {
        if (!(b.candidates >> i & 1)) continue;
        const uint32_t later = b.candidates & ~((2u << i) - 1) & 0xFFFFu;
        const __m256 iy = _mm256_set1_ps(b.y[i]);
        const __m256 icb = _mm256_set1_ps(b.cb[i]);
        const __m256 icr = _mm256_set1_ps(b.cr[i]);
        for (int h = 0; h < 2; ++h) {
            const uint32_t lanes = (later >> (8 * h)) & 0xFFu;
            if (!lanes) continue;
            const __m256 my = _mm256_mul_ps(_mm256_add_ps(iy, y[h]), half);
            const __m256 mcb = _mm256_mul_ps(_mm256_add_ps(icb, cb[h]), half);
            const __m256 mcr = _mm256_mul_ps(_mm256_add_ps(icr, cr[h]), half);
            __m256 sum = _mm256_setzero_ps();
            bool hopeless = false;
            for (int p = 0; p < 16; ++p) {
                const __m256 dy = _mm256_sub_ps(_mm256_set1_ps(b.y[p]), my);
                const __m256 dcb = _mm256_sub_ps(_mm256_set1_ps(b.cb[p]), mcb);
                const __m256 dcr = _mm256_sub_ps(_mm256_set1_ps(b.cr[p]), mcr);
                const __m256 dm =
                    _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(dy, dy), _mm256_mul_ps(dcb, dcb)),
                                  _mm256_mul_ps(dcr, dcr));
                __m256 nearest =
                    _mm256_min_ps(_mm256_set1_ps(dist[p][i]), _mm256_load_ps(dist[p] + 8 * h));
                nearest = _mm256_min_ps(nearest, dm);
                sum = _mm256_add_ps(sum, nearest);
                // Sums only grow; stop when no lane can still beat the best.
                if ((p & 3) == 3) {
                    const __m256 below = _mm256_cmp_ps(sum, _mm256_set1_ps(best), _CMP_LT_OQ);
                    if ((static_cast<uint32_t>(_mm256_movemask_ps(below)) & lanes) == 0) {
                        hopeless = true;
                        break;
                    }
                }
            }
            if (hopeless) continue;
            alignas(32) float sums[8];
            _mm256_store_ps(sums, sum);
            for (int k = 0; k < 8; ++k) {
                if ((lanes >> k & 1) && sums[k] < best) {
                    best = sums[k];
                    pair = {i, 8 * h + k};
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

    const __m512 half = _mm512_set1_ps(0.5f);
    float best = 100000000.0f;
    endpoint_pair pair{0, 1};
    for (int i = 0; i < 15; ++i) {
        if (!(b.candidates >> i & 1)) continue;
        const __mmask16 lanes = static_cast<__mmask16>(b.candidates & ~((2u << i) - 1) & 0xFFFFu);
        if (!lanes) continue;
        const __m512 my = _mm512_mul_ps(_mm512_add_ps(_mm512_set1_ps(b.y[i]), y), half);
        const __m512 mcb = _mm512_mul_ps(_mm512_add_ps(_mm512_set1_ps(b.cb[i]), cb), half);
        const __m512 mcr = _mm512_mul_ps(_mm512_add_ps(_mm512_set1_ps(b.cr[i]), cr), half);
        __m512 sum = _mm512_setzero_ps();
        bool hopeless = false;
        for (int p = 0; p < 16; ++p) {
            const __m512 dy = _mm512_sub_ps(_mm512_set1_ps(b.y[p]), my);
            const __m512 dcb = _mm512_sub_ps(_mm512_set1_ps(b.cb[p]), mcb);
            const __m512 dcr = _mm512_sub_ps(_mm512_set1_ps(b.cr[p]), mcr);
            const __m512 dm =
                _mm512_add_ps(_mm512_add_ps(_mm512_mul_ps(dy, dy), _mm512_mul_ps(dcb, dcb)),
                              _mm512_mul_ps(dcr, dcr));
            __m512 nearest = min16(_mm512_set1_ps(dist[p][i]), _mm512_load_ps(dist[p]));
            nearest = min16(nearest, dm);
            sum = _mm512_add_ps(sum, nearest);
            if ((p & 3) == 3 &&
                (_mm512_cmp_ps_mask(sum, _mm512_set1_ps(best), _CMP_LT_OQ) & lanes) == 0) {
                hopeless = true;
                break;
            }
        }
        if (hopeless) continue;
        alignas(64) float sums[16];
        _mm512_store_ps(sums, sum);
        for (int j = i + 1; j < 16; ++j) {
            if ((lanes >> j & 1) && sums[j] < best) {
                best = sums[j];
                pair = {i, j};
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
