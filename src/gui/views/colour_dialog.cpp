#include "views/colour_dialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

#include "dialogs/dialog_style.h"
#include "views/palette_widgets.h"

namespace {

constexpr int bar_left = 30;
constexpr int bar_top = 5;
constexpr int bar_pitch = 22;
constexpr int bar_width = 257;  // a full bar is 255 × 256 / 255 = 256 pixels wide
constexpr int bar_height = 18;

struct bar_look {
    const char* name;
    const char* minus_button;
    const char* plus_button;
    QRgb fill;
    QColor text;
};

// Rows from the top: red, green, blue, alpha.
const bar_look bar_looks[4] = {
    {"red_bar", "red_minus_button", "red_plus_button", 0xFFFF3333u,
     QColor(0, 139, 139)},  // dark cyan
    {"green_bar", "green_minus_button", "green_plus_button", 0xFF33FF33u,
     QColor(128, 0, 128)},  // purple
    {"blue_bar", "blue_minus_button", "blue_plus_button", 0xFF3333FFu,
     QColor(160, 82, 45)},  // sienna
    {"alpha_bar", "alpha_minus_button", "alpha_plus_button", 0xFFF0F0F0u,
     QColor(105, 105, 105)},  // dim grey
};

QPushButton* small_button(QWidget* parent, const char* name, const QString& text, QRect where) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(where);
    // Enter must confirm the dialog whichever button has the focus.
    button->setAutoDefault(false);
    return button;
}

}  // namespace

colour_dialog::colour_dialog(QWidget* parent) : QDialog(parent) {
    setObjectName("colour_dialog");
    setWindowTitle("Color");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    setFixedSize(313, 132);
    dialog_style::paint_dark(this, QColor(230, 230, 230));

    for (int i = 0; i < 4; ++i) {
        const bar_look& look = bar_looks[i];
        const int y = bar_top + i * bar_pitch;
        auto* minus = small_button(this, look.minus_button, "<", QRect(4, y - 1, 24, 20));
        auto* plus = small_button(this, look.plus_button, ">", QRect(289, y - 1, 20, 20));
        connect(minus, &QPushButton::clicked, this, [this, i] { step(i, -1); });
        connect(plus, &QPushButton::clicked, this, [this, i] { step(i, 1); });

        auto* bar = new paint_surface(this);
        bar->setObjectName(look.name);
        bar->setGeometry(bar_left, y, bar_width, bar_height);
        bar->setAccessibleName(
            QString("%1 bar").arg(QStringList{"red", "green", "blue", "alpha"}[i]));
        bar->on_paint = [this, i](QPainter& painter) { paint_bar(i, painter); };
        bar->on_press = [this](QMouseEvent* e) { bar_press(e); };
        bar->on_move = [this, i](QMouseEvent* e) { bar_move(i, e); };
        bar->on_release = [this](QMouseEvent*) { bar_release(); };
        bars_[static_cast<size_t>(i)] = bar;
    }

    auto* hint = new QLabel("<- color drag move ->", this);
    hint->setObjectName("hint_label");
    hint->setGeometry(6, 100, 140, 20);

    preview_ = new QLabel(this);
    preview_->setObjectName("preview_label");
    preview_->setGeometry(150, 96, 30, 28);
    preview_->setFrameShape(QFrame::Box);

    auto* ok = small_button(this, "ok_button", "OK", QRect(186, 98, 60, 26));
    auto* cancel = small_button(this, "cancel_button", "Cancel", QRect(250, 98, 60, 26));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

colour_dialog::~colour_dialog() = default;

int& colour_dialog::value(int which) {
    switch (which) {
        case RED:
            return color_r;
        case GREEN:
            return color_g;
        case BLUE:
            return color_b;
        default:
            return color_a;
    }
}

void colour_dialog::set_color(uint32_t argb) {
    color_a = static_cast<int>(argb >> 24);
    color_r = static_cast<int>((argb >> 16) & 0xFF);
    color_g = static_cast<int>((argb >> 8) & 0xFF);
    color_b = static_cast<int>(argb & 0xFF);
    color_argb = argb;
    mouse_down_x = mouse_down_y = -1000;
    for (int i = 0; i < 4; ++i)
        bar_changed(i);
}

uint32_t colour_dialog::shown_color() const {
    return (static_cast<uint32_t>(color_a) << 24) | (static_cast<uint32_t>(color_r) << 16) |
           (static_cast<uint32_t>(color_g) << 8) | static_cast<uint32_t>(color_b);
}

void colour_dialog::step(int which, int delta) {
    int& v = value(which);
    v = std::clamp(v + delta, 0, 255);
    bar_changed(which);
    apply_color();
}

void colour_dialog::apply_color() {
    color_argb = shown_color();
    if (apply_hook) apply_hook(color_pos, color_argb);
}

void colour_dialog::bar_changed(int which) {
    bars_[static_cast<size_t>(which)]->update();
    set_swatch_colour(preview_, shown_color());
}

void colour_dialog::paint_bar(int which, QPainter& painter) {
    const bar_look& look = bar_looks[which];
    const int v = value(which);
    painter.fillRect(0, 0, bar_width, bar_height, QColor(192, 192, 192));
    painter.fillRect(0, 0, v * 256 / 255, bar_height, QColor::fromRgba(look.fill));
    painter.setPen(look.text);
    painter.drawText(QRect(108, 3, bar_width - 108, bar_height - 3), Qt::AlignLeft | Qt::AlignTop,
                     QString("%1 , 0x%2").arg(v).arg(v, 0, 16));
}

void colour_dialog::bar_press(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    mouse_down_x = p.x();
    mouse_down_y = p.y();
}

void colour_dialog::bar_move(int which, QMouseEvent* event) {
    if (mouse_down_x == -1000) return;
    const QPoint p = event->position().toPoint();
    const int d = p.x() - mouse_down_x;
    if (d != 0) {
        int& v = value(which);
        v = std::clamp(v + d, 0, 255);
        bar_changed(which);
    }
    mouse_down_x = p.x();
    mouse_down_y = p.y();
}

void colour_dialog::bar_release() {
    if (mouse_down_x == -1000) return;
    apply_color();
    mouse_down_x = mouse_down_y = -1000;
}

void colour_dialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);  // Escape rejects
}
