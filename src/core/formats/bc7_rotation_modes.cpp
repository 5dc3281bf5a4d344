// Modes 4 and 5: one subset, colour and a single channel on separate lines
// with separate indices. The single channel is alpha, or after a rotation
// R, G or B, whose place in the colour line alpha then takes; mode 4 also
// chooses which of its two index sets (2 and 3 bits) drives the colour.
#include <climits>
#include <cstring>
#include <utility>

#include "formats/bc7_endpoint_fit.h"
#include "formats/bc7_modes.h"

namespace mevra::dds::bc7_modes {
namespace {

using namespace bc7_fit;

struct part {
    line_fit fit;
    uint8_t step[16];
    int index_bits = 2;
};

void fit_part(const pixel4* px, const line_shape& shape, const float e0[4], const float e1[4],
              part& out) {
    fit_line(px, 16, shape, e0, e1, out.fit, out.step);
    out.index_bits = shape.index_bits;
    // Pixel 0 anchors both index sets.
    if (out.step[0] >> (shape.index_bits - 1)) mirror_line(out.fit, shape.index_bits, out.step, 16);
}

void put_steps(bit_writer& w, const part& p) {
    for (int i = 0; i < 16; ++i)
        w.put(p.step[i], i == 0 ? p.index_bits - 1 : p.index_bits);
}

void pack(int mode, int rotation, int selection, const part& colour, const part& single,
          uint8_t out[16]) {
    std::memset(out, 0, 16);
    bit_writer w{out};
    const int colour_bits = mode == 4 ? 5 : 7, single_bits = mode == 4 ? 6 : 8;
    w.put(1u << mode, mode + 1);
    w.put(static_cast<uint32_t>(rotation), 2);
    if (mode == 4) w.put(static_cast<uint32_t>(selection), 1);
    for (int c = 0; c < 3; ++c) {
        w.put(static_cast<uint32_t>(colour.fit.q[0][c]), colour_bits);
        w.put(static_cast<uint32_t>(colour.fit.q[1][c]), colour_bits);
    }
    w.put(static_cast<uint32_t>(single.fit.q[0][0]), single_bits);
    w.put(static_cast<uint32_t>(single.fit.q[1][0]), single_bits);
    // The 2-bit set comes first; in mode 5 both are 2-bit, colour first.
    const bool single_first = mode == 4 && selection == 1;
    put_steps(w, single_first ? single : colour);
    put_steps(w, single_first ? colour : single);
}

}  // namespace

int encode_rotated(const pixel4 px[16], int rotation, bool opaque, unsigned modes, int bound,
                   uint8_t out[16]) {
    pixel4 r[16];
    std::memcpy(r, px, sizeof r);
    if (rotation)
        for (auto& p : r)
            std::swap(p[rotation - 1], p[3]);
    const int opaque_channel = !opaque ? -1 : rotation ? rotation - 1 : 3;
    float c0[4], c1[4], s0[4], s1[4];
    principal_endpoints(r, 16, 0, 3, c0, c1);
    principal_endpoints(r, 16, 3, 1, s0, s1);

    line_shape colour_spec;
    colour_spec.opaque_channel = opaque_channel;
    line_shape single_spec;
    single_spec.first = 3;
    single_spec.count = 1;
    single_spec.opaque_channel = opaque_channel;

    int best = bound;
    int result = INT_MAX;
    if (modes & 1u << 5) {
        colour_spec.colour_bits = 7, colour_spec.index_bits = 2;
        single_spec.alpha_bits = 8, single_spec.index_bits = 2;
        part colour, single;
        fit_part(r, colour_spec, c0, c1, colour);
        if (colour.fit.error < best) {
            fit_part(r, single_spec, s0, s1, single);
            const int error = colour.fit.error + single.fit.error;
            if (error < best) {
                best = result = error;
                pack(5, rotation, 0, colour, single, out);
            }
        }
    }
    if (modes & 1u << 4) {
        colour_spec.colour_bits = 5;
        single_spec.alpha_bits = 6;
        part colour[2], single[2];  // by index bits: 2, 3
        for (int k = 0; k < 2; ++k) {
            colour_spec.index_bits = single_spec.index_bits = 2 + k;
            fit_part(r, colour_spec, c0, c1, colour[k]);
            fit_part(r, single_spec, s0, s1, single[k]);
        }
        for (int selection = 0; selection < 2; ++selection) {
            const part& c = colour[selection];
            const part& s = single[1 - selection];
            const int error = c.fit.error + s.fit.error;
            if (error < best) {
                best = result = error;
                pack(4, rotation, selection, c, s, out);
            }
        }
    }
    return result;
}

}  // namespace mevra::dds::bc7_modes
