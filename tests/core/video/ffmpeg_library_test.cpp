// FFmpeg is loaded at run time: every function the video module calls must be
// a real export of the libraries (an inline function of the headers is not).
#include <gtest/gtest.h>

#include "video/ffmpeg_library.h"

namespace mevra::video_detail {
namespace {

TEST(FfmpegLibrary, EveryFunctionIsFoundInTheLibraries) {
    std::string why;
    EXPECT_TRUE(ffmpeg_loaded(&why)) << why;
    EXPECT_NE(ffmpeg().av_frame_alloc, nullptr);
    AVFrame* frame = ffmpeg().av_frame_alloc();
    ASSERT_NE(frame, nullptr);
    ffmpeg().av_frame_free(&frame);
    EXPECT_EQ(frame, nullptr);
}

}  // namespace
}  // namespace mevra::video_detail
