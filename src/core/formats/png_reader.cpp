// The own PNG reader, on libpng: 4- and 8-bit palette images, 8-bit RGB and
// 8-bit RGBA. Greyscale, 16-bit and 1- or 2-bit palette files are left to the
// platform decoder with -2, as is any file libpng finds damaged.
//
// libpng reports errors by calling our error callback, which long-jumps back
// to the setjmp in the function that called into the library. Only plain data
// lives in the frames between the setjmp and the library, so the jump skips no
// destructor; the C++ buffers are owned by the caller of those functions.
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <memory>

#include "formats/own_codec_support.h"
#include "formats/png_idat.h"
#include "image/image_info.h"
#include "platform/byte_reader.h"
#include "platform/image_limits.h"

namespace mevra {
namespace {

using codec::decoded_image;

constexpr size_t png_signature_size = 8;

// What one read needs across the library calls; plain data only.
struct png_read_job {
    byte_reader* in = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bit_depth = 0;
    int color_type = 0;
    int interlace = 0;
    size_t row_bytes = 0;
    png_color palette[256] = {};
    int palette_count = 0;
    png_byte alpha[256] = {};
    int alpha_count = 0;
};

[[noreturn]] void on_read_error(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void on_read_warning(png_structp, png_const_charp) {}

// Feeds libpng from memory. A file that ends early is damaged: libpng would
// otherwise decode zeros as a compressed stream and fail anyway.
void read_from_memory(png_structp png, png_bytep out, size_t length) {
    auto* job = static_cast<png_read_job*>(png_get_io_ptr(png));
    if (job->in->remaining() < length) png_error(png, "the file ends early");
    job->in->read(out, length);
}

// Reads the header chunks. Returns false when libpng gave up.
bool read_header(png_read_job& job) {
    if (setjmp(png_jmpbuf(job.png))) return false;
    png_set_read_fn(job.png, &job, read_from_memory);
    // Refuse absurd sizes before libpng allocates anything for them.
    png_set_user_limits(job.png, static_cast<png_uint_32>(max_image_side),
                        static_cast<png_uint_32>(max_image_side));
    png_read_info(job.png, job.info);
    png_get_IHDR(job.png, job.info, &job.width, &job.height, &job.bit_depth, &job.color_type,
                 &job.interlace, nullptr, nullptr);
    if (job.color_type == PNG_COLOR_TYPE_PALETTE) {
        png_colorp plte = nullptr;
        int count = 0;
        if (png_get_PLTE(job.png, job.info, &plte, &count) == PNG_INFO_PLTE && plte) {
            job.palette_count = count < 256 ? count : 256;
            std::memcpy(job.palette, plte,
                        sizeof(png_color) * static_cast<size_t>(job.palette_count));
        }
        png_bytep trns = nullptr;
        int trns_count = 0;
        if (png_get_tRNS(job.png, job.info, &trns, &trns_count, nullptr) == PNG_INFO_tRNS && trns) {
            job.alpha_count = trns_count < 256 ? trns_count : 256;
            std::memcpy(job.alpha, trns, static_cast<size_t>(job.alpha_count));
        }
    }
    job.row_bytes = png_get_rowbytes(job.png, job.info);
    return true;
}

// Decodes the whole image into `rows`. Returns false when libpng gave up.
bool read_pixels(png_read_job& job, png_bytepp rows) {
    if (setjmp(png_jmpbuf(job.png))) return false;
    png_read_image(job.png, rows);  // also undoes interlacing
    return true;
}

// The image data of a plain (non-interlaced) file straight from memory with
// libdeflate, which inflates several times faster than libpng's zlib stream.
// Anything unusual (interlacing, a damaged chunk or stream) is left to
// libpng's own path, which then decides: both give the same pixels.
bool decode_fast(const byte_reader& in, const png_read_job& job, std::vector<png_byte>& out) {
    if (job.interlace != PNG_INTERLACE_NONE) return false;
    png::idat_layout layout;
    layout.height = job.height;
    layout.row_bytes = job.row_bytes;
    layout.bpp = job.color_type == PNG_COLOR_TYPE_RGB_ALPHA ? 4
                 : job.color_type == PNG_COLOR_TYPE_RGB     ? 3
                                                            : 1;
    // libpng stops right after the first IDAT chunk's header.
    return png::decode_idat(in.bytes(), in.tell(), layout, out);
}

// The variants this reader decodes, with the row size each one needs.
bool variant_supported(const png_read_job& job, size_t& needed_row_bytes) {
    const size_t w = job.width;
    if (job.color_type == PNG_COLOR_TYPE_PALETTE && job.bit_depth == 4) {
        needed_row_bytes = (w + 1) / 2;
    } else if (job.color_type == PNG_COLOR_TYPE_PALETTE && job.bit_depth == 8) {
        needed_row_bytes = w;
    } else if (job.color_type == PNG_COLOR_TYPE_RGB && job.bit_depth == 8) {
        needed_row_bytes = w * 3;
    } else if (job.color_type == PNG_COLOR_TYPE_RGB_ALPHA && job.bit_depth == 8) {
        needed_row_bytes = w * 4;
    } else {
        return false;
    }
    return true;
}

void fill_palette(const png_read_job& job, decoded_image& pic) {
    pic.color_num = job.bit_depth == 4 ? 16 : 256;
    for (int i = 0; i < pic.color_num && i < job.palette_count; ++i) {
        const png_color& c = job.palette[i];
        const uint8_t a = i < job.alpha_count ? job.alpha[i] : 255;
        pic.color[static_cast<size_t>(i)] = codec::bgra(c.blue, c.green, c.red, a);
    }
}

void convert_rows(const png_read_job& job, const png_bytepp rows, decoded_image& pic) {
    const int w = static_cast<int>(job.width);
    const int h = static_cast<int>(job.height);
    if (job.color_type == PNG_COLOR_TYPE_PALETTE) {
        const bool four_bit = job.bit_depth == 4;
        pic.start_indexed(w, h, four_bit ? IMGTYP_16 : IMGTYP_256);
        fill_palette(job, pic);
        for (int y = 0; y < h; ++y) {
            const png_byte* row = rows[y];
            const size_t base = static_cast<size_t>(y) * static_cast<size_t>(w);
            for (int x = 0; x < w; ++x) {
                uint32_t idx = row[four_bit ? x / 2 : x];
                if (four_bit) idx = (x % 2 == 0) ? idx >> 4 : idx & 15;
                pic.put_index(base + static_cast<size_t>(x), idx);
            }
        }
        return;
    }
    const bool with_alpha = job.color_type == PNG_COLOR_TYPE_RGB_ALPHA;
    pic.start_argb(w, h);
    for (int y = 0; y < h; ++y) {
        const png_byte* p = rows[y];
        uint32_t* out = &pic.argb[static_cast<size_t>(y) * static_cast<size_t>(w)];
        for (int x = 0; x < w; ++x) {
            // The file holds red, green, blue (, alpha); a colour key is not applied.
            out[x] = codec::bgra(p[2], p[1], p[0], with_alpha ? p[3] : 255);
            p += with_alpha ? 4 : 3;
        }
    }
}

// Creates the structures, reads the file into `pic` and releases them.
int decode_png(byte_reader& in, decoded_image& pic) {
    png_read_job job;
    job.in = &in;
    job.png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, on_read_error, on_read_warning);
    if (!job.png) return -2;
    job.info = png_create_info_struct(job.png);
    if (!job.info) {
        png_destroy_read_struct(&job.png, nullptr, nullptr);
        return -2;
    }
    in.seek(0);
    int result = -2;
    size_t needed = 0;
    if (read_header(job) && variant_supported(job, needed) && job.row_bytes >= needed &&
        image_size_ok(job.width, job.height) &&
        // The rest of the file is all the compressed data there can be.
        deflate_can_fill(in.remaining(), uint64_t{job.row_bytes} * job.height)) {
        std::vector<png_byte> pixels;
        std::unique_ptr<png_byte[]> fallback;
        std::unique_ptr<png_bytep[]> rows(new png_bytep[job.height]);
        if (decode_fast(in, job, pixels)) {
            for (png_uint_32 y = 0; y < job.height; ++y)
                rows[y] = pixels.data() + (job.row_bytes + 1) * y + 1;
            result = 0;
        } else {
            pixels = {};
            // libpng writes every row before it reports success: no zeroing.
            fallback.reset(new png_byte[job.row_bytes * job.height]);
            for (png_uint_32 y = 0; y < job.height; ++y)
                rows[y] = fallback.get() + job.row_bytes * y;
            if (read_pixels(job, rows.get())) result = 0;
        }
        if (result == 0) convert_rows(job, rows.get(), pic);
    }
    png_destroy_read_struct(&job.png, &job.info, nullptr);
    return result;
}

}  // namespace

int image_info::file_check_png(byte_reader& in) {
    in.seek(0);
    png_byte sig[png_signature_size];
    in.read(sig, sizeof sig);
    return png_sig_cmp(sig, 0, sizeof sig) == 0 ? 0 : -1;
}

int image_info::file_load_png(byte_reader& in) {
    if (file_check_png(in) != 0) return -1;
    decoded_image pic;
    const int result = decode_png(in, pic);
    if (result != 0) return result;
    codec::commit(*this, std::move(pic), IMGFMT_PNG);
    return 0;
}

}  // namespace mevra
