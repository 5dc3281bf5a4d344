// WebP through libwebp: still pictures, lossy or lossless, with or without
// alpha. Animated files are not decoded.
#include <webp/decode.h>

#include <new>
#include <vector>

#include "platform/picture_decoders.h"

namespace mevra::decoders {

bool decode_webp(std::span<const uint8_t> bytes, decoded_picture& out, std::string& error) {
    out.container = picture_container::webp;
    WebPBitstreamFeatures features{};
    if (WebPGetFeatures(bytes.data(), bytes.size(), &features) != VP8_STATUS_OK) {
        error = "damaged WebP file";
        return false;
    }
    if (features.has_animation) {
        error = "animated WebP files are not supported";
        return false;
    }
    if (!accept_size(features.width, features.height, out, error)) return false;
    try {
        const size_t stride = static_cast<size_t>(out.width) * 4;
        std::vector<uint8_t> rgba(stride * static_cast<size_t>(out.height));
        if (WebPDecodeRGBAInto(bytes.data(), bytes.size(), rgba.data(), rgba.size(),
                               static_cast<int>(stride)) == nullptr) {
            error = "damaged WebP file";
            return false;
        }
        out.argb.resize(pixel_count(out));
        for (size_t i = 0; i < out.argb.size(); ++i) {
            const uint8_t* p = rgba.data() + 4 * i;
            out.argb[i] = make_argb(p[3], p[0], p[1], p[2]);
        }
    } catch (const std::bad_alloc&) {
        error = "not enough memory for the picture";
        return false;
    }
    return true;
}

}  // namespace mevra::decoders
