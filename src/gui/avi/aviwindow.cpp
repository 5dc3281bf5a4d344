#include "avi/aviwindow.h"

#include <QFileInfo>
#include <QHideEvent>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QShowEvent>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

#include "avi/avi_control_bar.h"
#include "avi/avi_frame_panel.h"
#include "platform/ui_port.h"
#include "settings/clgbase.h"
#include "video/frame_bitmap.h"
#include "video/frame_to_argb.h"
#include "views/mdichild.h"

aviwindow* aviwindow::g_instance = nullptr;

namespace {

constexpr int client_width = 515;
constexpr int client_height = 257;
// The view leaves a 3-pixel margin on each side and the bar's room below.
constexpr int view_margin = 3;
constexpr int view_height_reserve = 42;

QToolButton* make_button(QWidget* parent, const char* name, const char* tip, const char* face) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setIcon(QIcon(QString(":/avi/") + face));
    b->setIconSize(QSize(16, 16));
    b->setAutoRaise(false);
    return b;
}

}  // namespace

aviwindow::aviwindow(QWidget* parent) : QMdiSubWindow(parent) {
    setObjectName("aviwindow");
    setWindowTitle("avi player");
    build_controls();
    const int frame = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
    const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    resize(client_width + 2 * frame, client_height + title + frame);
    setMinimumSize(320 + 2 * frame, 240 + title + frame);
    connect(this, &QMdiSubWindow::aboutToActivate, this, &aviwindow::aviwindow_Activated);
    tile_ = mevra::background_tile(mevra::settings().background_type);
    g_instance = this;
    start_worker();
}

aviwindow::~aviwindow() {
    stop_worker();
    if (g_instance == this) g_instance = nullptr;
}

void aviwindow::build_controls() {
    auto* client = new QWidget(this);
    client->setObjectName("avi_client");
    client->setMinimumSize(320, 240);
    setWidget(client);
    panel1 = new avi_frame_panel(this, client);
    bar = new avi_control_bar(client);

    button1 = make_button(bar, "button1", "move first frame", "first.png");
    button2 = make_button(bar, "button2", "back 1 frame", "back.png");
    button3 = make_button(bar, "button3", "Play", "play.png");
    button4 = make_button(bar, "button4", "forward 1 frame", "forward.png");
    button5 = make_button(bar, "button5", "move end frame", "end.png");
    button6 = make_button(bar, "button6", "Stop", "stop.png");
    button7 = make_button(bar, "button7", "Pause", "pause.png");
    const int w = avi_control_bar::button_width;
    const int h = avi_control_bar::row_height;
    button1->setGeometry(0, 0, w, h);
    button2->setGeometry(w, 0, w, h);
    button3->setGeometry(0, h, w, h - 1);
    button6->setGeometry(w, h, w, h - 1);
    button7->setGeometry(2 * w, h, w, h - 1);

    trackBar1 = new QSlider(Qt::Horizontal, bar);
    trackBar1->setObjectName("trackBar1");
    trackBar1->setToolTip("표시フレーム");
    trackBar1->setPageStep(10);
    trackBar1->setRange(0, 0);

    label1 = new QLabel("0000 / 0000", bar);
    label1->setObjectName("label1");
    label1->setToolTip("now / length");
    label1->setAlignment(Qt::AlignCenter);
    // The counter has 68 pixels between the slider and the step button; the
    // initial "0000 / 0000" must fit them too.
    QFont counter_font = label1->font();
    counter_font.setPointSizeF(counter_font.pointSizeF() * 0.85);
    label1->setFont(counter_font);

    label2 = new QLabel("width:      height:        bit  fps:", bar);
    label2->setObjectName("label2");
    label2->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    const std::pair<QToolButton*, int> commands[] = {
        {button1, CMD_FIRST}, {button2, CMD_BACK}, {button3, CMD_PLAY}, {button4, CMD_FORWARD},
        {button5, CMD_END},   {button6, CMD_STOP}, {button7, CMD_PAUSE}};
    for (const auto& [button, command] : commands)
        connect(button, &QToolButton::clicked, this, [this, c = command] { button_command(c); });
    const auto slider_moved = [this] {
        VFWIN_SetFrame(CMD_SLIDER);
        VFWIN_Reflesh();
    };
    connect(trackBar1, &QSlider::valueChanged, this, slider_moved);
    connect(trackBar1, &QSlider::sliderReleased, this, slider_moved);

    ask_save_path = nullptr;
    ask_compressor = nullptr;
}

