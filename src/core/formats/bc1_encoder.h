#pragma once
// The BC1 (DXT1) block encoder: two 5:6:5 endpoints and a 2-bit code per
// pixel in 8 bytes.
//
// Pixels whose alpha is below 128 are stored transparent, which only the
// 3-colour form of a block can say (endpoint 0 ≤ endpoint 1, code 3). Blocks
// without such pixels always use the 4-colour form (endpoint 0 > endpoint 1),
// so every decoder, including those that read code 3 of a 3-colour block as a
// hole, shows them opaque.
#include <cstdint>

namespace mevra::dds {

// Encodes 16 pixels (row by row, 0xAARRGGBB) into one 8-byte block.
void encode_bc1_block(const uint32_t pixels[16], uint8_t out[8]);

}  // namespace mevra::dds
