#pragma once
// The drawing surface of an image window. `image_view` is the scroll area:
// its extent is the zoomed image and its viewport shows the window's light
// grey background. `image_canvas` sits at the viewport's top-left corner,
// covers only the visible part of the image, and draws it through the core
// renderer into one buffer shared by every canvas.
#include <QAbstractScrollArea>
#include <QMouseEvent>
#include <QWidget>
#include <cstdint>
#include <functional>

namespace mevra {
class image_info;
}
class image_view;

class image_canvas : public QWidget {
    Q_OBJECT
  public:
    // `image` gives the picture to draw (none: nothing is drawn); `view` is
    // the scroll area whose offset the canvas follows.
    image_canvas(std::function<const mevra::image_info*()> image, const image_view* view,
                 QWidget* parent);

    // The background tile chosen when the window was created.
    const uint32_t* tile() const { return tile_; }

  signals:
    // Mouse events on the canvas, in canvas coordinates, for the window's tools.
    void mouse_pressed(QMouseEvent* event);
    void mouse_moved(QMouseEvent* event);
    void mouse_released(QMouseEvent* event);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    std::function<const mevra::image_info*()> image_;
    const image_view* view_;
    const uint32_t* tile_;
};

class image_view : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit image_view(QWidget* parent);

    // The scroll extent: the zoomed image's size in screen pixels.
    void set_extent(int width, int height);
    QSize extent() const { return extent_; }
    QPoint scroll_offset() const;

  signals:
    // The view scrolled, or its viewport changed size: the canvas must follow.
    void scrolled();
    void resized();

  protected:
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void update_scroll_ranges();

    QSize extent_{320, 240};
};
