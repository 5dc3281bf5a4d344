#include "formats/dds_header.h"

#include <cstring>

namespace mevra::dds {
namespace {

uint32_t get_le32(const uint8_t* at) {
    return at[0] | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 | uint32_t{at[3]} << 24;
}

// Per layout: bits per pixel and the four channel masks of the pixel format
// (zero for the block layouts, which name their codec by four-character code).
struct pixel_format {
    uint32_t bit_count, red, green, blue, alpha;
};

constexpr pixel_format formats[9] = {
    {32, 0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u},
    {16, 0x0F00u, 0x00F0u, 0x000Fu, 0xF000u},
    {16, 0x7C00u, 0x03E0u, 0x001Fu, 0x8000u},
    {0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0},
};

uint32_t layout_fourcc(int layout) {
    switch (layout) {
        case 3:
            return fourcc('D', 'X', 'T', '5');
        case 4:
            return fourcc('D', 'X', 'T', '3');
        case 5:
            return fourcc('D', 'X', 'T', '1');
        case 7:
            return fourcc('A', 'T', 'I', '1');
        case 8:
            return fourcc('A', 'T', 'I', '2');
        default:
            return fourcc('D', 'X', '1', '0');
    }
}

}  // namespace

size_t pixel_data_size(int layout, int width, int height) {
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    switch (layout) {
        case 0:
            return pixels * 4;
        case 1:
        case 2:
            return pixels * 2;
        case 5:
        case 7:
            return pixels / 2;  // 8 bytes per 16 pixels
        default:
            return pixels;  // 16 bytes per 16 pixels
    }
}

void write_header(uint8_t* out, int layout, int width, int height, int mip_levels) {
    std::memset(out, 0, header_bytes(layout));
    std::memcpy(out, "DDS ", 4);
    put_le32(out + 4, 124);     // size of the record after the magic
    put_le32(out + 8, 0x1007);  // caps, height, width and pixel format are valid
    put_le32(out + 12, static_cast<uint32_t>(height));
    put_le32(out + 16, static_cast<uint32_t>(width));
    // The older layouts carry the width in pixels in the pitch field without
    // its flag, so readers work the pitch out from the pixel format. The
    // layouts added later store the true size of the surface and say so.
    if (layout >= 5) {
        put_le32(out + 8, 0x81007);  // ... and the linear size
        put_le32(out + 20, static_cast<uint32_t>(pixel_data_size(layout, width, height)));
    } else {
        put_le32(out + 20, static_cast<uint32_t>(width));
    }
    // depth, mipmap count (unless a chain follows) and the reserved words stay 0
    put_le32(out + 76, 32);  // size of the pixel format record
    const bool blocks = is_block_layout(layout);
    put_le32(out + 80, blocks ? 0x4u : 0x41u);  // four-character code, or RGB with alpha
    if (blocks) put_le32(out + 84, layout_fourcc(layout));
    const pixel_format& f = formats[layout];
    put_le32(out + 88, f.bit_count);
    put_le32(out + 92, f.red);
    put_le32(out + 96, f.green);
    put_le32(out + 100, f.blue);
    put_le32(out + 104, f.alpha);
    put_le32(out + 108, blocks ? 0x1000u : 0x1002u);  // texture (with alpha)
    if (mip_levels > 1) {
        put_le32(out + 8, get_le32(out + 8) | 0x20000u);  // the mipmap count is valid
        put_le32(out + 28, static_cast<uint32_t>(mip_levels));
        put_le32(out + 108, get_le32(out + 108) | 0x400008u);  // complex, mipmap
    }
    if (layout == 6) {
        uint8_t* dx10 = out + header_size;
        put_le32(dx10, dxgi_format_bc7_unorm);
        put_le32(dx10 + 4, 3);  // resource dimension: 2D texture
        put_le32(dx10 + 8, 0);  // not a cube map
        put_le32(dx10 + 12, 1);  // array size
        // alpha mode 0 (unknown): straight alpha, as every other layout we write
    }
}

}  // namespace mevra::dds
