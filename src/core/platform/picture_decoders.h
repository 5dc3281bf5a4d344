#pragma once
// The individual decoders behind decode_picture, one per container, and the
// small helpers they share. Each one fills `out` completely (container, size,
// pixels) or returns false with a short reason in `error`.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/picture.h"

namespace mevra::decoders {

bool decode_jpeg(std::span<const uint8_t> bytes, decoded_picture& out, std::string& error);
bool decode_tiff(std::span<const uint8_t> bytes, decoded_picture& out, std::string& error);
bool decode_gif(std::span<const uint8_t> bytes, decoded_picture& out, std::string& error);
bool decode_webp(std::span<const uint8_t> bytes, decoded_picture& out, std::string& error);
bool decode_png(std::span<const uint8_t> bytes, decoded_picture& out, std::string& error);
bool decode_bmp(std::span<const uint8_t> bytes, decoded_picture& out, std::string& error);

// Checks the picture size against the program's limits; on success stores it
// in `out` and returns true, so the caller may allocate width × height items.
bool accept_size(int64_t width, int64_t height, decoded_picture& out, std::string& error);

// width × height of an accepted picture.
inline size_t pixel_count(const decoded_picture& pic) {
    return static_cast<size_t>(pic.width) * static_cast<size_t>(pic.height);
}

inline uint32_t make_argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}

}  // namespace mevra::decoders
