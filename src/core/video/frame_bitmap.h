#pragma once
// A decoded video frame as a packed device-independent bitmap: a 40-byte
// info header, the colour table, then the pixel rows, each padded to a
// multiple of 4 bytes. This is the form the player's conversion step reads,
// whatever codec the frame came from.
#include <cstdint>
#include <span>
#include <vector>

namespace mevra {

inline constexpr uint32_t dib_info_header_size = 40;

// The fields of the info header, little-endian on disc and in memory.
struct dib_header {
    uint32_t size = dib_info_header_size;  // bytes of the header; the colour table follows
    int32_t width = 0;
    int32_t height = 0;  // negative: rows are stored top row first
    uint16_t planes = 1;
    uint16_t bit_count = 0;
    uint32_t compression = 0;
    uint32_t size_image = 0;
    int32_t x_pels_per_meter = 0;
    int32_t y_pels_per_meter = 0;
    uint32_t clr_used = 0;  // entries in the colour table (0 for 8 bits means 256)
    uint32_t clr_important = 0;
};

// Bytes in one stored row: width × bits rounded up to whole 32-bit words.
int64_t dib_stride(int64_t width, int bits);

// Bytes of the colour table that a header announces: clr_used × 4, or
// 256 × 4 for an 8-bit bitmap whose count is 0.
int64_t dib_table_bytes(const dib_header& h);

// Reads the header at the start of `dib`; false when the bytes are too few.
bool read_dib_header(std::span<const uint8_t> dib, dib_header& h);

// A zero-filled bitmap with a 40-byte header, `colours` as its table (ARGB
// values stored as blue, green, red, 0) and room for |height| padded rows.
std::vector<uint8_t> make_dib(int width, int height, int bits, std::span<const uint32_t> colours);

// Start of the pixel rows of a bitmap made by make_dib (header + table).
inline uint8_t* dib_pixels(std::vector<uint8_t>& dib, size_t colours) {
    return dib.data() + dib_info_header_size + colours * 4;
}

}  // namespace mevra
