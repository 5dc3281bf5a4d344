#pragma once
// Decoding one 4 × 4 block of the block-compressed texture formats BC1 to BC5
// and BC7 to ARGB. Pixels come out as 0xAARRGGBB, 16 of them, row by row
// (pixel p is at x = p % 4, y = p / 4 of the block).
//
// The arithmetic follows the formats' published definitions: 5:6:5 endpoints
// widened by bit replication, the interpolated colours and alpha levels
// rounded to the nearest 8-bit value, BC7 weights out of 64 with +32 rounding.
#include <cstdint>

namespace mevra::dds {

// BC1 (DXT1). When the first endpoint is not above the second the block has
// three colours and index 3 is transparent black (0x00000000).
void decode_bc1_block(const uint8_t block[8], uint32_t out[16]);
// The four colours of a BC1 colour half with endpoints e0 and e1 (5:6:5), as
// the block decoders show them; in a three-colour half entry 3 is transparent
// black. The BC1 encoder scores its choices against these very colours.
void bc1_palette(uint32_t e0, uint32_t e1, bool four_colour, uint32_t out[4]);
// The eight levels of an interpolated channel (BC3 alpha, BC4, each half of
// BC5) with endpoints v0 and v1: eight levels when v0 > v1, else six plus 0
// and 255. The BC4/BC5 encoder scores its choices against these very levels.
void channel_levels(uint32_t v0, uint32_t v1, uint32_t out[8]);
// BC2 (DXT3): explicit 4-bit alpha, then a four-colour BC1 colour half.
void decode_bc2_block(const uint8_t block[16], uint32_t out[16]);
// BC3 (DXT5): interpolated alpha, then a four-colour BC1 colour half.
void decode_bc3_block(const uint8_t block[16], uint32_t out[16]);
// BC4 (ATI1), unsigned: one channel shown as grey, R = G = B, alpha 255.
void decode_bc4_block(const uint8_t block[8], uint32_t out[16]);
// BC5 (ATI2), unsigned: red from the first half, green from the second, blue 0, alpha 255.
void decode_bc5_block(const uint8_t block[16], uint32_t out[16]);
// BC7, all eight modes. A block whose mode byte is 0 is reserved and decodes
// to transparent black.
void decode_bc7_block(const uint8_t block[16], uint32_t out[16]);

}  // namespace mevra::dds
