#include "formats/dds_uncompressed.h"

#include "formats/dds_header.h"
#include "reduce/color_space.h"

namespace mevra::dds {
namespace {

int clamp_byte(int v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// Four-bit level of a channel: the nearest of the 16 levels 0, 17, ..., 255.
uint32_t level4(uint32_t channel, int offset) {
    return static_cast<uint32_t>((clamp_byte(static_cast<int>(channel) + offset) + 8) / 17);
}

// Five-bit level of a channel; the factor is the single-precision 1/8.23.
uint32_t level5(uint32_t channel, int offset) {
    const int v = clamp_byte(static_cast<int>(channel) + offset);
    return static_cast<uint32_t>(trunc_to_int(static_cast<float>(v + 4) * 0.12150669f));
}

// Applies `pack` (pixel, dither value) to every pixel and stores the 16-bit results.
template <class Pack>
void encode_16bit(const image_info& img, uint8_t* out, Pack pack) {
    int64_t pos = 0;
    for (int y = 0; y < img.height; ++y) {
        const float* row = dither_pattern + (y & 3) * 4;
        for (int x = 0; x < img.width; ++x, ++pos, out += 2)
            put_le16(out, pack(img.get_pos_color(pos), row[x & 3]));
    }
}

}  // namespace

int offset_a4r4g4b4(float d) {
    return trunc_to_int((d - 7.5f) * (1.0f / 15.0f) * 16.1f);
}

int offset_a1r5g5b5(float d) {
    return trunc_to_int((d - 7.5f) * (1.0f / 15.0f) * 8.02f);
}

uint16_t pack_a4r4g4b4(uint32_t c, float d) {
    const int o = offset_a4r4g4b4(d);
    return static_cast<uint16_t>(level4(c >> 24, o) << 12 | level4((c >> 16) & 0xFF, o) << 8 |
                                 level4((c >> 8) & 0xFF, o) << 4 | level4(c & 0xFF, o));
}

uint16_t pack_a1r5g5b5(uint32_t c, float d) {
    const int o = offset_a1r5g5b5(d);
    // Alpha is a single bit: the top bit of the alpha byte, not dithered.
    return static_cast<uint16_t>((c >> 31) << 15 | level5((c >> 16) & 0xFF, o) << 10 |
                                 level5((c >> 8) & 0xFF, o) << 5 | level5(c & 0xFF, o));
}

void encode_a8r8g8b8(const image_info& img, uint8_t* out) {
    const int64_t n = img.pixel_count();
    for (int64_t pos = 0; pos < n; ++pos, out += 4)
        put_le32(out, img.get_pos_color(pos));
}

void encode_a4r4g4b4(const image_info& img, uint8_t* out) {
    encode_16bit(img, out, pack_a4r4g4b4);
}

void encode_a1r5g5b5(const image_info& img, uint8_t* out) {
    encode_16bit(img, out, pack_a1r5g5b5);
}

}  // namespace mevra::dds
