#pragma once
// Questions the image and palette windows ask of an image before touching
// its palette.
#include "image/image_info.h"

namespace mevra {

inline bool is_indexed(const image_info& image) {
    return image.image_type == IMGTYP_256 || image.image_type == IMGTYP_16;
}

// An index that names a real entry of the palette (and of its buffers).
inline bool in_palette(const image_info& image, int pos) {
    return pos >= 0 && pos < image.color_num && static_cast<size_t>(pos) < image.color.size();
}

}  // namespace mevra
