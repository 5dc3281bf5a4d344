// The own BMP reader: uncompressed bottom-up files with 4, 8, 24 or 32 bits per
// pixel. Everything else that carries the "BM" magic (run-length encoding,
// bit fields, top-down rows, 1- and 16-bit pixels, unusual header kinds) is
// left to the platform decoder with -2.
#include <algorithm>
#include <array>

#include "formats/bmp_layout.h"
#include "formats/own_codec_support.h"
#include "image/image_info.h"
#include "platform/byte_reader.h"
#include "platform/image_limits.h"

namespace mevra {
namespace {

using codec::decoded_image;

// The fields of the file and information headers the reader uses.
struct bmp_header {
    uint32_t pixel_offset = 0;
    uint32_t info_size = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bits = 0;
    uint32_t compression = 0;
    uint32_t colors_used = 0;
};

bmp_header read_header(byte_reader& in) {
    bmp_header h;
    in.seek(2);
    in.u32le();  // file size
    in.u16le();  // reserved
    in.u16le();  // reserved
    h.pixel_offset = in.u32le();
    h.info_size = in.u32le();
    h.width = in.i32le();
    h.height = in.i32le();
    in.u16le();  // planes
    h.bits = in.u16le();
    h.compression = in.u32le();
    in.u32le();  // image data size
    in.i32le();  // horizontal resolution
    in.i32le();  // vertical resolution
    h.colors_used = in.u32le();
    in.u32le();  // important colours
    return h;
}

// Information headers that begin with the 40-byte layout read above: the
// classic one and its V2, V3, V4 and V5 extensions. Their extra fields (masks,
// colour space) only matter with bit-field compression, which goes elsewhere.
bool info_size_known(uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool depth_supported(uint16_t bits) {
    return bits == 4 || bits == 8 || bits == 24 || bits == 32;
}

size_t clamp_offset(uint64_t offset) {
    return offset > SIZE_MAX ? SIZE_MAX : static_cast<size_t>(offset);
}

// Reads file row `r` (0 = first stored row) into `row`; missing bytes are 0.
void read_row(byte_reader& in, uint64_t pixel_start, uint64_t stride, int r,
              std::vector<uint8_t>& row) {
    in.seek(clamp_offset(pixel_start + stride * static_cast<uint64_t>(r)));
    in.read(row.data(), row.size());
}

void decode_indexed(byte_reader& in, const bmp_header& h, uint64_t palette_start,
                    uint64_t pixel_start, decoded_image& pic) {
    const bool four_bit = h.bits == 4;
    const uint32_t table_size = four_bit ? 16 : 256;
    const uint32_t entries = h.colors_used != 0 ? h.colors_used : table_size;
    pic.start_indexed(h.width, h.height, four_bit ? IMGTYP_16 : IMGTYP_256);
    pic.color_num = static_cast<int>(std::min<uint32_t>(entries, 256));

    // More than 256 entries can never be addressed; the rest are not looked at.
    const uint32_t listed = std::min<uint32_t>(entries, 256);
    std::array<uint8_t, 4 * 256> table{};
    in.seek(clamp_offset(palette_start));
    in.read(table.data(), size_t{4} * listed);
    bool has_alpha = false;
    for (uint32_t i = 0; i < listed; ++i)
        has_alpha = has_alpha || table[4 * i + 3] != 0;
    const uint32_t used = std::min(listed, table_size);
    for (uint32_t i = 0; i < used; ++i) {
        const uint8_t* e = &table[4 * i];
        pic.color[i] = codec::bgra(e[0], e[1], e[2], has_alpha ? e[3] : 255);
    }

    const uint64_t stride = four_bit ? bmp::stride_4bit(h.width) : bmp::stride_8bit(h.width);
    std::vector<uint8_t> row(static_cast<size_t>(stride));
    for (int y = 0; y < h.height; ++y) {
        read_row(in, pixel_start, stride, h.height - 1 - y, row);
        const size_t base = static_cast<size_t>(y) * static_cast<size_t>(h.width);
        for (int x = 0; x < h.width; ++x) {
            uint32_t idx = row[static_cast<size_t>(four_bit ? x / 2 : x)];
            if (four_bit) idx = (x % 2 == 0) ? idx >> 4 : idx & 15;
            pic.put_index(base + static_cast<size_t>(x), idx);
        }
    }
}

void decode_true_color(byte_reader& in, const bmp_header& h, uint64_t pixel_start,
                       decoded_image& pic) {
    const bool with_alpha = h.bits == 32;
    const uint64_t stride = with_alpha ? bmp::stride_32bit(h.width) : bmp::stride_24bit(h.width);
    pic.start_argb(h.width, h.height);
    std::vector<uint8_t> row(static_cast<size_t>(stride));
    for (int y = 0; y < h.height; ++y) {
        read_row(in, pixel_start, stride, h.height - 1 - y, row);
        uint32_t* out = &pic.argb[static_cast<size_t>(y) * static_cast<size_t>(h.width)];
        const uint8_t* p = row.data();
        for (int x = 0; x < h.width; ++x) {
            // 32-bit pixels keep their fourth byte as it stands, even when 0.
            out[x] = with_alpha ? codec::bgra(p[0], p[1], p[2], p[3])
                                : codec::bgra(p[0], p[1], p[2], 255);
            p += with_alpha ? 4 : 3;
        }
    }
}

}  // namespace

int image_info::file_check_bmp(byte_reader& in) {
    in.seek(0);
    const uint8_t b = in.u8();
    const uint8_t m = in.u8();
    return (b == 'B' && m == 'M') ? 0 : -1;
}

int image_info::file_load_bmp(byte_reader& in) {
    if (file_check_bmp(in) != 0) return -1;
    const bmp_header h = read_header(in);
    if (h.compression != 0 || h.height <= 0 || h.width <= 0 || h.bits < 4 || h.bits > 32) return -2;
    // Depths without a decoding here, header kinds whose layout differs, and
    // pictures beyond the size limit all go on to the platform decoder.
    if (!depth_supported(h.bits) || !info_size_known(h.info_size)) return -2;
    if (!image_size_ok(h.width, h.height)) return -2;

    // The colour table follows the information header, whatever its size.
    // The pixel rows start where the file header says, unless that offset
    // points back into the headers; then they follow the colour table.
    const uint64_t palette_start = uint64_t{bmp::file_header_size} + h.info_size;
    uint64_t palette_bytes = 0;
    if (h.bits <= 8) {
        const uint32_t entries = h.colors_used != 0 ? h.colors_used : (h.bits == 4 ? 16u : 256u);
        palette_bytes = uint64_t{4} * entries;
    }
    const uint64_t pixel_start =
        h.pixel_offset >= palette_start ? h.pixel_offset : palette_start + palette_bytes;

    decoded_image pic;
    if (h.bits <= 8)
        decode_indexed(in, h, palette_start, pixel_start, pic);
    else
        decode_true_color(in, h, pixel_start, pic);
    codec::commit(*this, std::move(pic), IMGFMT_BMP);
    return 0;
}

}  // namespace mevra
