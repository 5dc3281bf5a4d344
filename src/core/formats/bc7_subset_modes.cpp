// Modes 0, 1, 2, 3, 6 and 7: up to three subsets by partition, one line per
// subset through RGB (or RGBA in modes 6 and 7), one index per pixel.
#include <climits>
#include <cstring>

#include "formats/bc7_endpoint_fit.h"
#include "formats/bc7_modes.h"
#include "formats/bc7_tables.h"

namespace mevra::dds::bc7_modes {
namespace {

using namespace bc7_fit;

struct mode_info {
    int subsets, partition_bits, colour_bits, alpha_bits;
    pbit_kind pbits;
    int index_bits;
};

// Indexed by mode; 4 and 5 are encoded elsewhere.
constexpr mode_info mode_table[8] = {
    {3, 4, 4, 0, pbit_kind::unique, 3}, {2, 6, 6, 0, pbit_kind::shared, 3},
    {3, 6, 5, 0, pbit_kind::none, 2},   {2, 6, 7, 0, pbit_kind::unique, 2},
    {1, 0, 5, 6, pbit_kind::none, 3},   {1, 0, 7, 8, pbit_kind::none, 2},
    {1, 0, 7, 7, pbit_kind::unique, 4}, {2, 6, 5, 5, pbit_kind::unique, 2},
};

int subset_of(int subsets, int partition, int pixel) {
    if (subsets == 2) return bc7::two_subset_masks[partition] >> pixel & 1;
    if (subsets == 3) return bc7::three_subset_maps[partition][pixel] - '0';
    return 0;
}

// The anchor pixels of the subsets: their index's top bit is not stored.
void anchors_of(int subsets, int partition, int anchor[3]) {
    anchor[0] = 0;
    anchor[1] = subsets == 2 ? bc7::two_subset_anchor[partition]
                             : bc7::three_subset_anchor2[partition];
    anchor[2] = bc7::three_subset_anchor3[partition];
}

}  // namespace

void prepare_split(const pixel4 px[16], int subsets, int partition, int channels, split& out) {
    out.subsets = subsets;
    out.partition = partition;
    out.channels = channels;
    out.count[0] = out.count[1] = out.count[2] = 0;
    out.alpha_loss = 0;
    for (int p = 0; p < 16; ++p) {
        const int s = subset_of(subsets, partition, p);
        out.subset_of[p] = static_cast<uint8_t>(s);
        out.member_index[p] = static_cast<uint8_t>(out.count[s]);
        std::memcpy(out.members[s][out.count[s]++], px[p], sizeof(pixel4));
        const int gap = 255 - px[p][3];
        out.alpha_loss += gap * gap;
    }
    for (int s = 0; s < subsets; ++s)
        principal_endpoints(out.members[s], out.count[s], 0, channels, out.e0[s], out.e1[s]);
}

int encode_split_mode(const split& s, int mode, bool opaque, int bound, uint8_t out[16]) {
    const mode_info& m = mode_table[mode];
    line_shape shape;
    shape.count = m.alpha_bits ? 4 : 3;
    shape.colour_bits = m.colour_bits;
    shape.alpha_bits = m.alpha_bits;
    shape.pbits = m.pbits;
    shape.index_bits = m.index_bits;
    shape.opaque_channel = opaque && m.alpha_bits ? 3 : -1;

    line_fit fit[3];
    uint8_t step[3][16];
    int error = m.alpha_bits ? 0 : s.alpha_loss;
    for (int k = 0; k < s.subsets; ++k) {
        if (error >= bound) return INT_MAX;
        error += fit_line(s.members[k], s.count[k], shape, s.e0[k], s.e1[k], fit[k], step[k]);
    }
    if (error >= bound) return INT_MAX;

    int anchor[3];
    anchors_of(s.subsets, s.partition, anchor);
    for (int k = 0; k < s.subsets; ++k)
        if (step[k][s.member_index[anchor[k]]] >> (m.index_bits - 1))
            mirror_line(fit[k], m.index_bits, step[k], s.count[k]);

    std::memset(out, 0, 16);
    bit_writer w{out};
    w.put(1u << mode, mode + 1);
    w.put(static_cast<uint32_t>(s.partition), m.partition_bits);
    for (int c = 0; c < shape.count; ++c)
        for (int k = 0; k < s.subsets; ++k)
            for (int e = 0; e < 2; ++e)
                w.put(static_cast<uint32_t>(fit[k].q[e][c]), c < 3 ? m.colour_bits : m.alpha_bits);
    for (int k = 0; k < s.subsets; ++k) {
        if (m.pbits == pbit_kind::unique) {
            w.put(static_cast<uint32_t>(fit[k].p[0]), 1);
            w.put(static_cast<uint32_t>(fit[k].p[1]), 1);
        } else if (m.pbits == pbit_kind::shared) {
            w.put(static_cast<uint32_t>(fit[k].p[0]), 1);
        }
    }
    for (int p = 0; p < 16; ++p) {
        const int k = s.subset_of[p];
        const bool is_anchor = p == anchor[0] || (s.subsets > 1 && p == anchor[1]) ||
                               (s.subsets > 2 && p == anchor[2]);
        w.put(step[k][s.member_index[p]], is_anchor ? m.index_bits - 1 : m.index_bits);
    }
    return error;
}

}  // namespace mevra::dds::bc7_modes
