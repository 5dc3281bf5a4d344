// Opening a dropped AVI file, closing it from the context menu, and the
// slider's range for the stream that is open.
#include <QFileInfo>
#include <QSlider>

#include "avi/avi_frame_panel.h"
#include "avi/aviwindow.h"
#include "platform/ui_port.h"

void aviwindow::open_dropped(const QStringList& paths) {
    if (paths.isEmpty()) return;
    VFWIN_SetFrame(CMD_STOP);
    trackBar1->setValue(0);
    if (VFWIN_OpenAVIFile(paths.front()) == 0) {
        VFWIN_Setup();
        VFWIN_Reflesh();
    }
}

int aviwindow::VFWIN_OpenAVIFile(const QString& path) {
    mevra::avi_failure failure;
    const bool missing = !QFileInfo(path).isFile();
    if (missing) {
        // The file that is open stays open.
        mevra::report_avi_failure({mevra::avi_text::missing_file(path.toStdString()),
                                   mevra::avi_text::missing_file_caption});
        return -1;
    }
    // The worker must not be decoding from the file about to be closed.
    if (VFWIN_GetMode() == 1) VFWIN_SetFrame(CMD_STOP);
    setWindowTitle(path);
    avi_filename_ = path;
    VFWIN_CloseAVIFile();
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
    VFWIN_SetFrame(CMD_FIRST);
    return 0;
}

void aviwindow::VFWIN_CloseAVIFile() {
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
    panel1->update();
}

void aviwindow::close_command() {
    if (VFWIN_GetMode() == 1) {
        mevra::show_message(mevra::avi_text::close_while_playing(),
                            mevra::avi_text::close_caption());
        return;
    }
    avi_filename_.clear();
    VFWIN_CloseAVIFile();
}

void aviwindow::VFWIN_Setup() {
    const QSignalBlocker quiet(trackBar1);
    trackBar1->setMaximum(std::max(0, frame_length() - 1));
    trackBar1->setValue(0);
}
