#pragma once
// Builds small picture files in memory with the codec libraries' own encoders
// (and BMP bytes by hand), so the decoder tests need no sample files.
#include <cstdint>
#include <string>
#include <vector>

namespace mevra::test {

using bytes = std::vector<uint8_t>;

// `samples` holds width × height × components bytes; components 1 (grey),
// 3 (RGB) or 4 (CMYK, written Adobe-style: 255 means no ink).
bytes encode_jpeg(int width, int height, int components, const bytes& samples);

// Interleaved samples (8 bits each) with `samples_per_pixel` 1, 3 or 4; with 4
// the fourth sample is unassociated alpha.
bytes encode_tiff_rgb(int width, int height, int samples_per_pixel, const bytes& samples);
// Palette TIFF: `indices` one per pixel, packed by `bits` (1, 2, 4 or 8);
// `palette` as 0xRRGGBB values, stored as 16-bit colour-map entries.
bytes encode_tiff_palette(int width, int height, int bits, const std::vector<uint32_t>& palette,
                          const bytes& indices);

struct gif_frame {
    int left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;
};
// A GIF with a global colour map (`palette` 0xRRGGBB, 2^n entries), one frame
// with `indices` (frame width × height) and, when `transparent` >= 0, a
// graphic control block naming the transparent index.
bytes encode_gif(int screen_width, int screen_height, const std::vector<uint32_t>& palette,
                 const gif_frame& frame, const bytes& indices, int transparent, int background = 0);

// `rows` holds height rows of packed PNG samples (row bytes as libpng expects).
bytes encode_png(int width, int height, int bit_depth, int color_type, const bytes& rows,
                 const std::vector<uint32_t>& palette = {}, const bytes& alphas = {},
                 int interlace = 0);

// Lossless WebP from ARGB pixels.
bytes encode_webp_lossless(int width, int height, const std::vector<uint32_t>& argb);

// A BMP file: 14-byte file header, the information header (`info`, starting
// with its size field), `palette_and_masks`, then `pixels` at the pixel offset.
bytes make_bmp(const bytes& info, const bytes& palette_and_masks, const bytes& pixels);
// A BITMAPINFOHEADER-style header of `size` bytes (40, 56, 108, 124 …) with
// the common fields set; the masks go into the header when it has room.
bytes bmp_info(uint32_t size, int32_t width, int32_t height, uint16_t bits, uint32_t compression,
               uint32_t colors_used = 0, const std::vector<uint32_t>& masks = {});
void put_u16(bytes& out, uint32_t value);
void put_u32(bytes& out, uint32_t value);

}  // namespace mevra::test
