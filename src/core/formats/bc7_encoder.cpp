#include "formats/bc7_encoder.h"

#include "formats/bc7_line_fit.h"
#include "formats/bc7_modes.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

namespace mevra::dds {
namespace {

using namespace bc7_fit;
using namespace bc7_modes;

// ---- one colour: mode 5 with endpoints chosen so that step 1 decodes to
// exactly the wanted value ----

// For every 8-bit value, the 7-bit endpoints (q0, q1) whose first inner step
// (weight 21) decodes to it, the pair nearest each other.
struct single_colour_pair {
    uint8_t q0, q1;
};

const single_colour_pair* single_colour_table() {
    static const auto table = [] {
        std::array<single_colour_pair, 256> t{};
        int spread[256];
        std::fill(spread, spread + 256, INT_MAX);
        for (int q0 = 0; q0 < 128; ++q0)
            for (int q1 = 0; q1 < 128; ++q1) {
                const int v = interpolate(q0 << 1 | q0 >> 6, q1 << 1 | q1 >> 6, weights2[1]);
                const int d = q0 > q1 ? q0 - q1 : q1 - q0;
                if (d < spread[v]) {
                    spread[v] = d;
                    t[static_cast<size_t>(v)] = {static_cast<uint8_t>(q0), static_cast<uint8_t>(q1)};
                }
            }
        return t;
    }();
    return table.data();
}

// A block of one colour, decoding exactly to it whatever its RGBA value: the
// colour through the table, alpha stored as both 8-bit endpoints.
void encode_solid_mode5(const int rgba[4], uint8_t out[16]) {
    const single_colour_pair* table = single_colour_table();
    std::memset(out, 0, 16);
    bit_writer w{out};
    w.put(1u << 5, 6);
    w.put(0, 2);  // no channel rotation
    for (int c = 0; c < 3; ++c) {
        w.put(table[rgba[c]].q0, 7);
        w.put(table[rgba[c]].q1, 7);
    }
    w.put(static_cast<uint32_t>(rgba[3]), 8);
    w.put(static_cast<uint32_t>(rgba[3]), 8);
    for (int p = 0; p < 16; ++p)
        w.put(1, p == 0 ? 1 : 2);  // every colour step 1
    // alpha steps all 0
}

// The search runs in two rounds, the second only for blocks the first
// leaves far from their pixels (time goes where the error is):
//  1. mode 6; opaque blocks that it leaves more than a trace of error
//     (squared error over the block above 8) also try modes 1 and 3 on the
//     best-ranked two-subset partition; blocks with alpha try mode 7 on it
//     and modes 4 and 5 without rotation.
//  2. when the error is still above 96 (a mean squared error of 2 per
//     channel): the next three two-subset partitions, the three-subset modes
//     0 and 2 on their best two, and modes 4 and 5 with each rotation.
constexpr int trace_error = 8;
constexpr int large_error = 96;
constexpr int two_subset_tries = 4;
constexpr int three_subset_tries = 2;

// The best block so far and its squared RGBA error.
struct best_block {
    uint8_t* out;
    int error = INT_MAX;
    void offer(int candidate_error, const uint8_t* candidate) {
        if (candidate_error < error) {
            error = candidate_error;
            std::memcpy(out, candidate, 16);
        }
    }
};

class mode_search {
  public:
    mode_search(const int px[16][4], bool opaque, unsigned modes, uint8_t out[16])
        : px_(px), opaque_(opaque), modes_(modes), best_{out} {}

    int error() const { return best_.error; }

    void one_subset() {
        if (!(modes_ & 1u << 6)) return;
        prepare_split(px_, 1, 0, 4, split_);
        best_.offer(encode_split_mode(split_, 6, opaque_, best_.error, candidate_), candidate_);
    }

