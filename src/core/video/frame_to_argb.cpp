#include "video/frame_to_argb.h"

#include <cstdlib>
#include <vector>

#include "platform/image_limits.h"
#include "video/frame_bitmap.h"

namespace mevra {
namespace {

void convert_row_8(const uint8_t* src, uint32_t* dst, int w, const uint32_t* table,
                   size_t entries) {
    for (int x = 0; x < w; ++x)
        dst[x] = 0xFF000000u | (src[x] < entries ? table[src[x]] : 0u);
}

void convert_row_16(const uint8_t* src, uint32_t* dst, int w) {
    for (int x = 0; x < w; ++x) {
        const uint32_t v = src[2 * x] | (src[2 * x + 1] << 8);
        const uint32_t r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
        dst[x] = 0xFF000000u | (r << 19) | (g << 11) | (b << 3);
    }
}

void convert_row_24(const uint8_t* src, uint32_t* dst, int w) {
    for (int x = 0; x < w; ++x, src += 3)
        dst[x] = 0xFF000000u | (uint32_t{src[2]} << 16) | (src[1] << 8) | src[0];
}

void convert_row_32(const uint8_t* src, uint32_t* dst, int w) {
    for (int x = 0; x < w; ++x, src += 4)
        dst[x] = (uint32_t{src[3]} << 24) | (uint32_t{src[2]} << 16) | (src[1] << 8) | src[0];
}

}  // namespace

int frame_to_argb(std::span<const uint8_t> dib, image_info& out) {
    dib_header h;
    if (!read_dib_header(dib, h)) return -1;
    const int64_t w = h.width;
    const int64_t rows = std::llabs(int64_t{h.height});
    if (!image_size_ok(w, rows) || h.size < dib_info_header_size || h.size > dib.size()) return -1;
    const int bits = h.bit_count;
    const bool known = bits == 8 || bits == 16 || bits == 24 || bits == 32;

    std::vector<uint32_t> pixels(static_cast<size_t>(w * rows), 0u);
    if (known) {
        const int64_t table_bytes = dib_table_bytes(h);
        const int64_t stride = dib_stride(w, bits);
        const int64_t pixel_start = int64_t{h.size} + table_bytes;
        // The last row needs only its pixels, not its padding.
        const int64_t needed = pixel_start + stride * (rows - 1) + (w * bits + 7) / 8;
        if (needed > static_cast<int64_t>(dib.size())) return -1;

        std::vector<uint32_t> table;
        if (bits == 8) {
            const uint8_t* t = dib.data() + h.size;
            table.resize(static_cast<size_t>(table_bytes / 4));
            for (size_t i = 0; i < table.size(); ++i)
                table[i] = (uint32_t{t[i * 4 + 2]} << 16) | (t[i * 4 + 1] << 8) | t[i * 4];
        }
        const bool bottom_up = h.height > 0;
        for (int64_t y = 0; y < rows; ++y) {
            const int64_t stored = bottom_up ? rows - 1 - y : y;
            const uint8_t* src = dib.data() + pixel_start + stored * stride;
            uint32_t* dst = pixels.data() + y * w;
            const int width = static_cast<int>(w);
            switch (bits) {
                case 8:
                    convert_row_8(src, dst, width, table.data(), table.size());
                    break;
                case 16:
                    convert_row_16(src, dst, width);
                    break;
                case 24:
                    convert_row_24(src, dst, width);
                    break;
                default:
                    convert_row_32(src, dst, width);
                    break;
            }
        }
    }
    out = image_info(static_cast<int>(w), static_cast<int>(rows), pixels.data());
    return 0;
}

}  // namespace mevra
