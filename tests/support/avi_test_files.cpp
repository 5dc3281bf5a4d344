#include "support/avi_test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "video/avi_writer.h"
#include "video/frame_bitmap.h"

namespace mevra::test {

uint32_t pattern_color(int n, int x, int y) {
    const uint32_t r = static_cast<uint32_t>(x * 7 + n * 20) & 0xFF;
    const uint32_t g = static_cast<uint32_t>(y * 9 + n * 3) & 0xFF;
    const uint32_t b = static_cast<uint32_t>(x * y + n * 50) & 0xFF;
    const uint32_t a = static_cast<uint32_t>(255 - n * 10 - x) & 0xFF;
    return (a << 24) | (r << 16) | (g << 8) | b;
}

uint32_t solid_color(int n) {
    // Far apart in brightness so that lossy codecs cannot confuse frames.
    const uint32_t v = static_cast<uint32_t>(20 + (n * 53) % 220);
    return 0xFF000000u | (v << 16) | ((255 - v) << 8) | ((v * 3) & 0xFF);
}

namespace {

// 8-bit frames index a fixed palette; the index pattern moves with n.
uint32_t palette_entry(int i) {
    return 0xFF000000u | (static_cast<uint32_t>(i) << 16) | (static_cast<uint32_t>(255 - i) << 8) |
           static_cast<uint32_t>((i * 5) & 0xFF);
}
int pattern_index(int n, int x, int y) {
    return (x + 3 * y + 11 * n) & 0xFF;
}

}  // namespace

uint32_t stored_pattern(int n, int x, int y, int bits) {
    const uint32_t c = pattern_color(n, x, y);
    switch (bits) {
        case 8:
            return palette_entry(pattern_index(n, x, y));
        case 16:
            return 0xFF000000u | (c & 0x00F8F8F8u);
        case 24:
            return 0xFF000000u | c;
        default:
            return c;
    }
}

std::vector<uint8_t> pattern_dib(int n, int width, int height, int bits, bool solid,
                                 bool top_down) {
    std::vector<uint32_t> table;
    if (bits == 8)
        for (int i = 0; i < 256; ++i)
            table.push_back(palette_entry(i));
    std::vector<uint8_t> dib = make_dib(width, top_down ? -height : height, bits, table);
    uint8_t* px = dib_pixels(dib, table.size());
    const int64_t stride = dib_stride(width, bits);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = px + (top_down ? y : height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const uint32_t c = solid ? solid_color(n) : pattern_color(n, x, y);
            switch (bits) {
                case 8:
                    row[x] = static_cast<uint8_t>(pattern_index(n, x, y));
                    break;
                case 16: {
                    const uint32_t v =
                        ((c >> 19) & 31) << 10 | ((c >> 11) & 31) << 5 | ((c >> 3) & 31);
                    row[2 * x] = static_cast<uint8_t>(v);
                    row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
                    break;
                }
                default:
                    for (int k = 0; k < bits / 8; ++k)
                        row[x * (bits / 8) + k] = static_cast<uint8_t>(c >> (8 * k));
                    break;
            }
        }
    }
    return dib;
}

void make_avi(const std::string& path, const avi_recipe& recipe) {
    avi_writer writer;
    std::string error;
    ASSERT_EQ(writer.open(path, recipe.width, recipe.height, recipe.rate, recipe.scale, recipe.bits,
                          recipe.options, error),
              0)
        << error;
    for (int n = 0; n < recipe.frames; ++n)
        ASSERT_EQ(
            writer.write_frame(
                n < static_cast<int>(recipe.positions.size()) ? recipe.positions[n] : n,
                pattern_dib(n, recipe.width, recipe.height, recipe.bits, recipe.solid), error),
            0)
            << error;
    ASSERT_EQ(writer.finish(error), 0) << error;
}

avi_recipe raw_recipe(int bits, int frames) {
    avi_recipe s;
    s.frames = frames;
    s.bits = bits;
    s.options.encoder = "rawvideo";
    s.options.raw_bits = bits;
    return s;
}

avi_recipe lossy_recipe(const std::string& encoder, int frames, int keyint) {
    avi_recipe s;
    s.frames = frames;
    s.width = 64;
    s.height = 48;
    s.solid = true;
    s.options.encoder = encoder;
    s.options.keyint = keyint;
    s.options.quality = 90;
    return s;
}

bool close_color(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(d) > tolerance) return false;
    }
    return true;
}

}  // namespace mevra::test
