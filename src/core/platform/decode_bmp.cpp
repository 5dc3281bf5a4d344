// The BMP variants the own reader declines, decoded with our own code over the
// bounded byte reader: every header size (OS/2 core headers with 3-byte
// palette entries up to V5), top-down rows, 1/2/4/8-bit palettes, RLE8 and
// RLE4, 16-bit 5-5-5 and bit-field files, 24 and 32 bits. Bytes missing at
// the end of a short file read as zero.
#include <algorithm>
#include <bit>
#include <new>
#include <vector>

#include "platform/byte_reader.h"
#include "platform/picture_decoders.h"

namespace mevra::decoders {
namespace {

enum : uint32_t { bi_rgb = 0, bi_rle8 = 1, bi_rle4 = 2, bi_bitfields = 3, bi_alphabitfields = 6 };

struct bmp_header {
    uint32_t data_offset = 0;
    uint32_t header_size = 0;
    int64_t width = 0;
    int64_t height = 0;  // always positive here; see top_down
    bool top_down = false;
    unsigned bits = 0;
    uint32_t compression = bi_rgb;
    uint32_t colors_used = 0;
    uint32_t masks[4] = {};  // red, green, blue, alpha
    size_t palette_offset = 0;
    unsigned palette_entry_size = 4;
};

bool read_header(byte_reader& in, bmp_header& h, std::string& error) {
    in.seek(10);
    h.data_offset = in.u32le();
    h.header_size = in.u32le();
    if (h.header_size == 12) {  // OS/2 core header: 16-bit sizes, 3-byte palette entries
        h.width = in.u16le();
        h.height = in.u16le();
        in.skip(2);
        h.bits = in.u16le();
        h.palette_entry_size = 3;
    } else if (h.header_size >= 16) {
        h.width = in.i32le();
        h.height = in.i32le();
        in.skip(2);
        h.bits = in.u16le();
        if (h.header_size >= 20) h.compression = in.u32le();
        in.seek(46);
        if (h.header_size >= 36) h.colors_used = in.u32le();
        // OS/2 2.x headers number their compressions differently (3 is Huffman, 4 RLE24).
        const bool os2 = h.header_size == 16 || h.header_size == 64;
        if (os2 && h.compression >= bi_bitfields) {
            error = "unsupported BMP compression";
            return false;
        }
    } else {
        error = "damaged BMP header";
        return false;
    }
    if (h.height < 0) {
        h.top_down = true;
        h.height = -h.height;
    }
    h.palette_offset = 14 + size_t{h.header_size};
    if (h.compression == bi_bitfields || h.compression == bi_alphabitfields) {
        // Masks sit in the larger headers, or right after a 40-byte one.
        const unsigned trailing = h.compression == bi_alphabitfields ? 4 : 3;
        const unsigned count = h.header_size >= 56 ? 4 : h.header_size >= 52 ? 3 : trailing;
        in.seek(h.header_size >= 52 ? 54 : 14 + size_t{h.header_size});
        for (unsigned i = 0; i < count; ++i)
            h.masks[i] = in.u32le();
        if (h.header_size < 52) h.palette_offset += 4 * trailing;
    }
    return true;
}

bool check_layout(const bmp_header& h, std::string& error) {
    const bool palette_bits = h.bits == 1 || h.bits == 2 || h.bits == 4 || h.bits == 8;
    bool ok = false;
    switch (h.compression) {
        case bi_rgb:
            ok = palette_bits || h.bits == 16 || h.bits == 24 || h.bits == 32;
            break;
        case bi_rle8:
            ok = h.bits == 8;
            break;
        case bi_rle4:
            ok = h.bits == 4;
            break;
        case bi_bitfields:
        case bi_alphabitfields:
            ok = h.bits == 16 || h.bits == 32;
            break;
        default:
            break;
    }
    if (!ok) error = "unsupported BMP compression or bit depth";
    return ok;
}

void read_palette(byte_reader& in, const bmp_header& h, decoded_picture& out) {
    const uint32_t full = 1u << h.bits;
    const uint32_t entries = (h.colors_used == 0 || h.colors_used > full) ? full : h.colors_used;
    in.seek(h.palette_offset);
    for (uint32_t i = 0; i < entries; ++i) {
        const uint32_t b = in.u8(), g = in.u8(), r = in.u8();
        if (h.palette_entry_size == 4) in.skip(1);
        out.palette.push_back(make_argb(255, r, g, b));
    }
    out.index_bits = h.bits == 1 ? 1 : h.bits == 8 ? 8 : 4;
}

// Indices past the file's palette show as opaque black entries.
void cover_used_indices(decoded_picture& out) {
    size_t needed = out.palette.size();
    for (uint8_t index : out.indices)
        needed = std::max<size_t>(needed, size_t{index} + 1);
    out.palette.resize(needed, 0xFF000000u);
}

size_t image_row(const bmp_header& h, int64_t file_row) {
    return static_cast<size_t>(h.top_down ? file_row : h.height - 1 - file_row);
}

void read_indexed_rows(byte_reader& in, const bmp_header& h, decoded_picture& out) {
    const size_t stride = ((static_cast<size_t>(h.width) * h.bits + 31) / 32) * 4;
    std::vector<uint8_t> row(stride);
    const unsigned per_byte = 8 / h.bits;
    const unsigned mask = (1u << h.bits) - 1;
    in.seek(h.data_offset);
    for (int64_t r = 0; r < h.height; ++r) {
        in.read(row.data(), stride);
        uint8_t* dst = out.indices.data() + image_row(h, r) * static_cast<size_t>(out.width);
        for (size_t x = 0; x < static_cast<size_t>(out.width); ++x) {
            const unsigned slot = static_cast<unsigned>(x % per_byte);
            dst[x] =
                static_cast<uint8_t>((row[x / per_byte] >> (8 - h.bits - slot * h.bits)) & mask);
        }
    }
}

// Run-length data: counted runs of one index, absolute runs, and escapes for
// end of line, end of bitmap and a jump. Pixels past the right edge or the
// last row are dropped; skipped pixels keep index 0.
void read_rle_rows(byte_reader& in, const bmp_header& h, decoded_picture& out) {
    const bool four_bit = h.compression == bi_rle4;
    int64_t x = 0, r = 0;
    auto put = [&](unsigned index) {
        if (x < h.width && r < h.height)
            out.indices[image_row(h, r) * static_cast<size_t>(out.width) + static_cast<size_t>(x)] =
                static_cast<uint8_t>(index);
        ++x;
    };
    in.seek(h.data_offset);
    while (r < h.height && in.remaining() >= 2) {
        const unsigned count = in.u8(), value = in.u8();
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i)
                put(four_bit ? ((i & 1) ? value & 15 : value >> 4) : value);
        } else if (value == 0) {
            x = 0;
            ++r;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            x += in.u8();
            r += in.u8();
        } else {
            // Absolute run: `value` indices, padded to a 16-bit boundary.
            uint8_t run[256];
            const size_t bytes = four_bit ? (value + 1) / 2 : value;
            in.read(run, bytes);
            if (bytes & 1) in.skip(1);
            for (unsigned i = 0; i < value; ++i)
                put(four_bit ? ((i & 1) ? run[i / 2] & 15 : run[i / 2] >> 4) : run[i]);
        }
    }
}

