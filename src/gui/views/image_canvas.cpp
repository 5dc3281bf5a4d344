#include "views/image_canvas.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <utility>

#include "image/image_info.h"
#include "render/canvas_renderer.h"
#include "settings/clgbase.h"

namespace {

// One frame buffer for every canvas: repaints happen one at a time on the
// user-interface thread, and it only ever grows to the largest canvas.
QImage& shared_frame(int width, int height) {
    static QImage frame;
    if (frame.width() < width || frame.height() < height)
        frame = QImage(std::max(width, frame.width()), std::max(height, frame.height()),
                       QImage::Format_RGB32);
    return frame;
}

}  // namespace

image_canvas::image_canvas(std::function<const mevra::image_info*()> image, const image_view* view,
                           QWidget* parent)
    : QWidget(parent),
      image_(std::move(image)),
      view_(view),
      tile_(mevra::background_tile(mevra::settings().background_type)) {
    setObjectName("image_canvas");
    setAccessibleName("image");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void image_canvas::paintEvent(QPaintEvent*) {
    const mevra::image_info* image = image_();
    if (!image || image->flag == 0 || width() <= 0 || height() <= 0) return;
    mevra::canvas_view view;
    view.zoom_level = image->zoom_scale_level;
    const QPoint scroll = view_->scroll_offset();
    view.scroll_x = scroll.x();
    view.scroll_y = scroll.y();
    view.width = width();
    view.height = height();
    view.draw_type = image->draw_type;
    view.grid_mode = image->grid_mode;
    view.grid_type = mevra::settings().grid_type;
    view.tile = tile_;
    QImage& frame = shared_frame(width(), height());
    // The renderer writes rows of exactly `width` pixels; the shared frame may
    // be wider, so the picture is packed at its start and drawn from there.
    auto* out = reinterpret_cast<uint32_t*>(frame.bits());
    mevra::render_canvas(*image, view, out);
    const QImage packed(frame.constBits(), width(), height(), width() * 4, QImage::Format_RGB32);
    QPainter painter(this);
    painter.drawImage(0, 0, packed);
}

void image_canvas::mousePressEvent(QMouseEvent* event) {
    emit mouse_pressed(event);
}

void image_canvas::mouseMoveEvent(QMouseEvent* event) {
    emit mouse_moved(event);
}

void image_canvas::mouseReleaseEvent(QMouseEvent* event) {
    emit mouse_released(event);
}

// ---------------------------------------------------------------------------

image_view::image_view(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName("image_view");
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(true);
    QPalette pal = viewport()->palette();
    // A scroll area paints its viewport with the Base role (white by default);
    // the room beyond a small image is the window's light grey.
    pal.setColor(QPalette::Window, QColor(211, 211, 211));
    pal.setColor(QPalette::Base, QColor(211, 211, 211));
    viewport()->setPalette(pal);
}

void image_view::set_extent(int width, int height) {
    extent_ = QSize(width, height);
    update_scroll_ranges();
}

QPoint image_view::scroll_offset() const {
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void image_view::update_scroll_ranges() {
    // Decide the bars from the whole area, not from the viewport they already
    // narrow: an image that fits once the bars are gone gets none.
    const QSize full = size();
    const int bar_w = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    bool need_h = extent_.width() > full.width();
    bool need_v = extent_.height() > full.height();
    if (need_h && !need_v) need_v = extent_.height() > full.height() - bar_w;
    if (need_v && !need_h) need_h = extent_.width() > full.width() - bar_w;
    const int client_w = full.width() - (need_v ? bar_w : 0);
    const int client_h = full.height() - (need_h ? bar_w : 0);
    horizontalScrollBar()->setRange(0, need_h ? std::max(0, extent_.width() - client_w) : 0);
    horizontalScrollBar()->setPageStep(std::max(1, client_w));
    horizontalScrollBar()->setSingleStep(16);
    verticalScrollBar()->setRange(0, need_v ? std::max(0, extent_.height() - client_h) : 0);
    verticalScrollBar()->setPageStep(std::max(1, client_h));
    verticalScrollBar()->setSingleStep(16);
}

void image_view::scrollContentsBy(int, int) {
    emit scrolled();
}

void image_view::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    update_scroll_ranges();
    emit resized();
}
