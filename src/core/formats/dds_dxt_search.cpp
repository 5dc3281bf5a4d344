#include "formats/dds_dxt_search.h"

namespace mevra::dds {

bool search_supported(search_kind kind) {
    switch (kind) {
        case search_kind::plain:
        case search_kind::pruned:
            return true;
#if defined(__x86_64__) || defined(__i386__)
        case search_kind::avx2:
            return __builtin_cpu_supports("avx2");
        case search_kind::avx512:
            return __builtin_cpu_supports("avx512f");
#else
        default:
            return false;
#endif
    }
    return false;
}

search_kind fastest_search() {
    static const search_kind kind = search_supported(search_kind::avx512) ? search_kind::avx512
                                    : search_supported(search_kind::avx2) ? search_kind::avx2
                                                                          : search_kind::pruned;
    return kind;
}

endpoint_pair search_endpoints(const dxt_block& b, search_kind kind) {
    switch (kind) {
        case search_kind::pruned:
            return search_endpoints_pruned(b);
        case search_kind::avx2:
            return search_endpoints_avx2(b);
        case search_kind::avx512:
            return search_endpoints_avx512(b);
        case search_kind::plain:
            break;
    }
    return search_endpoints_plain(b);
}

float winning_error_bound(const dxt_block& b) {
    int darkest = -1, brightest = -1;
    for (int p = 0; p < 16; ++p) {
        if (!(b.candidates >> p & 1)) continue;
        if (darkest < 0 || b.y[p] < b.y[darkest]) darkest = p;
        if (brightest < 0 || b.y[p] > b.y[brightest]) brightest = p;
    }
    if (darkest < 0) return 100000000.0f;
    if (darkest == brightest) {
        // Every candidate has the same luma: any other candidate will do.
        brightest = -1;
        for (int p = 0; p < 16 && brightest < 0; ++p)
            if ((b.candidates >> p & 1) && p != darkest) brightest = p;
        if (brightest < 0) return 100000000.0f;
    }
    return pair_error(b, darkest, brightest);
}

endpoint_pair search_endpoints_pruned(const dxt_block& b) {
    // Distances between the block's own pixels are needed by every pair; the
    // formula is symmetric to the bit, so one table serves both endpoints.
    float dist[16][16];
    for (int p = 0; p < 16; ++p)
        for (int q = 0; q < 16; ++q)
            dist[p][q] = dist_ycc(b.y[p], b.cb[p], b.cr[p], b.y[q], b.cb[q], b.cr[q]);

    const float bound = winning_error_bound(b);
    float best = 100000000.0f;
    endpoint_pair pair{0, 1};
    for (int i = 0; i < 15; ++i) {
        if (!(b.candidates >> i & 1)) continue;
        for (int j = i + 1; j < 16; ++j) {
            if (!(b.candidates >> j & 1)) continue;
            const float my = (b.y[i] + b.y[j]) * 0.5f;
            const float mcb = (b.cb[i] + b.cb[j]) * 0.5f;
            const float mcr = (b.cr[i] + b.cr[j]) * 0.5f;
            float error = 0.0f;
            bool complete = true;
            for (int p0 = 0; p0 < 16; p0 += 4) {
                // Four terms at a time without a branch, so the compiler can
                // work them out side by side; they are added in pixel order.
                float nearest[4];
                for (int k = 0; k < 4; ++k) {
                    const int p = p0 + k;
                    const float ends = dist[p][j] < dist[p][i] ? dist[p][j] : dist[p][i];
                    const float dm = dist_ycc(b.y[p], b.cb[p], b.cr[p], my, mcb, mcr);
                    nearest[k] = dm < ends ? dm : ends;
                }
                for (int k = 0; k < 4; ++k)
                    error += nearest[k];
                // Terms are never negative, so the sum can only grow: once it
                // reaches the best, or passes the error of a pair known to
                // exist, this pair cannot be the winner.
                if (!(error < best) || error > bound) {
                    complete = false;
                    break;
                }
            }
            if (complete && error < best) {
                best = error;
                pair = {i, j};
            }
        }
    }
    return pair;
}

}  // namespace mevra::dds
