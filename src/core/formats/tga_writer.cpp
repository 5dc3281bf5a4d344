// The TGA writer: full-colour images as uncompressed 32-bit true colour, any
// indexed image as an uncompressed 8-bit colour-mapped image with a 256-entry,
// 32-bit map. Rows bottom-up, no ID field, no footer.
#include "formats/own_codec_support.h"
#include "formats/tga_layout.h"
#include "image/image_info.h"

namespace mevra {

int image_info::file_save_tga(const std::string& path, std::string& error) const {
    if (!codec::image_is_writable(*this, error)) return -1;
    const bool indexed = image_type != IMGTYP_RGB;
    const size_t w = static_cast<size_t>(width);
    const size_t h = static_cast<size_t>(height);
    const size_t pixel_size = indexed ? 1 : 4;

    std::vector<uint8_t> out;
    out.reserve(tga::header_size + (indexed ? 1024 : 0) + w * h * pixel_size);
    codec::put_u8(out, 0);                // ID length
    codec::put_u8(out, indexed ? 1 : 0);  // colour-map type
    codec::put_u8(out, indexed ? tga::type_color_mapped : tga::type_true_color);
    codec::put_u16le(out, 0);                  // first map entry
    codec::put_u16le(out, indexed ? 256 : 0);  // map length
    codec::put_u8(out, indexed ? 32 : 0);      // map entry bits
    codec::put_u16le(out, 0);                  // x origin
    codec::put_u16le(out, 0);                  // y origin
    codec::put_u16le(out, static_cast<uint32_t>(width));
    codec::put_u16le(out, static_cast<uint32_t>(height));
    codec::put_u8(out, indexed ? 8 : 32);            // pixel bits
    codec::put_u8(out, tga::descriptor_alpha_bits);  // bottom row first
    if (indexed) {
        for (size_t i = 0; i < 256; ++i)
            codec::put_u32le(out, codec::table_color(*this, i));
    }
    for (size_t r = 0; r < h; ++r) {
        const size_t src = (h - 1 - r) * w;
        for (size_t x = 0; x < w; ++x) {
            if (indexed)
                codec::put_u8(out, static_cast<uint32_t>(index_buff[src + x]));
            else
                codec::put_u32le(out, argb_buff[src + x]);
        }
    }
    return codec::save_file_bytes(path, out, error);
}

}  // namespace mevra
