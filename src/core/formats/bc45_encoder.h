#pragma once
// Encoding one 4 × 4 block of the single- and two-channel layouts: BC4 holds
// one 8-bit channel (masks, roughness, grey images), BC5 two (the X and Y of
// normal maps). Each channel half picks, per block, whichever of the two
// interpolation modes (eight levels, or six plus exact 0 and 255) decodes
// with the smaller squared error.
#include <cstdint>

namespace mevra::dds {

// Eight bytes: two endpoints and sixteen 3-bit level codes for `values`
// (pixel p at x = p % 4, y = p / 4). A block of one value decodes exactly.
void encode_channel_half(const uint8_t values[16], uint8_t out[8]);

// BC4 from the luminance of 16 pixels (0xAARRGGBB, row by row); a grey
// pixel's luminance is its grey value, so grey images are stored as they are.
void encode_bc4_block(const uint32_t pixels[16], uint8_t out[8]);
// BC5: red in the first half, green in the second.
void encode_bc5_block(const uint32_t pixels[16], uint8_t out[16]);

}  // namespace mevra::dds
