#pragma once
// Sizes of the BMP layout shared by the reader and the writer. Widths are at
// most the image size limit, so every stride fits easily in 64 bits.
#include <cstdint>

namespace mevra::bmp {

inline constexpr uint32_t file_header_size = 14;  // magic plus the 12-byte record
inline constexpr uint32_t info_header_size = 40;
inline constexpr int32_t pixels_per_metre = 3780;  // 96 dpi

inline uint64_t stride_4bit(int64_t width) {
    return static_cast<uint64_t>((width + 7) / 8) * 4;
}
inline uint64_t stride_8bit(int64_t width) {
    return static_cast<uint64_t>((width + 3) / 4) * 4;
}
inline uint64_t stride_24bit(int64_t width) {
    return static_cast<uint64_t>((width * 3 + 3) / 4) * 4;
}
inline uint64_t stride_32bit(int64_t width) {
    return static_cast<uint64_t>(width) * 4;
}

}  // namespace mevra::bmp
