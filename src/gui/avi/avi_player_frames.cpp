// The player's commands: opening a dropped file and closing it, the bar's
// buttons and the slider, and the counter and status line that describe the
// frame shown.
#include <QFileInfo>
#include <QLabel>
#include <QSlider>

#include "avi/avi_frame_panel.h"
#include "avi/avi_player.h"
#include "platform/ui_port.h"
#include "video/frame_bitmap.h"

void avi_player::open_dropped(const QStringList& paths) {
    if (paths.isEmpty()) return;
    set_frame(CMD_STOP);
    frame_slider->setValue(0);
    if (open_file(paths.front()) == 0) {
        setup_slider();
        refresh_counter();
    }
}

int avi_player::open_file(const QString& path) {
    // A missing file changes nothing here; the engine reports it.
    if (QFileInfo(path).isFile()) {
        if (play_mode() == 1) set_frame(CMD_STOP);
        setWindowTitle(path);
        avi_filename_ = path;
    }
    const int result = engine_->open(path);
    frame_panel->update();
    return result;
}

void avi_player::close_file() {
    engine_->close();
    frame_panel->update();
}

void avi_player::close_command() {
    if (play_mode() == 1) {
        mevra::show_message(mevra::avi_text::close_while_playing(),
                            mevra::avi_text::close_caption());
        return;
    }
    avi_filename_.clear();
    close_file();
}

void avi_player::setup_slider() {
    const QSignalBlocker quiet(frame_slider);
    frame_slider->setMaximum(std::max(0, frame_length() - 1));
    frame_slider->setValue(0);
}

void avi_player::button_command(int command) {
    const int frame = set_frame(command);
    if (command == CMD_PAUSE) {
        // A step or slider move during play may have changed the frame after
        // the worker drew its last one: show the frame the counter names.
        engine_->forget_shown_frame();
    }
    {
        // The slider follows the command; its own handler would only ask
        // the worker for the frame this command has just shown.
        const QSignalBlocker quiet(frame_slider);
        frame_slider->setValue(frame);
    }
    // After Stop or Pause the view must show the counted frame even when the
    // slider was there already (and so reported no change).
    if (command == CMD_STOP || command == CMD_PAUSE) set_frame(CMD_SLIDER);
    refresh_counter();
}

void avi_player::slider_moved() {
    // A frame far from a key frame can take a second to decode: the worker
    // decodes it, so dragging goes on meanwhile and only the newest position
    // is decoded next.
    set_frame(CMD_SLIDER, true);
    refresh_counter();
}

int avi_player::set_frame(int command, bool on_worker) {
    // Playback composes with the view as it is now.
    if (command == CMD_PLAY) refresh_view_options();
    return engine_->command(command, frame_slider->value(), on_worker);
}

void avi_player::frame_shown() {
    repaint_image();
    write_status_line();
}

void avi_player::picture_ready(bool report_progress) {
    // The settings may have changed since the last frame (zoom, grid and
    // display mode are not redrawn on request while playing).
    refresh_view_options();
    frame_panel->update();
    if (report_progress) refresh_counter();
}

void avi_player::write_status_line() {
    mevra::dib_header h;
    int width = 0, height = 0, bits = 32, fps = 30;
    const std::vector<uint8_t>& dib = engine_->frame_bitmap();
    if (!dib.empty() && mevra::read_dib_header(dib, h)) {
        width = h.width;
        height = std::abs(h.height);
        bits = h.bit_count;
        // The rate of a stream without a scale is unknown: shown as 0.
        const uint32_t scale = engine_->scale();
        fps = scale == 0 ? 0 : static_cast<int>(engine_->rate() / scale);
    }
    status_label->setText(
        QString::asprintf("width: %4d  height: %4d  %dbit  fps: %2d", width, height, bits, fps));
}

void avi_player::refresh_counter() {
    const int length = frame_length();
    if (length > 0)
        frame_counter_label->setText(QString::asprintf("%04d/%04d", current_frame(), length));
}
