#include "platform/picture_encoder.h"

#include "platform/image_limits.h"

namespace mevra {

bool bitmap_is_consistent(const platform_bitmap& bitmap, std::string& error) {
    if (!image_size_ok(bitmap.width, bitmap.height)) {
        error = "the image has no pixels or is too large";
        return false;
    }
    size_t pixels = static_cast<size_t>(bitmap.width) * static_cast<size_t>(bitmap.height);
    if (bitmap.index_bits == 0) {
        if (bitmap.argb.size() == pixels) return true;
    } else if (bitmap.index_bits == 8 || bitmap.index_bits == 4) {
        size_t entries = size_t{1} << bitmap.index_bits;
        if (bitmap.palette.size() == entries && bitmap.indices.size() == pixels) {
            for (uint8_t index : bitmap.indices) {
                if (index >= entries) {
                    error = "a pixel index lies outside the palette";
                    return false;
                }
            }
            return true;
        }
    }
    error = "the bitmap's buffers do not match its size";
    return false;
}

}  // namespace mevra
