// The engine on the user-interface thread: opening and closing the stream,
// the frame commands, decoding the current frame, and re-encoding.
#include "avi/avi_playback_engine.h"

#include <QFileInfo>
#include <algorithm>

#include "platform/ui_port.h"
#include "video/avi_reencode.h"
#include "video/frame_to_argb.h"

avi_playback_engine::avi_playback_engine(QObject* parent) : QObject(parent) {
    start_worker();
}

avi_playback_engine::~avi_playback_engine() {
    stop_worker();
}

int avi_playback_engine::open(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        // The file that is open stays open.
        mevra::report_avi_failure({mevra::avi_text::missing_file(path.toStdString()),
                                   mevra::avi_text::missing_file_caption});
        return -1;
    }
    // The worker must not be decoding from the file about to be closed.
    if (play_mode() == 1) command(CMD_STOP);
    close();
    mevra::avi_failure failure;
    mevra::avi_stream_info info;
    int opened = -1;
    {
        const auto reader = take_reader();
        opened = reader_.open(path.toStdString(), failure);
        if (opened == 0) info = reader_.info();
    }
    if (opened != 0) {
        shared_.length.store(0);
        shared_.rate.store(0);
        shared_.scale.store(0);
        mevra::report_avi_failure(failure);
        return -1;
    }
    shared_.cur_frame.store(0);
    shared_.rate.store(info.rate);
    shared_.scale.store(info.scale);
    shared_.length.store(info.length);
    // The first frame is shown even if the previous file showed frame 0.
    shown_frame_ = -1;
    command(CMD_FIRST);
    return 0;
}

void avi_playback_engine::close() {
    {
        const auto reader = take_reader();
        reader_.close();
    }
    dib_.clear();
    image_.reset();
    const std::lock_guard lock(post_mutex_);
    posted_ = QImage();
}

bool avi_playback_engine::is_open() const {
    return reader_.is_open();
}

int avi_playback_engine::command(int command, int slider_frame, bool on_worker) {
    const int frames = length();
    if (frames <= 0) return 0;
    int frame = current_frame();
    switch (command) {
        case CMD_SLIDER:
            frame = std::clamp(slider_frame, 0, frames - 1);
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
            frame = std::min(frame + 1, frames - 1);
            break;
        case CMD_END:
            frame = frames - 1;
            break;
        case CMD_STOP:
            // Only a playing worker draws into the frame; one decoding the
            // slider's frame is not waited for: the frame shown next wins.
            if (shared_.play_mode.exchange(0) == 1) wait_for_worker();
            shared_.cur_frame.store(0);
            shown_frame_ = -1;
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
    if (frame != shown_frame_) {
        if (on_worker)
            frame_request_.store(frame);
        else
            show_frame_now(frame);
    }
    shown_frame_ = frame;
    return frame;
}

void avi_playback_engine::show_frame_now(int frame) {
    mevra::avi_failure failure;
    {
        const auto reader = take_reader();
        if (reader_.is_open()) decode_into(frame, dib_, image_, failure);
    }
    mevra::report_avi_failure(failure);
    emit frame_shown();
}

void avi_playback_engine::show_requested_frame() {
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
    emit frame_shown();
}

bool avi_playback_engine::decode_into(int frame, std::vector<uint8_t>& dib,
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

std::unique_lock<std::mutex> avi_playback_engine::hold_reader() {
    return std::unique_lock(reader_mutex_);
}

std::unique_lock<std::mutex> avi_playback_engine::take_reader() {
    frame_request_.store(-1);
    std::unique_lock reader(reader_mutex_);
    // A frame the worker finished meanwhile is no longer wanted either.
    const std::lock_guard lock(post_mutex_);
    requested_frame_.reset();
    return reader;
}

int avi_playback_engine::last_bit_count() {
    const auto reader = hold_reader();
    return reader_.last_bit_count();
}

void avi_playback_engine::set_view(const mevra::canvas_view& view) {
    const std::lock_guard lock(post_mutex_);
    view_ = view;
}

mevra::canvas_view avi_playback_engine::view() const {
    const std::lock_guard lock(post_mutex_);
    return view_;
}

QImage avi_playback_engine::latest_picture() const {
    const std::lock_guard lock(post_mutex_);
    return posted_;
}

int avi_playback_engine::reencode(const std::string& path, const mevra::avi_encode_options& options,
                                  const std::function<bool(int done, int total)>& progress,
                                  mevra::avi_failure& failure) {
    if (play_mode() == 1 || !reader_.is_open()) return mevra::avi_save_failed;
    // Nothing on this thread asks for the reader until the save is done.
    const auto reader = hold_reader();
    return mevra::reencode_avi(reader_, path, options, progress, failure);
}
