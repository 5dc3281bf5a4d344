#include "avi/avi_control_bar.h"

#include <QLabel>
#include <QSlider>
#include <QToolButton>

avi_control_bar::avi_control_bar(QWidget* parent) : QWidget(parent) {
    setObjectName("avi_control_bar");
}

void avi_control_bar::layout_controls() {
    const int w = width();
    // First row: first and back on the left, the slider, the counter, then
    // forward and end against the right edge. Second row: Play, Stop, Pause
    // and the status line.
    if (auto* b = findChild<QToolButton*>("forward_button", Qt::FindDirectChildrenOnly))
        b->setGeometry(w - 64, 0, button_width, row_height);
    if (auto* b = findChild<QToolButton*>("end_button", Qt::FindDirectChildrenOnly))
        b->setGeometry(w - 32, 0, button_width, row_height);
    if (auto* l = findChild<QLabel*>("frame_counter_label", Qt::FindDirectChildrenOnly))
        l->setGeometry(w - 132, 0, 68, row_height);
    if (auto* s = findChild<QSlider*>("frame_slider", Qt::FindDirectChildrenOnly))
        s->setGeometry(slider_left, 0, std::max(0, w - 212), row_height);
    if (auto* l = findChild<QLabel*>("status_label", Qt::FindDirectChildrenOnly))
        l->setGeometry(3 * button_width + 8, row_height, std::max(0, w - 3 * button_width - 8),
                       bar_height - row_height);
}

void avi_control_bar::resizeEvent(QResizeEvent*) {
    layout_controls();
}
