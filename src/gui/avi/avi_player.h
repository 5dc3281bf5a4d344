#pragma once
// The AVI player: a child window of the main window that opens the first video
// stream of a dropped AVI file, steps through it frame by frame or plays it in
// real time, draws frames with the image window's zoom, grid and display rules
// taken from the settings, and re-saves the stream with a chosen encoder.
//
// The window paints and routes the user's commands; the reading, decoding,
// worker thread and clock belong to its engine (avi_playback_engine.h).
#include <QMdiSubWindow>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "avi/avi_playback_engine.h"

class QLabel;
class QSlider;
class QToolButton;
class QPainter;
class avi_frame_panel;
class avi_control_bar;

class avi_player : public QMdiSubWindow {
    Q_OBJECT
  public:
    using enum avi_playback_engine::frame_command;

    explicit avi_player(QWidget* parent = nullptr);
    ~avi_player() override;

    avi_playback_engine& engine() { return *engine_; }

    // Opens `path` (its first video stream); 0, or -1 after the message.
    int open_file(const QString& path);
    // Forgets the open file and the frame image (length and frame stay).
    void close_file();
    // Applies a frame command (the slider's frame for CMD_SLIDER) and shows
    // the frame unless playing; returns the current frame (0 while nothing is
    // open). With `on_worker` the frame is only requested from the worker,
    // which shows it when decoded; a newer request replaces one not yet started.
    int set_frame(int command, bool on_worker = false);
    // Slider range for the open stream.
    void setup_slider();
    // Writes the frame counter.
    void refresh_counter();
    // 1 while playing, else 0.
    int play_mode() const { return engine_->play_mode(); }
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
    int current_frame() const { return engine_->current_frame(); }
    int frame_length() const { return engine_->length(); }
    const QString& avi_filename() const { return avi_filename_; }
    // The current frame image; valid only while not playing.
    const mevra::image_info* frame_image() const { return engine_->frame_image(); }

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
    QLabel* frame_counter_label = nullptr;
    QLabel* status_label = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void build_controls();
    // The slider was moved (by dragging, a click or a key).
    void slider_moved();
    // The engine has a new current frame: repaint and describe it.
    void frame_shown();
    // The worker's picture during play.
    void picture_ready(bool report_progress);
    void write_status_line();
    // The view options the worker composes with, from the settings and the
    // view's size.
    void refresh_view_options();

    avi_playback_engine* engine_ = nullptr;
    QString avi_filename_;
    const uint32_t* tile_ = nullptr;
};
