// BC7: one of eight modes per block, each a fixed layout of partition,
// rotation, index selection, endpoints, P-bits and indices, read from the
// least significant bit of the 128-bit block upwards.
#include "formats/bc7_tables.h"
#include "formats/bc_decode.h"

namespace mevra::dds {
namespace {

struct mode_layout {
    int subsets;            // NS
    int partition_bits;     // PB
    int rotation_bits;      // RB
    int selection_bits;     // ISB
    int colour_bits;        // CB, per channel and endpoint
    int alpha_bits;         // AB, per endpoint; 0: alpha is 255
    int endpoint_pbits;     // EPB: one P-bit per endpoint
    int shared_pbits;       // SPB: one P-bit per subset
    int index_bits;         // IB
    int second_index_bits;  // IB2
};

constexpr mode_layout modes[8] = {
    {3, 4, 0, 0, 4, 0, 1, 0, 3, 0}, {2, 6, 0, 0, 6, 0, 0, 1, 3, 0}, {3, 6, 0, 0, 5, 0, 0, 0, 2, 0},
    {2, 6, 0, 0, 7, 0, 1, 0, 2, 0}, {1, 0, 2, 1, 5, 6, 0, 0, 2, 3}, {1, 0, 2, 0, 7, 8, 0, 0, 2, 2},
    {1, 0, 0, 0, 7, 7, 1, 0, 4, 0}, {2, 6, 0, 0, 5, 5, 1, 0, 2, 0},
};

constexpr uint32_t weights2[4] = {0, 21, 43, 64};
constexpr uint32_t weights3[8] = {0, 9, 18, 27, 37, 46, 55, 64};
constexpr uint32_t weights4[16] = {0, 4, 9, 13, 17, 21, 26, 30, 34, 38, 43, 47, 51, 55, 60, 64};

uint32_t weight(int bits, uint32_t index) {
    return bits == 2 ? weights2[index & 3] : bits == 3 ? weights3[index & 7] : weights4[index & 15];
}

class bit_reader {
  public:
    explicit bit_reader(const uint8_t* block) : block_(block) {}
    uint32_t read(int count) {
        uint32_t v = 0;
        for (int i = 0; i < count; ++i, ++pos_)
            if (pos_ < 128) v |= uint32_t{block_[pos_ >> 3] >> (pos_ & 7) & 1u} << i;
        return v;
    }

  private:
    const uint8_t* block_;
    int pos_ = 0;
};

// The stored bits (with the P-bit below them when there is one) widened to
// 8 bits by repeating the top bits.
uint32_t widen(uint32_t value, int bits) {
    return (value << (8 - bits) | value >> (2 * bits - 8)) & 255;
}

int subset_of(const mode_layout& m, uint32_t partition, int pixel) {
    if (m.subsets == 2) return bc7::two_subset_masks[partition] >> pixel & 1;
    if (m.subsets == 3) return bc7::three_subset_maps[partition][pixel] - '0';
    return 0;
}

bool is_anchor(const mode_layout& m, uint32_t partition, int pixel) {
    if (pixel == 0) return true;
    if (m.subsets == 2) return pixel == bc7::two_subset_anchor[partition];
    if (m.subsets == 3)
        return pixel == bc7::three_subset_anchor2[partition] ||
               pixel == bc7::three_subset_anchor3[partition];
    return false;
}

// Reads 16 indices of `bits` bits; an anchor pixel's top bit is implied 0
// and not stored.
void read_indices(bit_reader& in, const mode_layout& m, uint32_t partition, int bits,
                  uint32_t out[16]) {
    for (int p = 0; p < 16; ++p)
        out[p] = in.read(is_anchor(m, partition, p) ? bits - 1 : bits);
}

uint32_t interpolate(uint32_t e0, uint32_t e1, uint32_t w) {
    return ((64 - w) * e0 + w * e1 + 32) >> 6;
}

}  // namespace

void decode_bc7_block(const uint8_t block[16], uint32_t out[16]) {
    int mode = 0;
    while (mode < 8 && !(block[0] >> mode & 1))
        ++mode;
    if (mode == 8) {  // reserved mode byte
        for (int p = 0; p < 16; ++p)
            out[p] = 0;
        return;
    }
    const mode_layout& m = modes[mode];
    bit_reader in(block);
    in.read(mode + 1);
    const uint32_t partition = in.read(m.partition_bits);
    const uint32_t rotation = in.read(m.rotation_bits);
    const uint32_t selection = in.read(m.selection_bits);

    // endpoint[subset × 2 + e][channel], channels R, G, B, A.
    const int endpoints = m.subsets * 2;
    uint32_t endpoint[6][4] = {};
    for (int c = 0; c < 3; ++c)
        for (int e = 0; e < endpoints; ++e)
            endpoint[e][c] = in.read(m.colour_bits);
    for (int e = 0; e < endpoints; ++e)
        endpoint[e][3] = in.read(m.alpha_bits);

    uint32_t pbit[6] = {};
    bool has_pbit = false;
    if (m.endpoint_pbits) {
        for (int e = 0; e < endpoints; ++e)
            pbit[e] = in.read(1);
        has_pbit = true;
    } else if (m.shared_pbits) {
        for (int s = 0; s < m.subsets; ++s)
            pbit[2 * s] = pbit[2 * s + 1] = in.read(1);
        has_pbit = true;
    }
    for (int e = 0; e < endpoints; ++e) {
        const int pb = has_pbit ? 1 : 0;
        for (int c = 0; c < 3; ++c)
            endpoint[e][c] = widen(endpoint[e][c] << pb | pbit[e], m.colour_bits + pb);
        endpoint[e][3] =
            m.alpha_bits ? widen(endpoint[e][3] << pb | pbit[e], m.alpha_bits + pb) : 255;
    }

    uint32_t primary[16], secondary[16] = {};
    read_indices(in, m, partition, m.index_bits, primary);
    if (m.second_index_bits) read_indices(in, m, 0, m.second_index_bits, secondary);

    // With two index sets the selection bit says which one drives colour;
    // alpha takes the other.
    const bool swap_sets = m.second_index_bits && selection;
    const uint32_t* colour_index = swap_sets ? secondary : primary;
    const uint32_t* alpha_index = m.second_index_bits && !selection ? secondary : primary;
    const int colour_bits = swap_sets ? m.second_index_bits : m.index_bits;
    const int alpha_bits = m.second_index_bits && !selection ? m.second_index_bits : m.index_bits;

    for (int p = 0; p < 16; ++p) {
        const int s = subset_of(m, partition, p);
        const uint32_t* e0 = endpoint[2 * s];
        const uint32_t* e1 = endpoint[2 * s + 1];
        const uint32_t wc = weight(colour_bits, colour_index[p]);
        const uint32_t wa = weight(alpha_bits, alpha_index[p]);
        uint32_t rgba[4] = {interpolate(e0[0], e1[0], wc), interpolate(e0[1], e1[1], wc),
                            interpolate(e0[2], e1[2], wc), interpolate(e0[3], e1[3], wa)};
        if (rotation) {
            const uint32_t t = rgba[3];
            rgba[3] = rgba[rotation - 1];
            rgba[rotation - 1] = t;
        }
        out[p] = rgba[3] << 24 | rgba[0] << 16 | rgba[1] << 8 | rgba[2];
    }
}

}  // namespace mevra::dds
