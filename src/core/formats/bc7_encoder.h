#pragma once
// The BC7 block encoder. Every block is tried in mode 6 (one line through
// RGBA, 16 steps). Blocks that are not fully opaque are also tried in mode 5
// (colour and alpha on separate lines, 4 steps each); opaque blocks that one
// line does not fit closely, in mode 1 (two subsets split by the two most
// promising of the 64 partitions, 8 steps each). The try closest to the
// pixels is kept. Fully opaque blocks keep alpha 255 exactly.
#include <cstdint>

namespace mevra::dds {

// Encodes 16 pixels (row by row, 0xAARRGGBB) into one 16-byte block.
void encode_bc7_block(const uint32_t pixels[16], uint8_t out[16]);

}  // namespace mevra::dds
