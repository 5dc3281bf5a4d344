#include "video/playback_clock.h"

#include <chrono>
#include <exception>
#include <string>
#include <thread>

#include "platform/ui_port.h"

namespace mevra {

playback_clock::result playback_clock::poll(playback_shared& shared, int32_t now_ms) {
    result r;
    const uint32_t scale = shared.scale.load();
    if (scale == 0) return r;
    const uint32_t fps = shared.rate.load() / scale;
    if (shared.play_mode.load() != 1) {
        now_time_ = now_ms;
        old_time_ = now_time_;
        return r;
    }
    if (fps < playback_min_fps || fps > playback_max_fps) {
        shared.play_mode.store(0);
        r.what = step::stopped;
        return r;
    }
    int frame = shared.cur_frame.load();
    if (frame < 0) return r;
    const int length = shared.length.load();
    if (length < 1 || length > playback_max_length) {
        shared.play_mode.store(0);
        r.what = step::stopped;
        return r;
    }
    const float interval = 1000.0f / static_cast<float>(fps);
    now_time_ = now_ms;
    if (old_time_ > now_time_) {
        // The clock went back: start timing afresh from here.
        old_time_ = now_time_;
        return r;
    }
    if (now_time_ - old_time_ < interval) return r;
    int n = 0;
    do {
        ++n;
        old_time_ += interval;
    } while (now_time_ - old_time_ >= interval);
    frame += n;
    if (frame >= length) frame = 0;
    shared.cur_frame.store(frame);
    r.what = step::advanced;
    r.frame = frame;
    r.frames_advanced = n;
    r.report_progress = static_cast<uint32_t>(length) >= fps;
    return r;
}

void run_playback_loop(playback_shared& shared, const playback_loop_hooks& hooks,
                       const std::atomic<bool>& quit) {
    playback_clock clock;
    while (!quit.load()) {
        hooks.sleep_1ms();
        try {
            const auto r = clock.poll(shared, hooks.now_ms());
            if (r.what == playback_clock::step::advanced) {
                if (hooks.on_frame) hooks.on_frame(r.frame, r.report_progress);
            } else if (hooks.on_idle) {
                hooks.on_idle();
            }
        } catch (const std::exception& e) {
            ui().debug_line(std::string("error") + e.what() + "playback");
        }
    }
}

int32_t steady_clock_ms() {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count();
    return static_cast<int32_t>(static_cast<uint32_t>(ms));
}

}  // namespace mevra
