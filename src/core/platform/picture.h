#pragma once
// Pictures exchanged with the platform: what a decoder hands to the image model
// and what the save path hands to the encoders and the clipboard.
#include <cstdint>
#include <vector>

namespace mevra {

// The file type a picture was decoded from.
enum class picture_container { bmp, jpeg, png, tiff, gif, webp, other };

// A decoded picture. True colour: `argb` holds width × height ARGB values.
// Indexed (index_bits 1, 4 or 8): `indices` holds one byte per pixel, every
// value below palette.size(), and `palette` holds 1 … 256 ARGB entries.
// Rows are top first, no padding.
struct decoded_picture {
    picture_container container = picture_container::other;
    int width = 0;
    int height = 0;
    int index_bits = 0;  // 0 for true colour
    std::vector<uint32_t> palette;
    std::vector<uint8_t> indices;
    std::vector<uint32_t> argb;

    bool indexed() const { return index_bits != 0; }
};

// A bitmap handed to the encoders and to the clipboard: 32-bit ARGB
// (index_bits 0, `argb`), or 8-bit / 4-bit indexed (`indices` one byte per
// pixel, `palette` with 256 or 16 entries).
struct platform_bitmap {
    int width = 0;
    int height = 0;
    int index_bits = 0;
    std::vector<uint32_t> palette;
    std::vector<uint8_t> indices;
    std::vector<uint32_t> argb;
};

}  // namespace mevra
