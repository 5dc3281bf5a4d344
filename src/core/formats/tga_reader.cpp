// The own TGA reader: uncompressed colour-mapped images (type 1), uncompressed
// true colour (type 2) and run-length-encoded true colour (type 10), with 16-,
// 24- or 32-bit pixels. Anything else is not taken (-1); the platform decoder
// cannot read TGA, so the user then sees the load failure.
#include "formats/own_codec_support.h"
#include "formats/tga_layout.h"
#include "image/image_info.h"
#include "platform/byte_reader.h"
#include "platform/image_limits.h"

namespace mevra {
namespace {

using codec::decoded_image;

struct tga_header {
    uint8_t id_length = 0;
    uint8_t map_type = 0;
    uint8_t image_type = 0;
    uint16_t map_length = 0;
    uint8_t map_bits = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t pixel_bits = 0;
    uint8_t descriptor = 0;
};

tga_header read_header(byte_reader& in) {
    tga_header h;
    in.seek(0);
    h.id_length = in.u8();
    h.map_type = in.u8();
    h.image_type = in.u8();
    in.u16le();  // first map entry: pixel values always index the map from 0
    h.map_length = in.u16le();
    h.map_bits = in.u8();
    in.u16le();  // x origin
    in.u16le();  // y origin
    h.width = in.u16le();
    h.height = in.u16le();
    h.pixel_bits = in.u8();
    h.descriptor = in.u8();
    return h;
}

// One colour-map entry or true-colour pixel of `bytes` bytes as ARGB.
uint32_t read_color(byte_reader& in, uint32_t bytes) {
    uint8_t b[4] = {};
    in.read(b, bytes);
    switch (bytes) {
        case 4:
            return codec::bgra(b[0], b[1], b[2], b[3]);
        case 3:
            return codec::bgra(b[0], b[1], b[2], 255);
        default:  // 5-5-5 with the top bit ignored
            return codec::argb_from_555(static_cast<uint16_t>(b[0] | (b[1] << 8)));
    }
}

// Where the p-th stored pixel goes: stored rows run bottom-up unless the
// descriptor says top row first.
struct row_order {
    size_t width;
    size_t height;
    bool top_first;
    size_t position(size_t p) const {
        return top_first ? p : (height - 1 - p / width) * width + p % width;
    }
};

void decode_color_mapped(byte_reader& in, const tga_header& h, const row_order& order,
                         decoded_image& pic) {
    pic.start_indexed(h.width, h.height, IMGTYP_256);
    const uint32_t entry_bytes = tga::map_entry_bytes(h.map_bits);
    const uint32_t used = h.map_length < 256 ? h.map_length : 256;
    pic.color_num = static_cast<int>(used);
    for (uint32_t i = 0; i < used; ++i)
        pic.color[i] = read_color(in, entry_bytes);
    in.skip(size_t{entry_bytes} * (h.map_length - used));  // entries past 256 go unused
    const size_t total = order.width * order.height;
    for (size_t p = 0; p < total; ++p)
        pic.put_index(order.position(p), in.u8());
}

void decode_true_color(byte_reader& in, const tga_header& h, const row_order& order,
                       decoded_image& pic) {
    pic.start_argb(h.width, h.height);
    const uint32_t bytes = tga::pixel_bytes(h.pixel_bits);
    const size_t total = order.width * order.height;
    if (h.image_type == tga::type_true_color) {
        for (size_t p = 0; p < total; ++p)
            pic.argb[order.position(p)] = read_color(in, bytes);
        return;
    }
    // Run-length packets. A packet may promise more pixels than the picture
    // has left; the surplus is dropped, so nothing is written past the end.
    size_t p = 0;
    while (p < total) {
        const uint8_t packet = in.u8();
        const size_t count = (packet & 127u) + 1;
        const size_t end = count < total - p ? p + count : total;
        if (packet & 128u) {
            const uint32_t v = read_color(in, bytes);
            for (; p < end; ++p)
                pic.argb[order.position(p)] = v;
        } else {
            for (; p < end; ++p)
                pic.argb[order.position(p)] = read_color(in, bytes);
        }
    }
}

}  // namespace

int image_info::file_load_tga(byte_reader& in) {
    const tga_header h = read_header(in);
    if (h.map_type >= 2) return -1;
    if (h.image_type != tga::type_color_mapped && h.image_type != tga::type_true_color &&
        h.image_type != tga::type_true_color_rle)
        return -1;
    // An empty picture, or a colour-mapped one without a map, has nothing to show.
    if (!image_size_ok(h.width, h.height)) return -1;
    if (h.image_type == tga::type_color_mapped && h.map_length == 0) return -1;

    in.seek(tga::header_size + size_t{h.id_length});
    const row_order order{h.width, h.height, (h.descriptor & tga::descriptor_top_first) != 0};
    decoded_image pic;
    if (h.image_type == tga::type_color_mapped) {
        decode_color_mapped(in, h, order, pic);
    } else {
        // A true-colour file may still carry a colour map; the pixels follow it.
        if (h.map_type == 1) in.skip(size_t{tga::map_entry_bytes(h.map_bits)} * h.map_length);
        decode_true_color(in, h, order, pic);
    }
    codec::commit(*this, std::move(pic), IMGFMT_TGA);
    return 0;
}

}  // namespace mevra
