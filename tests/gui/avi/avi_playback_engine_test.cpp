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
using namespace std::chrono_literals;

uint32_t colour(int frame) {
    return mevra::test::test_avi_colour(frame);
}

uint32_t shown(const engine& e) {
    const mevra::image_info* image = e.frame_image();
    return image && !image->argb_buff.empty() ? image->argb_buff[0] : 0;
}

// Holds the worker's decodes until released; decodes on the calling thread pass.
struct worker_gate {
    std::mutex m;
    std::condition_variable cv;
    bool started = false, held = true;
    const std::thread::id gui = std::this_thread::get_id();

    void attach(engine& e) {
        e.frame_decode_starting = [this](int) {
            if (std::this_thread::get_id() == gui) return;
            std::unique_lock lock(m);
            started = true;
            cv.notify_all();
            cv.wait_for(lock, 5s, [this] { return !held; });
        };
    }
    bool wait_started() {
        std::unique_lock lock(m);
        return cv.wait_for(lock, 5s, [this] { return started; });
    }
    // Releases the decode a little later, from another thread.
    std::thread release_later() {
        return std::thread([this] {
            std::this_thread::sleep_for(50ms);
            {
                const std::lock_guard lock(m);
                held = false;
            }
            cv.notify_all();
        });
    }
};

struct playback_engine : ::testing::Test {
    mevra::test::temp_dir dir;
    QString movie = QString::fromStdString(dir.file("movie.avi"));
    engine player;

    void SetUp() override { mevra::test::write_test_avi(movie.toStdString()); }
};

TEST_F(playback_engine, OpensStepsAndJumps) {
    QSignalSpy frames_shown(&player, &engine::frame_shown);
    ASSERT_EQ(player.open(movie), 0);
    EXPECT_TRUE(player.is_open());
    EXPECT_EQ(player.length(), mevra::test::test_avi_frames);
    EXPECT_EQ(player.rate() / player.scale(), 10u);
    EXPECT_EQ(player.last_bit_count(), 24);
    EXPECT_EQ(shown(player), colour(0));
    EXPECT_EQ(frames_shown.count(), 1);

    const std::pair<int, int> steps[] = {{engine::CMD_FORWARD, 1}, {engine::CMD_FORWARD, 2},
                                         {engine::CMD_BACK, 1},    {engine::CMD_END, 5},
                                         {engine::CMD_FORWARD, 5}, {engine::CMD_FIRST, 0},
                                         {engine::CMD_BACK, 0}};
    for (const auto& [command, frame] : steps) {
        EXPECT_EQ(player.command(command), frame) << command;
        EXPECT_EQ(player.current_frame(), frame);
        EXPECT_EQ(shown(player), colour(frame)) << command;
    }
    // A jump decodes at once, clamped to the stream...
    EXPECT_EQ(player.command(engine::CMD_SLIDER, 4), 4);
    EXPECT_EQ(shown(player), colour(4));
    EXPECT_EQ(player.command(engine::CMD_SLIDER, 99), 5);
    EXPECT_EQ(shown(player), colour(5));
    // ...or on the worker, which reports the frame when it is in place.
    frames_shown.clear();
    EXPECT_EQ(player.command(engine::CMD_SLIDER, 2, true), 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return frames_shown.count() == 1; }));
    EXPECT_EQ(shown(player), colour(2));

    // A damaged file is refused with its message and leaves nothing open.
    mevra::test::recording_ui ui;
    const std::string junk = dir.file("junk.avi");
    mevra::test::write_bytes(junk, std::vector<uint8_t>(300, 0x5A));
    EXPECT_EQ(player.open(QString::fromStdString(junk)), -1);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_FALSE(player.is_open());
    EXPECT_EQ(player.length(), 0);
    EXPECT_EQ(player.command(engine::CMD_END), 0);
}

TEST_F(playback_engine, PlaysAFewFramesOnTheWorkerThenPausesAndStops) {
    ASSERT_EQ(player.open(movie), 0);
    mevra::canvas_view view;
    view.width = 16;
    view.height = 12;
    view.draw_type = 1;  // colours only
    view.tile = mevra::background_tile(0);
    player.set_view(view);
    QSignalSpy pictures(&player, &engine::picture_ready);

    player.command(engine::CMD_PLAY);
    EXPECT_EQ(player.play_mode(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pictures.count() >= 3; }, 5000));
    const QImage picture = player.latest_picture();
    ASSERT_EQ(picture.size(), QSize(16, 12));
    bool a_frame = false;
    for (int f = 0; f < mevra::test::test_avi_frames; ++f)
        a_frame = a_frame || picture.pixel(0, 0) == colour(f);
    EXPECT_TRUE(a_frame);

    // Paused, the frame counted is the frame shown once asked for again.
    const int paused = player.command(engine::CMD_PAUSE);
    EXPECT_EQ(player.play_mode(), 0);
    player.forget_shown_frame();
    EXPECT_EQ(player.command(engine::CMD_SLIDER, paused), paused);
    EXPECT_EQ(shown(player), colour(paused));

    player.command(engine::CMD_PLAY);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pictures.count() >= 4; }, 5000));
    EXPECT_EQ(player.command(engine::CMD_STOP), 0);
    EXPECT_EQ(player.play_mode(), 0);
    QTest::qWait(30);  // late reports of the worker change nothing
    EXPECT_EQ(player.current_frame(), 0);
}

TEST_F(playback_engine, CloseWaitsForTheDecodeInFlightAndDropsItsFrame) {
    ASSERT_EQ(player.open(movie), 0);
    worker_gate gate;
    gate.attach(player);
    player.command(engine::CMD_SLIDER, 3, true);
    ASSERT_TRUE(gate.wait_started());
    std::thread release = gate.release_later();
    player.close();
    release.join();
    EXPECT_FALSE(player.is_open());
    EXPECT_EQ(player.frame_image(), nullptr);
    QSignalSpy frames_shown(&player, &engine::frame_shown);
    QTest::qWait(30);
    EXPECT_EQ(frames_shown.count(), 0);
    EXPECT_EQ(player.frame_image(), nullptr);
    player.frame_decode_starting = nullptr;

    // An engine destroyed during a decode waits for it and posts nothing after.
    auto doomed = std::make_unique<engine>();
    ASSERT_EQ(doomed->open(movie), 0);
    worker_gate second;
    second.attach(*doomed);
    doomed->command(engine::CMD_SLIDER, 4, true);
    ASSERT_TRUE(second.wait_started());
    std::thread release_second = second.release_later();
    doomed.reset();
    release_second.join();
    QTest::qWait(10);
}

}  // namespace
