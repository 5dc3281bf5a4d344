// Playing: starting playback, and the worker, a thread for the life of the
// window that polls the playback clock every millisecond and, for every frame
// that falls due while the play mode is 1, decodes it, composes the view
// picture and hands it to the user-interface thread. While stopped it decodes
// the frame the slider last asked for instead.
#include <QMetaObject>
#include <chrono>

#include "avi/avi_frame_panel.h"
#include "avi/avi_player.h"
#include "video/frame_to_argb.h"

void avi_player::start_playing() {
    // A frame the slider asked for is superseded by playback; the worker
    // must have finished decoding it before it decodes for playback.
    { const auto reader = take_reader(); }
    refresh_view_options();
    // Until the worker's first frame arrives, the view keeps showing the
    // current frame rather than an empty picture.
    QImage picture;
    mevra::canvas_view v;
    {
        const std::lock_guard lock(post_mutex_);
        v = view_options_;
    }
    if (image_ && image_->flag != 0 && v.width > 0 && v.height > 0) {
        picture = QImage(v.width, v.height, QImage::Format_RGB32);
        mevra::render_player_frame(*image_, v, reinterpret_cast<uint32_t*>(picture.bits()));
    }
    {
        const std::lock_guard lock(post_mutex_);
        posted_ = std::move(picture);
    }
    shared_.play_mode.store(1);
}

void avi_player::start_worker() {
    worker_ = std::thread([this] {
        mevra::playback_loop_hooks hooks;
        hooks.now_ms = mevra::steady_clock_ms;
        hooks.sleep_1ms = [this] {
            // A pass ends here: whoever waits for the worker may go on.
            {
                const std::lock_guard lock(pass_mutex_);
                ++passes_;
            }
            pass_done_.notify_all();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        };
        hooks.on_frame = [this](int frame, bool report) { worker_frame(frame, report); };
        hooks.on_idle = [this] { serve_frame_request(); };
        mevra::run_playback_loop(shared_, hooks, quit_);
        // Nobody waits on a finished worker.
        const std::lock_guard lock(pass_mutex_);
        passes_ = UINT64_MAX;
        pass_done_.notify_all();
    });
}

void avi_player::stop_worker() {
    shared_.play_mode.store(0);
    quit_.store(true);
    if (worker_.joinable()) worker_.join();
}

void avi_player::wait_for_worker() {
    // The pass in progress when the play mode was cleared may still decode or
    // draw; the next pass sees the cleared mode and does neither. Waiting for
    // the end of the current pass is therefore enough, and usually takes
    // about a millisecond instead of a fixed pause.
    if (!worker_.joinable() || std::this_thread::get_id() == worker_.get_id()) return;
    std::unique_lock lock(pass_mutex_);
    if (passes_ == UINT64_MAX) return;
    const uint64_t seen = passes_;
    pass_done_.wait(lock, [&] { return passes_ != seen; });
}

void avi_player::worker_frame(int frame, bool report_progress) {
    // The worker never waits for the reader: while the user-interface thread
    // holds it (which it does not do during play), the frame is skipped.
    std::unique_lock reader(reader_mutex_, std::try_to_lock);
    if (!reader.owns_lock() || !reader_.is_open()) return;
    mevra::avi_failure failure;
    if (!decode_current(frame, failure)) {
        // Reported once at a time; playback goes on with the next frame.
        worker_failed(failure);
        return;
    }
    reader.unlock();
    mevra::canvas_view v;
    {
        const std::lock_guard lock(post_mutex_);
        v = view_options_;
    }
    if (v.width <= 0 || v.height <= 0) return;
    QImage picture(v.width, v.height, QImage::Format_RGB32);
    mevra::render_player_frame(*image_, v, reinterpret_cast<uint32_t*>(picture.bits()));
    {
        const std::lock_guard lock(post_mutex_);
        posted_ = std::move(picture);
    }
    QMetaObject::invokeMethod(
        this, [this, report_progress] { frame_posted(report_progress); }, Qt::QueuedConnection);
}

void avi_player::serve_frame_request() {
    if (play_mode() == 1 || frame_request_.load() < 0) return;
    // Held by the user-interface thread: the request waits for a later pass.
    std::unique_lock reader(reader_mutex_, std::try_to_lock);
    if (!reader.owns_lock()) return;
    // Requests made while this frame decodes replace each other; only the
    // newest is decoded next.
    const int frame = frame_request_.exchange(-1);
    if (frame < 0 || !reader_.is_open()) return;
    decoded_frame done;
    decode_into(frame, done.dib, done.image, done.failure);
    {
        const std::lock_guard lock(post_mutex_);
        requested_frame_ = std::move(done);
    }
    // Handed over while the reader is still held, so a command that takes
    // the reader afterwards also drops this frame.
    reader.unlock();
    QMetaObject::invokeMethod(
        this, [this] { show_requested_frame(); }, Qt::QueuedConnection);
}

void avi_player::frame_posted(bool report_progress) {
    // The settings may have changed since the last frame (zoom, grid and
    // display mode are not redrawn on request while playing).
    refresh_view_options();
    frame_panel->update();
    if (report_progress) refresh_counter();
}

void avi_player::worker_failed(const mevra::avi_failure& failure) {
    if (failure_pending_.exchange(true)) return;
    QMetaObject::invokeMethod(
        this,
        [this, failure] {
            mevra::report_avi_failure(failure);
            failure_pending_.store(false);
        },
        Qt::QueuedConnection);
}
