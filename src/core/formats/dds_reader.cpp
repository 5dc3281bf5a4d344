// The own DDS reader: the first surface of a block-compressed (BC1 to BC5,
// BC7) or masked uncompressed file becomes an ARGB image. The header has
// already been checked against the file's length, so decoding reads only
// bytes the file has.
#include <bit>

#include "formats/bc_decode.h"
#include "formats/dds_surface.h"
#include "formats/own_codec_support.h"
#include "image/image_info.h"
#include "platform/byte_reader.h"
#include "settings/clgbase.h"

namespace mevra {
namespace {

using dds::surface_info;
using dds::surface_kind;

// One channel of a masked pixel widened to 8 bits by repeating its bits
// (4 bits × 17, 5 bits as v << 3 | v >> 2, 1 bit to 0 or 255); wider
// channels keep their top 8 bits. `absent` stands in for a zero mask.
uint32_t channel(uint32_t pixel, uint32_t mask, uint32_t absent) {
    if (mask == 0) return absent;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return v >> (bits - 8);
    uint32_t out = 0;
    int filled = 0;
    while (filled < 8) {
        out = out << bits | v;
        filled += bits;
    }
    return out >> (filled - 8);
}

void decode_masked(std::span<const uint8_t> data, const surface_info& s, uint32_t* out) {
    const size_t bytes = s.bit_count / 8;
    const size_t pixels = static_cast<size_t>(s.width) * static_cast<size_t>(s.height);
    const uint8_t* p = data.data();
    for (size_t i = 0; i < pixels; ++i, p += bytes) {
        uint32_t v = 0;
        for (size_t k = 0; k < bytes; ++k)
            v |= uint32_t{p[k]} << (8 * k);
        out[i] = channel(v, s.alpha_mask, 255) << 24 | channel(v, s.red_mask, 0) << 16 |
                 channel(v, s.green_mask, 0) << 8 | channel(v, s.blue_mask, 0);
    }
}

void decode_block(surface_kind kind, const uint8_t* block, uint32_t out[16]) {
    switch (kind) {
        case surface_kind::bc1:
            return dds::decode_bc1_block(block, out);
        case surface_kind::bc2:
            return dds::decode_bc2_block(block, out);
        case surface_kind::bc3:
            return dds::decode_bc3_block(block, out);
        case surface_kind::bc4:
            return dds::decode_bc4_block(block, out);
        case surface_kind::bc5:
            return dds::decode_bc5_block(block, out);
        default:
            return dds::decode_bc7_block(block, out);
    }
}

// Blocks run left to right, block rows from the top; the blocks on the right
// and bottom edges of a size that is not a multiple of 4 are partly outside
// the image and only their inside pixels are kept.
void decode_blocks(std::span<const uint8_t> data, const surface_info& s, uint32_t* out) {
    const size_t block_bytes = s.kind == surface_kind::bc1 || s.kind == surface_kind::bc4 ? 8 : 16;
    const size_t w = static_cast<size_t>(s.width), h = static_cast<size_t>(s.height);
    const uint8_t* block = data.data();
    for (size_t by = 0; by < h; by += 4)
        for (size_t bx = 0; bx < w; bx += 4, block += block_bytes) {
            uint32_t px[16];
            decode_block(s.kind, block, px);
            for (size_t y = by; y < by + 4 && y < h; ++y)
                for (size_t x = bx; x < bx + 4 && x < w; ++x)
                    out[y * w + x] = px[(y - by) * 4 + (x - bx)];
        }
}

}  // namespace

int image_info::file_load_dds(byte_reader& in) {
    surface_info s;
    // The level the command line asked for (0, the top level, otherwise).
    const int r = dds::read_surface_info(in, s, settings().dds_read_level);
    if (r != 0) return r;
    const std::span<const uint8_t> data = in.bytes().subspan(s.data_offset, s.data_size);
    codec::decoded_image pic;
    pic.start_argb(s.width, s.height);
    if (s.kind == surface_kind::masked)
        decode_masked(data, s, pic.argb.data());
    else
        decode_blocks(data, s, pic.argb.data());
    codec::commit(*this, std::move(pic), IMGFMT_DDS);
    return 0;
}

}  // namespace mevra
