#include "video/ffmpeg_glue.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

extern "C" {
#include <libavutil/pixdesc.h>
}

#include "platform/image_limits.h"
#include "video/frame_bitmap.h"

namespace mevra::video_detail {

std::string av_error_text(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    video_detail::ffmpeg().av_strerror(code, text, sizeof text);
    return text;
}

frame_to_dib_converter::~frame_to_dib_converter() {
    video_detail::ffmpeg().sws_freeContext(sws_);
}

namespace {

int direct_bits(int format) {
    switch (format) {
        case AV_PIX_FMT_PAL8:
            return 8;
        case AV_PIX_FMT_RGB555LE:
            return 16;
        case AV_PIX_FMT_BGR24:
            return 24;
        case AV_PIX_FMT_BGRA:
        case AV_PIX_FMT_BGR0:
            return 32;
        default:
            return 0;
    }
}

}  // namespace

bool frame_to_dib_converter::convert(const AVFrame& frame, std::vector<uint8_t>& dib) {
    const int w = frame.width, h = frame.height;
    if (!image_size_ok(w, h) || !frame.data[0]) return false;
    const int bits = direct_bits(frame.format);
    if (bits == 8 && !frame.data[1]) return false;
    // Formats with an alpha plane keep it in 32 bits; all others become 24.
    const AVPixFmtDescriptor* desc = video_detail::ffmpeg().av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame.format));
    if (!desc) return false;
    const bool alpha = (desc->flags & AV_PIX_FMT_FLAG_ALPHA) != 0;
    const int out_bits = bits ? bits : alpha ? 32 : 24;
    std::vector<uint32_t> table;
    if (bits == 8) {
        const auto* pal = reinterpret_cast<const uint32_t*>(frame.data[1]);
        table.assign(pal, pal + 256);
    }
    std::vector<uint8_t> out = make_dib(w, -h, out_bits, table);
    uint8_t* pixels = dib_pixels(out, table.size());
    const int64_t stride = dib_stride(w, out_bits);
    if (bits) {
        const size_t row_bytes = static_cast<size_t>(w) * (bits / 8);
        for (int y = 0; y < h; ++y)
            std::memcpy(pixels + y * stride, frame.data[0] + int64_t{y} * frame.linesize[0],
                        row_bytes);
        if (frame.format == AV_PIX_FMT_BGR0) {
            // The fourth byte carries nothing here: the picture is opaque.
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    pixels[y * stride + x * 4 + 3] = 0xFF;
        }
    } else {
        sws_ = video_detail::ffmpeg().sws_getCachedContext(sws_, w, h, static_cast<AVPixelFormat>(frame.format), w, h,
                                    out_bits == 32 ? AV_PIX_FMT_BGRA : AV_PIX_FMT_BGR24,
                                    SWS_BILINEAR, nullptr, nullptr, nullptr);
        if (!sws_) return false;
        uint8_t* dst[4] = {pixels, nullptr, nullptr, nullptr};
        int dst_stride[4] = {static_cast<int>(stride), 0, 0, 0};
        if (video_detail::ffmpeg().sws_scale(sws_, frame.data, frame.linesize, 0, h, dst, dst_stride) != h) return false;
    }
    dib = std::move(out);
    return true;
}

dib_frame_view::~dib_frame_view() {
    video_detail::ffmpeg().av_frame_free(&frame);
}

bool dib_frame_view::wrap(std::span<const uint8_t> dib) {
    dib_header hd;
    if (!read_dib_header(dib, hd) || hd.size < dib_info_header_size || hd.size > dib.size())
        return false;
    const int64_t rows = std::llabs(int64_t{hd.height});
    if (!image_size_ok(hd.width, rows)) return false;
    AVPixelFormat format;
    switch (hd.bit_count) {
        case 8:
            format = AV_PIX_FMT_PAL8;
            break;
        case 16:
            format = AV_PIX_FMT_RGB555LE;
            break;
        case 24:
            format = AV_PIX_FMT_BGR24;
            break;
        case 32:
            format = AV_PIX_FMT_BGRA;
            break;
        default:
            return false;
    }
    const int64_t stride = dib_stride(hd.width, hd.bit_count);
    const int64_t start = int64_t{hd.size} + dib_table_bytes(hd);
    if (start + stride * rows > static_cast<int64_t>(dib.size())) return false;
    if (!frame) frame = video_detail::ffmpeg().av_frame_alloc();
    if (!frame) return false;
    frame->format = format;
    frame->width = hd.width;
    frame->height = static_cast<int>(rows);
    auto* base = const_cast<uint8_t*>(dib.data() + start);
    if (hd.height > 0) {
        frame->data[0] = base + stride * (rows - 1);
        frame->linesize[0] = -static_cast<int>(stride);
    } else {
        frame->data[0] = base;
        frame->linesize[0] = static_cast<int>(stride);
    }
    if (format == AV_PIX_FMT_PAL8) {
        palette.assign(256, 0xFF000000u);
        const uint8_t* t = dib.data() + hd.size;
        const size_t entries = std::min<size_t>(256, static_cast<size_t>(dib_table_bytes(hd) / 4));
        for (size_t i = 0; i < entries; ++i)
            palette[i] =
                0xFF000000u | (uint32_t{t[i * 4 + 2]} << 16) | (t[i * 4 + 1] << 8) | t[i * 4];
        frame->data[1] = reinterpret_cast<uint8_t*>(palette.data());
        frame->linesize[1] = 0;
    }
    return true;
}

}  // namespace mevra::video_detail
