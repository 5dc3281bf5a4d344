// Ranking the partitions of a block before any of them is fitted: by the
// squared error of each subset's pixels about the subset's mean, a cheap
// stand-in for the fitted error, kept exact in integers.
#include <cstdint>

#include "formats/bc7_modes.h"
#include "formats/bc7_tables.h"

namespace mevra::dds::bc7_modes {
namespace {

// Per pixel and partition: all bits set when the pixel is in that subset,
// else 0. Laid out so that the sums below run over the 64 partitions in
// their inner loops, as masks rather than products, which vectorise without
// a vector multiply.
struct partition_table {
    int32_t in_subset[2][16][64];  // subsets 1 and 2; subset 0 is the rest
};

partition_table make_table(int subsets) {
    partition_table t{};
    for (int p = 0; p < 16; ++p)
        for (int k = 0; k < 64; ++k)
            for (int s = 1; s <= 2; ++s) {
                const int of = subsets == 2 ? (bc7::two_subset_masks[k] >> p & 1)
                                            : bc7::three_subset_maps[k][p] - '0';
                t.in_subset[s - 1][p][k] = of == s ? -1 : 0;
            }
    return t;
}

const partition_table& table_for(int subsets) {
    static const partition_table two = make_table(2), three = make_table(3);
    return subsets == 2 ? two : three;
}

// Sums of subset `s` (1 or 2) over the 64 partitions.
struct subset_sums {
    int32_t n[64], sq[64], sum[4][64];
};

void accumulate(const pixel4 px[16], int channels, const int32_t (*in)[64], subset_sums& out) {
    for (int k = 0; k < 64; ++k) {
        out.n[k] = out.sq[k] = 0;
        for (int c = 0; c < channels; ++c)
            out.sum[c][k] = 0;
    }
    for (int p = 0; p < 16; ++p) {
        int32_t sq = 0;
        for (int c = 0; c < channels; ++c)
            sq += px[p][c] * px[p][c];
        const int32_t* at = in[p];
        for (int k = 0; k < 64; ++k) {
            out.n[k] += at[k] & 1;
            out.sq[k] += at[k] & sq;
        }
        for (int c = 0; c < channels; ++c) {
            const int32_t v = px[p][c];
            for (int k = 0; k < 64; ++k)
                out.sum[c][k] += at[k] & v;
        }
    }
}

}  // namespace

void rank_partitions(const pixel4 px[16], int subsets, int partitions, int channels, int* best,
                     int wanted) {
    const partition_table& table = table_for(subsets);
    subset_sums sums[2];
    accumulate(px, channels, table.in_subset[0], sums[0]);
    if (subsets == 3) accumulate(px, channels, table.in_subset[1], sums[1]);
    int64_t total_sq = 0, total[4] = {0, 0, 0, 0};
    for (int p = 0; p < 16; ++p)
        for (int c = 0; c < channels; ++c) {
            total_sq += px[p][c] * px[p][c];
            total[c] += px[p][c];
        }
    // Subset s's error about its mean is sq_s - |sum_s|² / n_s; each is
    // scaled by the product of all subset sizes, which is divided out when
    // comparing, so that uneven splits get no advantage.
    int64_t scores[64], sizes[64];
    for (int k = 0; k < partitions; ++k) {
        int64_t n[3], sq[3], sum[3][4];
        n[0] = 16, sq[0] = total_sq;
        for (int c = 0; c < channels; ++c)
            sum[0][c] = total[c];
        for (int s = 1; s < subsets; ++s) {
            const subset_sums& from = sums[s - 1];
            n[s] = from.n[k], sq[s] = from.sq[k];
            n[0] -= n[s], sq[0] -= sq[s];
            for (int c = 0; c < channels; ++c) {
                sum[s][c] = from.sum[c][k];
                sum[0][c] -= sum[s][c];
            }
        }
        int64_t score = 0;
        for (int s = 0; s < subsets; ++s) {
            int64_t mean_sq = 0, others = 1;
            for (int c = 0; c < channels; ++c)
                mean_sq += sum[s][c] * sum[s][c];
            for (int t = 0; t < subsets; ++t)
                others *= t == s ? 1 : n[t];
            score += (sq[s] * n[s] - mean_sq) * others;
        }
        scores[k] = score;
        sizes[k] = subsets == 2 ? n[0] * n[1] : n[0] * n[1] * n[2];
    }
    // scores[k] / sizes[k] < scores[j] / sizes[j], exactly (sizes are positive)
    auto lower = [&](int k, int j) { return scores[k] * sizes[j] < scores[j] * sizes[k]; };
    // The best `wanted` in order, kept by insertion; of equal scores the
    // lower partition number comes first.
    int kept = 0;
    for (int k = 0; k < partitions; ++k) {
        if (kept == wanted && !lower(k, best[kept - 1])) continue;
        int at = kept < wanted ? kept++ : kept - 1;
        while (at > 0 && lower(k, best[at - 1])) {
            best[at] = best[at - 1];
            --at;
        }
        best[at] = k;
    }
}

}  // namespace mevra::dds::bc7_modes
