// The palette window's construction, tool and display-mode buttons, the
// information labels and the cursor view. The palette grid and the colour
// editing live in palette_window_grid.cpp.
#include "views/palette_window.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDebug>
#include <QLabel>
#include <QTimer>
#include <algorithm>

#include "dialogs/dialog_style.h"
#include "image/image_info.h"
#include "settings/clgbase.h"
#include "views/colour_dialog.h"
#include "views/cursor_view.h"
#include "views/image_window.h"
#include "views/palette_widgets.h"

using namespace mevra;

namespace {

struct tool_face {
    const char* name;
    const char* picture;
    const char* tip;
    int type;
};

// The five tool buttons, in the order of tool_buttons_.
const tool_face tool_faces[5] = {
    {"pen1_tool", ":/buttons/pen1.png", QT_TRANSLATE_NOOP("palette_window", "Pen1"), PLTTYP_PEN1},
    {"picker_tool", ":/buttons/spuit.png",
     QT_TRANSLATE_NOOP("palette_window", "Spuit [Left Click pen1 color] [Right Click pen2 color]"),
     PLTTYP_SPUIT},
    {"zoom_in_tool", ":/buttons/zoom_in.png", QT_TRANSLATE_NOOP("palette_window", "Zoom in"),
     PLTTYP_ZOOMIN},
    {"zoom_out_tool", ":/buttons/zoom_out.png", QT_TRANSLATE_NOOP("palette_window", "Zoom out"),
     PLTTYP_ZOOMOUT},
    {"pen2_tool", ":/buttons/pen2.png", QT_TRANSLATE_NOOP("palette_window", "Pen2"), PLTTYP_PEN2},
};
// Left-to-right order on screen: both pens first, then eyedropper and zoom.
const int tool_screen_order[5] = {0, 4, 1, 2, 3};

const tool_face draw_type_faces[5] = {
    {"draw_alpha_button", ":/buttons/draw_alpha.png",
     QT_TRANSLATE_NOOP("palette_window", "アルファ合成표시"), 0},
    {"draw_rgb_button", ":/buttons/draw_rgb.png",
     QT_TRANSLATE_NOOP("palette_window", "カラー(RGB)표시"), 1},
    {"draw_alpha_only_button", ":/buttons/draw_alphaonly.png",
     QT_TRANSLATE_NOOP("palette_window", "アルファのみ표시"), 2},
    {"draw_add_button", ":/buttons/draw_add.png",
     QT_TRANSLATE_NOOP("palette_window", "加算合成표시"), 3},
    {"draw_sub_button", ":/buttons/draw_sub.png",
     QT_TRANSLATE_NOOP("palette_window", "減算合成표시"), 4},
};

constexpr int button_side = 24;
constexpr int button_pitch = 25;

template <class T>
T* named(T* widget, const char* name, QRect where) {
    widget->setObjectName(name);
    widget->setGeometry(where);
    return widget;
}

void face_button(QToolButton* button, const tool_face& face) {
    button->setIcon(QIcon(face.picture));
    button->setIconSize(QSize(20, 20));
    // The display modes' tips are translated; the tools' tips are English already.
    const QString tip = QCoreApplication::translate("palette_window", face.tip);
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
}

}  // namespace

palette_window::palette_window(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("palette_window");
    setWindowTitle("palette");
    setFixedSize(257, 503);
    dialog_style::paint_dark(this, QColor(235, 235, 235));

    build_tool_buttons();
    build_draw_type_buttons();
    build_pen_controls();
    build_info_labels();
    build_palette_file_buttons();

    colour_editor = new colour_dialog(this);
    colour_editor->apply_hook = [this](int pos, uint32_t argb) { preview_color(pos, argb); };

    cursor_timer = new QTimer(this);
    cursor_timer->setObjectName("cursor_timer");
    cursor_timer->setInterval(150);
    connect(cursor_timer, &QTimer::timeout, this, &palette_window::cursor_view_tick);
    cursor_timer->start();

    set_draw_type_button(settings().draw_type);
    info_update();
}

