// The player's engine on its own, without any window: opening, stepping and
// jumping, playing a few frames on the worker, stopping, and closing or
// destroying it while the worker is in the middle of a decode.
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "avi/avi_playback_engine.h"
#include "support/test_avi.h"
#include "support/test_support.h"

namespace {

using engine = avi_playback_engine;
using mevra::test::test_avi_colour;

uint32_t shown(const engine& e) {
    const mevra::image_info* image = e.frame_image();
    return image && !image->argb_buff.empty() ? image->argb_buff[0] : 0;
}

// Holds up the worker's next decode until 50 ms after it has started.
void hold_worker_decode(engine& e, int frame) {
    struct gate {
        std::mutex m;
        std::condition_variable cv;
        bool started = false;
    };
    auto g = std::make_shared<gate>();
    const auto gui = std::this_thread::get_id();
    e.frame_decode_starting = [g, gui](int) {
        if (std::this_thread::get_id() == gui) return;
        std::unique_lock lock(g->m);
        g->started = true;
        g->cv.notify_all();
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    };
    e.command(engine::CMD_SLIDER, frame, true);
    std::unique_lock lock(g->m);
    ASSERT_TRUE(g->cv.wait_for(lock, std::chrono::seconds(5), [&] { return g->started; }));
}

struct playback_engine : ::testing::Test {
    mevra::test::temp_dir dir;
    QString movie = QString::fromStdString(dir.file("movie.avi"));
    engine player;

    void SetUp() override {
        mevra::test::write_test_avi(movie.toStdString());
        ASSERT_EQ(player.open(movie), 0);
    }
};

TEST_F(playback_engine, OpensStepsAndJumps) {
    EXPECT_EQ(player.length(), mevra::test::test_avi_frames);
    EXPECT_EQ(player.rate() / player.scale(), 10u);
    EXPECT_EQ(shown(player), test_avi_colour(0));
    const std::pair<int, int> steps[] = {{engine::CMD_FORWARD, 1}, {engine::CMD_END, 5},
                                         {engine::CMD_FORWARD, 5}, {engine::CMD_BACK, 4},
                                         {engine::CMD_FIRST, 0},   {engine::CMD_BACK, 0}};
    for (const auto& [command, frame] : steps) {
        EXPECT_EQ(player.command(command), frame) << command;
        EXPECT_EQ(shown(player), test_avi_colour(frame)) << command;
    }
    // A jump decodes at once, clamped to the stream, or on the worker, which
    // reports the frame when it is in place.
    EXPECT_EQ(player.command(engine::CMD_SLIDER, 99), 5);
    EXPECT_EQ(shown(player), test_avi_colour(5));
    QSignalSpy frames_shown(&player, &engine::frame_shown);
    EXPECT_EQ(player.command(engine::CMD_SLIDER, 2, true), 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return frames_shown.count() == 1; }));
    EXPECT_EQ(shown(player), test_avi_colour(2));
}

TEST_F(playback_engine, PlaysAFewFramesOnTheWorkerThenPausesAndStops) {
    mevra::canvas_view view;
    view.width = 16;
    view.height = 12;
    view.draw_type = 1;  // colours only
    player.set_view(view);
    QSignalSpy pictures(&player, &engine::picture_ready);
    player.command(engine::CMD_PLAY);
    EXPECT_EQ(player.play_mode(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pictures.count() >= 3; }, 5000));
    EXPECT_EQ(player.latest_picture().size(), QSize(16, 12));

    // Paused, the frame counted is the frame shown once asked for again.
    const int paused = player.command(engine::CMD_PAUSE);
    EXPECT_EQ(player.play_mode(), 0);
    player.forget_shown_frame();
    EXPECT_EQ(player.command(engine::CMD_SLIDER, paused), paused);
    EXPECT_EQ(shown(player), test_avi_colour(paused));

    player.command(engine::CMD_PLAY);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pictures.count() >= 4; }, 5000));
    EXPECT_EQ(player.command(engine::CMD_STOP), 0);
    QTest::qWait(30);  // late reports of the worker change nothing
    EXPECT_EQ(player.current_frame(), 0);
}

TEST_F(playback_engine, CloseOrDestructionWaitsForTheDecodeInFlight) {
    hold_worker_decode(player, 3);
    player.close();
    EXPECT_FALSE(player.is_open());
    QSignalSpy frames_shown(&player, &engine::frame_shown);
    QTest::qWait(30);  // the frame decoded meanwhile is no longer wanted
    EXPECT_EQ(frames_shown.count(), 0);
    EXPECT_EQ(player.frame_image(), nullptr);

    auto doomed = std::make_unique<engine>();
    ASSERT_EQ(doomed->open(movie), 0);
    hold_worker_decode(*doomed, 4);
    doomed.reset();
    QTest::qWait(10);
}

}  // namespace
