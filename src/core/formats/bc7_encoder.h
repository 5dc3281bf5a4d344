#pragma once
// The BC7 block encoder. A block of one colour is written in mode 5 with
// endpoints chosen to decode to exactly that colour. Any other block is fitted
// in the modes that suit it (opaque blocks: 0 to 6, blocks with alpha: 4 to
// 7), partitioned modes over the few partitions ranked best, and the mode
// whose decoded pixels are closest (squared RGBA error) is kept. Fully opaque
// blocks keep alpha 255 exactly.
#include <cstdint>

namespace mevra::dds {

// Encodes 16 pixels (row by row, 0xAARRGGBB) into one 16-byte block.
void encode_bc7_block(const uint32_t pixels[16], uint8_t out[16]);

// The same in one mode (0..7) alone, for checking each mode on its own;
// returns the squared RGBA error of the block written.
int encode_bc7_block_in_mode(const uint32_t pixels[16], int mode, uint8_t out[16]);

}  // namespace mevra::dds
