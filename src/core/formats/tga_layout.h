#pragma once
// TGA header values shared by the reader and the writer.
#include <cstdint>

namespace mevra::tga {

inline constexpr uint32_t header_size = 18;
inline constexpr uint8_t type_color_mapped = 1;
inline constexpr uint8_t type_true_color = 2;
inline constexpr uint8_t type_true_color_rle = 10;
inline constexpr uint8_t descriptor_top_first = 0x20;
inline constexpr uint8_t descriptor_alpha_bits = 8;

// Bytes of one colour-map entry: 32 and 24 bits as such, anything else as 16.
inline uint32_t map_entry_bytes(uint8_t bits) {
    return bits == 32 ? 4 : bits == 24 ? 3 : 2;
}
// Bytes of one true-colour pixel: 16 and 24 bits as such, anything else as 32.
inline uint32_t pixel_bytes(uint8_t bits) {
    return bits == 16 ? 2 : bits == 24 ? 3 : 4;
}

}  // namespace mevra::tga
