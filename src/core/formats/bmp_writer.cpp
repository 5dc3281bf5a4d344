// The BMP writer: 32-bit ARGB, 8-bit with a 256-entry table or 4-bit with a
// 16-entry table, uncompressed, rows bottom-up, 40-byte information header.
#include "formats/bmp_layout.h"
#include "formats/own_codec_support.h"
#include "image/image_info.h"

namespace mevra {
namespace {

struct bmp_shape {
    uint16_t bits;
    uint32_t table_entries;
    uint64_t stride;
};

bmp_shape shape_for(const image_info& img) {
    switch (img.image_type) {
        case IMGTYP_256:
            return {8, 256, bmp::stride_8bit(img.width)};
        case IMGTYP_16:
            return {4, 16, bmp::stride_4bit(img.width)};
        default:
            return {32, 0, bmp::stride_32bit(img.width)};
    }
}

void put_headers(const image_info& img, const bmp_shape& s, std::vector<uint8_t>& out) {
    const uint32_t table_bytes = 4 * s.table_entries;
    const uint32_t data_offset = bmp::file_header_size + bmp::info_header_size + table_bytes;
    const uint64_t file_size = data_offset + s.stride * static_cast<uint64_t>(img.height);
    out.push_back('B');
    out.push_back('M');
    codec::put_u32le(out, static_cast<uint32_t>(file_size));
    codec::put_u16le(out, 0);
    codec::put_u16le(out, 0);
    codec::put_u32le(out, data_offset);
    codec::put_u32le(out, bmp::info_header_size);
    codec::put_u32le(out, static_cast<uint32_t>(img.width));
    codec::put_u32le(out, static_cast<uint32_t>(img.height));  // positive: bottom-up rows
    codec::put_u16le(out, 1);                                  // planes
    codec::put_u16le(out, s.bits);
    codec::put_u32le(out, 0);  // no compression
    codec::put_u32le(out, 0);  // image data size, optional when uncompressed
    codec::put_u32le(out, bmp::pixels_per_metre);
    codec::put_u32le(out, bmp::pixels_per_metre);
    codec::put_u32le(out, 0);  // colours used: the full table is always written
    codec::put_u32le(out, 0);  // important colours
    for (uint32_t i = 0; i < s.table_entries; ++i)
        codec::put_u32le(out, codec::table_color(img, i));  // blue, green, red, alpha
}

// Appends the rows, bottom row first, zero padded.
void put_rows(const image_info& img, const bmp_shape& s, std::vector<uint8_t>& out) {
    const size_t start = out.size();
    const size_t stride = static_cast<size_t>(s.stride);
    const size_t w = static_cast<size_t>(img.width);
    out.resize(start + stride * static_cast<size_t>(img.height), 0);
    for (int r = 0; r < img.height; ++r) {
        uint8_t* row = &out[start + static_cast<size_t>(r) * stride];
        const size_t src = static_cast<size_t>(img.height - 1 - r) * w;
        for (size_t x = 0; x < w; ++x) {
            if (s.bits == 32) {
                const uint32_t v = img.argb_buff[src + x];
                row[4 * x + 0] = static_cast<uint8_t>(v);
                row[4 * x + 1] = static_cast<uint8_t>(v >> 8);
                row[4 * x + 2] = static_cast<uint8_t>(v >> 16);
                row[4 * x + 3] = static_cast<uint8_t>(v >> 24);
            } else if (s.bits == 8) {
                row[x] = static_cast<uint8_t>(img.index_buff[src + x]);
            } else {
                const uint8_t nibble = static_cast<uint8_t>(img.index_buff[src + x] & 15);
                row[x / 2] |= (x % 2 == 0) ? static_cast<uint8_t>(nibble << 4) : nibble;
            }
        }
    }
}

}  // namespace

int image_info::file_save_bmp(const std::string& path, std::string& error) const {
    if (!codec::image_is_writable(*this, error)) return -1;
    const bmp_shape s = shape_for(*this);
    std::vector<uint8_t> out;
    out.reserve(bmp::file_header_size + bmp::info_header_size + 4 * s.table_entries +
                static_cast<size_t>(s.stride) * static_cast<size_t>(height));
    put_headers(*this, s, out);
    put_rows(*this, s, out);
    return codec::save_file_bytes(path, out, error);
}

}  // namespace mevra
