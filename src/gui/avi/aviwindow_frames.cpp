// The frame commands of the bar's buttons and the slider: which frame
// becomes current, decoding it, and the counter and status line that
// describe it.
#include <QLabel>
#include <QSlider>

#include "avi/aviwindow.h"
#include "platform/ui_port.h"
#include "video/frame_bitmap.h"
#include "video/frame_to_argb.h"

void aviwindow::button_command(int command) {
    const int frame = VFWIN_SetFrame(command);
    if (command == CMD_PAUSE) {
        // A step or slider move during play may have changed the frame after
        // the worker drew its last one: show the frame the counter names.
        vfw_before_frame_ = -1;
    }
    trackBar1->setValue(frame);
    // After Stop or Pause the view must show the counted frame even when the
    // slider was there already (and so reported no change).
    if (command == CMD_STOP || command == CMD_PAUSE) VFWIN_SetFrame(CMD_SLIDER);
    VFWIN_Reflesh();
}

int aviwindow::VFWIN_SetFrame(int command) {
    const int length = frame_length();
    if (length <= 0) return 0;
    int frame = current_frame();
    switch (command) {
        case CMD_SLIDER:
            frame = std::clamp(trackBar1->value(), 0, length - 1);
            break;
        case CMD_FIRST:
            frame = 0;
            break;
        case CMD_BACK:
            frame = std::max(frame - 1, 0);
            break;
        case CMD_PLAY:
            if (VFWIN_GetMode() == 0) start_playing();
            return frame;
        case CMD_FORWARD:
            frame = std::min(frame + 1, length - 1);
            break;
        case CMD_END:
            frame = length - 1;
            break;
        case CMD_STOP:
            shared_.play_mode.store(0);
            wait_for_worker();
            shared_.cur_frame.store(0);
            vfw_before_frame_ = -1;
            return 0;
        case CMD_PAUSE:
            shared_.play_mode.store(0);
            wait_for_worker();
            return current_frame();
        default:
            return frame;
    }
    shared_.cur_frame.store(frame);
    // During play the worker continues from the new frame.
    if (VFWIN_GetMode() == 1) return frame;
    if (frame != vfw_before_frame_) {
        mevra::avi_failure failure;
        if (reader_.is_open() && !decode_current(frame, failure))
            mevra::report_avi_failure(failure);
        imageRePaint();
        write_status_line();
    }
    vfw_before_frame_ = frame;
    return frame;
}

bool aviwindow::decode_current(int frame, mevra::avi_failure& failure) {
    if (reader_.decode_frame(frame, dib_, failure) != 0) return false;
    auto next = std::make_unique<mevra::image_info>();
    if (mevra::frame_to_argb(dib_, *next) != 0) {
        failure = {mevra::avi_text::frame_error(frame), mevra::avi_text::frame_caption};
        return false;
    }
    // The previous frame goes first, so only one frame image exists at a time.
    image_.reset();
    image_ = std::move(next);
    return true;
}

void aviwindow::write_status_line() {
    mevra::dib_header h;
    int width = 0, height = 0, bits = 32, fps = 30;
    if (!dib_.empty() && mevra::read_dib_header(dib_, h)) {
        width = h.width;
        height = std::abs(h.height);
        bits = h.bit_count;
        // The rate of a stream without a scale is unknown: shown as 0.
        const uint32_t scale = shared_.scale.load();
        fps = scale == 0 ? 0 : static_cast<int>(shared_.rate.load() / scale);
    }
    label2->setText(
        QString::asprintf("width: %4d  height: %4d  %dbit  fps: %2d", width, height, bits, fps));
}

void aviwindow::VFWIN_Reflesh() {
    const int length = frame_length();
    if (length > 0) label1->setText(QString::asprintf("%04d/%04d", current_frame(), length));
}