palette_window::~palette_window() = default;

void palette_window::build_tool_buttons() {
    for (int k = 0; k < 5; ++k) {
        const int slot = static_cast<int>(
            std::find(std::begin(tool_screen_order), std::end(tool_screen_order), k) -
            std::begin(tool_screen_order));
        auto* button = named(new tool_button(this), tool_faces[k].name,
                             QRect(3 + slot * button_pitch, 3, button_side, button_side));
        face_button(button, tool_faces[k]);
        connect(button, &tool_button::mouse_pressed, this, [this, k] { tool_pressed(k); });
        // A click selects the button like a radio button; the release handler
        // runs afterwards and may take the selection back.
        connect(button, &QToolButton::clicked, this, [this, k] { select_tool_button(k); });
        connect(button, &tool_button::mouse_released, this, [this, k] { tool_released(k); });
        connect(button, &tool_button::pressed_without_mouse, this, [this, k] {
            tool_pressed(k);
            select_tool_button(k);
            tool_released(k);
        });
        tool_buttons_[static_cast<size_t>(k)] = button;
    }
    tool_buttons_[1]->setChecked(true);  // the eyedropper is the starting tool
}

void palette_window::build_draw_type_buttons() {
    for (int k = 0; k < 5; ++k) {
        auto* button = named(new QToolButton(this), draw_type_faces[k].name,
                             QRect(131 + k * button_pitch, 3, button_side, button_side));
        face_button(button, draw_type_faces[k]);
        button->setAutoExclusive(true);
        connect(button, &QToolButton::clicked, this, [this, k] { draw_type_clicked(k); });
        draw_type_buttons_[static_cast<size_t>(k)] = button;
    }
}

void palette_window::build_pen_controls() {
    const QStringList widths = {"1dot", "3dot", "5dot"};
    const QStringList modes = {tr("通常ペン(ARGB)"), tr("カラーペン(RGB)"), tr("アルファペン(A)")};
    auto combo = [this](const char* name, const QStringList& items, QRect where,
                        const QString& accessible) {
        auto* box = named(new QComboBox(this), name, where);
        box->addItems(items);
        box->setCurrentIndex(0);
        box->setFocusPolicy(Qt::NoFocus);
        box->setAccessibleName(accessible);
        return box;
    };
    pen1_width_combo = combo("pen1_width_combo", widths, QRect(28, 32, 62, 22), "Pen1 width");
    pen1_mode_combo = combo("pen1_mode_combo", modes, QRect(93, 32, 132, 22), "Pen1 mode");
    pen2_width_combo = combo("pen2_width_combo", widths, QRect(28, 57, 62, 22), "Pen2 width");
    pen2_mode_combo = combo("pen2_mode_combo", modes, QRect(93, 57, 132, 22), "Pen2 mode");

    auto swatch = [this](const char* name, const QString& tip, QRect where) {
        auto* label = named(new click_label(this), name, where);
        label->setToolTip(tip);
        label->setAccessibleName(tip);
        label->setFrameShape(QFrame::Box);
        return label;
    };
    pen1_swatch = swatch("pen1_swatch", tr("ペン1の色"), QRect(3, 32, 22, 22));
    pen2_swatch = swatch("pen2_swatch", tr("ペン2の色"), QRect(3, 57, 22, 22));
    connect(pen2_swatch, &click_label::double_clicked, this,
            [this](QPoint at) { edit_color(2, FROM_PEN2_SWATCH, at); });

    exchange_pens_label =
        named(new click_label("⇔", this), "exchange_pens_label", QRect(228, 32, 26, 47));
    exchange_pens_label->setAlignment(Qt::AlignCenter);
    QFont arrows = exchange_pens_label->font();
    arrows.setPointSize(arrows.pointSize() + 6);
    exchange_pens_label->setFont(arrows);
    connect(exchange_pens_label, &click_label::clicked, this, [this] { exchange_pens(); });

    // Pen 1's alpha, red, green and blue; each opens the editor with its bar
    // under the pointer.
    const char* names[4] = {"alpha_value_label", "red_value_label", "green_value_label",
                            "blue_value_label"};
    const QColor inks[4] = {QColor(220, 220, 220), QColor(255, 120, 120), QColor(120, 235, 120),
                            QColor(140, 170, 255)};
    const char* components[4] = {"pen1 alpha", "pen1 red", "pen1 green", "pen1 blue"};
    const edit_origin origins[4] = {FROM_ALPHA, FROM_RED, FROM_GREEN, FROM_BLUE};
    for (int i = 0; i < 4; ++i) {
        auto* label = named(new click_label("0", this), names[i], QRect(3 + i * 63, 82, 60, 17));
        label->setAlignment(Qt::AlignCenter);
        label->setAccessibleName(components[i]);
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, inks[i]);
        label->setPalette(pal);
        const edit_origin origin = origins[i];
        connect(label, &click_label::clicked, this,
                [this, origin](QPoint at) { edit_color(1, origin, at); });
        value_labels_[static_cast<size_t>(i)] = label;
    }

    palette_grid = named(new paint_surface(this), "palette_grid", QRect(0, 102, 257, 257));
    palette_grid->setAccessibleName("palette");
    palette_grid->on_paint = [this](QPainter& p) { grid_paint(p); };
    palette_grid->on_press = [this](QMouseEvent* e) { grid_press(e); };
    palette_grid->on_release = [this](QMouseEvent* e) { grid_release(e); };
    palette_grid->on_double_click = [this](QMouseEvent* e) { grid_double_click(e); };
}

