#pragma once
// The colour dialog: edits one ARGB colour with four draggable bars and
// "<" / ">" steps, previewing every change through `apply_hook`.
#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>

class QLabel;
class QPushButton;
class QPainter;
class QMouseEvent;
class paint_surface;

class colour_dialog : public QDialog {
    Q_OBJECT
  public:
    // Bar order: the rows from the top.
    enum component { RED = 0, GREEN = 1, BLUE = 2, ALPHA = 3 };

    explicit colour_dialog(QWidget* parent = nullptr);
    ~colour_dialog() override;

    // Loads the four components from `argb` and repaints the bars.
    void set_color(uint32_t argb);
    // The colour the dialog shows, packed as 0xAARRGGBB.
    uint32_t shown_color() const;
    // Adds `delta` to a component (clamped to 0 … 255), repaints its bar and
    // applies the colour.
    void step(int which, int delta);
    // Packs the components into color_argb and hands them to apply_hook.
    void apply_color();

    int color_a = 0;
    int color_r = 0;
    int color_g = 0;
    int color_b = 0;
    uint32_t color_argb = 0;
    // Palette index being edited, or -1 for an ARGB pen colour.
    int color_pos = -1;
    // Last pointer position of a bar drag; -1000 when no drag is in progress.
    int mouse_down_x = -1000;
    int mouse_down_y = -1000;

    // Called with (color_pos, color_argb) whenever the colour is applied; the
    // palette window writes it into the palette entry for a live preview.
    std::function<void(int, uint32_t)> apply_hook;

    paint_surface* bar(int which) const { return bars_[static_cast<size_t>(which)]; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    int& value(int which);
    void paint_bar(int which, QPainter& painter);
    void bar_changed(int which);
    void bar_press(QMouseEvent* event);
    void bar_move(int which, QMouseEvent* event);
    void bar_release();

    std::array<paint_surface*, 4> bars_{};
    QLabel* preview_ = nullptr;
};
