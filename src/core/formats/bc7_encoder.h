#pragma once
// The BC7 block encoder. Every block is tried in mode 6 (one line through
// RGBA, 16 steps); blocks that are not fully opaque are also tried in mode 5
// (colour and alpha on separate lines, 4 steps each), and the one closer to
// the pixels is kept. Fully opaque blocks keep alpha 255 exactly.
#include <cstdint>

namespace mevra::dds {

// Encodes 16 pixels (row by row, 0xAARRGGBB) into one 16-byte block.
void encode_bc7_block(const uint32_t pixels[16], uint8_t out[16]);

}  // namespace mevra::dds
