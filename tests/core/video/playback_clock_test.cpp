// The worker's clock driven by a fake millisecond counter.
#include <gtest/gtest.h>

#include <thread>

#include "support/test_support.h"
#include "video/playback_clock.h"

namespace mevra {
namespace {

struct clock_fixture {
    playback_shared shared;
    playback_clock clock;
    clock_fixture(uint32_t rate, uint32_t scale, int length) {
        shared.rate = rate;
        shared.scale = scale;
        shared.length = length;
        clock.poll(shared, 1000);  // not playing yet: the clock starts here
        shared.play_mode = 1;
    }
};

TEST(PlaybackClockTest, TenFpsAdvancesEveryHundredMilliseconds) {
    clock_fixture f(10, 1, 50);
    EXPECT_EQ(f.clock.poll(f.shared, 1099).what, playback_clock::step::idle);
    auto r = f.clock.poll(f.shared, 1100);
    EXPECT_EQ(r.what, playback_clock::step::advanced);
    EXPECT_EQ(r.frame, 1);
    EXPECT_TRUE(r.report_progress);
    EXPECT_EQ(f.clock.poll(f.shared, 1150).what, playback_clock::step::idle);
    // Ideal times: the next frame is due at 1200 even though this poll was late.
    EXPECT_EQ(f.clock.poll(f.shared, 1205).frame, 2);
    EXPECT_EQ(f.clock.poll(f.shared, 1300).frame, 3);
}

TEST(PlaybackClockTest, ALateWorkerSkipsFrames) {
    clock_fixture f(10, 1, 50);
    auto r = f.clock.poll(f.shared, 1350);
    EXPECT_EQ(r.frames_advanced, 3);
    EXPECT_EQ(r.frame, 3);
    EXPECT_EQ(f.shared.cur_frame.load(), 3);
    EXPECT_EQ(f.clock.poll(f.shared, 1399).what, playback_clock::step::idle);
    EXPECT_EQ(f.clock.poll(f.shared, 1400).frame, 4);
}

TEST(PlaybackClockTest, WrapsAtTheEndAndReportsOnlyLongStreams) {
    clock_fixture f(30000, 1001, 3);  // 29 fps by integer division
    f.shared.cur_frame = 2;
    auto r = f.clock.poll(f.shared, 1035);
    EXPECT_EQ(r.frame, 0);
    EXPECT_FALSE(r.report_progress);  // 3 frames < 29 fps
}

TEST(PlaybackClockTest, OutOfRangeStreamsStopPlaying) {
    clock_fixture fast(121, 1, 10);
    EXPECT_EQ(fast.clock.poll(fast.shared, 2000).what, playback_clock::step::stopped);
    EXPECT_EQ(fast.shared.play_mode.load(), 0);
    clock_fixture long_one(30, 1, 1296001);
    EXPECT_EQ(long_one.clock.poll(long_one.shared, 2000).what, playback_clock::step::stopped);
    clock_fixture no_scale(30, 0, 10);
    EXPECT_EQ(no_scale.clock.poll(no_scale.shared, 2000).what, playback_clock::step::idle);
    EXPECT_EQ(no_scale.shared.play_mode.load(), 1);
    // A clock that went back restarts the timing instead of racing ahead.
    clock_fixture back(10, 1, 50);
    EXPECT_EQ(back.clock.poll(back.shared, 500).what, playback_clock::step::idle);
    EXPECT_EQ(back.clock.poll(back.shared, 599).what, playback_clock::step::idle);
    EXPECT_EQ(back.clock.poll(back.shared, 600).frame, 1);
}

TEST(PlaybackClockTest, LoopCallsBackAndSurvivesExceptions) {
    test::recording_ui ui;
    playback_shared shared;
    shared.rate = 10;
    shared.scale = 1;
    shared.length = 100;
    std::atomic<bool> quit{false};
    int32_t fake_now = 0;
    int frames = 0, idle = 0, passes = 0;
    playback_loop_hooks hooks;
    hooks.now_ms = [&] { return fake_now; };
    hooks.on_idle = [&] { ++idle; };
    hooks.sleep_1ms = [&] {
        ++passes;
        fake_now += 10;
        if (fake_now == 20) shared.play_mode = 1;
    };
    hooks.on_frame = [&](int frame, bool) {
        if (++frames == 2) throw std::runtime_error(" bad frame ");
        if (frame >= 5) quit = true;
    };
    run_playback_loop(shared, hooks, quit);
    EXPECT_EQ(shared.cur_frame.load(), 5);
    EXPECT_EQ(idle + frames, passes);  // every pass reports one way or the other
    EXPECT_GE(idle, 1);
    ASSERT_EQ(ui.debug.size(), 1u);
    EXPECT_NE(ui.debug[0].find("bad frame"), std::string::npos);
}

}  // namespace
}  // namespace mevra
