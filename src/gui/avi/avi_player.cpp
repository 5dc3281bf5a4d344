// The player window itself: its controls and their layout, and what showing,
// hiding and activating it do.
#include "avi/avi_player.h"

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
#include "settings/clgbase.h"
#include "views/image_window.h"

avi_player* avi_player::g_instance = nullptr;

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
    // The face is a picture: assistive technology reads the tip instead.
    b->setAccessibleName(b->toolTip());
    b->setIcon(QIcon(QString(":/avi/") + face));
    b->setIconSize(QSize(16, 16));
    b->setAutoRaise(false);
    return b;
}

}  // namespace

avi_player::avi_player(QWidget* parent) : QMdiSubWindow(parent) {
    setObjectName("avi_player");
    setWindowTitle("avi player");
    build_controls();
    const int frame = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
    const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    resize(client_width + 2 * frame, client_height + title + frame);
    setMinimumSize(320 + 2 * frame, 240 + title + frame);
    connect(this, &QMdiSubWindow::aboutToActivate, this, &avi_player::activated);
    tile_ = mevra::background_tile(mevra::settings().background_type);
    g_instance = this;
    start_worker();
}

avi_player::~avi_player() {
    stop_worker();
    if (g_instance == this) g_instance = nullptr;
}

void avi_player::build_controls() {
    auto* client = new QWidget(this);
    client->setObjectName("avi_client");
    client->setMinimumSize(320, 240);
    setWidget(client);
    frame_panel = new avi_frame_panel(client);
    connect(
        frame_panel, &avi_frame_panel::paint_requested, this,
        [this](QPainter* painter, int width, int height) { paint_view(*painter, width, height); });
    connect(frame_panel, &avi_frame_panel::files_dropped, this, &avi_player::open_dropped);
    connect(frame_panel, &avi_frame_panel::save_requested, this, &avi_player::save_command);
    connect(frame_panel, &avi_frame_panel::close_requested, this, &avi_player::close_command);
    bar = new avi_control_bar(client);

    first_button = make_button(bar, "first_button", "move first frame", "first.png");
    back_button = make_button(bar, "back_button", "back 1 frame", "back.png");
    play_button = make_button(bar, "play_button", "Play", "play.png");
    forward_button = make_button(bar, "forward_button", "forward 1 frame", "forward.png");
    end_button = make_button(bar, "end_button", "move end frame", "end.png");
    stop_button = make_button(bar, "stop_button", "Stop", "stop.png");
    pause_button = make_button(bar, "pause_button", "Pause", "pause.png");
    const int w = avi_control_bar::button_width;
    const int h = avi_control_bar::row_height;
    first_button->setGeometry(0, 0, w, h);
    back_button->setGeometry(w, 0, w, h);
    play_button->setGeometry(0, h, w, h - 1);
    stop_button->setGeometry(w, h, w, h - 1);
    pause_button->setGeometry(2 * w, h, w, h - 1);

    frame_slider = new QSlider(Qt::Horizontal, bar);
    frame_slider->setObjectName("frame_slider");
    frame_slider->setToolTip(tr("표시フレーム"));
    frame_slider->setAccessibleName(frame_slider->toolTip());
    frame_slider->setPageStep(10);
    frame_slider->setRange(0, 0);

    frame_counter_label = new QLabel("0000 / 0000", bar);
    frame_counter_label->setObjectName("frame_counter_label");
    frame_counter_label->setToolTip("now / length");
    frame_counter_label->setAlignment(Qt::AlignCenter);
    // The counter has 68 pixels between the slider and the step button; the
    // initial "0000 / 0000" must fit them too.
    QFont counter_font = frame_counter_label->font();
    counter_font.setPointSizeF(counter_font.pointSizeF() * 0.85);
    frame_counter_label->setFont(counter_font);

    status_label = new QLabel("width:      height:        bit  fps:", bar);
    status_label->setObjectName("status_label");
    status_label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    const std::pair<QToolButton*, int> commands[] = {
        {first_button, CMD_FIRST},     {back_button, CMD_BACK}, {play_button, CMD_PLAY},
        {forward_button, CMD_FORWARD}, {end_button, CMD_END},   {stop_button, CMD_STOP},
        {pause_button, CMD_PAUSE}};
    for (const auto& [button, command] : commands)
        connect(button, &QToolButton::clicked, this, [this, c = command] { button_command(c); });
    connect(frame_slider, &QSlider::valueChanged, this, &avi_player::slider_moved);
    connect(frame_slider, &QSlider::sliderReleased, this, &avi_player::slider_moved);

    ask_save_path = nullptr;
    ask_compressor = nullptr;
}

void avi_player::resizeEvent(QResizeEvent* event) {
    QMdiSubWindow::resizeEvent(event);
    QWidget* client = widget();
    if (!client) return;
    const QSize size = client->size();
    frame_panel->setGeometry(view_margin, view_margin, std::max(0, size.width() - 2 * view_margin),
                             std::max(0, size.height() - view_height_reserve));
    bar->setGeometry(0, size.height() - avi_control_bar::bar_height, size.width(),
                     avi_control_bar::bar_height);
    refresh_view_options();
}

// ---------------------------------------------------------------------------
// Visibility and activation

void avi_player::showEvent(QShowEvent* event) {
    QMdiSubWindow::showEvent(event);
    if (event->spontaneous()) return;
    // The background follows the setting each time the player is shown.
    tile_ = mevra::background_tile(mevra::settings().background_type);
    refresh_view_options();
}

void avi_player::hideEvent(QHideEvent* event) {
    QMdiSubWindow::hideEvent(event);
    // A minimised main window hides its children only for the moment; the
    // player keeps playing then.
    if (event->spontaneous()) return;
    set_frame(CMD_STOP);
    frame_slider->setValue(0);
}

void avi_player::activated() {
    // The commands of the main and palette windows act on the player now.
    image_window::lastActive = nullptr;
}