void aviwindow::resizeEvent(QResizeEvent* event) {
    QMdiSubWindow::resizeEvent(event);
    QWidget* client = widget();
    if (!client) return;
    const QSize size = client->size();
    panel1->setGeometry(view_margin, view_margin, std::max(0, size.width() - 2 * view_margin),
                        std::max(0, size.height() - view_height_reserve));
    bar->setGeometry(0, size.height() - avi_control_bar::bar_height, size.width(),
                     avi_control_bar::bar_height);
    refresh_view_options();
}

// ---------------------------------------------------------------------------
// Visibility and activation

void aviwindow::showEvent(QShowEvent* event) {
    QMdiSubWindow::showEvent(event);
    if (event->spontaneous()) return;
    // The background follows the setting each time the player is shown.
    tile_ = mevra::background_tile(mevra::settings().background_type);
    refresh_view_options();
}

void aviwindow::hideEvent(QHideEvent* event) {
    QMdiSubWindow::hideEvent(event);
    // A minimised main window hides its children only for the moment; the
    // player keeps playing then.
    if (event->spontaneous()) return;
    VFWIN_SetFrame(CMD_STOP);
    trackBar1->setValue(0);
}

void aviwindow::aviwindow_Activated() {
    // The commands of the main and palette windows act on the player now.
    mdichild::lastActive = nullptr;
}

// ---------------------------------------------------------------------------
// Opening and closing

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
    if (reader_.open(path.toStdString(), failure) != 0) {
        shared_.length.store(0);
        shared_.rate.store(0);
        shared_.scale.store(0);
        mevra::report_avi_failure(failure);
        return -1;
    }
    const mevra::avi_stream_info& info = reader_.info();
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
    reader_.close();
    dib_.clear();
    image_.reset();
    {
        const std::lock_guard lock(post_mutex_);
        posted_ = QImage();
    }
    panel1->update();
}

void aviwindow::start_playing() {
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

void aviwindow::VFWIN_Reflesh() {
    const int length = frame_length();
    if (length > 0) label1->setText(QString::asprintf("%04d/%04d", current_frame(), length));
}

// ---------------------------------------------------------------------------
// Frame commands

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

// ---------------------------------------------------------------------------
// Drawing

void aviwindow::refresh_view_options() {
    const mevra::clgbase& clg = mevra::settings();
    mevra::canvas_view v;
    v.zoom_level = std::clamp(clg.zoom_level, 0, mevra::clgbase::zoom_table_len - 1);
    v.draw_type = clg.draw_type;
    v.grid_mode = clg.grid_mode;
    v.grid_type = clg.grid_type;
    v.tile = tile_;
    v.width = panel1 ? panel1->width() : 0;
    v.height = panel1 ? panel1->height() : 0;
    const std::lock_guard lock(post_mutex_);
    view_options_ = v;
}

void aviwindow::imageRePaint() {
    refresh_view_options();
    if (VFWIN_GetMode() == 1) return;
    panel1->update();
}

void aviwindow::paint_view(QPainter& painter, int width, int height) {
    const QColor outside = QColor::fromRgb(mevra::player_outside_color);
    if (VFWIN_GetMode() == 1) {
        // The worker's latest finished picture; a freshly resized view is
        // grey where that picture does not reach yet.
        const std::lock_guard lock(post_mutex_);
        painter.fillRect(0, 0, width, height, outside);
        if (!posted_.isNull()) painter.drawImage(0, 0, posted_);
        return;
    }
    if (!image_ || image_->flag == 0 || width <= 0 || height <= 0) {
        painter.fillRect(0, 0, width, height, palette().window());
        return;
    }
    refresh_view_options();
    mevra::canvas_view v;
    {
        const std::lock_guard lock(post_mutex_);
        v = view_options_;
    }
    v.width = width;
    v.height = height;
    QImage picture(width, height, QImage::Format_RGB32);
    mevra::render_player_frame(*image_, v, reinterpret_cast<uint32_t*>(picture.bits()));
    painter.drawImage(0, 0, picture);
}
