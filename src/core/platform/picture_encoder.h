#pragma once
// The encoders behind the JPEG, TIFF and GIF targets. Each one takes a
// platform_bitmap (32-bit ARGB, or 8-bit / 4-bit indexed with its palette) and
// builds the whole file in memory; the caller writes it out safely. On failure
// they return false with a short reason and leave `out` unspecified.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/picture.h"

namespace mevra {

// Baseline JPEG at `quality` (held to 1 … 100). Alpha is dropped.
bool encode_jpeg(const platform_bitmap& bitmap, int quality, std::vector<uint8_t>& out,
                 std::string& error);

// TIFF with 8-bit red, green, blue and unassociated alpha per pixel, whatever
// the bitmap's layout.
bool encode_tiff(const platform_bitmap& bitmap, std::vector<uint8_t>& out, std::string& error);

// Non-interlaced GIF89a with a 256-entry colour table. Only indexed bitmaps
// are taken: the palette and the indices are written as they are (a 16-entry
// palette is padded with opaque black), and the first palette entry with alpha
// 0 becomes the transparent index.
bool encode_gif(const platform_bitmap& bitmap, std::vector<uint8_t>& out, std::string& error);

// Checks that the bitmap's buffers match its size and layout and that every
// index lies inside the palette. Every encoder calls it first.
bool bitmap_is_consistent(const platform_bitmap& bitmap, std::string& error);

// The ARGB colour of pixel `pos` (row-major) of a consistent bitmap.
inline uint32_t bitmap_pixel_argb(const platform_bitmap& bitmap, size_t pos) {
    return bitmap.index_bits == 0 ? bitmap.argb[pos] : bitmap.palette[bitmap.indices[pos]];
}

}  // namespace mevra
