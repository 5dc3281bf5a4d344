// Opening a dropped AVI file, closing it from the context menu, and the
// slider's range for the stream that is open.
#include <QFileInfo>
#include <QSlider>

#include "avi/avi_frame_panel.h"
#include "avi/avi_player.h"
#include "platform/ui_port.h"

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
    mevra::avi_failure failure;
    const bool missing = !QFileInfo(path).isFile();
    if (missing) {
        // The file that is open stays open.
        mevra::report_avi_failure({mevra::avi_text::missing_file(path.toStdString()),
                                   mevra::avi_text::missing_file_caption});
        return -1;
    }
    // The worker must not be decoding from the file about to be closed.
    if (play_mode() == 1) set_frame(CMD_STOP);
    setWindowTitle(path);
    avi_filename_ = path;
    close_file();
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
    vfw_before_frame_ = -1;
    set_frame(CMD_FIRST);
    return 0;
}

void avi_player::close_file() {
    {
        const auto reader = take_reader();
        reader_.close();
    }
    dib_.clear();
    image_.reset();
    {
        const std::lock_guard lock(post_mutex_);
        posted_ = QImage();
    }
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
