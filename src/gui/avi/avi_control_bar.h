#pragma once
// The bar under the player's view: the seven buttons, the frame slider, the
// frame counter and the status line. The step-forward and end buttons, the
// counter and the slider's width follow the bar's width.
#include <QWidget>

class avi_control_bar : public QWidget {
    Q_OBJECT
  public:
    static constexpr int bar_height = 39;
    static constexpr int row_height = 20;
    static constexpr int button_width = 32;
    static constexpr int slider_left = 80;

    explicit avi_control_bar(QWidget* parent);

    // Places the width-dependent controls (the rest keep their places).
    void layout_controls();

  protected:
    void resizeEvent(QResizeEvent* event) override;
};
