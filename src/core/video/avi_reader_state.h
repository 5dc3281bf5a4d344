#pragma once
// Internal to the video module: the FFmpeg side of avi_reader.
#include <cstdint>
#include <string>
#include <vector>

#include "video/avi_reader.h"
#include "video/decoded_frame_window.h"
#include "video/ffmpeg_glue.h"
#include "video/h264_display_order.h"

namespace mevra {

struct avi_reader::state {
    // Input: a file through FFmpeg's file protocol, or bytes in memory.
    std::string url;
    std::vector<uint8_t> memory;
    size_t memory_pos = 0;
    AVIOContext* io = nullptr;
    AVFormatContext* fmt = nullptr;
    int stream = -1;
    video_detail::codec_ctx_ptr dec;
    video_detail::packet_ptr packet{video_detail::ffmpeg().av_packet_alloc()};
    video_detail::frame_ptr incoming{video_detail::ffmpeg().av_frame_alloc()};

    // The latest frames of this run with their positions. Streams of key
    // frames only reach any frame at once and keep just the last two; for the
    // others a quarter of a gigabyte is some 80 frames of 1080p video.
    static constexpr size_t window_bytes = size_t{256} << 20;
    video_detail::decoded_frame_window window{0};

    // The current run of decoding since the last seek.
    bool run_started = false;  // a packet has been sent since the seek
    int64_t run_base = 0;      // position of that first packet (a key frame)
    int64_t run_outputs = 0;   // frames received since the seek
    bool input_ended = false;  // the demuxer is exhausted, the decoder drains
    bool drained = false;      // the decoder has given its last frame

    // MPEG-4 Visual (Xvid, DivX) with B-frames: the B-frames right after a
    // key frame in decoding order (in "packed" files, also the one packed
    // behind it) are shown before it and may lean on the frame before the
    // key frame, so after a seek the decoder drops them and the run's first
    // frame is the key frame, shown that many positions later.
    bool mpeg4_visual = false;
    bool in_leading_b = false;  // still reading the B-frames after the key frame
    int64_t leading_b = 0;

    // H.264: each packet's timestamp is set to its position, and with
    // B-frames its picture's place is read from the order counts.
    bool h264 = false;
    video_detail::h264_display_order h264_order;

    // Palette of 8-bit streams: FFmpeg hands it over once with the first
    // packet, so after a seek the decoder would never see it again.
    std::vector<uint8_t> palette;  // 1024 bytes, or empty
    bool attach_palette = false;

    video_detail::frame_to_dib_converter converter;

    ~state();
    void close_input();
    // (Re)opens the input and the decoder; an empty `failure` caption on success.
    bool open(avi_failure& failure, const std::string& name);
    // The frame shown at position `target`, or null when it cannot be decoded.
    const AVFrame* fetch(int64_t target, int64_t start);

  private:
    void reset_run();
    bool seek_to(int64_t ts, int64_t start);
    int64_t key_at_or_before(int64_t ts, int64_t start) const;
    int64_t number_of(const AVFrame& f) const;
    bool by_order_count() const;
    // True when the run read a packet shown at `target` whose picture the
    // decoder did not give (it leans on pictures before the run).
    bool dropped(int64_t target) const;
    void note_leading_b(const AVPacket& p, bool key_packet);
    // Decodes forward until the frame for `target` is known; sets `late` when
    // the first frame of the run already lies beyond it.
    const AVFrame* run_to(int64_t target, bool& late);
    bool feed_packet();
};

}  // namespace mevra
