#pragma once
// The fixed tables of BC7: which subset each pixel of a partition belongs to,
// and the anchor pixel of every subset after the first (subset 0 always
// anchors at pixel 0).
#include <cstdint>

namespace mevra::dds::bc7 {

extern const uint16_t two_subset_masks[64];
extern const char* const three_subset_maps[64];
extern const uint8_t two_subset_anchor[64];
extern const uint8_t three_subset_anchor2[64];
extern const uint8_t three_subset_anchor3[64];

}  // namespace mevra::dds::bc7
