#pragma once
// Fitting one line of a BC7 block (a subset of a partitioned mode, or the
// colour or the single channel of modes 4 and 5) with the endpoints as the
// block stores them: a few bits per channel, maybe a P-bit below them.
//
// The line starts from the principal axis; then, in turn, every pixel takes
// its nearest step and every channel of both endpoints the stored values
// (and P-bits) that reproduce the pixels best with those steps, searched
// among the neighbours of the least-squares solution.
#include <cstdint>

#include "formats/bc7_line_fit.h"

namespace mevra::dds::bc7_fit {

enum class pbit_kind { none, shared, unique };

struct line_shape {
    int first = 0, count = 3;  // the channels fitted, of R, G, B, A
    int colour_bits = 7;       // stored bits of R, G and B
    int alpha_bits = 0;        // stored bits of A
    pbit_kind pbits = pbit_kind::none;
    int index_bits = 2;
    int opaque_channel = -1;  // a channel fitted that must stay 255 (both P-bits set)
};

struct line_fit {
    int q[2][4] = {};  // stored endpoint values of the channels fitted
    int p[2] = {0, 0};  // P-bits (equal when shared; unused without)
    int error = 0;      // squared error over the channels fitted
};

// An 8-bit channel value as a decoder widens `bits` stored bits, plus the
// P-bit below them when p >= 0.
inline int dequantize(int q, int p, int bits) {
    if (p >= 0) q = q << 1 | p, ++bits;
    return (q << (8 - bits) | q >> (2 * bits - 8)) & 255;
}

const int* weights_for(int index_bits);

// Fits the n pixels starting from the float endpoints e0 and e1 (of the
// channels fitted); returns the squared error and fills the steps.
int fit_line(const pixel4* px, int n, const line_shape& shape, const float e0[4], const float e1[4],
             line_fit& out, uint8_t* step);

// Exchanges the endpoints and mirrors the steps, which decodes the same:
// done when the anchor pixel's step has its top bit set, which is not stored.
void mirror_line(line_fit& fit, int index_bits, uint8_t* step, int n);

}  // namespace mevra::dds::bc7_fit
