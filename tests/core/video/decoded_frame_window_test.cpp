// The run of recent frames kept for stepping back: lookup across gaps, and
// the byte budget dropping the oldest frames first.
#include <gtest/gtest.h>

#include "video/decoded_frame_window.h"

namespace mevra::video_detail {
namespace {

// A 64 × 64 BGRA frame whose first byte names it.
frame_ptr small_frame(uint8_t tag) {
    frame_ptr f{av_frame_alloc()};
    f->format = AV_PIX_FMT_BGRA;
    f->width = 64;
    f->height = 64;
    EXPECT_EQ(av_frame_get_buffer(f.get(), 0), 0);
    f->data[0][0] = tag;
    return f;
}

uint8_t tag_of(const AVFrame* f) {
    return f ? f->data[0][0] : 0;
}

TEST(DecodedFrameWindowTest, FindsFramesAndGapsAndDropsTheOldestOverBudget) {
    decoded_frame_window probe(0);
    frame_ptr first = small_frame(0);
    probe.push(0, *first);
    const size_t frame_bytes = probe.bytes();
    ASSERT_GE(frame_bytes, 64u * 64 * 4);
    decoded_frame_window w(3 * frame_bytes + frame_bytes / 2);  // room for three frames
    for (int64_t pos : {10, 11, 14}) {
        frame_ptr f = small_frame(static_cast<uint8_t>(pos));
        ASSERT_TRUE(w.push(pos, *f));
        EXPECT_EQ(f->buf[0], nullptr);  // the data moved into the window
    }
    EXPECT_EQ(tag_of(w.find(11)), 11);
    EXPECT_EQ(tag_of(w.find(13)), 11);  // inside the gap: the frame before
    EXPECT_EQ(tag_of(w.find(14)), 14);
    EXPECT_EQ(w.find(9), nullptr);
    EXPECT_EQ(w.find(15), nullptr);  // beyond the newest: not known yet

    frame_ptr late = small_frame(12);
    EXPECT_FALSE(w.push(12, *late));  // positions only rise
    EXPECT_EQ(w.size(), 3u);

    frame_ptr next = small_frame(15);
    ASSERT_TRUE(w.push(15, *next));
    EXPECT_EQ(w.size(), 3u);
    EXPECT_EQ(w.find(10), nullptr);
    EXPECT_EQ(tag_of(w.find(10 + 1)), 11);
    EXPECT_EQ(tag_of(w.newest()), 15);
    EXPECT_EQ(w.bytes(), 3 * frame_bytes);

    w.clear();
    EXPECT_TRUE(w.empty());
    EXPECT_EQ(w.newest_position(), -1);
}

}  // namespace
}  // namespace mevra::video_detail
