#pragma once
// Internal to the video module: where the pictures of an H.264 stream with
// B-frames are shown. An AVI file stores them in decoding order and carries
// no presentation times, so each packet's picture order count is read with
// FFmpeg's H.264 parser. Within one run of decoding from a key frame, the
// picture of the packet at position p is shown at
//     (position of the run's last IDR picture at or before p, else its first
//      packet) + (packets of that stretch with a lower order count),
// since every packet before that start is shown before every packet after it.
// Packets with a lower order count than the run's first key frame are its
// leading pictures: they lean on pictures before the key frame.
#include <cstdint>
#include <vector>

#include "video/ffmpeg_glue.h"

namespace mevra::video_detail {

class h264_display_order {
  public:
    h264_display_order() = default;
    ~h264_display_order();
    h264_display_order(const h264_display_order&) = delete;
    h264_display_order& operator=(const h264_display_order&) = delete;

    // Prepares the parser for a stream (its extra data holds the parameter
    // sets of some files). False when FFmpeg has no H.264 parser.
    bool open(const AVCodecParameters& par);
    // Forgets the run: the next packet noted begins a new one.
    void start_run();
    // Reads the packet at `position` (the next in decoding order).
    void note(const AVPacket& packet, int64_t position);

    // Where the picture of the packet at `position` is shown; -1 when that
    // packet was not noted in this run.
    int64_t display_of(int64_t position) const;
    // True for a leading picture of the run's first key frame.
    bool is_leading(int64_t position) const;
    // True when a noted packet's picture is shown at `display`.
    bool has_picture_at(int64_t display) const;

  private:
    struct entry {
        int64_t position;
        int poc;
        int stretch;  // rises at every IDR picture after the first packet
    };
    const entry* find(int64_t position) const;

    AVCodecParserContext* parser_ = nullptr;
    AVCodecContext* ctx_ = nullptr;
    std::vector<entry> run_;                  // in decoding order
    std::vector<int64_t> stretch_start_;      // position of each stretch's first packet
    std::vector<std::vector<int>> stretch_pocs_;  // each stretch's order counts, sorted
};

}  // namespace mevra::video_detail
