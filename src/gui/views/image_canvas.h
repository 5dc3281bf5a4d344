#pragma once
// The drawing surface of an image window. `image_view` is the scroll area:
// its extent is the zoomed image and its viewport shows the window's light
// grey background. `image_canvas` sits at the viewport's top-left corner,
// covers only the visible part of the image, and draws it through the core
// renderer into one buffer shared by every canvas.
#include <QAbstractScrollArea>
#include <QWidget>
#include <cstdint>

class mdichild;

class image_canvas : public QWidget {
    Q_OBJECT
  public:
    image_canvas(mdichild* owner, QWidget* parent);

    // The background tile chosen when the window was created.
    const uint32_t* tile() const { return tile_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    mdichild* owner_;
    const uint32_t* tile_;
};

class image_view : public QAbstractScrollArea {
    Q_OBJECT
  public:
    image_view(mdichild* owner, QWidget* parent);

    // The scroll extent: the zoomed image's size in screen pixels.
    void set_extent(int width, int height);
    QSize extent() const { return extent_; }
    QPoint scroll_offset() const;

  protected:
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void update_scroll_ranges();

    mdichild* owner_;
    QSize extent_{320, 240};
};