void palette_window::build_info_labels() {
    auto text = [this](const char* name, const QString& initial, QRect where) {
        return named(new QLabel(initial, this), name, where);
    };
    cursor_view_label = text("cursor_view_label", QString(), QRect(3, 362, 72, 72));
    cursor_view_label->setToolTip(tr("カーソル付近拡大표시"));
    cursor_view_label->setAccessibleName(cursor_view_label->toolTip());
    size_label = text("size_label", "Size W: 0 H:0", QRect(82, 362, 173, 16));
    colour_count_label =
        text("colour_count_label", tr("Color : %1").arg(0), QRect(82, 378, 173, 16));
    image_mode_label = text("image_mode_label", "ImageMode : ", QRect(82, 394, 173, 16));
    pixel_count_label = text("pixel_count_label", "PixNum: ??", QRect(82, 410, 173, 16));
    zoom_label = text("zoom_label", "Zoom : x1", QRect(82, 426, 173, 16));
    pointer_x_label = text("pointer_x_label", "X : 0", QRect(3, 442, 120, 16));
    pointer_y_label = text("pointer_y_label", "Y : 0", QRect(128, 442, 120, 16));
    cursor_colour_label =
        text("cursor_colour_label", views::cursor_colour_text(0xFF000000u), QRect(3, 462, 251, 18));
    cursor_colour_label->setToolTip(tr("R:赤 G:緑 B:青 #(16進表記)"));
    cursor_colour_label->setAccessibleName(cursor_colour_label->toolTip());
    QFont fixed("DejaVu Sans Mono");
    fixed.setStyleHint(QFont::Monospace);
    cursor_colour_label->setFont(fixed);
}

// --- tool buttons ---

void palette_window::tool_pressed(int index) {
    const int type = tool_faces[index].type;
    if (tool_buttons_[static_cast<size_t>(index)]->isChecked()) {
        // Only the pens can be dropped by pressing them again.
        if (type == PLTTYP_PEN1 || type == PLTTYP_PEN2) palette_release = 1;
    } else {
        palette_type = type;
        palette_release = 0;
    }
}

