#pragma once
// Small widgets of the palette window and the colour dialog that report raw
// mouse presses and releases, which the stock Qt controls hide behind their
// own click logic.
#include <QLabel>
#include <QToolButton>
#include <functional>

class QMouseEvent;
class QPainter;

// A tool button whose checked state only its owner changes: a click does not
// toggle it, so the owner can implement "press a selected pen again to drop it".
class tool_button : public QToolButton {
    Q_OBJECT
  public:
    explicit tool_button(QWidget* parent = nullptr);

  signals:
    // Left button went down on the button.
    void mouse_pressed();
    // Left button came up after a press on the button; emitted after clicked().
    void mouse_released();
    // Pressed without the mouse (assistive technology, click()): a whole
    // press and release at once.
    void pressed_without_mouse();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void nextCheckState() override {}

  private:
    bool mouse_down_ = false;
};

// A label that reports clicks and double clicks with the pointer's global position.
class click_label : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void clicked(QPoint global);
    void double_clicked(QPoint global);

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    // The release that ends a double click is not a click of its own.
    bool after_double_click_ = false;
};

// A surface painted and driven entirely by its owner through callbacks: the
// palette grid and the colour dialog's bars.
class paint_surface : public QWidget {
    Q_OBJECT
  public:
    using QWidget::QWidget;

    std::function<void(QPainter&)> on_paint;
    std::function<void(QMouseEvent*)> on_press;
    std::function<void(QMouseEvent*)> on_move;
    std::function<void(QMouseEvent*)> on_release;
    std::function<void(QMouseEvent*)> on_double_click;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// Colours a label's background; translucent colours show over the parent.
void set_swatch_colour(QWidget* swatch, uint32_t argb);
