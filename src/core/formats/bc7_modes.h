#pragma once
// The BC7 modes as the block encoder tries them. Each call fits a block (or
// its subsets) in one mode, writes the 16 bytes and returns the squared
// error, summed over R, G, B and A, of the pixels the block decodes to.
#include <cstdint>

#include "formats/bc7_line_fit.h"

namespace mevra::dds::bc7_modes {

using bc7_fit::pixel4;

// A block split into the subsets of a partition, with each subset's
// principal-axis endpoints over the first `channels` channels; shared by
// the modes that use the same partition.
struct split {
    int subsets = 1, partition = 0, channels = 3;
    int count[3] = {};
    pixel4 members[3][16];
    uint8_t subset_of[16];
    uint8_t member_index[16];  // where each pixel is among its subset's members
    float e0[3][4], e1[3][4];
    int alpha_loss = 0;  // what alpha decoded as 255 would cost
};

void prepare_split(const pixel4 px[16], int subsets, int partition, int channels, split& out);

// Modes 0, 1, 2, 3, 6 and 7 (one index per pixel), on a split with the
// mode's subset count. An opaque block keeps alpha 255 exactly in modes 6
// and 7. Returns INT_MAX, leaving `out` as it was, when the error reaches
// `bound`.
int encode_split_mode(const split& s, int mode, bool opaque, int bound, uint8_t out[16]);

// Modes 4 and 5 (colour and one channel on separate indices) with the given
// channel rotation (0: none; 1, 2, 3: alpha exchanged with R, G or B):
// mode 5, and mode 4 with either index set on colour, each when its bit is
// set in `modes` (1 << 4, 1 << 5). Writes the best of them to `out` when it
// is below `bound` and returns its error, else INT_MAX.
int encode_rotated(const pixel4 px[16], int rotation, bool opaque, unsigned modes, int bound,
                   uint8_t out[16]);

// Ranks the first `partitions` partitions of `subsets` subsets by the
// squared error of each subset's pixels (first `channels` channels) about
// the subset's mean, and writes the `wanted` best, best first.
void rank_partitions(const pixel4 px[16], int subsets, int partitions, int channels, int* best,
                     int wanted);

}  // namespace mevra::dds::bc7_modes
