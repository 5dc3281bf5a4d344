#pragma once
// The platform decoder: every raster file the own readers decline (JPEG, TIFF,
// GIF, WebP, and the PNG and BMP variants they leave alone).
#include <cstdint>
#include <span>
#include <string>

#include "platform/picture.h"

namespace mevra {

// Decodes `bytes`. On success fills `out` and returns true; otherwise returns
// false with a short reason in `error` and leaves `out` unspecified.
bool decode_picture(std::span<const uint8_t> bytes, decoded_picture& out, std::string& error);

}  // namespace mevra
