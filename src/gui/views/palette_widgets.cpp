#include "views/palette_widgets.h"

#include <QMouseEvent>
#include <QPainter>

tool_button::tool_button(QWidget* parent) : QToolButton(parent) {
    connect(this, &QToolButton::clicked, this, [this] {
        if (!mouse_down_) emit pressed_without_mouse();
    });
}

void tool_button::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        mouse_down_ = true;
        emit mouse_pressed();
    }
    QToolButton::mousePressEvent(event);
}

void tool_button::mouseReleaseEvent(QMouseEvent* event) {
    QToolButton::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !mouse_down_) return;
    mouse_down_ = false;
    emit mouse_released();
}

void click_label::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (after_double_click_) {
        after_double_click_ = false;
        return;
    }
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(event->globalPosition().toPoint());
}

void click_label::mouseDoubleClickEvent(QMouseEvent* event) {
    QLabel::mouseDoubleClickEvent(event);
    after_double_click_ = true;
    emit double_clicked(event->globalPosition().toPoint());
}

void paint_surface::paintEvent(QPaintEvent*) {
    if (!on_paint) return;
    QPainter painter(this);
    on_paint(painter);
}

void paint_surface::mousePressEvent(QMouseEvent* event) {
    if (on_press) on_press(event);
}

void paint_surface::mouseMoveEvent(QMouseEvent* event) {
    if (on_move) on_move(event);
}

void paint_surface::mouseReleaseEvent(QMouseEvent* event) {
    if (on_release) on_release(event);
}

void paint_surface::mouseDoubleClickEvent(QMouseEvent* event) {
    if (on_double_click) on_double_click(event);
}

void set_swatch_colour(QWidget* swatch, uint32_t argb) {
    QPalette pal = swatch->palette();
    pal.setColor(QPalette::Window, QColor::fromRgba(argb));
    swatch->setPalette(pal);
    swatch->setAutoFillBackground(true);
    swatch->update();
}
