// The platform decoder: recognises the container by its first bytes and hands
// the file to the matching decoder. File names play no part here.
#include "platform/picture_decoder.h"

#include <cstring>

#include "platform/image_limits.h"
#include "platform/picture_decoders.h"

namespace mevra {
namespace {

bool starts_with(std::span<const uint8_t> bytes, const char* magic, size_t length) {
    return bytes.size() >= length && std::memcmp(bytes.data(), magic, length) == 0;
}

bool is_webp(std::span<const uint8_t> bytes) {
    return bytes.size() >= 12 && std::memcmp(bytes.data(), "RIFF", 4) == 0 &&
           std::memcmp(bytes.data() + 8, "WEBP", 4) == 0;
}

}  // namespace

namespace decoders {

bool accept_size(int64_t width, int64_t height, decoded_picture& out, std::string& error) {
    if (!image_size_ok(width, height)) {
        error = "the picture is too large or has no pixels";
        return false;
    }
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    return true;
}

}  // namespace decoders

bool decode_picture(std::span<const uint8_t> bytes, decoded_picture& out, std::string& error) {
    out = decoded_picture{};
    error.clear();
    bool ok = false;
    if (starts_with(bytes, "\xFF\xD8\xFF", 3)) {
        ok = decoders::decode_jpeg(bytes, out, error);
    } else if (starts_with(bytes, "\x89PNG\r\n\x1A\n", 8)) {
        ok = decoders::decode_png(bytes, out, error);
    } else if (starts_with(bytes, "GIF87a", 6) || starts_with(bytes, "GIF89a", 6)) {
        ok = decoders::decode_gif(bytes, out, error);
    } else if (starts_with(bytes, "II*\0", 4) || starts_with(bytes, "MM\0*", 4) ||
               starts_with(bytes, "II+\0", 4) || starts_with(bytes, "MM\0+", 4)) {
        ok = decoders::decode_tiff(bytes, out, error);
    } else if (is_webp(bytes)) {
        ok = decoders::decode_webp(bytes, out, error);
    } else if (starts_with(bytes, "BM", 2)) {
        ok = decoders::decode_bmp(bytes, out, error);
    } else {
        error = "not a supported image file";
        return false;
    }
    // A failed decoder may have left partial buffers behind; drop them now.
    if (!ok) out = decoded_picture{};
    return ok;
}

}  // namespace mevra
