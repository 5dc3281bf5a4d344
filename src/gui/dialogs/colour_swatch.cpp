#include "dialogs/colour_swatch.h"

#include <QPainter>

colour_swatch::colour_swatch(QWidget* parent) : QLabel(parent) {
    setFixedSize(20, 20);
}

void colour_swatch::set_argb(uint32_t argb) {
    if (argb == argb_) return;
    argb_ = argb;
    ++changes_;
    update();
}

void colour_swatch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor::fromRgba(argb_));
}
