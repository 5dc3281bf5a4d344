#pragma once
// The fixed 128-byte record that opens every DDS file we write, and the
// little-endian stores shared by the DDS encoders.
#include <cstddef>
#include <cstdint>

namespace mevra::dds {

inline constexpr size_t header_size = 128;

inline void put_le16(uint8_t* at, uint32_t v) {
    at[0] = static_cast<uint8_t>(v);
    at[1] = static_cast<uint8_t>(v >> 8);
}

inline void put_le32(uint8_t* at, uint32_t v) {
    at[0] = static_cast<uint8_t>(v);
    at[1] = static_cast<uint8_t>(v >> 8);
    at[2] = static_cast<uint8_t>(v >> 16);
    at[3] = static_cast<uint8_t>(v >> 24);
}

// True for the layouts stored as 4 × 4 blocks (FMT_DXT5, FMT_DXT3).
inline bool is_block_layout(int layout) {
    return layout == 3 || layout == 4;
}

// Bytes of pixel data for a DDSFMT layout (0..4) of the given size.
size_t pixel_data_size(int layout, int width, int height);

// Fills header_size bytes at `out` for a DDSFMT layout (0..4): a single
// surface, no mipmaps, pixel format and capabilities of that layout.
void write_header(uint8_t* out, int layout, int width, int height);

}  // namespace mevra::dds
