// The player window itself: its controls and their layout, and what showing,
// hiding and activating it do.
#include "avi/aviwindow.h"

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
    // The face is a picture: assistive technology reads the tip instead.
    b->setAccessibleName(b->toolTip());
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
    panel1 = new avi_frame_panel(client);
    connect(
        panel1, &avi_frame_panel::paint_requested, this,
        [this](QPainter* painter, int width, int height) { paint_view(*painter, width, height); });
    connect(panel1, &avi_frame_panel::files_dropped, this, &aviwindow::open_dropped);
    connect(panel1, &avi_frame_panel::save_requested, this, &aviwindow::save_command);
    connect(panel1, &avi_frame_panel::close_requested, this, &aviwindow::close_command);
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
    trackBar1->setToolTip(tr("표시フレーム"));
    trackBar1->setAccessibleName(trackBar1->toolTip());
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
    connect(trackBar1, &QSlider::valueChanged, this, &aviwindow::slider_moved);
    connect(trackBar1, &QSlider::sliderReleased, this, &aviwindow::slider_moved);

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
