// The encoder list and the mapping of the dialog's options onto FFmpeg's
// encoder settings.
#include "video/avi_encoders.h"

#include <algorithm>

#include "video/avi_encoder_setup.h"

extern "C" {
#include <libavutil/opt.h>
}

namespace mevra {
namespace {

const avi_encoder_choice known_encoders[] = {
    {"rawvideo", "Uncompressed RGB", false, false, false},
    {"mjpeg", "Motion JPEG", false, true, true},
    {"mpeg4", "MPEG-4 Visual (Xvid compatible)", true, true, true},
    {"libx264", "H.264 (x264)", true, true, true},
    {"ffv1", "FFV1 (lossless)", true, false, false},
    {"huffyuv", "HuffYUV (lossless)", false, false, false},
    {"utvideo", "Ut Video (lossless)", false, false, false},
};

bool is_lossless(const std::string& name) {
    return name == "ffv1" || name == "huffyuv" || name == "utvideo";
}

AVPixelFormat raw_format(int bits) {
    switch (bits) {
        case 8:
            return AV_PIX_FMT_PAL8;
        case 16:
            return AV_PIX_FMT_RGB555LE;
        case 32:
            return AV_PIX_FMT_BGRA;
        default:
            return AV_PIX_FMT_BGR24;
    }
}

AVPixelFormat choose_format(const AVCodec& codec, const avi_encode_options& opt, int source_bits) {
    const std::string name = codec.name;
    if (name == "rawvideo") return raw_format(opt.raw_bits);
    if (!codec.pix_fmts) return AV_PIX_FMT_YUV420P;
    if (is_lossless(name)) {
        // Keep the picture exact: the least lossy of the encoder's formats.
        const bool alpha = source_bits == 32;
        return video_detail::ffmpeg().avcodec_find_best_pix_fmt_of_list(
            codec.pix_fmts, alpha ? AV_PIX_FMT_BGRA : AV_PIX_FMT_BGR24, alpha, nullptr);
    }
    // Lossy codecs: 4:2:0, the layout every player decodes.
    const AVPixelFormat wanted = name == "mjpeg" ? AV_PIX_FMT_YUVJ420P : AV_PIX_FMT_YUV420P;
    for (const AVPixelFormat* p = codec.pix_fmts; *p != AV_PIX_FMT_NONE; ++p)
        if (*p == wanted) return wanted;
    return codec.pix_fmts[0];
}

}  // namespace

std::vector<avi_encoder_choice> available_avi_encoders() {
    std::vector<avi_encoder_choice> list;
    for (const auto& e : known_encoders)
        if (video_detail::ffmpeg().avcodec_find_encoder_by_name(e.name.c_str())) list.push_back(e);
    return list;
}

const avi_encoder_choice* find_avi_encoder(const std::string& name) {
    for (const auto& e : known_encoders)
        if (e.name == name) return video_detail::ffmpeg().avcodec_find_encoder_by_name(name.c_str()) ? &e : nullptr;
    return nullptr;
}

namespace video_detail {

uint32_t avi_codec_tag(const std::string& encoder) {
    // FFmpeg would write "FMP4", which fewer players know than Xvid's code.
    if (encoder == "mpeg4") return MKTAG('X', 'V', 'I', 'D');
    return 0;
}

codec_ctx_ptr open_avi_encoder(const avi_encode_options& opt, int width, int height, uint32_t rate,
                               uint32_t scale, int source_bits, std::string& error) {
    const avi_encoder_choice* choice = find_avi_encoder(opt.encoder);
    const AVCodec* codec = choice ? video_detail::ffmpeg().avcodec_find_encoder_by_name(opt.encoder.c_str()) : nullptr;
    if (!codec) {
        error = "encoder not available: " + opt.encoder;
        return nullptr;
    }
    if (opt.encoder == "rawvideo" && opt.raw_bits == 8 && source_bits != 8) {
        error = "8-bit uncompressed output needs an 8-bit source";
        return nullptr;
    }
    if (rate == 0 || scale == 0 || rate > INT32_MAX || scale > INT32_MAX) {
        error = "unusable frame rate";
        return nullptr;
    }
    codec_ctx_ptr ctx(video_detail::ffmpeg().avcodec_alloc_context3(codec));
    if (!ctx) {
        error = "out of memory";
        return nullptr;
    }
    ctx->width = width;
    ctx->height = height;
    ctx->time_base = AVRational{static_cast<int>(scale), static_cast<int>(rate)};
    ctx->framerate = AVRational{static_cast<int>(rate), static_cast<int>(scale)};
    ctx->pix_fmt = choose_format(*codec, opt, source_bits);
    ctx->max_b_frames = std::max(0, opt.max_b_frames);
    if (opt.encoder == "mjpeg") ctx->color_range = AVCOL_RANGE_JPEG;
    if (choice->has_keyint && opt.keyint > 0) ctx->gop_size = opt.keyint;
    const int quality = std::clamp(opt.quality, 0, 100);
    if (choice->has_bitrate && opt.bitrate_kbps > 0) {
        ctx->bit_rate = int64_t{opt.bitrate_kbps} * 1000;
    } else if (choice->has_quality) {
        if (opt.encoder == "libx264") {
            // Constant rate factor 51 (worst) … 0 (best).
            const std::string crf = std::to_string((100 - quality) * 51 / 100);
            video_detail::ffmpeg().av_opt_set(ctx->priv_data, "crf", crf.c_str(), 0);
        } else {
            // Fixed quantiser 31 (worst) … 1 (best).
            ctx->flags |= AV_CODEC_FLAG_QSCALE;
            ctx->global_quality = FF_QP2LAMBDA * (31 - quality * 30 / 100);
        }
    }
    if (opt.encoder == "libx264" && opt.max_b_frames <= 0)
        video_detail::ffmpeg().av_opt_set(ctx->priv_data, "bframes", "0", 0);
    const int r = video_detail::ffmpeg().avcodec_open2(ctx.get(), codec, nullptr);
    if (r < 0) {
        error = opt.encoder + ": " + av_error_text(r);
        return nullptr;
    }
    return ctx;
}

encoder_input::~encoder_input() {
    video_detail::ffmpeg().sws_freeContext(sws_);
}

AVFrame* encoder_input::convert(const AVFrame& src, const AVCodecContext& enc, std::string& error) {
    error = "out of memory";
    video_detail::ffmpeg().av_frame_unref(out_.get());
    out_->format = enc.pix_fmt;
    out_->width = enc.width;
    out_->height = enc.height;
    if (video_detail::ffmpeg().av_frame_get_buffer(out_.get(), 0) < 0) return nullptr;
    if (src.format == enc.pix_fmt && src.width == enc.width && src.height == enc.height) {
        if (video_detail::ffmpeg().av_frame_copy(out_.get(), &src) < 0) return nullptr;
    } else {
        if (enc.pix_fmt == AV_PIX_FMT_PAL8) {
            error = "8-bit uncompressed output needs 8-bit frames of one size";
            return nullptr;
        }
        sws_ = video_detail::ffmpeg().sws_getCachedContext(sws_, src.width, src.height,
                                    static_cast<AVPixelFormat>(src.format), enc.width, enc.height,
                                    enc.pix_fmt, SWS_BICUBIC, nullptr, nullptr, nullptr);
        if (!sws_) {
            error = "no conversion to the encoder's pixel format";
            return nullptr;
        }
        if (video_detail::ffmpeg().sws_scale(sws_, src.data, src.linesize, 0, src.height, out_->data, out_->linesize) !=
            enc.height)
            return nullptr;
    }
    if (enc.color_range == AVCOL_RANGE_JPEG) out_->color_range = AVCOL_RANGE_JPEG;
    error.clear();
    return out_.get();
}

}  // namespace video_detail
}  // namespace mevra
