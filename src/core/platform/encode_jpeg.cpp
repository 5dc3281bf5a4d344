// JPEG encoding with libjpeg-turbo into memory. libjpeg reports fatal errors
// through error_exit, which must not return: we jump back to the encoder with
// the library's message and release everything there.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

#include "platform/jpeg_failure.h"
#include "platform/picture_encoder.h"

namespace mevra {
namespace {

// Everything the encoder touches after setjmp lives here, outside the frame
// that longjmp unwinds, so no C++ object is skipped by the jump.
struct jpeg_job {
    jpeg_compress_struct cinfo;
    jpeg_failure failure;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<JSAMPLE> row;
};

bool run_compressor(jpeg_job& job, const platform_bitmap& bitmap, int quality) {
    jpeg_compress_struct& cinfo = job.cinfo;
    cinfo.err = jpeg_std_error(&job.failure.manager);
    job.failure.manager.error_exit = jpeg_jump_on_error;
    job.failure.manager.output_message = jpeg_ignore_output;
    job.failure.message[0] = '\0';
    if (setjmp(job.failure.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &job.buffer, &job.size);
    cinfo.image_width = static_cast<JDIMENSION>(bitmap.width);
    cinfo.image_height = static_cast<JDIMENSION>(bitmap.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const size_t width = static_cast<size_t>(bitmap.width);
    while (cinfo.next_scanline < cinfo.image_height) {
        const size_t start = static_cast<size_t>(cinfo.next_scanline) * width;
        for (size_t x = 0; x < width; ++x) {
            uint32_t c = bitmap_pixel_argb(bitmap, start + x);
            job.row[x * 3 + 0] = static_cast<JSAMPLE>(c >> 16);
            job.row[x * 3 + 1] = static_cast<JSAMPLE>(c >> 8);
            job.row[x * 3 + 2] = static_cast<JSAMPLE>(c);
        }
        JSAMPROW rows[1] = {job.row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace

bool encode_jpeg(const platform_bitmap& bitmap, int quality, std::vector<uint8_t>& out,
                 std::string& error) {
    if (!bitmap_is_consistent(bitmap, error)) return false;
    if (bitmap.width > JPEG_MAX_DIMENSION || bitmap.height > JPEG_MAX_DIMENSION) {
        error = "the image is too large for JPEG";
        return false;
    }
    quality = quality < 1 ? 1 : (quality > 100 ? 100 : quality);
    jpeg_job job{};
    job.row.resize(static_cast<size_t>(bitmap.width) * 3);
    bool ok = run_compressor(job, bitmap, quality);
    if (ok) {
        out.assign(job.buffer, job.buffer + job.size);
    } else {
        error = std::string("JPEG encoder: ") + job.failure.message;
    }
    // jpeg_mem_dest allocates with malloc and leaves the buffer to us, also
    // after a failure.
    std::free(job.buffer);
    return ok;
}

}  // namespace mevra