    // The ranked-th best two-subset partition, in the modes allowed: 1 and 3
    // ranked on RGB, 7 on RGBA.
    void two_subsets(int ranked) {
        for (int channels : {3, 4}) {
            const unsigned wanted = modes_ & (channels == 3 ? (1u << 1 | 1u << 3) : 1u << 7);
            if (!wanted) continue;
            int* order = two_subset_order_[channels - 3];
            if (ranked == 0) rank_partitions(px_, 2, 64, channels, order, two_subset_tries);
            prepare_split(px_, 2, order[ranked], channels, split_);
            for (int mode : {1, 3, 7})
                if (wanted & 1u << mode)
                    best_.offer(encode_split_mode(split_, mode, opaque_, best_.error, candidate_),
                                candidate_);
        }
    }

    // Mode 2 on its best partitions of all 64, mode 0 on its best of the
    // first 16 (the partitions its 4-bit number reaches).
    void three_subsets() {
        for (int mode : {2, 0}) {
            if (!(modes_ & 1u << mode)) continue;
            int ranked[three_subset_tries];
            rank_partitions(px_, 3, mode == 2 ? 64 : 16, 3, ranked, three_subset_tries);
            for (int k : ranked) {
                prepare_split(px_, 3, k, 3, split_);
                best_.offer(encode_split_mode(split_, mode, opaque_, best_.error, candidate_),
                            candidate_);
            }
        }
    }

    void rotated(int first, int last) {
        if (!(modes_ & (1u << 4 | 1u << 5))) return;
        for (int rotation = first; rotation <= last; ++rotation)
            best_.offer(encode_rotated(px_, rotation, opaque_, modes_, best_.error, candidate_),
                        candidate_);
    }

  private:
    const int (*px_)[4];
    bool opaque_;
    unsigned modes_;
    best_block best_;
    uint8_t candidate_[16];
    split split_;
    int two_subset_order_[2][two_subset_tries];
};

// Fits the block in the modes allowed (bit m of `modes` for mode m) and
// keeps the one whose decoded pixels are closest. `every_try` skips the
// thresholds above.
int encode_in_modes(const int px[16][4], bool opaque, unsigned modes, bool every_try,
                    uint8_t out[16]) {
    mode_search search(px, opaque, modes, out);
    search.one_subset();
    if (search.error() == 0 || (opaque && search.error() <= trace_error && !every_try))
        return search.error();
    search.two_subsets(0);
    // With alpha 255 throughout there is nothing to gain from alpha apart.
    if (!opaque) search.rotated(0, 0);
    if (search.error() <= large_error && !every_try) return search.error();
    for (int ranked = 1; ranked < two_subset_tries; ++ranked)
        search.two_subsets(ranked);
    search.three_subsets();
    search.rotated(1, 3);
    if (opaque && every_try) search.rotated(0, 0);
    return search.error();
}

void unpack(const uint32_t pixels[16], int px[16][4], bool& opaque) {
    opaque = true;
    for (int p = 0; p < 16; ++p) {
        px[p][0] = static_cast<int>(pixels[p] >> 16 & 255);
        px[p][1] = static_cast<int>(pixels[p] >> 8 & 255);
        px[p][2] = static_cast<int>(pixels[p] & 255);
        px[p][3] = static_cast<int>(pixels[p] >> 24);
        opaque = opaque && px[p][3] == 255;
    }
}

}  // namespace

void encode_bc7_block(const uint32_t pixels[16], uint8_t out[16]) {
    int px[16][4];
    bool opaque;
    unpack(pixels, px, opaque);
    bool solid = true;
    for (int p = 1; p < 16; ++p)
        solid = solid && std::equal(px[p], px[p] + 4, px[0]);
    if (solid) {
        encode_solid_mode5(px[0], out);
        return;
    }
    // Modes 0 to 3 have no alpha; mode 7 is for blocks with some.
    const unsigned modes = opaque ? 0x7Fu : 0xF0u;
    encode_in_modes(px, opaque, modes, false, out);
}

int encode_bc7_block_in_mode(const uint32_t pixels[16], int mode, uint8_t out[16]) {
    int px[16][4];
    bool opaque;
    unpack(pixels, px, opaque);
    return encode_in_modes(px, opaque, 1u << mode, true, out);
}

}  // namespace mevra::dds
