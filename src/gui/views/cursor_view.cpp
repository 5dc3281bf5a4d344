#include "views/cursor_view.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "settings/clgbase.h"

namespace mevra::views {

namespace {

// Platforms whose grabWindow(0, …) gives no real screen picture.
bool screen_grab_unusable() {
    const QString platform = QGuiApplication::platformName();
    return platform == "offscreen" || platform == "minimal" || platform.startsWith("wayland");
}

QImage grab_screen(QPoint global, int side) {
    QScreen* screen = QGuiApplication::screenAt(global);
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return {};
    const QPoint origin = global - screen->geometry().topLeft();
    const int h = (side - 1) / 2;
    const QPixmap shot = screen->grabWindow(0, origin.x() - h, origin.y() - h, side, side);
    if (shot.isNull() || shot.width() != side || shot.height() != side) return {};
    return shot.toImage().convertToFormat(QImage::Format_ARGB32);
}

// Renders the part of our own top-level window under the pointer.
void grab_own_window(QPoint global, QImage& block) {
    QWidget* under = QApplication::widgetAt(global);
    if (!under) return;
    QWidget* top = under->window();
    const int h = (block.width() - 1) / 2;
    const QRect wanted(top->mapFromGlobal(global) - QPoint(h, h), block.size());
    const QRect visible = wanted.intersected(top->rect());
    if (visible.isEmpty()) return;
    const QPixmap part = top->grab(visible);
    QPainter painter(&block);
    painter.drawPixmap(visible.topLeft() - wanted.topLeft(), part);
}

}  // namespace

int cursor_magnification(int cursor_zoom) {
    const int index = std::clamp(cursor_zoom, 0, 3);
    return std::clamp(clgbase::zoom_size[index], 1, 8);
}

QImage capture_block(QPoint global, int m, bool* capture_failed) {
    const int n = cursor_view_size / m;
    const int side = n + 1;
    if (capture_failed) *capture_failed = false;
    if (!screen_grab_unusable()) {
        QImage shot = grab_screen(global, side);
        if (!shot.isNull()) return shot;
        if (capture_failed) *capture_failed = true;
    }
    QImage block(side, side, QImage::Format_ARGB32);
    block.fill(Qt::black);
    grab_own_window(global, block);
    return block;
}

QImage compose_cursor_view(const QImage& block, int m) {
    QImage view(cursor_view_size, cursor_view_size, QImage::Format_ARGB32);
    view.fill(Qt::black);
    for (int y = 0; y < cursor_view_size; ++y) {
        const int sy = y / m;
        if (sy >= block.height()) break;
        auto* row = reinterpret_cast<QRgb*>(view.scanLine(y));
        for (int x = 0; x < cursor_view_size; ++x) {
            const int sx = x / m;
            if (sx >= block.width()) break;
            row[x] = block.pixel(sx, sy) | 0xFF000000u;
        }
    }
    const int h = cursor_view_size / m / 2;
    QPainter painter(&view);
    painter.setPen(QPen(Qt::black, 0));
    painter.drawRect(h * m - 1, h * m - 1, m + 1, m + 1);
    return view;
}

QRgb cursor_centre_colour(const QImage& block, int m) {
    const int h = cursor_view_size / m / 2;
    if (block.width() <= h || block.height() <= h) return 0xFF000000u;
    return block.pixel(h, h);
}

QString cursor_colour_text(QRgb colour) {
    const int r = qRed(colour), g = qGreen(colour), b = qBlue(colour);
    return QString::asprintf("R:%3d G:%3d B:%3d #%02x %02x %02x", r, g, b, r, g, b);
}

}  // namespace mevra::views
