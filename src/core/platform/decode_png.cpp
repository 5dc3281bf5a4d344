// The PNG variants the own reader leaves alone (greyscale, grey with alpha,
// 16-bit samples, 1/2/4-bit palettes, …) through libpng's transforms, read
// from memory. Palette files stay indexed; everything else becomes ARGB.
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "platform/image_limits.h"
#include "platform/picture_decoders.h"

namespace mevra::decoders {
namespace {

struct png_source {
    std::span<const uint8_t> bytes;
    size_t position = 0;
    char message[256] = {};
};

void read_data(png_structp png, png_bytep dst, size_t length) {
    auto* src = static_cast<png_source*>(png_get_io_ptr(png));
    if (length > src->bytes.size() - src->position) png_error(png, "the PNG data ends early");
    std::memcpy(dst, src->bytes.data() + src->position, length);
    src->position += length;
}

// libpng's error callback must not return: keep the message and jump back.
[[noreturn]] void on_error(png_structp png, png_const_charp message) {
    auto* src = static_cast<png_source*>(png_get_error_ptr(png));
    std::snprintf(src->message, sizeof src->message, "%s", message ? message : "damaged PNG file");
    png_longjmp(png, 1);
}

void on_warning(png_structp, png_const_charp) {}

// The buffers the decoding fills; they live in the caller's frame so that a
// jump back from libpng skips no destructor.
struct png_buffers {
    std::vector<uint8_t> pixels;
    std::vector<png_bytep> rows;
    size_t row_bytes = 0;
};

// Reads the header and sets up the transforms. Returns the bytes per pixel of
// the transformed rows: 1 for a palette index, 4 for RGBA.
int set_up_transforms(png_structp png, png_infop info) {
    const int color_type = png_get_color_type(png, info);
    if (color_type == PNG_COLOR_TYPE_PALETTE) {
        png_set_packing(png);  // one index per byte
        png_set_interlace_handling(png);
        png_read_update_info(png, info);
        return 1;
    }
    png_set_strip_16(png);
    png_set_expand(png);  // low-bit greyscale to 8 bits, a tRNS colour key to alpha
    if (color_type == PNG_COLOR_TYPE_GRAY || color_type == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return 4;
}

// All libpng calls that may jump happen in here; its frame holds only plain
// values and references.
bool read_with_recovery(png_structp png, png_infop info, png_source& source, png_buffers& buffers,
                        decoded_picture& out, std::string& error) {
    if (setjmp(png_jmpbuf(png)) != 0) return false;

    png_set_read_fn(png, &source, read_data);
    png_set_user_limits(png, 32768, 32768);
    png_read_info(png, info);
    if (!accept_size(png_get_image_width(png, info), png_get_image_height(png, info), out, error))
        return false;
    if (png_get_color_type(png, info) == PNG_COLOR_TYPE_PALETTE) {
        const int depth = png_get_bit_depth(png, info);  // before the transforms change it
        out.index_bits = depth == 1 ? 1 : depth == 8 ? 8 : 4;
    }
    // What the file's own rows take, before the transforms widen them: the
    // rest of the file must be able to fill that.
    const uint64_t raw_bytes = uint64_t{png_get_rowbytes(png, info)} * out.height;
    if (!deflate_can_fill(source.bytes.size() - source.position, raw_bytes)) {
        error = "the PNG data is too short for its size";
        return false;
    }
    const int bytes_per_pixel = set_up_transforms(png, info);
    buffers.row_bytes = png_get_rowbytes(png, info);
    if (buffers.row_bytes !=
        static_cast<size_t>(out.width) * static_cast<size_t>(bytes_per_pixel)) {
        error = "unexpected PNG row layout";
        return false;
    }
    buffers.pixels.resize(buffers.row_bytes * static_cast<size_t>(out.height));
    buffers.rows.resize(static_cast<size_t>(out.height));
    for (size_t y = 0; y < buffers.rows.size(); ++y)
        buffers.rows[y] = buffers.pixels.data() + y * buffers.row_bytes;
    png_read_image(png, buffers.rows.data());
    png_read_end(png, nullptr);
    return true;
}

void take_palette(png_structp png, png_infop info, decoded_picture& out) {
    png_colorp entries = nullptr;
    int count = 0;
    png_get_PLTE(png, info, &entries, &count);
    png_bytep alphas = nullptr;
    int alpha_count = 0;
    png_get_tRNS(png, info, &alphas, &alpha_count, nullptr);
    // A damaged file may use indices past its palette; those show as opaque black.
    int needed = count;
    for (uint8_t index : out.indices)
        needed = std::max(needed, index + 1);
    out.palette.assign(static_cast<size_t>(std::clamp(needed, 1, 256)), 0xFF000000u);
    for (int i = 0; i < count && i < 256; ++i) {
        const uint32_t alpha = (alphas != nullptr && i < alpha_count) ? alphas[i] : 255;
        out.palette[static_cast<size_t>(i)] =
            make_argb(alpha, entries[i].red, entries[i].green, entries[i].blue);
    }
}

}  // namespace

bool decode_png(std::span<const uint8_t> bytes, decoded_picture& out, std::string& error) {
    out.container = picture_container::png;
    png_source source;
    source.bytes = bytes;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, on_error, on_warning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        error = "not enough memory for the picture";
        return false;
    }
    png_buffers buffers;
    bool ok = false;
    try {
        ok = read_with_recovery(png, info, source, buffers, out, error);
        if (ok && png_get_color_type(png, info) == PNG_COLOR_TYPE_PALETTE) {
            out.indices = std::move(buffers.pixels);
            take_palette(png, info, out);
        } else if (ok) {
            out.argb.resize(pixel_count(out));
            for (size_t i = 0; i < out.argb.size(); ++i) {
                const uint8_t* p = buffers.pixels.data() + 4 * i;
                out.argb[i] = make_argb(p[3], p[0], p[1], p[2]);
            }
        }
    } catch (const std::bad_alloc&) {
        error = "not enough memory for the picture";
        ok = false;
    }
    if (!ok && error.empty()) error = source.message[0] ? source.message : "damaged PNG file";
    png_destroy_read_struct(&png, &info, nullptr);
    return ok;
}

}  // namespace mevra::decoders
