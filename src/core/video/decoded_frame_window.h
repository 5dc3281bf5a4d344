#pragma once
// Internal to the video module: the most recent frames of one decoding run,
// kept so that stepping back, or jumping to a frame shown a moment ago, needs
// no new decoding from the key frame. For long key-frame intervals that
// decoding is the cost of a jump (a quarter of a second to over a second for
// a 1080p stream), while a kept frame is shown at once.
//
// The frames are the decoder's own, held by reference, in the order the
// decoder gave them; their positions rise strictly. A position between two
// kept frames has no data of its own and shows the earlier one.
#include <cstddef>
#include <cstdint>
#include <deque>

#include "video/ffmpeg_glue.h"

namespace mevra::video_detail {

class decoded_frame_window {
  public:
    // Frames are dropped from the old end once they hold more than
    // `byte_budget` bytes; the newest two are always kept.
    explicit decoded_frame_window(size_t byte_budget) : budget_(byte_budget) {}

    void set_budget(size_t byte_budget) { budget_ = byte_budget; }
    void clear();
    bool empty() const { return frames_.empty(); }
    // Takes over the frame's data (`frame` is left empty); false when its
    // position does not come after the newest one, or out of memory.
    bool push(int64_t position, AVFrame& frame);

    int64_t newest_position() const { return empty() ? -1 : frames_.back().position; }
    const AVFrame* newest() const { return empty() ? nullptr : frames_.back().frame.get(); }
    // The frame shown at `position`: the kept frame at it, or the one before
    // a gap that holds it; null when the position lies outside the kept run.
    const AVFrame* find(int64_t position) const;
    // Only the frame kept at exactly `position`.
    const AVFrame* find_exact(int64_t position) const;

    size_t size() const { return frames_.size(); }
    size_t bytes() const { return bytes_; }

  private:
    struct entry {
        int64_t position;
        frame_ptr frame;
        size_t bytes;
    };
    std::deque<entry> frames_;
    size_t budget_;
    size_t bytes_ = 0;
};

}  // namespace mevra::video_detail
