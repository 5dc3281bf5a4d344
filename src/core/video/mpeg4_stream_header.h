#pragma once
// Internal to the video module: the stream header of MPEG-4 Visual (Xvid,
// DivX) files that carry it only inside their first frame.
//
// FFmpeg's decoder reads the header (picture size, timing, and the DivX mark
// of "packed" B-frames) from the format's extra data, or from the first
// packet it decodes. A player that jumps into the file first never sees that
// packet, so the header is taken from the first frame beforehand and handed
// to the decoder as extra data.
#include <cstdint>
#include <vector>

#include "video/ffmpeg_glue.h"

namespace mevra::video_detail {

// The bytes before the first picture (VOP) of the stream's first indexed
// frame, when they are a header; empty otherwise. Reads through the file's
// I/O context and leaves its position as it was.
std::vector<uint8_t> mpeg4_in_band_header(AVFormatContext& fmt, int stream);

// Gives `dec` the header as extra data if it has none.
void attach_stream_header(AVCodecContext& dec, const std::vector<uint8_t>& header);

}  // namespace mevra::video_detail
