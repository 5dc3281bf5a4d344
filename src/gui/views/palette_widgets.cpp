#include "views/palette_widgets.h"

#include <QMouseEvent>
#include <QPainter>

void tool_button::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit mouse_pressed();
    QToolButton::mousePressEvent(event);
}

void tool_button::mouseReleaseEvent(QMouseEvent* event) {
    // isDown() is lost in the base handler; remember whether this release ends
    // a press that started here.
    const bool ends_press = event->button() == Qt::LeftButton;
    QToolButton::mouseReleaseEvent(event);
    if (ends_press) emit mouse_released();
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
