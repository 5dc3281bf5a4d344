// Placeholder until the platform decoders land.
#include "platform/picture_decoder.h"

namespace mevra {
bool decode_picture(std::span<const uint8_t>, decoded_picture&, std::string& error) {
    error = "unsupported file format";
    return false;
}
}  // namespace mevra
