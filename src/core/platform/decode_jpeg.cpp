// JPEG through libjpeg: greyscale, YCbCr and RGB files come out as RGB, CMYK
// and YCCK files as CMYK that is turned into opaque RGB here.
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first

#include <jerror.h>
#include <jpeglib.h>

#include <new>
#include <vector>

#include "platform/jpeg_failure.h"
#include "platform/picture_decoders.h"

namespace mevra::decoders {
namespace {

// Warnings are not printed. A file that ends early is a failure rather than a
// picture padded with grey: the user should learn that the file is damaged.
void on_message(j_common_ptr cinfo, int level) {
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) jpeg_jump_on_error(cinfo);
}

uint32_t cmyk_to_argb(uint32_t c, uint32_t m, uint32_t y, uint32_t k, bool inverted) {
    // Adobe writes CMYK inverted (0 = full ink); plain files store ink amounts.
    if (!inverted) {
        c = 255 - c;
        m = 255 - m;
        y = 255 - y;
        k = 255 - k;
    }
    return make_argb(255, c * k / 255, m * k / 255, y * k / 255);
}

void append_row(const JSAMPLE* row, bool cmyk, bool inverted, int width,
                std::vector<uint32_t>& dst) {
    for (int x = 0; x < width; ++x) {
        if (cmyk) {
            const JSAMPLE* p = row + 4 * x;
            dst.push_back(cmyk_to_argb(p[0], p[1], p[2], p[3], inverted));
        } else {
            const JSAMPLE* p = row + 3 * x;
            dst.push_back(make_argb(255, p[0], p[1], p[2]));
        }
    }
}

// Runs the whole decoding under one jump buffer. Only plain values live in
// this frame, so the jump back from libjpeg skips no destructor; the picture's
// buffers belong to the caller and survive it.
bool decode_with_recovery(jpeg_decompress_struct& cinfo, jpeg_failure& failure,
                          std::span<const uint8_t> bytes, decoded_picture& out,
                          std::string& error) {
    if (setjmp(failure.jump) != 0) return false;

    jpeg_create_decompress(&cinfo);
    // Progressive files keep all coefficients in memory; bound what a header may ask for.
    cinfo.mem->max_memory_to_use = 1536L * 1024 * 1024;
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (!accept_size(cinfo.image_width, cinfo.image_height, out, error)) return false;

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const int components = cmyk ? 4 : 3;
    if (cinfo.output_components != components ||
        cinfo.output_width != static_cast<JDIMENSION>(out.width) ||
        cinfo.output_height != static_cast<JDIMENSION>(out.height)) {
        error = "unexpected JPEG output layout";
        return false;
    }
    const bool inverted = cinfo.saw_Adobe_marker != 0;
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                cinfo.output_width * components, 1);
    // Reserve without touching: a damaged file that claims a huge size fails
    // on its first missing row instead of after filling the whole buffer.
    out.argb.reserve(pixel_count(out));
    while (cinfo.output_scanline < cinfo.output_height) {
        if (jpeg_read_scanlines(&cinfo, row, 1) != 1) {
            error = "the JPEG data ends early";
            return false;
        }
        append_row(row[0], cmyk, inverted, out.width, out.argb);
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

}  // namespace

bool decode_jpeg(std::span<const uint8_t> bytes, decoded_picture& out, std::string& error) {
    jpeg_decompress_struct cinfo{};
    jpeg_failure failure{};
    cinfo.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = jpeg_jump_on_error;
    failure.manager.emit_message = on_message;
    failure.manager.output_message = jpeg_ignore_output;
    out.container = picture_container::jpeg;

    bool ok = false;
    try {
        ok = decode_with_recovery(cinfo, failure, bytes, out, error);
    } catch (const std::bad_alloc&) {
        error = "not enough memory for the picture";
    }
    if (!ok && error.empty()) error = failure.message[0] ? failure.message : "damaged JPEG file";
    jpeg_destroy_decompress(&cinfo);
    return ok;
}

}  // namespace mevra::decoders
