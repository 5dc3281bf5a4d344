#pragma once
// Internal to the video module: owning handles for FFmpeg objects and the
// conversions between FFmpeg frames and packed bitmaps. FFmpeg headers stay
// out of the module's public headers.
#include "video/ffmpeg_library.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace mevra::video_detail {

struct codec_ctx_free {
    void operator()(AVCodecContext* c) const { video_detail::ffmpeg().avcodec_free_context(&c); }
};
struct frame_free {
    void operator()(AVFrame* f) const { video_detail::ffmpeg().av_frame_free(&f); }
};
struct packet_free {
    void operator()(AVPacket* p) const { video_detail::ffmpeg().av_packet_free(&p); }
};
struct sws_free {
    void operator()(SwsContext* s) const { video_detail::ffmpeg().sws_freeContext(s); }
};
using codec_ctx_ptr = std::unique_ptr<AVCodecContext, codec_ctx_free>;
using frame_ptr = std::unique_ptr<AVFrame, frame_free>;
using packet_ptr = std::unique_ptr<AVPacket, packet_free>;

// FFmpeg's text for an error code.
std::string av_error_text(int code);

// Turns decoded frames into packed bitmaps: palette frames into 8 bits with
// their colour table, RGB555 into 16, BGR24 into 24, BGRA/BGR0 into 32 (BGR0
// opaque), other formats with alpha through libswscale into 32 and everything
// else (the YUV codecs) through libswscale into 24. Rows are stored top first
// (negative height). Keeps its scaler between frames.
class frame_to_dib_converter {
  public:
    frame_to_dib_converter() = default;
    ~frame_to_dib_converter();
    frame_to_dib_converter(const frame_to_dib_converter&) = delete;
    frame_to_dib_converter& operator=(const frame_to_dib_converter&) = delete;
    // False (dib untouched) for a frame of unusable size or a failed scaler.
    bool convert(const AVFrame& frame, std::vector<uint8_t>& dib);

  private:
    SwsContext* sws_ = nullptr;
};

// A bitmap's pixels seen as an FFmpeg frame of the matching format (8 bits
// as PAL8 with its table, 16 as RGB555, 24 as BGR24, 32 as BGRA), without
// copying; bottom-up rows are walked with a negative line size. Holds the
// palette it needs. False for a bitmap that frame_to_argb would not read.
struct dib_frame_view {
    AVFrame* frame = nullptr;  // owned; pixels point into the bitmap
    std::vector<uint32_t> palette;
    dib_frame_view() = default;
    ~dib_frame_view();
    dib_frame_view(const dib_frame_view&) = delete;
    dib_frame_view& operator=(const dib_frame_view&) = delete;
    bool wrap(std::span<const uint8_t> dib);
};

}  // namespace mevra::video_detail
