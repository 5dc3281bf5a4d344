#pragma once
// Runs a per-block encoder over a whole image, for every block layout:
// blocks left to right, block rows from the top, rows shared among threads.
#include <cstddef>
#include <cstdint>
#include <functional>

#include "image/image_info.h"

namespace mevra::dds {

// Encodes 16 pixels (row by row, 0xAARRGGBB) into one block at `out`.
using block_encoder = std::function<void(const uint32_t* pixels, uint8_t* out)>;

// Encodes the image, whose width and height must be multiples of 4, into
// (width / 4) × (height / 4) blocks of `block_bytes` at `out`. Blocks are
// independent, so the bytes are the same for any number of threads
// (0: one per processor).
void encode_block_image(const image_info& img, const block_encoder& encode, size_t block_bytes,
                        int threads, uint8_t* out);

}  // namespace mevra::dds
