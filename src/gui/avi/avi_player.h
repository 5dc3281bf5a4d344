#pragma once
// The AVI player: a child window of the main window that opens the first video
// stream of a dropped AVI file, steps through it frame by frame or plays it in
// real time on a worker thread, draws frames with the image window's zoom,
// grid and display rules taken from the settings, and re-saves the stream with
// a chosen encoder.
//
// Threads: the user-interface thread owns the controls; the playback worker
// runs for the life of the window and, while the play mode is 1, is the only
// one that decodes and composes frames. Stop and Pause clear the play mode and
// then wait until the worker has finished the pass it was in, so afterwards
// the user-interface thread can use the reader and the frame image safely.
// While stopped, the worker also decodes the frames the slider asks for, so
// dragging it never waits for a slow decode; the reader's mutex keeps the two
// threads from decoding at once, and the worker never waits for it.
#include <QImage>
#include <QMdiSubWindow>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "image/image_info.h"
#include "render/canvas_renderer.h"
#include "video/avi_encoders.h"
#include "video/avi_reader.h"
#include "video/playback_clock.h"

class QLabel;
class QSlider;
class QToolButton;
class QPainter;
class avi_frame_panel;
class avi_control_bar;

class avi_player : public QMdiSubWindow {
    Q_OBJECT
  public:
    // The player exists once; other windows reach it through the class.
    static avi_player* g_instance;

    // Frame commands of set_frame.
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

    explicit avi_player(QWidget* parent = nullptr);
    ~avi_player() override;

    // Opens `path` (its first video stream); 0, or -1 after the message.
    int open_file(const QString& path);
    // Forgets the open file and the frame image (length and frame stay).
    void close_file();
    // Applies a frame command and shows the frame unless playing; returns the
    // current frame (0 while nothing is open). With `on_worker` the frame is
    // only requested from the worker, which shows it when decoded; a newer
    // request replaces one not yet started.
    int set_frame(int command, bool on_worker = false);
    // Slider range for the open stream.
    void setup_slider();
    // Writes the frame counter.
    void refresh_counter();
    // 1 while playing, else 0.
    int play_mode() const { return shared_.play_mode.load(); }
    // Redraws the current frame with the settings' view options; ignored
    // while playing (the worker draws then, picking the options up itself).
    void repaint_image();
    // Asks for the encoder and writes the open stream to `path`.
    void save_avi(const QString& path);

    // The user's commands.
    void open_dropped(const QStringList& paths);  // only the first path is used
    void close_command();                         // context menu "閉じる"
    void save_command();                          // context menu "AVIを保存"
    void button_command(int command);             // a bar button
    void activated();

    // Dialog steps of the save, replaceable so tests can script them.
    // The save dialog: the chosen path, or empty when cancelled.
    std::function<QString(const QString& folder, const QString& name)> ask_save_path;
    // The compressor choice for `frame` (the current frame's bitmap); false
    // when cancelled.
    std::function<bool(const std::vector<uint8_t>& frame, uint32_t rate, uint32_t scale,
                       mevra::avi_encode_options& options)>
        ask_compressor;
    // Called on the decoding thread just before a frame is decoded, so tests
    // can watch where frames are decoded and hold a decode up.
    std::function<void(int frame)> frame_decode_starting;

    // State (read on the user-interface thread).
    int current_frame() const { return shared_.cur_frame.load(); }
    int frame_length() const { return shared_.length.load(); }
    const QString& avi_filename() const { return avi_filename_; }
    // The current frame image; valid only while not playing.
    const mevra::image_info* frame_image() const { return image_.get(); }

    // Draws the view (called by the panel's paint event).
    void paint_view(QPainter& painter, int width, int height);

    // The controls.
    avi_frame_panel* frame_panel = nullptr;
    avi_control_bar* bar = nullptr;
    QToolButton* first_button = nullptr;    // move first frame
    QToolButton* back_button = nullptr;     // back 1 frame
    QToolButton* play_button = nullptr;     // Play
    QToolButton* forward_button = nullptr;  // forward 1 frame
    QToolButton* end_button = nullptr;      // move end frame
    QToolButton* stop_button = nullptr;     // Stop
    QToolButton* pause_button = nullptr;    // Pause
    QSlider* frame_slider = nullptr;
    QLabel* frame_counter_label = nullptr;  // frame counter
    QLabel* status_label = nullptr;         // status line

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // A decoded frame: its bitmap and image, or the failure to report.
    struct decoded_frame {
        std::vector<uint8_t> dib;
        std::unique_ptr<mevra::image_info> image;
        mevra::avi_failure failure;
    };

    void build_controls();
    // The slider was moved (by dragging, a click or a key).
    void slider_moved();
    // Decodes `frame` into a bitmap and an image (with the reader held);
    // false with the failure filled in and the image untouched.
    bool decode_into(int frame, std::vector<uint8_t>& dib,
                     std::unique_ptr<mevra::image_info>& image, mevra::avi_failure& failure);
    // The same into the player's own bitmap and frame image.
    bool decode_current(int frame, mevra::avi_failure& failure);
    // Decodes and shows `frame` on the user-interface thread.
    void show_frame_now(int frame);
    // Shows the frame the worker decoded for the slider, if still wanted.
    void show_requested_frame();
    void write_status_line();
    // The reader for the user-interface thread, once the worker has finished
    // a frame it is decoding for the slider.
    std::unique_lock<std::mutex> hold_reader();
    // The same, after dropping the slider's pending request and any decoded
    // frame not yet shown: the caller decides what is shown next.
    std::unique_lock<std::mutex> take_reader();
    // Sets the play mode after handing the worker's picture slot the
    // current frame.
    void start_playing();
    // The view options the worker composes with, copied from the settings
    // on the user-interface thread.
    void refresh_view_options();
    // Blocks until the worker has finished the pass it is in.
    void wait_for_worker();

    // Playback worker (avi_player_playback.cpp).
    void start_worker();
    void stop_worker();
    void worker_frame(int frame, bool report_progress);
    void serve_frame_request();
    void frame_posted(bool report_progress);
    void worker_failed(const mevra::avi_failure& failure);

    // Player state shared with the worker.
    mevra::playback_shared shared_;
    mevra::avi_reader reader_;
    std::mutex reader_mutex_;
    std::vector<uint8_t> dib_;                  // last decoded frame bitmap
    std::unique_ptr<mevra::image_info> image_;  // the current frame
    int vfw_before_frame_ = -1;
    QString avi_filename_;
    const uint32_t* tile_ = nullptr;

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
    std::mutex post_mutex_;
    mevra::canvas_view view_options_;
    QImage posted_;
};
