// The PNG writer, on libpng: 16-colour images as 4-bit palette files,
// 256-colour images as 8-bit palette files (both with a full tRNS table, so
// palette alpha survives), full-colour images as 8-bit RGBA.
//
// libpng writes the header chunks and the chunk framing; the image data is
// filtered and compressed beforehand by png_idat (libdeflate) and handed to
// libpng as ready IDAT chunks, which is several times faster than zlib's
// stream and a little smaller. As in the reader, libpng errors long-jump back
// to the setjmp in `encode_png`; the buffers belong to its caller.
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <new>

#include "formats/own_codec_support.h"
#include "formats/palette_png.h"
#include "formats/png_idat.h"
#include "image/image_info.h"

namespace mevra {
namespace {

struct png_write_job {
    std::vector<uint8_t>* out = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    char message[160] = {};
};

[[noreturn]] void on_write_error(png_structp png, png_const_charp message) {
    auto* job = static_cast<png_write_job*>(png_get_error_ptr(png));
    std::strncpy(job->message, message ? message : "", sizeof job->message - 1);
    png_longjmp(png, 1);
}
void on_write_warning(png_structp, png_const_charp) {}

void write_to_memory(png_structp png, png_bytep data, size_t length) {
    auto* job = static_cast<png_write_job*>(png_get_io_ptr(png));
    bool stored = true;
    try {
        job->out->insert(job->out->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        stored = false;
    }
    if (!stored) png_error(png, "out of memory");
}
void flush_memory(png_structp) {}

struct png_shape {
    int bit_depth;
    int color_type;
    int palette_size;  // 0 for RGBA
    size_t row_bytes;
};

png_shape shape_for(const image_info& img) {
    const size_t w = static_cast<size_t>(img.width);
    switch (img.image_type) {
        case IMGTYP_256:
            return {8, PNG_COLOR_TYPE_PALETTE, 256, w};
        case IMGTYP_16:
            return {4, PNG_COLOR_TYPE_PALETTE, 16, (w + 1) / 2};
        default:
            return {8, PNG_COLOR_TYPE_RGB_ALPHA, 0, w * 4};
    }
}

// IDAT chunks of this size keep the file easy on readers that hold a whole
// chunk in memory.
constexpr size_t idat_chunk_bytes = 256 * 1024;

// Row y in the byte order of the file: red, green, blue, alpha for ARGB
// pixels, one index per byte for 8-bit, two per byte (left pixel high) for
// 4-bit, the low nibble of an odd width's last byte 0.
void fill_row(const image_info& img, const png_shape& s, size_t y, uint8_t* row) {
    const size_t w = static_cast<size_t>(img.width);
    if (s.palette_size == 0) {
        const uint32_t* px = &img.argb_buff[y * w];
        for (size_t x = 0; x < w; ++x) {
            row[4 * x] = static_cast<uint8_t>(px[x] >> 16);
            row[4 * x + 1] = static_cast<uint8_t>(px[x] >> 8);
            row[4 * x + 2] = static_cast<uint8_t>(px[x]);
            row[4 * x + 3] = static_cast<uint8_t>(px[x] >> 24);
        }
        return;
    }
    const int32_t* idx = &img.index_buff[y * w];
    if (s.bit_depth == 8) {
        for (size_t x = 0; x < w; ++x)
            row[x] = static_cast<uint8_t>(idx[x]);
        return;
    }
    std::memset(row, 0, s.row_bytes);
    for (size_t x = 0; x < w; ++x) {
        const uint8_t nibble = static_cast<uint8_t>(idx[x] & 15);
        row[x / 2] |= (x % 2 == 0) ? static_cast<uint8_t>(nibble << 4) : nibble;
    }
}

// Runs libpng over the header and the prepared image data, appending the
// file to `job.out`.
bool encode_png(const image_info& img, const png_shape& s, const std::vector<uint8_t>& idat,
                png_write_job& job) {
    if (setjmp(png_jmpbuf(job.png))) return false;
    png_structp png = job.png;
    png_infop info = job.info;
    png_set_write_fn(png, &job, write_to_memory, flush_memory);
    png_set_IHDR(png, info, static_cast<png_uint_32>(img.width),
                 static_cast<png_uint_32>(img.height), s.bit_depth, s.color_type,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (s.palette_size > 0) {
        // Every slot is written, used or not, and tRNS even when all are opaque.
        png_color palette[256];
        png_byte alpha[256];
        for (int i = 0; i < s.palette_size; ++i) {
            const uint32_t c = codec::table_color(img, static_cast<size_t>(i));
            palette[i] = {static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8),
                          static_cast<png_byte>(c)};
            alpha[i] = static_cast<png_byte>(c >> 24);
        }
        png_set_PLTE(png, info, palette, s.palette_size);
        png_set_tRNS(png, info, alpha, s.palette_size, nullptr);
    }
    png_write_info(png, info);
    static const png_byte idat_name[] = "IDAT";
    static const png_byte iend_name[] = "IEND";
    for (size_t at = 0; at < idat.size(); at += idat_chunk_bytes)
        png_write_chunk(png, idat_name, idat.data() + at,
                        std::min(idat_chunk_bytes, idat.size() - at));
    png_write_chunk(png, iend_name, nullptr, 0);
    return true;
}

// Creates the library structures, encodes and releases them.
bool write_png(const image_info& img, const png_shape& s, const std::vector<uint8_t>& idat,
               png_write_job& job) {
    job.png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &job, on_write_error, on_write_warning);
    if (job.png) job.info = png_create_info_struct(job.png);
    if (!job.png || !job.info) {
        if (job.png) png_destroy_write_struct(&job.png, nullptr);
        std::strcpy(job.message, "the PNG library could not start");
        return false;
    }
    const bool ok = encode_png(img, s, idat, job);
    png_destroy_write_struct(&job.png, &job.info);
    return ok;
}

// Filters, compresses and frames the image in the given shape.
bool encode_png_file(const image_info& img, const png_shape& s, std::vector<uint8_t>& file,
                     std::string& error) {
    png::idat_layout layout;
    layout.height = static_cast<size_t>(img.height);
    layout.row_bytes = s.row_bytes;
    layout.bpp = s.palette_size == 0 ? 4 : 1;
    // Palette images are stored unfiltered, as libpng would: prediction
    // between palette indices seldom helps.
    layout.adaptive = s.palette_size == 0;
    std::vector<uint8_t> idat;
    if (!png::encode_idat(
            layout, [&](size_t y, uint8_t* row) { fill_row(img, s, y, row); }, idat)) {
        error = "not enough memory to compress the PNG";
        return false;
    }
    png_write_job job;
    try {
        file.reserve(idat.size() + 4096);  // one piece instead of growing by chunks
    } catch (const std::bad_alloc&) {
    }
    job.out = &file;
    if (!write_png(img, s, idat, job)) {
        error = std::string("the PNG could not be encoded: ") + job.message;
        return false;
    }
    return true;
}

}  // namespace

int image_info::file_save_png(const std::string& path, std::string& error) const {
    if (!codec::image_is_writable(*this, error)) return -1;
    std::vector<uint8_t> file;
    if (!encode_png_file(*this, shape_for(*this), file, error)) return -1;
    return codec::save_file_bytes(path, file, error);
}

bool encode_palette_png(const std::vector<uint32_t>& colours, std::vector<uint8_t>& out,
                        std::string& error) {
    if (colours.empty() || colours.size() > 256) {
        error = "a palette has 1 to 256 colours";
        return false;
    }
    const int n = static_cast<int>(colours.size());
    image_info swatch;
    swatch.flag = 1;
    swatch.width = n;
    swatch.height = 1;
    swatch.image_type = IMGTYP_256;
    swatch.color = colours;
    swatch.color_num = n;
    swatch.index_buff.resize(colours.size());
    for (int i = 0; i < n; ++i)
        swatch.index_buff[static_cast<size_t>(i)] = i;
    std::vector<uint8_t> file;
    if (!encode_png_file(swatch, {8, PNG_COLOR_TYPE_PALETTE, n, colours.size()}, file, error))
        return false;
    out = std::move(file);
    return true;
}

}  // namespace mevra
