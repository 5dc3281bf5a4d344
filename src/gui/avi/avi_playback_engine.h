#pragma once
// The AVI player's engine, without any widget: it owns the reader of the open
// stream, the playback worker thread, the slider's frame requests (the newest
// wins) and the playback clock, and reports through signals. The player
// widget paints what the engine holds and routes the user's commands to it.
//
// Threads: the engine lives on the user-interface thread; the playback worker
// runs for the life of the engine and, while the play mode is 1, is the only
// one that decodes and composes frames. Stop and Pause clear the play mode and
// then wait until the worker has finished the pass it was in, so afterwards
// the user-interface thread can use the reader and the frame image safely.
// While stopped, the worker also decodes the frames the slider asks for, so
// dragging it never waits for a slow decode; the reader's mutex keeps the two
// threads from decoding at once, and the worker never waits for it. Signals
// are emitted on the user-interface thread only.
#include <QImage>
#include <QObject>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "image/image_info.h"
#include "render/canvas_renderer.h"
#include "video/avi_encoders.h"
#include "video/avi_reader.h"
#include "video/playback_clock.h"

class avi_playback_engine : public QObject {
    Q_OBJECT
  public:
    // The frame commands.
    enum frame_command {
        CMD_SLIDER = 0,
        CMD_FIRST = 1,
        CMD_BACK = 2,
        CMD_PLAY = 3,
        CMD_FORWARD = 4,
        CMD_END = 5,
        CMD_STOP = 6,
        CMD_PAUSE = 7,
    };

    explicit avi_playback_engine(QObject* parent = nullptr);
    ~avi_playback_engine() override;

    // Opens `path` (its first video stream) and shows its first frame; 0, or
    // -1 after the message. A missing file leaves the open one open.
    int open(const QString& path);
    // Forgets the open file and the frame image (length and frame stay).
    void close();
    bool is_open() const;

    // Applies a frame command and shows the frame unless playing; returns the
    // current frame (0 while nothing is open). `slider_frame` is the frame
    // CMD_SLIDER moves to. With `on_worker` the frame is only requested from
    // the worker, which decodes it meanwhile; a newer request replaces one not
    // yet started.
    int command(int command, int slider_frame = 0, bool on_worker = false);
    // The next command shows its frame even when it is the frame shown.
    void forget_shown_frame() { shown_frame_ = -1; }

    // State (read on the user-interface thread).
    int play_mode() const { return shared_.play_mode.load(); }
    int current_frame() const { return shared_.cur_frame.load(); }
    int length() const { return shared_.length.load(); }
    uint32_t rate() const { return shared_.rate.load(); }
    uint32_t scale() const { return shared_.scale.load(); }
    // The current frame image and its bitmap; valid only while not playing.
    const mevra::image_info* frame_image() const { return image_.get(); }
    const std::vector<uint8_t>& frame_bitmap() const { return dib_; }
    // Bit count of the last decoded bitmap (0 before any).
    int last_bit_count();

    // What the worker composes its pictures with; the widget keeps it current.
    void set_view(const mevra::canvas_view& view);
    mevra::canvas_view view() const;
    // The worker's latest finished picture (null before the first).
    QImage latest_picture() const;

    // Re-encodes the open stream into `path` (see reencode_avi); refused
    // while playing or with nothing open.
    int reencode(const std::string& path, const mevra::avi_encode_options& options,
                 const std::function<bool(int done, int total)>& progress,
                 mevra::avi_failure& failure);

    // Called on the decoding thread just before a frame is decoded, so tests
    // can watch where frames are decoded and hold a decode up.
    std::function<void(int frame)> frame_decode_starting;

  signals:
    // A new current frame image is in place (decoded for a command, or the
    // slider's frame from the worker): repaint and describe it.
    void frame_shown();
    // While playing: the worker's next picture is ready, with whether the
    // frame counter should follow.
    void picture_ready(bool report_progress);

  private:
    // A decoded frame: its bitmap and image, or the failure to report.
    struct decoded_frame {
        std::vector<uint8_t> dib;
        std::unique_ptr<mevra::image_info> image;
        mevra::avi_failure failure;
    };

    // Decodes `frame` into a bitmap and an image (with the reader held);
    // false with the failure filled in and the image untouched.
    bool decode_into(int frame, std::vector<uint8_t>& dib,
                     std::unique_ptr<mevra::image_info>& image, mevra::avi_failure& failure);
    // Decodes and shows `frame` on the user-interface thread.
    void show_frame_now(int frame);
    // Shows the frame the worker decoded for the slider, if still wanted.
    void show_requested_frame();
    // The reader for the user-interface thread, once the worker has finished
    // a frame it is decoding for the slider.
    std::unique_lock<std::mutex> hold_reader();
    // The same, after dropping the slider's pending request and any decoded
    // frame not yet shown: the caller decides what is shown next.
    std::unique_lock<std::mutex> take_reader();
    // Sets the play mode after handing the worker's picture slot the
    // current frame.
    void start_playing();
    // Blocks until the worker has finished the pass it is in.
    void wait_for_worker();

    // The worker (avi_playback_worker.cpp).
    void start_worker();
    void stop_worker();
    void worker_frame(int frame, bool report_progress);
    void serve_frame_request();
    void worker_failed(const mevra::avi_failure& failure);

    // State shared with the worker.
    mevra::playback_shared shared_;
    mevra::avi_reader reader_;
    std::mutex reader_mutex_;
    std::vector<uint8_t> dib_;                  // last decoded frame bitmap
    std::unique_ptr<mevra::image_info> image_;  // the current frame
    int shown_frame_ = -1;

    // Worker thread and its pass counter (for waiting exactly).
    std::thread worker_;
    std::atomic<bool> quit_{false};
    std::mutex pass_mutex_;
    std::condition_variable pass_done_;
    uint64_t passes_ = 0;
    std::atomic<bool> failure_pending_{false};

    // The slider's newest frame request (-1: none) and the worker's answer
    // (guarded by post_mutex_).
    std::atomic<int> frame_request_{-1};
    std::optional<decoded_frame> requested_frame_;

    // What the worker composes with, and its latest finished picture.
    mutable std::mutex post_mutex_;
    mevra::canvas_view view_;
    QImage posted_;
};