void palette_window::select_tool_button(int index) {
    for (int j = 0; j < 5; ++j)
        tool_buttons_[static_cast<size_t>(j)]->setChecked(j == index);
}

void palette_window::tool_released(int index) {
    if (palette_release) {
        tool_buttons_[static_cast<size_t>(index)]->setChecked(false);
        palette_type = PLTTYP_NONE;
    }
    if (palette_type != PLTTYP_ZOOMIN && palette_type != PLTTYP_ZOOMOUT) return;
    // A selected zoom button stays selected: every click zooms one more step.
    clgbase& clg = settings();
    clg.zoom_proc(palette_type == PLTTYP_ZOOMIN ? 0 : 1);
    info_update();
    image_window* active = active_image_window();
    if (active && active->image) {
        active->image->zoom_scale_level = clg.zoom_level;
        active->zoom_changed();
    } else {
        repaint_avi_unless_playing();
    }
}

void palette_window::repaint_avi_unless_playing() {
    if (avi_playing && avi_playing()) return;
    if (repaint_avi) repaint_avi();
}

// --- display-mode buttons ---

void palette_window::draw_type_clicked(int mode) {
    settings().draw_type = mode;
    image_window* active = active_image_window();
    if (active && active->image) {
        active->image->draw_type = mode;
        active->zoom_changed();
    } else {
        repaint_avi_unless_playing();
    }
}

void palette_window::set_draw_type_button(int draw_type) {
    const int k = std::clamp(draw_type, 0, 4);
    draw_type_buttons_[static_cast<size_t>(k)]->setChecked(true);
}

// --- pen lists ---

int palette_window::pen1_width() const {
    return std::max(0, pen1_width_combo->currentIndex());
}
int palette_window::pen2_width() const {
    return std::max(0, pen2_width_combo->currentIndex());
}
int palette_window::pen1_mode() const {
    return std::max(0, pen1_mode_combo->currentIndex());
}
int palette_window::pen2_mode() const {
    return std::max(0, pen2_mode_combo->currentIndex());
}

// --- information ---

void palette_window::set_mouse_position(int x, int y) {
    pointer_x_label->setText(QString("X : %1").arg(x));
    pointer_y_label->setText(QString("Y : %1").arg(y));
}

void palette_window::info_update() {
    refresh_grid();
    const clgbase& clg = settings();
    image_window* active = active_image_window();
    const image_info* image = active ? active->image.get() : nullptr;
    int level = clg.zoom_level;
    if (image) {
        size_label->setText(QString("Size W: %1 H:%2").arg(image->width).arg(image->height));
        colour_count_label->setText(tr("Color : %1").arg(image->color_num));
        if (image->image_type == IMGTYP_RGB) image_mode_label->setText(tr("ImageMode : RGB color"));
        if (image->image_type == IMGTYP_256) image_mode_label->setText(tr("ImageMode : 256 color"));
        if (image->image_type == IMGTYP_16) image_mode_label->setText(tr("ImageMode :  16 color"));
        level = image->zoom_scale_level;
    }
    level = std::clamp(level, 0, clgbase::zoom_table_len - 1);
    // The factors are exact binary fractions, so the shortest form is exact too.
    zoom_label->setText("Zoom : x" + QString::number(double{clgbase::zoom_table[level]}, 'g', 8));
}

// --- cursor view ---

void palette_window::cursor_view_tick() {
    const int m = views::cursor_magnification(settings().cursor_zoom);
    bool failed = false;
    const QImage block = views::capture_block(QCursor::pos(), m, &failed);
    // A platform that refuses the capture refuses it on every tick: report once.
    if (failed && !capture_error_reported_)
        qDebug() << "error"
                 << "screen capture failed";
    capture_error_reported_ = failed;
    cursor_view_label->setPixmap(QPixmap::fromImage(views::compose_cursor_view(block, m)));
    cursor_colour_label->setText(views::cursor_colour_text(views::cursor_centre_colour(block, m)));
}
