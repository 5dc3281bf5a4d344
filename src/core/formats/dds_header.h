#pragma once
// The fixed 128-byte record that opens every DDS file we write, and the
// little-endian stores shared by the DDS encoders.
#include <cstddef>
#include <cstdint>

namespace mevra::dds {

inline constexpr size_t header_size = 128;
// BC7 has no four-character code of its own: its files carry the 20-byte
// DX10 extension after the record, naming the DXGI format.
inline constexpr size_t dx10_extension_size = 20;
inline constexpr uint32_t dxgi_format_bc7_unorm = 98;

constexpr uint32_t fourcc(char a, char b, char c, char d) {
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
           static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

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

// True for the layouts stored as 4 × 4 blocks (FMT_DXT5, FMT_DXT3,
// FMT_DXT1, FMT_BC7, FMT_BC4, FMT_BC5).
inline bool is_block_layout(int layout) {
    return layout >= 3 && layout <= 8;
}

// Bytes before the pixel data for a DDSFMT layout (0..8).
inline size_t header_bytes(int layout) {
    return layout == 6 ? header_size + dx10_extension_size : header_size;
}

// Bytes of pixel data for a DDSFMT layout (0..8) of the given size.
size_t pixel_data_size(int layout, int width, int height);

// Fills header_bytes(layout) bytes at `out` for a DDSFMT layout (0..8): the
// pixel format and capabilities of that layout, a single surface, or with
// mip_levels > 1 a mipmap chain of that many levels.
void write_header(uint8_t* out, int layout, int width, int height, int mip_levels = 1);

}  // namespace mevra::dds
