#include "video/decoded_frame_window.h"

#include <algorithm>

namespace mevra::video_detail {
namespace {

size_t frame_bytes(const AVFrame& f) {
    size_t n = 0;
    for (const AVBufferRef* b : f.buf)
        if (b) n += b->size;
    for (int i = 0; i < f.nb_extended_buf; ++i)
        if (f.extended_buf[i]) n += f.extended_buf[i]->size;
    return n;
}

}  // namespace

void decoded_frame_window::clear() {
    frames_.clear();
    bytes_ = 0;
}

bool decoded_frame_window::push(int64_t position, AVFrame& frame) {
    if (!empty() && position <= frames_.back().position) return false;
    frame_ptr kept{video_detail::ffmpeg().av_frame_alloc()};
    if (!kept) return false;
    video_detail::ffmpeg().av_frame_move_ref(kept.get(), &frame);
    const size_t bytes = frame_bytes(*kept);
    frames_.push_back({position, std::move(kept), bytes});
    bytes_ += bytes;
    while (frames_.size() > 2 && bytes_ > budget_) {
        bytes_ -= frames_.front().bytes;
        frames_.pop_front();
    }
    return true;
}

const AVFrame* decoded_frame_window::find(int64_t position) const {
    if (empty() || position < frames_.front().position || position > frames_.back().position)
        return nullptr;
    // The last kept frame at or before the position.
    auto it = std::upper_bound(frames_.begin(), frames_.end(), position,
                               [](int64_t p, const entry& e) { return p < e.position; });
    return std::prev(it)->frame.get();
}

const AVFrame* decoded_frame_window::find_exact(int64_t position) const {
    auto it = std::find_if(frames_.begin(), frames_.end(),
                           [&](const entry& e) { return e.position == position; });
    return it != frames_.end() ? it->frame.get() : nullptr;
}

}  // namespace mevra::video_detail
