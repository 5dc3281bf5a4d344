#pragma once
// The playback worker's clock, free of any window: it decides, once per
// millisecond poll, whether frames are due and which frame comes next.
// The player window runs `run_playback_loop` on a worker thread; tests call
// `playback_clock::poll` directly with the readings of a fake clock.
#include <atomic>
#include <cstdint>
#include <functional>

namespace mevra {

// What the user-interface thread and the worker share. The play mode is 1
// while playing; the current frame is also written by the buttons and the
// slider during play, and the worker continues from whatever it finds.
struct playback_shared {
    std::atomic<int> play_mode{0};
    std::atomic<int> cur_frame{0};
    std::atomic<int> length{0};     // frames; 0 when nothing is open
    std::atomic<uint32_t> rate{0};  // frames per second = rate / scale
    std::atomic<uint32_t> scale{0};
};

inline constexpr int playback_min_fps = 1;
inline constexpr int playback_max_fps = 120;
inline constexpr int playback_max_length = 1296000;

class playback_clock {
  public:
    enum class step {
        idle,      // nothing due (or not playing)
        stopped,   // the stream's rate or length is out of range: play mode cleared
        advanced,  // `frame` is the new current frame, to be decoded and drawn
    };
    struct result {
        step what = step::idle;
        int frame = 0;
        int frames_advanced = 0;
        bool report_progress = false;  // the frame counter should follow (length >= fps)
    };

    // One pass of the worker loop, `now_ms` being the millisecond clock.
    // Frame times accumulate ideally (old time += 1000 / fps per frame), so a
    // late poll advances several frames at once instead of drifting; the
    // current frame wraps to 0 when it reaches the length.
    result poll(playback_shared& shared, int32_t now_ms);

  private:
    int32_t now_time_ = 0;
    double old_time_ = 0.0;
};

// The worker's endless loop until `quit` is set: sleep 1 ms, poll, and for an
// advanced frame call `on_frame(frame, report_progress)` on this thread, else
// `on_idle()`. An exception from either is written as a debug line and the
// loop goes on.
struct playback_loop_hooks {
    std::function<int32_t()> now_ms;  // millisecond clock
    std::function<void()> sleep_1ms;
    std::function<void(int frame, bool report_progress)> on_frame;
    // Optional: called instead on every pass that advances no frame, also
    // while not playing (the player decodes the slider's frame there).
    std::function<void()> on_idle;
};
void run_playback_loop(playback_shared& shared, const playback_loop_hooks& hooks,
                       const std::atomic<bool>& quit);

// The steady clock in milliseconds, wrapping like a 32-bit tick counter.
int32_t steady_clock_ms();

}  // namespace mevra
