// The frame commands of the bar's buttons and the slider: which frame
// becomes current, decoding it (the buttons' frames here, the slider's on the
// worker), and the counter and status line that describe it.
#include <QLabel>
#include <QSlider>

#include "avi/avi_player.h"
#include "platform/ui_port.h"
#include "video/frame_bitmap.h"
#include "video/frame_to_argb.h"

void avi_player::button_command(int command) {
    const int frame = set_frame(command);
    if (command == CMD_PAUSE) {
        // A step or slider move during play may have changed the frame after
        // the worker drew its last one: show the frame the counter names.
        vfw_before_frame_ = -1;
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
    const int length = frame_length();
    if (length <= 0) return 0;
    int frame = current_frame();
    switch (command) {
        case CMD_SLIDER:
            frame = std::clamp(frame_slider->value(), 0, length - 1);
            break;
        case CMD_FIRST:
            frame = 0;
            break;
        case CMD_BACK:
            frame = std::max(frame - 1, 0);
            break;
        case CMD_PLAY:
            if (play_mode() == 0) start_playing();
            return frame;
        case CMD_FORWARD:
            frame = std::min(frame + 1, length - 1);
            break;
        case CMD_END:
            frame = length - 1;
            break;
        case CMD_STOP:
            // Only a playing worker draws into the frame; one decoding the
            // slider's frame is not waited for: the frame shown next wins.
            if (shared_.play_mode.exchange(0) == 1) wait_for_worker();
            shared_.cur_frame.store(0);
            vfw_before_frame_ = -1;
            return 0;
        case CMD_PAUSE:
            if (shared_.play_mode.exchange(0) == 1) wait_for_worker();
            return current_frame();
        default:
            return frame;
    }
    shared_.cur_frame.store(frame);
    // During play the worker continues from the new frame.
    if (play_mode() == 1) return frame;
    if (frame != vfw_before_frame_) {
        if (on_worker)
            frame_request_.store(frame);
        else
            show_frame_now(frame);
    }
    vfw_before_frame_ = frame;
    return frame;
}

void avi_player::show_frame_now(int frame) {
    mevra::avi_failure failure;
    {
        const auto reader = take_reader();
        if (reader_.is_open()) decode_current(frame, failure);
    }
    mevra::report_avi_failure(failure);
    repaint_image();
    write_status_line();
}

void avi_player::show_requested_frame() {
    std::optional<decoded_frame> done;
    {
        const std::lock_guard lock(post_mutex_);
        done.swap(requested_frame_);
    }
    // Nothing left when a command has decided on another frame since, or
    // when playback has taken over.
    if (!done || play_mode() == 1) return;
    if (done->failure.empty()) {
        image_ = std::move(done->image);
        dib_ = std::move(done->dib);
    }
    mevra::report_avi_failure(done->failure);
    repaint_image();
    write_status_line();
}

bool avi_player::decode_into(int frame, std::vector<uint8_t>& dib,
                             std::unique_ptr<mevra::image_info>& image,
                             mevra::avi_failure& failure) {
    if (frame_decode_starting) frame_decode_starting(frame);
    if (reader_.decode_frame(frame, dib, failure) != 0) return false;
    auto next = std::make_unique<mevra::image_info>();
    if (mevra::frame_to_argb(dib, *next) != 0) {
        failure = {mevra::avi_text::frame_error(frame), mevra::avi_text::frame_caption};
        return false;
    }
    // The previous frame goes first, so only one frame image exists at a time.
    image.reset();
    image = std::move(next);
    return true;
}

bool avi_player::decode_current(int frame, mevra::avi_failure& failure) {
    return decode_into(frame, dib_, image_, failure);
}

std::unique_lock<std::mutex> avi_player::hold_reader() {
    return std::unique_lock(reader_mutex_);
}

std::unique_lock<std::mutex> avi_player::take_reader() {
    frame_request_.store(-1);
    std::unique_lock reader(reader_mutex_);
    // A frame the worker finished meanwhile is no longer wanted either.
    const std::lock_guard lock(post_mutex_);
    requested_frame_.reset();
    return reader;
}

void avi_player::write_status_line() {
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
    status_label->setText(
        QString::asprintf("width: %4d  height: %4d  %dbit  fps: %2d", width, height, bits, fps));
}

void avi_player::refresh_counter() {
    const int length = frame_length();
    if (length > 0)
        frame_counter_label->setText(QString::asprintf("%04d/%04d", current_frame(), length));
}
