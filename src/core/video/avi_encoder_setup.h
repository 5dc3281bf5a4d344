#pragma once
// Internal to the video module: an opened FFmpeg encoder for the chosen
// options, shared by the AVI writer and the one-frame preview.
#include <cstdint>
#include <string>

#include "video/avi_encoders.h"
#include "video/ffmpeg_glue.h"

namespace mevra::video_detail {

// Opens the encoder `opt.encoder` for width × height frames at rate / scale
// frames per second; `source_bits` (8, 16, 24, 32) guides the stored pixel
// format of the lossless encoders. Null with the reason on failure.
codec_ctx_ptr open_avi_encoder(const avi_encode_options& opt, int width, int height, uint32_t rate,
                               uint32_t scale, int source_bits, std::string& error);

// The four-character code the AVI file gets for the encoder (0: FFmpeg's own).
uint32_t avi_codec_tag(const std::string& encoder);

// Converts bitmap-shaped frames into the encoder's pixel format and size.
class encoder_input {
  public:
    encoder_input() = default;
    ~encoder_input();
    encoder_input(const encoder_input&) = delete;
    encoder_input& operator=(const encoder_input&) = delete;
    // A frame for `enc` holding `src`; null with the reason on failure.
    AVFrame* convert(const AVFrame& src, const AVCodecContext& enc, std::string& error);

  private:
    SwsContext* sws_ = nullptr;
    frame_ptr out_{ffmpeg().av_frame_alloc()};
};

}  // namespace mevra::video_detail
