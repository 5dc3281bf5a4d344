#pragma once
// Fitting one BC7 subset: pixels as 4 channels (R, G, B, A), of which a mode
// fits a run [first, first + count) on one line between two endpoints.
#include <cstdint>

namespace mevra::dds::bc7_fit {

using pixel4 = int[4];

inline constexpr int weights2[4] = {0, 21, 43, 64};
inline constexpr int weights3[8] = {0, 9, 18, 27, 37, 46, 55, 64};
inline constexpr int weights4[16] = {0, 4, 9, 13, 17, 21, 26, 30, 34, 38, 43, 47, 51, 55, 60, 64};

// A step between two decoded endpoint values, as every decoder computes it.
inline int interpolate(int e0, int e1, int weight) {
    return ((64 - weight) * e0 + weight * e1 + 32) >> 6;
}

// Endpoints along the principal axis through the mean of the n pixels,
// reaching the outermost of them.
void principal_endpoints(const pixel4* px, int n, int first, int count, float e0[4], float e1[4]);

// Picks for every pixel the step between the decoded endpoints nearest to it
// (the step its projection onto the line rounds to, or a neighbour).
// Returns the squared error over the channels fitted.
int assign_steps(const pixel4* px, int n, int first, int count, const int end0[4],
                 const int end1[4], const int* weights, int steps, uint8_t* step);

// The endpoints that best reproduce the pixels with the steps as chosen, by
// least squares; false when the steps do not pin both down.
bool refit_endpoints(const pixel4* px, int n, int first, int count, const uint8_t* step,
                     const int* weights, float e0[4], float e1[4]);

// Fills the 128 bits of a block from bit 0 upwards; the block starts zeroed.
struct bit_writer {
    uint8_t* out;
    int pos = 0;
    void put(uint32_t value, int bits) {
        uint64_t v = value & ((uint64_t{1} << bits) - 1);
        v <<= pos & 7;
        for (int at = pos >> 3; v; ++at, v >>= 8)
            out[at] = static_cast<uint8_t>(out[at] | (v & 255));
        pos += bits;
    }
};

}  // namespace mevra::dds::bc7_fit
