#pragma once
// The player's conversion step: a decoded frame (packed bitmap, see
// frame_bitmap.h) into a new ARGB image object.
#include <cstdint>
#include <span>

#include "image/image_info.h"

namespace mevra {

// Converts every pixel to 0xAARRGGBB and places the rows top first:
// - 8 bits: the colour-table entry of the index with alpha 255 (an index
//   beyond the table reads as black);
// - 16 bits (5-5-5, top bit ignored): each channel shifted left by 3, alpha 255;
// - 24 bits (blue, green, red): alpha 255;
// - 32 bits (blue, green, red, fourth byte): the fourth byte is alpha;
// - any other bit count: 0 (transparent black).
// Rows are padded to 4 bytes; a positive height means bottom-up rows. The
// colour table starts `size` bytes into the bitmap and the pixels follow it.
// Returns 0 and replaces `out` with a w × |h| ARGB image, or -1 (out unchanged)
// when the header is unusable or the bytes end before the last row.
int frame_to_argb(std::span<const uint8_t> dib, image_info& out);

}  // namespace mevra
