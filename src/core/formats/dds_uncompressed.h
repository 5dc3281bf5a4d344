#pragma once
// Pixel data of the three uncompressed DDS layouts. The 16-bit layouts add an
// ordered-dither offset before cutting each channel down, so smooth gradients
// do not band.
#include <cstdint>

#include "image/image_info.h"

namespace mevra::dds {

// The dither offsets added to every channel before quantising, for a
// dither-matrix value d (0..15).
int offset_a4r4g4b4(float d);
int offset_a1r5g5b5(float d);

// One pixel in each 16-bit layout, for a dither-matrix value d.
uint16_t pack_a4r4g4b4(uint32_t argb, float d);
uint16_t pack_a1r5g5b5(uint32_t argb, float d);

// Writes width × height pixels, top row first, to `out` (4 or 2 bytes each).
void encode_a8r8g8b8(const image_info& img, uint8_t* out);
void encode_a4r4g4b4(const image_info& img, uint8_t* out);
void encode_a1r5g5b5(const image_info& img, uint8_t* out);

}  // namespace mevra::dds