// One colour channel described by a bit mask, widened to 8 bits.
struct channel {
    uint32_t mask = 0;
    int shift = 0;
    uint64_t max = 0;

    explicit channel(uint32_t m) : mask(m) {
        if (mask == 0) return;
        shift = std::countr_zero(mask);
        max = (uint64_t{1} << (32 - std::countl_zero(mask) - shift)) - 1;
    }
    uint32_t value(uint32_t pixel, uint32_t absent) const {
        if (mask == 0) return absent;
        return static_cast<uint32_t>(((pixel & mask) >> shift) * 255 / max);
    }
};

void read_true_colour_rows(byte_reader& in, const bmp_header& h, decoded_picture& out) {
    uint32_t masks[4] = {h.masks[0], h.masks[1], h.masks[2], h.masks[3]};
    if (h.compression == bi_rgb && h.bits == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F, masks[3] = 0;
    } else if (h.compression == bi_rgb) {
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF, masks[3] = 0;
    }
    const channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    const size_t bytes_per_pixel = h.bits / 8;
    const size_t stride = ((static_cast<size_t>(h.width) * h.bits + 31) / 32) * 4;
    std::vector<uint8_t> row(stride);
    in.seek(h.data_offset);
    for (int64_t r = 0; r < h.height; ++r) {
        in.read(row.data(), stride);
        uint32_t* dst = out.argb.data() + image_row(h, r) * static_cast<size_t>(out.width);
        for (size_t x = 0; x < static_cast<size_t>(out.width); ++x) {
            const uint8_t* p = row.data() + x * bytes_per_pixel;
            uint32_t pixel = 0;
            for (size_t k = 0; k < bytes_per_pixel; ++k)
                pixel |= uint32_t{p[k]} << (8 * k);
            dst[x] = make_argb(alpha.value(pixel, 255), red.value(pixel, 0), green.value(pixel, 0),
                               blue.value(pixel, 0));
        }
    }
}

}  // namespace

bool decode_bmp(std::span<const uint8_t> bytes, decoded_picture& out, std::string& error) {
    out.container = picture_container::bmp;
    byte_reader in(bytes);
    bmp_header h;
    if (!read_header(in, h, error) || !check_layout(h, error)) return false;
    if (!accept_size(h.width, h.height, out, error)) return false;
    try {
        if (h.bits <= 8) {
            read_palette(in, h, out);
            out.indices.assign(pixel_count(out), 0);
            if (h.compression == bi_rgb)
                read_indexed_rows(in, h, out);
            else
                read_rle_rows(in, h, out);
            cover_used_indices(out);
        } else {
            out.argb.resize(pixel_count(out));
            read_true_colour_rows(in, h, out);
        }
    } catch (const std::bad_alloc&) {
        error = "not enough memory for the picture";
        return false;
    }
    return true;
}

}  // namespace mevra::decoders
