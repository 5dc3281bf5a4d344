#pragma once
// Turning an image object into the bitmap the JPEG, TIFF and GIF encoders and
// the clipboard take.
#include <string>

#include "image/image_info.h"
#include "platform/picture.h"

namespace mevra {

// The bitmap for the image's own pixel type: 32-bit ARGB for IMGTYP_RGB,
// 8-bit indexed with 256 palette entries for IMGTYP_256, 4-bit indexed with 16
// entries for IMGTYP_16. Palette slots at or above color_num are opaque black;
// an index is cut to the bitmap's bit depth. An empty image gives an empty
// bitmap, which every encoder refuses.
platform_bitmap make_platform_bitmap(const image_info& image);

// The 8-bit or 4-bit indexed bitmap a GIF is written from. An indexed image
// goes as it is. A true-colour image is reduced to 256 colours on a copy with
// the current reduction settings; its fully transparent pixels get a palette
// slot of their own with alpha 0, and every other slot is opaque. Returns
// false with a reason when the reduction was refused.
bool make_gif_bitmap(const image_info& image, platform_bitmap& out, std::string& error);

}  // namespace mevra
